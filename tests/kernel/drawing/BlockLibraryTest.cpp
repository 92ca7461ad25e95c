#include "kernel/drawing/QVCmp2D.h"
#include "kernel/entities/QV2D_Entities.h"
#include "kernel/entities/TBitmap2D.h"
#include "kernel/entities/TJustifiedVectText2D.h"
#include "kernel/entities/TQVBSpline2D.h"
#include "kernel/entities/TText2D.h"
#include "kernel/model/CADCoreExceptions.h"

#include "BmpTestFiles.h"
#include "DrawingTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace calvoro;
using namespace calvoro::test;

namespace {

RecordBytes& Entry(RecordBytes& r, unsigned classIndex, TGraphicObject&& object) {
    return r.U16(static_cast<std::uint16_t>(classIndex)).Raw(RecordOf(object));
}

// A library of two blocks that between them hold every class:
//   "Shapes"  one entity of each kind and a nested container;
//   "Outer"   an instance of "Shapes" and a nested block "Inner" that holds
//             another, turned, instance of it.
// The vector text names font slot 77, which no font takes.
std::string EveryClassLibrary() {
    RecordBytes shapes;
    shapes.U16(EntityClassIndex::SourceBlock).Header(0).Identity().I32(18);
    Entry(shapes, EntityClassIndex::Line, TLine2D(10, MakePoint2D(0, 0), MakePoint2D(4, 3)));
    const std::vector<TPoint2D> zigzag = {MakePoint2D(0, 0), MakePoint2D(1, 1), MakePoint2D(2, 0)};
    Entry(shapes, EntityClassIndex::Polyline, TPolyline2D(11, zigzag));
    Entry(shapes, EntityClassIndex::Polygon, TPolygon2D(12, zigzag));
    Entry(shapes, EntityClassIndex::Rectangle, TRectangle2D(13, MakePoint2D(0, 0), MakePoint2D(2, 1)));
    // The open ellipse has no constructor of its own: its record by hand.
    shapes.U16(EntityClassIndex::EllipseOpen).Header(14, 3).Identity().U16(4);
    shapes.Point(0, 0).Point(4, 2).Point(4, 1).Point(2, 2).U8(0).U16(50).U8(1).U8(1);
    Entry(shapes, EntityClassIndex::Ellipse, TEllipse2D(15, MakePoint2D(0, 0), MakePoint2D(3, 1)));
    Entry(shapes, EntityClassIndex::FilledEllipse, TFilledEllipse2D(16, MakePoint2D(0, 0), MakePoint2D(1, 3)));
    TText2D text(17, MakePoint2D(0, 0), MakePoint2D(8, 2), 1.5, "Text \xB0");
    text.SetDrawTextFlags(TextFormat::WordBreak);
    Entry(shapes, EntityClassIndex::Text, std::move(text));
    Entry(shapes, EntityClassIndex::Frame, TFrame2D(18, MakePoint2D(-1, -1), MakePoint2D(1, 1)));
    TBitmap2D picture(19, MakePoint2D(0, 0), MakePoint2D(3, 2), BmpImage::FromFile(MakeBmp24(3, 2, 0x336699)));
    picture.SetReserved({0.25, -4});
    picture.SetCopyMode(CopyMode::SrcAnd);
    Entry(shapes, EntityClassIndex::Bitmap, std::move(picture));
    Entry(shapes, EntityClassIndex::BSpline, TBSpline2D(20, zigzag));
    TJustifiedVectText2D vectText(21, MakePoint2D(0, 0), MakePoint2D(10, 3), 1.0);
    shapes.U16(EntityClassIndex::JustifiedVectText).Raw(RecordOf(vectText).substr(0, 6 + 72 + 2 + 48 + 1));
    shapes.I32(2).Raw("AB").I32(77).U8(2).U8(1).U8(1).F64(1.0).F64(0.2).F64(0.1);
    Entry(shapes, EntityClassIndex::Point, TPunto2D(22, MakePoint2D(7, 7)));
    Entry(shapes, EntityClassIndex::Circle, TCerchio2D(23, MakePoint2D(0, 0), MakePoint2D(2, 0)));
    Entry(shapes, EntityClassIndex::Arc, TArco2D(24, MakePoint2D(0, 0), MakePoint2D(2, 0), 0.0, 1.5));
    Entry(shapes, EntityClassIndex::FilledCircle, TFilledCerchio2D(25, MakePoint2D(1, 1), MakePoint2D(1, 2)));
    Entry(shapes, EntityClassIndex::RationalBSpline,
          TQVBSpline2D(26, std::vector<TPoint2D>{MakePoint2D(1, 0), MakePoint2D(1, 1), MakePoint2D(0, 1)}, 2,
                       {0, 0, 0, 1, 1, 1}, {1, std::sqrt(0.5), 1}));
    shapes.U16(EntityClassIndex::Container).Header(27).Matrix(ScalingMatrix2D(2, 2)).I32(1);
    Entry(shapes, EntityClassIndex::Line, TLine2D(28, MakePoint2D(0, 0), MakePoint2D(1, 0)));
    shapes.U8(1).U8(1).Fixed("Shapes", 13);

    RecordBytes outer;
    outer.U16(EntityClassIndex::SourceBlock).Header(1).Matrix(TranslationMatrix2D(100, 50)).I32(2);
    outer.U16(EntityClassIndex::Block).Header(40).Identity().Fixed("Shapes", 13).Point(5, 5);
    outer.U16(EntityClassIndex::SourceBlock).Header(41).Identity().I32(1);
    outer.U16(EntityClassIndex::Block).Header(42).Matrix(RotationMatrix2D(0.5)).Fixed("Shapes", 13).Point(0, 0);
    outer.U8(1).U8(1).Fixed("Inner", 13);
    outer.U8(1).U8(1).Fixed("Outer", 13);

    return RecordBytes().Fixed("QV-002", 6).U8(2).I32(2).Raw(shapes).Raw(outer).str();
}

std::string Saved(TQVCmp& drawing) {
    BinaryWriter writer;
    drawing.SaveLibrary(writer);
    return writer.takeBytes();
}

class BlockLibrary : public DrawingTest {
protected:
    TQVCmp2D drawing;
    std::vector<std::string> messages;

    void SetUp() override {
        DrawingTest::SetUp();
        drawing.SetMessageHandler([this](const std::string& m) { messages.push_back(m); });
    }

    void Load(const std::string& bytes) {
        BinaryReader reader(bytes);
        drawing.LoadLibrary(reader);
    }
};

TEST_F(BlockLibrary, EveryClassLoadsAndSavesToTheSameBytes) {
    const auto font = MakeTestFont();
    VectFontTable::Global().Register(2, font);
    const std::string library = EveryClassLibrary();
    Load(library);
    EXPECT_TRUE(messages.empty());
    ASSERT_EQ(drawing.SourceBlockCount(), 2);
    TSourceBlock2D& shapes = drawing.FindSourceBlock("Shapes");
    EXPECT_EQ(shapes.Objects().Count(), 18);
    EXPECT_TRUE(shapes.FromLibrary());
    EXPECT_EQ(shapes.ReferenceCount(), 2u) << "both instances, the nested one included, are linked";

    const auto members = shapes.Objects().GetIterator();
    for (TGraphicObject* member = members->First(); member != nullptr; member = members->Next()) {
        if (auto* text = dynamic_cast<TJustifiedVectText2D*>(member)) {
            EXPECT_EQ(text->VectFont(), font) << "the unknown font falls back to the first one";
        }
    }

    const std::string saved = Saved(drawing);
    EXPECT_BYTES_EQ(saved, library);

    TQVCmp2D again;
    BinaryReader reader(saved);
    again.LoadLibrary(reader);
    EXPECT_BYTES_EQ(Saved(again), library);
}

TEST_F(BlockLibrary, CutAnywhereTheLibraryIsRefusedCleanly) {
    const std::string library = EveryClassLibrary();
    for (std::size_t length = 0; length < library.size(); ++length) {
        TQVCmp2D cut;
        const std::string bytes = library.substr(0, length);
        BinaryReader reader(bytes);
        EXPECT_THROW(cut.LoadLibrary(reader), ECADFileNotValid) << "cut at " << length;
        EXPECT_FALSE(cut.HasIterators());
    }
}

TEST_F(BlockLibrary, CountsBeyondTheStreamAreRefusedBeforeAllocating) {
    const std::string library = EveryClassLibrary();
    struct Case {
        const char* what;
        std::size_t at;
    };
    // Offsets of the block count, the first block's member count and the
    // first member's (a line's) point count.
    const Case cases[] = {
        {"blocks", 7}, {"members", 7 + 4 + 2 + 6 + 72}, {"points", 7 + 4 + 2 + 6 + 72 + 4 + 2 + 6 + 72}};
    for (const Case& c : cases) {
        std::string corrupt = library;
        corrupt[c.at + 1] = static_cast<char>(0x7F);
        TQVCmp2D loaded;
        BinaryReader reader(corrupt);
        EXPECT_THROW(loaded.LoadLibrary(reader), ECADFileNotValid) << c.what;
    }
}

TEST_F(BlockLibrary, VersionTagAndKindAreChecked) {
    const std::string body = EveryClassLibrary().substr(6);
    struct Case {
        std::string bytes;
        const char* message;
    };
    const Case cases[] = {
        {"QV-001" + body, "TCADCmp.LoadLibrary: Invalid stream version."},
        {"QV-002\x01" + body.substr(1), "TCADCmp.LoadLibrary: no blocks found"},
    };
    for (const Case& c : cases) {
        TQVCmp2D refused;
        BinaryReader reader(c.bytes);
        try {
            refused.LoadLibrary(reader);
            ADD_FAILURE() << c.message;
        } catch (const ECADFileNotValid& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
        EXPECT_EQ(refused.SourceBlockCount(), 0);
    }

    Load(RecordBytes().Fixed("QV-002", 6).U8(2).I32(0).str());
    EXPECT_EQ(drawing.SourceBlockCount(), 0);
}

TEST_F(BlockLibrary, AHandlerMayAcceptAnOlderTagWhichIsPassedOn) {
    // A picture written before the trailing fields existed.
    const std::string picture =
        RecordBytes().Header(3).Identity().U16(2).Point(0, 0).Point(1, 1).U8(0).Raw(MakeBmp24(1, 1, 0)).str();
    const std::string library = RecordBytes()
                                    .Fixed("KRN41", 6)
                                    .U8(2)
                                    .I32(1)
                                    .U16(EntityClassIndex::SourceBlock)
                                    .Header(0)
                                    .Identity()
                                    .I32(1)
                                    .U16(EntityClassIndex::Bitmap)
                                    .Raw(picture)
                                    .U8(1)
                                    .U8(1)
                                    .Fixed("Old", 13)
                                    .str();
    std::vector<TStreamType> asked;
    drawing.SetOnInvalidFileVersion([&](TQVCmp&, TStreamType type, BinaryReader&, bool& resume) {
        asked.push_back(type);
        resume = true;
    });
    BinaryReader reader(library);
    drawing.LoadLibrary(reader);
    EXPECT_EQ(asked, (std::vector<TStreamType>{TStreamType::stLibrary}));
    EXPECT_TRUE(reader.atEnd()) << "the old picture record has no trailing fields";
    EXPECT_EQ(drawing.SourceBlockCount(), 1);
}

TEST_F(BlockLibrary, UnknownClassEndsTheLoadAndMissingSourcesSkipABlock) {
    auto block = [](const char* name, const char* uses) {
        RecordBytes r;
        r.U16(EntityClassIndex::SourceBlock).Header(0).Identity().I32(uses != nullptr ? 1 : 0);
        if (uses != nullptr) r.U16(EntityClassIndex::Block).Header(9).Identity().Fixed(uses, 13).Point(0, 0);
        return r.U8(1).U8(1).Fixed(name, 13).str();
    };
    // "Early" uses "Late", which comes after it: it is skipped, the rest loads.
    Load(RecordBytes()
             .Fixed("QV-002", 6)
             .U8(2)
             .I32(3)
             .Raw(block("Early", "Late"))
             .Raw(block("Late", nullptr))
             .Raw(block("User", "Late"))
             .str());
    EXPECT_EQ(messages, (std::vector<std::string>{"Source block not found. The block will not be loaded"}));
    EXPECT_EQ(drawing.SourceBlockCount(), 2);
    EXPECT_EQ(drawing.FindSourceBlock("Late").ReferenceCount(), 1u);
    EXPECT_EQ(drawing.NextBlockID(), 2) << "blocks take fresh IDs";

    messages.clear();
    std::string unknownClass = block("Second", nullptr);
    unknownClass[0] = 0x2C;  // class 300
    unknownClass[1] = 0x01;
    TQVCmp2D stopped;
    stopped.SetMessageHandler([this](const std::string& m) { messages.push_back(m); });
    const std::string library =
        RecordBytes().Fixed("QV-002", 6).U8(2).I32(2).Raw(block("First", nullptr)).Raw(unknownClass).str();
    BinaryReader reader(library);
    stopped.LoadLibrary(reader);
    EXPECT_EQ(messages, (std::vector<std::string>{"Object class not found. Object not load"}));
    EXPECT_EQ(stopped.SourceBlockCount(), 1) << "what came before stays";
}

TEST_F(BlockLibrary, SavingWritesOnlyTheBlocksOfTheKindAsked) {
    struct Case {
        const char* name;
        bool mustSave, fromLibrary;
    };
    for (const Case& c : {Case{"Lib", true, true}, Case{"Own", true, false}, Case{"Temp", false, true}}) {
        auto block = std::make_unique<TSourceBlock2D>(-1, MakeBlockName(c.name));
        block->SetMustSave(c.mustSave);
        block->SetFromLibrary(c.fromLibrary);
        drawing.AddSourceBlock(-1, std::move(block));
    }
    for (const bool asLibrary : {true, false}) {
        BinaryWriter writer;
        writer.writeUInt8(0xAB);  // the stream need not start with the blocks
        drawing.SaveBlocksToStream(writer, asLibrary);
        TQVCmp2D loaded;
        BinaryReader reader(writer.bytes());
        reader.skip(1);
        loaded.LoadBlocksFromStream(reader, LibraryVersion);
        ASSERT_EQ(loaded.SourceBlockCount(), 1);
        EXPECT_NO_THROW(loaded.FindSourceBlock(asLibrary ? "Lib" : "Own"));
    }
    drawing.DeleteLibrarySourceBlocks();
    EXPECT_EQ(drawing.SourceBlockCount(), 1);
    drawing.DeleteSavedSourceBlocks();
    EXPECT_EQ(drawing.SourceBlockCount(), 0);
}

}  // namespace

// The drawing: refusals that change nothing, its object stream, block
// libraries holding every class (cut anywhere, faulty, and the shipped one),
// the picture entity's BMP bytes, the rational B-spline's record, and the
// text entity's record.
//
// A stored class word past the class table (512 or more) is a damaged stream:
// the load raises the table's out-of-bound error and keeps what it read
// before, while a word within the table that names no class is reported and
// ends the load quietly.
//
// A block library name that denotes a pipe is refused at once, naming the
// file and the reason (the kinds of names are tested with InputFile).
#include "kernel/drawing/BlockLibraryFile.h"
#include "kernel/drawing/EntityTreeLink.h"
#include "kernel/drawing/QVCmp2D.h"
#include "kernel/dxf/DXF2DExport.h"
#include "kernel/entities/QV2D_Entities.h"
#include "kernel/entities/TBitmap2D.h"
#include "kernel/entities/TJustifiedVectText2D.h"
#include "kernel/entities/TPunto2D.h"
#include "kernel/entities/TQVBSpline2D.h"
#include "kernel/entities/TSourceBlock2D.h"
#include "kernel/entities/TText2D.h"
#include "kernel/model/BinaryReader.h"
#include "kernel/model/BinaryWriter.h"
#include "tests/support/Drawings.h"
#include "tests/support/SourceTree.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

using namespace calvoro;
using namespace calvoro::test;

namespace {

std::unique_ptr<TLine2D> Line(double x0, double y0, double x1, double y1) {
    return std::make_unique<TLine2D>(-1, MakePoint2D(x0, y0), MakePoint2D(x1, y1));
}

TSourceBlock2D& AddBlock(TQVCmp2D& drawing, const char* name) {
    return static_cast<TSourceBlock2D&>(
        *drawing.AddSourceBlock(-1, std::make_unique<TSourceBlock2D>(-1, MakeBlockName(name))));
}

// An instance of `source` put inside `holder`.
void PutInstance(TSourceBlock2D& holder, TSourceBlock2D& source) {
    holder.Objects().Add(std::make_unique<TBlock2D>(7, source, MakePoint2D(0, 0)));
}

struct RecordingTree : EntityTreeLink {
    std::vector<std::string> calls;

    void AddEntity(TLayers& /*layers*/, TGraphicObject& entity) override { entity.SetTreeItem(100 + entity.ID()); }
    void DeleteNode(std::uintptr_t item) override { calls.push_back("delete " + std::to_string(item)); }
};

class Drawing : public DrawingTest {
protected:
    RecordingTree tree;  // outlives the drawing, as the real one detaches first
    TQVCmp2D drawing;

    std::string SavedObjects() {
        BinaryWriter writer;
        drawing.SaveObjectsToStream(writer);
        return writer.takeBytes();
    }
};

TEST_F(Drawing, RefusedChangesLeaveTheDrawingAsItWas) {
    drawing.SetTreeGeo(&tree);
    drawing.AddObject(-1, Line(0, 0, 1, 1));
    TSourceBlock2D& used = AddBlock(drawing, "Used");
    PutInstance(AddBlock(drawing, "Holder"), used);
    {
        const auto walk = drawing.ObjectListIterator();
        EXPECT_EQ(MessageOf<ECADListBlocked>([&] { drawing.AddObject(-1, Line(0, 0, 1, 1)); }),
                  "TGraphicObjList.Add: The list has active iterators.");
        EXPECT_EQ(MessageOf<ECADListBlocked>([&] { drawing.DeleteObject(0); }),
                  "TGraphicObjList.Delete: The list has active iterators.");
    }
    const std::pair<std::function<void()>, const char*> refusals[] = {
        {[&] { drawing.DeleteObject(9); }, "TCADCmp.DeleteObject: No object found"},
        {[&] { drawing.SetCurrentLayer(256); }, "TCADCmp.SetCurrentLayer: Layer out of bound"},
        {[&] { drawing.FindSourceBlock("Nothing"); }, "TCADCmp2D.FindSourceBlock: Source block Nothing not found"},
        {[&] { drawing.DeleteSourceBlock("Used"); },
         "TCADCmp2D.DeleteSourceBlock: Remove the references before the source"},
        {[&] { drawing.DeleteSourceBlock(40); }, "TCADCmp.DeleteSourceBlock: No source block found"},
    };
    for (const auto& [action, message] : refusals) EXPECT_EQ(MessageOf<ECADCoreException>(action), message);
    EXPECT_THROW(drawing.SetCurrentLayer(-1), ECADOutOfBound);
    EXPECT_THROW(drawing.DeleteSourceBlock(used.ID()), ECADSourceBlockIsReferenced);

    EXPECT_EQ(drawing.NextObjectID(), 1);
    EXPECT_EQ(drawing.ObjectCount(), 1);
    EXPECT_EQ(drawing.SourceBlockCount(), 2);
    EXPECT_EQ(drawing.CurrentLayer(), 0);
    EXPECT_TRUE(tree.calls.empty()) << "the tree node stays while the object does";
    EXPECT_TRUE(drawing.DeleteObject(0));
    EXPECT_EQ(tree.calls, (std::vector<std::string>{"delete 100"}));
    EXPECT_EQ(drawing.ObjectCount(), 0);
    drawing.DeleteSourceBlock("Holder");
    drawing.DeleteSourceBlock("Used");
    EXPECT_EQ(drawing.SourceBlockCount(), 0);
}

TEST_F(Drawing, ObjectStreamLeavesOutUnstorableLayersAndEndsWithAMark) {
    drawing.Layers().LayerByIndex(2).SetStorable(false);
    for (int layer : {0, 1, 2, 1, 7}) {
        drawing.SetCurrentLayer(layer);
        drawing.AddObject(20 + layer, Line(layer, 0, layer, 1));
    }
    const std::string bytes = SavedObjects();
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x05\0\0\0", 4)) << "N counts the object left out";
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\xFF\xFF");

    TQVCmp2D loaded;
    BinaryReader reader(bytes);
    loaded.LoadObjectsFromStream(reader, LibraryVersion);
    EXPECT_TRUE(reader.atEnd());
    ASSERT_EQ(loaded.ObjectCount(), 4);
    for (std::int32_t id = 0; id < 4; ++id) EXPECT_NE(loaded.GetObject2D(id), nullptr) << "fresh IDs";
    EXPECT_EQ(loaded.GetObject2D(3)->Layer(), 7);
    EXPECT_EQ(loaded.CurrentLayer(), 7) << "the layer of the last object loaded";

    drawing.Layers().LayerByIndex(2).SetStorable(true);
    EXPECT_NE(SavedObjects().substr(bytes.size() - 2), "\xFF\xFF") << "all written: no mark";
}

// The object stream's fuzzer starts from a drawing of one object of each
// kind the export writes, behind the version tag of the file around it. To
// make the seed anew after changing the stream, run with CALVORO_WRITE_GOLDEN=1.
TEST_F(Drawing, ObjectStreamFuzzerSeedIsAStreamTheKernelWritesAndLoadsWhole) {
    TSourceBlock2D& mark = AddBlock(drawing, "Mark");
    mark.Objects().Add(std::make_unique<TLine2D>(0, MakePoint2D(-1, 0), MakePoint2D(1, 0)));
    const std::vector<TPoint2D> zigzag = {MakePoint2D(0, 0), MakePoint2D(1, 1), MakePoint2D(2, 0)};
    drawing.AddObject2D(-1, Line(0, 0, 4, 3));
    drawing.AddObject2D(-1, std::make_unique<TPunto2D>(-1, MakePoint2D(7, 7)));
    drawing.AddObject2D(-1, std::make_unique<TCerchio2D>(-1, MakePoint2D(0, 0), MakePoint2D(2, 0)));
    drawing.AddObject2D(-1, std::make_unique<TArco2D>(-1, MakePoint2D(0, 0), MakePoint2D(2, 0), 0.0, 1.5));
    drawing.AddObject2D(-1, std::make_unique<TFrame2D>(-1, MakePoint2D(-1, -1), MakePoint2D(1, 1)));
    drawing.AddObject2D(-1, std::make_unique<TPolyline2D>(-1, zigzag));
    drawing.AddObject2D(-1, std::make_unique<TPolygon2D>(-1, zigzag));
    drawing.AddObject2D(-1, std::make_unique<TBSpline2D>(-1, zigzag));
    drawing.AddObject2D(-1, std::make_unique<TEllipse2D>(-1, MakePoint2D(0, 0), MakePoint2D(3, 1)));
    auto group = std::make_unique<TContainer2D>(-1);
    group->Objects().Add(std::make_unique<TLine2D>(0, MakePoint2D(0, 0), MakePoint2D(0, 5)));
    drawing.AddObject2D(-1, std::move(group));
    TObject2D* instance = drawing.AddObject2D(-1, std::make_unique<TBlock2D>(-1, mark, MakePoint2D(0, 0)));
    instance->ApplyTransform(RotationMatrix2D(0.5));
    const std::string bytes = "QV-002" + SavedObjects();
    ExpectSameAsFile(bytes, SourceTree() / "tests/kernel/drawing/fuzz/ObjectStream.seed");

    TQVCmp2D loaded;
    std::string messages;
    loaded.SetMessageHandler([&](const std::string& m) { messages += m; });
    loaded.AddSourceBlock(-1, std::make_unique<TSourceBlock2D>(-1, MakeBlockName("Mark")));
    const std::string stream = bytes.substr(6);
    BinaryReader reader(stream);
    loaded.LoadObjectsFromStream(reader, LibraryVersion);
    EXPECT_TRUE(reader.atEnd());
    EXPECT_EQ(messages, "");
    EXPECT_EQ(loaded.ObjectCount(), drawing.ObjectCount());
}

RecordBytes& Entry(RecordBytes& r, unsigned classIndex, TGraphicObject&& object) {
    return r.U16(static_cast<std::uint16_t>(classIndex)).Raw(RecordOf(object));
}

// An object stream read into a drawing keeps what can be drawn and exported;
// each object left out is reported, and the drawing then writes its DXF.
TEST_F(Drawing, ObjectStreamLeavesOutWhatCouldNotBeDrawnOrExported) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    TMatrix2D flat = IdentityMatrix2D;
    flat.M[0][0] = 0.0;
    flat.M[1][0] = 1.0;
    TPunto2D atInfinity(5, TPoint2D{2, 2, 0});
    TSourceBlock2D& mark = AddBlock(drawing, "Mark");
    mark.Objects().Add(std::make_unique<TLine2D>(0, MakePoint2D(-1, 0), MakePoint2D(1, 0)));
    const struct {
        const char* name;
        unsigned classIndex;
        std::string record;
        const char* message;  // none: the object is kept
    } objects[] = {
        {"a line", EntityClassIndex::Line, RecordOf(*Line(0, 0, 4, 3)), nullptr},
        {"a line with NaN", EntityClassIndex::Line, RecordOf(*Line(0, nan, 4, 3)),
         "An object holds a coordinate that is not a finite number. Object discarded."},
        {"a point of weight 0", EntityClassIndex::Point, RecordOf(atInfinity),
         "An object holds a coordinate that is not a finite number. Object discarded."},
        {"a line out of reach", EntityClassIndex::Line, RecordOf(*Line(0, 0, 1e200, 1)),
         "An object places a point too far out to be drawn or exported. Object discarded."},
        {"a flattened instance", EntityClassIndex::Block,
         RecordBytes().Header(6).Matrix(flat).Fixed("Mark", 13).Point(0, 0).str(),
         "An object has a shape the DXF export cannot write. Object discarded."},
        {"an instance", EntityClassIndex::Block,
         RecordBytes().Header(7).Matrix(ScalingMatrix2D(2, 3)).Fixed("Mark", 13).Point(0, 0).str(), nullptr},
    };
    RecordBytes stream;
    stream.I32(static_cast<std::int32_t>(std::size(objects)));
    std::string expected;
    std::size_t kept = 0;
    for (const auto& o : objects) {
        stream.U16(static_cast<std::uint16_t>(o.classIndex)).Raw(o.record);
        if (o.message != nullptr) expected += std::string("; ") + o.message;
        if (o.message == nullptr) ++kept;
    }
    std::string messages;
    drawing.SetMessageHandler([&](const std::string& m) { messages += "; " + m; });
    BinaryReader reader(stream.str());
    drawing.LoadObjectsFromStream(reader, LibraryVersion);
    EXPECT_TRUE(reader.atEnd());
    EXPECT_EQ(messages, expected);
    EXPECT_EQ(drawing.ObjectCount(), static_cast<int>(kept));
    EXPECT_EQ(mark.ReferenceCount(), 1u) << "the instance left out lets its source go";
    std::string dxf;
    EXPECT_NO_THROW(dxf = TDXF2DExport("unused.dxf", &drawing).DXFText());
    EXPECT_NE(dxf.find("INSERT"), std::string::npos);
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
    TBitmap2D picture(19, MakePoint2D(0, 0), MakePoint2D(3, 2), BmpImage::FromFile(MakeBmp24(3, 2)));
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

// A library file: tag, kind byte and the blocks given.
std::string Library(const std::vector<std::string>& blocks, const char* tag = "QV-002", std::uint8_t kind = 2) {
    RecordBytes r;
    r.Fixed(tag, 6).U8(kind).I32(static_cast<std::int32_t>(blocks.size()));
    for (const std::string& block : blocks) r.Raw(block);
    return r.str();
}

// A source block holding one instance of `uses`, or the entries given.
std::string SourceBlock(const char* name, const char* uses = nullptr, const std::string& entries = {}) {
    RecordBytes r;
    r.U16(EntityClassIndex::SourceBlock).Header(0).Identity().I32(uses != nullptr || !entries.empty() ? 1 : 0);
    if (uses != nullptr) r.U16(EntityClassIndex::Block).Header(9).Identity().Fixed(uses, 13).Point(0, 0);
    return r.Raw(entries).U8(1).U8(1).Fixed(name, 13).str();
}

std::string Saved(TQVCmp& drawing) {
    BinaryWriter writer;
    drawing.SaveLibrary(writer);
    return writer.takeBytes();
}

// What loading a library comes to: whether the version handler was asked
// (it answers `resume`), then the error or the blocks loaded with their IDs
// and references, then the messages shown.
std::string LoadOutcome(const std::string& bytes, bool resume = false) {
    TQVCmp2D drawing;
    std::string outcome, messages;
    drawing.SetMessageHandler([&](const std::string& m) { messages += "; " + m; });
    drawing.SetOnInvalidFileVersion([&](TQVCmp&, TStreamType type, BinaryReader&, bool& accept) {
        outcome += type == TStreamType::stLibrary ? "version asked; " : "other stream asked; ";
        accept = resume;
    });
    BinaryReader reader(bytes);
    try {
        drawing.LoadLibrary(reader);
    } catch (const ECADFileNotValid& error) {
        return outcome + error.what() + messages;
    }
    const auto blocks = drawing.SourceBlockIterator();
    for (TGraphicObject* block = blocks->First(); block != nullptr; block = blocks->Next()) {
        const auto& source = dynamic_cast<TSourceBlock2D&>(*block);
        outcome += std::string(BlockNameText(source.Name())) + "(id " + std::to_string(source.ID()) + ", used " +
                   std::to_string(source.ReferenceCount()) + ") ";
    }
    return outcome + std::to_string(drawing.SourceBlockCount()) + " blocks" + messages;
}

class BlockLibrary : public DrawingTest {};

TEST_F(BlockLibrary, EveryClassLoadsAndSavesToTheSameBytes) {
    VectFontTable::Global().Register(2, MakeTestFont());
    const std::string library = EveryClassLibrary();
    EXPECT_EQ(LoadOutcome(library), "Shapes(id 0, used 2) Outer(id 1, used 0) 2 blocks")
        << "both instances of Shapes, the nested one included, are linked; no message";
    // Saving writes only library blocks, so equal bytes also say that every
    // block loaded is one, with all its members.
    TQVCmp2D drawing;
    BinaryReader reader(library);
    drawing.LoadLibrary(reader);
    const std::string saved = Saved(drawing);
    EXPECT_BYTES_EQ(saved, library);
    TQVCmp2D again;
    BinaryReader savedReader(saved);
    again.LoadLibrary(savedReader);
    EXPECT_BYTES_EQ(Saved(again), library);
}

TEST_F(BlockLibrary, CutAnywhereOrWithCountsBeyondTheStreamTheLibraryIsRefusedCleanly) {
    const std::string library = EveryClassLibrary();
    std::vector<std::string> refused;
    for (std::size_t length = 0; length < library.size(); ++length) refused.push_back(library.substr(0, length));
    // Counts raised past the stream, refused before anything is allocated:
    // the block count, the first block's member count and the first member's
    // (a line's) point count.
    const std::size_t members = 7 + 4 + 2 + 6 + 72, points = members + 4 + 2 + 6 + 72;
    for (const std::size_t at : {std::size_t{7}, members, points}) {
        refused.push_back(library);
        refused.back()[at + 1] = static_cast<char>(0x7F);
    }
    for (const std::string& bytes : refused) {
        TQVCmp2D drawing;
        BinaryReader reader(bytes);
        EXPECT_THROW(drawing.LoadLibrary(reader), ECADFileNotValid) << "length " << bytes.size();
        EXPECT_FALSE(drawing.HasIterators());
    }
}

TEST_F(BlockLibrary, HeaderAndEntryFaultsEndAsTheirMessagesSay) {
    // A picture written before the trailing fields existed: only a stream of
    // the older version passed on to the entities reads it whole.
    RecordBytes oldPicture;
    oldPicture.U16(EntityClassIndex::Bitmap).Header(3).Identity().U16(2).Point(0, 0).Point(1, 1).U8(0);
    oldPicture.Raw(MakeBmp24(1, 1));
    std::string unknownClass = SourceBlock("Second");
    unknownClass[0] = 0x2C;  // class 300
    unknownClass[1] = 0x01;
    struct Case {
        std::string bytes;
        bool resume;
        const char* outcome;
    };
    const Case cases[] = {
        {Library({SourceBlock("A")}, "QV-001"), false, "version asked; TCADCmp.LoadLibrary: Invalid stream version."},
        {Library({SourceBlock("Old", nullptr, oldPicture)}, "KRN41"), true,
         "version asked; Old(id 0, used 0) 1 blocks"},
        {Library({SourceBlock("A")}, "QV-002", 1), false, "TCADCmp.LoadLibrary: no blocks found"},
        {Library({}), false, "0 blocks"},
        // A block whose source comes after it is skipped; the rest take fresh IDs.
        {Library({SourceBlock("Early", "Late"), SourceBlock("Late"), SourceBlock("User", "Late")}), false,
         "Late(id 0, used 1) User(id 1, used 0) 2 blocks; Source block not found. The block will not be loaded"},
        // An unknown class ends the load; what came before stays.
        {Library({SourceBlock("First"), unknownClass}), false,
         "First(id 0, used 0) 1 blocks; Object class not found. Object not load"},
    };
    for (const Case& c : cases) EXPECT_EQ(LoadOutcome(c.bytes, c.resume), c.outcome);
}

// The library the program ships, one drawing unit being a millimetre, each
// block around its reference point at the origin. To make data/Library.blk
// anew after changing the blocks, run the test with CALVORO_WRITE_GOLDEN=1.
class BlockBuilder {
public:
    explicit BlockBuilder(const char* name) : block_(std::make_unique<TSourceBlock2D>(-1, MakeBlockName(name))) {
        block_->SetFromLibrary(true);
    }
    BlockBuilder& Line(double x0, double y0, double x1, double y1) {
        return Add<TLine2D>(MakePoint2D(x0, y0), MakePoint2D(x1, y1));
    }
    BlockBuilder& Circle(double r) { return Add<TCerchio2D>(MakePoint2D(0, 0), MakePoint2D(r, 0)); }
    BlockBuilder& Triangle(TPoint2D a, TPoint2D b, TPoint2D c) { return Add<TPolygon2D>(std::vector{a, b, c}); }
    BlockBuilder& Origin() { return Add<TPunto2D>(MakePoint2D(0, 0)); }
    std::unique_ptr<TSourceBlock2D> Take() { return std::move(block_); }

private:
    // Objects are numbered from 0 in the order added.
    template <class T, class... Args>
    BlockBuilder& Add(Args&&... args) {
        block_->Objects().Add(std::make_unique<T>(block_->Objects().Count(), std::forward<Args>(args)...));
        return *this;
    }

    std::unique_ptr<TSourceBlock2D> block_;
};

std::string StandardLibrary() {
    TQVCmp2D drawing;
    // A cross with a small circle: the centre of a hole or an arc.
    drawing.AddSourceBlock(-1, BlockBuilder("CentreMark").Line(-3, 0, 3, 0).Line(0, -3, 0, 3).Circle(1).Take());
    // An arrow of 10 along X with its tip on the reference point.
    drawing.AddSourceBlock(-1, BlockBuilder("Arrow")
                                   .Line(-10, 0, 0, 0)
                                   .Triangle(MakePoint2D(0, 0), MakePoint2D(-3, 1), MakePoint2D(-3, -1))
                                   .Take());
    // The X and Y axes of 10, each with an arrow head, and the origin point.
    drawing.AddSourceBlock(-1, BlockBuilder("Axes")
                                   .Origin()
                                   .Line(0, 0, 10, 0)
                                   .Triangle(MakePoint2D(10, 0), MakePoint2D(8, 0.75), MakePoint2D(8, -0.75))
                                   .Line(0, 0, 0, 10)
                                   .Triangle(MakePoint2D(0, 10), MakePoint2D(0.75, 8), MakePoint2D(-0.75, 8))
                                   .Take());
    return Saved(drawing);
}

TEST_F(BlockLibrary, ShippedFileIsTheOneTheKernelWritesAndLoadsThroughTheFileHelpers) {
    const std::string bytes = StandardLibrary();
    const std::filesystem::path shipped = ShippedData() / "Library.blk";
    ASSERT_TRUE(ExpectSameAsFile(bytes, shipped));

    TQVCmp2D drawing;
    ASSERT_TRUE(LoadBlockLibraryFile(drawing, shipped));
    ASSERT_EQ(drawing.SourceBlockCount(), 3);
    EXPECT_EQ(drawing.FindSourceBlock("Arrow").Box(), MakeRect2D(-10, -1, 0, 1));
    const test::TempFolder folder;
    const std::filesystem::path copy = folder / "Library.blk";
    SaveBlockLibraryFile(drawing, copy);
    EXPECT_TRUE(ReadWholeFile(copy) == bytes);

    TQVCmp2D none;
    EXPECT_FALSE(LoadBlockLibraryFile(none, shipped.parent_path() / "NoSuchLibrary.blk"))
        << "a missing library is no error";
    EXPECT_EQ(none.SourceBlockCount(), 0);
}

// A block that stores a number that is not finite (written by another program,
// or damaged) is reported by name and left out; the blocks around it load and
// a drawing that carries the library exports to DXF.
TEST_F(BlockLibrary, ABlockWithANonFiniteNumberIsReportedAndLeftOut) {
    VectFontTable::Global().Register(2, MakeTestFont());
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    TMatrix2D turnedOff = TranslationMatrix2D(3, 4);
    turnedOff.M[2][0] = -inf;
    const auto withLine = [](TLine2D&& line) {
        RecordBytes r;
        return Entry(r, EntityClassIndex::Line, std::move(line)).str();
    };
    RecordBytes nanBlock;
    nanBlock.U16(EntityClassIndex::SourceBlock).Header(0).Matrix(turnedOff).I32(0).U8(1).U8(1).Fixed("Bad", 13);
    // Finite numbers that the block's transform carries past a double, or
    // so far that a distance between two of them would be.
    const auto scaledBlock = [](TGraphicObject&& member, unsigned classIndex) {
        RecordBytes r;
        r.U16(EntityClassIndex::SourceBlock).Header(0).Matrix(ScalingMatrix2D(1e267, 1e267)).I32(1);
        Entry(r, classIndex, std::move(member));
        return r.U8(1).U8(1).Fixed("Bad", 13).str();
    };
    RecordBytes nestedGroup;
    {
        TContainer2D group(5);
        group.Objects().Add(std::make_unique<TPunto2D>(1, MakePoint2D(inf, 0)));
        Entry(nestedGroup, EntityClassIndex::Container, std::move(group));
    }
    TJustifiedVectText2D text(6, MakePoint2D(0, 0), MakePoint2D(4, 2), 1.0);
    text.SetCharSpacing(nan);
    RecordBytes nanText;
    Entry(nanText, EntityClassIndex::JustifiedVectText, std::move(text));
    const char* tooFar = "places a point too far out to be drawn or exported";
    // A transform that lays the block's X axis onto nothing: finite and
    // small, yet the instance has no X scale to be written by.
    TMatrix2D flat = IdentityMatrix2D;
    flat.M[0][0] = 0.0;
    flat.M[1][0] = 1.0;
    RecordBytes flatInstance;
    flatInstance.U16(EntityClassIndex::Block).Header(9).Matrix(flat).Fixed("Before", 13).Point(0, 0);
    RecordBytes faintArc;
    faintArc.U16(EntityClassIndex::SourceBlock).Header(0).Matrix(ScalingMatrix2D(0.5, 0.5)).I32(1);
    faintArc.U16(EntityClassIndex::Arc)
        .Raw(ArcRecord({MakePoint2D(0, 0), TPoint2D{1, 0, 1e-317}, MakePoint2D(1, 0), MakePoint2D(0, 1)}, 1));
    faintArc.U8(1).U8(1).Fixed("Bad", 13);
    const struct {
        const char* name;
        std::string bad;
        const char* reason = "holds a coordinate that is not a finite number";
    } cases[] = {
        {"NaN in a line's point", SourceBlock("Bad", nullptr, withLine(TLine2D(1, MakePoint2D(0, nan), MakePoint2D(1, 1))))},
        {"a weight that is infinite",
         SourceBlock("Bad", nullptr, withLine(TLine2D(1, MakePoint2D(0, 0), TPoint2D{1, 1, inf})))},
        {"the block's own transform", nanBlock.str()},
        {"a member of a group inside", SourceBlock("Bad", nullptr, nestedGroup.str())},
        {"a text's spacing", SourceBlock("Bad", nullptr, nanText.str())},
        {"a point the block's transform carries past a double",
         scaledBlock(TLine2D(1, MakePoint2D(0, 0), MakePoint2D(1e42, 1)), EntityClassIndex::Line), tooFar},
        {"a circle it makes too wide to measure",
         scaledBlock(TCerchio2D(1, MakePoint2D(-1.5e41, 0), MakePoint2D(1.5e41, 0)), EntityClassIndex::Circle), tooFar},
        {"an arc's radius point weighted 1e-317 under a halving transform", faintArc.str()},
        {"a line's end with a weight of 0",
         SourceBlock("Bad", nullptr, withLine(TLine2D(1, MakePoint2D(0, 0), TPoint2D{1, 1, 0})))},
        {"an instance inside whose transform flattens its source", SourceBlock("Bad", nullptr, flatInstance.str()),
         "has a shape the DXF export cannot write"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string library =
            Library({SourceBlock("Before", nullptr, withLine(TLine2D(1, MakePoint2D(0, 0), MakePoint2D(2, 1)))), c.bad,
                     SourceBlock("After", "Before")});
        EXPECT_EQ(LoadOutcome(library),
                  "Before(id 0, used 1) After(id 1, used 0) 2 blocks; The block \"Bad\" " + std::string(c.reason) +
                      ". The block will not be loaded");

        const test::TempFolder folder;
        WriteFileAtomically(folder / "Library.blk", library);
        TQVCmp2D drawing;
        drawing.SetMessageHandler([](const std::string&) {});
        ASSERT_TRUE(LoadBlockLibraryFile(drawing, folder / "Library.blk"));
        drawing.AddObject2D(-1, std::make_unique<TLine2D>(-1, MakePoint2D(0, 0), MakePoint2D(5, 5)));
        std::string dxf;
        EXPECT_NO_THROW(dxf = TDXF2DExport("unused.dxf", &drawing).DXFText());
        EXPECT_NE(dxf.find("Before"), std::string::npos);
        EXPECT_EQ(dxf.find("Bad"), std::string::npos);
    }
}

class Picture : public DrawingTest {
protected:
    void TearDown() override {
        SetBmpRasterDecoder(nullptr);
        DrawingTest::TearDown();
    }
};

TEST_F(Picture, BmpIsReadToTheLengthItDeclares) {
    const std::string bmp = MakeBmp24(3, 2);
    const std::string record = bmp + "\xEF\xBE\xAD\xDE";  // what follows the picture in a record
    BinaryReader reader(record);
    const BmpImage image = BmpImage::Read(reader);
    EXPECT_EQ(image.FileBytes(), bmp);
    EXPECT_EQ(image.Width(), 3);
    EXPECT_EQ(image.Height(), 2);
    EXPECT_EQ(reader.readUInt32(), 0xDEADBEEFu);

    const BmpImage empty;  // what a new picture entity holds: a valid file of no pixels
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_EQ(empty.FileBytes().size(), 54u);
    EXPECT_EQ(empty.Pixels(), nullptr);
    BinaryReader emptyReader(empty.FileBytes());
    EXPECT_EQ(BmpImage::Read(emptyReader).FileBytes(), empty.FileBytes());

    const BmpImage core =
        BmpImage::FromFile(RecordBytes().Raw("BM").I32(26).I32(0).I32(26).I32(12).U16(5).U16(4).U16(1).U16(24));
    EXPECT_EQ(core.Width(), 5) << "the oldest info header, of 16-bit sizes";
    EXPECT_EQ(core.Height(), 4);
    std::string topDown = MakeBmp24(3, 2);
    topDown.replace(22, 4, "\xFE\xFF\xFF\xFF");  // height -2
    EXPECT_EQ(BmpImage::FromFile(topDown).Height(), 2);
}

const std::vector<TPoint2D> kQuarter = {MakePoint2D(1, 0), MakePoint2D(1, 1), MakePoint2D(0, 1)};

// A rational spline record: the curve part, then the spline's own fields.
std::string SplineRecord(const std::vector<TPoint2D>& points, std::uint16_t segments, std::uint32_t degree,
                         const std::vector<double>& knots, const std::vector<double>& weights) {
    RecordBytes r;
    r.Header(5).Identity().U16(static_cast<std::uint16_t>(points.size()));
    for (const TPoint2D& p : points) r.Point(p.X, p.Y, p.W);
    r.U8(1).U16(segments).U8(1);
    r.U8(0xDE).U8(0xAD).U8(0).U8(0xBE).U8(0xEF);
    r.I32(static_cast<std::int32_t>(degree)).I32(static_cast<std::int32_t>(knots.size()));
    for (const double k : knots) r.F64(k);
    r.I32(static_cast<std::int32_t>(weights.size()));
    for (const double w : weights) r.F64(w);
    return r;
}

std::vector<TPoint2D> ProfileOf(TQVBSpline2D& spline) {
    spline.RecalcBox();
    const ProfileUse use(spline);
    if (!spline.HasProfilePoints()) return {};
    const auto points = spline.GetProfilePoints().Points();
    return std::vector<TPoint2D>(points.begin(), points.end());
}

class QVBSpline2D : public DrawingTest {};

TEST_F(QVBSpline2D, RecordKeepsItsBytesAndEvaluatesAsACircle) {
    const std::string bytes = SplineRecord(kQuarter, 50, 2, {0, 0, 0, 1, 1, 1}, {1, std::sqrt(0.5), 1});
    const auto spline = ReadRecord<TQVBSpline2D>(bytes);
    EXPECT_EQ(spline->StoredBytes(), (std::array<std::uint8_t, 5>{0xDE, 0xAD, 0, 0xBE, 0xEF}));
    EXPECT_EQ(spline->KnotCount(), 6u);
    EXPECT_EQ(spline->VectorCount(), 3u);
    const std::vector<TPoint2D> profile = ProfileOf(*spline);
    ASSERT_EQ(profile.size(), 50u) << "SegmentCount points, not one more";
    for (const TPoint2D& p : profile) EXPECT_NEAR(std::hypot(p.X, p.Y), 1.0, 1e-12);
    EXPECT_POINT_NEAR(profile.front(), 1, 0, 1e-15);
    EXPECT_POINT_NEAR(profile.back(), 0, 1, 1e-15);
    EXPECT_BYTES_EQ(RecordOf(*spline), bytes);

    const std::unique_ptr<TObject2D> copy = spline->Clone();
    EXPECT_BYTES_EQ(RecordOf(*copy), bytes);
    auto& clone = dynamic_cast<TQVBSpline2D&>(*copy);
    EXPECT_EQ(ProfileOf(clone), profile);
    EXPECT_TRUE(clone.Points().Growable());
}

class TextEntities : public DrawingTest {};

// The primitive part of a record with two points and no transform.
RecordBytes TwoPointRecord(double x1, double y1) {
    RecordBytes r;
    r.Header(9).Identity().U16(2).Point(0, 0).Point(x1, y1).U8(0);
    return r;
}

TEST_F(TextEntities, TextRecordIsWrittenFieldByField) {
    TText2D text(9, MakePoint2D(0, 0), MakePoint2D(30, 12), 2.5, "Calvoro \xE8");
    text.SetDrawTextFlags(TextFormat::Center | TextFormat::SingleLine);
    text.SetDrawBox(true);
    BinaryWriter font;
    text.ExtFont().SaveToStream(font);
    const std::string expected =
        TwoPointRecord(30, 12).I32(9).Raw("Calvoro \xE8").Raw(font.bytes()).I32(0x21).U8(1).F64(2.5).str();
    EXPECT_BYTES_EQ(RecordOf(text), expected);
    const auto read = ReadRecord<TText2D>(expected);
    EXPECT_EQ(read->Text(), "Calvoro \xE8");
    EXPECT_TRUE(read->DrawBox());
    EXPECT_FALSE(read->AutoSize()) << "AutoSize is not stored";
    EXPECT_BYTES_EQ(RecordOf(*read), expected);
}

class ClassWord : public DrawingTest {};

// The bytes with the count at `countAt` raised by one and one more entry of
// that class word, followed by room for a record.
std::string WithEntry(std::string bytes, std::size_t countAt, std::uint16_t word) {
    std::int32_t count = 0;
    std::memcpy(&count, bytes.data() + countAt, 4);
    BinaryWriter patched;
    patched.writeBytes(bytes);
    patched.patchInt32(countAt, count + 1);
    patched.writeUInt16(word);
    patched.writeBytes(std::string(100, '\0'));
    return patched.takeBytes();
}

// What loading the bytes did: the error raised, what the drawing holds and
// the messages shown.
std::string Outcome(bool library, const std::string& bytes) {
    TQVCmp2D loaded;
    std::string outcome;
    loaded.SetMessageHandler([&](const std::string& message) { outcome += "message " + message + "; "; });
    BinaryReader reader(bytes);
    try {
        if (library) {
            loaded.LoadLibrary(reader);
        } else {
            loaded.LoadObjectsFromStream(reader, LibraryVersion);
        }
    } catch (const ECADOutOfBound& e) {
        outcome += std::string("raised ") + e.what() + "; ";
    }
    EXPECT_FALSE(loaded.HasIterators());
    return outcome + std::to_string(loaded.SourceBlockCount()) + " blocks, " + std::to_string(loaded.ObjectCount()) +
           " objects";
}

TEST_F(ClassWord, PastTheTableRaisesWithinItIsReported) {
    TQVCmp2D drawing;
    auto block = std::make_unique<TSourceBlock2D>(-1, MakeBlockName("Kept"));
    block->SetFromLibrary(true);
    drawing.AddSourceBlock(-1, std::move(block));
    drawing.AddObject(-1, std::make_unique<TPunto2D>(-1, MakePoint2D(1, 2)));
    BinaryWriter library, objects;
    drawing.SaveLibrary(library);
    drawing.SaveObjectsToStream(objects);
    const std::size_t libraryCount = 7;  // after the version tag and the kind byte

    const std::string outOfBound = "raised CADCoreRegisterClass: Out of bound registration index; ";
    const std::string notFound = "message Object class not found. Object not load; ";
    struct Case {
        bool library;
        std::uint16_t word;
        std::string outcome;
    };
    const Case cases[] = {
        {true, 512, outOfBound + "1 blocks, 0 objects"},
        {true, 0xFFFF, outOfBound + "1 blocks, 0 objects"},
        {true, 300, notFound + "1 blocks, 0 objects"},
        {false, 512, outOfBound + "0 blocks, 1 objects"},
        {false, 0xFFFE, outOfBound + "0 blocks, 1 objects"},
        {false, 300, notFound + "0 blocks, 1 objects"},
        {false, 0xFFFF, "0 blocks, 1 objects"},  // the end mark of an object stream
    };
    for (const Case& c : cases) {
        const std::string bytes =
            c.library ? WithEntry(library.bytes(), libraryCount, c.word) : WithEntry(objects.bytes(), 0, c.word);
        EXPECT_EQ(Outcome(c.library, bytes), c.outcome) << (c.library ? "library " : "objects ") << c.word;
    }
}

}  // namespace

TEST(BlockLibraryOpen, APipeIsRefusedNamingTheFile) {
    test::TempFolder folder;
    const auto pipe = folder / "Library.blk";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    TQVCmp2D drawing;
    try {
        LoadBlockLibraryFile(drawing, pipe);
        ADD_FAILURE() << "the pipe was read";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "The block library \"" + pipe.string() + "\" cannot be read: it is a pipe, not a file.");
    }
    EXPECT_EQ(drawing.SourceBlockCount(), 0);
}

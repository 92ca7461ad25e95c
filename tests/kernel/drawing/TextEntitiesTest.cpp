#include "kernel/draw/DecorativeCanvas.h"
#include "kernel/draw/RecordingCanvas.h"
#include "kernel/entities/TBitmap2D.h"
#include "kernel/entities/TFrame2D.h"
#include "kernel/entities/TJustifiedVectText2D.h"
#include "kernel/entities/TText2D.h"
#include "kernel/geometry/Picking.h"
#include "kernel/model/CADCoreExceptions.h"

#include "BmpTestFiles.h"
#include "DrawingTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace calvoro;
using namespace calvoro::test;

namespace {

const TRect2D kWholeScreen = MakeRect2D(0, 0, 640, 480);

class TextEntities : public DrawingTest {
protected:
    RecordingCanvas target;
    TDecorativeCanvas canvas{target};

    std::vector<CanvasCall> Calls(CanvasOp op) const { return target.CallsOf(op); }
};

std::string FontRecord(const TExtendedFont& font) {
    BinaryWriter writer;
    font.SaveToStream(writer);
    return writer.takeBytes();
}

// The primitive part of a record with two points and no transform.
RecordBytes TwoPointRecord(std::int32_t id, double x0, double y0, double x1, double y1) {
    RecordBytes r;
    r.Header(id).Identity().U16(2).Point(x0, y0).Point(x1, y1).U8(0);
    return r;
}

// Text entity.

TEST_F(TextEntities, TextRecordIsWrittenFieldByField) {
    TText2D text(4, MakePoint2D(1, 2), MakePoint2D(30, 12), 2.5, "Calvoro \xE8");
    text.SetDrawTextFlags(TextFormat::Center | TextFormat::SingleLine);
    text.SetDrawBox(true);
    const std::string expected = TwoPointRecord(4, 1, 2, 30, 12)
                                     .I32(9)
                                     .Raw("Calvoro \xE8")
                                     .Raw(FontRecord(text.ExtFont()))
                                     .I32(0x21)
                                     .U8(1)
                                     .F64(2.5)
                                     .str();
    EXPECT_BYTES_EQ(RecordOf(text), expected);
    const auto read = ReadRecord<TText2D>(expected);
    EXPECT_EQ(read->Text(), "Calvoro \xE8");
    EXPECT_TRUE(read->DrawBox());
    EXPECT_FALSE(read->AutoSize()) << "AutoSize is not stored";
    EXPECT_BYTES_EQ(RecordOf(*read), expected);
}

TEST_F(TextEntities, TextLengthMustFitTheStream) {
    for (const std::int32_t length : {-1, 8, 0x7FFFFFFF}) {
        const std::string bytes = TwoPointRecord(1, 0, 0, 1, 1).I32(length).Raw("abc").str();
        BinaryReader reader(bytes);
        EXPECT_THROW(TText2D(reader, LibraryVersion), ECADFileNotValid) << length;
    }
}

TEST_F(TextEntities, TextDrawingDependsOnPixelHeightAndPenMode) {
    TText2D text(1, MakePoint2D(10, 10), MakePoint2D(40, 20), 2.0, "Hi");
    const TColor fontColour = clRed;
    FontSpec own;
    own.Color = fontColour;
    target.SetFont(own);
    target.ClearCalls();

    text.Draw(ViewMatrix(0.2), canvas, 0, kWholeScreen);  // 0.4 pixels high
    EXPECT_TRUE(target.Calls().empty()) << "not even the font is touched";

    target.ClearCalls();
    text.Draw(ViewMatrix(10), canvas, 0, kWholeScreen);
    const std::vector<CanvasCall> drawn = Calls(CanvasOp::DrawText);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].Text, "Hi");
    EXPECT_EQ(drawn[0].Rect, (TPixelRect{100, 200, 400, 300}));
    EXPECT_EQ(drawn[0].Font.Height, 20);
    EXPECT_EQ(drawn[0].Font.Color, fontColour) << "the text keeps the canvas font colour";
    EXPECT_TRUE(Calls(CanvasOp::Polyline).empty() && Calls(CanvasOp::LineTo).empty()) << "no box";
    EXPECT_EQ(target.Font(), own) << "the canvas gets its font back";

    target.ClearCalls();
    target.SetPen(PenSpec{clBlack, TPenStyle::psSolid, TPenMode::pmXor, 1});
    text.Draw(ViewMatrix(10), canvas, 0, kWholeScreen);
    EXPECT_TRUE(Calls(CanvasOp::DrawText).empty()) << "a rubber band shows only the box";
    EXPECT_FALSE(Calls(CanvasOp::Polyline).empty());

    target.ClearCalls();
    target.SetPen(PenSpec{});
    text.SetDrawBox(true);
    text.Draw(ViewMatrix(10), canvas, 0, kWholeScreen);
    EXPECT_EQ(Calls(CanvasOp::DrawText).size(), 1u);
    EXPECT_FALSE(Calls(CanvasOp::Polyline).empty());
}

TEST_F(TextEntities, AutoSizeFitsTheBoxToTheMeasuredText) {
    TText2D source(1, MakePoint2D(10, 10), MakePoint2D(40, 20), 2.0, "Hello");
    source.SetAutoSize(true);
    TText2D text(2, MakePoint2D(0, 0), MakePoint2D(1, 1), 1.0, "");
    text.Assign(source);  // the only way AutoSize gets set
    text.Draw(ViewMatrix(10), canvas, 0, kWholeScreen);
    // Five characters of 8 pixels and one line of 20 pixels from the top-left
    // corner (100, 200): 4 by 2 world units below the top edge.
    EXPECT_POINT_NEAR(text.Points().Get(0), 10, 18, 1e-9);
    EXPECT_POINT_NEAR(text.Points().Get(1), 14, 20, 1e-9);
    ASSERT_EQ(Calls(CanvasOp::DrawText).size(), 1u);
    EXPECT_EQ(Calls(CanvasOp::DrawText)[0].Rect, (TPixelRect{100, 200, 140, 220}));
}

TEST_F(TextEntities, AnywhereInTheGrownBoxHitsTheText) {
    TText2D text(1, MakePoint2D(0, 0), MakePoint2D(10, 5), 1.0, "x");
    double distance = 0;
    EXPECT_EQ(text.HitTest(MakePoint2D(5, 2), distance, 0.5), kHitInside);
    EXPECT_EQ(text.HitTest(MakePoint2D(10.4, 2), distance, 0.5), kHitInside);
    EXPECT_EQ(text.HitTest(MakePoint2D(11, 2), distance, 0.5), kHitMiss);
}

// Picture entity.

class PictureEntity : public TextEntities {
protected:
    void SetUp() override {
        TextEntities::SetUp();
        SetBmpRasterDecoder(DecodeTestBmp24);
    }
    void TearDown() override {
        SetBmpRasterDecoder(nullptr);
        TextEntities::TearDown();
    }
};

TEST_F(PictureEntity, TrailingFieldsFollowTheStreamVersion) {
    const std::string bmp = MakeBmp24(2, 2, 0x00FF00);
    const std::string body = TwoPointRecord(3, 0, 0, 4, 2).Raw(bmp).str();
    const std::string trailing = RecordBytes().F64(1.5).F64(-2).I32(0x00660046).str();
    struct Case {
        const char* version;
        bool readsTrailing;
    };
    for (const Case c : {Case{"KRN41", false}, Case{"KRN4", false}, Case{"KRN422", true}, Case{"QV-002", true}}) {
        SCOPED_TRACE(c.version);
        const std::string bytes = c.readsTrailing ? body + trailing : body;
        BinaryReader reader(bytes);
        const TBitmap2D picture(reader, VersionTag(c.version));
        EXPECT_TRUE(reader.atEnd());
        EXPECT_EQ(picture.Bitmap().FileBytes(), bmp);
        EXPECT_EQ(picture.Reserved()[0], c.readsTrailing ? 1.5 : 0.0);
        EXPECT_EQ(picture.Reserved()[1], c.readsTrailing ? -2.0 : 0.0);
        EXPECT_EQ(picture.CopyMode(), c.readsTrailing ? CopyMode::SrcInvert : CopyMode::SrcCopy);
    }
    BinaryReader reader(body);
    TBitmap2D old(reader, VersionTag("KRN41"));
    // Writing always adds the three fields.
    EXPECT_BYTES_EQ(RecordOf(old), body + RecordBytes().F64(0).F64(0).I32(0x00CC0020).str());
}

TEST_F(PictureEntity, PictureIsDrawnUprightWhicheverCornerComesFirst) {
    const BmpImage bmp = BmpImage::FromFile(MakeBmp24(4, 2, 0));
    struct Case {
        TPoint2D p0, p1;
        TMatrix2D objectMatrix;
        TPixelRect rect;
    };
    const Case cases[] = {
        {MakePoint2D(10, 20), MakePoint2D(30, 40), IdentityMatrix2D, {20, 320, 60, 360}},
        {MakePoint2D(30, 40), MakePoint2D(10, 20), IdentityMatrix2D, {20, 320, 60, 360}},
        {MakePoint2D(10, 40), MakePoint2D(30, 20), IdentityMatrix2D, {20, 320, 60, 360}},
        // A mirror about the Y axis shows the picture mirrored: right to left.
        {MakePoint2D(10, 20), MakePoint2D(30, 40), MirrorMatrix2D(kMirrorX), {-20, 320, -60, 360}},
    };
    for (const Case& c : cases) {
        TBitmap2D picture(1, c.p0, c.p1, bmp);
        picture.SetObjectMatrix(c.objectMatrix);
        picture.SetCopyMode(CopyMode::SrcAnd);
        target.ClearCalls();
        picture.Draw(ViewMatrix(2), canvas, 0, kWholeScreen);
        const std::vector<CanvasCall> drawn = Calls(CanvasOp::StretchDraw);
        ASSERT_EQ(drawn.size(), 1u);
        EXPECT_EQ(drawn[0].Rect, c.rect);
        EXPECT_EQ(drawn[0].Flags, CopyMode::SrcAnd);
        EXPECT_EQ(drawn[0].ImageSize, (TPixelPoint{4, 2}));
    }
}

TEST_F(PictureEntity, AFrameGivesOnlyItsCorners) {
    TBitmap2D picture(1, MakePoint2D(0, 0), MakePoint2D(4, 2), BmpImage::FromFile(MakeBmp24(2, 2, 0)));
    picture.SetCopyMode(CopyMode::SrcPaint);
    const TFrame2D frame(2, MakePoint2D(5, 6), MakePoint2D(7, 9));
    picture.Assign(frame);
    EXPECT_EQ(picture.Points().Get(0), MakePoint2D(5, 6));
    EXPECT_EQ(picture.Points().Get(1), MakePoint2D(7, 9));
    EXPECT_EQ(picture.CopyMode(), CopyMode::SrcPaint);
    EXPECT_EQ(picture.Bitmap().Width(), 2);

    const std::unique_ptr<TObject2D> copy = picture.Clone();
    const auto& clone = dynamic_cast<const TBitmap2D&>(*copy);
    EXPECT_EQ(clone.Bitmap().FileBytes(), picture.Bitmap().FileBytes());
    EXPECT_EQ(clone.CopyMode(), CopyMode::SrcPaint);
}

// Vector text.

RecordBytes VectTextRecord(std::int32_t fontIndex, std::uint8_t h = 0, std::uint8_t v = 0) {
    return TwoPointRecord(9, 0, 0, 20, 10).I32(3).Raw("AgA").I32(fontIndex).U8(h).U8(v).U8(1).F64(2).F64(0.5).F64(0.1);
}

TEST_F(TextEntities, VectorTextWithoutFontShowsNothingAndKeepsAnEmptyBox) {
    TJustifiedVectText2D text(1, MakePoint2D(0, 0), MakePoint2D(20, 10), 2.0);
    text.SetDrawBox(true);
    text.SetVectText("AAA");
    text.Draw(ViewMatrix(10), canvas, 0, kWholeScreen);
    EXPECT_TRUE(target.Calls().empty());
    EXPECT_EQ(text.Box(), MakeRect2D(0, 10, 0, 10)) << "the empty extension at the top-left corner";
}

TEST_F(TextEntities, VectorTextDrawsGlyphsFromThePenPosition) {
    VectFontTable::Global().Register(0, MakeTestFont());
    TJustifiedVectText2D text(1, MakePoint2D(0, 0), MakePoint2D(20, 10), 2.0);
    text.SetVectFont(VectFontTable::Global().FindFontByIndex(0));
    text.SetVectText("A A?\r\nA");
    EXPECT_EQ(text.Box(), MakeRect2D(0, 6, (1 + 0.5 + 1 + 0) * 2, 10)) << "two lines of one unit, no interline";
    text.Draw(ViewMatrix(10), canvas, 0, kWholeScreen);
    const std::vector<CanvasCall> strokes = Calls(CanvasOp::Polyline);
    ASSERT_EQ(strokes.size(), 4u) << "A, A, the default glyph for '?', A";
    // The first line's baseline is one glyph height below the top: Y = 8.
    EXPECT_EQ(strokes[0].Points.front(), (TPixelPoint{0, 320}));
    EXPECT_EQ(strokes[1].Points.front(), (TPixelPoint{28, 320})) << "a drawn space is 0.4 units";
    EXPECT_EQ(strokes[2].Points, (std::vector<TPixelPoint>{{48, 320}, {48, 304}})) << "default glyph after A";
    EXPECT_EQ(strokes[3].Points.front(), (TPixelPoint{0, 340})) << "next line one line height lower";

    target.ClearCalls();
    text.SetDrawBox(true);
    text.Draw(ViewMatrix(10), canvas, TJustifiedVectText2D::kModeNoText, kWholeScreen);
    ASSERT_EQ(Calls(CanvasOp::Polyline).size(), 1u) << "only the box";
    EXPECT_EQ(Calls(CanvasOp::Polyline)[0].Points.size(), 5u);
}

TEST_F(TextEntities, UnknownFontIndexFallsBackAndIsWrittenBack) {
    const auto first = MakeTestFont();
    VectFontTable::Global().Register(3, first);
    const std::string bytes = VectTextRecord(7).str();
    const auto text = ReadRecord<TJustifiedVectText2D>(bytes);
    EXPECT_EQ(text->VectFont(), first) << "the first font of the table";
    EXPECT_BYTES_EQ(RecordOf(*text), bytes);  // the index read is kept

    const auto fallback = MakeTestFont();
    VectFontTable::Global().SetDefaultFont(fallback);
    EXPECT_EQ(ReadRecord<TJustifiedVectText2D>(VectTextRecord(600))->VectFont(), fallback);
    EXPECT_EQ(ReadRecord<TJustifiedVectText2D>(VectTextRecord(3 + 0x10000))->VectFont(), first)
        << "the low 16 bits name the slot";

    VectFontTable::Global().Reset();
    EXPECT_EQ(ReadRecord<TJustifiedVectText2D>(VectTextRecord(0))->VectFont(), nullptr);
}

TEST_F(TextEntities, VectorTextRecordIsChecked) {
    for (const auto& [h, v] : {std::pair{3, 0}, std::pair{0, 3}, std::pair{255, 1}}) {
        const std::string bytes = VectTextRecord(0, static_cast<std::uint8_t>(h), static_cast<std::uint8_t>(v));
        BinaryReader reader(bytes);
        EXPECT_THROW(TJustifiedVectText2D(reader, LibraryVersion), ECADFileNotValid) << h << " " << v;
    }
    TJustifiedVectText2D text(1, MakePoint2D(0, 0), MakePoint2D(1, 1), 1.0);
    text.SetVectFont(MakeTestFont());
    try {
        RecordOf(text);
        FAIL();
    } catch (const ECADObjClassNotFound& e) {
        EXPECT_STREQ(e.what(), "CADCoreFindFontIndex: Font not found");
    }
}

TEST_F(TextEntities, VectorTextPicksItsPlacedBox) {
    VectFontTable::Global().Register(0, MakeTestFont());
    const auto text = ReadRecord<TJustifiedVectText2D>(VectTextRecord(0, 1, 1));  // right, bottom
    text->RecalcBox();
    // "AgA": 2.7 units wide (S = 0.1), its descender on the bottom edge.
    const TRect2D box = text->Box();
    EXPECT_NEAR(box.Left, 20 - 5.4, 1e-12);
    EXPECT_NEAR(box.Bottom, 0, 1e-12);
    double distance = 0;
    EXPECT_EQ(text->HitTest(MakePoint2D(17, 1), distance, 0.1), kHitInside);
    EXPECT_EQ(text->HitTest(MakePoint2D(20, 1), distance, 0.1), kHitOutline);
    EXPECT_EQ(text->HitTest(MakePoint2D(14.4, 1), distance, 0.1), kHitMiss);
}

TEST_F(TextEntities, VectorTextTakesTextHeightAndBoxFromASystemFontText) {
    TText2D source(1, MakePoint2D(1, 2), MakePoint2D(3, 4), 7.0, "copied");
    source.SetDrawBox(true);
    TJustifiedVectText2D text(2, MakePoint2D(0, 0), MakePoint2D(1, 1), 1.0);
    text.Assign(source);
    EXPECT_EQ(text.Text(), "copied");
    EXPECT_EQ(text.Height(), 7.0);
    EXPECT_TRUE(text.DrawBox());
    EXPECT_EQ(text.Points().Get(1), MakePoint2D(3, 4));
}

}  // namespace

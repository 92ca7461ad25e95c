// The text and vector-text entities: their records and the records they
// refuse, what they draw, the vector-font table, and how vector text is
// measured, split into lines and placed in its frame.
#include "kernel/draw/DecorativeCanvas.h"
#include "kernel/draw/RecordingCanvas.h"
#include "kernel/entities/TJustifiedVectText2D.h"
#include "kernel/entities/TText2D.h"
#include "kernel/entities/VectTextLayout.h"
#include "kernel/geometry/Picking.h"

#include "DrawingTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
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
    void Draw(TObject2D& object, double scale = 10, int mode = 0) {
        target.ClearCalls();
        object.Draw(ViewMatrix(scale), canvas, mode, kWholeScreen);
    }
};

// The primitive part of a record with two points and no transform.
RecordBytes TwoPointRecord(double x1, double y1) {
    RecordBytes r;
    r.Header(9).Identity().U16(2).Point(0, 0).Point(x1, y1).U8(0);
    return r;
}

// "AgA" in a 20 by 10 frame: height 2, interline 0.5, spacing 0.1.
std::string VectTextRecord(std::int32_t fontIndex, std::uint8_t h = 0, std::uint8_t v = 0) {
    return TwoPointRecord(20, 10).I32(3).Raw("AgA").I32(fontIndex).U8(h).U8(v).U8(1).F64(2).F64(0.5).F64(0.1);
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

TEST_F(TextEntities, RecordsWithLengthsOrJustificationsOutOfRangeAreRefused) {
    for (const std::int32_t length : {-1, 8, 0x7FFFFFFF}) {
        const std::string bytes = TwoPointRecord(1, 1).I32(length).Raw("abc").str();
        BinaryReader reader(bytes);
        EXPECT_THROW(TText2D(reader, LibraryVersion), ECADFileNotValid) << length;
    }
    for (const auto& [h, v] : {std::pair{3, 0}, std::pair{0, 3}, std::pair{255, 1}}) {
        const std::string bytes = VectTextRecord(0, static_cast<std::uint8_t>(h), static_cast<std::uint8_t>(v));
        BinaryReader reader(bytes);
        EXPECT_THROW(TJustifiedVectText2D(reader, LibraryVersion), ECADFileNotValid) << h << " " << v;
    }
}

TEST_F(TextEntities, TextDrawingDependsOnPixelHeightAndPenMode) {
    TText2D text(1, MakePoint2D(10, 10), MakePoint2D(40, 20), 2.0, "Hi");
    FontDescription own;
    own.Color = clRed;
    target.SetFont(own);
    Draw(text, 0.2);  // 0.4 pixels high
    EXPECT_TRUE(target.Calls().empty()) << "not even the font is touched";

    Draw(text);
    const std::vector<CanvasCall> drawn = Calls(CanvasOp::DrawText);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].Text, "Hi");
    EXPECT_EQ(drawn[0].Rect, (TPixelRect{100, 200, 400, 300}));
    EXPECT_EQ(drawn[0].Font.Height, 20);
    EXPECT_EQ(drawn[0].Font.Color, clRed) << "the text keeps the canvas font colour";
    EXPECT_TRUE(Calls(CanvasOp::Polyline).empty() && Calls(CanvasOp::LineTo).empty()) << "no box";
    EXPECT_EQ(target.Font(), own) << "the canvas gets its font back";

    target.SetPen(PenAttributes{clBlack, TPenStyle::psSolid, TPenMode::pmXor, 1});
    Draw(text);
    EXPECT_TRUE(Calls(CanvasOp::DrawText).empty()) << "a rubber band shows only the box";
    EXPECT_FALSE(Calls(CanvasOp::Polyline).empty());
}

TEST_F(TextEntities, VectorTextWithoutFontShowsNothingAndKeepsAnEmptyBox) {
    TJustifiedVectText2D text(1, MakePoint2D(0, 0), MakePoint2D(20, 10), 2.0);
    text.SetDrawBox(true);
    text.SetVectText("AAA");
    Draw(text);
    EXPECT_TRUE(target.Calls().empty());
    EXPECT_EQ(text.Box(), MakeRect2D(0, 10, 0, 10)) << "the empty extension at the top-left corner";
}

TEST_F(TextEntities, VectorTextDrawsGlyphsFromThePenPosition) {
    VectFontTable::Global().Register(0, MakeTestFont());
    TJustifiedVectText2D text(1, MakePoint2D(0, 0), MakePoint2D(20, 10), 2.0);
    text.SetVectFont(VectFontTable::Global().FindFontByIndex(0));
    text.SetVectText("A A?\r\nA");
    EXPECT_EQ(text.Box(), MakeRect2D(0, 6, (1 + 0.5 + 1 + 0) * 2, 10)) << "two lines of one unit, no interline";
    Draw(text);
    const std::vector<CanvasCall> strokes = Calls(CanvasOp::Polyline);
    ASSERT_EQ(strokes.size(), 4u) << "A, A, the default glyph for '?', A";
    // The first line's baseline is one glyph height below the top: Y = 8.
    EXPECT_EQ(strokes[0].Points.front(), (TPixelPoint{0, 320}));
    EXPECT_EQ(strokes[1].Points.front(), (TPixelPoint{28, 320})) << "a drawn space is 0.4 units";
    EXPECT_EQ(strokes[2].Points, (std::vector<TPixelPoint>{{48, 320}, {48, 304}})) << "default glyph after A";
    EXPECT_EQ(strokes[3].Points.front(), (TPixelPoint{0, 340})) << "next line one line height lower";

    // Placed right and bottom, "AgA" is 2.7 units wide (S = 0.1) with its
    // descender on the bottom edge; picks hit the box as placed.
    const auto placed = ReadRecord<TJustifiedVectText2D>(VectTextRecord(0, 1, 1));
    placed->RecalcBox();
    EXPECT_NEAR(placed->Box().Left, 20 - 5.4, 1e-12);
    EXPECT_NEAR(placed->Box().Bottom, 0, 1e-12);
    double distance = 0;
    EXPECT_EQ(placed->HitTest(MakePoint2D(17, 1), distance, 0.1), kHitInside);
    EXPECT_EQ(placed->HitTest(MakePoint2D(20, 1), distance, 0.1), kHitOutline);
    EXPECT_EQ(placed->HitTest(MakePoint2D(14.4, 1), distance, 0.1), kHitMiss);
}

TEST_F(TextEntities, UnknownFontIndexFallsBackAndIsWrittenBack) {
    const auto first = MakeTestFont();
    VectFontTable::Global().Register(3, first);
    const std::string bytes = VectTextRecord(7);
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

    // A font the table does not hold cannot be stored.
    TJustifiedVectText2D stranger(1, MakePoint2D(0, 0), MakePoint2D(1, 1), 1.0);
    stranger.SetVectFont(MakeTestFont());
    EXPECT_EQ(MessageOf<ECADObjClassNotFound>([&] { RecordOf(stranger); }), "CADCoreFindFontIndex: Font not found");
}

TEST_F(TextEntities, FontTableLooksFontsUpBothWaysAndRefusesWhatItDoesNotHold) {
    VectFontTable& table = VectFontTable::Global();
    const auto font = MakeTestFont();
    table.Register(7, font);
    EXPECT_EQ(table.FindFontIndex(font.get()), 7);
    EXPECT_EQ(table.FindFontIndex(nullptr), 0) << "a text without a font is stored with the first empty slot";
    for (const unsigned index : {1u, 512u, 513u, 600u, 65535u}) {
        EXPECT_EQ(MessageOf<ECADObjClassNotFound>([&] { table.FindFontByIndex(index); }),
                  "CADCoreFindFontByIndex: Font not registered")
            << index;
    }
    EXPECT_THROW(table.Register(513, font), ECADOutOfBound);
    EXPECT_THROW(table.Register(7, font), ECADObjClassNotFound);
    // With a default font, empty slots and slots past the table (never read
    // outside it) give that font.
    const auto fallback = MakeTestFont();
    table.SetDefaultFont(fallback);
    EXPECT_EQ(table.FindFontByIndex(3), fallback);
    EXPECT_EQ(table.FindFontByIndex(60000), fallback);
}

void ExpectRect(const TRect2D& r, double left, double bottom, double right, double top) {
    EXPECT_DOUBLE_EQ(r.Left, left);
    EXPECT_DOUBLE_EQ(r.Bottom, bottom);
    EXPECT_DOUBLE_EQ(r.Right, right);
    EXPECT_DOUBLE_EQ(r.Top, top);
}

TEST(VectTextLayout, ExtensionMeasuresGlyphsSpacesAndMissingCharactersLineByLine) {
    const auto font = MakeTestFont();
    struct Case {
        const char* text;
        double left, bottom, right, top;
    };
    // H = 2, S = 0.1, L = 0.5.
    const Case cases[] = {
        {"", 0, 2, 0, 2},  // no line: the bottom stays at the top
        {"A", 0, 0, 2, 2},
        {"AA", 0, 0, 4.2, 2},                             // (1 + 0.1 + 1 + 0.1 - 0.1) x 2
        {"A A", 0, 0, (1 + 0.1 + 0.5 + 0.1 + 1) * 2, 2},  // a space measures 0.5
        {"Ag", 0, -0.5, (1 + 0.1 + 0.5) * 2, 2},          // the descender lowers the bottom
        {"A?", 0, 0, (1 + 0.1 + 0) * 2, 2},               // '?' measures like the default glyph
        {"A\rAA", 0, -3, 4.2, 2},                         // second line: 1 + 0.5 + 1 glyph units lower
        {"AA\r\rA", 0, -4, 4.2, 2},                       // an empty line adds only the interline
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ExpectRect(VectTextExtension(*font, c.text, 2.0, 0.1, 0.5), c.left, c.bottom, c.right, c.top);
    }
    EXPECT_EQ(SplitVectTextLines("ab\r\ncd\n\ref\r"), (std::vector<std::string_view>{"ab", "cd\n", "ef", ""}))
        << "lines end at CR, an LF right after it dropped";
}

TEST(VectTextLayout, PlacementInTheFrameForEveryJustification) {
    const TRect2D extension = MakeRect2D(0, -1, 4, 2);  // 4 wide, 3 high
    const TRect2D frame = MakeRect2D(20, 10, 10, 30);   // unordered on purpose
    struct Case {
        THJustification h;
        TVJustification v;
        double left, bottom;
    };
    const Case cases[] = {
        {THJustification::Left, TVJustification::Top, 10, 27},
        {THJustification::Right, TVJustification::Top, 16, 27},
        {THJustification::Centre, TVJustification::Top, 13, 27},
        {THJustification::Left, TVJustification::Bottom, 10, 10},
        // Middle puts the extension's origin at the frame's middle, its height
        // not taken into account.
        {THJustification::Left, TVJustification::Middle, 10, 19},
    };
    for (const Case& c : cases) {
        const TRect2D placed = PlaceVectText(extension, frame, c.h, c.v);
        ExpectRect(placed, c.left, c.bottom, c.left + 4, c.bottom + 3);
    }
}

}  // namespace

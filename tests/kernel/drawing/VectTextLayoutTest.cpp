#include "kernel/entities/VectFontTable.h"
#include "kernel/entities/VectTextLayout.h"
#include "kernel/model/CADCoreExceptions.h"

#include "DrawingTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using namespace calvoro;
using calvoro::test::MakeTestFont;

namespace {

void ExpectRect(const TRect2D& r, double left, double bottom, double right, double top) {
    EXPECT_DOUBLE_EQ(r.Left, left);
    EXPECT_DOUBLE_EQ(r.Bottom, bottom);
    EXPECT_DOUBLE_EQ(r.Right, right);
    EXPECT_DOUBLE_EQ(r.Top, top);
}

class VectFontTableTest : public ::testing::Test {
protected:
    void TearDown() override { VectFontTable::Global().Reset(); }
};

TEST_F(VectFontTableTest, DefaultGlyphIsOneUprightStroke) {
    ExpectRect(VectFontTable::Global().DefaultGlyph().Extension(), 0, 0, 0, 0.8);
}

TEST_F(VectFontTableTest, GlyphExtensionAlwaysHoldsTheOrigin) {
    TVectChar glyph;
    const TPoint2D stroke[] = {MakePoint2D(2, 3), MakePoint2D(4, 5)};
    glyph.AddPolyline(stroke);
    glyph.UpdateExtension();
    ExpectRect(glyph.Extension(), 0, 0, 4, 5);
}

TEST_F(VectFontTableTest, LooksFontsUpBothWays) {
    VectFontTable& table = VectFontTable::Global();
    const auto font = MakeTestFont();
    table.Register(7, font);
    EXPECT_EQ(table.FindFontIndex(font.get()), 7);
    EXPECT_EQ(table.FindFontByIndex(7), font);
    EXPECT_EQ(table.FindFontByIndex(7 + 0x10000), font) << "the index is taken as 16 bits";
    EXPECT_EQ(table.FirstRegisteredFont(), font);
    EXPECT_EQ(table.FindFontIndex(nullptr), 0) << "a text without a font is stored with the first empty slot";
}

TEST_F(VectFontTableTest, RefusalsCarryTheirMessages) {
    VectFontTable& table = VectFontTable::Global();
    const auto font = MakeTestFont();
    TVectFont stranger;
    table.Register(0, font);
    try {
        table.FindFontIndex(&stranger);
        FAIL();
    } catch (const ECADObjClassNotFound& e) {
        EXPECT_STREQ(e.what(), "CADCoreFindFontIndex: Font not found");
    }
    for (const unsigned index : {1u, 512u, 513u, 600u, 65535u}) {
        try {
            table.FindFontByIndex(index);
            FAIL() << index;
        } catch (const ECADObjClassNotFound& e) {
            EXPECT_STREQ(e.what(), "CADCoreFindFontByIndex: Font not registered");
        }
    }
    EXPECT_THROW(table.Register(513, font), ECADOutOfBound);
    EXPECT_THROW(table.Register(0, font), ECADObjClassNotFound);
}

TEST_F(VectFontTableTest, EmptyOrDistantSlotsGiveTheDefaultFont) {
    VectFontTable& table = VectFontTable::Global();
    const auto fallback = MakeTestFont();
    table.SetDefaultFont(fallback);
    EXPECT_EQ(table.FindFontByIndex(3), fallback);
    EXPECT_EQ(table.FindFontByIndex(60000), fallback) << "past the table: no read outside it";
    table.Reset();
    EXPECT_EQ(table.DefaultFont(), nullptr);
    EXPECT_EQ(table.FirstRegisteredFont(), nullptr);
}

TEST(VectTextLayout, ExtensionMeasuresGlyphsSpacesAndMissingCharacters) {
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
}

TEST(VectTextLayout, LinesSplitAtCarriageReturnDroppingTheLineFeedAfterIt) {
    const auto lines = SplitVectTextLines("ab\r\ncd\n\ref\r");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "ab");
    EXPECT_EQ(lines[1], "cd\n");
    EXPECT_EQ(lines[2], "ef");
    EXPECT_EQ(lines[3], "");
}

TEST(VectTextLayout, LineHeightFollowsTheLowestGlyph) {
    const auto font = MakeTestFont();
    EXPECT_DOUBLE_EQ(VectLineHeight(*font, "A"), 1.0);
    EXPECT_DOUBLE_EQ(VectLineHeight(*font, "gA"), 1.25);
    EXPECT_DOUBLE_EQ(VectLineHeight(*font, "  ?"), 0.0);
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

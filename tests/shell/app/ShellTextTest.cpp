// The text rules of the numeric edits, file names and picture information,
// and the work box arithmetic.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "shell/app/ShellText.h"
#include "shell/app/WorkBox.h"

namespace calvoro {
namespace {

TEST(ShellText, NumericEditsLetThroughOnlyTheirCharacters) {
    struct Case {
        NumericKeys kind;
        const char* passes;
        const char* refused;
    };
    const Case cases[] = {
        {NumericKeys::Positive, "0123456789.\b", "-\r ae,+"},
        {NumericKeys::PositiveOrEnter, "0123456789.\b\r", "- ae,+"},
        {NumericKeys::Signed, "0123456789.\b-", "\r ae,+"},
        {NumericKeys::SignedOrEnter, "0123456789.\b-\r", " ae,+"},
    };
    for (const Case& c : cases) {
        for (const char* p = c.passes; *p; ++p) EXPECT_TRUE(KeyPasses(c.kind, static_cast<char32_t>(*p))) << *p;
        for (const char* p = c.refused; *p; ++p) EXPECT_FALSE(KeyPasses(c.kind, static_cast<char32_t>(*p))) << *p;
        EXPECT_FALSE(KeyPasses(c.kind, U'\u0663'));  // a digit of another script is no number here
    }
}

TEST(ShellText, NumeroOkRefusesOnlyTheTextsOnTheWayToANumber) {
    const std::pair<const char*, bool> cases[] = {
        {"", false}, {"-", false}, {".", false}, {"-.", true}, {"5", true}, {"-0.5", true}, {"1.", true},
    };
    for (const auto& [text, ok] : cases) EXPECT_EQ(NumeroOk(text), ok) << '"' << text << '"';
}

TEST(ShellText, CleanFileNameKeepsTheRestInOrder) {
    const std::pair<std::string, std::string> cases[] = {
        {"a:b?c", "abc"},   {"::??", "t"},        {"", "t"},         {"my job #2", "my job 2"},
        {"a|b<c>d\\e/f*g\"h'i", "abcdefghi"},     {"relief.nc", "relief.nc"},
    };
    for (auto [name, cleaned] : cases) {
        const std::string original = name;
        CleanFileName(name);
        EXPECT_EQ(name, cleaned) << original;
    }
}

TEST(ShellText, PictureInformationNamesOnlyTheFile) {
    const PictureInfoRows info = AggAlberoRows("/home/u/pictures/face.bmp", "8 bit", 640, 480, 72);
    const std::vector<std::string> ends = {"face.bmp", "640", "480", "8 bit", "72"};
    ASSERT_EQ(info.rows.size(), ends.size());
    for (std::size_t i = 0; i < ends.size(); ++i) EXPECT_TRUE(info.rows[i].ends_with(ends[i])) << info.rows[i];
    EXPECT_EQ(info.rows[0].find("pictures"), std::string::npos);
}

TEST(WorkBox, BoxAndPixelSizeFollowThePictureAndTheDepths) {
    const ImageInfo info{.X0 = -10, .Y0 = 5, .SizeX = 100, .SizeY = 50, .PixelWidth = 201, .PixelHeight = 101};
    ReliefValues relief;
    relief.setWhiteZ(1);
    relief.setBlackZ(-4);
    const WorkBox box = ComputeWorkBox(info, relief);
    EXPECT_FLOAT_EQ(box.PixelSize, 0.5f);
    EXPECT_FLOAT_EQ(box.CentreX, 40);
    EXPECT_FLOAT_EQ(box.CentreY, 30);
    EXPECT_FLOAT_EQ(box.CentreZ, -1.5f);
    EXPECT_FLOAT_EQ(box.SizeZ, 5);
    EXPECT_FLOAT_EQ(box.AxisScale, 25);
    ApplyWorkBox(box, info, relief);
    EXPECT_FLOAT_EQ(relief.PixelSize, 0.5f);
    EXPECT_FLOAT_EQ(relief.WorkOffsetX, -10);
    EXPECT_FLOAT_EQ(relief.WorkOffsetY, 5);
}

// Rows keep the width's pixel size while that spans the height shown, or
// falls short of it by less than a pixel; otherwise they are spread over it.
TEST(WorkBox, RowsSpanTheHeightShownWithinAPixelAndNeverPastIt) {
    struct Case {
        const char* what;
        float sizeX, sizeY;
        int pixelWidth, pixelHeight;
        float pixelSizeY;  // 0: square
    };
    const Case cases[] = {
        {"as opened: one unit a pixel", 29, 21, 30, 22, 0},
        {"keep-ratio, wider than tall", 29, 21.266666f, 30, 22, 0},
        {"keep-ratio, 1001 x 501 at 100", 100, 50.04995f, 1001, 501, 0},
        {"keep-ratio at a resolution, mm", 100, 80, 1001, 801, 0},
        {"typed lower with keep-ratio off", 29, 10, 30, 22, 10.0f / 21},
        {"stored 55 x 20 on 12 x 9", 55, 20, 12, 9, 2.5f},
        {"keep-ratio, taller than wide", 4, 19.2f, 5, 24, 19.2f / 23},
        {"typed a whole pixel higher", 29, 22, 30, 22, 22.0f / 21},
        {"typed higher, square again", 10, 10, 11, 11, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ImageInfo info{
            .SizeX = c.sizeX, .SizeY = c.sizeY, .PixelWidth = c.pixelWidth, .PixelHeight = c.pixelHeight};
        const WorkBox box = ComputeWorkBox(info, ReliefValues{});
        EXPECT_FLOAT_EQ(box.PixelSizeY, c.pixelSizeY);
        ReliefValues relief;
        ApplyWorkBox(box, info, relief);
        const double span = (c.pixelHeight - 1) * static_cast<double>(relief.CellSizeY());
        EXPECT_LE(span, c.sizeY * (1 + 1e-6));
        EXPECT_GT(span, c.sizeY - relief.CellSizeY());
        EXPECT_NEAR((c.pixelWidth - 1) * static_cast<double>(relief.PixelSize), c.sizeX, 1e-5 * c.sizeX);
    }
    EXPECT_THROW(ComputeWorkBox({.SizeX = 10, .SizeY = 10, .PixelWidth = 11, .PixelHeight = 1}, ReliefValues{}),
                 std::invalid_argument);

    // A picture turned by a quarter keeps the Scale of its old width; the
    // columns still span the width shown, and so the rows.
    ReliefValues relief;
    PlaceRelief({.X0 = -3, .Y0 = 2, .SizeX = 19.2f, .SizeY = 4, .Scale = 1, .PixelWidth = 24, .PixelHeight = 5},
                relief);
    EXPECT_FLOAT_EQ(relief.PixelSize, 19.2f / 23);
    EXPECT_EQ(relief.PixelSizeY, 0.0f);
    EXPECT_EQ(relief.WorkOffsetX, -3.0f);
    EXPECT_EQ(relief.WorkOffsetY, 2.0f);
    // No picture yet: nothing to spread.
    PlaceRelief({.Scale = 0.5f}, relief);
    EXPECT_EQ(relief.PixelSize, 0.5f);
    EXPECT_EQ(relief.PixelSizeY, 0.0f);
    // As opened, the Scale stands.
    PlaceRelief({.SizeX = 25.4f, .SizeY = 12.7f, .Scale = 0.0254f, .PixelWidth = 1001, .PixelHeight = 501}, relief);
    EXPECT_EQ(relief.PixelSize, 0.0254f);
    EXPECT_EQ(relief.PixelSizeY, 0.0f);
}

TEST(WorkBox, APictureOnePixelWideIsRefused) {
    for (int width : {0, 1})
        EXPECT_THROW(ComputeWorkBox({.SizeX = 10, .PixelWidth = width}, ReliefValues{}), std::invalid_argument) << width;
}

}  // namespace
}  // namespace calvoro

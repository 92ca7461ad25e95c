// What the page of sizes shows is what is machined, drawn and exported: the
// NC program's X and Y stay within the work box (plus the cutter's radius)
// and the 3D relief and the STL span the box, for sizes typed with keep-ratio off, for a
// stored job whose sizes do not keep the picture's proportions and for a tall
// picture whose whole-pixel proportions would carry the rows past the box.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "engine/document/JobDocument.h"
#include "engine/preview/ReliefGrid.h"
#include "tests/shell/wizard/WizardTestSupport.h"
#include "tests/support/ProgramExtents.h"

namespace calvoro::test {
namespace {

struct StlExtents {
    float minX = std::numeric_limits<float>::infinity(), maxX = -minX;
    float minY = minX, maxY = -minX;
};

StlExtents ReadStlExtents(const std::string& bytes) {
    StlExtents extents;
    std::uint32_t count = 0;
    std::memcpy(&count, bytes.data() + 80, 4);
    for (std::uint32_t f = 0; f < count; ++f)
        for (int k = 0; k < 3; ++k) {
            float xy[2];
            std::memcpy(xy, bytes.data() + 84 + 50 * f + 12 + 12 * k, 8);
            extents.minX = std::min(extents.minX, xy[0]);
            extents.maxX = std::max(extents.maxX, xy[0]);
            extents.minY = std::min(extents.minY, xy[1]);
            extents.maxY = std::max(extents.maxY, xy[1]);
        }
    return extents;
}

enum class Road { TypedSizes, StoredJob, TypedThenTurned };

struct Case {
    const char* name;
    int pixelWidth, pixelHeight;
    Road road;
    bool keepRatio;
    const char* width;
    const char* height;  // nullptr: follows the width
    float sizeX, sizeY;  // what the page then shows
};

TEST(PlacedSizes, ProgramAndStlFollowTheSizesOnThePage) {
    const Case cases[] = {
        {"30 x 22 typed as 29 x 10, keep-ratio off", 30, 22, Road::TypedSizes, false, "29", "10", 29.0f, 10.0f},
        {"12 x 9 stored as 55 x 20", 12, 9, Road::StoredJob, false, "55", "20", 55.0f, 20.0f},
        {"5 x 24 at width 4, keep-ratio on", 5, 24, Road::TypedSizes, true, "4", nullptr, 4.0f, 19.2f},
        {"30 x 22 at width 29, keep-ratio on", 30, 22, Road::TypedSizes, true, "29", nullptr, 29.0f, 21.2667f},
        // Turned by a quarter: 24 x 5 pixels shown 19.2 x 4.
        {"5 x 24 at width 4, keep-ratio on, turned", 5, 24, Road::TypedThenTurned, true, "4", nullptr, 19.2f, 4.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        WizardRig rig;
        const auto pictureFile = WriteWave(folder, "picture.bmp", c.pixelWidth, c.pixelHeight, 0);
        const bool turned = c.road == Road::TypedThenTurned;
        const int pixelHeight = turned ? c.pixelWidth : c.pixelHeight;
        if (c.road != Road::StoredJob) {
            ASSERT_TRUE(rig.controller->openPicture(pictureFile));
            rig.controller->keepRatioClicked(c.keepRatio);
            rig.controller->widthEdited(c.width);
            if (c.height != nullptr) rig.controller->heightEdited(c.height);
            rig.controller->applySize();
            if (turned) rig.controller->rotate();
            rig.walkToCutting(folder / "job.nc");
        } else {
            JobRecord record;
            record.workWidth = std::stof(c.width);
            record.workHeight = std::stof(c.height);
            record.keepRatio = c.keepRatio;
            record.ncFileName = (folder / "job.nc").string();
            record.postName = rig.controller->post().postName;
            record.tool = rig.controller->tool();
            SaveDocument(folder / "job.pxm", WavePicture(c.pixelWidth, c.pixelHeight, 0), record);
            ASSERT_TRUE(rig.controller->openPicture(folder / "job.pxm"));
            rig.controller->waitForWork();
        }
        const ImageInfo& info = rig.controller->placement().info();
        ASSERT_NEAR(info.SizeX, c.sizeX, 1e-3);
        ASSERT_NEAR(info.SizeY, c.sizeY, 1e-3);
        ASSERT_EQ(info.X0, 0.0f);
        ASSERT_EQ(info.Y0, 0.0f);
        ASSERT_EQ(rig.controller->page(), page::kCutting);
        rig.compute();
        ASSERT_TRUE(rig.controller->lastFailure().empty()) << rig.controller->lastFailure();

        const double radius = rig.controller->tool().diameter / 2.0;
        const double written = 0.0005;  // the program's three decimals
        const ProgramExtents cut = WrittenExtents(ReadWholeFile(folder / "job.nc"));
        EXPECT_GT(cut.words, 10);
        EXPECT_EQ(cut.unreadable, 0);
        EXPECT_GE(cut.minX, -radius - written);
        EXPECT_LE(cut.maxX, c.sizeX + radius + written);
        EXPECT_GE(cut.minY, -radius - written);
        EXPECT_LE(cut.maxY, c.sizeY + radius + written);
        // The raster covers the relief from edge to edge.
        EXPECT_NEAR(cut.maxY - cut.minY, c.sizeY, c.sizeY / (pixelHeight - 1) + written);

        // The 3D relief as the view draws it.
        const ReliefGrid grid = ReliefGrid::Build(*rig.controller->relief(), rig.job.reliefValues(), {}, 4096);
        EXPECT_EQ(grid.originX(), 0.0f);
        EXPECT_EQ(grid.originY(), 0.0f);
        EXPECT_NEAR(grid.lastPixelX() * double{grid.pixelSize()}, c.sizeX, 1e-3 * c.sizeX);
        const double shownY = grid.lastPixelY() * double{grid.pixelSizeY()};
        EXPECT_LE(shownY, c.sizeY * (1 + 1e-5f));
        EXPECT_GT(shownY, c.sizeY - c.sizeY / (pixelHeight - 1));

        ASSERT_TRUE(rig.controller->exportStl(folder / "job.stl", StlShape::Surface));
        const StlExtents stl = ReadStlExtents(ReadWholeFile(folder / "job.stl"));
        EXPECT_NEAR(stl.minX, 0.0f, 1e-4);
        EXPECT_NEAR(stl.maxX, c.sizeX, 1e-3 * c.sizeX);
        EXPECT_NEAR(stl.minY, 0.0f, 1e-4);
        EXPECT_LE(stl.maxY, c.sizeY * (1 + 1e-5f)) << "the relief reaches past the box";
        EXPECT_GT(stl.maxY, c.sizeY - c.sizeY / (pixelHeight - 1)) << "the relief falls short by a pixel or more";
    }
}

// The Z no-cut level picked in the drawing is the height of the pixel under
// the point, rows counted at their own size.
TEST(PlacedSizes, NoCutLevelIsPickedFromThePixelUnderThePoint) {
    TempFolder folder;
    WizardRig rig;
    ASSERT_TRUE(rig.controller->openPicture(WriteWave(folder, "picture.bmp", 30, 22, 0)));
    rig.controller->keepRatioClicked(false);
    rig.controller->heightEdited("10");
    rig.controller->applySize();
    rig.walkToCutting(folder / "job.nc");
    const auto map = rig.controller->relief();
    ASSERT_TRUE(map);
    ASSERT_NE(map->at(3, 14), map->at(3, 7));
    rig.controller->zncPointPicked(3.0, 14 * 10.0 / 21);  // column 3, row 14
    EXPECT_EQ(rig.controller->zncLevel(), map->at(3, 14));
}

}  // namespace
}  // namespace calvoro::test

namespace calvoro::test {
namespace {

// A crop picked on a picture whose rows are taller than its columns are wide
// keeps the rows under the rectangle: 20 x 11 pixels shown 19 x 20 have
// pixels 1 wide and 2 high.
TEST(PlacedSizes, ACropOnPixelsOfTwoSizesKeepsTheRowsUnderTheRectangle) {
    TempFolder folder;
    WizardRig rig;
    Picture rows;
    rows.allocate(20, 11, PixelFormat::Grey8);
    for (int r = 0; r < rows.height; ++r)
        for (int c = 0; c < rows.width; ++c) rows.row(r)[c] = static_cast<std::uint8_t>(10 * r + c);
    const auto file = folder / "rows.bmp";
    SaveBmpFile(file, rows);
    ASSERT_TRUE(rig.controller->openPicture(file));
    rig.controller->keepRatioClicked(false);
    rig.controller->widthEdited("19");
    rig.controller->heightEdited("20");
    rig.controller->applySize();
    ASSERT_NEAR(rig.controller->placement().info().SizeY, 20.0f, 1e-4);

    // From x 2 to 7 and y 6 to 12 above the picture's lower edge: columns 2
    // to 7, and rows 4 to 7 counted from the top (y 12 is row 10 - 12 / 2).
    rig.controller->modify();
    CutInfo cut;
    cut.X0 = 2;
    cut.Y0 = 12;
    cut.SizeX = 5;
    cut.SizeY = 6;
    cut.PixelWidth = 6;   // 5 / 1 + 1, as the window counts them
    cut.PixelHeight = 4;  // 6 / 2 + 1
    rig.controller->rectanglePicked(cut);
    rig.controller->crop();
    ASSERT_TRUE(rig.fakes.messages.empty()) << rig.fakes.messages.front();

    const Picture& cropped = rig.controller->picture();
    ASSERT_EQ(cropped.width, 6);
    ASSERT_EQ(cropped.height, 4);
    EXPECT_EQ(cropped.row(0)[0], 10 * 4 + 2);
    EXPECT_EQ(cropped.row(3)[5], 10 * 7 + 7);
    EXPECT_NEAR(rig.controller->placement().info().SizeX, 5.0f, 1e-4);
    EXPECT_NEAR(rig.controller->placement().info().SizeY, 6.0f, 1e-4);
}

}  // namespace
}  // namespace calvoro::test

#include "engine/preview/ReliefGrid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace calvoro {
namespace {

constexpr int kNoLimit = 1 << 20;

TEST(SamplingStep, FollowsTheSizeTableAtEveryBoundary) {
    struct Case {
        int lastPixel, coarse, medium;
    };
    for (const Case c : {Case{1, 1, 1},
                         {50, 1, 1},
                         {51, 5, 2},
                         {200, 5, 2},
                         {201, 10, 5},
                         {1500, 10, 5},
                         {1501, 25, 10},
                         {3999, 25, 10}}) {
        SCOPED_TRACE(c.lastPixel);
        EXPECT_EQ(SamplingStep(c.lastPixel, ShadingResolution::Coarse), c.coarse);
        EXPECT_EQ(SamplingStep(c.lastPixel, ShadingResolution::Medium), c.medium);
        EXPECT_EQ(SamplingStep(c.lastPixel, ShadingResolution::Fine), 1);
    }
}

HeightMap Ramp(int width, int height) {
    HeightMap map(width, height);
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y) map.at(x, y) = static_cast<float>(x * 1000 + y);
    return map;
}

TEST(ReliefGrid, CoversEveryCellOnceWithNarrowerLastRowAndColumn) {
    struct Case {
        int width, height;
        ShadingResolution resolution;
        int limit;
    };
    const Case cases[] = {
        {2, 2, ShadingResolution::Coarse, kNoLimit},     {2, 9, ShadingResolution::Fine, kNoLimit},
        {52, 52, ShadingResolution::Coarse, kNoLimit},   // 51 cells at step 5: a 1-cell last quad
        {56, 206, ShadingResolution::Coarse, kNoLimit},  // 55 cells: steps divide evenly in X
        {1001, 61, ShadingResolution::Medium, kNoLimit}, {203, 3, ShadingResolution::Coarse, kNoLimit},
        {301, 77, ShadingResolution::Fine, 40},  // the texture limit widens the step
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        const HeightMap map = Ramp(c.width, c.height);
        const ReliefGrid grid = ReliefGrid::Build(map, ReliefValues{}, {.resolution = c.resolution}, c.limit);
        const int cellsX = c.width - 1;
        const int cellsY = c.height - 1;
        ASSERT_FALSE(grid.empty());
        EXPECT_EQ(grid.lastPixelX(), cellsX);
        EXPECT_EQ(grid.lastPixelY(), cellsY);
        EXPECT_LE(grid.columns(), c.limit);
        EXPECT_LE(grid.rows(), c.limit);
        EXPECT_EQ(grid.quadCount(), static_cast<long long>((cellsX + grid.stepX() - 1) / grid.stepX()) *
                                        ((cellsY + grid.stepY() - 1) / grid.stepY()));

        std::vector<int> covered(static_cast<std::size_t>(cellsX) * cellsY, 0);
        for (int i = 0; i + 1 < grid.columns(); ++i)
            for (int j = 0; j + 1 < grid.rows(); ++j) {
                ASSERT_LT(grid.sampleX(i), grid.sampleX(i + 1));
                ASSERT_LT(grid.sampleY(j), grid.sampleY(j + 1));
                for (int x = grid.sampleX(i); x < grid.sampleX(i + 1); ++x)
                    for (int y = grid.sampleY(j); y < grid.sampleY(j + 1); ++y) ++covered[x * cellsY + y];
            }
        for (int count : covered) ASSERT_EQ(count, 1);

        // Every sample is the map's own value at its pixel.
        for (int i = 0; i < grid.columns(); ++i)
            for (int j = 0; j < grid.rows(); ++j)
                ASSERT_EQ(grid.height(i, j), map.at(grid.sampleX(i), grid.sampleY(j)));
    }
}

TEST(ReliefGrid, PlacesRowsAtTheirOwnPixelSize) {
    ReliefValues values;
    values.PixelSize = 0.5f;
    EXPECT_EQ(ReliefGrid::Build(Ramp(5, 4), values, {}, kNoLimit).pixelSizeY(), 0.5f);
    values.PixelSizeY = 0.2f;
    const ReliefGrid grid = ReliefGrid::Build(Ramp(5, 4), values, {}, kNoLimit);
    EXPECT_EQ(grid.pixelSize(), 0.5f);
    EXPECT_EQ(grid.pixelSizeY(), 0.2f);
}

TEST(ReliefGrid, IsEmptyBelowTwoPixelsOrWithoutASurface) {
    struct Case {
        int width, height;
        SurfaceMode mode;
        bool empty;
    };
    for (const Case c : {Case{0, 0, SurfaceMode::Shade, true},
                         {1, 40, SurfaceMode::Shade, true},
                         {40, 1, SurfaceMode::Wire, true},
                         {40, 40, SurfaceMode::None, true},
                         {2, 2, SurfaceMode::Wire, false}}) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        const ReliefGrid grid = ReliefGrid::Build(Ramp(c.width, c.height), ReliefValues{}, {.mode = c.mode}, kNoLimit);
        EXPECT_EQ(grid.empty(), c.empty);
        EXPECT_EQ(grid.quadCount(), c.empty ? 0 : 1);
    }
}

TEST(ReliefGrid, LeavesQuadsOpenOnlyWhereTheNoCutZoneIsOn) {
    // Alternate columns at the no-cut level 0 and well below it.
    HeightMap map(9, 5);
    for (int x = 0; x < 9; ++x)
        for (int y = 0; y < 5; ++y) map.at(x, y) = x % 2 ? 0.2f : -3.0f;
    struct Case {
        bool zone;
        float tolerance;
        int open;
    };
    for (const Case c : {Case{true, 0.5f, 4 * 4}, {true, 0.1f, 0}, {true, 100.0f, 32}, {false, 1e9f, 0}}) {
        SCOPED_TRACE(c.tolerance);
        const ReliefDrawing drawing{.noCutZone = c.zone, .noCutLevel = 0.0f, .noCutTolerance = c.tolerance};
        const ReliefGrid grid = ReliefGrid::Build(map, ReliefValues{}, drawing, kNoLimit);
        int open = 0;
        for (int i = 0; i + 1 < grid.columns(); ++i)
            for (int j = 0; j + 1 < grid.rows(); ++j) {
                const bool nearLevel = std::fabs(grid.height(i + 1, j + 1)) <= c.tolerance;
                EXPECT_EQ(grid.quadVisible(i, j), !(c.zone && nearLevel));
                open += !grid.quadVisible(i, j);
            }
        EXPECT_EQ(open, c.open);
    }
}

TEST(ColourRamp, GoesFromBlackToWhiteDepthWithoutNaN) {
    struct Case {
        float blackZ, whiteZ, z, grey;
    };
    // Rows with black above white and with both at one depth.
    for (const Case c : {Case{-5, 0, -5, 0},
                         {-5, 0, 0, 1},
                         {-5, 0, -2.5f, 0.5f},
                         {-5, 0, 3, 1},
                         {-5, 0, -9, 0},
                         {0, -5, 0, 0},
                         {0, -5, -5, 1},
                         {-2, -2, -2, 1},
                         {-2, -2, 7, 1},
                         {-2, -2, NAN, 0}}) {
        SCOPED_TRACE(std::to_string(c.blackZ) + " " + std::to_string(c.whiteZ) + " " + std::to_string(c.z));
        ReliefValues values;
        values.setBlackZ(c.blackZ);
        values.setWhiteZ(c.whiteZ);
        const float grey = ColourRamp::FromValues(values).grey(c.z);
        EXPECT_FALSE(std::isnan(grey));
        EXPECT_NEAR(grey, c.grey, 1e-6f);
    }
}

TEST(ParseNoCutTolerance, ReadsTypedNumbersAndRefusesTheRest) {
    for (const auto& [text, value] :
         {std::pair<const char*, float>{"0.5", 0.5f}, {" 2. ", 2.0f}, {"0", 0.0f}, {"1e-2", 0.01f}})
        EXPECT_EQ(ParseNoCutTolerance(text), value) << text;
    for (const char* refused : {"", "  ", "abc", "-1", "1,5", ".", "1..", "nan", "inf", "3 4"})
        EXPECT_EQ(ParseNoCutTolerance(refused), std::nullopt) << refused;
}

}  // namespace
}  // namespace calvoro

// The raster lines: the evened step over, a zig-zag that covers the picture
// and stays inside it, the rows and edge links of the 101 x 101 example, and
// the no-cut zone splitting lines into cutting stretches.
#include "engine/toolpath/RasterPaths.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/support/HeightMaps.h"

namespace calvoro {
namespace {

using test::MakeCutter;

struct Job {
    double stepOver;
    bool alongX = true, alongY = false;
    float pixelSize = 1.0f;
    bool zNoCut = false;
    float zNoCutZ = 0.0f;
};

RasterPaths Build(const GougeFreeDepth& depth, const Job& job) {
    CuttingParameters p;
    p.stepOver = job.stepOver;
    p.rasterAlongX = job.alongX;
    p.rasterAlongY = job.alongY;
    p.zNoCutActive = job.zNoCut;
    p.zNoCutZ = job.zNoCutZ;
    p.zNoCutTolerance = 0.01f;
    ReliefPlacement placement;
    placement.pixelSize = job.pixelSize;
    return BuildRasterPaths(depth, p, placement, 3, nullptr);
}

// Every point is a cell of the map at the depth over that cell, lifted or not;
// lines alternate in direction, edge links join each line to the next along
// the edge, and the last line lies on the far edge.
TEST(RasterPathsTest, ZigZagCoversThePictureAndStaysInsideIt) {
    const std::tuple<int, int, Job> jobs[] = {
        {101, 101, {3.0}},                  // the evening example: lines 0..34
        {40, 25, {2.0, true, true}},        // both directions, X lines first
        {61, 9, {0.6}},                     // wide picture, step over below a pixel
        {9, 61, {0.6, false, true}},        // the same along Y
        {30, 20, {1.3, true, true, 0.5f}},  // step over not a whole number of pixels
        {2, 2, {1.0, true, true}},          // the smallest picture
    };
    for (const auto& [width, height, job] : jobs) {
        SCOPED_TRACE(testing::Message() << width << "x" << height << " step " << job.stepOver);
        const HeightMap map = test::MakeRelief(test::ReliefKind::Smooth, width, height);
        const GougeFreeDepth depth(map, CutterProfile::FromTool(MakeCutter(ToolType::Spherical, 3.0), 0),
                                   job.pixelSize);
        const RasterPaths paths = Build(depth, job);
        const int lastX = width - 1, lastY = height - 1;
        int lines = 0;
        bool yLinesStarted = false;
        for (std::size_t j = 0; j < paths.polylines.size(); ++j) {
            const RasterPolyline& line = paths.polylines[j];
            ASSERT_GE(line.size(), 2u);
            for (const RasterPoint& p : line) {
                ASSERT_TRUE(p.cellX >= 0 && p.cellX <= lastX && p.cellY >= 0 && p.cellY <= lastY);
                ASSERT_EQ(p.tipZ, depth.tipZ(p.cellX, p.cellY));
                ASSERT_GE(p.z, p.tipZ);
            }
            const RasterPoint& a = line.front();
            const RasterPoint& b = line.back();
            const bool xLine = a.cellY == b.cellY && std::abs(a.cellX - b.cellX) == lastX;
            const bool yLine = a.cellX == b.cellX && std::abs(a.cellY - b.cellY) == lastY && !xLine;
            if (yLine && !yLinesStarted) {
                lines = 0;  // the Y raster starts its own count
                yLinesStarted = true;
            }
            if ((xLine && !yLinesStarted) || yLine) {
                // Forward on even lines, backward on odd ones.
                EXPECT_EQ(yLine ? a.cellY : a.cellX, lines % 2 ? (yLine ? lastY : lastX) : 0) << "line " << lines;
                ++lines;
            } else {
                ASSERT_TRUE(a.cellX == b.cellX || a.cellY == b.cellY);  // an edge link
            }
            // Each polyline starts on the cell after (or at) the end of the one
            // before, unless a new raster direction begins.
            if (j == 0) continue;
            const RasterPoint& end = paths.polylines[j - 1].back();
            if (std::abs(end.cellX - a.cellX) + std::abs(end.cellY - a.cellY) > 1) {
                EXPECT_TRUE(job.alongX && job.alongY) << "a gap before polyline " << j;
                EXPECT_TRUE(a.cellX == 0 && a.cellY == 0);
            }
        }
        EXPECT_GT(lines, 0);
        if (job.alongX && !job.alongY) {
            EXPECT_EQ(lines, EvenStepOver(height, job.pixelSize, job.stepOver).lineCount + 1);
            EXPECT_EQ(paths.polylines.back().front().cellY, lastY) << "the last line lies on the far edge";
        }
    }
}

}  // namespace
}  // namespace calvoro

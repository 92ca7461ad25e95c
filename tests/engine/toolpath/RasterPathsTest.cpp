// The raster lines: the evened step over, a zig-zag that covers the picture
// and stays inside it, the rows and edge links of the 101 x 101 example, and
// the no-cut zone splitting lines into cutting stretches.
#include "engine/toolpath/RasterPaths.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/engine/toolpath/TestReliefs.h"

namespace calvoro {
namespace {

using test::MakeCutter;

TEST(StepOverEveningTest, LinesEndOnTheFarEdge) {
    struct Case {
        int cells;
        double pixelSize, stepOver;
        int lineCount;
        double spacing;
    } cases[] = {
        {101, 1.0, 3.0, 34, 100.0 / 34},  // 33 steps of 3 fall short: one more, evened
        {101, 1.0, 500.0, 1, 100.0},      // larger than the picture: cut to it
        {11, 1.0, 2.5, 4, 2.5},           // fits exactly
        {11, 1.0, 0.5, 20, 0.5},          // below a pixel: rows repeat
        {2000, 0.05, 0.3, 334, 99.95 / 334},
    };
    for (const Case& c : cases) {
        const StepOverEvening e = EvenStepOver(c.cells, c.pixelSize, c.stepOver);
        EXPECT_EQ(e.lineCount, c.lineCount) << c.cells << " " << c.stepOver;
        EXPECT_DOUBLE_EQ(e.spacing, c.spacing) << c.cells << " " << c.stepOver;
    }
}

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

TEST(RasterPathsTest, TheEveningExampleRowsAndLinks) {
    // 101 x 101, step over 3: lines i = 0..34 at rows Round(i * 100 / 34).
    const HeightMap map(101, 101, -1.0f);
    const GougeFreeDepth depth(map, CutterProfile::FromTool(MakeCutter(ToolType::Flat, 2.0), 0), 1.0);
    const RasterPaths paths = Build(depth, {3.0});
    std::vector<int> rows;
    for (const RasterPolyline& line : paths.polylines)
        if (line.front().cellY == line.back().cellY && line.size() == 101) rows.push_back(line.front().cellY);
    ASSERT_EQ(rows.size(), 35u);
    EXPECT_EQ(rows[1], 3);    // 2.94
    EXPECT_EQ(rows[17], 50);  // 50.0
    EXPECT_EQ(rows[33], 97);  // 97.06
    EXPECT_EQ(rows[34], 100);
    // Lines 0 and 1 are rows 0 and 3: the link along the last column holds
    // rows 1..3, then the backward line starts on row 3 again.
    ASSERT_GE(paths.polylines.size(), 3u);
    const RasterPolyline& link = paths.polylines[1];
    ASSERT_EQ(link.size(), 3u);
    EXPECT_EQ(link.front().cellX, 100);
    EXPECT_EQ(link.front().cellY, 1);
    EXPECT_EQ(link.back().cellY, 3);
    EXPECT_DOUBLE_EQ(paths.spacingY, 100.0 / 34);
}

// With the no-cut zone on, each cutting stretch of a line is one polyline
// that starts at the last no-cut point before it and ends at the first one
// after it; nothing links the lines. A line that starts inside a stretch
// starts a polyline at once.
TEST(RasterPathsTest, NoCutZoneSplitsLinesIntoCuttingStretches) {
    const CutterProfile profile = CutterProfile::FromTool(MakeCutter(ToolType::Flat, 0.5), 0);
    // Two raised bands across every row, columns 4..6 and 12..13; lines at
    // rows 0, 3, 6 with two stretches each.
    HeightMap bands(20, 7, -2.0f);
    for (int y = 0; y < 7; ++y)
        for (int x : {4, 5, 6, 12, 13}) bands.at(x, y) = x < 10 ? -1.0f : -0.5f;
    HeightMap edge(8, 2, -1.0f);
    edge.at(0, 0) = edge.at(1, 0) = edge.at(0, 1) = edge.at(1, 1) = 0.0f;
    const std::tuple<const HeightMap*, Job, std::vector<std::pair<int, int>>> cases[] = {
        {&bands, {3.0, true, false, 1.0f, true, -2.0f}, {{3, 7}, {11, 14}, {14, 11}, {7, 3}, {3, 7}, {11, 14}}},
        {&edge, {1.0, true, false, 1.0f, true, -1.0f}, {{0, 2}, {2, 0}}}};
    for (const auto& [map, job, stretches] : cases) {
        const RasterPaths paths = Build(GougeFreeDepth(*map, profile, 1.0), job);
        std::vector<std::pair<int, int>> found;
        for (const RasterPolyline& line : paths.polylines) found.emplace_back(line.front().cellX, line.back().cellX);
        EXPECT_EQ(found, stretches);
    }
}

}  // namespace
}  // namespace calvoro

#include "engine/toolpath/RasterPaths.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/engine/toolpath/TestReliefs.h"

namespace calvoro {
namespace {

using test::MakeCutter;
using test::MakeRelief;
using test::ReliefKind;

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
    int width, height;
    float pixelSize;
    double stepOver;
    bool alongX, alongY;
};

RasterPaths Build(const Job& job, const GougeFreeDepth& depth, bool zNoCut = false, float zNoCutZ = 0,
                  float tolerance = 0) {
    CuttingParameters p;
    p.stepOver = job.stepOver;
    p.rasterAlongX = job.alongX;
    p.rasterAlongY = job.alongY;
    p.zNoCutActive = zNoCut;
    p.zNoCutZ = zNoCutZ;
    p.zNoCutTolerance = tolerance;
    ReliefPlacement placement;
    placement.pixelSize = job.pixelSize;
    return BuildRasterPaths(depth, p, placement, 3, nullptr);
}

// Every point is a cell of the map, its tip Z is the depth over that cell,
// the lines alternate in direction, the edge links join each line to the
// next along the edge and the last line lies on the far edge.
TEST(RasterPathsTest, ZigZagCoversThePictureAndStaysInsideIt) {
    const Job jobs[] = {
        {101, 101, 1.0f, 3.0, true, false},  // the evening example: lines 0..34
        {40, 25, 1.0f, 2.0, true, true},     // both directions, X lines first
        {61, 9, 1.0f, 0.6, true, false},     // wide picture, step over below a pixel
        {9, 61, 1.0f, 0.6, false, true},     // the same along Y
        {30, 20, 0.5f, 1.3, true, true},     // step over not a whole number of pixels
        {5, 3, 1.0f, 100.0, true, true},     // step over beyond the picture: two lines
        {2, 2, 1.0f, 1.0, true, true},       // the smallest picture
    };
    for (const Job& job : jobs) {
        SCOPED_TRACE(testing::Message() << job.width << "x" << job.height << " step " << job.stepOver);
        const HeightMap map = MakeRelief(ReliefKind::Smooth, job.width, job.height);
        const CutterProfile profile = CutterProfile::FromTool(MakeCutter(ToolType::Spherical, 3.0), 0);
        const GougeFreeDepth depth(map, profile, job.pixelSize);
        const RasterPaths paths = Build(job, depth);
        const int lastX = job.width - 1, lastY = job.height - 1;

        int lines = 0;
        bool yLinesStarted = false;
        for (const RasterPolyline& line : paths.polylines) {
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
            if (xLine && !yLinesStarted) {
                // Forward on even lines, backward on odd ones.
                EXPECT_EQ(a.cellX, lines % 2 ? lastX : 0);
                ++lines;
            } else if (yLine) {
                if (!yLinesStarted) lines = 0;
                yLinesStarted = true;
                EXPECT_EQ(a.cellY, lines % 2 ? lastY : 0);
                ++lines;
            } else {
                // An edge link: one cell after the previous line, along the
                // edge where that line ended, up to the next line.
                ASSERT_TRUE(a.cellX == b.cellX || a.cellY == b.cellY);
                ASSERT_GE(line.size(), 2u);
            }
        }
        EXPECT_GT(lines, 0);
        if (job.alongX && !job.alongY) {
            const StepOverEvening e = EvenStepOver(job.height, job.pixelSize, job.stepOver);
            EXPECT_EQ(lines, e.lineCount + 1);
            EXPECT_EQ(paths.polylines.back().front().cellY, lastY) << "the last line lies on the far edge";
        }
        // Consecutive polylines meet: each starts on the cell after (or at)
        // the end of the one before, unless a new raster direction begins.
        for (std::size_t j = 1; j < paths.polylines.size(); ++j) {
            const RasterPoint& end = paths.polylines[j - 1].back();
            const RasterPoint& start = paths.polylines[j].front();
            const int gap = std::abs(end.cellX - start.cellX) + std::abs(end.cellY - start.cellY);
            if (gap > 1) {
                EXPECT_TRUE(job.alongX && job.alongY) << "a gap of " << gap << " before polyline " << j;
                EXPECT_EQ(start.cellX, 0);
                EXPECT_EQ(start.cellY, 0);
            }
        }
    }
}

TEST(RasterPathsTest, TheEveningExampleRowsAndLinks) {
    // 101 x 101, step over 3: lines i = 0..34 at rows Round(i * 100 / 34).
    const HeightMap map(101, 101, -1.0f);
    const CutterProfile profile = CutterProfile::FromTool(MakeCutter(ToolType::Flat, 2.0), 0);
    const GougeFreeDepth depth(map, profile, 1.0);
    const RasterPaths paths = Build({101, 101, 1.0f, 3.0, true, false}, depth);
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
// after it; nothing links the lines.
TEST(RasterPathsTest, NoCutZoneSplitsLinesIntoCuttingStretches) {
    HeightMap map(20, 7, -2.0f);
    // Two raised bands across every row: columns 4..6 and 12..13.
    for (int y = 0; y < 7; ++y) {
        for (int x = 4; x <= 6; ++x) map.at(x, y) = -1.0f;
        for (int x = 12; x <= 13; ++x) map.at(x, y) = -0.5f;
    }
    const CutterProfile profile = CutterProfile::FromTool(MakeCutter(ToolType::Flat, 0.5), 0);
    const GougeFreeDepth depth(map, profile, 1.0);
    const RasterPaths paths = Build({20, 7, 1.0f, 3.0, true, false}, depth, true, -2.0f, 0.01f);
    // Lines at rows 0, 3, 6; two stretches each.
    ASSERT_EQ(paths.polylines.size(), 6u);
    const int expected[6][2] = {{3, 7}, {11, 14}, {14, 11}, {7, 3}, {3, 7}, {11, 14}};
    for (std::size_t j = 0; j < 6; ++j) {
        EXPECT_EQ(paths.polylines[j].front().cellX, expected[j][0]) << j;
        EXPECT_EQ(paths.polylines[j].back().cellX, expected[j][1]) << j;
    }
    // A line that starts inside a cutting stretch starts a polyline at once.
    HeightMap edge(8, 2, -1.0f);
    edge.at(0, 0) = edge.at(1, 0) = edge.at(0, 1) = edge.at(1, 1) = 0.0f;
    const GougeFreeDepth edgeDepth(edge, profile, 1.0);
    const RasterPaths edged = Build({8, 2, 1.0f, 1.0, true, false}, edgeDepth, true, -1.0f, 0.01f);
    ASSERT_EQ(edged.polylines.size(), 2u);
    EXPECT_EQ(edged.polylines[0].front().cellX, 0);
    EXPECT_EQ(edged.polylines[0].back().cellX, 2);
    EXPECT_EQ(edged.polylines[1].front().cellX, 2);  // the backward line ends in the stretch
    EXPECT_EQ(edged.polylines[1].back().cellX, 0);
}

}  // namespace
}  // namespace calvoro

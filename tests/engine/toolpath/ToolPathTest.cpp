// Tool paths: cutter profiles and their refusals, the gouge-free tip Z
// against the cell-by-cell demand, polyline reduction within its tolerance,
// raster lines that cover the picture, cancelling the work, and whole paths
// that never cut the relief and do not depend on the thread count.
#include "engine/toolpath/CutterProfile.h"
#include "engine/toolpath/GougeFreeDepth.h"
#include "engine/toolpath/PolylineReduction.h"
#include "engine/toolpath/RasterPaths.h"
#include "engine/toolpath/TaskControl.h"
#include "engine/toolpath/ToolPath.h"
#include "tests/support/HeightMaps.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <vector>

namespace calvoro {
namespace {

using test::Cutter;
using test::MakeCutter;
using test::MakeRelief;
using test::ReliefKind;

TEST(CutterProfileTest, RefusesCuttersThatCannotMachineARelief) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char* what;
        ToolRecord tool;
        double stock;
        const char* message;
    } cases[] = {
        {"drill", Cutter(ToolType::Drill, 3), 0, "cannot machine a relief"},
        {"undefined", Cutter(ToolType::Undefined, 3), 0, "cannot machine a relief"},
        {"zero diameter", Cutter(ToolType::Flat, 0), 0, "diameter"},
        {"negative diameter", Cutter(ToolType::Spherical, -2), 0, "diameter"},
        {"diameter not a number", Cutter(ToolType::Flat, nan), 0, "diameter"},
        {"infinite diameter", Cutter(ToolType::Flat, std::numeric_limits<float>::infinity()), 0, "diameter"},
        {"corner above the radius", Cutter(ToolType::BullNose, 4, 2.01f), 0, "corner radius"},
        {"negative corner", Cutter(ToolType::BullNose, 4, -0.1f), 0, "corner radius"},
        {"taper 0", Cutter(ToolType::ConicalFlat, 4, 0, 0, 1), 0, "taper angle"},
        {"taper 90", Cutter(ToolType::ConicalSpherical, 4, 0, 90, 1), 0, "taper angle"},
        {"taper 120", Cutter(ToolType::ConicalFlat, 4, 0, 120, 1), 0, "taper angle"},
        {"taper not a number", Cutter(ToolType::ConicalFlat, 4, 0, nan, 1), 0, "taper angle"},
        {"tip above the diameter", Cutter(ToolType::ConicalFlat, 4, 0, 30, 4.5f), 0, "tip diameter"},
        {"negative tip", Cutter(ToolType::ConicalSpherical, 4, 0, 30, -1), 0, "tip diameter"},
        {"negative stock", Cutter(ToolType::Flat, 4), -0.1, "stock"},
    };
    for (const Case& c : cases) {
        const std::string message = test::MessageOf<ToolPathError>([&] { CutterProfile::FromTool(c.tool, c.stock); });
        EXPECT_NE(message.find(c.message), std::string::npos) << c.what << ": " << message;
    }
}

TEST(CutterProfileTest, HeightsOfEachShapeByHand) {
    const double sqrt2 = std::sqrt(2.0);
    struct Case {
        const char* what;
        ToolRecord tool;
        double stock, rho, expected;
    } cases[] = {
        {"flat anywhere", Cutter(ToolType::Flat, 6), 0, 2.9, 0.0},
        {"ball centre", Cutter(ToolType::Spherical, 8), 0, 0, 0.0},
        {"ball at 3 of 4", Cutter(ToolType::Spherical, 8), 0, 3, 4 - std::sqrt(7.0)},
        {"ball rim", Cutter(ToolType::Spherical, 8), 0, 4, 4.0},
        {"ball grown by stock", Cutter(ToolType::Spherical, 6), 1, 3, 4 - std::sqrt(7.0)},
        {"bull-nose flat part", Cutter(ToolType::BullNose, 8, 1), 0, 3, 0.0},
        {"bull-nose corner", Cutter(ToolType::BullNose, 8, 1), 0, 3.5, 1 - std::sqrt(0.75)},
        {"bull-nose rim", Cutter(ToolType::BullNose, 8, 1), 0, 4, 1.0},
        {"bull-nose flat grows by stock", Cutter(ToolType::BullNose, 8, 1), 0.5, 3.5, 0.0},
        {"v-bit 45 point", Cutter(ToolType::ConicalFlat, 8, 0, 45, 0), 0, 3, 3.0},
        {"v-bit 30 with tip", Cutter(ToolType::ConicalFlat, 8, 0, 30, 2), 0, 3, 2 * std::sqrt(3.0)},
        {"v-bit tip grows by stock", Cutter(ToolType::ConicalFlat, 8, 0, 30, 2), 0.5, 1.5, 0.0},
        {"tapered ball on its tip", Cutter(ToolType::ConicalSpherical, 8, 0, 45, 2), 0, 0.5, 1 - std::sqrt(0.75)},
        {"tapered ball on its cone", Cutter(ToolType::ConicalSpherical, 8, 0, 45, 2), 0, 3,
         (1 - std::sqrt(0.5)) + (3 - 1 / sqrt2)},
        {"sharp cone", Cutter(ToolType::ConicalSpherical, 8, 0, 45, 0), 0, 2, 2.0},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(CutterProfile::FromTool(c.tool, c.stock).height(c.rho), c.expected, 1e-12) << c.what;
}

// The tip Z the cutter over cell (x, y) needs, from the profile alone: the
// largest demand of any cell, each rounded up to float.
float Demanded(const HeightMap& map, const CutterProfile& profile, double pixelSize, int x, int y) {
    const int reach = static_cast<int>(profile.outerRadius() / pixelSize) + 2;
    float best = -std::numeric_limits<float>::infinity();
    for (int kx = x - reach; kx <= x + reach; ++kx)
        for (int ky = y - reach; ky <= y + reach; ++ky) {
            const double demand = test::TipDemand(map, profile, pixelSize, x, y, kx, ky);
            auto rounded = static_cast<float>(demand);
            if (static_cast<double>(rounded) < demand)
                rounded = std::nextafter(rounded, std::numeric_limits<float>::infinity());
            best = std::max(best, rounded);
        }
    return best;
}

// For every shape on smooth, blocky, one-pixel-spike, negative, constant and
// walled reliefs, with cutters below a pixel, fractional radii and pixel
// sizes, stock, and cutters larger than the picture (which see its edges
// repeated): the tip is exactly the cell-by-cell demand, so it touches the
// relief and never cuts it, and runs along both axes and the brute-force
// search give the same bits.
TEST(GougeFreeDepthTest, TipIsTheExactDemandAndEverySearchAgrees) {
    struct CutterCase {
        double diameter, pixelSize, stock;
    };
    const CutterCase cutters[] = {
        {0.7, 1.0, 0.0}, {3.3, 1.0, 0.4}, {7.9, 0.37, 0.0}, {13.0, 1.0, 0.25}, {40.0, 1.6, 0.3}};
    for (ReliefKind relief : test::kAllReliefs) {
        const HeightMap map = MakeRelief(relief, 23, 17, 7);
        for (ToolType type : test::kMachiningShapes)
            for (const auto& [diameter, pixelSize, stock] : cutters) {
                SCOPED_TRACE(testing::Message() << ToolTypeName(type) << " d=" << diameter << " ps=" << pixelSize
                                                << " S=" << stock << " on " << test::ReliefName(relief));
                const CutterProfile profile = CutterProfile::FromTool(MakeCutter(type, diameter), stock);
                const GougeFreeDepth depth(map, profile, pixelSize);
                std::vector<float> along(map.width());
                for (int y = 0; y < map.height(); ++y) {
                    const int start = y % 5;
                    depth.tipZRun(start, y, true, map.width() - start, along.data());
                    for (int x = start; x < map.width(); ++x)
                        ASSERT_EQ(along[x - start], depth.tipZ(x, y)) << x << "," << y;
                }
                std::vector<float> across(map.height());
                for (int x = 0; x < map.width(); ++x) {
                    const int count = map.height() - x % 7;
                    depth.tipZRun(x, 0, false, count, across.data());
                    for (int y = 0; y < count; ++y) ASSERT_EQ(across[y], depth.tipZ(x, y)) << x << "," << y;
                }
                for (int x = 0; x < map.width(); ++x)
                    for (int y = 0; y < map.height(); ++y) {
                        const float tip = depth.tipZ(x, y);
                        ASSERT_TRUE(std::isfinite(tip));
                        ASSERT_EQ(tip, Demanded(map, profile, pixelSize, x, y)) << x << "," << y;
                        ASSERT_EQ(depth.tipZBruteForce(x, y), tip) << x << "," << y;
                    }
            }
    }
}

// Block maxima built in bands on several threads, for maps whose sides are
// no multiple of any block or band (down to a single row or column): every
// tip is still the brute-force one.
TEST(GougeFreeDepthTest, BlockMaximaOnEveryCoreGiveTheSameTips) {
    const std::pair<int, int> sizes[] = {{1, 1}, {1, 150}, {150, 1}, {257, 3}, {3, 257}, {131, 133}};
    const CutterProfile profile = CutterProfile::FromTool(MakeCutter(ToolType::BullNose, 2.1), 0.05);
    for (const auto& [width, height] : sizes) {
        SCOPED_TRACE(testing::Message() << width << " x " << height);
        const HeightMap map = MakeRelief(ReliefKind::Spikes, width, height, 5);
        const GougeFreeDepth serial(map, profile, 0.1);
        const GougeFreeDepth parallel(map, profile, 0.1, 0.0, 6);
        for (int x = 0; x < width; ++x)
            for (int y = 0; y < height; ++y) {
                const float expected = serial.tipZBruteForce(x, y);
                ASSERT_EQ(serial.tipZ(x, y), expected) << x << "," << y;
                ASSERT_EQ(parallel.tipZ(x, y), expected) << x << "," << y;
            }
    }
}

// Pixels longer along one axis than the other (a picture placed at sizes
// that do not keep its proportions), for every shape on every relief: the tip
// lies on or above every cell's demand at its true distance and above it by
// no more than a cell a hair beyond the rim asks, and runs along both axes
// and the brute-force search give the same bits.
TEST(GougeFreeDepthTest, OblongPixelsNeverCutAndEverySearchAgrees) {
    struct CellCase {
        double diameter, sizeX, sizeY, stock;
    };
    const CellCase cells[] = {{3.3, 1.0, 0.4, 0.0},
                              {2.9, 0.37, 1.1, 0.2},
                              {7.9, 0.5, 0.21, 0.0},
                              {40.0, 1.6, 2.9, 0.3},
                              {1.3, 1.0, 1.0000001, 0}};
    for (ReliefKind relief : test::kAllReliefs) {
        const HeightMap map = MakeRelief(relief, 23, 17, 7);
        for (ToolType type : test::kMachiningShapes)
            for (const auto& [diameter, sizeX, sizeY, stock] : cells) {
                SCOPED_TRACE(testing::Message()
                             << ToolTypeName(type) << " d=" << diameter << " cells " << sizeX << " x " << sizeY
                             << " S=" << stock << " on " << test::ReliefName(relief));
                const CutterProfile profile = CutterProfile::FromTool(MakeCutter(type, diameter), stock);
                const GougeFreeDepth depth(map, profile, CellSizes{sizeX, sizeY});
                std::vector<float> along(map.width());
                for (int y = 0; y < map.height(); ++y) {
                    depth.tipZRun(0, y, true, map.width(), along.data());
                    for (int x = 0; x < map.width(); ++x) ASSERT_EQ(along[x], depth.tipZ(x, y)) << x << "," << y;
                }
                std::vector<float> across(map.height());
                for (int x = 0; x < map.width(); ++x) {
                    depth.tipZRun(x, 0, false, map.height(), across.data());
                    for (int y = 0; y < map.height(); ++y) ASSERT_EQ(across[y], depth.tipZ(x, y)) << x << "," << y;
                }
                const int reach = static_cast<int>(profile.outerRadius() / std::min(sizeX, sizeY)) + 2;
                for (int x = 0; x < map.width(); ++x)
                    for (int y = 0; y < map.height(); ++y) {
                        double strict = -std::numeric_limits<double>::infinity();
                        double slack = strict;
                        for (int kx = x - reach; kx <= x + reach; ++kx)
                            for (int ky = y - reach; ky <= y + reach; ++ky) {
                                strict = std::max(strict, test::TipDemand(map, profile, sizeX, sizeY, x, y, kx, ky));
                                slack =
                                    std::max(slack, test::TipDemand(map, profile, sizeX, sizeY, x, y, kx, ky, 1e-5));
                            }
                        const float tip = depth.tipZ(x, y);
                        ASSERT_GE(tip, strict) << x << "," << y;
                        ASSERT_LE(tip, slack + 1e-6 * (1 + std::fabs(slack))) << x << "," << y;
                        ASSERT_EQ(depth.tipZBruteForce(x, y), tip) << x << "," << y;
                    }
            }
    }
}

TEST(GougeFreeDepthTest, DepthsByHand) {
    // A flat relief at -1 with one cell at +2; the cutter stands at (10, 10)
    // and the high cell at offset (dx, dy).
    struct Case {
        const char* what;
        ToolRecord tool;
        double stock, pixelSize;
        int dx, dy;
        double expected;
    } cases[] = {
        {"flat relief, flat cutter", Cutter(ToolType::Flat, 6), 0, 1, 20, 20, -1.0},
        {"flat relief, ball with stock", Cutter(ToolType::Spherical, 6), 0.5, 1, 20, 20, -0.5},
        {"flat cutter, cell on its rim", Cutter(ToolType::Flat, 6), 0, 1, 3, 0, 2.0},
        {"flat cutter, cell just outside", Cutter(ToolType::Flat, 6), 0, 1, 3, 1, -1.0},
        {"flat cutter inside its disc", Cutter(ToolType::Flat, 6), 0, 1, 1, -1, 2.0},
        {"stock widens the footprint", Cutter(ToolType::Flat, 6), 0.5, 1, 3, 1, 2.5},
        {"ball radius 3, cell at 3", Cutter(ToolType::Spherical, 6), 0, 1, 0, 3, -1.0},  // 2 - 3 < -1
        {"ball radius 4, cell at 3", Cutter(ToolType::Spherical, 8), 0, 1, 0, -3, 2 - (4 - std::sqrt(7.0))},
        {"ball in half pixels", Cutter(ToolType::Spherical, 8), 0, 0.5, 6, 0, 2 - (4 - std::sqrt(7.0))},
        {"ball grown by stock", Cutter(ToolType::Spherical, 6), 1, 1, 3, 0, 2 - (4 - std::sqrt(7.0)) + 1},
        {"bull-nose corner", Cutter(ToolType::BullNose, 8, 1), 0, 1, 3, 2,
         2 - (1 - std::sqrt(1 - (std::sqrt(13.0) - 3) * (std::sqrt(13.0) - 3)))},
        {"v-bit 45", Cutter(ToolType::ConicalFlat, 8, 0, 45, 0), 0, 1, 3, 0, -1.0},  // 2 - 3
        {"v-bit 45, cell at 2", Cutter(ToolType::ConicalFlat, 8, 0, 45, 0), 0, 1, -2, 0, 0.0},
        {"tapered ball", Cutter(ToolType::ConicalSpherical, 8, 0, 45, 2), 0, 1, 0, 2,
         2 - ((1 - std::sqrt(0.5)) + (2 - std::sqrt(0.5)))},
    };
    for (const Case& c : cases) {
        HeightMap map(21, 21, -1.0f);
        if (10 + c.dx < 21 && 10 + c.dy < 21) map.at(10 + c.dx, 10 + c.dy) = 2.0f;
        const GougeFreeDepth depth(map, CutterProfile::FromTool(c.tool, c.stock), c.pixelSize);
        const float tip = depth.tipZ(10, 10);
        EXPECT_NEAR(tip, c.expected, 1e-6) << c.what;
        EXPECT_GE(static_cast<double>(tip), c.expected - 1e-12) << c.what << ": rounded below the exact depth";
    }
}

// Squared distance from p to its nearest point of the segment a-b: a, its
// projection, or b.
double SegmentDistance2(const PathPoint& p, const PathPoint& a, const PathPoint& b) {
    const double ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
    const double wx = p.x - a.x, wy = p.y - a.y, wz = p.z - a.z;
    const double along = wx * ux + wy * uy + wz * uz;
    const double length2 = ux * ux + uy * uy + uz * uz;
    PathPoint r = along > length2 ? b : a;
    if (along > 0 && along <= length2) {
        r = {a.x + along / length2 * ux, a.y + along / length2 * uy, a.z + along / length2 * uz};
    }
    return (p.x - r.x) * (p.x - r.x) + (p.y - r.y) * (p.y - r.y) + (p.z - r.z) * (p.z - r.z);
}

// The reduction written the plain recursive way, the reference the heap-stack
// version must match bit for bit.
void RecursiveStep(const PathPolyline& p, std::size_t first, std::size_t last, double tol2, std::vector<bool>& keep) {
    double best = 0;
    std::size_t index = 0;
    for (std::size_t i = first + 1; i < last; ++i) {
        const double d = SegmentDistance2(p[i], p[first], p[last]);
        if (d > best) {
            best = d;
            index = i;
        }
    }
    if (best <= tol2) return;
    keep[index] = true;
    RecursiveStep(p, first, index, tol2, keep);
    RecursiveStep(p, index, last, tol2, keep);
}

PathPolyline Reference(const PathPolyline& p, double tol) {
    if (p.size() < 2) return {};
    std::vector<bool> keep(p.size(), false);
    keep.front() = keep.back() = true;
    RecursiveStep(p, 0, p.size() - 1, tol * tol, keep);
    PathPolyline out;
    for (std::size_t i = 0; i < p.size(); ++i)
        if (keep[i]) out.push_back(p[i]);
    return out;
}

TEST(PolylineReductionTest, DroppedPointsStayWithinTheToleranceAndTheResultIsStable) {
    std::mt19937 random(3);
    std::normal_distribution<double> step(0.0, 1.0);
    for (int round = 0; round < 200; ++round) {
        PathPolyline line;
        PathPoint p;
        for (int i = 0; i < 2 + round * 3; ++i) {
            p = {p.x + 0.1 + std::abs(step(random)), p.y + 0.3 * step(random), p.z + 0.05 * step(random)};
            if (round % 7 == 0 && i % 5 == 0) line.push_back(p);  // some repeated points
            line.push_back(p);
        }
        const float tolerance = static_cast<float>(0.01 * (round % 50));
        const PathPolyline reduced = ReducePolyline(line, tolerance);
        ASSERT_EQ(reduced, Reference(line, tolerance)) << round;
        ASSERT_GE(reduced.size(), 2u);
        ASSERT_EQ(reduced.front(), line.front());
        ASSERT_EQ(reduced.back(), line.back());
        // Every dropped point lies within the tolerance of the segment
        // between the kept points around it.
        const std::vector<std::uint8_t> keep = DouglasPeuckerKeep(line, tolerance);
        std::size_t previous = 0;
        for (std::size_t i = 1; i < line.size(); ++i) {
            if (!keep[i]) continue;
            for (std::size_t j = previous + 1; j < i; ++j)
                ASSERT_LE(SegmentDistance2(line[j], line[previous], line[i]),
                          static_cast<double>(tolerance) * tolerance)
                    << round << " point " << j;
            previous = i;
        }
        ASSERT_EQ(previous, line.size() - 1);
        ASSERT_EQ(ReducePolyline(reduced, tolerance), reduced) << round;  // reducing again changes nothing
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

TEST(TaskControlTest, ACancelRequestOrAFailureStopsTheWork) {
    TaskControl before;
    before.requestCancel();
    std::atomic<int> started{0};
    EXPECT_THROW(ParallelFor(100, 4, &before, 0, 1, [&](std::size_t) { ++started; }), TaskCancelled);
    EXPECT_EQ(started.load(), 0);
    TaskControl midway;
    const auto cancelAt10 = [&](std::size_t i) {
        if (i == 10) midway.requestCancel();
    };
    EXPECT_THROW(ParallelFor(100000, 4, &midway, 0, 1, cancelAt10), TaskCancelled);
    // The first failure of a piece reaches the caller.
    const auto failAt50 = [](std::size_t i) {
        if (i == 50) throw std::domain_error("bad piece");
    };
    EXPECT_THROW(ParallelFor(1000, 4, nullptr, 0, 1, failAt50), std::domain_error);
}

ToolPathRequest Request(ToolType type = ToolType::Spherical, double diameter = 3.0) {
    ToolPathRequest request;
    request.cutter = MakeCutter(type, diameter);
    request.parameters.stepOver = 2.0;
    request.parameters.feedPlaneZ = 5.0;
    request.parameters.filterTolerance = 0.0f;
    return request;
}

// Samples every move at each quarter of a pixel along its length and counts
// the samples at which the cutter cuts a cell under it; `first` says where.
struct Gouges {
    std::size_t count = 0;
    std::string first;
};
Gouges FindGouges(const HeightMap& map, const CutterProfile& profile, const ReliefPlacement& placement,
                  const std::vector<Move>& moves) {
    Gouges found;
    const double sizeX = placement.pixelSize;
    const double sizeY = placement.cellSizeY();
    const int reach = static_cast<int>(profile.outerRadius() / std::min(sizeX, sizeY)) + 2;
    const auto cell = [&](double work, double offset, double size) {
        const double c = (work - offset) / size;
        EXPECT_NEAR(c, std::nearbyint(c), 1e-3) << "a path point off the cell centres";
        return std::nearbyint(c);
    };
    for (std::size_t m = 1; m < moves.size(); ++m) {
        const Move& a = moves[m - 1];
        const Move& b = moves[m];
        const double ax = cell(a.x, placement.workOffsetX, sizeX), ay = cell(a.y, placement.workOffsetY, sizeY);
        const double bx = cell(b.x, placement.workOffsetX, sizeX), by = cell(b.y, placement.workOffsetY, sizeY);
        const int steps = std::max(1, static_cast<int>(std::ceil(4 * std::hypot(bx - ax, by - ay))));
        for (int s = 0; s <= steps; ++s) {
            const double t = static_cast<double>(s) / steps;
            const double cx = ax + t * (bx - ax), cy = ay + t * (by - ay), z = a.z + t * (b.z - a.z);
            for (int kx = static_cast<int>(cx) - reach; kx <= static_cast<int>(cx) + reach; ++kx)
                for (int ky = static_cast<int>(cy) - reach; ky <= static_cast<int>(cy) + reach; ++ky) {
                    const double demand = test::TipDemand(map, profile, sizeX, sizeY, cx, cy, kx, ky);
                    if (z < demand && found.count++ == 0)
                        found.first = "move " + std::to_string(m) + " at t=" + std::to_string(t) + " cuts cell " +
                                      std::to_string(kx) + "," + std::to_string(ky) + " by " +
                                      std::to_string(demand - z);
                }
        }
    }
    return found;
}

// Unreduced paths on reliefs with one-pixel spikes and steep walls: no move
// cuts any cell anywhere along it, for every shape. The same check on moves
// through the bare tip Zs, without the lift, finds cuts: the reliefs are hard
// enough for it to mean something.
TEST(ToolPathTest, NoMoveCutsTheReliefAnywhereAlongIt) {
    for (ReliefKind relief : {ReliefKind::Spikes, ReliefKind::Walls, ReliefKind::Blocky}) {
        const HeightMap map = MakeRelief(relief, 26, 19, 5);
        for (ToolType type : test::kMachiningShapes)
            for (float stock : {0.0f, 0.3f})
                for (float sizeY : {0.0f, 0.35f, 1.9f}) {  // square, then oblong both ways
                    ToolPathRequest request = Request(type, 4.5);
                    request.placement = {0.8f, -3.5f, 12.25f, sizeY};
                    request.parameters.stockAllowance = stock;
                    request.parameters.stepOver = 1.7;
                    request.parameters.rasterAlongY = true;
                    const ToolPathResult result = ComputeToolPath(map, request);
                    const CutterProfile profile = CutterProfile::FromTool(request.cutter, stock);
                    const Gouges gouges = FindGouges(map, profile, request.placement, result.moves.moves);
                    EXPECT_EQ(gouges.count, 0u)
                        << ToolTypeName(type) << " on " << test::ReliefName(relief) << " cells 0.8 x "
                        << request.placement.cellSizeY() << ": " << gouges.first;
                }
    }
    const HeightMap spikes = MakeRelief(ReliefKind::Spikes, 26, 19, 5);
    const CutterProfile flat = CutterProfile::FromTool(MakeCutter(ToolType::Flat, 4.5), 0);
    CuttingParameters parameters;
    parameters.stepOver = 1.7;
    const ReliefPlacement placement{0.8f};
    const RasterPaths bare = BuildRasterPaths(GougeFreeDepth(spikes, flat, 0.8), parameters, placement, 1, nullptr);
    std::size_t bareCuts = 0;
    for (const RasterPolyline& line : bare.polylines) {
        std::vector<Move> moves;
        for (const RasterPoint& p : line) {
            const PathPoint at = CellPosition(p, placement);
            moves.push_back({MoveKind::Feed, at.x, at.y, p.tipZ});
        }
        bareCuts += FindGouges(spikes, flat, placement, moves).count;
    }
    EXPECT_GT(bareCuts, 0u);
}

TEST(ToolPathTest, RefusesWhatCannotBeMachined) {
    // The cutter's sizes are refused by its profile (see its test); here the
    // cutters that cannot machine a relief at all, and the job's values.
    constexpr float nan = std::numeric_limits<float>::quiet_NaN();
    const std::tuple<const char*, void (*)(ToolPathRequest&), const char*> cases[] = {
        {"drill", [](ToolPathRequest& r) { r.cutter.toolType = ToolType::Drill; }, "cannot machine"},
        {"undefined cutter", [](ToolPathRequest& r) { r.cutter.toolType = ToolType::Undefined; }, "cannot machine"},
        {"step over 0", [](ToolPathRequest& r) { r.parameters.stepOver = 0; }, "step over"},
        {"negative step over", [](ToolPathRequest& r) { r.parameters.stepOver = -1; }, "step over"},
        {"step over not a number", [](ToolPathRequest& r) { r.parameters.stepOver = std::nan(""); }, "step over"},
        {"step over far below a pixel", [](ToolPathRequest& r) { r.parameters.stepOver = 0.01; }, "tenth"},
        {"no direction", [](ToolPathRequest& r) { r.parameters.rasterAlongX = r.parameters.rasterAlongY = false; },
         "raster direction"},
        {"no passes", [](ToolPathRequest& r) { r.parameters.passCount = 0; }, "depth cuts"},
        {"negative passes", [](ToolPathRequest& r) { r.parameters.passCount = -2; }, "depth cuts"},
        {"too many passes", [](ToolPathRequest& r) { r.parameters.passCount = 256; }, "depth cuts"},
        {"negative Z step", [](ToolPathRequest& r) { r.parameters.zStep = -1; }, "Z step"},
        {"negative filter", [](ToolPathRequest& r) { r.parameters.filterTolerance = -0.1f; }, "filter"},
        {"filter not a number", [](ToolPathRequest& r) { r.parameters.filterTolerance = nan; }, "filter"},
        {"negative stock", [](ToolPathRequest& r) { r.parameters.stockAllowance = -0.1f; }, "stock"},
        {"feed plane in the relief", [](ToolPathRequest& r) { r.parameters.feedPlaneZ = -1.5; }, "feed plane"},
        {"feed plane on top of the stock",
         [](ToolPathRequest& r) { r.parameters = {.feedPlaneZ = -0.5, .stockAllowance = 10}; }, "feed plane"},
        {"pixel size 0", [](ToolPathRequest& r) { r.placement.pixelSize = 0; }, "pixel size"},
        {"offset not a number", [](ToolPathRequest& r) { r.placement.workOffsetY = nan; }, "position"},
        {"everything in the no-cut zone",
         [](ToolPathRequest& r) { r.parameters = {.zNoCutActive = true, .zNoCutZ = 0, .zNoCutTolerance = 100}; },
         "Nothing to machine"}};
    const HeightMap map = MakeRelief(ReliefKind::Smooth, 12, 10);
    for (const auto& [what, change, expected] : cases) {
        ToolPathRequest request = Request();
        change(request);
        const std::string message = test::MessageOf<ToolPathError>([&] { ComputeToolPath(map, request); });
        EXPECT_NE(message.find(expected), std::string::npos) << what << ": " << message;
    }
    // A feed plane far out of range is named with all its digits.
    ToolPathRequest deep = Request();
    deep.parameters.feedPlaneZ = -1e300;
    const std::string message = test::MessageOf<ToolPathError>([&] { ComputeToolPath(map, deep); });
    const std::size_t open = message.find('('), close = message.find(')');
    ASSERT_LT(open, close) << message;
    const std::string number = message.substr(open + 1, close - open - 1);
    EXPECT_EQ(number.size(), 302u) << number;
    EXPECT_EQ(number.front(), '-') << number;
    EXPECT_EQ(number.find_first_not_of("0123456789", 1), std::string::npos) << number;
    for (auto [w, h] : {std::pair{1, 10}, std::pair{10, 1}, std::pair{1, 1}})
        EXPECT_THROW(ComputeToolPath(HeightMap(w, h, -1.0f), Request()), ToolPathError) << w << "x" << h;
}

// Odd sizes leave half-empty blocks at the far edges of the block maxima,
// which are built on several threads too.
TEST(ToolPathTest, TheResultDoesNotDependOnTheThreadCount) {
    for (auto [width, height] : {std::pair{90, 70}, std::pair{131, 67}})
        for (ToolType type : test::kMachiningShapes) {
            const HeightMap map = MakeRelief(ReliefKind::Spikes, width, height, 9);
            ToolPathRequest request = Request(type, 9.0);
            request.parameters.rasterAlongY = true;
            request.parameters.filterTolerance = 0.02f;
            request.parameters.stepOver = 1.5;
            request.threads = 1;
            const ToolPathResult serial = ComputeToolPath(map, request);
            request.threads = 7;
            const ToolPathResult parallel = ComputeToolPath(map, request);
            EXPECT_EQ(parallel.moves.moves, serial.moves.moves) << ToolTypeName(type);
            EXPECT_EQ(parallel.polylines, serial.polylines) << ToolTypeName(type);
            EXPECT_EQ(parallel.meanLift, serial.meanLift);
        }
}

// ctest hands every discovered test both folders; a list value given to the
// test properties once lost the second one.
TEST(TestEnvironmentTest, CtestNamesTheProgramFolderWithTheSourceTree) {
    if (std::getenv("CALVORO_SOURCE_DIR") == nullptr) GTEST_SKIP() << "not run by ctest";
    EXPECT_NE(std::getenv("CALVORO_BIN_DIR"), nullptr);
}

}  // namespace
}  // namespace calvoro

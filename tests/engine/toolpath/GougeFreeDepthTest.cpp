#include "engine/toolpath/GougeFreeDepth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "engine/toolpath/ToolPathError.h"
#include "tests/engine/toolpath/TestReliefs.h"

namespace calvoro {
namespace {

using test::MakeCutter;
using test::MakeRelief;
using test::ReliefKind;

float RoundUpToFloat(double value) {
    float f = static_cast<float>(value);
    if (static_cast<double>(f) < value) f = std::nextafter(f, std::numeric_limits<float>::infinity());
    return f;
}

// What the cutter over (x, y) demands of its tip, computed cell by cell from
// the profile alone: the largest of h(cell) - height(distance) + S over every
// cell within R + S, rounded up to float. Cells outside the picture take the
// nearest edge cell, as the cutter sees them.
struct Demand {
    float tip;
    bool valid;
};
Demand Demanded(const HeightMap& map, const CutterProfile& profile, double pixelSize, int x, int y) {
    const int reach = static_cast<int>(profile.outerRadius() / pixelSize) + 2;
    float best = -std::numeric_limits<float>::infinity();
    for (int dx = -reach; dx <= reach; ++dx)
        for (int dy = -reach; dy <= reach; ++dy) {
            const double rho = std::sqrt(double(dx) * dx + double(dy) * dy) * pixelSize;
            if (rho > profile.outerRadius()) continue;
            const double value =
                (static_cast<double>(map.clampedAt(x + dx, y + dy)) - profile.height(rho)) + profile.stockAllowance();
            best = std::max(best, RoundUpToFloat(value));
        }
    return {best, std::isfinite(best)};
}

struct CutterCase {
    ToolType type;
    double diameter;  // work units
    double pixelSize;
    double stock;
};

std::vector<CutterCase> CutterCases() {
    std::vector<CutterCase> cases;
    for (ToolType type : test::kMachiningShapes) {
        cases.push_back({type, 0.7, 1.0, 0.0});   // smaller than a pixel
        cases.push_back({type, 3.3, 1.0, 0.4});   // fractional radius, stock
        cases.push_back({type, 7.9, 0.37, 0.0});  // fractional pixel size
        cases.push_back({type, 13.0, 1.0, 0.25});
    }
    return cases;
}

std::string Describe(const CutterCase& c, ReliefKind relief) {
    return std::string(ToolTypeName(c.type)) + " d=" + std::to_string(c.diameter) +
           " ps=" + std::to_string(c.pixelSize) + " S=" + std::to_string(c.stock) + " on " + test::ReliefName(relief);
}

// The tip touches the relief and never goes below it anywhere under the
// footprint, and the pruned search gives the bits of the plain one.
TEST(GougeFreeDepthTest, TipTouchesAndNeverCutsAndFastEqualsBruteForce) {
    for (ReliefKind relief : test::kAllReliefs) {
        const HeightMap map = MakeRelief(relief, 23, 17, 7);
        for (const CutterCase& c : CutterCases()) {
            const CutterProfile profile = CutterProfile::FromTool(MakeCutter(c.type, c.diameter), c.stock);
            const GougeFreeDepth depth(map, profile, c.pixelSize);
            // Runs along both axes, of every length up to the width, starting
            // anywhere.
            std::vector<float> along(map.width());
            for (int y = 0; y < map.height(); ++y) {
                const int start = y % 5;
                depth.tipZRun(start, y, true, map.width() - start, along.data());
                for (int x = start; x < map.width(); ++x)
                    ASSERT_EQ(along[x - start], depth.tipZ(x, y))
                        << Describe(c, relief) << " along X at " << x << "," << y;
            }
            std::vector<float> across(map.height());
            for (int x = 0; x < map.width(); ++x) {
                const int count = map.height() - x % 7;
                depth.tipZRun(x, 0, false, count, across.data());
                for (int y = 0; y < count; ++y)
                    ASSERT_EQ(across[y], depth.tipZ(x, y)) << Describe(c, relief) << " along Y at " << x << "," << y;
            }
            for (int x = 0; x < map.width(); ++x)
                for (int y = 0; y < map.height(); ++y) {
                    const float fast = depth.tipZ(x, y);
                    const Demand demand = Demanded(map, profile, c.pixelSize, x, y);
                    ASSERT_TRUE(demand.valid);
                    ASSERT_EQ(fast, demand.tip) << Describe(c, relief) << " at " << x << "," << y;
                    ASSERT_EQ(depth.tipZBruteForce(x, y), fast) << Describe(c, relief) << " at " << x << "," << y;
                }
        }
    }
}

TEST(GougeFreeDepthTest, CuttersLargerThanThePictureSeeTheEdgesRepeated) {
    const HeightMap map = MakeRelief(ReliefKind::Spikes, 6, 4, 3);
    for (ToolType type : test::kMachiningShapes) {
        const CutterProfile profile = CutterProfile::FromTool(MakeCutter(type, 40.0), 0.3);
        const GougeFreeDepth depth(map, profile, 0.8);
        for (int x = 0; x < map.width(); ++x)
            for (int y = 0; y < map.height(); ++y) {
                EXPECT_EQ(depth.tipZ(x, y), Demanded(map, profile, 0.8, x, y).tip) << ToolTypeName(type);
                EXPECT_EQ(depth.tipZBruteForce(x, y), depth.tipZ(x, y)) << ToolTypeName(type);
            }
    }
}

TEST(GougeFreeDepthTest, RaisingACellNeverLowersTheTip) {
    std::mt19937 random(11);
    for (ToolType type : test::kMachiningShapes) {
        HeightMap map = MakeRelief(ReliefKind::Smooth, 21, 19, 5);
        const CutterProfile profile = CutterProfile::FromTool(MakeCutter(type, 6.5), 0.1);
        for (int round = 0; round < 20; ++round) {
            std::vector<float> before;
            {
                const GougeFreeDepth depth(map, profile, 1.0);
                for (int x = 0; x < map.width(); ++x)
                    for (int y = 0; y < map.height(); ++y) before.push_back(depth.tipZ(x, y));
            }
            const int cx = std::uniform_int_distribution<int>(0, map.width() - 1)(random);
            const int cy = std::uniform_int_distribution<int>(0, map.height() - 1)(random);
            map.at(cx, cy) += std::uniform_real_distribution<float>(0.0f, 2.0f)(random);
            const GougeFreeDepth depth(map, profile, 1.0);
            std::size_t i = 0;
            for (int x = 0; x < map.width(); ++x)
                for (int y = 0; y < map.height(); ++y, ++i)
                    ASSERT_GE(depth.tipZ(x, y), before[i]) << ToolTypeName(type) << " " << x << "," << y;
        }
    }
}

ToolRecord Tool(ToolType type, float d, float corner = 0, float angle = 0, float tip = 0) {
    ToolRecord t = MakeCutter(type, d);
    t.cornerRadius = corner;
    t.taperAngle = angle;
    t.flatDiameter = tip;
    return t;
}

TEST(GougeFreeDepthTest, DepthsByHand) {
    // A flat relief at -1 with one cell at +2; the cutter stands at (10, 10)
    // and the high cell at offset (dx, dy).
    struct Case {
        const char* what;
        ToolRecord tool;
        double stock;
        double pixelSize;
        int dx, dy;
        double expected;
    } cases[] = {
        {"flat relief, flat cutter", Tool(ToolType::Flat, 6), 0, 1, 20, 20, -1.0},
        {"flat relief, ball with stock", Tool(ToolType::Spherical, 6), 0.5, 1, 20, 20, -0.5},
        {"flat cutter, cell on its rim", Tool(ToolType::Flat, 6), 0, 1, 3, 0, 2.0},
        {"flat cutter, cell just outside", Tool(ToolType::Flat, 6), 0, 1, 3, 1, -1.0},
        {"flat cutter inside its disc", Tool(ToolType::Flat, 6), 0, 1, 1, -1, 2.0},
        {"stock widens the footprint", Tool(ToolType::Flat, 6), 0.5, 1, 3, 1, 2.5},
        {"ball radius 3, cell at 3", Tool(ToolType::Spherical, 6), 0, 1, 0, 3, -1.0},  // 2 - 3 < -1
        {"ball radius 4, cell at 3", Tool(ToolType::Spherical, 8), 0, 1, 0, -3, 2 - (4 - std::sqrt(7.0))},
        {"ball in half pixels", Tool(ToolType::Spherical, 8), 0, 0.5, 6, 0, 2 - (4 - std::sqrt(7.0))},
        {"ball grown by stock", Tool(ToolType::Spherical, 6), 1, 1, 3, 0, 2 - (4 - std::sqrt(7.0)) + 1},
        {"bull-nose corner", Tool(ToolType::BullNose, 8, 1), 0, 1, 3, 2,
         2 - (1 - std::sqrt(1 - (std::sqrt(13.0) - 3) * (std::sqrt(13.0) - 3)))},
        {"v-bit 45", Tool(ToolType::ConicalFlat, 8, 0, 45, 0), 0, 1, 3, 0, -1.0},  // 2 - 3
        {"v-bit 45, cell at 2", Tool(ToolType::ConicalFlat, 8, 0, 45, 0), 0, 1, -2, 0, 0.0},
        {"tapered ball", Tool(ToolType::ConicalSpherical, 8, 0, 45, 2), 0, 1, 0, 2,
         2 - ((1 - std::sqrt(0.5)) + (2 - std::sqrt(0.5)))},
    };
    for (const Case& c : cases) {
        HeightMap map(21, 21, -1.0f);
        if (10 + c.dx < 21 && 10 + c.dy < 21) map.at(10 + c.dx, 10 + c.dy) = 2.0f;
        const CutterProfile profile = CutterProfile::FromTool(c.tool, c.stock);
        const GougeFreeDepth depth(map, profile, c.pixelSize);
        const float tip = depth.tipZ(10, 10);
        EXPECT_NEAR(tip, c.expected, 1e-6) << c.what;
        EXPECT_GE(static_cast<double>(tip), c.expected - 1e-12) << c.what << ": rounded below the exact depth";
    }
}

TEST(GougeFreeDepthTest, SegmentClearanceCoversTheWholeMove) {
    // A one-cell spike beside a straight move: neither end sees it, the
    // middle of the move passes right over it.
    HeightMap map(30, 20, -3.0f);
    map.at(15, 12) = 0.0f;
    const CutterProfile profile = CutterProfile::FromTool(MakeCutter(ToolType::Flat, 4), 0);
    const GougeFreeDepth depth(map, profile, 1.0);
    EXPECT_EQ(depth.tipZ(5, 10), -3.0f);
    EXPECT_EQ(depth.tipZ(25, 10), -3.0f);
    EXPECT_EQ(depth.segmentClearanceZ(5, 10, 25, 10), 0.0);
    EXPECT_EQ(depth.segmentClearanceZ(5, 7, 25, 7), -3.0);
    // A zero-length move needs what the point needs.
    EXPECT_EQ(depth.segmentClearanceZ(15, 10, 15, 10), static_cast<double>(depth.tipZ(15, 10)));
}

TEST(GougeFreeDepthTest, RefusesAPixelSizeThatIsNoSize) {
    const HeightMap map(4, 4, 0.0f);
    const CutterProfile profile = CutterProfile::FromTool(MakeCutter(ToolType::Flat, 4), 0);
    for (double size : {0.0, -1.0, std::nan(""), std::numeric_limits<double>::infinity(), 1e-12})
        EXPECT_THROW(GougeFreeDepth(map, profile, size), ToolPathError) << size;
}

}  // namespace
}  // namespace calvoro

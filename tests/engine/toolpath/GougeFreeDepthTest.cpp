// The gouge-free tip Z: never below the relief anywhere under the footprint,
// touching it, never lowered by raising a cell, the fast search equal to the
// cell-by-cell maximum bit for bit, and depths by hand.
#include "engine/toolpath/GougeFreeDepth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "tests/support/HeightMaps.h"

namespace calvoro {
namespace {

using test::Cutter;
using test::MakeCutter;
using test::MakeRelief;
using test::ReliefKind;

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

}  // namespace
}  // namespace calvoro

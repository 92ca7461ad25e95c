// What a move between two path points needs: the cutter swept along it with
// its Z changing linearly cuts nothing once both ends are raised by the lift,
// the lift is no more than that, and cells exactly on the rim count.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "engine/toolpath/GougeFreeDepth.h"
#include "tests/support/HeightMaps.h"

namespace calvoro {
namespace {

using test::MakeCutter;
using test::ReliefKind;

// The tip Z the cutter needs at a point between cells (cell units), from
// every cell of the picture.
double NeedAt(const HeightMap& map, const CutterProfile& profile, double pixelSize, double x, double y) {
    double need = -std::numeric_limits<double>::infinity();
    for (int kx = 0; kx < map.width(); ++kx)
        for (int ky = 0; ky < map.height(); ++ky)
            need = std::max(need, test::TipDemand(map, profile, pixelSize, x, y, kx, ky));
    return need;
}

TEST(SweptLiftTest, RaisedEndsClearEverySampleOfTheMoveAndNoMore) {
    const std::pair<ReliefKind, double> reliefs[] = {
        {ReliefKind::Smooth, 0.4}, {ReliefKind::Spikes, 0.25}, {ReliefKind::Walls, 0.5}, {ReliefKind::Blocky, 0.3}};
    std::mt19937 random(11);
    for (const auto& [relief, pixelSize] : reliefs)
        for (ToolType shape : test::kMachiningShapes) {
            SCOPED_TRACE(testing::Message() << ToolTypeName(shape) << " on " << test::ReliefName(relief));
            const HeightMap map = test::MakeRelief(relief, 24, 20, 3);
            const CutterProfile profile = CutterProfile::FromTool(MakeCutter(shape, 3.1), 0.15);
            const GougeFreeDepth depth(map, profile, pixelSize);
            double largest = 0;
            for (int n = 0; n < 40; ++n) {
                const int ax = static_cast<int>(random() % 23);
                const int ay = static_cast<int>(random() % 19);
                const bool alongX = n % 2 == 0;
                const int bx = ax + (alongX ? 1 : 0);
                const int by = ay + (alongX ? 0 : 1);
                const double tipA = depth.tipZ(ax, ay);
                const double tipB = depth.tipZ(bx, by);
                const double lift = depth.sweptLift(ax, ay, tipA, bx, by, tipB);
                ASSERT_GE(lift, 0.0);
                ASSERT_LE(lift, std::fabs(tipA - tipB)) << "raising both ends to the higher tip is always enough";
                double sampled = 0;  // the largest need over the samples
                for (int s = 1; s < 400; ++s) {
                    const double t = s / 400.0;
                    const double line = tipA + t * (tipB - tipA);
                    const double need = NeedAt(map, profile, pixelSize, ax + t * (bx - ax), ay + t * (by - ay));
                    ASSERT_GE(line + lift + 1e-12, need) << "at t = " << t << " of " << ax << "," << ay;
                    sampled = std::max(sampled, need - line);
                }
                // The samples miss the largest need by up to a sample's step
                // along the line (a flat cutter's needs jump where cells enter).
                EXPECT_LE(lift, sampled + std::fabs(tipA - tipB) / 200 + 1e-3 * pixelSize) << "at " << ax << "," << ay;
                largest = std::max(largest, lift);
            }
            if (shape != ToolType::Flat) {
                EXPECT_GT(largest, 0.0) << "some move needs a lift";
            }
        }
}

// The same on pixels longer along one axis than the other, for moves along
// X, along Y and across both (a link between lines).
TEST(SweptLiftTest, OnOblongPixelsRaisedEndsClearEverySampleOfTheMove) {
    const std::pair<double, double> cells[] = {{0.4, 0.15}, {0.2, 0.55}};
    std::mt19937 random(17);
    for (const auto& [sizeX, sizeY] : cells)
        for (ToolType shape : test::kMachiningShapes) {
            SCOPED_TRACE(testing::Message() << ToolTypeName(shape) << " on cells " << sizeX << " x " << sizeY);
            const HeightMap map = test::MakeRelief(ReliefKind::Spikes, 24, 20, 5);
            const CutterProfile profile = CutterProfile::FromTool(MakeCutter(shape, 2.3), 0.1);
            const GougeFreeDepth depth(map, profile, CellSizes{sizeX, sizeY});
            auto needAt = [&](double x, double y) {
                double need = -std::numeric_limits<double>::infinity();
                for (int kx = 0; kx < map.width(); ++kx)
                    for (int ky = 0; ky < map.height(); ++ky)
                        need = std::max(need, test::TipDemand(map, profile, sizeX, sizeY, x, y, kx, ky));
                return need;
            };
            for (int n = 0; n < 24; ++n) {
                const int ax = static_cast<int>(random() % 20);
                const int ay = static_cast<int>(random() % 16);
                const int kind = n % 3;
                const int bx = ax + (kind == 1 ? 0 : (kind == 0 ? 1 : 3));
                const int by = ay + (kind == 0 ? 0 : (kind == 1 ? 1 : 2));
                const double tipA = depth.tipZ(ax, ay);
                const double tipB = depth.tipZ(bx, by);
                const double lift = depth.sweptLift(ax, ay, tipA, bx, by, tipB);
                ASSERT_GE(lift, 0.0);
                for (int s = 1; s < 200; ++s) {
                    const double t = s / 200.0;
                    const double line = tipA + t * (tipB - tipA);
                    ASSERT_GE(line + lift + 1e-12, needAt(ax + t * (bx - ax), ay + t * (by - ay)))
                        << "at t = " << t << " from " << ax << "," << ay << " to " << bx << "," << by;
                }
                ASSERT_GE(depth.segmentClearanceZ(ax, ay, bx, by), std::max(needAt(ax, ay), needAt(bx, by)) - 1e-12);
            }
        }
}

// A link between lines may cross far more of the picture than a raster
// move: a long diagonal over a spike.
TEST(SweptLiftTest, ALongMoveClearsWhatLiesBetweenItsEnds) {
    HeightMap map(160, 160, -3.0f);
    map.at(80, 81) = 0.0f;
    const CutterProfile profile = CutterProfile::FromTool(MakeCutter(ToolType::Spherical, 1.0), 0);
    const GougeFreeDepth depth(map, profile, 0.5);
    const double lift = depth.sweptLift(0, 0, -3.0, 159, 159, -3.0);
    EXPECT_GE(-3.0 + lift, NeedAt(map, profile, 0.5, 80.5, 80.5));
    EXPECT_LE(lift, 3.0);
}

// A cell at 15 pixels of 0.1 mm lies 1.50000002 mm away in float arithmetic,
// just outside a 1.5 mm radius, while the written words put the rim exactly
// over it: it must limit the tip, for every shape, with and without stock.
TEST(SweptLiftTest, CellsExactlyOnTheRimLimitTheTip) {
    for (ToolType shape : test::kMachiningShapes)
        for (float stock : {0.0f, 0.1f}) {
            SCOPED_TRACE(testing::Message() << ToolTypeName(shape) << " stock " << stock);
            const CutterProfile profile = CutterProfile::FromTool(MakeCutter(shape, 3.0 - 2 * stock), stock);
            HeightMap map(40, 40, -5.0f);
            map.at(37, 20) = -2.4902f;  // 15 cells to the right of (22, 20)
            map.at(22, 5) = -2.4902f;   // 15 cells below it
            const GougeFreeDepth depth(map, profile, 0.1f);
            const double rim = -2.4902f - profile.height(profile.outerRadius()) + stock;
            EXPECT_GE(depth.tipZ(22, 20), rim);
            EXPECT_GE(depth.tipZBruteForce(22, 20), rim);
            // Grown by a position allowance, the cell limits the tip from
            // that much farther out.
            const GougeFreeDepth allowing(map, profile, 0.1f, 0.1);
            EXPECT_GE(allowing.tipZ(22, 20), depth.tipZ(22, 20));
            EXPECT_GE(allowing.tipZ(21, 20), rim);
        }
}

}  // namespace
}  // namespace calvoro

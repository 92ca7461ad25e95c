// The whole tool path: no move cuts the relief anywhere along it, the
// refusals, the shape of the move list, passes, links between polylines, and
// the same result on any number of threads.
#include "engine/toolpath/ToolPath.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/toolpath/CutterProfile.h"
#include "engine/toolpath/GougeFreeDepth.h"
#include "engine/toolpath/RasterPaths.h"
#include "tests/support/HeightMaps.h"

namespace calvoro {
namespace {

using test::MakeCutter;
using test::MakeRelief;
using test::ReliefKind;

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
    const double ps = placement.pixelSize;
    const int reach = static_cast<int>(profile.outerRadius() / ps) + 2;
    const auto cell = [&](double work, double offset) {
        const double c = (work - offset) / ps;
        EXPECT_NEAR(c, std::nearbyint(c), 1e-3) << "a path point off the cell centres";
        return std::nearbyint(c);
    };
    for (std::size_t m = 1; m < moves.size(); ++m) {
        const Move& a = moves[m - 1];
        const Move& b = moves[m];
        const double ax = cell(a.x, placement.workOffsetX), ay = cell(a.y, placement.workOffsetY);
        const double bx = cell(b.x, placement.workOffsetX), by = cell(b.y, placement.workOffsetY);
        const int steps = std::max(1, static_cast<int>(std::ceil(4 * std::hypot(bx - ax, by - ay))));
        for (int s = 0; s <= steps; ++s) {
            const double t = static_cast<double>(s) / steps;
            const double cx = ax + t * (bx - ax), cy = ay + t * (by - ay), z = a.z + t * (b.z - a.z);
            for (int kx = static_cast<int>(cx) - reach; kx <= static_cast<int>(cx) + reach; ++kx)
                for (int ky = static_cast<int>(cy) - reach; ky <= static_cast<int>(cy) + reach; ++ky) {
                    const double demand = test::TipDemand(map, profile, ps, cx, cy, kx, ky);
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
            for (float stock : {0.0f, 0.3f}) {
                ToolPathRequest request = Request(type, 4.5);
                request.placement = {0.8f, -3.5f, 12.25f};
                request.parameters.stockAllowance = stock;
                request.parameters.stepOver = 1.7;
                request.parameters.rasterAlongY = true;
                const ToolPathResult result = ComputeToolPath(map, request);
                const CutterProfile profile = CutterProfile::FromTool(request.cutter, stock);
                const Gouges gouges = FindGouges(map, profile, request.placement, result.moves.moves);
                EXPECT_EQ(gouges.count, 0u)
                    << ToolTypeName(type) << " on " << test::ReliefName(relief) << ": " << gouges.first;
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

TEST(ToolPathTest, TheResultDoesNotDependOnTheThreadCount) {
    const HeightMap map = MakeRelief(ReliefKind::Spikes, 90, 70, 9);
    for (ToolType type : test::kMachiningShapes) {
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

}  // namespace
}  // namespace calvoro

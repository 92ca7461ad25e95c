#include "engine/toolpath/ToolPath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/toolpath/CutterProfile.h"
#include "engine/toolpath/GougeFreeDepth.h"
#include "engine/toolpath/RasterPaths.h"
#include "engine/toolpath/ToolPathError.h"
#include "tests/engine/toolpath/TestReliefs.h"

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

// Checks every move, sampled every quarter of a pixel along its length, for
// a cell under the cutter that the cutter would cut: the cutter at (x, y, z)
// cuts cell k when z < h(k) - height(distance) + S. Returns how many samples
// cut, and where the first one was.
struct Gouges {
    std::size_t count = 0;
    std::string first;
};
Gouges FindGouges(const HeightMap& map, const CutterProfile& profile, const ReliefPlacement& placement,
                  const std::vector<Move>& moves) {
    Gouges found;
    const double ps = placement.pixelSize;
    const int reach = static_cast<int>(profile.outerRadius() / ps) + 2;
    auto cell = [&](double work, double offset) {
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
            const double cx = ax + t * (bx - ax), cy = ay + t * (by - ay);
            const double z = a.z + t * (b.z - a.z);
            for (int kx = static_cast<int>(cx) - reach; kx <= static_cast<int>(cx) + reach; ++kx)
                for (int ky = static_cast<int>(cy) - reach; ky <= static_cast<int>(cy) + reach; ++ky) {
                    const double rho = std::hypot(kx - cx, ky - cy) * ps;
                    if (rho > profile.outerRadius()) continue;
                    const double demand =
                        (static_cast<double>(map.clampedAt(kx, ky)) - profile.height(rho)) + profile.stockAllowance();
                    if (z < demand) {
                        if (found.count++ == 0)
                            found.first = "move " + std::to_string(m) + " at t=" + std::to_string(t) + " cuts cell " +
                                          std::to_string(kx) + "," + std::to_string(ky) + " by " +
                                          std::to_string(demand - z);
                    }
                }
        }
    }
    return found;
}

// Unreduced paths on reliefs with one-pixel spikes and steep walls: no move
// cuts any cell anywhere along it, for every shape.
TEST(ToolPathTest, NoMoveCutsTheReliefAnywhereAlongIt) {
    for (ReliefKind relief : {ReliefKind::Spikes, ReliefKind::Walls, ReliefKind::Blocky}) {
        const HeightMap map = MakeRelief(relief, 26, 19, 5);
        for (ToolType type : test::kMachiningShapes)
            for (double stock : {0.0, 0.3}) {
                ToolPathRequest request = Request(type, 4.5);
                request.placement.pixelSize = 0.8f;
                request.placement.workOffsetX = -3.5f;
                request.placement.workOffsetY = 12.25f;
                request.parameters.stockAllowance = static_cast<float>(stock);
                request.parameters.stepOver = 1.7;
                request.parameters.rasterAlongY = true;
                const ToolPathResult result = ComputeToolPath(map, request);
                const CutterProfile profile = CutterProfile::FromTool(request.cutter, stock);
                const Gouges gouges = FindGouges(map, profile, request.placement, result.moves.moves);
                EXPECT_EQ(gouges.count, 0u)
                    << ToolTypeName(type) << " on " << test::ReliefName(relief) << ": " << gouges.first;
            }
    }
}

// The same check on moves through the bare tip Zs, without the lift, finds
// cuts: the reliefs are hard enough for the check above to mean something.
TEST(ToolPathTest, MovesThroughTheBareTipZsWouldCut) {
    const HeightMap map = MakeRelief(ReliefKind::Spikes, 26, 19, 5);
    const CutterProfile profile = CutterProfile::FromTool(MakeCutter(ToolType::Flat, 4.5), 0);
    const GougeFreeDepth depth(map, profile, 0.8);
    ReliefPlacement placement;
    placement.pixelSize = 0.8f;
    CuttingParameters parameters;
    parameters.stepOver = 1.7;
    const RasterPaths paths = BuildRasterPaths(depth, parameters, placement, 1, nullptr);
    std::size_t cuts = 0;
    for (const RasterPolyline& line : paths.polylines) {
        std::vector<Move> moves;
        for (const RasterPoint& p : line) {
            const PathPoint at = CellPosition(p, placement);
            moves.push_back({MoveKind::Feed, at.x, at.y, p.tipZ});
        }
        cuts += FindGouges(map, profile, placement, moves).count;
    }
    EXPECT_GT(cuts, 0u);
}

TEST(ToolPathTest, RefusesWhatCannotBeMachined) {
    const HeightMap map = MakeRelief(ReliefKind::Smooth, 12, 10);
    constexpr float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char* what;
        void (*change)(ToolPathRequest&);
        const char* message;
    } cases[] = {
        {"drill", [](ToolPathRequest& r) { r.cutter.toolType = ToolType::Drill; }, "cannot machine"},
        {"undefined cutter", [](ToolPathRequest& r) { r.cutter.toolType = ToolType::Undefined; }, "cannot machine"},
        {"taper 90",
         [](ToolPathRequest& r) {
             r.cutter = MakeCutter(ToolType::ConicalFlat, 3);
             r.cutter.taperAngle = 90;
         },
         "taper"},
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
         [](ToolPathRequest& r) {
             r.parameters.feedPlaneZ = -0.5;
             r.parameters.stockAllowance = 10;
         },
         "feed plane"},
        {"pixel size 0", [](ToolPathRequest& r) { r.placement.pixelSize = 0; }, "pixel size"},
        {"offset not a number", [](ToolPathRequest& r) { r.placement.workOffsetY = nan; }, "position"},
        {"everything in the no-cut zone",
         [](ToolPathRequest& r) {
             r.parameters.zNoCutActive = true;
             r.parameters.zNoCutZ = 0;
             r.parameters.zNoCutTolerance = 100;
         },
         "Nothing to machine"},
    };
    for (const Case& c : cases) {
        ToolPathRequest request = Request();
        c.change(request);
        try {
            ComputeToolPath(map, request);
            ADD_FAILURE() << c.what << " was accepted";
        } catch (const ToolPathError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << c.what << ": " << e.what();
        }
    }
    for (auto [w, h] : {std::pair{1, 10}, std::pair{10, 1}, std::pair{1, 1}}) {
        const HeightMap thin(w, h, -1.0f);
        EXPECT_THROW(ComputeToolPath(thin, Request()), ToolPathError) << w << "x" << h;
    }
}

TEST(ToolPathTest, OnePolylineIsRapidPlungeFeedsAndRapidUp) {
    // Two lines joined at the edge: one polyline after the other, fed across.
    const HeightMap map(6, 2, -1.0f);
    ToolPathRequest request = Request(ToolType::Flat, 0.5);
    request.parameters.stepOver = 1.0;
    request.parameters.feedPlaneZ = 3.0;
    request.parameters.filterTolerance = 0.01f;
    request.placement.workOffsetX = 10;
    const ToolPathResult result = ComputeToolPath(map, request);
    const std::vector<Move> expected = {
        {MoveKind::Rapid, 10, 0, 3}, {MoveKind::Plunge, 10, 0, -1}, {MoveKind::Feed, 15, 0, -1},
        {MoveKind::Feed, 15, 1, -1}, {MoveKind::Feed, 10, 1, -1},   {MoveKind::Rapid, 10, 1, 3},
    };
    EXPECT_EQ(result.moves.moves, expected);
    EXPECT_EQ(result.moves.feedPlaneZ, 3.0);
    EXPECT_EQ(result.moves.passCount, 1);
}

TEST(ToolPathTest, PassesRunFromTheHighestDownAtTheirDepth) {
    const HeightMap map = MakeRelief(ReliefKind::Smooth, 15, 11);
    ToolPathRequest request = Request();
    request.parameters.filterTolerance = 0.05f;
    const ToolPathResult one = ComputeToolPath(map, request);
    request.parameters.passCount = 2;
    request.parameters.zStep = 1.0;
    const ToolPathResult two = ComputeToolPath(map, request);
    const std::vector<Move>& single = one.moves.moves;
    const std::vector<Move>& both = two.moves.moves;
    ASSERT_EQ(both.size(), 2 * single.size());
    for (std::size_t i = 0; i < single.size(); ++i) {
        const Move& upper = both[i];
        const Move& lower = both[single.size() + i];
        EXPECT_EQ(lower, single[i]) << i;
        EXPECT_EQ(upper.kind, single[i].kind);
        EXPECT_EQ(upper.x, single[i].x);
        EXPECT_EQ(upper.y, single[i].y);
        if (single[i].z != request.parameters.feedPlaneZ) {
            EXPECT_EQ(upper.z, single[i].z + 1.0) << i;
        }
    }
    EXPECT_EQ(two.moves.passCount, 2);
}

// A flat field in the no-cut zone with a raised band: every raster line
// cuts across the band, and consecutive stretches are joined across the
// field beside it.
struct BandJob {
    HeightMap map{40, 21, -1.0f};
    ToolPathRequest request = Request(ToolType::Flat, 1.5);
    BandJob() {
        for (int x = 20; x <= 30; ++x)
            for (int y = 0; y < 21; ++y) map.at(x, y) = 0.0f;
        request.parameters.stepOver = 4.0;
        request.parameters.zNoCutActive = true;
        request.parameters.zNoCutZ = -1.0f;
        request.parameters.zNoCutTolerance = 0.01f;
    }
    std::size_t retracts(const ToolPathResult& r) const {
        return static_cast<std::size_t>(std::count_if(r.moves.moves.begin(), r.moves.moves.end(),
                                                      [](const Move& m) { return m.kind == MoveKind::Plunge; }));
    }
};

TEST(ToolPathTest, CloseStretchesAreFedAcrossAndFarOnesRetract) {
    BandJob job;
    const ToolPathResult near = ComputeToolPath(job.map, job.request);
    EXPECT_EQ(job.retracts(near), 1u) << "lines 4 apart, within twice the step over";
    EXPECT_EQ(near.unsafeLinks, 0u);

    // A second band 30 cells away: on every line the stretches of the two
    // bands are further apart than twice the step over (2 x 3.93)...
    HeightMap twoBands(60, 21, -1.0f);
    for (int y = 0; y < 21; ++y) {
        for (int x = 5; x <= 8; ++x) twoBands.at(x, y) = 0.0f;
        for (int x = 40; x <= 45; ++x) twoBands.at(x, y) = 0.0f;
    }
    const ToolPathResult apart = ComputeToolPath(twoBands, job.request);
    EXPECT_EQ(job.retracts(apart), 7u) << "the first, then one on each of the six lines";
    // ... unless the step over is wide enough for the links to reach (2 x 19.67).
    job.request.parameters.stepOver = 20.0;
    EXPECT_EQ(job.retracts(ComputeToolPath(twoBands, job.request)), 1u);
}

TEST(ToolPathTest, AShortLinkOverAFeatureBecomesARetract) {
    BandJob job;
    // A spike between two raster lines, beside the band: no raster point
    // sees it, but the straight link from one stretch to the next passes
    // right over it.
    const ToolPathResult clear = ComputeToolPath(job.map, job.request);
    const Move* link = nullptr;
    for (std::size_t i = 1; i < clear.moves.moves.size(); ++i)
        if (clear.moves.moves[i].kind == MoveKind::Feed && clear.moves.moves[i].x == clear.moves.moves[i - 1].x &&
            clear.moves.moves[i].y != clear.moves.moves[i - 1].y)
            link = &clear.moves.moves[i];
    ASSERT_NE(link, nullptr);
    const int spikeX = static_cast<int>(link->x);
    const int spikeY = static_cast<int>(link->y) - 2;
    job.map.at(spikeX, spikeY) = 0.5f;
    const ToolPathResult guarded = ComputeToolPath(job.map, job.request);
    EXPECT_EQ(guarded.unsafeLinks, 1u);
    EXPECT_EQ(job.retracts(guarded), 2u);
    const CutterProfile profile = CutterProfile::FromTool(job.request.cutter, 0);
    EXPECT_EQ(FindGouges(job.map, profile, job.request.placement, guarded.moves.moves).count, 0u);
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

TEST(ToolPathTest, ReportsProgressAndStopsWhenCancelled) {
    const HeightMap map = MakeRelief(ReliefKind::Smooth, 40, 30);
    TaskControl done;
    ComputeToolPath(map, Request(), &done);
    EXPECT_EQ(done.progress(), 1.0);

    TaskControl cancelled;
    cancelled.requestCancel();
    EXPECT_THROW(ComputeToolPath(map, Request(), &cancelled), TaskCancelled);
    EXPECT_LT(cancelled.progress(), 1.0);
}

}  // namespace
}  // namespace calvoro

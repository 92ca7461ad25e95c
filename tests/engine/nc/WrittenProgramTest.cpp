// The NC program as written, read back at its written precision with the
// program's own reader: no feed or plunge position lies below the relief plus
// the stock, on random and adversarial reliefs, every cutter shape and several
// number formats; and a fixed job writes the same bytes in every build.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <numbers>
#include <random>
#include <string>

#include "engine/nc/NcProgram.h"
#include "engine/nc/NcReader.h"
#include "engine/post/PostLoader.h"
#include "engine/toolpath/CutterProfile.h"
#include "engine/toolpath/RasterPaths.h"
#include "engine/toolpath/ToolPath.h"
#include "tests/support/HeightMaps.h"

namespace calvoro {
namespace {

using test::MakeCutter;
using test::ReliefKind;

// Walls at exactly the cutter's radius from the raster lines: a floor with a
// raised band beyond column `wallX` and beyond row `wallY`.
HeightMap Walls(int width, int height, int wallX, int wallY) {
    HeightMap map(width, height, -5.0f);
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y)
            if (x >= wallX || y >= wallY) map.at(x, y) = -2.4902f;
    return map;
}

HeightMap RandomCells(int width, int height, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> z(-4.0f, 0.0f);
    HeightMap map(width, height);
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y) map.at(x, y) = z(random);
    return map;
}

// Every cell centre as a point, at the float pixel size and at the decimal it
// stands for: the lowest feed or plunge tip less the demand of any cell under
// the cutter (negative means a cut into relief plus stock).
double WorstClearance(const std::string& text, const PostSettings& post, const HeightMap& map,
                      const CutterProfile& profile, const ReliefPlacement& placement, std::size_t& checked) {
    auto decimal = [](float size) { return std::stod(std::to_string(size).substr(0, 12)); };
    const std::pair<double, double> sizes[] = {{placement.pixelSize, placement.cellSizeY()},
                                               {decimal(placement.pixelSize), decimal(placement.cellSizeY())}};
    NcReader reader(post);
    reader.ResetIsoRun("0");
    IsoMove move;
    double worst = std::numeric_limits<double>::infinity();
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        const bool read = reader.ParseIsoLine(std::string_view(text).substr(start, end - start), move);
        start = end + 2;
        if (!read || move.kind != 1) continue;
        double z = 0;
        std::from_chars(reader.isoZText.data(), reader.isoZText.data() + reader.isoZText.size(), z);
        ++checked;
        for (const auto& [sizeX, sizeY] : sizes)
            for (int kx = 0; kx < map.width(); ++kx)
                for (int ky = 0; ky < map.height(); ++ky) {
                    const double rho = std::hypot(kx * sizeX + placement.workOffsetX - move.x,
                                                  ky * sizeY + placement.workOffsetY - move.y);
                    if (rho > profile.outerRadius()) continue;
                    const double demand = map.at(kx, ky) - profile.height(rho) + profile.stockAllowance();
                    worst = std::min(worst, z - demand);
                }
    }
    return worst;
}

TEST(WrittenProgramTest, NoFeedOrPlungeIsWrittenBelowTheReliefPlusStock) {
    struct Case {
        const char* name;
        HeightMap map;
        ToolType shape;
        double diameter;
        float pixelSize, stock;
        bool alongX, alongY;
        int passes;
        float filter;
        int decimals;
        bool zNoCut;
    };
    using enum ToolType;
    const Case cases[] = {
        {"flat at the wall", Walls(41, 41, 20, 25), Flat, 3.0, 0.1f, 0.0f, true, true, 1, 0.0f, 3, false},
        {"ball at the wall", Walls(41, 41, 16, 21), Spherical, 2.2, 0.1f, 0.0f, true, true, 2, 0.0f, 3, false},
        {"bull-nose at the wall", Walls(31, 31, 13, 13), BullNose, 1.6, 0.1f, 0.0f, true, true, 1, 0.0f, 4, false},
        {"cone at the wall", Walls(31, 31, 15, 15), ConicalFlat, 2.0, 0.1f, 0.0f, true, false, 1, 0.0f, 2, false},
        {"conical ball at the wall", Walls(31, 31, 15, 15), ConicalSpherical, 2.0, 0.1f, 0.0f, false, true, 1, 0.0f, 3,
         false},
        {"random cells, flat", RandomCells(33, 29, 1), Flat, 0.9, 0.07f, 0.13f, true, true, 2, 0.0f, 3, false},
        {"random cells, ball", RandomCells(33, 29, 2), Spherical, 1.3, 0.07f, 0.05f, true, false, 3, 0.02f, 2, false},
        {"random cells, bull-nose", RandomCells(33, 29, 3), BullNose, 1.1, 0.07f, 0.2f, false, true, 1, 0.0f, 4, false},
        {"spikes, cone", test::MakeRelief(ReliefKind::Spikes, 37, 31, 4), ConicalFlat, 1.5, 0.1f, 0.1f, true, true, 2,
         0.0f, 3, false},
        {"spikes, conical ball", test::MakeRelief(ReliefKind::Spikes, 37, 31, 5), ConicalSpherical, 1.5, 0.1f, 0.0f,
         true, false, 1, 0.01f, 3, true},
        {"blocks, ball, no-cut zone", test::MakeRelief(ReliefKind::Blocky, 37, 31, 6), Spherical, 1.0, 0.1f, 0.05f,
         true, true, 2, 0.0f, 3, true},
        {"smooth, flat", test::MakeRelief(ReliefKind::Smooth, 37, 31, 7), Flat, 0.6, 0.0317f, 0.0f, true, true, 1, 0.0f,
         3, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ToolPathRequest request;
        request.cutter = MakeCutter(c.shape, c.diameter);
        request.placement = {c.pixelSize, 0.3f, -1.7f};
        CuttingParameters& job = request.parameters;
        job.stepOver = 5 * c.pixelSize;  // lines 5 pixels apart, so the walls lie at exactly the radius
        job.feedPlaneZ = 3.0;
        job.stockAllowance = c.stock;
        job.filterTolerance = c.filter;
        job.rasterAlongX = c.alongX;
        job.rasterAlongY = c.alongY;
        job.passCount = c.passes;
        job.zStep = 0.35;
        job.zNoCutActive = c.zNoCut;
        job.zNoCutZ = static_cast<float>(c.map.at(0, 0)) + c.stock;
        job.zNoCutTolerance = 0.01f;
        PostSettings post;
        post.outputSeq = false;
        for (AxisSettings& axis : post.axes) axis.format.precision = c.decimals;
        request.positionRounding = WrittenPositionRounding(post);

        const ToolPathResult path = ComputeToolPath(c.map, request);
        const std::string text = GenerateNcProgram(path.moves, post, NcJobValues()).text;
        std::size_t checked = 0;
        const double worst = WorstClearance(text, post, c.map, CutterProfile::FromTool(request.cutter, c.stock),
                                            request.placement, checked);
        EXPECT_GT(checked, 50u);
        EXPECT_GE(worst, 0.0);
        EXPECT_LT(worst, 1.1 * std::pow(10.0, -c.decimals) + 0.02) << "the cutter still touches somewhere";
    }
}

// Pixels longer along one axis than the other: the same check, with the
// cells where the program's own placement puts them.
TEST(WrittenProgramTest, OnOblongPixelsNoFeedOrPlungeIsWrittenBelowTheRelief) {
    struct Case {
        const char* name;
        HeightMap map;
        ToolType shape;
        double diameter;
        float sizeX, sizeY, stock;
        bool alongX, alongY;
        int decimals;
    };
    using enum ToolType;
    const Case cases[] = {
        {"ball at the wall, rows short", Walls(41, 41, 16, 21), Spherical, 2.2, 0.1f, 0.043f, 0.0f, true, true, 3},
        {"flat at the wall, rows long", Walls(31, 31, 13, 13), Flat, 1.6, 0.07f, 0.19f, 0.0f, true, true, 3},
        {"random cells, bull-nose", RandomCells(33, 29, 3), BullNose, 1.1, 0.07f, 0.11f, 0.2f, true, true, 4},
        {"spikes, cone", test::MakeRelief(ReliefKind::Spikes, 37, 31, 4), ConicalFlat, 1.5, 0.1f, 0.0625f, 0.1f, true,
         false, 2},
        {"spikes, conical ball", test::MakeRelief(ReliefKind::Spikes, 37, 31, 5), ConicalSpherical, 1.5, 0.1f, 0.3f,
         0.0f, false, true, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ToolPathRequest request;
        request.cutter = MakeCutter(c.shape, c.diameter);
        request.placement = {c.sizeX, 0.3f, -1.7f, c.sizeY};
        CuttingParameters& job = request.parameters;
        job.stepOver = 3 * std::min(c.sizeX, c.sizeY);
        job.feedPlaneZ = 3.0;
        job.stockAllowance = c.stock;
        job.filterTolerance = 0.0f;
        job.rasterAlongX = c.alongX;
        job.rasterAlongY = c.alongY;
        PostSettings post;
        post.outputSeq = false;
        for (AxisSettings& axis : post.axes) axis.format.precision = c.decimals;
        request.positionRounding = WrittenPositionRounding(post);

        const std::string text = GenerateNcProgram(ComputeToolPath(c.map, request).moves, post, NcJobValues()).text;
        std::size_t checked = 0;
        const double worst = WorstClearance(text, post, c.map, CutterProfile::FromTool(request.cutter, c.stock),
                                            request.placement, checked);
        EXPECT_GT(checked, 50u);
        EXPECT_GE(worst, 0.0);
        EXPECT_LT(worst, 1.1 * std::pow(10.0, -c.decimals) + 0.02) << "the cutter still touches somewhere";
    }
}

// The written X and Y both round toward the relief at once: the corner cell
// of the first raster line lies a hair above half a unit on both axes, and a
// spike (or a diagonal wall) stands on the diagonal beyond it, farther than
// the cutter's radius plus one axis's half unit, nearer than the radius plus
// the diagonal of the two halves.
TEST(WrittenProgramTest, RoundingBothAxesTowardTheReliefStaysAboveIt) {
    using enum ToolType;
    const int cells = 25, spike = 10;
    for (int decimals : {2, 3, 4})
        for (ToolType shape : {Flat, Spherical, BullNose, ConicalSpherical})
            for (bool wall : {false, true}) {
                SCOPED_TRACE(::testing::Message() << decimals << " decimals, shape " << static_cast<int>(shape)
                                                  << (wall ? ", diagonal wall" : ", spike"));
                const double half = 0.5 * std::pow(10.0, -decimals);
                float offset = static_cast<float>(half);
                while (static_cast<double>(offset) <= half) offset = std::nextafter(offset, 1.0f);
                ReliefPlacement placement{0.1f, offset, offset};
                const PathPoint corner = CellPosition({0, 0}, placement);
                const PathPoint target = CellPosition({spike, spike}, placement);
                const double reach = std::hypot(target.x - corner.x, target.y - corner.y);
                const double radius = reach - 0.85 * half * std::numbers::sqrt2;

                ToolPathRequest request;
                request.cutter = MakeCutter(shape, 2 * radius);
                const CutterProfile profile = CutterProfile::FromTool(request.cutter, 0.0f);
                ASSERT_GT(reach - profile.outerRadius(), 1.1 * half);
                ASSERT_LT(reach - profile.outerRadius(), 0.95 * half * std::numbers::sqrt2);
                HeightMap map(cells, cells, -5.0f);
                for (int x = 0; x < cells; ++x)
                    for (int y = 0; y < cells; ++y)
                        if (wall ? x + y >= 2 * spike : (x == spike && y == spike))
                            map.at(x, y) = -5.0f + static_cast<float>(profile.outerRadius()) + 0.5f;
                request.placement = placement;
                request.parameters.stepOver = 0.5;
                request.parameters.feedPlaneZ = 3.0;
                request.parameters.filterTolerance = 0.0f;
                PostSettings post;
                post.outputSeq = false;
                for (AxisSettings& axis : post.axes) axis.format.precision = decimals;
                request.positionRounding = WrittenPositionRounding(post);

                const std::string text = GenerateNcProgram(ComputeToolPath(map, request).moves, post, {}).text;
                EXPECT_NE(text.find(decimals == 2 ? "X0.01 Y0.01" : decimals == 3 ? "X0.001 Y0.001" : "X0.0001 Y0.0001"),
                          std::string::npos)
                    << "the corner is not written rounded up on both axes";
                std::size_t checked = 0;
                EXPECT_GE(WorstClearance(text, post, map, profile, placement, checked), 0.0);
            }
}

std::uint64_t Fnv1a(const std::string& text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text) hash = (hash ^ c) * 1099511628211ull;
    return hash;
}

// Optimisers have dropped roundings to float before; the checksum was taken
// from the unoptimised sanitizer build and must come out in every build.
TEST(WrittenProgramTest, AFixedJobWritesTheSameBytesInEveryBuild) {
    ToolPathRequest request;
    request.cutter = MakeCutter(ToolType::Spherical, 1.0);
    request.placement = {0.1f, 0.3f, 0.7f};
    request.parameters.stepOver = 0.35;
    request.parameters.filterTolerance = 0.0f;
    request.parameters.rasterAlongY = true;
    const HeightMap map = test::MakeRelief(ReliefKind::Smooth, 61, 53, 3);
    const std::string text = GenerateNcProgram(ComputeToolPath(map, request).moves, {}, NcJobValues()).text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2088);
    EXPECT_EQ(Fnv1a(text), 8609451090964923835u);

    // Cell positions are rounded to float one by one, as the product alone would give.
    for (int cell = 0; cell < 1000; ++cell) {
        const volatile float expected = static_cast<float>(cell * static_cast<double>(0.1f) + 0.3f);
        EXPECT_EQ(CellPosition({cell, cell + 1}, request.placement).x, expected) << cell;
    }
}

// Pieces written on several threads start from the modal memory the moves
// before them leave, and their block numbers are filled in order.
TEST(WrittenProgramTest, ThreadsWriteTheSameTextAsOne) {
    MoveList list;
    list.feedPlaneZ = 5;
    std::mt19937 random(5);
    std::uniform_int_distribution<int> choice(0, 9);
    Move move{MoveKind::Rapid, 0, 0, 5};
    for (int n = 0; n < 70000; ++n) {
        const int c = choice(random);
        // Runs of rapids, repeated points and values that round alike.
        move.kind = c == 0 ? MoveKind::Rapid : c == 1 ? MoveKind::Plunge : MoveKind::Feed;
        if (c > 2) move.x += (c - 5) * 0.0004;
        if (c % 3 == 0) move.y += 0.05;
        move.z = move.kind == MoveKind::Rapid ? 5.0 : -1.0 - 0.0003 * c;
        list.moves.push_back(move);
    }
    const std::pair<const char*, std::function<void(PostSettings&)>> variants[] = {
        {"initial values", [](PostSettings&) {}},
        {"no block numbers", [](PostSettings& s) { s.outputSeq = false; }},
        {"nothing modal", [](PostSettings& s) { s.xyzModal = s.gModal = s.fModal = false; }},
        {"rapid word, wrapping numbers",
         [](PostSettings& s) {
             // A string, not a literal, is assigned: the literal draws a false
             // -Wrestrict from GCC 12's inlined replace.
             s.feedRapid = std::string(1, 'R');
             s.seqMax = 5000;
             s.seqInc = 7;
         }},
        {"tail with the last position", [](PostSettings& s) { s.endOfFile = "[n] G0[x][y]\r\n[n] M30\r\n"; }},
    };
    NcJobValues job;
    job.plungeText = "300";
    for (const auto& [name, change] : variants) {
        PostSettings post;
        change(post);
        const std::string one = GenerateNcProgram(list, post, job, 1).text;
        const std::string five = GenerateNcProgram(list, post, job, 5).text;
        const auto differ = std::mismatch(one.begin(), one.end(), five.begin(), five.end());
        EXPECT_TRUE(differ.first == one.end() && differ.second == five.end())
            << name << ": differs at byte " << differ.first - one.begin() << ": "
            << one.substr(differ.first - one.begin(), 40) << " / " << five.substr(differ.second - five.begin(), 40);
    }
}

TEST(WrittenProgramTest, ShippedFanucHeadsSelectTheWorkOffsetBeforeTheMove) {
    for (const char* name : {"Fanuc_mm", "Fanuc_inch"}) {
        PostSettings current;
        current.postName = name;
        const char* source = std::getenv("CALVORO_SOURCE_DIR");
        ASSERT_NE(source, nullptr);
        const PostSettings post = LoadPostProcessor(std::filesystem::path(source) / "data", current).settings;
        MoveList moves;
        moves.feedPlaneZ = 5;
        moves.moves = {{MoveKind::Rapid, 12.5, 7.25, 5}, {MoveKind::Plunge, 12.5, 7.25, -1}};
        const std::string text = GenerateNcProgram(moves, post, NcJobValues()).text;
        EXPECT_NE(text.find(" G54 G0 X12.5 Y7.25\r\n"), std::string::npos) << name << "\n" << text;
    }
}

}  // namespace
}  // namespace calvoro

#include "engine/toolpath/ToolPath.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "engine/toolpath/CutterProfile.h"
#include "engine/toolpath/GougeFreeDepth.h"
#include "engine/toolpath/PolylineReduction.h"
#include "engine/toolpath/RasterPaths.h"
#include "engine/toolpath/ToolPathError.h"

namespace calvoro {

namespace {

// Millimetres or inches with up to four decimals, trailing zeros cut.
std::string FormatNumber(double value) {
    // Room for every finite double in fixed notation: a typed 1e300 is refused
    // with its digits, not with whatever a short buffer held.
    char text[std::numeric_limits<double>::max_exponent10 + 32];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 4).ptr;
    std::string result(text, end);
    while (result.back() == '0') result.pop_back();
    if (result.back() == '.') result.pop_back();
    return result == "-0" ? "0" : result;
}

bool IsFinite(double value) {
    return std::isfinite(value);
}

double HighestCell(const HeightMap& map) {
    const auto values = map.values();
    return *std::max_element(values.begin(), values.end());
}

// The written rounding of X and Y, and the float rounding of the positions
// themselves on the way there and back (a few units of the float's last bit
// at the largest coordinate of the job).
double PositionAllowance(const HeightMap& map, const ToolPathRequest& request) {
    const ReliefPlacement& placement = request.placement;
    const double sizeX = placement.pixelSize;
    const double sizeY = placement.cellSizeY();
    const double largest = std::max({std::fabs(static_cast<double>(placement.workOffsetX)),
                                     std::fabs(placement.workOffsetX + (map.width() - 1) * sizeX),
                                     std::fabs(static_cast<double>(placement.workOffsetY)),
                                     std::fabs(placement.workOffsetY + (map.height() - 1) * sizeY)});
    return request.positionRounding + std::ldexp(largest, -21);
}

}  // namespace

void CheckToolPathRequest(const HeightMap& map, const ToolPathRequest& request) {
    const CuttingParameters& job = request.parameters;
    const ReliefPlacement& placement = request.placement;
    if (map.width() < 2 || map.height() < 2)
        throw ToolPathError("The picture must be at least 2 x 2 pixels to be machined.");
    if (!(placement.pixelSize > 0.0f) || !IsFinite(placement.pixelSize) || !(placement.cellSizeY() > 0.0f) ||
        !IsFinite(placement.cellSizeY()))
        throw ToolPathError("The pixel size must be greater than 0.");
    if (!IsFinite(placement.workOffsetX) || !IsFinite(placement.workOffsetY))
        throw ToolPathError("The position of the picture is not a number.");
    CutterProfile::FromTool(request.cutter, job.stockAllowance);
    if (!job.rasterAlongX && !job.rasterAlongY)
        throw ToolPathError("Choose at least one raster direction (0° or 90°).");
    if (!(job.stepOver > 0.0) || !IsFinite(job.stepOver)) throw ToolPathError("The step over must be greater than 0.");
    const double smallerCell = std::min(placement.pixelSize, placement.cellSizeY());
    if (job.stepOver < smallerCell / 10.0)
        throw ToolPathError("The step over must be at least a tenth of the pixel size (" +
                            FormatNumber(smallerCell / 10.0) + ").");
    if (!(request.positionRounding >= 0.0) || !IsFinite(request.positionRounding))
        throw ToolPathError("The rounding of written positions must be 0 or more.");
    if (job.passCount < 1 || job.passCount > 255)
        throw ToolPathError("The number of depth cuts must lie between 1 and 255.");
    if (!(job.zStep >= 0.0) || !IsFinite(job.zStep)) throw ToolPathError("The Z step must be 0 or more.");
    if (!(job.filterTolerance >= 0.0f) || !IsFinite(job.filterTolerance))
        throw ToolPathError("The filter must be 0 or more.");
    const double lowestSafe = HighestCell(map) + static_cast<double>(job.stockAllowance);
    if (!(job.feedPlaneZ > lowestSafe) || !IsFinite(job.feedPlaneZ))
        throw ToolPathError("The feed plane (" + FormatNumber(job.feedPlaneZ) +
                            ") must lie above the top of the relief plus the stock to leave (" +
                            FormatNumber(lowestSafe) + ").");
}

ToolPathResult ComputeToolPath(const HeightMap& map, const ToolPathRequest& request, TaskControl* control) {
    CheckToolPathRequest(map, request);
    const CuttingParameters& job = request.parameters;
    const ReliefPlacement& placement = request.placement;
    const CutterProfile profile = CutterProfile::FromTool(request.cutter, job.stockAllowance);
    const GougeFreeDepth depth(map, profile, CellSizes{placement.pixelSize, placement.cellSizeY()},
                               PositionAllowance(map, request), request.threads);

    const RasterPaths paths = BuildRasterPaths(depth, job, placement, request.threads, control);
    if (paths.polylines.empty())
        throw ToolPathError("Nothing to machine: every point of the relief lies in the Z no-cut zone.");
    const std::size_t count = paths.polylines.size();

    ToolPathResult result;
    double liftSum = 0.0;
    for (const RasterPolyline& line : paths.polylines)
        for (const RasterPoint& p : line) {
            const double lift = static_cast<double>(p.z) - p.tipZ;
            liftSum += lift;
            result.largestLift = std::max(result.largestLift, lift);
            ++result.rasterPoints;
        }
    result.meanLift = liftSum / static_cast<double>(result.rasterPoints);

    // Reduced once, machined in every pass.
    result.polylines.resize(count);
    ParallelFor(count, request.threads, control, 0.9, 0.95, [&](std::size_t j) {
        PathPolyline full;
        full.reserve(paths.polylines[j].size());
        for (const RasterPoint& p : paths.polylines[j]) full.push_back(CellPosition(p, placement));
        result.polylines[j] = ReducePolyline(full, job.filterTolerance);
    });

    // How much the lowest pass's ends of each short link would have to rise
    // for the straight feed move to cut nothing; NaN where the distance alone
    // asks for a retract. Links between neighbouring cells were made safe
    // with the raster lines.
    std::vector<double> linkNeed(count, std::numeric_limits<double>::quiet_NaN());
    ParallelFor(count, request.threads, control, 0.95, 0.99, [&](std::size_t j) {
        if (j == 0) return;
        const RasterPoint& end = paths.polylines[j - 1].back();
        const RasterPoint& begin = paths.polylines[j].front();
        if (LinkDistance(CellPosition(end, placement), CellPosition(begin, placement)) > FeedLinkReach(paths)) return;
        const bool neighbours = std::abs(end.cellX - begin.cellX) + std::abs(end.cellY - begin.cellY) <= 1;
        linkNeed[j] =
            neighbours ? 0.0 : depth.sweptLift(end.cellX, end.cellY, end.z, begin.cellX, begin.cellY, begin.z);
    });

    MoveList& moves = result.moves;
    moves.feedPlaneZ = job.feedPlaneZ;
    moves.passCount = job.passCount;
    const double feedZ = job.feedPlaneZ;
    // Every pass machines the lines in order; a line after the first is
    // reached by a plain feed move when its link is short and safe at the
    // pass's height, else by a retract (Rapid up, Rapid across, Plunge). Each
    // pass ends with a Rapid up. What a line's moves are depends on nothing
    // written before them, so where they go is counted first and the moves
    // are written on every core.
    const auto passes = static_cast<std::size_t>(job.passCount);
    auto passDz = [&](std::size_t p) { return (job.passCount - static_cast<int>(p) - 1) * job.zStep; };
    auto feedLink = [&](std::size_t p, std::size_t j) { return j > 0 && linkNeed[j] <= passDz(p); };
    std::vector<std::size_t> first(passes * count + 1, 0);
    for (std::size_t p = 0; p < passes; ++p)
        for (std::size_t j = 0; j < count; ++j) {
            const std::size_t i = p * count + j;
            const std::size_t reach = j == 0 ? 2 : (feedLink(p, j) ? 1 : 3);
            first[i + 1] = first[i] + reach + result.polylines[j].size() - 1 + (j + 1 == count ? 1 : 0);
        }
    for (std::size_t j = 1; j < count; ++j)
        if (!std::isnan(linkNeed[j]) && !feedLink(passes - 1, j)) ++result.unsafeLinks;
    moves.moves.resize(first.back());
    ParallelFor(passes * count, request.threads, control, 0.99, 0.99, [&](std::size_t i) {
        const std::size_t p = i / count;
        const std::size_t j = i % count;
        const double dz = passDz(p);
        const PathPolyline& line = result.polylines[j];
        const PathPoint start{line.front().x, line.front().y, line.front().z + dz};
        Move* out = moves.moves.data() + first[i];
        if (feedLink(p, j)) {
            *out++ = {MoveKind::Feed, start.x, start.y, start.z};
        } else {
            if (j > 0) {
                const PathPoint& last = result.polylines[j - 1].back();
                *out++ = {MoveKind::Rapid, last.x, last.y, feedZ};
            }
            *out++ = {MoveKind::Rapid, start.x, start.y, feedZ};
            *out++ = {MoveKind::Plunge, start.x, start.y, start.z};
        }
        for (std::size_t k = 1; k < line.size(); ++k) *out++ = {MoveKind::Feed, line[k].x, line[k].y, line[k].z + dz};
        if (j + 1 == count) *out++ = {MoveKind::Rapid, line.back().x, line.back().y, feedZ};
    });
    if (control) control->reportProgress(1.0);
    return result;
}

}  // namespace calvoro

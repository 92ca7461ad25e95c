#include "engine/toolpath/PolylineReduction.h"

#include <utility>

namespace calvoro {

namespace {

// The farthest inner point of (first, last) from the segment between them, and
// its squared distance; (0, first) when there is none farther than 0. Each
// point is measured to its nearest point of the segment: the first end, its
// projection, or the last end.
std::pair<double, std::size_t> Farthest(std::span<const PathPoint> points, std::size_t first, std::size_t last) {
    const PathPoint s0 = points[first];
    const PathPoint s1 = points[last];
    const double ux = s1.x - s0.x, uy = s1.y - s0.y, uz = s1.z - s0.z;
    const double cu = ux * ux + uy * uy + uz * uz;
    double best = 0.0;
    std::size_t bestIndex = first;
    const PathPoint* p = points.data();
    for (std::size_t i = first + 1; i < last; ++i) {
        const double wx = p[i].x - s0.x, wy = p[i].y - s0.y, wz = p[i].z - s0.z;
        const double b = wx * ux + wy * uy + wz * uz;
        double rx = s0.x, ry = s0.y, rz = s0.z;
        if (b > cu) {
            rx = s1.x;
            ry = s1.y;
            rz = s1.z;
        } else if (b > 0.0) {
            const double f = b / cu;
            rx = s0.x + f * ux;
            ry = s0.y + f * uy;
            rz = s0.z + f * uz;
        }
        const double dx = p[i].x - rx, dy = p[i].y - ry, dz = p[i].z - rz;
        const double d = dx * dx + dy * dy + dz * dz;
        if (d > best) {
            best = d;
            bestIndex = i;
        }
    }
    return {best, bestIndex};
}

}  // namespace

std::vector<std::uint8_t> DouglasPeuckerKeep(std::span<const PathPoint> points, double tolerance) {
    std::vector<std::uint8_t> keep(points.size(), 0);
    if (points.size() < 2) return keep;
    const double toleranceSquared = tolerance * tolerance;
    keep.front() = 1;
    keep.back() = 1;
    // Ranges still to split; each range is independent of the others, so the
    // order they are taken in does not change the result.
    std::vector<std::pair<std::size_t, std::size_t>> ranges{{0, points.size() - 1}};
    while (!ranges.empty()) {
        const auto [first, last] = ranges.back();
        ranges.pop_back();
        if (first + 1 >= last) continue;
        const auto [best, index] = Farthest(points, first, last);
        if (best > toleranceSquared) {
            keep[index] = 1;
            ranges.emplace_back(first, index);
            ranges.emplace_back(index, last);
        }
    }
    return keep;
}

PathPolyline DouglasPeuckerSimplify(std::span<const PathPoint> points, double tolerance) {
    const std::vector<std::uint8_t> keep = DouglasPeuckerKeep(points, tolerance);
    PathPolyline result;
    for (std::size_t i = 0; i < points.size(); ++i)
        if (keep[i]) result.push_back(points[i]);
    return result;
}

PathPolyline ReducePolyline(const PathPolyline& polyline, float tolerance) {
    return DouglasPeuckerSimplify(polyline, static_cast<double>(tolerance));
}

}  // namespace calvoro

#include "engine/toolpath/PolylineReduction.h"

#include <utility>

namespace calvoro {

namespace {

struct Vector3 {
    double x, y, z;
};

Vector3 Difference(const PathPoint& a, const PathPoint& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
double Dot(const Vector3& a, const Vector3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
double SquaredDistance(const PathPoint& a, const PathPoint& b) {
    const Vector3 d = Difference(a, b);
    return Dot(d, d);
}

// The farthest inner point of (first, last) from the segment between them, and
// its squared distance; (0, first) when there is none farther than 0.
std::pair<double, std::size_t> Farthest(std::span<const PathPoint> points, std::size_t first, std::size_t last) {
    const PathPoint& s0 = points[first];
    const PathPoint& s1 = points[last];
    const Vector3 u = Difference(s1, s0);
    const double cu = Dot(u, u);
    double best = 0.0;
    std::size_t bestIndex = first;
    for (std::size_t i = first + 1; i < last; ++i) {
        const PathPoint& p = points[i];
        const double b = Dot(Difference(p, s0), u);
        double d;
        if (b <= 0.0) {
            d = SquaredDistance(p, s0);
        } else if (b <= cu) {
            const double f = b / cu;
            d = SquaredDistance(p, PathPoint{s0.x + f * u.x, s0.y + f * u.y, s0.z + f * u.z});
        } else {
            d = SquaredDistance(p, s1);
        }
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

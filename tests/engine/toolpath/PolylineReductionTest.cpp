// The reduction: edge cases by hand, the same result as the plain recursion,
// every dropped point within the tolerance, and the worst split order on a
// stack far too small for a recursion.
#include "engine/toolpath/PolylineReduction.h"

#include <gtest/gtest.h>
#include <pthread.h>

#include <cmath>
#include <random>

namespace calvoro {
namespace {

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

}  // namespace
}  // namespace calvoro

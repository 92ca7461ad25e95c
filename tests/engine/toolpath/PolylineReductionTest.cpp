#include "engine/toolpath/PolylineReduction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace calvoro {
namespace {

// Squared distance from p to the segment a-b, as the reduction measures it.
double SegmentDistance2(const PathPoint& p, const PathPoint& a, const PathPoint& b) {
    const double ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
    const double wx = p.x - a.x, wy = p.y - a.y, wz = p.z - a.z;
    const double cu = ux * ux + uy * uy + uz * uz;
    const double t = cu > 0 ? std::clamp((wx * ux + wy * uy + wz * uz) / cu, 0.0, 1.0) : 0.0;
    const double dx = wx - t * ux, dy = wy - t * uy, dz = wz - t * uz;
    return dx * dx + dy * dy + dz * dz;
}

// The reduction written the plain recursive way, the reference the heap-stack
// version must match bit for bit.
void RecursiveStep(const PathPolyline& p, std::size_t first, std::size_t last, double tol2, std::vector<bool>& keep) {
    if (first + 1 >= last) return;
    const PathPoint& s0 = p[first];
    const PathPoint& s1 = p[last];
    const double ux = s1.x - s0.x, uy = s1.y - s0.y, uz = s1.z - s0.z;
    const double cu = ux * ux + uy * uy + uz * uz;
    double best = 0;
    std::size_t index = 0;
    for (std::size_t i = first + 1; i < last; ++i) {
        const double wx = p[i].x - s0.x, wy = p[i].y - s0.y, wz = p[i].z - s0.z;
        const double b = wx * ux + wy * uy + wz * uz;
        PathPoint r = s0;
        if (b > 0 && b <= cu) r = {s0.x + b / cu * ux, s0.y + b / cu * uy, s0.z + b / cu * uz};
        if (b > cu) r = s1;
        const double dx = p[i].x - r.x, dy = p[i].y - r.y, dz = p[i].z - r.z;
        const double d = dx * dx + dy * dy + dz * dz;
        if (d > best) {
            best = d;
            index = i;
        }
    }
    if (best > tol2) {
        keep[index] = true;
        RecursiveStep(p, first, index, tol2, keep);
        RecursiveStep(p, index, last, tol2, keep);
    }
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

TEST(PolylineReductionTest, SmallCases) {
    struct Case {
        const char* what;
        PathPolyline points;
        double tolerance;
        PathPolyline expected;
    } cases[] = {
        {"no points", {}, 0.1, {}},
        {"one point gives no moves", {{1, 2, 3}}, 0.1, {}},
        {"two points are both kept", {{0, 0, 0}, {0, 0, 0}}, 0.1, {{0, 0, 0}, {0, 0, 0}}},
        {"collinear middle point goes at tolerance 0", {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}}, 0.0, {{0, 0, 0}, {2, 2, 2}}},
        {"a point exactly at the tolerance goes", {{0, 0, 0}, {1, 0.5, 0}, {2, 0, 0}}, 0.5, {{0, 0, 0}, {2, 0, 0}}},
        {"a point just beyond it stays",
         {{0, 0, 0}, {1, 0.5, 0}, {2, 0, 0}},
         0.4999,
         {{0, 0, 0}, {1, 0.5, 0}, {2, 0, 0}}},
        {"Z counts like X and Y", {{0, 0, 0}, {1, 0, 0.3}, {2, 0, 0}}, 0.25, {{0, 0, 0}, {1, 0, 0.3}, {2, 0, 0}}},
        {"duplicates collapse", {{0, 0, 0}, {0, 0, 0}, {1, 0, 0}, {1, 0, 0}, {2, 0, 0}}, 0.0, {{0, 0, 0}, {2, 0, 0}}},
        // Measured to the end points, not to the line through them.
        {"behind the first point", {{0, 0, 0}, {-3, 0, 0}, {1, 0, 0}}, 2.9, {{0, 0, 0}, {-3, 0, 0}, {1, 0, 0}}},
        {"beyond the last point", {{0, 0, 0}, {5, 0, 0}, {1, 0, 0}}, 3.9, {{0, 0, 0}, {5, 0, 0}, {1, 0, 0}}},
        {"beyond the last point, within tolerance", {{0, 0, 0}, {1.5, 0, 0}, {1, 0, 0}}, 0.6, {{0, 0, 0}, {1, 0, 0}}},
        {"a closed loop keeps its far point",
         {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {1, 0.1, 0}, {0, 0, 0}},
         0.5,
         {{0, 0, 0}, {2, 0, 0}, {0, 0, 0}}},
        // (1, 1) and (3, 1) lie equally far from the first chord.
        {"the first of equal farthest points wins",
         {{0, 0, 0}, {1, 1, 0}, {2, 0, 0}, {3, 1, 0}, {4, 0, 0}},
         0.9,
         {{0, 0, 0}, {1, 1, 0}, {4, 0, 0}}},
    };
    for (const Case& c : cases) EXPECT_EQ(DouglasPeuckerSimplify(c.points, c.tolerance), c.expected) << c.what;
}

TEST(PolylineReductionTest, DroppedPointsStayWithinTheToleranceAndTheResultIsStable) {
    std::mt19937 random(3);
    std::normal_distribution<double> step(0.0, 1.0);
    for (int round = 0; round < 200; ++round) {
        PathPolyline line;
        PathPoint p;
        const int n = 2 + round * 3;
        for (int i = 0; i < n; ++i) {
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
        // Reducing again changes nothing.
        ASSERT_EQ(ReducePolyline(reduced, tolerance), reduced) << round;
    }
}

TEST(PolylineReductionTest, TheWorstSplitOrderNeedsNoDeepStack) {
    // Each split takes off the last point but one: the splits nest as deep as
    // the point count, which a recursion on the thread's stack would not
    // survive.
    PathPolyline zigzag;
    const int n = 100000;
    for (int i = 0; i < n; ++i) zigzag.push_back({static_cast<double>(i), (i % 2 ? -1.0 : 1.0) * i, 0.0});
    EXPECT_EQ(DouglasPeuckerSimplify(zigzag, 0.5).size(), zigzag.size());
}

}  // namespace
}  // namespace calvoro

// Plane geometry: the shared tolerance, quadrants, and the intersections of
// segments and circles.
#include "kernel/geometry/PlaneGeometry.h"

#include "kernel/geometry/GeomTolerance.h"
#include "kernel/geometry/Vector3D.h"
#include "tests/support/Drawings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <stdexcept>
#include <vector>

using namespace calvoro;

namespace {

TPoint2D P(double x, double y) {
    return MakePoint2D(x, y);
}

TEST(VectorQuadrant, EachHalfAxisBelongsToOneQuadrant) {
    const int cases[][3] = {{1, 0, 1}, {0, 1, 2}, {-1, 0, 3}, {0, -1, 4}, {0, 0, 0}, {-2, -3, 3}};
    for (const auto& c : cases) EXPECT_EQ(VectorQuadrant(c[0], c[1]), c[2]) << c[0] << " " << c[1];
}

TEST(LineCircleIntersection, GivesThePartOfTheSegmentInsideTheCircle) {
    struct Case {
        const char* what;
        double ax, ay, bx, by;
        int count;
        double x0, y0, x1, y1;
    };
    const Case cases[] = {
        {"both inside", -1, 0, 1, 2, 2, -1, 0, 1, 2},
        {"both on", 0, 5, 5, 0, 3, 0, 5, 5, 0},
        {"start inside", 0, 3, 10, 3, 2, 0, 3, 4, 3},
        {"end inside", -10, 3, 1, 3, 2, -4, 3, 1, 3},
        {"leaves from its start", 5, 0, 10, 0, 2, 10, 0, 5, 0},
        {"arrives at its end", 10, 0, 5, 0, 2, 10, 0, 5, 0},
        {"tangent", -10, 5, 10, 5, 1, 0, 5, 0, 5},
        {"chord", -10, 3, 10, 3, 3, -4, 3, 4, 3},
        {"through the centre", -10, 0, 10, 0, 3, -5, 0, 5, 0},
        {"passes by", -10, 6, 10, 6, 0, 0, 0, 0, 0},
        // Starting (or ending) on the circle and passing through it: both
        // points are real crossings, never unset points.
        {"on at the start", -3, 4, 10, 4, 3, -3, 4, 3, 4},
        {"on at the end", 10, 4, -3, 4, 3, 3, 4, -3, 4},
        {"on after a break", 5, 0, -10, -0.0, 3, 5, 0, -5, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const TLineCircleIntersection r = LineCircleIntersection(5.0, P(0, 0), MakeSegment2D(c.ax, c.ay, c.bx, c.by));
        ASSERT_EQ(r.Count, c.count);
        if (c.count == 0) continue;
        EXPECT_POINT_EQ(r.Points[0], c.x0, c.y0);
        EXPECT_POINT_EQ(r.Points[1], c.x1, c.y1);
        if (c.count == 3) {
            EXPECT_EQ(PointCircleRelation(5, P(0, 0), r.Points[0]), 0);
            EXPECT_EQ(PointCircleRelation(5, P(0, 0), r.Points[1]), 0);
        }
    }
}

TEST(CircleCircleIntersection, CrossingAndTouchingCirclesMeetConcentricAndNestedOnesNever) {
    struct Case {
        const char* what;
        double r1, x1, y1, r2, x2, y2;
        bool meet;
        double px, py, qx, qy;
    };
    const Case cases[] = {
        {"crossing", 5, 0, 0, 5, 8, 0, true, 4, -3, 4, 3},
        {"crossing swapped", 5, 8, 0, 5, 0, 0, true, 4, 3, 4, -3},
        {"touching outside", 2, 0, 0, 3, 5, 0, true, 2, 0, 2, 0},
        {"touching inside", 5, 0, 0, 3, 2, 0, true, 5, 0, 5, 0},
        {"touching inside by a hair", 5, 0, 0, 3, 1.99999, 0, true, 5, 0, 5, 0},
        {"same circle", 5, 1, 1, 5, 1, 1, false, 0, 0, 0, 0},
        {"concentric", 5, 1, 1, 3, 1, 1, false, 0, 0, 0, 0},
        {"nested", 5, 0, 0, 1, 1, 0, false, 0, 0, 0, 0},
        {"nested the other way", 1, 1, 0, 5, 0, 0, false, 0, 0, 0, 0},
        {"apart", 1, 0, 0, 1, 3, 0, false, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(CirclesMeet(c.r1, P(c.x1, c.y1), c.r2, P(c.x2, c.y2)), c.meet);
        const TCircleCircleIntersection r = CircleCircleIntersection(c.r1, P(c.x1, c.y1), c.r2, P(c.x2, c.y2));
        ASSERT_EQ(r.Count, c.meet ? 2 : 0);
        EXPECT_POINT_NEAR(r.Points[0], c.px, c.py, 1e-4);  // (0, 0) when they do not meet: never NaN
        EXPECT_POINT_NEAR(r.Points[1], c.qx, c.qy, 1e-4);
        EXPECT_TRUE(r.Points[0].W == 1 && r.Points[1].W == 1);
    }
}

}  // namespace

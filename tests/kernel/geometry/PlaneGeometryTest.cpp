// Plane geometry: the shared tolerance, angles, projections, 2D and 3D
// vectors, and the intersections of segments and circles.
#include "kernel/geometry/PlaneGeometry.h"

#include "kernel/geometry/GeomTolerance.h"
#include "kernel/geometry/Vector3D.h"
#include "tests/kernel/geometry/GeometryTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <stdexcept>
#include <vector>

using namespace calvoro;

namespace {

constexpr double kPi = std::numbers::pi;

TPoint2D P(double x, double y) {
    return MakePoint2D(x, y);
}

// Runs while the program's statics are built, before main: the tolerance must
// already hold its value then.
const bool kComparedBeforeMain = IsSameValue(1.0, 1.00004) && !IsSameValue(1.0, 1.0001);

TEST(GeomTolerance, HoldsItsDefaultBeforeMainAndRefusesNonsense) {
    EXPECT_TRUE(kComparedBeforeMain);
    EXPECT_TRUE(IsSameValueEps(0.5, 0.25, 0.25) && IsSameValueEps(0.25, 0.5, 0.25));  // both bounds count
    EXPECT_TRUE(IsGreaterOrSame(1.0, 1.0 + 4e-5));
    EXPECT_FALSE(IsGreaterOrSame(1.0, 1.0001));
    SetGeomTolerance(0.01);
    EXPECT_TRUE(IsSameValue(1.0, 1.005));
    EXPECT_THROW(SetGeomTolerance(-1e-6), std::invalid_argument);
    EXPECT_THROW(SetGeomTolerance(std::nan("")), std::invalid_argument);
    EXPECT_EQ(GeomTolerance(), 0.01);
    SetGeomTolerance(kDefaultGeomTolerance);
    EXPECT_EQ(GeomTolerance(), 5e-05);
}

TEST(SweepAngle, FollowsTheDirectionAndGivesAFullTurnForEqualAngles) {
    const double turn = static_cast<double>(kFullTurn);
    const double cases[][4] = {{1, 0.5, 0.5, turn},        {-1, 0.5, 0.5, turn},      {1, 1.0, 0.5, turn - 0.5},
                               {-1, 0.5, 1.0, turn - 0.5}, {0, 1.0, 0.5, turn - 0.5}, {7, 0.5, 0.5, 0.0}};
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(SweepAngle(int(c[0]), c[1], c[2]), c[3]) << c[0] << " " << c[1];
    EXPECT_DOUBLE_EQ(SweepAngleCCW(true, 1.0, 0.5), 0.5);
}

TEST(VectorQuadrant, EachHalfAxisBelongsToOneQuadrant) {
    const int cases[][3] = {{1, 0, 1}, {0, 1, 2}, {-1, 0, 3}, {0, -1, 4}, {0, 0, 0}, {-2, -3, 3}};
    for (const auto& c : cases) EXPECT_EQ(VectorQuadrant(c[0], c[1]), c[2]) << c[0] << " " << c[1];
}

TEST(Points, HomogeneousPointsAreDividedOutOnlyWhereTheRoutineSaysSo) {
    EXPECT_EQ(CartesianPoint(TPoint2D{4, 6, 2}), (TPoint2D{2, 3, 1}));
    EXPECT_EQ(CartesianPoint(TPoint2D{4, 6, 0}), (TPoint2D{4, 6, 0}));  // a direction stays
    EXPECT_TRUE(IsSamePoint2D(TPoint2D{2, 4, 2}, TPoint2D{1, 2, 1}));
    EXPECT_FALSE(IsSamePoint2D(TPoint2D{2, 4, 2}, TPoint2D{1, 2, 2}));    // equal W: compared as stored
    EXPECT_EQ(PointDistance(TPoint2D{0, 0, 1}, TPoint2D{3, 4, 7}), 5.0);  // W ignored
    EXPECT_EQ(PointsVector2D(TPoint2D{1, 1, 1}, TPoint2D{6, 8, 2}), (TVector2D{2, 3}));
    EXPECT_EQ(UnitVector2D(TVector2D{0, 0}), (TVector2D{0, 0}));
}

TEST(Projections, ClosestPointIsClampedTheFootIsNotAndNoLengthGivesThePoint) {
    const TPoint2D a = P(0, 0), b = P(4, 0);
    const TPoint2D cases[][3] = {{P(-3, 2), a, P(-3, 0)}, {P(1, 5), P(1, 0), P(1, 0)}, {P(9, -1), b, P(9, 0)}};
    for (const auto& c : cases) {
        EXPECT_EQ(ClosestPointOnSegment(c[0], a, b), c[1]) << c[0];
        EXPECT_EQ(PerpendicularFoot(c[0], a, b), c[2]) << c[0];
    }
    EXPECT_EQ(ClosestPointOnSegment(P(5, 5), P(1, 1), P(1, 1)), P(1, 1));
    EXPECT_EQ(PerpendicularFoot(P(5, 5), P(1, 1), P(1, 1)), P(1, 1));
    EXPECT_POINT_EQ(PointTowards(P(1, 1), P(4, 5), -5), -2, -3);
    EXPECT_EQ(PointTowards(P(2, 3), P(2, 3), 5), P(2, 3));
}

TEST(VectorAngle, IsExactForParallelAndOppositeVectors) {
    struct Case {
        TVector2D u, v;
        double angle;
    };
    const Case cases[] = {
        {{1, 1}, {2, 2}, 0.0},     {{0.1, 0.3}, {0.1, 0.3}, 0.0},
        {{3, -7}, {-6, 14}, kPi},  {{1, 0}, {-1e-300, 0}, kPi},
        {{1, 0}, {0, 5}, kPi / 2}, {{0, 0}, {1, 1}, 0.0},
        {{1, 1}, {0, 0}, 0.0},     {{1e200, 1e200}, {1e200, 1e200}, 0.0},
    };
    for (const auto& c : cases) EXPECT_EQ(VectorAngle(c.u, c.v), c.angle) << c.u << " " << c.v;
    for (double angle : {1e-9, 0.3, 1.2, 2.9, kPi - 1e-9}) {
        const TVector2D v = RotateVector2D(TVector2D{2.5, 0}, angle);
        EXPECT_NEAR(VectorAngle(TVector2D{1, 0}, v), angle, 1e-15) << angle;
        EXPECT_NEAR(VectorAngle(v, TVector2D{1, 0}), angle, 1e-15) << angle;
    }
}

TEST(PlaneHelpers, OrthoConstraintPrefersVerticalAndTheMinimumIsTheFirstBelowTheStart) {
    const TPoint2D ortho[][2] = {{P(4, 4), P(1, 4)}, {P(5, 2), P(5, 1)}, {TPoint2D{10, 4, 2}, P(5, 1)}};
    for (const auto& c : ortho) {
        TPoint2D p1 = c[0];
        ConstrainOrtho2D(P(1, 1), p1);
        EXPECT_EQ(p1, c[1]) << c[0];
    }
    EXPECT_EQ(IndexOfMinimum(std::vector<double>{3, 1, 1}), 1);
    EXPECT_EQ(IndexOfMinimum(std::vector<double>{9999999.1234, 1e8, 9999999.0}), 2);
}

TEST(Vector3D, CrossProductsAndNormalsAreFormedInDouble) {
    EXPECT_EQ(CrossProduct3D(TVector3D{2, 3, 4}, TVector3D{5, 6, 7}), (TVector3D{-3, 6, -3}));
    EXPECT_EQ(Normalize3D(TVector3D{}), TVector3D{});
    EXPECT_EQ(Normalize3D(TVector3D{1e-30f, 0, 0}), (TVector3D{1, 0, 0}));  // no underflow to zero
    EXPECT_EQ(FacetNormal(TVector3D{1, 2, 3}, TVector3D{2, 4, 6}), TVector3D{});
    // A relief facet one cell along X and Y with height steps -2 and 3: (2, -3, 1) made unit.
    const TVector3D n = FacetNormal(TVector3D{1, 0, -2}, TVector3D{0, 1, 3});
    EXPECT_FLOAT_EQ(n.X, float(2 / std::sqrt(14.0)));
    EXPECT_FLOAT_EQ(n.Y, float(-3 / std::sqrt(14.0)));
    EXPECT_FLOAT_EQ(n.Z, float(1 / std::sqrt(14.0)));
}

TEST(PointCircleRelation, InsideFirstThenOnWithinTheToleranceOfTheSquares) {
    const double cases[][3] = {{1, 1, -1}, {3, 1, 0}, {3.00001, 1, 0}, {3.0001, 1, 1}, {2.99999, 1, -1}};
    for (const auto& c : cases) EXPECT_EQ(PointCircleRelation(2.0, P(1, 1), P(c[0], c[1])), c[2]) << c[0];
    EXPECT_TRUE(LineMeetsCircle(1, P(0, 0), P(7, 1), P(8, 1)));  // the infinite line, tangent
    EXPECT_FALSE(LineMeetsCircle(1, P(0, 0), P(-5, 1.1), P(5, 1.1)));
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

TEST(SegmentIntersection, CrossingTouchingAndParallelSegments) {
    struct Case {
        const char* what;
        double x1, y1, x2, y2, x3, y3, x4, y4;
        bool hit;
        double x, y;
    };
    const Case cases[] = {
        {"crossing", 0, 0, 8, 4, 2, 4, 6, 0, true, 4, 2},
        {"L with a common corner", 0, 0, 2, 0, 2, 0, 2, 3, false, 0, 0},
        {"common corner within the tolerance", 0, 0, 2, 0, 2.00001, 0, 2, 3, false, 0, 0},
        {"T touch", 0, 0, 2, 0, 1, 0, 1, 2, true, 1, 0},
        {"collinear overlap", 0, 0, 4, 0, 2, 0, 6, 0, true, 2, 0},
        {"parallel apart", 0, 0, 4, 0, 0, 1, 4, 1, false, 0, 0},
        {"parallel with overlapping boxes", 0, 0, 4, 4, 1, 0, 5, 4, false, 0, 0},
        {"lines cross beyond the segments", 0, 0, 1, 1, 0, 3, 3, 0, false, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto r = SegmentIntersection(P(c.x1, c.y1), P(c.x2, c.y2), P(c.x3, c.y3), P(c.x4, c.y4));
        ASSERT_EQ(r.has_value(), c.hit);
        if (r) EXPECT_POINT_EQ(*r, c.x, c.y);
    }
}

}  // namespace

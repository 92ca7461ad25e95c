#include "kernel/geometry/PlaneGeometry.h"

#include "tests/kernel/geometry/GeometryTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

using namespace calvoro;

namespace {

constexpr double kPi = std::numbers::pi;
const double kTurn = static_cast<double>(kFullTurn);

TEST(SweepAngle, FollowsTheDirectionAndGivesAFullTurnForEqualAngles) {
    struct Case {
        int dir;
        double a, b, expected;
    };
    const Case cases[] = {
        {1, 0.5, 0.5, kTurn}, {-1, 0.5, 0.5, kTurn},       {1, 1.0, 0.5, kTurn - 0.5},   {-1, 1.0, 0.5, 0.5},
        {1, 0.5, 1.0, 0.5},   {-1, 0.5, 1.0, kTurn - 0.5}, {0, 0.5, 1.0, 0.5},           {0, 1.0, 0.5, kTurn - 0.5},
        {7, 0.5, 0.5, 0.0},   {1, -kPi / 2, kPi / 2, kPi}, {-1, -kPi / 2, kPi / 2, kPi},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(SweepAngle(c.dir, c.a, c.b), c.expected) << c.dir << " " << c.a << " " << c.b;
    EXPECT_EQ(SweepAngleCCW(true, 1.0, 0.5), SweepAngle(-1, 1.0, 0.5));
    EXPECT_EQ(SweepAngleCCW(false, 1.0, 0.5), SweepAngle(1, 1.0, 0.5));
}

TEST(VectorQuadrant, EachHalfAxisBelongsToOneQuadrant) {
    struct Case {
        double x, y;
        int quadrant;
    };
    const Case cases[] = {{1, 0, 1}, {0, 1, 2},  {-1, 0, 3},  {0, -1, 4}, {0, 0, 0},
                          {2, 3, 1}, {-2, 3, 2}, {-2, -3, 3}, {2, -3, 4}};
    for (const auto& c : cases) {
        EXPECT_EQ(VectorQuadrant(c.x, c.y), c.quadrant) << c.x << " " << c.y;
        EXPECT_EQ(VectorQuadrant(TVector2D{c.x, c.y}), c.quadrant);
    }
}

TEST(Points, HomogeneousPointsAreDividedOutOnlyWhereTheRoutineSaysSo) {
    EXPECT_EQ(CartesianPoint(TPoint2D{4, 6, 2}), (TPoint2D{2, 3, 1}));
    EXPECT_EQ(CartesianPoint(TPoint2D{4, 6, 0}), (TPoint2D{4, 6, 0}));
    EXPECT_TRUE(IsSamePoint2D(TPoint2D{2, 4, 2}, TPoint2D{1, 2, 1}));
    EXPECT_FALSE(IsSamePoint2D(TPoint2D{2, 4, 2}, TPoint2D{1, 2, 2}));  // equal W: compared as stored
    EXPECT_TRUE(IsSamePoint(1.0, 2.0, 1.00004, 1.99996));
    EXPECT_EQ(PointDistance(TPoint2D{0, 0, 1}, TPoint2D{3, 4, 7}), 5.0);  // W ignored
    EXPECT_EQ(PointDistance2D(TPoint2D{0, 0, 1}, TPoint2D{6, 8, 2}), 5.0);
    EXPECT_EQ(PointsVector2D(TPoint2D{1, 1, 1}, TPoint2D{6, 8, 2}), (TVector2D{2, 3}));
    EXPECT_EQ(PointsVector2D(TPoint2D{2, 2, 2}, TPoint2D{6, 8, 2}), (TVector2D{4, 6}));
    EXPECT_EQ(UnitVector2D(TVector2D{0, 0}), (TVector2D{0, 0}));
}

TEST(Projections, ClosestPointIsClampedAndTheFootIsNot) {
    const TPoint2D a = MakePoint2D(0, 0);
    const TPoint2D b = MakePoint2D(4, 0);
    struct Case {
        TPoint2D p;
        TPoint2D closest, foot;
    };
    const Case cases[] = {
        {MakePoint2D(-3, 2), a, MakePoint2D(-3, 0)},
        {MakePoint2D(1, 5), MakePoint2D(1, 0), MakePoint2D(1, 0)},
        {MakePoint2D(9, -1), b, MakePoint2D(9, 0)},
        {MakePoint2D(4, 3), b, b},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ClosestPointOnSegment(c.p, a, b), c.closest) << c.p;
        EXPECT_EQ(PerpendicularFoot(c.p, a, b), c.foot) << c.p;
    }
    // A segment of no length has one point, and a line through one point no
    // direction: both give that point rather than dividing by zero.
    EXPECT_EQ(ClosestPointOnSegment(MakePoint2D(5, 5), MakePoint2D(1, 1), MakePoint2D(1, 1)), MakePoint2D(1, 1));
    EXPECT_EQ(PerpendicularFoot(MakePoint2D(5, 5), MakePoint2D(1, 1), MakePoint2D(1, 1)), MakePoint2D(1, 1));
}

TEST(Projections, PointTowardsWalksAlongTheRay) {
    EXPECT_POINT_EQ(PointTowards(MakePoint2D(1, 1), MakePoint2D(4, 5), 10), 7, 9);
    EXPECT_POINT_EQ(PointTowards(MakePoint2D(1, 1), MakePoint2D(4, 5), -5), -2, -3);
    EXPECT_POINT_EQ(PointTowards(1, 1, 1, 3, 0.5), 1, 1.5);
    EXPECT_EQ(PointTowards(MakePoint2D(2, 3), MakePoint2D(2, 3), 5), MakePoint2D(2, 3));
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

TEST(ConstrainOrtho2D, TieGivesAVerticalLine) {
    struct Case {
        TPoint2D p1, expected;
    };
    const TPoint2D p0 = MakePoint2D(1, 1);
    const Case cases[] = {
        {MakePoint2D(4, 4), MakePoint2D(1, 4)},  {MakePoint2D(-2, -2), MakePoint2D(1, -2)},
        {MakePoint2D(5, 2), MakePoint2D(5, 1)},  {MakePoint2D(2, -7), MakePoint2D(1, -7)},
        {TPoint2D{10, 4, 2}, MakePoint2D(5, 1)},
    };
    for (const auto& c : cases) {
        TPoint2D p1 = c.p1;
        ConstrainOrtho2D(p0, p1);
        EXPECT_EQ(p1, c.expected) << c.p1;
    }
}

TEST(IndexOfMinimum, FirstStrictlySmallestBelowTheStartValueWins) {
    struct Case {
        std::vector<double> values;
        int index;
    };
    const Case cases[] = {
        {{3, 1, 1}, 1}, {{5, 4, 2}, 2}, {{}, 0}, {{1e8, 1e9}, 0}, {{9999999.1234, 1e8, 9999999.0}, 2},
    };
    for (const auto& c : cases) EXPECT_EQ(IndexOfMinimum(c.values), c.index);
}

}  // namespace

#include "kernel/geometry/PlaneGeometry.h"

#include "tests/kernel/geometry/GeometryTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

using namespace calvoro;

namespace {

bool IsFinite(const TPoint2D& p) {
    return std::isfinite(p.X) && std::isfinite(p.Y) && std::isfinite(p.W);
}

TEST(PointCircleRelation, InsideFirstThenOnWithinTheToleranceOfTheSquares) {
    const TPoint2D centre = MakePoint2D(1, 1);
    struct Case {
        double x, y;
        int relation;
    };
    const Case cases[] = {
        {1, 1, -1},       {3, 1, 0}, {1, -1, 0}, {3.00001, 1, 0},  // squared distance 4.00004: on
        {3.0001, 1, 1},                                            // 4.0004: outside
        {2.99999, 1, -1},                                          // a hair inside is inside, never "on"
        {10, 10, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PointCircleRelation(2.0, centre, MakePoint2D(c.x, c.y)), c.relation) << c.x << " " << c.y;
}

TEST(LineMeetsCircle, TangentLinesMeetAndLinesBeyondDoNot) {
    const TPoint2D centre = MakePoint2D(0, 0);
    EXPECT_TRUE(LineMeetsCircle(1, centre, MakePoint2D(-5, 1), MakePoint2D(5, 1)));
    EXPECT_TRUE(LineMeetsCircle(1, centre, MakePoint2D(7, 0.5), MakePoint2D(8, 0.5)));  // the infinite line
    EXPECT_FALSE(LineMeetsCircle(1, centre, MakePoint2D(-5, 1.1), MakePoint2D(5, 1.1)));
}

struct LineCircleCase {
    const char* what;
    TPoint2D a, b;
    int count;
    TPoint2D first, second;
};

TEST(LineCircleIntersection, GivesThePartOfTheSegmentInsideTheCircle) {
    const TPoint2D o = MakePoint2D(0, 0);
    const LineCircleCase cases[] = {
        {"both inside", MakePoint2D(-1, 0), MakePoint2D(1, 2), 2, MakePoint2D(-1, 0), MakePoint2D(1, 2)},
        {"both on", MakePoint2D(0, 5), MakePoint2D(5, 0), 3, MakePoint2D(0, 5), MakePoint2D(5, 0)},
        {"start inside", MakePoint2D(0, 3), MakePoint2D(10, 3), 2, MakePoint2D(0, 3), MakePoint2D(4, 3)},
        {"end inside", MakePoint2D(-10, 3), MakePoint2D(1, 3), 2, MakePoint2D(-4, 3), MakePoint2D(1, 3)},
        {"inside to on", MakePoint2D(0, 0), MakePoint2D(3, 4), 2, MakePoint2D(0, 0), MakePoint2D(3, 4)},
        {"leaves from its start", MakePoint2D(5, 0), MakePoint2D(10, 0), 2, MakePoint2D(10, 0), MakePoint2D(5, 0)},
        {"arrives at its end", MakePoint2D(10, 0), MakePoint2D(5, 0), 2, MakePoint2D(10, 0), MakePoint2D(5, 0)},
        {"tangent", MakePoint2D(-10, 5), MakePoint2D(10, 5), 1, MakePoint2D(0, 5), MakePoint2D(0, 5)},
        {"chord", MakePoint2D(-10, 3), MakePoint2D(10, 3), 3, MakePoint2D(-4, 3), MakePoint2D(4, 3)},
        {"diagonal through the centre", MakePoint2D(-10, -10), MakePoint2D(10, 10), 3,
         MakePoint2D(-5 / std::sqrt(2.0), -5 / std::sqrt(2.0)), MakePoint2D(5 / std::sqrt(2.0), 5 / std::sqrt(2.0))},
        {"through the centre", MakePoint2D(-10, 0), MakePoint2D(10, 0), 3, MakePoint2D(-5, 0), MakePoint2D(5, 0)},
        {"passes by", MakePoint2D(-10, 6), MakePoint2D(10, 6), 0, TPoint2D{}, TPoint2D{}},
        {"stops short", MakePoint2D(6, 0), MakePoint2D(10, 0), 0, TPoint2D{}, TPoint2D{}},
    };
    for (const auto& c : cases) {
        const TLineCircleIntersection r = LineCircleIntersection(5.0, o, c.a, c.b);
        SCOPED_TRACE(c.what);
        ASSERT_EQ(r.Count, c.count);
        EXPECT_POINT_NEAR(r.Points[0], c.first.X, c.first.Y, 1e-12);
        EXPECT_POINT_NEAR(r.Points[1], c.second.X, c.second.Y, 1e-12);
    }
}

TEST(LineCircleIntersection, ASegmentStartingOnTheCircleAndPassingThroughGivesBothPoints) {
    // The segment touches the circle at one end, dips inside and leaves it
    // again before its far end outside. Both points are real crossings.
    const TPoint2D o = MakePoint2D(0, 0);
    const LineCircleCase cases[] = {
        {"on at the start", MakePoint2D(-3, 4), MakePoint2D(10, 4), 3, MakePoint2D(-3, 4), MakePoint2D(3, 4)},
        {"on at the end", MakePoint2D(10, 4), MakePoint2D(-3, 4), 3, MakePoint2D(3, 4), MakePoint2D(-3, 4)},
        {"on after a break", MakePoint2D(5, 0), MakePoint2D(-10, -0.0), 3, MakePoint2D(5, 0), MakePoint2D(-5, 0)},
    };
    for (const auto& c : cases) {
        const TLineCircleIntersection r = LineCircleIntersection(5.0, o, c.a, c.b);
        SCOPED_TRACE(c.what);
        ASSERT_EQ(r.Count, c.count);
        EXPECT_POINT_EQ(r.Points[0], c.first.X, c.first.Y);
        EXPECT_POINT_EQ(r.Points[1], c.second.X, c.second.Y);
        EXPECT_EQ(PointCircleRelation(5.0, o, r.Points[0]), 0);
        EXPECT_EQ(PointCircleRelation(5.0, o, r.Points[1]), 0);
    }
    const TLineCircleIntersection fromSegment = LineCircleIntersection(5.0, o, MakeSegment2D(-3, 4, 10, 4));
    EXPECT_EQ(fromSegment.Count, 3);
    EXPECT_POINT_EQ(fromSegment.Points[1], 3, 4);
}

struct CirclePairCase {
    const char* what;
    double r1;
    TPoint2D c1;
    double r2;
    TPoint2D c2;
    bool meet;
    TPoint2D first, second;
};

TEST(CircleCircleIntersection, CrossingAndTouchingCirclesGiveTheirPointsInOrder) {
    const CirclePairCase cases[] = {
        {"crossing", 5, MakePoint2D(0, 0), 5, MakePoint2D(8, 0), true, MakePoint2D(4, -3), MakePoint2D(4, 3)},
        {"crossing swapped", 5, MakePoint2D(8, 0), 5, MakePoint2D(0, 0), true, MakePoint2D(4, 3), MakePoint2D(4, -3)},
        {"touching outside", 2, MakePoint2D(0, 0), 3, MakePoint2D(5, 0), true, MakePoint2D(2, 0), MakePoint2D(2, 0)},
        {"touching inside", 5, MakePoint2D(0, 0), 3, MakePoint2D(2, 0), true, MakePoint2D(5, 0), MakePoint2D(5, 0)},
        {"touching inside by a hair", 5, MakePoint2D(0, 0), 3, MakePoint2D(1.99999, 0), true, MakePoint2D(5, 0),
         MakePoint2D(5, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(CirclesMeet(c.r1, c.c1, c.r2, c.c2), c.meet);
        const TCircleCircleIntersection r = CircleCircleIntersection(c.r1, c.c1, c.r2, c.c2);
        ASSERT_EQ(r.Count, 2);
        EXPECT_POINT_NEAR(r.Points[0], c.first.X, c.first.Y, 1e-4);
        EXPECT_POINT_NEAR(r.Points[1], c.second.X, c.second.Y, 1e-4);
        EXPECT_TRUE(IsFinite(r.Points[0]) && IsFinite(r.Points[1]));
    }
}

TEST(CircleCircleIntersection, ConcentricNestedAndDistantCirclesDoNotMeet) {
    const CirclePairCase cases[] = {
        {"same circle", 5, MakePoint2D(1, 1), 5, MakePoint2D(1, 1), false, {}, {}},
        {"concentric", 5, MakePoint2D(1, 1), 3, MakePoint2D(1, 1), false, {}, {}},
        {"nested", 5, MakePoint2D(0, 0), 1, MakePoint2D(1, 0), false, {}, {}},
        {"nested the other way", 1, MakePoint2D(1, 0), 5, MakePoint2D(0, 0), false, {}, {}},
        {"apart", 1, MakePoint2D(0, 0), 1, MakePoint2D(3, 0), false, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(CirclesMeet(c.r1, c.c1, c.r2, c.c2));
        const TCircleCircleIntersection r = CircleCircleIntersection(c.r1, c.c1, c.r2, c.c2);
        EXPECT_EQ(r.Count, 0);
        EXPECT_TRUE(IsFinite(r.Points[0]) && IsFinite(r.Points[1]));
    }
}

struct SegmentCase {
    const char* what;
    TPoint2D p1, p2, p3, p4;
    std::optional<TPoint2D> expected;
};

TEST(SegmentIntersection, CrossingTouchingAndParallelSegments) {
    const SegmentCase cases[] = {
        {"diagonals of a square", MakePoint2D(0, 0), MakePoint2D(2, 2), MakePoint2D(0, 2), MakePoint2D(2, 0),
         MakePoint2D(1, 1)},
        {"L with a common corner", MakePoint2D(0, 0), MakePoint2D(2, 0), MakePoint2D(2, 0), MakePoint2D(2, 3),
         std::nullopt},
        {"common corner within the tolerance", MakePoint2D(0, 0), MakePoint2D(2, 0), MakePoint2D(2.00001, 0),
         MakePoint2D(2, 3), std::nullopt},
        {"T touch", MakePoint2D(0, 0), MakePoint2D(2, 0), MakePoint2D(1, 0), MakePoint2D(1, 2), MakePoint2D(1, 0)},
        {"collinear overlap", MakePoint2D(0, 0), MakePoint2D(4, 0), MakePoint2D(2, 0), MakePoint2D(6, 0),
         MakePoint2D(2, 0)},
        {"parallel apart", MakePoint2D(0, 0), MakePoint2D(4, 0), MakePoint2D(0, 1), MakePoint2D(4, 1), std::nullopt},
        {"parallel with overlapping boxes", MakePoint2D(0, 0), MakePoint2D(4, 4), MakePoint2D(1, 0), MakePoint2D(5, 4),
         std::nullopt},
        {"lines cross beyond the segments", MakePoint2D(0, 0), MakePoint2D(1, 1), MakePoint2D(0, 3), MakePoint2D(3, 0),
         std::nullopt},
        {"crossing off centre", MakePoint2D(0, 0), MakePoint2D(8, 4), MakePoint2D(2, 4), MakePoint2D(6, 0),
         MakePoint2D(4, 2)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::optional<TPoint2D> r = SegmentIntersection(c.p1, c.p2, c.p3, c.p4);
        ASSERT_EQ(r.has_value(), c.expected.has_value());
        if (r) EXPECT_POINT_EQ(*r, c.expected->X, c.expected->Y);
    }
}

}  // namespace

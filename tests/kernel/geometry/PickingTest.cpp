#include "kernel/geometry/Picking.h"

#include "tests/kernel/geometry/GeometryTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace calvoro;

namespace {

TEST(DistanceToSegment2D, OnlyFeetOnTheSegmentCount) {
    struct Case {
        const char* what;
        TPoint2D p, a, b;
        bool onSegment;
        double d;
    };
    const Case cases[] = {
        {"above the middle", MakePoint2D(2, 3), MakePoint2D(0, 0), MakePoint2D(4, 0), true, 3},
        {"below, reversed", MakePoint2D(1, -0.5), MakePoint2D(4, 0), MakePoint2D(0, 0), true, 0.5},
        {"at the start", MakePoint2D(0, 0), MakePoint2D(0, 0), MakePoint2D(4, 0), true, 0},
        // Its squared length 13 has no exact root: the end must still count.
        {"at the end", MakePoint2D(2, 3), MakePoint2D(0, 0), MakePoint2D(2, 3), true, 0},
        {"beyond the end", MakePoint2D(5, 1), MakePoint2D(0, 0), MakePoint2D(4, 0), false, kNoDistance},
        {"before the start", MakePoint2D(-0.1, 0), MakePoint2D(0, 0), MakePoint2D(4, 0), false, kNoDistance},
        {"no length", MakePoint2D(1, 1), MakePoint2D(1, 1), MakePoint2D(1, 1), false, kNoDistance},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        double d = -1;
        EXPECT_EQ(DistanceToSegment2D(c.p, c.a, c.b, d), c.onSegment);
        EXPECT_DOUBLE_EQ(d, c.d);
    }
}

TEST(IsNearPoint2D, TheApertureIsASquareWithItsEdgesInside) {
    struct Case {
        TPoint2D q;
        bool near;
        double d;
    };
    const TPoint2D p = MakePoint2D(10, 10);
    const Case cases[] = {
        {MakePoint2D(10, 10), true, 0},
        {MakePoint2D(12, 12), true, std::sqrt(8.0)},  // the corner of the square, beyond the circle
        {MakePoint2D(8, 11), true, std::sqrt(5.0)},
        {MakePoint2D(12.5, 10), false, kNoDistance},
        {TPoint2D{24, 22, 2}, true, std::sqrt(5.0)},
    };
    for (const auto& c : cases) {
        double d = -1;
        EXPECT_EQ(IsNearPoint2D(p, c.q, 2.0, d), c.near) << c.q;
        EXPECT_DOUBLE_EQ(d, c.d) << c.q;
    }
}

const std::vector<TPoint2D> kZigZag = {MakePoint2D(0, 0), MakePoint2D(10, 0), MakePoint2D(10, 10)};

TEST(HitPolyline2D, ReportsTheNearestSegmentWithinTheAperture) {
    struct Case {
        const char* what;
        std::vector<TPoint2D> points;
        TPoint2D p;
        bool closed;
        TMatrix2D m;
        int code;
        double d;
    };
    const Case cases[] = {
        {"no points", {}, MakePoint2D(0, 0), false, IdentityMatrix2D, kHitMiss, kNoDistance},
        {"one point", {MakePoint2D(1, 1)}, MakePoint2D(1, 1), true, IdentityMatrix2D, kHitMiss, kNoDistance},
        {"near the first segment", kZigZag, MakePoint2D(5, 1.5), false, IdentityMatrix2D, kHitOutline, 1.5},
        {"nearer the second", kZigZag, MakePoint2D(9, 1.5), false, IdentityMatrix2D, kHitOutline, 1},
        {"exactly at the aperture", kZigZag, MakePoint2D(5, 2), false, IdentityMatrix2D, kHitOutline, 2},
        {"beyond the aperture", kZigZag, MakePoint2D(5, 2.5), false, IdentityMatrix2D, kHitMiss, kNoDistance},
        {"near the closing segment, open", kZigZag, MakePoint2D(4, 5), false, IdentityMatrix2D, kHitMiss, kNoDistance},
        {"near the closing segment, closed", kZigZag, MakePoint2D(4, 5), true, IdentityMatrix2D, kHitOutline,
         std::sqrt(0.5)},
        {"through the view matrix", kZigZag, MakePoint2D(15, 1), false, ScalingMatrix2D(2, 2), kHitOutline, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        double d = -1;
        EXPECT_EQ(HitPolyline2D(c.points, c.p, 2.0, c.closed, c.m, d), c.code);
        EXPECT_DOUBLE_EQ(d, c.d);
    }
}

TEST(HitPolyline2D, PointsAreMadeCartesianAfterTheTransform) {
    TMatrix2D projective;
    projective.M[2][2] = 2;  // halves every point
    double d = -1;
    EXPECT_EQ(HitPolyline2D(kZigZag, MakePoint2D(5.5, 2), 1.0, false, projective, d), kHitOutline);
    EXPECT_DOUBLE_EQ(d, 0.5);
}

TEST(HitPolygon2D, OutlineInsideAndOutside) {
    const std::vector<TPoint2D> square = {MakePoint2D(0, 0), MakePoint2D(10, 0), MakePoint2D(10, 10),
                                          MakePoint2D(0, 10)};
    struct Case {
        const char* what;
        std::vector<TPoint2D> points;
        TPoint2D p;
        int code;
        double d;
    };
    const Case cases[] = {
        {"inside, far from the edges", square, MakePoint2D(5, 5), kHitInside, 1},
        {"inside, near an edge", square, MakePoint2D(5, 0.5), kHitOutline, 0.5},
        {"outside, near an edge", square, MakePoint2D(5, -0.25), kHitOutline, 0.25},
        {"near the closing edge", square, MakePoint2D(0.75, 5), kHitOutline, 0.75},
        {"outside", square, MakePoint2D(15, 5), kHitMiss, kNoDistance},
        {"inside at the aperture from an edge", square, MakePoint2D(5, 1), kHitInside, 1},
        {"no points", {}, MakePoint2D(0, 0), kHitMiss, kNoDistance},
        {"one point", {MakePoint2D(5, 5)}, MakePoint2D(5, 5), kHitMiss, kNoDistance},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        double d = -1;
        EXPECT_EQ(HitPolygon2D(c.points, c.p, 1.0, IdentityMatrix2D, d), c.code);
        EXPECT_DOUBLE_EQ(d, c.d);
    }
}

TEST(HitPolygon2D, ARayThroughAVertexCrossesOncePerStraddlingEdge) {
    // A diamond with vertices on the horizontal through the picked points.
    const std::vector<TPoint2D> diamond = {MakePoint2D(5, 0), MakePoint2D(10, 5), MakePoint2D(5, 10),
                                           MakePoint2D(0, 5)};
    struct Case {
        double x;
        int code;
    };
    const Case cases[] = {{-3, kHitMiss}, {2, kHitInside}, {5, kHitInside}, {8, kHitInside}, {12, kHitMiss}};
    for (const auto& c : cases) {
        double d = -1;
        EXPECT_EQ(HitPolygon2D(diamond, MakePoint2D(c.x, 5), 0.5, IdentityMatrix2D, d), c.code) << c.x;
    }
    // The same shape through a view matrix: mapped first, then tested.
    double d = -1;
    EXPECT_EQ(HitPolygon2D(diamond, MakePoint2D(20, 20), 0.5, ScalingMatrix2D(4, 4), d), kHitInside);
    EXPECT_EQ(d, 0.5);
}

}  // namespace

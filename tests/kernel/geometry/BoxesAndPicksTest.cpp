// World boxes, the clipping of segments to them, and the pick tests with the
// distances they report.
#include "kernel/geometry/Clipping.h"
#include "kernel/geometry/Picking.h"
#include "kernel/geometry/Rect2D.h"

#include "tests/support/Drawings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace calvoro;

namespace {

TPoint2D P(double x, double y) {
    return MakePoint2D(x, y);
}

TEST(ClipSegmentToRect2D, CodesAndExactEndPoints) {
    using Clip = int (*)(const TRect2D&, TPoint2D&, TPoint2D&);
    const Clip both = ClipSegmentToRect2D, x = ClipSegmentToRectX2D, y = ClipSegmentToRectY2D;
    struct Case {
        const char* what;
        Clip clip;
        TPoint2D p0, p1;
        int code;
        TPoint2D clipped0, clipped1;
    };
    // The moved ends land exactly on the edges: the values keep the arithmetic exact.
    const Case cases[] = {
        {"wholly inside", both, P(1, 1), P(3, 2), 8, P(1, 1), P(3, 2)},
        {"on the edges", both, P(0, 0), P(4, 4), 8, P(0, 0), P(4, 4)},
        {"start outside", both, P(-2, 2), P(2, 2), 1, P(0, 2), P(2, 2)},
        {"end outside", both, P(2, 2), P(2, 8), 2, P(2, 2), P(2, 4)},
        {"across", both, P(-2, 1), P(6, 3), 3, P(0, 1.5), P(4, 2.5)},
        {"across, backwards", both, P(6, 3), P(-2, 1), 3, P(4, 2.5), P(0, 1.5)},
        {"across a corner", both, P(-1, 3), P(3, 7), 3, P(0, 4), P(0, 4)},
        {"along the bottom edge", both, P(-1, 0), P(5, 0), 3, P(0, 0), P(4, 0)},
        {"vertical, left of the box", both, P(-1, -1), P(-1, 5), 4, P(-1, -1), P(-1, 5)},
        {"passing a corner", both, P(3, -2), P(6, 1), 4, P(3, -2), P(6, 1)},
        {"no length, inside", both, P(1, 1), P(1, 1), 8, P(1, 1), P(1, 1)},
        {"no length, outside", both, P(5, 2), P(5, 2), 4, P(5, 2), P(5, 2)},
        {"homogeneous ends", both, TPoint2D{-4, 2, 2}, TPoint2D{12, 6, 2}, 3, P(0, 1.5), P(4, 2.5)},
        {"X only: across, above the box", x, P(-2, 10), P(6, 10), 3, P(0, 10), P(4, 10)},
        {"X only: vertical beside the box", x, P(10, -2), P(10, 6), 4, P(10, -2), P(10, 6)},
        {"X only: no length, above", x, P(2, 9), P(2, 9), 8, P(2, 9), P(2, 9)},
        {"Y only: up, beside the box", y, P(10, -2), P(10, 6), 3, P(10, 0), P(10, 4)},
        {"Y only: down, end below", y, P(1, 3), P(3, -1), 2, P(1, 3), P(2.5, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TPoint2D p0 = c.p0, p1 = c.p1;
        EXPECT_EQ(c.clip(MakeRect2D(0, 0, 4, 4), p0, p1), c.code);
        EXPECT_EQ(p0, c.clipped0) << p0;
        EXPECT_EQ(p1, c.clipped1) << p1;
    }
}

TEST(Picking, PolylinesReportTheNearestSegmentWithinTheAperture) {
    const std::vector<TPoint2D> zigZag = {P(0, 0), P(10, 0), P(10, 10)};
    TMatrix2D halving;
    halving.M[2][2] = 2;
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
        {"no points", {}, P(0, 0), false, IdentityMatrix2D, kHitMiss, kNoDistance},
        {"one point", {P(1, 1)}, P(1, 1), true, IdentityMatrix2D, kHitMiss, kNoDistance},
        {"near the first segment", zigZag, P(5, 1.5), false, IdentityMatrix2D, kHitOutline, 1.5},
        {"nearer the second", zigZag, P(9, 1.5), false, IdentityMatrix2D, kHitOutline, 1},
        {"exactly at the aperture", zigZag, P(5, 2), false, IdentityMatrix2D, kHitOutline, 2},
        {"beyond the aperture", zigZag, P(5, 2.5), false, IdentityMatrix2D, kHitMiss, kNoDistance},
        {"near the closing segment, open", zigZag, P(4, 5), false, IdentityMatrix2D, kHitMiss, kNoDistance},
        {"near the closing segment, closed", zigZag, P(4, 5), true, IdentityMatrix2D, kHitOutline, std::sqrt(0.5)},
        {"through the view matrix", zigZag, P(15, 1), false, ScalingMatrix2D(2, 2), kHitOutline, 1},
        {"made cartesian after the matrix", zigZag, P(5.5, 2.5), false, halving, kHitOutline, 0.5},
    };
    for (const auto& c : cases) {
        double d = -1;
        EXPECT_EQ(HitPolyline2D(c.points, c.p, 2.0, c.closed, c.m, d), c.code) << c.what;
        EXPECT_DOUBLE_EQ(d, c.d) << c.what;
    }
}

TEST(Picking, PolygonsTellOutlineInsideAndOutside) {
    const std::vector<TPoint2D> square = {P(0, 0), P(10, 0), P(10, 10), P(0, 10)};
    // Vertices on the horizontal through the picked points: each straddling edge crosses the ray once.
    const std::vector<TPoint2D> diamond = {P(5, 0), P(10, 5), P(5, 10), P(0, 5)};
    struct Case {
        const char* what;
        const std::vector<TPoint2D>& points;
        TPoint2D p;
        TMatrix2D m;
        int code;
        double d;
    };
    const std::vector<TPoint2D> none;
    const TMatrix2D id = IdentityMatrix2D;
    const Case cases[] = {
        {"inside, far from the edges", square, P(5, 5), id, kHitInside, 1},
        {"inside, near an edge", square, P(5, 0.5), id, kHitOutline, 0.5},
        {"outside, near an edge", square, P(5, -0.25), id, kHitOutline, 0.25},
        {"near the closing edge", square, P(0.75, 5), id, kHitOutline, 0.75},
        {"outside", square, P(15, 5), id, kHitMiss, kNoDistance},
        {"inside at the aperture from an edge", square, P(5, 1), id, kHitInside, 1},
        {"no points", none, P(0, 0), id, kHitMiss, kNoDistance},
        {"diamond, left of it", diamond, P(-3, 5), id, kHitMiss, kNoDistance},
        {"diamond, between vertices", diamond, P(2, 5), id, kHitInside, 1},
        {"diamond, right of it", diamond, P(12, 5), id, kHitMiss, kNoDistance},
        {"diamond through the view matrix", diamond, P(20, 20), ScalingMatrix2D(4, 4), kHitInside, 1},
    };
    for (const auto& c : cases) {
        double d = -1;
        EXPECT_EQ(HitPolygon2D(c.points, c.p, 1.0, c.m, d), c.code) << c.what;
        EXPECT_DOUBLE_EQ(d, c.d) << c.what;
    }
}

}  // namespace

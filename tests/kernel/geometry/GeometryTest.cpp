// World boxes, the clipping of segments to them, and the pick tests with the
// distances they report.
//
// Plane geometry: the shared tolerance, quadrants, and the intersections of
// segments and circles.
//
// The points set: growth, the refusals that leave it whole, the cap of what a
// 16-bit count can hold, and copies between sets.
//
// Transforms of the plane: matrices and their inverses, boxes and arc angles
// carried through them, the world-to-screen mapping and the rounding into
// pixels.
#include "kernel/draw/DecorativeCanvas.h"
#include "kernel/draw/RecordingCanvas.h"
#include "kernel/geometry/Clipping.h"
#include "kernel/geometry/GeomTolerance.h"
#include "kernel/geometry/Matrix2D.h"
#include "kernel/geometry/Picking.h"
#include "kernel/geometry/PixelConversion.h"
#include "kernel/geometry/PlaneGeometry.h"
#include "kernel/geometry/PointsSet2D.h"
#include "kernel/geometry/Rect2D.h"
#include "kernel/geometry/Transform2D.h"
#include "kernel/geometry/Vector3D.h"
#include "kernel/geometry/ViewMapping.h"
#include "kernel/model/CADCoreExceptions.h"
#include "tests/support/Drawings.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <numbers>
#include <stdexcept>
#include <string>
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


// Appends the points (i, 10 * i) for i < count.
void Fill(TPointsSet2D& set, int count) {
    for (int i = 0; i < count; ++i) set.Put(set.Count(), P(i, 10 * i));
}

std::vector<TPoint2D> Contents(const TPointsSet2D& set) {
    return {set.Points().begin(), set.Points().end()};
}

TEST(PointsSet2D, RefusalsLeaveTheSetAsItWasAndNothingPassesSixteenBits) {
    constexpr int kFull = TPointsSet2D::kMaxPoints;
    const TPoint2D one[] = {P(1, 1)}, three[] = {P(1, 1), P(2, 2), P(3, 3)};
    struct Case {
        std::string routine;  // the one the message names
        int capacity, filled;
        bool growable;
        std::function<void(TPointsSet2D&)> action;
    };
    const Case cases[] = {
        {"Put", 2, 2, false, [](TPointsSet2D& s) { s.AppendPoint(P(5, 5)); }},
        {"Put", 2, 2, false, [](TPointsSet2D& s) { s.Insert(0, P(5, 5)); }},
        {"Put", 2, 2, false, [](TPointsSet2D& s) { s.Put(-1, P(5, 5)); }},
        {"Insert", 2, 2, false, [](TPointsSet2D& s) { s.Insert(2, P(5, 5)); }},
        {"Get", 10, 3, true, [](TPointsSet2D& s) { s.Get(3); }},  // the slot exists, the point does not
        {"Get", 2, 2, false, [](TPointsSet2D& s) { s.Get(-1); }},
        {"AddPoints", 4, 2, false, [&](TPointsSet2D& s) { s.AddPoints(three); }},
        {"Put", kFull, kFull, true, [](TPointsSet2D& s) { s.AppendPoint(P(1, 1)); }},
        {"Put", kFull, kFull, true, [](TPointsSet2D& s) { s.Insert(0, P(1, 1)); }},
        {"AddPoints", kFull, kFull, true, [&](TPointsSet2D& s) { s.AddPoints(one); }},
        {"Put", 1, 0, true, [](TPointsSet2D& s) { s.Put(65535, P(1, 1)); }},
        {"Put", 1, 0, true, [](TPointsSet2D& s) { s.Put(70000, P(1, 1)); }},
        {"GrowTo", 1, 0, true, [](TPointsSet2D& s) { s.GrowTo(65536); }},
    };
    for (const auto& c : cases) {
        const std::string message =
            "TPointsSet2D." + c.routine + (c.routine == "Get" ? ": Index out of bound" : ": Vector out of bound");
        SCOPED_TRACE(message);
        TPointsSet2D set(c.capacity);
        Fill(set, c.filled);
        set.SetGrowable(c.growable);
        const std::vector<TPoint2D> before = Contents(set);
        EXPECT_EQ(test::MessageOf<ECADOutOfBound>([&] { c.action(set); }), message);
        EXPECT_EQ(Contents(set), before);
        EXPECT_EQ(set.Capacity(), c.capacity);
    }
    EXPECT_THROW(TPointsSet2D(65536), ECADOutOfBound);
    EXPECT_THROW(TPointsSet2D(-1), ECADOutOfBound);
}


constexpr int kMax = kPixelCoordinateLimit;
const double kInfinity = std::numeric_limits<double>::infinity();

TMatrix2D Rows(std::array<double, 3> r0, std::array<double, 3> r1, std::array<double, 3> r2) {
    TMatrix2D m;
    m.M = {r0, r1, r2};
    return m;
}

const TMatrix2D kProjective = Rows({2, 0.5, 0.01}, {-1, 3, 0.02}, {4, -6, 1.5});
const TMatrix2D kOtherProjective = Rows({1, 0, 0.5}, {0, 1, -0.25}, {0, 0, 2});
const TMatrix2D kPlacement = MultiplyMatrix2D(RotationMatrix2D(0.7), TranslationMatrix2D(12.5, -3));
const TMatrix2D kShear = Rows({1, 0, 0}, {0.75, 2, 0}, {-5, 8, 1});

// Products of affine and projective matrices in either order (each takes its
// own shortcut) come back to the first factor through the inverse of the second.
TEST(Matrix2D, InverseUndoesEveryProductAndSingularMatricesGiveTheNullMatrix) {
    const TMatrix2D matrices[] = {kPlacement,        kShear,      ScalingMatrix2D(1e-3, 250),
                                  MirrorMatrix2D(1), kProjective, kOtherProjective};
    const auto expectNear = [](const TMatrix2D& actual, const TMatrix2D& expected, double eps) {
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) EXPECT_NEAR(actual.M[i][j], expected.M[i][j], eps) << i << j;
    };
    for (const auto& a : matrices) {
        const TMatrix2D inverse = InvertMatrix2D(a);
        expectNear(MultiplyMatrix2D(a, inverse), IdentityMatrix2D, 1e-12);
        expectNear(MultiplyMatrix2D(inverse, a), IdentityMatrix2D, 1e-12);
        for (const auto& b : matrices) expectNear(MultiplyMatrix2D(MultiplyMatrix2D(a, b), InvertMatrix2D(b)), a, 1e-9);
    }
    EXPECT_TRUE(IsAffineMatrix2D(MultiplyMatrix2D(kPlacement, kShear)));
    EXPECT_FALSE(IsAffineMatrix2D(MultiplyMatrix2D(kShear, kOtherProjective)));
    const TMatrix2D singular[] = {
        ScalingMatrix2D(0, 1),
        ScalingMatrix2D(3, 0),
        Rows({1, 2, 0}, {2, 4, 0}, {7, 7, 1}),  // affine, rows dependent
        Rows({1, 2, 3}, {2, 4, 6}, {1, 1, 1}),  // projective, rows dependent
        Rows({0, 0, 0}, {0, 0, 0}, {0, 0, 0}),
    };
    for (const auto& m : singular) EXPECT_EQ(InvertMatrix2D(m), NullMatrix2D);
}

TEST(PixelConversion, HalvesGoToTheEvenNeighbourAndFarValuesSaturate) {
    const double cases[][2] = {
        {2.5, 2},
        {-2.5, -2},
        {3.5, 4},
        {-0.5, 0},
        {-1.51, -2},
        {1e12, kMax},
        {-1e12, -kMax},
        {kInfinity, kMax},
        {std::nan(""), 0},
        {2147483647.0, kMax},
        {1073741822.5, 1073741822},
    };
    for (const auto& c : cases) EXPECT_EQ(RoundToPixel(c[0]), int(c[1])) << c[0];
    // Saturated coordinates leave room for their difference.
    const TPixelRect wide = Rect2DToRect(MakeRect2D(-1e12, -1e12, 1e12, 1e12));
    EXPECT_EQ(wide, (TPixelRect{-kMax, -kMax, kMax, kMax}));
    EXPECT_EQ(wide.Width(), 2 * kMax);
    struct Case {
        TPoint2D p;
        TPixelPoint pixel;
    };
    const Case points[] = {{TPoint2D{7, 9, 2}, {4, 4}},  // 3.5 -> 4, 4.5 -> 4
                           {TPoint2D{7.4, -3.6, 0}, {7, -4}},
                           {TPoint2D{1, 1, 1e-15}, {kMax, kMax}}};
    for (const auto& c : points) EXPECT_EQ(Point2DToPoint(c.p), c.pixel) << c.p;
    // A pixel rect's Top becomes the box's Bottom as it stands; the way back orders the box first.
    EXPECT_EQ(RectToRect2D(TPixelRect{10, 20, 110, 70}), MakeRect2D(10, 20, 110, 70));
    EXPECT_EQ(Rect2DToRect(MakeRect2D(110.4, 70.5, 10.5, 19.5)), (TPixelRect{10, 20, 110, 70}));
    EXPECT_EQ(Rect2DToRect(TRect2D{4, 6, 2, 20, 30, 2}), (TPixelRect{2, 3, 10, 15}));
}

}  // namespace

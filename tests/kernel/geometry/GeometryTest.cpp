// Plane geometry: segments clipped to a box, the picks of polylines and
// polygons with the distances they report, quadrants, segments against
// circles, the refusals of the points set, and the rounding into pixels.
#include "kernel/geometry/Clipping.h"
#include "kernel/geometry/Matrix2D.h"
#include "kernel/geometry/Picking.h"
#include "kernel/geometry/PixelConversion.h"
#include "kernel/geometry/PlaneGeometry.h"
#include "kernel/geometry/PointsSet2D.h"
#include "kernel/geometry/Rect2D.h"
#include "tests/support/Drawings.h"

#include <gtest/gtest.h>
#include <cmath>
#include <functional>
#include <limits>
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

#include "kernel/geometry/Rect2D.h"
#include "kernel/geometry/Transform2D.h"

#include "tests/kernel/geometry/GeometryTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace calvoro;

namespace {

constexpr double kPi = std::numbers::pi;

void ExpectBox(const TRect2D& r, double left, double bottom, double right, double top) {
    EXPECT_DOUBLE_EQ(r.Left, left);
    EXPECT_DOUBLE_EQ(r.Bottom, bottom);
    EXPECT_DOUBLE_EQ(r.Right, right);
    EXPECT_DOUBLE_EQ(r.Top, top);
    EXPECT_EQ(r.FirstW, 1.0);
    EXPECT_EQ(r.SecondW, 1.0);
}

TEST(Rect2D, OutcodesAreStrictSoEdgesAreInside) {
    const TRect2D box = MakeRect2D(0, 0, 10, 5);
    const double tiny = std::nextafter(10.0, 11.0);
    struct Case {
        double x, y;
        int code;
    };
    const Case cases[] = {
        {5, 2, 0}, {0, 0, 0},   {10, 5, 0},  {tiny, 2, 4}, {-1, 2, 1},  {5, -1, 2},
        {5, 6, 8}, {-1, -1, 3}, {11, 6, 12}, {-1, 6, 9},   {11, -1, 6},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PointOutcode(box, MakePoint2D(c.x, c.y)), c.code) << c.x << " " << c.y;
        EXPECT_EQ(IsPointInRect2D(box, MakePoint2D(c.x, c.y)), c.code == 0);
    }
}

TEST(Rect2D, BuildersOrderingAndGrowth) {
    const TRect2D reversed{8, 6, 2, 4, 2, 2};  // corners (4, 3) and (2, 1) as cartesian points
    ExpectBox(CartesianRect2D(reversed), 4, 3, 2, 1);
    ExpectBox(ReorderRect2D(reversed), 2, 1, 4, 3);
    ExpectBox(EnlargeRect2D(reversed, 0.5), 3.5, 2.5, 2.5, 1.5);  // grown, still unordered
    ExpectBox(MakeRect2D(1, 2, 3, 4), 1, 2, 3, 4);
}

TEST(Rect2D, OverlapCountsTouchingBoxesInAnyCornerOrder) {
    struct Case {
        TRect2D a, b;
        bool overlap;
    };
    const Case cases[] = {
        {MakeRect2D(0, 0, 4, 4), MakeRect2D(2, 2, 6, 6), true},
        {MakeRect2D(0, 0, 4, 4), MakeRect2D(4, 0, 6, 4), true},  // common edge
        {MakeRect2D(0, 0, 4, 4), MakeRect2D(4, 4, 6, 6), true},  // common corner
        {MakeRect2D(0, 0, 4, 4), MakeRect2D(4.001, 0, 6, 4), false},
        {MakeRect2D(4, 4, 0, 0), MakeRect2D(6, 6, 2, 2), true},  // both reversed
        {MakeRect2D(-10, -10, 10, 10), MakeRect2D(1, 1, 2, 2), true},
        {MakeRect2D(1, 1, 2, 2), MakeRect2D(-10, -10, 10, 10), true},
        {MakeRect2D(0, 0, 1, 1), MakeRect2D(0, 2, 1, 3), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BoxesOverlap2D(c.a, c.b), c.overlap);
        EXPECT_EQ(BoxesOverlap2D(c.b, c.a), c.overlap);
    }
}

TEST(Rect2D, BoxInBoxAndUnion) {
    const TRect2D outer = MakeRect2D(0, 0, 10, 10);
    EXPECT_TRUE(IsBoxInBox2D(MakeRect2D(1, 1, 10, 10), outer));
    EXPECT_TRUE(IsBoxInBox2D(MakeRect2D(9, 9, 1, 1), outer));
    EXPECT_TRUE(IsBoxInBox2D(TRect2D{2, 2, 2, 20, 20, 2}, outer));  // homogeneous corners (1, 1), (10, 10)
    EXPECT_FALSE(IsBoxInBox2D(MakeRect2D(1, 1, 11, 5), outer));
    ExpectBox(UnionRect2D(MakeRect2D(4, 5, 0, 1), MakeRect2D(2, -3, 3, 2)), 0, -3, 4, 5);
}

TEST(Transform2D, BoundingBoxCoversTheTurnedBox) {
    const TRect2D box = MakeRect2D(0, 0, 2, 2);
    const double half = std::sqrt(2.0);
    const TRect2D turned = TransformBoundingBox2D(box, RotationMatrix2D(kPi / 4));
    EXPECT_NEAR(turned.Left, -half, 1e-15);
    EXPECT_NEAR(turned.Bottom, 0, 1e-15);
    EXPECT_NEAR(turned.Right, half, 1e-15);
    EXPECT_NEAR(turned.Top, 2 * half, 1e-15);
    // The corners alone are carried as they are, a mirror leaving them unordered.
    ExpectBox(TransformRect2DCorners(box, MirrorMatrix2D(1)), 0, 0, -2, 2);
    ExpectBox(TransformBoundingBox2D(box, MirrorMatrix2D(1)), -2, 0, 0, 2);
}

TEST(Transform2D, ArcAnglesFollowTheTransform) {
    struct Case {
        const char* what;
        TMatrix2D m;
        double start, end, newStart, newEnd;
    };
    const Case cases[] = {
        {"moved", TranslationMatrix2D(5, -7), 0.25, 1.5, 0.25, 1.5},
        {"turned", RotationMatrix2D(kPi / 2), 0.25, 1.5, 0.25 + kPi / 2, 1.5 + kPi / 2},
        {"mirrored in Y", MirrorMatrix2D(1), 0.25, 1.5, kPi - 0.25, kPi - 1.5},
        {"stretched", ScalingMatrix2D(1, 3), kPi / 4, -kPi / 4, std::atan(3.0), -std::atan(3.0)},
    };
    const TPoint2D centre = MakePoint2D(2, 1);
    for (const auto& c : cases) {
        double start = c.start;
        double end = c.end;
        TransformArcAngles(centre, c.m, 2.5, start, end);
        EXPECT_NEAR(start, c.newStart, 1e-14) << c.what;
        EXPECT_NEAR(end, c.newEnd, 1e-14) << c.what;
    }
}

}  // namespace

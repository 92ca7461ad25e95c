// Transforms of the plane: matrices and their inverses, boxes and arc angles
// carried through them, the world-to-screen mapping and the rounding into
// pixels.
#include "kernel/geometry/Matrix2D.h"

#include "kernel/geometry/PixelConversion.h"
#include "kernel/geometry/Transform2D.h"
#include "kernel/geometry/ViewMapping.h"
#include "tests/kernel/geometry/GeometryTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

using namespace calvoro;

namespace {

constexpr double kPi = std::numbers::pi;
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

TEST(Matrix2D, RowConventionLeftMatrixFirstAndWKept) {
    EXPECT_EQ(TranslationMatrix2D(3, -4), Rows({1, 0, 0}, {0, 1, 0}, {3, -4, 1}));
    EXPECT_POINT_NEAR(PointTimesMatrix2D(MakePoint2D(1, 0), RotationMatrix2D(kPi / 2)), 0, 1, 1e-15);
    const TMatrix2D moveThenTurn = MultiplyMatrix2D(TranslationMatrix2D(1, 0), RotationMatrix2D(kPi / 2));
    EXPECT_POINT_NEAR(PointTimesMatrix2D(MakePoint2D(1, 0), moveThenTurn), 0, 2, 1e-15);
    EXPECT_EQ(PointTimesMatrix2D(TPoint2D{2, 4, 2}, TranslationMatrix2D(1, 1)), (TPoint2D{4, 6, 2}));
    const double mirrors[][3] = {{kMirrorY, 1, -1}, {kMirrorX, -1, 1}, {kMirrorBoth, -1, -1}, {3, 1, 1}};
    for (const auto& c : mirrors) EXPECT_EQ(MirrorMatrix2D(int(c[0])), ScalingMatrix2D(c[1], c[2])) << c[0];
}

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

TEST(Transform2D, BoxesCoverTheTurnedBoxAndArcAnglesFollowTheTransform) {
    const TRect2D box = MakeRect2D(0, 0, 2, 2);
    const TRect2D turned = TransformBoundingBox2D(box, RotationMatrix2D(kPi / 4));
    EXPECT_POINT_NEAR(turned.FirstCorner(), -std::sqrt(2.0), 0, 1e-15);
    EXPECT_POINT_NEAR(turned.SecondCorner(), std::sqrt(2.0), 2 * std::sqrt(2.0), 1e-15);
    // The corners alone are carried as they are, a mirror leaving them unordered.
    EXPECT_EQ(TransformRect2DCorners(box, MirrorMatrix2D(1)), MakeRect2D(0, 0, -2, 2));
    EXPECT_EQ(TransformBoundingBox2D(box, MirrorMatrix2D(1)), MakeRect2D(-2, 0, 0, 2));
    struct Case {
        const char* what;
        TMatrix2D m;
        double start, end, newStart, newEnd;
    };
    const Case cases[] = {
        {"turned", RotationMatrix2D(kPi / 2), 0.25, 1.5, 0.25 + kPi / 2, 1.5 + kPi / 2},
        {"mirrored in Y", MirrorMatrix2D(1), 0.25, 1.5, kPi - 0.25, kPi - 1.5},
        {"stretched", ScalingMatrix2D(1, 3), kPi / 4, -kPi / 4, std::atan(3.0), -std::atan(3.0)},
    };
    for (const auto& c : cases) {
        double start = c.start, end = c.end;
        TransformArcAngles(MakePoint2D(2, 1), c.m, 2.5, start, end);
        EXPECT_NEAR(start, c.newStart, 1e-14) << c.what;
        EXPECT_NEAR(end, c.newEnd, 1e-14) << c.what;
    }
}

TPixelPoint ToScreen(const TMatrix2D& m, double x, double y) {
    return Point2DToPoint(PointTimesMatrix2D(MakePoint2D(x, y), m));
}

TEST(WorldToScreen, TheAspectRatioGrowsTheWorldBoxToFillTheClient) {
    struct Case {
        TPixelRect client;
        TRect2D visual;
        double aspect;
        TRect2D fitted;
    };
    const Case cases[] = {
        {{0, 0, 200, 100}, MakeRect2D(0, 0, 10, 10), 1.0, MakeRect2D(0, 0, 20, 10)},
        {{0, 0, 100, 200}, MakeRect2D(0, 0, 10, 10), 1.0, MakeRect2D(0, 0, 10, 20)},
        {{0, 0, 100, 100}, MakeRect2D(-5, 0, 5, 10), 0.5, MakeRect2D(-5, 0, 5, 20)},   // pixels twice as tall
        {{0, 0, 200, 100}, MakeRect2D(0, 0, 10, 10), -1.0, MakeRect2D(0, 0, 10, 10)},  // a plain fit
        {{0, 0, 200, 100}, MakeRect2D(0, 3, 10, 3), 1.0, MakeRect2D(0, 3, 10, 8)},     // a flat box widened
    };
    for (const auto& c : cases) {
        TRect2D visual = c.visual;
        const TMatrix2D m = WorldToScreenMatrix2D(visual, c.client, c.aspect);
        EXPECT_EQ(visual, c.fitted) << c.aspect;
        EXPECT_EQ(PointTimesMatrix2D(visual.SecondCorner(), m), (TPoint2D{c.client.Right - 0.5, -0.5, 1}));
    }
}

TEST(WorldToScreen, MapsTheWorldBoxOntoTheClientWithYDown) {
    TRect2D visual = MakeRect2D(0, 0, 10, 10);
    const TMatrix2D plain = WorldToScreenMatrix2D(visual, TPixelRect{0, 0, 200, 100}, 0.0);
    EXPECT_EQ(plain, Rows({20, 0, 0}, {0, -10, 0}, {-0.5, 99.5, 1}));
    EXPECT_EQ(ToScreen(plain, 0, 10), (TPixelPoint{0, 0}));  // -0.5 rounds to the even 0
    EXPECT_EQ(ToScreen(plain, 5, 5), (TPixelPoint{100, 50}));
    EXPECT_EQ(ToScreen(plain, 0.025, 9.95), (TPixelPoint{0, 0}));
    EXPECT_EQ(ToScreen(plain, 0.075, 9.85), (TPixelPoint{1, 1}));
    TRect2D offset = MakeRect2D(-50, 100, 50, 200);
    const TMatrix2D shifted = WorldToScreenMatrix2D(offset, TPixelRect{40, 30, 240, 230}, 1.0);
    EXPECT_EQ(ToScreen(shifted, -50, 200), (TPixelPoint{40, 30}));
    EXPECT_EQ(ToScreen(shifted, 0, 150), (TPixelPoint{140, 130}));
}

TEST(WorldToScreen, AnEmptyClientOrWorldBoxGivesTheIdentityAndKeepsTheBox) {
    struct Case {
        const char* what;
        TPixelRect client;
        TRect2D visual;
        double aspect;
    };
    const Case cases[] = {
        {"no client height", {0, 0, 200, 0}, MakeRect2D(0, 0, 10, 10), 1.0},
        {"no client width", {0, 0, 0, 100}, MakeRect2D(0, 0, 10, 10), 1.0},
        {"no client at all", {0, 0, 0, 0}, MakeRect2D(0, 0, 10, 10), 0.0},
        {"reversed client", {50, 50, 10, 10}, MakeRect2D(0, 0, 10, 10), 1.0},
        {"point-sized world", {0, 0, 200, 100}, MakeRect2D(3, 3, 3, 3), 1.0},
        {"flat world, plain fit", {0, 0, 200, 100}, MakeRect2D(0, 3, 10, 3), 0.0},
        {"world too small to scale", {0, 0, 200, 100}, MakeRect2D(0, 0, 1e-320, 1e-320), 0.0},
        {"endless world", {0, 0, 200, 100}, MakeRect2D(0, 0, kInfinity, 10), 0.0},
    };
    for (const auto& c : cases) {
        TRect2D visual = c.visual;
        EXPECT_EQ(WorldToScreenMatrix2D(visual, c.client, c.aspect), IdentityMatrix2D) << c.what;
        EXPECT_EQ(visual, c.visual) << c.what;
    }
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

// Transforms of the plane: matrices and their inverses, boxes and arc angles
// carried through them, the world-to-screen mapping and the rounding into
// pixels.
#include "kernel/geometry/Matrix2D.h"

#include "kernel/geometry/PixelConversion.h"
#include "kernel/geometry/Transform2D.h"
#include "kernel/geometry/ViewMapping.h"
#include "tests/support/Drawings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

using namespace calvoro;

namespace {

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

#include "kernel/geometry/Matrix2D.h"

#include "tests/kernel/geometry/GeometryTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace calvoro;

namespace {

constexpr double kPi = std::numbers::pi;

TMatrix2D Rows(std::array<double, 3> r0, std::array<double, 3> r1, std::array<double, 3> r2) {
    TMatrix2D m;
    m.M = {r0, r1, r2};
    return m;
}

// The product written out in full, as the reference for the shortcuts.
TMatrix2D FullProduct(const TMatrix2D& a, const TMatrix2D& b) {
    TMatrix2D c;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) c.M[i][j] = a.M[i][0] * b.M[0][j] + a.M[i][1] * b.M[1][j] + a.M[i][2] * b.M[2][j];
    return c;
}

void ExpectNearMatrix(const TMatrix2D& actual, const TMatrix2D& expected, double eps) {
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) EXPECT_NEAR(actual.M[i][j], expected.M[i][j], eps) << "entry " << i << j;
}

const TMatrix2D kProjective = Rows({2, 0.5, 0.01}, {-1, 3, 0.02}, {4, -6, 1.5});
const TMatrix2D kOtherProjective = Rows({1, 0, 0.5}, {0, 1, -0.25}, {0, 0, 2});
const TMatrix2D kPlacement = MultiplyMatrix2D(RotationMatrix2D(0.7), TranslationMatrix2D(12.5, -3));
const TMatrix2D kShear = Rows({1, 0, 0}, {0.75, 2, 0}, {-5, 8, 1});

TEST(Matrix2D, BuildersPutTheirValuesWhereTheRowConventionNeedsThem) {
    EXPECT_EQ(TranslationMatrix2D(3, -4), Rows({1, 0, 0}, {0, 1, 0}, {3, -4, 1}));
    EXPECT_POINT_NEAR(PointTimesMatrix2D(MakePoint2D(1, 0), RotationMatrix2D(kPi / 2)), 0, 1, 1e-15);
    EXPECT_POINT_EQ(PointTimesMatrix2D(MakePoint2D(2, 3), TranslationMatrix2D(3, -4)), 5, -1);
}

TEST(Matrix2D, MirrorCodes) {
    struct Case {
        int axis;
        double sx, sy;
    };
    const Case cases[] = {{0, 1, -1}, {1, -1, 1}, {2, -1, -1}, {3, 1, 1}, {-1, 1, 1}};
    for (const auto& c : cases) EXPECT_EQ(MirrorMatrix2D(c.axis), ScalingMatrix2D(c.sx, c.sy)) << c.axis;
}

TEST(Matrix2D, ProductAppliesTheLeftMatrixFirst) {
    const TMatrix2D moveThenTurn = MultiplyMatrix2D(TranslationMatrix2D(1, 0), RotationMatrix2D(kPi / 2));
    const TMatrix2D turnThenMove = MultiplyMatrix2D(RotationMatrix2D(kPi / 2), TranslationMatrix2D(1, 0));
    EXPECT_POINT_NEAR(PointTimesMatrix2D(MakePoint2D(1, 0), moveThenTurn), 0, 2, 1e-15);
    EXPECT_POINT_NEAR(PointTimesMatrix2D(MakePoint2D(1, 0), turnThenMove), 1, 1, 1e-15);
}

TEST(Matrix2D, ShortcutProductsEqualTheFullProduct) {
    const TMatrix2D affine[] = {IdentityMatrix2D, kPlacement, kShear, MirrorMatrix2D(2)};
    const TMatrix2D projective[] = {kProjective, kOtherProjective};
    for (const auto& a : affine) {
        for (const auto& b : affine) EXPECT_EQ(MultiplyMatrix2D(a, b), FullProduct(a, b));
        for (const auto& b : projective) {
            EXPECT_EQ(MultiplyMatrix2D(a, b), FullProduct(a, b));
            EXPECT_EQ(MultiplyMatrix2D(b, a), FullProduct(b, a));
        }
    }
    EXPECT_EQ(MultiplyMatrix2D(kProjective, kOtherProjective), FullProduct(kProjective, kOtherProjective));
    EXPECT_TRUE(IsAffineMatrix2D(MultiplyMatrix2D(kPlacement, kShear)));
    EXPECT_FALSE(IsAffineMatrix2D(MultiplyMatrix2D(kShear, kOtherProjective)));
}

TEST(Matrix2D, InverseUndoesAffineAndProjectiveMatrices) {
    const TMatrix2D cases[] = {kPlacement,        kShear,      ScalingMatrix2D(1e-3, 250),
                               MirrorMatrix2D(1), kProjective, kOtherProjective};
    for (const auto& m : cases) {
        const TMatrix2D inverse = InvertMatrix2D(m);
        ExpectNearMatrix(MultiplyMatrix2D(m, inverse), IdentityMatrix2D, 1e-12);
        ExpectNearMatrix(MultiplyMatrix2D(inverse, m), IdentityMatrix2D, 1e-12);
    }
    EXPECT_EQ(InvertMatrix2D(TranslationMatrix2D(3, -4)), TranslationMatrix2D(-3, 4));
    EXPECT_EQ(InvertMatrix2D(ScalingMatrix2D(4, 0.5)), ScalingMatrix2D(0.25, 2));
}

TEST(Matrix2D, SingularMatricesInvertToTheNullMatrix) {
    const TMatrix2D cases[] = {
        ScalingMatrix2D(0, 1),
        ScalingMatrix2D(3, 0),
        Rows({1, 2, 0}, {2, 4, 0}, {7, 7, 1}),  // affine, rows dependent
        Rows({1, 2, 3}, {2, 4, 6}, {1, 1, 1}),  // projective, rows dependent
        Rows({0, 0, 0}, {0, 0, 0}, {0, 0, 0}),
    };
    for (const auto& m : cases) EXPECT_EQ(InvertMatrix2D(m), NullMatrix2D);
}

TEST(Matrix2D, PointTimesMatrixKeepsTheComputedW) {
    const TPoint2D p = PointTimesMatrix2D(MakePoint2D(1, 2), kOtherProjective);
    EXPECT_EQ(p, (TPoint2D{1, 2, 0.5 - 0.5 + 2}));
    const TPoint2D q = PointTimesMatrix2D(TPoint2D{2, 4, 2}, TranslationMatrix2D(1, 1));
    EXPECT_EQ(q, (TPoint2D{4, 6, 2}));
}

}  // namespace

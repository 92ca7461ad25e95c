#include "kernel/geometry/Matrix2D.h"

#include <cmath>

namespace calvoro {

bool IsAffineMatrix2D(const TMatrix2D& m) {
    return m.M[0][2] == 0.0 && m.M[1][2] == 0.0 && m.M[2][2] == 1.0;
}

TMatrix2D TranslationMatrix2D(double tx, double ty) {
    TMatrix2D result;
    result.M[2][0] = tx;
    result.M[2][1] = ty;
    return result;
}

TMatrix2D RotationMatrix2D(double angle) {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    TMatrix2D result;
    result.M[0] = {c, s, 0.0};
    result.M[1] = {-s, c, 0.0};
    return result;
}

TMatrix2D ScalingMatrix2D(double sx, double sy) {
    TMatrix2D result;
    result.M[0][0] = sx;
    result.M[1][1] = sy;
    return result;
}

TMatrix2D MirrorMatrix2D(int axis) {
    TMatrix2D result;
    if (axis == kMirrorY || axis == kMirrorBoth) result.M[1][1] = -1.0;
    if (axis == kMirrorX || axis == kMirrorBoth) result.M[0][0] = -1.0;
    return result;
}

TMatrix2D MultiplyMatrix2D(const TMatrix2D& a, const TMatrix2D& b) {
    const auto& A = a.M;
    const auto& B = b.M;
    TMatrix2D result;
    auto& C = result.M;
    const bool affineA = IsAffineMatrix2D(a);
    const bool affineB = IsAffineMatrix2D(b);
    // Views and entity transforms are nearly always affine: the terms that are
    // known to be 0 or 1 are left out.
    if (affineA && affineB) {
        for (int i = 0; i < 2; ++i)
            for (int j = 0; j < 2; ++j) C[i][j] = A[i][0] * B[0][j] + A[i][1] * B[1][j];
        for (int j = 0; j < 2; ++j) C[2][j] = A[2][0] * B[0][j] + A[2][1] * B[1][j] + B[2][j];
        C[0][2] = 0.0;
        C[1][2] = 0.0;
        C[2][2] = 1.0;
    } else if (affineB) {
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 2; ++j) C[i][j] = A[i][0] * B[0][j] + A[i][1] * B[1][j] + A[i][2] * B[2][j];
            C[i][2] = A[i][2];
        }
    } else {
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) C[i][j] = A[i][0] * B[0][j] + A[i][1] * B[1][j] + A[i][2] * B[2][j];
    }
    return result;
}

TMatrix2D InvertMatrix2D(const TMatrix2D& m) {
    const auto& M = m.M;
    TMatrix2D result;
    auto& R = result.M;
    if (IsAffineMatrix2D(m)) {
        const double d = M[0][0] * M[1][1] - M[1][0] * M[0][1];
        if (d == 0.0) return NullMatrix2D;
        R[0] = {M[1][1] / d, -M[0][1] / d, 0.0};
        R[1] = {-M[1][0] / d, M[0][0] / d, 0.0};
        R[2] = {(M[1][0] * M[2][1] - M[1][1] * M[2][0]) / d, (M[0][1] * M[2][0] - M[0][0] * M[2][1]) / d, 1.0};
        return result;
    }
    // The adjugate (transposed cofactors) over the determinant.
    const auto minor = [&M](int r0, int r1, int c0, int c1) { return M[r0][c0] * M[r1][c1] - M[r0][c1] * M[r1][c0]; };
    const double c00 = minor(1, 2, 1, 2);
    const double c01 = -minor(1, 2, 0, 2);
    const double c02 = minor(1, 2, 0, 1);
    const double d = M[0][0] * c00 + M[0][1] * c01 + M[0][2] * c02;
    if (d == 0.0) return NullMatrix2D;
    const double c10 = -minor(0, 2, 1, 2);
    const double c11 = minor(0, 2, 0, 2);
    const double c12 = -minor(0, 2, 0, 1);
    const double c20 = minor(0, 1, 1, 2);
    const double c21 = -minor(0, 1, 0, 2);
    const double c22 = minor(0, 1, 0, 1);
    R[0] = {c00 / d, c10 / d, c20 / d};
    R[1] = {c01 / d, c11 / d, c21 / d};
    R[2] = {c02 / d, c12 / d, c22 / d};
    return result;
}

TPoint2D PointTimesMatrix2D(const TPoint2D& p, const TMatrix2D& m) {
    const auto& M = m.M;
    return TPoint2D{p.X * M[0][0] + p.Y * M[1][0] + p.W * M[2][0], p.X * M[0][1] + p.Y * M[1][1] + p.W * M[2][1],
                    p.X * M[0][2] + p.Y * M[1][2] + p.W * M[2][2]};
}

}  // namespace calvoro

// 3x3 transforms of the plane. Row-vector convention: a point transforms as
// p' = p x M, so the translation sits in the third row and the product A x B
// applies A first, then B. A matrix is affine when its third column is
// (0, 0, 1).
#pragma once

#include "kernel/geometry/Point2D.h"

#include <array>

namespace calvoro {

struct TMatrix2D {
    // M[row][column]; the identity unless set otherwise.
    std::array<std::array<double, 3>, 3> M{{{1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, {0.0, 0.0, 1.0}}};

    friend bool operator==(const TMatrix2D&, const TMatrix2D&) = default;
};

inline constexpr TMatrix2D IdentityMatrix2D{};
// What inverting a singular matrix yields: all zero but M[2][2] = 1.
inline constexpr TMatrix2D NullMatrix2D{{{{0.0, 0.0, 0.0}, {0.0, 0.0, 0.0}, {0.0, 0.0, 1.0}}}};

// Codes of MirrorMatrix2D.
inline constexpr int kMirrorY = 0;     // Y negated: a mirror about the X axis
inline constexpr int kMirrorX = 1;     // X negated: a mirror about the Y axis
inline constexpr int kMirrorBoth = 2;  // both negated

bool IsAffineMatrix2D(const TMatrix2D& m);

TMatrix2D TranslationMatrix2D(double tx, double ty);
// Counter-clockwise by angle (radians).
TMatrix2D RotationMatrix2D(double angle);
TMatrix2D ScalingMatrix2D(double sx, double sy);
// One of the mirror codes above; any other code gives the identity.
TMatrix2D MirrorMatrix2D(int axis);

// a x b: a applied first.
TMatrix2D MultiplyMatrix2D(const TMatrix2D& a, const TMatrix2D& b);
// The inverse, or NullMatrix2D when m is singular (exactly, no tolerance).
TMatrix2D InvertMatrix2D(const TMatrix2D& m);
// All nine entries exactly equal.
inline bool SameMatrix2D(const TMatrix2D& a, const TMatrix2D& b) {
    return a == b;
}

// (X, Y, W) x M; the resulting W is kept, not divided out.
TPoint2D PointTimesMatrix2D(const TPoint2D& p, const TMatrix2D& m);

}  // namespace calvoro

#include "kernel/geometry/Vector3D.h"

#include <cmath>

namespace calvoro {

// The sums are formed in double: each result is the single-precision value
// nearest the exact one, and short edges do not underflow to a zero length.

namespace {

struct WideVector {
    double x, y, z;
};

WideVector Widen(const TVector3D& v) {
    return WideVector{v.X, v.Y, v.Z};
}

WideVector Cross(const WideVector& a, const WideVector& b) {
    return WideVector{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

TVector3D UnitOf(const WideVector& v) {
    const double length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (length == 0.0) return TVector3D{};
    return TVector3D{static_cast<float>(v.x / length), static_cast<float>(v.y / length),
                     static_cast<float>(v.z / length)};
}

}  // namespace

TVector3D CrossProduct3D(const TVector3D& a, const TVector3D& b) {
    const WideVector c = Cross(Widen(a), Widen(b));
    return TVector3D{static_cast<float>(c.x), static_cast<float>(c.y), static_cast<float>(c.z)};
}

TVector3D Normalize3D(const TVector3D& a) {
    return UnitOf(Widen(a));
}

// Normalised from the unrounded cross product.
TVector3D FacetNormal(const TVector3D& a, const TVector3D& b) {
    return UnitOf(Cross(Widen(a), Widen(b)));
}

}  // namespace calvoro

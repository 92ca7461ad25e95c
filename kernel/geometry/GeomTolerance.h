// The geometric tolerance shared by the whole program and the comparisons
// that use it. The tolerance is an absolute length (drawings are in
// millimetres); it exists with its default before anything compares.
#pragma once

namespace calvoro {

inline constexpr double kDefaultGeomTolerance = 5e-05;

double GeomTolerance();
// Throws std::invalid_argument for a negative or non-finite value.
void SetGeomTolerance(double tolerance);

// -eps <= a - b <= eps, both bounds inclusive.
inline bool IsSameValueEps(double a, double b, double eps) {
    const double difference = a - b;
    return -eps <= difference && difference <= eps;
}
inline bool IsDifferentValueEps(double a, double b, double eps) {
    return !IsSameValueEps(a, b, eps);
}
inline bool IsSameValue(double a, double b) {
    return IsSameValueEps(a, b, GeomTolerance());
}
inline bool IsDifferentValue(double a, double b) {
    return !IsSameValue(a, b);
}
// a >= b, or a within the tolerance below b.
inline bool IsGreaterOrSame(double a, double b) {
    return b <= a || IsSameValue(a, b);
}

}  // namespace calvoro

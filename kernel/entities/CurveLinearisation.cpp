// Linearisation of the curve entities.
#include "kernel/entities/CurveLinearisation.h"

#include "kernel/geometry/PlaneGeometry.h"

#include <cmath>
#include <stdexcept>

namespace calvoro {

double ArcSweep(double startAngle, double endAngle) {
    if (endAngle > startAngle) return endAngle - startAngle;
    return static_cast<double>(kFullTurn - startAngle + endAngle);
}

std::vector<TPoint2D> ConicProfile(double cx, double cy, double rx, double ry, std::uint16_t segments) {
    std::vector<TPoint2D> points;
    if (segments == 0) return points;
    points.reserve(segments + 1u);
    const double step = static_cast<double>(kFullTurn / segments);
    points.push_back(MakePoint2D(cx + rx, cy));
    for (unsigned i = 1; i < segments; ++i) {
        const double a = i * step;
        points.push_back(MakePoint2D(cx + rx * std::cos(a), cy - ry * std::sin(a)));
    }
    points.push_back(MakePoint2D(cx + rx, cy));
    return points;
}

std::vector<TPoint2D> ArcProfile(double cx, double cy, double rx, double ry, double startAngle, double endAngle,
                                 bool counterClockwise, std::uint16_t segments) {
    std::vector<TPoint2D> points;
    if (segments == 0) return points;
    points.reserve(segments + 1u);
    // Clockwise arcs are the counter-clockwise ones mirrored about the
    // horizontal through the centre.
    const double ySign = counterClockwise ? 1.0 : -1.0;
    const auto at = [&](double a) { return MakePoint2D(cx + rx * std::cos(a), cy + ySign * ry * std::sin(a)); };
    const double step = ArcSweep(startAngle, endAngle) / (segments + 1.0);
    for (unsigned i = 0; i < segments; ++i) points.push_back(at(startAngle + i * step));
    points.push_back(at(endAngle));
    return points;
}

std::vector<TPoint2D> FrameProfile(const TPoint2D& p0, const TPoint2D& p1) {
    const TPoint2D a = CartesianPoint(p0), b = CartesianPoint(p1);
    return {MakePoint2D(a.X, a.Y), MakePoint2D(a.X, b.Y), MakePoint2D(b.X, b.Y), MakePoint2D(b.X, a.Y),
            MakePoint2D(a.X, a.Y)};
}

namespace {

// Knots of the uniform open B-spline of order t over n + 1 control points:
// t zeros, the integers 1 .. n - t + 1, then n - t + 2 repeated.
double Knot(int j, int n, int t) {
    if (j < t) return 0.0;
    if (j <= n) return j - t + 1.0;
    return n - t + 2.0;
}

// Cox-de Boor, worked up from order 1 over the t functions that do not vanish
// on the knot span [knot(span), knot(span + 1)); a term whose denominator is 0
// counts 0. basis[i] ends as N(span - t + 1 + i, t, u).
void NonZeroBasis(double u, int span, int n, int t, std::vector<double>& basis) {
    basis.assign(static_cast<std::size_t>(t), 0.0);
    basis[static_cast<std::size_t>(t - 1)] = 1.0;  // N(span, 1, u)
    for (int r = 2; r <= t; ++r) {
        // Functions of order r that may be non-zero: k = span - r + 1 .. span.
        for (int k = span - r + 1; k <= span; ++k) {
            const std::size_t slot = static_cast<std::size_t>(k - (span - t + 1));
            const double lower = (k >= span - r + 2) ? basis[slot] : 0.0;  // N(k, r - 1)
            const double upper = (k + 1 <= span) ? basis[slot + 1] : 0.0;  // N(k + 1, r - 1)
            double value = 0.0;
            const double d1 = Knot(k + r - 1, n, t) - Knot(k, n, t);
            if (d1 != 0.0) value += (u - Knot(k, n, t)) * lower / d1;
            const double d2 = Knot(k + r, n, t) - Knot(k + 1, n, t);
            if (d2 != 0.0) value += (Knot(k + r, n, t) - u) * upper / d2;
            basis[slot] = value;
        }
    }
}

}  // namespace

std::vector<TPoint2D> BSplineProfile(std::span<const TPoint2D> controlPoints, int order, std::uint16_t segments) {
    const int count = static_cast<int>(controlPoints.size());
    if (order < 1 || order > count) throw std::invalid_argument("BSplineProfile: order outside 1 .. point count");
    std::vector<TPoint2D> points;
    if (segments == 0) return points;
    points.reserve(segments + 1u);
    const int n = count - 1, t = order;
    // The parameter runs over the knot range [0, n - t + 2) that the control
    // polygon spans; its end is the last control point, appended below.
    const double range = n - t + 2.0;
    std::vector<double> basis;
    for (unsigned i = 0; i < segments; ++i) {
        const double u = range * i / segments;
        int span = t - 1 + static_cast<int>(std::floor(u));
        if (span > n) span = n;
        NonZeroBasis(u, span, n, t, basis);
        double x = 0.0, y = 0.0;
        for (int j = 0; j < t; ++j) {
            const TPoint2D p = CartesianPoint(controlPoints[static_cast<std::size_t>(span - t + 1 + j)]);
            x += basis[static_cast<std::size_t>(j)] * p.X;
            y += basis[static_cast<std::size_t>(j)] * p.Y;
        }
        points.push_back(MakePoint2D(x, y));
    }
    const TPoint2D last = CartesianPoint(controlPoints.back());
    points.push_back(MakePoint2D(last.X, last.Y));
    return points;
}

}  // namespace calvoro

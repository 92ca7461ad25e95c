// Knot spans, basis functions and points of a rational B-spline.
#include "kernel/entities/RationalBSplineMath.h"

#include "kernel/geometry/GeomTolerance.h"

#include <array>
#include <cmath>
#include <cstddef>

namespace calvoro {

namespace {

std::size_t Index(int i) {
    return static_cast<std::size_t>(i);
}

int LastControlIndex(const RationalBSplineData& spline) {
    return static_cast<int>(spline.ControlPoints.size()) - 1;
}

}  // namespace

bool IsEvaluableRationalBSpline(const RationalBSplineData& spline) {
    const int p = spline.Degree;
    const int n = LastControlIndex(spline);
    if (p < 1 || p > kMaxRationalBSplineDegree || n < p) return false;
    if (spline.Knots.size() != Index(n + p + 2)) return false;
    for (std::size_t i = 0; i < spline.Knots.size(); ++i) {
        if (!std::isfinite(spline.Knots[i])) return false;
        if (i > 0 && spline.Knots[i] < spline.Knots[i - 1]) return false;
    }
    if (!(spline.Knots[Index(p)] < spline.Knots[Index(n + 1)])) return false;
    if (spline.Weights.size() < spline.ControlPoints.size()) return false;
    for (std::size_t i = 0; i < spline.ControlPoints.size(); ++i) {
        if (!std::isfinite(spline.Weights[i]) || spline.Weights[i] <= 0.0) return false;
    }
    return true;
}

int FindKnotSpan(const RationalBSplineData& spline, double u) {
    const std::span<const double> knots = spline.Knots;
    const int p = spline.Degree;
    const int n = LastControlIndex(spline);
    if (u >= knots[Index(n + 1)] || IsSameValue(u, knots[Index(n + 1)])) {
        int span = n;
        while (span > p && !(knots[Index(span)] < knots[Index(span + 1)])) --span;
        return span;
    }
    if (u <= knots[Index(p)]) {
        int span = p;
        while (span < n && !(knots[Index(span)] < knots[Index(span + 1)])) ++span;
        return span;
    }
    // knot[low] <= u < knot[high] holds throughout, so each step halves the
    // range and the search ends on a span of non-zero length.
    int low = p;
    int high = n + 1;
    int mid = (low + high) / 2;
    while (!(knots[Index(mid)] <= u && u < knots[Index(mid + 1)])) {
        if (knots[Index(mid)] <= u) {
            low = mid;
        } else {
            high = mid;
        }
        mid = (low + high) / 2;
    }
    return mid;
}

void BasisFunctions(const RationalBSplineData& spline, int span, double u, std::span<double> basis) {
    const std::span<const double> knots = spline.Knots;
    const int p = spline.Degree;
    std::array<double, kMaxRationalBSplineDegree + 1> left{};
    std::array<double, kMaxRationalBSplineDegree + 1> right{};
    basis[0] = 1.0;
    for (int j = 1; j <= p; ++j) {
        left[Index(j)] = u - knots[Index(span + 1 - j)];
        right[Index(j)] = knots[Index(span + j)] - u;
        double saved = 0.0;
        for (int r = 0; r < j; ++r) {
            // The knots of a span of non-zero length keep this denominator above 0.
            const double denominator = right[Index(r + 1)] + left[Index(j - r)];
            const double term = denominator != 0.0 ? basis[Index(r)] / denominator : 0.0;
            basis[Index(r)] = saved + right[Index(r + 1)] * term;
            saved = left[Index(j - r)] * term;
        }
        basis[Index(j)] = saved;
    }
}

TPoint2D RationalBSplinePoint(const RationalBSplineData& spline, double u) {
    const int p = spline.Degree;
    const int span = FindKnotSpan(spline, u);
    std::array<double, kMaxRationalBSplineDegree + 1> basis{};
    BasisFunctions(spline, span, u, basis);
    double x = 0.0, y = 0.0, w = 0.0;
    for (int j = 0; j <= p; ++j) {
        const std::size_t i = Index(span - p + j);
        const double weight = spline.Weights[i];
        x += basis[Index(j)] * spline.ControlPoints[i].X * weight;
        y += basis[Index(j)] * spline.ControlPoints[i].Y * weight;
        w += basis[Index(j)] * weight;
    }
    return TPoint2D{x / w, y / w, 1.0};
}

std::vector<TPoint2D> RationalBSplineProfile(const RationalBSplineData& spline, int count) {
    const double first = spline.Knots[Index(spline.Degree)];
    const double last = spline.Knots[Index(LastControlIndex(spline) + 1)];
    const double step = (last - first) / (count - 1);
    std::vector<TPoint2D> points;
    points.reserve(Index(count));
    for (int i = 0; i < count; ++i) {
        // The last point is taken at the end knot itself, not at a sum of steps.
        const double u = i == count - 1 ? last : first + i * step;
        points.push_back(RationalBSplinePoint(spline, u));
    }
    return points;
}

}  // namespace calvoro

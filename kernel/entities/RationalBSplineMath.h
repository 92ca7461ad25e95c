// Evaluation of a non-uniform rational B-spline of degree p over n + 1 control
// points and n + p + 2 knots, by the standard knot-span search and the
// triangular table of basis functions. The curve is defined on
// [knot[p], knot[n + 1]], which for clamped knots is the whole knot range;
// unclamped knot vectors are evaluated on that range too.
#pragma once

#include "kernel/geometry/Point2D.h"

#include <span>
#include <vector>

namespace calvoro {

// Beyond this degree a spline is drawn as its control polygon: the cost of a
// point grows with the square of the degree, and no drawing needs more.
inline constexpr int kMaxRationalBSplineDegree = 32;

struct RationalBSplineData {
    int Degree = 0;
    std::span<const double> Knots;
    std::span<const TPoint2D> ControlPoints;  // X and Y are used; the weights stand apart
    std::span<const double> Weights;          // at least one per control point
};

// True when the data define a curve: a degree of 1 .. kMaxRationalBSplineDegree,
// more control points than the degree, n + p + 2 finite non-decreasing knots
// with a domain of non-zero length, and a finite positive weight per point.
bool IsEvaluableRationalBSpline(const RationalBSplineData& spline);

// The span k (p <= k <= n) with knot[k] <= u < knot[k + 1]; u at or past the
// end of the domain gives the last span of non-zero length, u before its
// start the first one. The spline must be evaluable.
int FindKnotSpan(const RationalBSplineData& spline, double u);

// The p + 1 basis functions that do not vanish in the span, at u.
void BasisFunctions(const RationalBSplineData& spline, int span, double u, std::span<double> basis);

// The curve point at u (W = 1). The spline must be evaluable.
TPoint2D RationalBSplinePoint(const RationalBSplineData& spline, double u);

// count >= 2 points at equal parameter steps over the domain, both ends
// included. The spline must be evaluable.
std::vector<TPoint2D> RationalBSplineProfile(const RationalBSplineData& spline, int count);

}  // namespace calvoro

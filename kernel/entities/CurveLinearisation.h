// The polylines that stand for the curve entities: circles, ellipses, arcs,
// frames and uniform B-splines cut into straight segments. Pure functions of
// the curve's parameters, so that the entities only cache what they return.
// Every point has W = 1.
#pragma once

#include "kernel/geometry/Point2D.h"

#include <cstdint>
#include <span>
#include <vector>

namespace calvoro {

// The angle an arc sweeps from start to end, always counter-clockwise in its
// own angle convention: end - start when end lies above start, else the long
// way round; equal angles give a full turn.
double ArcSweep(double startAngle, double endAngle);

// A closed conic of centre (cx, cy) and radii rx, ry in `segments` steps,
// clockwise from (cx + rx, cy) back to it: segments + 1 points.
std::vector<TPoint2D> ConicProfile(double cx, double cy, double rx, double ry, std::uint16_t segments);

// An elliptic arc from startAngle to endAngle (ArcSweep): `segments` points
// at steps of sweep / (segments + 1), then the end point, so the last segment
// spans the rest of the sweep. Counter-clockwise points lie at
// (cx + rx cos a, cy + ry sin a), clockwise ones at (cx + rx cos a, cy - ry sin a).
std::vector<TPoint2D> ArcProfile(double cx, double cy, double rx, double ry, double startAngle, double endAngle,
                                 bool counterClockwise, std::uint16_t segments);

// The outline of the axis-aligned frame with opposite corners p0 and p1:
// p0, (p0.X, p1.Y), p1, (p1.X, p0.Y), p0.
std::vector<TPoint2D> FrameProfile(const TPoint2D& p0, const TPoint2D& p1);

// The uniform open B-spline of the given order over the control points,
// sampled at `segments` evenly spaced parameters and closed by the last control
// point: segments + 1 points, the first one on the first control point. Needs
// 1 <= order <= the number of control points.
std::vector<TPoint2D> BSplineProfile(std::span<const TPoint2D> controlPoints, int order, std::uint16_t segments);

}  // namespace calvoro

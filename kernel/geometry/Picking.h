// Pick tests: how near a point lies to a point, a segment, a polyline or a
// polygon, in the units of the point (pixels when the entities' points are
// carried to the screen by the matrix).
#pragma once

#include "kernel/geometry/Matrix2D.h"
#include "kernel/geometry/Point2D.h"

#include <span>

namespace calvoro {

// Hit-test codes of every drawing object.
inline constexpr int kHitMiss = -200;
inline constexpr int kHitNearBox = -100;  // only inside the box grown by the aperture
inline constexpr int kHitOutline = -1;
inline constexpr int kHitInside = -2;  // inside a filled shape or a text box
// The distance reported when nothing was near.
inline constexpr double kNoDistance = 100000000.0;

// True when the foot of the perpendicular from p falls on segment a-b (ends
// included); d is then the distance of p from the segment's line, else
// kNoDistance. A segment of no length gives false.
bool DistanceToSegment2D(const TPoint2D& p, const TPoint2D& a, const TPoint2D& b, double& d);
// True when q lies in the square of half side `aperture` around p (edges
// inside); d is then their distance, else kNoDistance. Both are made cartesian.
bool IsNearPoint2D(const TPoint2D& p, const TPoint2D& q, double aperture, double& d);

// kHitOutline when a segment of the points carried by m lies within the
// aperture of p (d the nearest such distance), else kHitMiss with d =
// kNoDistance. Closed adds the segment from the last point back to the first.
int HitPolyline2D(std::span<const TPoint2D> points, const TPoint2D& p, double aperture, bool closed, const TMatrix2D& m,
                  double& d);
// The closed polygon of the points carried by m: kHitOutline when an edge lies
// nearer than the aperture (d that distance), else kHitInside when p lies
// inside by the even-odd rule (d = aperture), else kHitMiss (d = kNoDistance).
// No points: a miss.
int HitPolygon2D(std::span<const TPoint2D> points, const TPoint2D& p, double aperture, const TMatrix2D& m, double& d);

}  // namespace calvoro

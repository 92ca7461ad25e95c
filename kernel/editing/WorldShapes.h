// The picked objects as the editing commands see them: in world coordinates,
// through each object's transform. A line (or a polyline of two points) is a
// segment, an arc or a circle a circular arc, any other outline the polyline
// of its profile. Also the crossings of lines and circles the commands share.
#pragma once

#include "kernel/geometry/Point2D.h"

#include <optional>
#include <vector>

namespace calvoro {

class TObject2D;

inline constexpr double kTwoPi = 6.283185307179586476925;

struct WorldSegment {
    TPoint2D A;
    TPoint2D B;
};

// A counter-clockwise arc from Start over Sweep radians; a circle has Full set
// (Sweep is then a full turn).
struct WorldArc {
    TPoint2D Centre;
    double Radius = 0.0;
    double Start = 0.0;
    double Sweep = kTwoPi;
    bool Full = true;
};

// The object's point in world coordinates.
TPoint2D WorldPoint(const TObject2D& object, const TPoint2D& p);

// A line, or a polyline (polygons included) of exactly two points.
std::optional<WorldSegment> SegmentOf(const TObject2D& object);
// An arc or a circle. An arc whose ends meet within the tolerance is full.
std::optional<WorldArc> ArcOf(const TObject2D& object);
// The profile of any outline as a world polyline; a polygon gets its closing
// edge, so that its pieces keep every edge. Empty for other objects.
std::vector<TPoint2D> WorldPolylineOf(TObject2D& object);

// Angle in [0, 2 pi).
double NormalizedAngle(double angle);
// How far counter-clockwise from the arc's start the point lies, in radians,
// when its angle falls within the sweep (the ends widened by the tolerance
// along the circle); points at the start give 0. None off the sweep.
std::optional<double> SweepOffset(const WorldArc& arc, const TPoint2D& p);
TPoint2D PointOnArc(const WorldArc& arc, double angle);

// Parameters t (point A + t (B - A)) where the infinite line through A and B
// meets the circle, ascending: two, one for a line touching the circle within
// the tolerance, or none. None for A = B.
std::vector<double> LineCircleParameters(const TPoint2D& a, const TPoint2D& b, const TPoint2D& centre, double radius);
// The points where segment A-B crosses or touches the circle (the ends
// included within the tolerance), from A towards B.
std::vector<TPoint2D> SegmentCircleCrossings(const TPoint2D& a, const TPoint2D& b, const TPoint2D& centre,
                                             double radius);

// Of the candidates, the one nearest `target`; a tie goes to the later one.
TPoint2D NearestTo(const std::vector<TPoint2D>& candidates, const TPoint2D& target);

}  // namespace calvoro

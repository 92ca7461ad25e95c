// The parameters the curve entities derive from their control points: centre
// and radius of circles and arcs, centre and radii of ellipses, and the start
// and end angles of arcs and open ellipses. Points are made cartesian first.
#pragma once

#include "kernel/geometry/PointsSet2D.h"

#include <cstdint>

namespace calvoro {

// Circle and arc: the centre is point 0, the radius its distance to point 1.
struct TCircleParameters {
    double CX = 0.0, CY = 0.0, R = 0.0;
};
TCircleParameters CircleParameters(const TPointsSet2D& points);

// Ellipse and open ellipse: points 0 and 1 are corners of the bounding box.
struct TEllipseParameters {
    double CX = 0.0, CY = 0.0, RX = 0.0, RY = 0.0;
};
TEllipseParameters EllipseParameters(const TPointsSet2D& points);

// Start and end of an arc or an open ellipse. Direction 1 runs
// counter-clockwise (angles grow with Y up), 0 clockwise: a clockwise arc
// measures its angles with Y down. The angles are not stored in records:
// they follow control points 2 (start) and 3 (end).
struct TArcEnds {
    double StartAngle = 0.0;
    double EndAngle = 0.0;
    std::uint8_t Direction = 1;

    bool CounterClockwise() const { return Direction != 0; }
    // The angle of p seen from (cx, cy), in the arc's own convention.
    double AngleOf(const TPoint2D& p, double cx, double cy) const;
    // The angles of points 2 and 3, when there are more than two points.
    void FollowPoints(const TPointsSet2D& points, double cx, double cy);
};

// Records written before arcs kept their end points hold only points 0 and
// 1: both ends are then put at angle 0 (a full turn, as such arcs were drawn).
void CompleteArcEnds(TPointsSet2D& points, const TPoint2D& atAngleZero);

// After an arc or open ellipse has taken the two corners of an ellipse or
// frame: both ends at the origin, notifying once.
void AppendOriginEnds(TPointsSet2D& points);

}  // namespace calvoro

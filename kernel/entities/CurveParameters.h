// The parameters the curve entities derive from their control points: centre
// and radius of circles and arcs, centre and radii of ellipses, and the start
// and end angles of arcs and open ellipses. Points are made cartesian first.
#pragma once

#include "kernel/geometry/PointsSet2D.h"

#include <cstdint>

namespace calvoro {

class BinaryReader;

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

// The Direction byte of an arc or open ellipse record (any value but 0 is
// 1), then the angles of its end points. Records written before copies of
// arcs kept their end points hold only points 0 and 1: both ends are then put
// at angle 0, a full turn, as such arcs were drawn.
void ReadArcEnds(BinaryReader& reader, TArcEnds& ends, TPointsSet2D& points, double cx, double cy,
                 const TPoint2D& atAngleZero);

// What an arc or open ellipse takes from a curve it copies: from one of its
// own class (sourceEnds given) the ends and points 0 .. 3; from an ellipse or
// a frame points 0 and 1, with both ends at the origin and the angles of a
// full turn. The points end fixed in number.
void TakeArcCopy(TPointsSet2D& target, TArcEnds& ends, const TPointsSet2D& source, const TArcEnds* sourceEnds);

}  // namespace calvoro

// The corner of two straight segments and the fillet between them, the
// shared construction of the corner trim and the tangent arc on two lines.
//
// The pick points choose the quarter of the plane the fillet lies in: the
// fillet centre lies on the side of line 1 where segment 2 was picked and on
// the side of line 2 where segment 1 was picked. Each segment's end on the
// corner side is the one that moves (to the corner, or to the tangent point).
#pragma once

#include "kernel/editing/EditOutcome.h"
#include "kernel/editing/WorldShapes.h"

namespace calvoro {

struct SegmentFilletResult {
    EditStatus Status = EditStatus::Done;
    // Whether the segments can be cut back: Done, or why their ends cannot move.
    EditStatus TrimStatus = EditStatus::Done;
    TPoint2D Centre;    // of the fillet circle
    TPoint2D Corner;    // where the two lines meet
    TPoint2D Tangent1;  // the fillet circle's touching point on line 1
    TPoint2D Tangent2;
    WorldSegment Segment1;  // with its corner-side end moved
    WorldSegment Segment2;
    double StartAngle = 0.0;  // the fillet arc, counter-clockwise the short way
    double EndAngle = 0.0;    // between the tangent points, in [0, 2 pi)
};

// pick1 is where segment 1 was picked, pick2 where segment 2 was. Radius is
// the fillet's; moveToTangent moves the ends to the tangent points (a fillet),
// otherwise to the corner (a corner trim, which needs a radius only to find
// the sides). Refuses segments of no length, parallel or nearly collinear
// lines and a pick point on the other line; TrimStatus refuses an end that
// would have to move past the segment's other end.
SegmentFilletResult SegmentFillet(const WorldSegment& segment1, const WorldSegment& segment2, const TPoint2D& pick1,
                                  const TPoint2D& pick2, double radius, bool moveToTangent);

// The counter-clockwise arc about centre from the direction of t1 to that of
// t2, the short way round; angles in [0, 2 pi).
void FilletAngles(const TPoint2D& centre, const TPoint2D& t1, const TPoint2D& t2, double& start, double& end);

// Moves the end of the segment that lies on the corner side of the tangent
// point to `to`: the first end when (B - A) . (tangent - corner) > 0. False
// when the kept end would not lie beyond `to`, away from the corner.
bool MoveCornerEnd(WorldSegment& segment, const TPoint2D& corner, const TPoint2D& tangent, const TPoint2D& to);

}  // namespace calvoro

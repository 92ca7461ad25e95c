// The break: both picked objects are cut where they cross each other. A line
// is cut into lines, an arc or a circle into arcs, any other outline (a
// polyline, polygon, frame or curve) into polylines along its profile; each
// object that is cut is replaced by its pieces, which keep its layer. Only
// points that lie on both objects cut, and a point at an object's own end
// does not cut it. The crossing points come back as marks.
#pragma once

#include "kernel/editing/EditOutcome.h"
#include "kernel/editing/EditPick.h"

namespace calvoro {

class TQVCmp2D;

// A cut on a polyline this close to one of its vertices is made at the
// vertex, and cuts this close together are one cut, so that no piece has a
// segment shorter than this.
inline constexpr double kPolylineCutGap = 0.001;

EditOutcome BreakObjects(TQVCmp2D& drawing, const EditPick& pick);

}  // namespace calvoro

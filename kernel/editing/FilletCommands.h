// The corner trim, the tangent arc (fillet) and the arc split as functions of
// the drawing, the pick and the command's parameters. Lines and polylines of
// two points count as lines, arcs and circles as arcs; a circle that is cut is
// replaced by arcs. Every function either changes the drawing and reports
// Done, or changes nothing and says why.
#pragma once

#include "kernel/editing/EditOutcome.h"
#include "kernel/editing/EditPick.h"

#include <cstdint>
#include <span>

namespace calvoro {

class TQVCmp2D;

struct FilletParameters {
    // The fillet arc's radius, above zero.
    double Radius = 0.0;
    // Cut the objects back to the fillet: lines end at their tangent points,
    // arcs are split there. Without it a full circle tangent to both is added
    // and the objects stay as they are.
    bool TrimObjects = true;
};

// Two lines are cut or extended to their corner, the parts on the side away
// from the pick points dropped. A line and an arc: the line is cut or
// extended to where it meets the arc's circle (the meeting point nearer the
// pick points) and the arc is split there.
EditOutcome CornerTrim(TQVCmp2D& drawing, const EditPick& pick);

// The arc of the radius tangent to both objects, on the sides where they
// were picked (of two solutions the one nearer the pick points), added on
// the current layer: a line with a line, an arc or a circle, or two arcs or
// circles.
EditOutcome TangentArc(TQVCmp2D& drawing, const EditPick& pick, const FilletParameters& parameters);

// The arc or circle `id` is replaced by its pieces between the points.
EditOutcome SplitArc(TQVCmp2D& drawing, std::int32_t id, std::span<const TPoint2D> points);

}  // namespace calvoro

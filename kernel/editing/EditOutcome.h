// What an editing command reports: whether it changed the drawing and, when
// it did not, why (the text the status line shows); the IDs it added, deleted
// and changed; and the world points the view marks once it has repainted.
// A command that is not done has changed nothing.
#pragma once

#include "kernel/geometry/Point2D.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace calvoro {

enum class EditStatus {
    Done,
    NotTwoObjects,       // fewer than two objects picked, or one no longer in the drawing
    SameObject,          // the same object picked twice
    WrongKinds,          // the command does not work on these kinds of object
    PolylineNotSegment,  // a polyline of more or fewer than two points
    NoLength,            // a line of no length
    Parallel,            // parallel or collinear lines have no corner
    PickAtCorner,        // an object picked where it meets the other: no side to keep
    BadRadius,           // a radius that is not a number above zero
    RadiusTooLarge,      // the fillet would reach past the end of an object
    NoFillet,            // no circle of the radius touches both objects
    NoCorner,            // the line does not reach the arc
    NoCrossing,          // the objects do not cross (touching at their ends does not count)
    NotOnArc,            // no point to split at lies inside the arc
    NoTangent,           // one circle inside the other, or concentric circles
    OutOfRange,          // the result would hold a coordinate that is not finite
    DrawingBusy,         // the drawing's object list is being walked
};

// The status line's text; empty for Done.
std::string_view EditStatusText(EditStatus status);

struct EditOutcome {
    EditStatus Status = EditStatus::Done;
    std::vector<std::int32_t> Added;
    std::vector<std::int32_t> Deleted;
    // Objects kept under their own ID with new geometry.
    std::vector<std::int32_t> Changed;
    // Where the command cut or met, for the view to mark after its repaint.
    std::vector<TPoint2D> Marks;

    bool Done() const { return Status == EditStatus::Done; }
    std::string_view Message() const { return EditStatusText(Status); }

    static EditOutcome Refused(EditStatus status) {
        EditOutcome outcome;
        outcome.Status = status;
        return outcome;
    }
};

}  // namespace calvoro

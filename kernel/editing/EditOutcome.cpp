// The status line's texts of the editing commands.
#include "kernel/editing/EditOutcome.h"

namespace calvoro {

std::string_view EditStatusText(EditStatus status) {
    switch (status) {
        case EditStatus::Done:
            return "";
        case EditStatus::NotTwoObjects:
            return "Pick two objects";
        case EditStatus::SameObject:
            return "Pick two different objects";
        case EditStatus::WrongKinds:
            return "This command does not work on these objects";
        case EditStatus::PolylineNotSegment:
            return "Only a polyline of two points can be trimmed like a line";
        case EditStatus::NoLength:
            return "A line has no length";
        case EditStatus::Parallel:
            return "The lines are parallel";
        case EditStatus::PickAtCorner:
            return "Pick each object away from the point where it meets the other";
        case EditStatus::BadRadius:
            return "The radius must be a number greater than zero";
        case EditStatus::RadiusTooLarge:
            return "The radius is too large for these objects";
        case EditStatus::NoFillet:
            return "No arc of this radius touches both objects";
        case EditStatus::NoCorner:
            return "The line does not reach the arc";
        case EditStatus::NoCrossing:
            return "The objects do not cross";
        case EditStatus::NotOnArc:
            return "No point lies inside the arc";
        case EditStatus::NoTangent:
            return "No line touches both circles";
        case EditStatus::OutOfRange:
            return "The result would lie out of range";
        case EditStatus::DrawingBusy:
            return "The drawing is busy";
    }
    return "";
}

}  // namespace calvoro

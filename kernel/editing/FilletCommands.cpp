// Corner trim, tangent arc and arc split.
#include "kernel/editing/FilletCommands.h"

#include "kernel/drawing/QVCmp2D.h"
#include "kernel/editing/ArcSplit.h"
#include "kernel/editing/DrawingChange.h"
#include "kernel/editing/SegmentFillet.h"
#include "kernel/editing/WorldShapes.h"
#include "kernel/entities/TArco2D.h"
#include "kernel/entities/TPolyline2D.h"
#include "kernel/geometry/GeomTolerance.h"
#include "kernel/geometry/PlaneGeometry.h"

#include <cmath>
#include <optional>

namespace calvoro {

namespace {

// Two lines have no corner radius; this one only finds the sides of the corner.
constexpr double kCornerSideRadius = 0.1;

struct Picked {
    TObject2D* Object = nullptr;
    TPoint2D Point;
    std::optional<WorldSegment> Segment;
    std::optional<WorldArc> Arc;
};

struct Command {
    bool MakeArc = false;
    bool Trim = true;
    double Radius = 0.0;
};

EditStatus LookUp(TQVCmp2D& drawing, const EditPick& pick, Picked (&picked)[2]) {
    if (pick.Count < 2) return EditStatus::NotTwoObjects;
    if (pick.Ids[0] == pick.Ids[1]) return EditStatus::SameObject;
    for (int i = 0; i < 2; ++i) {
        picked[i].Object = dynamic_cast<TObject2D*>(drawing.FindObject(pick.Ids[i]));
        if (picked[i].Object == nullptr) return EditStatus::NotTwoObjects;
        picked[i].Point = pick.Points[i];
    }
    return EditStatus::Done;
}

// Lines and arcs; a polyline counts as a line only with two points.
EditStatus Classify(Picked& picked) {
    picked.Segment = SegmentOf(*picked.Object);
    if (picked.Segment) return EditStatus::Done;
    picked.Arc = ArcOf(*picked.Object);
    if (picked.Arc) return EditStatus::Done;
    return picked.Object->InheritsFrom(TPolyline2D::Class) ? EditStatus::PolylineNotSegment : EditStatus::WrongKinds;
}

// Cuts the arc or circle at the points into pieces that take its place;
// false when no point cuts it.
bool SplitInto(DrawingChange& change, TObject2D& object, const WorldArc& arc, std::span<const TPoint2D> points) {
    const std::vector<ArcPiece> pieces = ArcSplitPieces(arc, points);
    if (pieces.empty()) return false;
    for (const ArcPiece& piece : pieces) change.AddPiece(MakeArcPiece(arc, piece), object);
    change.Delete(object);
    return true;
}

void AddFilletArc(DrawingChange& change, const TPoint2D& centre, double radius, bool trimmed, const TPoint2D& t1,
                  const TPoint2D& t2) {
    double start = 0.0, end = 0.0;
    if (trimmed) FilletAngles(centre, t1, t2, start, end);
    change.Add(std::make_unique<TArco2D>(-1, centre, MakePoint2D(centre.X + radius, centre.Y), start, end));
}

TPrimitive2D& PrimitiveOf(Picked& picked) {
    return dynamic_cast<TPrimitive2D&>(*picked.Object);
}

EditOutcome LineLine(TQVCmp2D& drawing, Picked& line1, Picked& line2, const Command& command) {
    const SegmentFilletResult fillet =
        SegmentFillet(*line1.Segment, *line2.Segment, line1.Point, line2.Point,
                      command.MakeArc ? command.Radius : kCornerSideRadius, command.MakeArc);
    if (fillet.Status != EditStatus::Done) return EditOutcome::Refused(fillet.Status);
    DrawingChange change;
    if (command.Trim) {
        if (fillet.TrimStatus != EditStatus::Done) return EditOutcome::Refused(fillet.TrimStatus);
        change.MoveEnds(PrimitiveOf(line1), fillet.Segment1.A, fillet.Segment1.B);
        change.MoveEnds(PrimitiveOf(line2), fillet.Segment2.A, fillet.Segment2.B);
    }
    if (command.MakeArc) {
        AddFilletArc(change, fillet.Centre, command.Radius, command.Trim, fillet.Tangent1, fillet.Tangent2);
    }
    return change.Apply(drawing);
}

// Signed distance of p from the line A -> B, positive on its left.
double LeftDistance(const WorldSegment& s, const TPoint2D& p) {
    const double length = PointDistance(s.A, s.B);
    return ((s.B.X - s.A.X) * (p.Y - s.A.Y) - (s.B.Y - s.A.Y) * (p.X - s.A.X)) / length;
}

std::vector<TPoint2D> PointsAt(const TPoint2D& a, const TPoint2D& b, const std::vector<double>& parameters) {
    std::vector<TPoint2D> points;
    for (double t : parameters) points.push_back(MakePoint2D(a.X + t * (b.X - a.X), a.Y + t * (b.Y - a.Y)));
    return points;
}

EditOutcome LineArc(TQVCmp2D& drawing, Picked& line, Picked& arc, const Command& command) {
    const WorldSegment& segment = *line.Segment;
    const WorldArc& circle = *arc.Arc;
    if (!(PointDistance(segment.A, segment.B) > GeomTolerance())) return EditOutcome::Refused(EditStatus::NoLength);
    const TPoint2D middle = MakePoint2D((line.Point.X + arc.Point.X) / 2.0, (line.Point.Y + arc.Point.Y) / 2.0);
    const std::vector<TPoint2D> corners =
        PointsAt(segment.A, segment.B, LineCircleParameters(segment.A, segment.B, circle.Centre, circle.Radius));
    DrawingChange change;

    if (!command.MakeArc) {
        // The corner trim keeps the part of the line on the picked side of the corner.
        if (corners.empty()) return EditOutcome::Refused(EditStatus::NoCorner);
        const TPoint2D corner = NearestTo(corners, middle);
        const TPoint2D kept = PerpendicularFoot(line.Point, segment.A, segment.B);
        WorldSegment trimmed = segment;
        if (!MoveCornerEnd(trimmed, corner, kept, corner)) return EditOutcome::Refused(EditStatus::PickAtCorner);
        change.MoveEnds(PrimitiveOf(line), trimmed.A, trimmed.B);
        const TPoint2D at[] = {corner};
        SplitInto(change, *arc.Object, circle, at);
        return change.Apply(drawing);
    }

    // The fillet lies outside the circle when the line was picked outside it,
    // and on the side of the line where the arc was picked.
    const int inOut = PointCircleRelation(circle.Radius, circle.Centre, line.Point);
    const double side = LeftDistance(segment, arc.Point);
    if (inOut == 0 || std::fabs(side) <= GeomTolerance()) return EditOutcome::Refused(EditStatus::PickAtCorner);
    const double offsetRadius = circle.Radius + inOut * command.Radius;
    if (!(offsetRadius > GeomTolerance())) return EditOutcome::Refused(EditStatus::RadiusTooLarge);
    const double length = PointDistance(segment.A, segment.B);
    const double shift = (side > 0.0 ? 1.0 : -1.0) * command.Radius / length;
    const double nx = -(segment.B.Y - segment.A.Y) * shift;
    const double ny = (segment.B.X - segment.A.X) * shift;
    const TPoint2D a = MakePoint2D(segment.A.X + nx, segment.A.Y + ny);
    const TPoint2D b = MakePoint2D(segment.B.X + nx, segment.B.Y + ny);
    const std::vector<TPoint2D> centres = PointsAt(a, b, LineCircleParameters(a, b, circle.Centre, offsetRadius));
    if (centres.empty()) return EditOutcome::Refused(EditStatus::NoFillet);
    const TPoint2D centre = NearestTo(centres, middle);
    const TPoint2D onLine = PerpendicularFoot(centre, segment.A, segment.B);
    const TPoint2D onArc = PointTowards(circle.Centre, centre, circle.Radius);

    if (command.Trim) {
        // A line that does not reach the circle has its corner where it comes nearest.
        const TPoint2D corner =
            corners.empty() ? PerpendicularFoot(circle.Centre, segment.A, segment.B) : NearestTo(corners, middle);
        WorldSegment trimmed = segment;
        if (!MoveCornerEnd(trimmed, corner, onLine, onLine)) return EditOutcome::Refused(EditStatus::RadiusTooLarge);
        change.MoveEnds(PrimitiveOf(line), trimmed.A, trimmed.B);
        const TPoint2D at[] = {onArc};
        SplitInto(change, *arc.Object, circle, at);
    }
    AddFilletArc(change, centre, command.Radius, command.Trim, onLine, onArc);
    return change.Apply(drawing);
}

EditOutcome ArcArc(TQVCmp2D& drawing, Picked& arc1, Picked& arc2, const Command& command) {
    const WorldArc& circle1 = *arc1.Arc;
    const WorldArc& circle2 = *arc2.Arc;
    // The fillet lies outside a circle on whose outside the other object was picked.
    const int side1 = PointCircleRelation(circle1.Radius, circle1.Centre, arc2.Point);
    const int side2 = PointCircleRelation(circle2.Radius, circle2.Centre, arc1.Point);
    if (side1 == 0 || side2 == 0) return EditOutcome::Refused(EditStatus::PickAtCorner);
    const double offset1 = circle1.Radius + side1 * command.Radius;
    const double offset2 = circle2.Radius + side2 * command.Radius;
    if (!(offset1 > GeomTolerance()) || !(offset2 > GeomTolerance())) {
        return EditOutcome::Refused(EditStatus::RadiusTooLarge);
    }
    const TCircleCircleIntersection meet = CircleCircleIntersection(offset1, circle1.Centre, offset2, circle2.Centre);
    if (meet.Count == 0) return EditOutcome::Refused(EditStatus::NoFillet);
    const TPoint2D middle = MakePoint2D((arc1.Point.X + arc2.Point.X) / 2.0, (arc1.Point.Y + arc2.Point.Y) / 2.0);
    const TPoint2D centre = NearestTo({meet.Points[0], meet.Points[1]}, middle);
    const TPoint2D touch1 = PointTowards(circle1.Centre, centre, circle1.Radius);
    const TPoint2D touch2 = PointTowards(circle2.Centre, centre, circle2.Radius);

    DrawingChange change;
    if (command.Trim) {
        const TPoint2D at1[] = {touch1};
        const TPoint2D at2[] = {touch2};
        SplitInto(change, *arc1.Object, circle1, at1);
        SplitInto(change, *arc2.Object, circle2, at2);
    }
    AddFilletArc(change, centre, command.Radius, command.Trim, touch1, touch2);
    return change.Apply(drawing);
}

EditOutcome RunFillet(TQVCmp2D& drawing, const EditPick& pick, const Command& command) {
    Picked picked[2];
    if (const EditStatus status = LookUp(drawing, pick, picked); status != EditStatus::Done) {
        return EditOutcome::Refused(status);
    }
    for (Picked& p : picked) {
        if (const EditStatus status = Classify(p); status != EditStatus::Done) return EditOutcome::Refused(status);
    }
    if (command.MakeArc && !(std::isfinite(command.Radius) && command.Radius > 0.0)) {
        return EditOutcome::Refused(EditStatus::BadRadius);
    }
    Picked& first = picked[0];
    Picked& second = picked[1];
    if (first.Segment && second.Segment) return LineLine(drawing, first, second, command);
    if (first.Segment) return LineArc(drawing, first, second, command);
    if (second.Segment) return LineArc(drawing, second, first, command);
    // Two arcs have no corner to trim to.
    if (!command.MakeArc) return EditOutcome::Refused(EditStatus::WrongKinds);
    return ArcArc(drawing, first, second, command);
}

}  // namespace

EditOutcome CornerTrim(TQVCmp2D& drawing, const EditPick& pick) {
    return RunFillet(drawing, pick, Command{false, true, 0.0});
}

EditOutcome TangentArc(TQVCmp2D& drawing, const EditPick& pick, const FilletParameters& parameters) {
    return RunFillet(drawing, pick, Command{true, parameters.TrimObjects, parameters.Radius});
}

EditOutcome SplitArc(TQVCmp2D& drawing, std::int32_t id, std::span<const TPoint2D> points) {
    auto* object = dynamic_cast<TObject2D*>(drawing.FindObject(id));
    if (object == nullptr) return EditOutcome::Refused(EditStatus::NotTwoObjects);
    const std::optional<WorldArc> arc = ArcOf(*object);
    if (!arc) return EditOutcome::Refused(EditStatus::WrongKinds);
    DrawingChange change;
    if (!SplitInto(change, *object, *arc, points)) return EditOutcome::Refused(EditStatus::NotOnArc);
    return change.Apply(drawing);
}

}  // namespace calvoro

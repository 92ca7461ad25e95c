// Lines tangent to two circles.
#include "kernel/editing/TangentLine.h"

#include "kernel/drawing/QVCmp2D.h"
#include "kernel/editing/DrawingChange.h"
#include "kernel/entities/TLine2D.h"
#include "kernel/geometry/GeomTolerance.h"
#include "kernel/geometry/PlaneGeometry.h"

#include <cmath>
#include <limits>

namespace calvoro {

std::vector<WorldSegment> CommonTangents(const TPoint2D& centre1, double radius1, const TPoint2D& centre2,
                                         double radius2) {
    std::vector<WorldSegment> tangents;
    const double dx = centre2.X - centre1.X;
    const double dy = centre2.Y - centre1.Y;
    const double d = std::hypot(dx, dy);
    if (!(d > GeomTolerance())) return tangents;
    const double ux = dx / d, uy = dy / d;
    // The unit normal w of a tangent has w . u = c; circle 2 touches it at
    // C2 + sign r2 w, with sign +1 for the outer tangents and -1 for the inner.
    for (const double sign : {1.0, -1.0}) {
        double c = (radius1 - sign * radius2) / d;
        if (std::fabs(c) > 1.0) {
            // Circles that touch reach just past 1 by rounding.
            if (std::fabs(c) - 1.0 > GeomTolerance() / d) continue;
            c = c > 0.0 ? 1.0 : -1.0;
        }
        const double h = std::sqrt(1.0 - c * c);
        for (const double turn : {1.0, -1.0}) {
            const double wx = c * ux - turn * h * uy;
            const double wy = c * uy + turn * h * ux;
            const WorldSegment tangent{MakePoint2D(centre1.X + radius1 * wx, centre1.Y + radius1 * wy),
                                       MakePoint2D(centre2.X + sign * radius2 * wx, centre2.Y + sign * radius2 * wy)};
            if (PointDistance(tangent.A, tangent.B) <= GeomTolerance()) continue;
            // One tangent where h is 0: do not give it twice.
            if (h == 0.0 && turn < 0.0) continue;
            tangents.push_back(tangent);
        }
    }
    return tangents;
}

EditOutcome TangentLine(TQVCmp2D& drawing, const EditPick& pick) {
    if (pick.Count < 2) return EditOutcome::Refused(EditStatus::NotTwoObjects);
    if (pick.Ids[0] == pick.Ids[1]) return EditOutcome::Refused(EditStatus::SameObject);
    WorldArc circles[2];
    for (int i = 0; i < 2; ++i) {
        auto* object = dynamic_cast<TObject2D*>(drawing.FindObject(pick.Ids[i]));
        if (object == nullptr) return EditOutcome::Refused(EditStatus::NotTwoObjects);
        const std::optional<WorldArc> arc = ArcOf(*object);
        if (!arc) return EditOutcome::Refused(EditStatus::WrongKinds);
        circles[i] = *arc;
    }
    const std::vector<WorldSegment> tangents =
        CommonTangents(circles[0].Centre, circles[0].Radius, circles[1].Centre, circles[1].Radius);
    if (tangents.empty()) return EditOutcome::Refused(EditStatus::NoTangent);
    const WorldSegment* best = nullptr;
    double bestScore = std::numeric_limits<double>::infinity();
    for (const WorldSegment& tangent : tangents) {
        const double score = PointDistance(pick.Points[0], tangent.A) + PointDistance(pick.Points[1], tangent.B);
        if (score < bestScore) {
            best = &tangent;
            bestScore = score;
        }
    }
    if (best == nullptr) return EditOutcome::Refused(EditStatus::OutOfRange);
    DrawingChange change;
    change.Add(std::make_unique<TLine2D>(-1, best->A, best->B));
    return change.Apply(drawing);
}

}  // namespace calvoro

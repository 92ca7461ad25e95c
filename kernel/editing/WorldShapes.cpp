// World views of the picked objects and the line-circle crossings.
#include "kernel/editing/WorldShapes.h"

#include "kernel/entities/TArco2D.h"
#include "kernel/entities/TCerchio2D.h"
#include "kernel/entities/TLine2D.h"
#include "kernel/entities/TOutline2D.h"
#include "kernel/entities/TPolygon2D.h"
#include "kernel/entities/TPolyline2D.h"
#include "kernel/geometry/GeomTolerance.h"
#include "kernel/geometry/Matrix2D.h"
#include "kernel/geometry/PlaneGeometry.h"

#include <cmath>

namespace calvoro {

TPoint2D WorldPoint(const TObject2D& object, const TPoint2D& p) {
    if (!object.HasTransform()) return CartesianPoint(p);
    return CartesianPoint(PointTimesMatrix2D(p, object.GetObjectMatrix()));
}

std::optional<WorldSegment> SegmentOf(const TObject2D& object) {
    const bool line = object.InheritsFrom(TLine2D::Class);
    if (!line && !object.InheritsFrom(TPolyline2D::Class)) return std::nullopt;
    const auto& points = dynamic_cast<const TPrimitive2D&>(object).Points();
    if (points.Count() != 2) return std::nullopt;
    return WorldSegment{WorldPoint(object, points.Get(0)), WorldPoint(object, points.Get(1))};
}

std::optional<WorldArc> ArcOf(const TObject2D& object) {
    if (const auto* arc = dynamic_cast<const TArco2D*>(&object)) {
        const TArcData data = arc->GetArcData();
        WorldArc result{data.Centre, data.Radius, NormalizedAngle(data.StartAngle), data.Sweep, false};
        if ((kTwoPi - data.Sweep) * data.Radius <= GeomTolerance()) {
            result.Sweep = kTwoPi;
            result.Full = true;
        }
        return result;
    }
    if (const auto* circle = dynamic_cast<const TCerchio2D*>(&object)) {
        const TPoint2D centre = WorldPoint(*circle, circle->Points().Get(0));
        const TPoint2D onCircle = WorldPoint(*circle, circle->Points().Get(1));
        return WorldArc{centre, PointDistance(centre, onCircle), 0.0, kTwoPi, true};
    }
    return std::nullopt;
}

std::vector<TPoint2D> WorldPolylineOf(TObject2D& object) {
    std::vector<TPoint2D> result;
    auto* outline = dynamic_cast<TOutline2D*>(&object);
    if (outline == nullptr) return result;
    const ProfileUse use(*outline);
    if (!outline->HasProfilePoints()) return result;
    for (const TPoint2D& p : outline->GetProfilePoints().Points()) result.push_back(WorldPoint(object, p));
    if (object.InheritsFrom(TPolygon2D::Class) && result.size() > 2 && !IsSamePoint(result.front(), result.back())) {
        result.push_back(result.front());
    }
    return result;
}

double NormalizedAngle(double angle) {
    double a = std::fmod(angle, kTwoPi);
    if (a < 0.0) a += kTwoPi;
    return a >= kTwoPi ? 0.0 : a;
}

std::optional<double> SweepOffset(const WorldArc& arc, const TPoint2D& p) {
    const double angle = std::atan2(p.Y - arc.Centre.Y, p.X - arc.Centre.X);
    double offset = NormalizedAngle(angle - arc.Start);
    // Along the circle the tolerance is a length, not an angle.
    const double slack = arc.Radius > 0.0 ? GeomTolerance() / arc.Radius : 0.0;
    if (kTwoPi - offset <= slack) offset = 0.0;
    if (arc.Full) return offset;
    if (offset <= arc.Sweep) return offset;
    if (offset - arc.Sweep <= slack) return arc.Sweep;
    return std::nullopt;
}

TPoint2D PointOnArc(const WorldArc& arc, double angle) {
    return MakePoint2D(arc.Centre.X + arc.Radius * std::cos(angle), arc.Centre.Y + arc.Radius * std::sin(angle));
}

std::vector<double> LineCircleParameters(const TPoint2D& a, const TPoint2D& b, const TPoint2D& centre, double radius) {
    const double dx = b.X - a.X;
    const double dy = b.Y - a.Y;
    const double lengthSquared = dx * dx + dy * dy;
    if (!(lengthSquared > 0.0)) return {};
    const double length = std::sqrt(lengthSquared);
    // The foot of the perpendicular from the centre, and its distance.
    const double footT = ((centre.X - a.X) * dx + (centre.Y - a.Y) * dy) / lengthSquared;
    const double footX = a.X + footT * dx - centre.X;
    const double footY = a.Y + footT * dy - centre.Y;
    const double distance = std::sqrt(footX * footX + footY * footY);
    if (distance > radius + GeomTolerance()) return {};
    // A chord shorter than the tolerance is a touch: one point, however the
    // rounding falls.
    const double halfChordLength = std::sqrt(std::fmax(0.0, radius * radius - distance * distance));
    if (halfChordLength <= GeomTolerance()) return {footT};
    const double halfChord = halfChordLength / length;
    return {footT - halfChord, footT + halfChord};
}

std::vector<TPoint2D> SegmentCircleCrossings(const TPoint2D& a, const TPoint2D& b, const TPoint2D& centre,
                                             double radius) {
    std::vector<TPoint2D> result;
    const double length = PointDistance(a, b);
    if (!(length > 0.0)) return result;
    const double slack = GeomTolerance() / length;
    for (double t : LineCircleParameters(a, b, centre, radius)) {
        if (t < -slack || t > 1.0 + slack) continue;
        t = std::fmin(1.0, std::fmax(0.0, t));
        result.push_back(MakePoint2D(a.X + t * (b.X - a.X), a.Y + t * (b.Y - a.Y)));
    }
    return result;
}

TPoint2D NearestTo(const std::vector<TPoint2D>& candidates, const TPoint2D& target) {
    TPoint2D best = candidates.front();
    double bestDistance = PointDistance(best, target);
    for (std::size_t i = 1; i < candidates.size(); ++i) {
        const double distance = PointDistance(candidates[i], target);
        if (distance <= bestDistance) {
            best = candidates[i];
            bestDistance = distance;
        }
    }
    return best;
}

}  // namespace calvoro

#include "kernel/geometry/Picking.h"

#include "kernel/geometry/PlaneGeometry.h"
#include "kernel/geometry/Rect2D.h"

#include <cmath>

namespace calvoro {

namespace {

TPoint2D Carried(const TPoint2D& p, const TMatrix2D& m) {
    return CartesianPoint(PointTimesMatrix2D(p, m));
}

// Calls visit(a, b) for each segment of the points carried by m, in order,
// and for the closing segment when closed. The points must not be empty.
template <typename Visit>
void ForEachCarriedSegment(std::span<const TPoint2D> points, const TMatrix2D& m, bool closed, Visit visit) {
    const TPoint2D first = Carried(points.front(), m);
    TPoint2D previous = first;
    for (const TPoint2D& point : points.subspan(1)) {
        const TPoint2D current = Carried(point, m);
        visit(previous, current);
        previous = current;
    }
    if (closed) visit(previous, first);
}

// Even-odd rule: the edge a-b crosses the ray from p to the right. Each edge
// owns its lower end only, so a ray through a vertex counts once.
bool CrossesRayToTheRight(const TPoint2D& p, const TPoint2D& a, const TPoint2D& b) {
    const bool straddles = (a.Y <= p.Y && p.Y < b.Y) || (b.Y <= p.Y && p.Y < a.Y);
    return straddles && p.X <= a.X + (p.Y - a.Y) * (b.X - a.X) / (b.Y - a.Y);
}

}  // namespace

bool DistanceToSegment2D(const TPoint2D& p, const TPoint2D& a, const TPoint2D& b, double& d) {
    d = kNoDistance;
    const double dx = b.X - a.X;
    const double dy = b.Y - a.Y;
    const double squaredLength = dx * dx + dy * dy;
    if (squaredLength == 0.0) return false;
    // Divided by the squared length itself (not by the square of its root), so
    // that a point at b gives t = 1 exactly.
    const double t = -(dy * (a.Y - p.Y) + (a.X - p.X) * dx) / squaredLength;
    if (!(t >= 0.0 && t <= 1.0)) return false;
    d = std::fabs((a.Y - p.Y) * dx - (a.X - p.X) * dy) / std::sqrt(squaredLength);
    return true;
}

bool IsNearPoint2D(const TPoint2D& p, const TPoint2D& q, double aperture, double& d) {
    const TPoint2D centre = CartesianPoint(p);
    const TPoint2D other = CartesianPoint(q);
    const TRect2D square =
        MakeRect2D(centre.X - aperture, centre.Y - aperture, centre.X + aperture, centre.Y + aperture);
    if (!IsPointInRect2D(square, other)) {
        d = kNoDistance;
        return false;
    }
    d = PointDistance(centre, other);
    return true;
}

int HitPolyline2D(std::span<const TPoint2D> points, const TPoint2D& p, double aperture, bool closed, const TMatrix2D& m,
                  double& d) {
    int result = kHitMiss;
    d = kNoDistance;
    if (points.empty()) return result;
    const TPoint2D target = CartesianPoint(p);
    double best = aperture;
    const auto trySegment = [&](const TPoint2D& a, const TPoint2D& b) {
        double distance;
        if (DistanceToSegment2D(target, a, b, distance) && distance <= best) {
            result = kHitOutline;
            d = best = distance;
        }
    };
    ForEachCarriedSegment(points, m, closed, trySegment);
    return result;
}

int HitPolygon2D(std::span<const TPoint2D> points, const TPoint2D& p, double aperture, const TMatrix2D& m, double& d) {
    d = kNoDistance;
    if (points.empty()) return kHitMiss;
    const TPoint2D target = CartesianPoint(p);
    int result = kHitMiss;
    d = aperture;
    int crossings = 0;
    const auto tryEdge = [&](const TPoint2D& a, const TPoint2D& b) {
        double distance;
        if (DistanceToSegment2D(target, a, b, distance) && distance <= d) {
            d = distance;
            if (distance < aperture) result = kHitOutline;
        } else if (CrossesRayToTheRight(target, a, b)) {
            ++crossings;
        }
    };
    ForEachCarriedSegment(points, m, true, tryEdge);
    if (result == kHitMiss && crossings % 2 == 1) {
        d = aperture;
        return kHitInside;
    }
    if (result == kHitMiss) d = kNoDistance;
    return result;
}

}  // namespace calvoro

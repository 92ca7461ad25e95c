#include "kernel/geometry/PlaneGeometry.h"

#include "kernel/geometry/GeomTolerance.h"

#include <cmath>
#include <numbers>

namespace calvoro {

namespace {

double PlusFullTurn(double angle) {
    return static_cast<double>(angle + kFullTurn);
}

TPoint2D Along(const TPoint2D& from, double dx, double dy, double t) {
    return MakePoint2D(from.X + t * dx, from.Y + t * dy);
}

// The end of a segment that touches a circle and the point where the segment
// leaves the circle again: the end reflected through the foot of the
// perpendicular from the centre.
TPoint2D ReflectThrough(const TPoint2D& p, const TPoint2D& foot) {
    return MakePoint2D(foot.X + (foot.X - p.X), foot.Y + (foot.Y - p.Y));
}

}  // namespace

double SweepAngle(int dir, double a, double b) {
    double result;
    if (dir == 1) {
        if (b <= a) b = PlusFullTurn(b);
        result = b - a;
    } else if (dir == -1) {
        if (a <= b) a = PlusFullTurn(a);
        result = a - b;
    } else {
        result = b - a;
    }
    if (result < 0.0) result = PlusFullTurn(result);
    return result;
}

double SweepAngleCCW(bool counterClockwise, double a, double b) {
    return SweepAngle(counterClockwise ? -1 : 1, a, b);
}

double SquaredDistance(double x1, double y1, double x2, double y2) {
    const double dx = x1 - x2;
    const double dy = y1 - y2;
    return dx * dx + dy * dy;
}

double PointDistanceXY(double x1, double y1, double x2, double y2) {
    return std::sqrt(SquaredDistance(x1, y1, x2, y2));
}

double PointDistance(const TPoint2D& a, const TPoint2D& b) {
    return PointDistanceXY(a.X, a.Y, b.X, b.Y);
}

double PointDistance2D(const TPoint2D& a, const TPoint2D& b) {
    return PointDistance(CartesianPoint(a), CartesianPoint(b));
}

double RadiansToDegrees(double angle) {
    return angle * 180.0 / std::numbers::pi;
}

bool IsSamePoint(double x1, double y1, double x2, double y2) {
    return IsSameValue(x1, x2) && IsSameValue(y1, y2);
}

bool IsSamePoint(const TPoint2D& a, const TPoint2D& b) {
    return IsSamePoint(a.X, a.Y, b.X, b.Y);
}

bool IsSamePoint2D(const TPoint2D& a, const TPoint2D& b) {
    if (a.W != b.W) return IsSamePoint(CartesianPoint(a), CartesianPoint(b));
    return IsSamePoint(a, b);
}

TPoint2D ClosestPointOnSegment(const TPoint2D& p, const TPoint2D& a, const TPoint2D& b) {
    const double dx = b.X - a.X;
    const double dy = b.Y - a.Y;
    const double dot = dx * (p.X - a.X) + dy * (p.Y - a.Y);
    if (dot <= 0.0) return MakePoint2D(a.X, a.Y);
    const double squaredLength = dx * dx + dy * dy;
    if (dot >= squaredLength) return MakePoint2D(b.X, b.Y);
    return Along(a, dx, dy, dot / squaredLength);
}

TPoint2D PerpendicularFoot(const TPoint2D& p, const TPoint2D& a, const TPoint2D& b) {
    const double dx = b.X - a.X;
    const double dy = b.Y - a.Y;
    const double squaredLength = dx * dx + dy * dy;
    if (squaredLength == 0.0) return MakePoint2D(a.X, a.Y);
    return Along(a, dx, dy, (dx * (p.X - a.X) + dy * (p.Y - a.Y)) / squaredLength);
}

TPoint2D PointTowards(double fromX, double fromY, double toX, double toY, double d) {
    const double dx = toX - fromX;
    const double dy = toY - fromY;
    const double length = std::sqrt(dx * dx + dy * dy);
    if (length == 0.0) return MakePoint2D(fromX, fromY);
    return MakePoint2D(fromX + dx / length * d, fromY + dy / length * d);
}

TPoint2D PointTowards(const TPoint2D& from, const TPoint2D& to, double d) {
    return PointTowards(from.X, from.Y, to.X, to.Y, d);
}

bool PointSideOfLine(const TPoint2D& p, const TPoint2D& a, const TPoint2D& b) {
    return (b.Y - a.Y) * (p.X - a.X) > (p.Y - a.Y) * (b.X - a.X);
}

void ConstrainOrtho2D(const TPoint2D& p0, TPoint2D& p1) {
    const TPoint2D start = CartesianPoint(p0);
    p1 = CartesianPoint(p1);
    if (std::fabs(p1.X - start.X) <= std::fabs(p1.Y - start.Y))
        p1.X = start.X;
    else
        p1.Y = start.Y;
}

int IndexOfMinimum(std::span<const double> values) {
    double minimum = 9999999.1234;
    int result = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (values[i] < minimum) {
            minimum = values[i];
            result = static_cast<int>(i);
        }
    }
    return result;
}

int VectorQuadrant(double x, double y) {
    if (x > 0.0 && y >= 0.0) return 1;
    if (x <= 0.0 && y > 0.0) return 2;
    if (x < 0.0 && y <= 0.0) return 3;
    if (x >= 0.0 && y < 0.0) return 4;
    return 0;
}

TVector2D PointsVector2D(const TPoint2D& a, const TPoint2D& b) {
    if (a.W != b.W) return PointsVector2D(CartesianPoint(a), CartesianPoint(b));
    return TVector2D{b.X - a.X, b.Y - a.Y};
}

double VectorLength2D(const TVector2D& v) {
    return std::sqrt(v.X * v.X + v.Y * v.Y);
}

TVector2D UnitVector2D(const TVector2D& v) {
    const double length = VectorLength2D(v);
    if (length == 0.0) return TVector2D{};
    return TVector2D{v.X / length, v.Y / length};
}

TVector2D RotateVector2D(const TVector2D& v, double angle) {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    return TVector2D{v.X * c - v.Y * s, v.X * s + v.Y * c};
}

double VectorAngle(const TVector2D& u, const TVector2D& v) {
    const double uScale = std::fmax(std::fabs(u.X), std::fabs(u.Y));
    const double vScale = std::fmax(std::fabs(v.X), std::fabs(v.Y));
    if (uScale == 0.0 || vScale == 0.0) return 0.0;
    // The arc cosine of the normalised dot product loses half the digits near
    // 0 and pi, and rounding can push its argument past 1 (no value at all).
    // The same angle from the sine and cosine parts is exact for parallel
    // and opposite vectors and never leaves [0, pi]; the scaling keeps huge
    // and tiny vectors from overflowing or vanishing.
    const TVector2D a{u.X / uScale, u.Y / uScale};
    const TVector2D b{v.X / vScale, v.Y / vScale};
    const double dot = a.X * b.X + a.Y * b.Y;
    const double cross = a.X * b.Y - a.Y * b.X;
    return std::atan2(std::fabs(cross), dot);
}

float CrossProduct2D(const TVector2D& u, const TVector2D& v) {
    return static_cast<float>(u.X * v.Y - v.X * u.Y);
}

int PointCircleRelation(double radius, const TPoint2D& centre, const TPoint2D& p) {
    const double squaredDistance = SquaredDistance(p.X, p.Y, centre.X, centre.Y);
    const double squaredRadius = radius * radius;
    if (squaredDistance < squaredRadius) return -1;
    return IsSameValue(squaredRadius, squaredDistance) ? 0 : 1;
}

bool LineMeetsCircle(double radius, const TPoint2D& centre, const TPoint2D& a, const TPoint2D& b) {
    const double dx = b.X - a.X;
    const double dy = b.Y - a.Y;
    const double cross = dx * (a.Y - centre.Y) - dy * (a.X - centre.X);
    return IsGreaterOrSame(radius * radius * (dx * dx + dy * dy) - cross * cross, 0.0);
}

TLineCircleIntersection LineCircleIntersection(double radius, const TPoint2D& centre, const TPoint2D& a,
                                               const TPoint2D& b) {
    TLineCircleIntersection result;
    const TPoint2D startPoint = MakePoint2D(a.X, a.Y);
    const TPoint2D endPoint = MakePoint2D(b.X, b.Y);
    const int startRelation = PointCircleRelation(radius, centre, a);
    const int endRelation = PointCircleRelation(radius, centre, b);

    if (startRelation == -1 && endRelation == -1) {
        result.Count = 2;
        result.Points = {startPoint, endPoint};
        return result;
    }
    if (startRelation == 0 && endRelation == 0) {
        result.Count = 3;
        result.Points = {startPoint, endPoint};
        return result;
    }
    if (startRelation == -1 || endRelation == -1) {
        // One end inside: it stays, the other becomes the crossing.
        const TPoint2D foot = PerpendicularFoot(centre, a, b);
        const double d = PointDistance(centre, foot);
        const double h = std::sqrt(std::fmax(0.0, radius * radius - d * d));
        result.Count = 2;
        if (startRelation == -1)
            result.Points = {startPoint, PointTowards(foot, b, h)};
        else
            result.Points = {PointTowards(foot, a, h), endPoint};
        return result;
    }

    const TPoint2D closest = ClosestPointOnSegment(centre, a, b);
    if (startRelation == 0 || endRelation == 0) {
        result.Count = 2;
        if (IsSamePoint(closest, a)) {
            result.Points = {endPoint, startPoint};
        } else if (IsSamePoint(closest, b)) {
            result.Points = {startPoint, endPoint};
        } else {
            // The segment starts on the circle, dips inside and leaves it
            // again between its ends: two points on the circle.
            result.Count = 3;
            if (startRelation == 0)
                result.Points = {startPoint, ReflectThrough(startPoint, closest)};
            else
                result.Points = {ReflectThrough(endPoint, closest), endPoint};
        }
        return result;
    }

    // Both ends outside.
    const double d = PointDistance(centre, closest);
    if (IsSameValue(radius, d)) {
        result.Count = 1;
        result.Points = {closest, closest};
    } else if (d > radius) {
        result.Count = 0;
    } else if (IsSameValue(d, 0.0)) {
        result.Count = 3;
        result.Points = {PointTowards(centre, a, radius), PointTowards(centre, b, radius)};
    } else {
        const double h = std::sqrt(radius * radius - d * d);
        result.Count = 3;
        result.Points = {PointTowards(closest, a, h), PointTowards(closest, b, h)};
    }
    return result;
}

TLineCircleIntersection LineCircleIntersection(double radius, const TPoint2D& centre, const TSegment2D& segment) {
    return LineCircleIntersection(radius, centre, MakePoint2D(segment.X1, segment.Y1),
                                  MakePoint2D(segment.X2, segment.Y2));
}

bool CirclesMeet(double r1, const TPoint2D& c1, double r2, const TPoint2D& c2) {
    const double squaredDistance = SquaredDistance(c1.X, c1.Y, c2.X, c2.Y);
    const double sum = r1 + r2;
    if (!(sum * sum >= squaredDistance)) return false;
    // Concentric circles are either the same circle or apart; a circle inside
    // the other never reaches it.
    const double d = std::sqrt(squaredDistance);
    if (!(d > GeomTolerance())) return false;
    return IsGreaterOrSame(d, std::fabs(r1 - r2));
}

TCircleCircleIntersection CircleCircleIntersection(double r1, const TPoint2D& c1, double r2, const TPoint2D& c2) {
    TCircleCircleIntersection result;
    if (!CirclesMeet(r1, c1, r2, c2)) return result;
    const double dx = c1.X - c2.X;
    const double dy = c1.Y - c2.Y;
    const double d = std::sqrt(dx * dx + dy * dy);
    // t: the distance from c2 towards c1 of the chord through the crossings.
    const double t = (d * d - r1 * r1 + r2 * r2) / (2.0 * d);
    // Touching circles within the tolerance can leave a radicand just below 0.
    const double h = std::sqrt(std::fmax(0.0, r2 * r2 - t * t)) / d;
    const double baseX = c2.X + t / d * dx;
    const double baseY = c2.Y + t / d * dy;
    result.Count = 2;
    result.Points = {MakePoint2D(baseX - h * dy, baseY + h * dx), MakePoint2D(baseX + h * dy, baseY - h * dx)};
    return result;
}

std::optional<TPoint2D> SegmentIntersection(const TPoint2D& p1, const TPoint2D& p2, const TPoint2D& p3,
                                            const TPoint2D& p4) {
    if (IsSamePoint(p1, p3) || IsSamePoint(p1, p4) || IsSamePoint(p2, p3) || IsSamePoint(p2, p4)) return std::nullopt;

    // Bounding boxes first: a strict gap on either axis rejects.
    const auto apart = [](double a1, double a2, double b1, double b2) {
        return std::fmax(a1, a2) < std::fmin(b1, b2) || std::fmax(b1, b2) < std::fmin(a1, a2);
    };
    if (apart(p1.X, p2.X, p3.X, p4.X) || apart(p1.Y, p2.Y, p3.Y, p4.Y)) return std::nullopt;

    const double ax = p2.X - p1.X;
    const double ay = p2.Y - p1.Y;
    const double bx = p3.X - p4.X;
    const double by = p3.Y - p4.Y;
    // The parameters along both segments, kept as numerator over f.
    const double cx = p1.X - p3.X;
    const double cy = p1.Y - p3.Y;
    const double f = ay * bx - ax * by;
    const double dn = by * cx - bx * cy;
    const double e = ax * cy - ay * cx;
    const auto outside = [f](double numerator) {
        return f > 0.0 ? (numerator < 0.0 || numerator > f) : (numerator > 0.0 || numerator < f);
    };
    if (outside(dn) || outside(e)) return std::nullopt;

    if (IsDifferentValue(f, 0.0)) return MakePoint2D(p1.X + dn / f * ax, p1.Y + dn / f * ay);
    // Parallel within the tolerance.
    if (IsSameValue(-cx * ay, -cy * ax)) return MakePoint2D(p3.X, p3.Y);
    return MakePoint2D(p4.X, p4.Y);
}

}  // namespace calvoro

// Free routines of plane geometry on doubles: swept angles, distances,
// projections, vector arithmetic and the intersections of lines, segments and
// circles that the entities, the snap and the editing commands use. Angles are
// in radians. Routines taking TPoint2D read X and Y only (W is ignored) unless
// they say otherwise; points they return have W = 1.
#pragma once

#include "kernel/geometry/Point2D.h"

#include <array>
#include <optional>
#include <span>

namespace calvoro {

// A full turn to sixteen significant digits, held as an extended value: the
// one constant every angle of the kernel wraps with, so arcs agree wherever
// they are computed.
inline constexpr long double kFullTurn = 6.283185307179586L;

// The angle swept from a to b: dir 1 counter-clockwise, dir -1 clockwise, any
// other dir the plain difference. Equal angles with dir 1 or -1 give a full
// turn; a negative result gets a full turn added.
double SweepAngle(int dir, double a, double b);
// counterClockwise true is dir -1 of SweepAngle, false is dir 1.
double SweepAngleCCW(bool counterClockwise, double a, double b);

double PointDistanceXY(double x1, double y1, double x2, double y2);
double PointDistance(const TPoint2D& a, const TPoint2D& b);
double SquaredDistance(double x1, double y1, double x2, double y2);
// The distance of the two points made cartesian.
double PointDistance2D(const TPoint2D& a, const TPoint2D& b);
double RadiansToDegrees(double angle);

// Both coordinates the same within the geometric tolerance.
bool IsSamePoint(double x1, double y1, double x2, double y2);
bool IsSamePoint(const TPoint2D& a, const TPoint2D& b);
// As IsSamePoint, after making both points cartesian when their W differ.
bool IsSamePoint2D(const TPoint2D& a, const TPoint2D& b);

// The point of segment a-b nearest p (a for a segment of no length).
TPoint2D ClosestPointOnSegment(const TPoint2D& p, const TPoint2D& a, const TPoint2D& b);
// The foot of the perpendicular from p on the infinite line through a and b
// (a when the two points coincide).
TPoint2D PerpendicularFoot(const TPoint2D& p, const TPoint2D& a, const TPoint2D& b);
// The point at distance d from `from` on the ray towards `to` (`from` itself
// when the two coincide, as there is no direction).
TPoint2D PointTowards(const TPoint2D& from, const TPoint2D& to, double d);
TPoint2D PointTowards(double fromX, double fromY, double toX, double toY, double d);
// True when (b.Y - a.Y) * (p.X - a.X) > (p.Y - a.Y) * (b.X - a.X): p strictly
// to the right of the direction a -> b.
bool PointSideOfLine(const TPoint2D& p, const TPoint2D& a, const TPoint2D& b);
// Constrains p1 so that p0-p1 is vertical (also on a tie) or horizontal; p1 is
// made cartesian.
void ConstrainOrtho2D(const TPoint2D& p0, TPoint2D& p1);
// The first index whose value is below every earlier one and below 9999999.1234;
// 0 when there is none.
int IndexOfMinimum(std::span<const double> values);

// Vectors.
// 1..4 counter-clockwise from the positive X half axis, each half axis in
// exactly one quadrant; 0 only for the zero vector.
int VectorQuadrant(double x, double y);
inline int VectorQuadrant(const TVector2D& v) {
    return VectorQuadrant(v.X, v.Y);
}
// b - a, after making both cartesian when their W differ.
TVector2D PointsVector2D(const TPoint2D& a, const TPoint2D& b);
double VectorLength2D(const TVector2D& v);
inline TVector2D AddVector2D(const TVector2D& u, const TVector2D& v) {
    return TVector2D{u.X + v.X, u.Y + v.Y};
}
inline TVector2D SubtractVector2D(const TVector2D& u, const TVector2D& v) {
    return TVector2D{u.X - v.X, u.Y - v.Y};
}
inline TVector2D ScaleVector2D(const TVector2D& v, double factor) {
    return TVector2D{v.X * factor, v.Y * factor};
}
// v / |v|; the zero vector stays (0, 0).
TVector2D UnitVector2D(const TVector2D& v);
// Turned counter-clockwise by angle.
TVector2D RotateVector2D(const TVector2D& v, double angle);
// The angle between u and v in [0, pi]; 0 when either is the zero vector.
// Exactly 0 for parallel and pi for opposite vectors.
double VectorAngle(const TVector2D& u, const TVector2D& v);
// u.X * v.Y - v.X * u.Y; callers test its sign.
float CrossProduct2D(const TVector2D& u, const TVector2D& v);

// Circles.
// -1 inside, 0 on, 1 outside. "On" compares the squared distance with the
// squared radius within the geometric tolerance, and only once p is not
// strictly inside.
int PointCircleRelation(double radius, const TPoint2D& centre, const TPoint2D& p);
// The infinite line through a and b meets or touches the circle.
bool LineMeetsCircle(double radius, const TPoint2D& centre, const TPoint2D& a, const TPoint2D& b);

// The part of segment a-b inside a circle, as the trimming commands need it.
//   Count 0: the segment misses the circle.
//   Count 1: it touches the circle at Points[0] (both points hold it).
//   Count 2: one end is kept: both ends inside (the points are a and b); one
//            end inside (it keeps its slot, the other slot holds the crossing);
//            one end on the circle and the rest outside (the points are the far
//            end and the touching end, in that order).
//   Count 3: two points on the circle, the one towards a first.
struct TLineCircleIntersection {
    int Count = 0;
    std::array<TPoint2D, 2> Points{};
};
TLineCircleIntersection LineCircleIntersection(double radius, const TPoint2D& centre, const TPoint2D& a,
                                               const TPoint2D& b);
TLineCircleIntersection LineCircleIntersection(double radius, const TPoint2D& centre, const TSegment2D& segment);

// The two circles cross or touch in one or two points. Circles that share
// their centre, or of which one lies wholly inside the other, do not meet.
bool CirclesMeet(double r1, const TPoint2D& c1, double r2, const TPoint2D& c2);
// Count 2 when the circles meet (touching circles give the touching point
// twice), else 0. Points[0] lies to the left of the direction c2 -> c1,
// Points[1] to the right.
struct TCircleCircleIntersection {
    int Count = 0;
    std::array<TPoint2D, 2> Points{};
};
TCircleCircleIntersection CircleCircleIntersection(double r1, const TPoint2D& c1, double r2, const TPoint2D& c2);

// The crossing of segments p1-p2 and p3-p4. Segments that share an end point
// (within the tolerance) do not intersect. Parallel segments that touch give
// p3 when collinear, else p4.
std::optional<TPoint2D> SegmentIntersection(const TPoint2D& p1, const TPoint2D& p2, const TPoint2D& p3,
                                            const TPoint2D& p4);

}  // namespace calvoro

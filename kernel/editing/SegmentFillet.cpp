// The corner and the fillet of two straight segments, in extended precision.
#include "kernel/editing/SegmentFillet.h"

#include "kernel/geometry/GeomTolerance.h"

#include <cmath>

namespace calvoro {

namespace {

// a x + b y + c = 0 through the two points.
struct LineCoefficients {
    long double A, B, C;

    LineCoefficients(const TPoint2D& p1, const TPoint2D& p2)
        : A(static_cast<long double>(p1.Y) - p2.Y),
          B(static_cast<long double>(p2.X) - p1.X),
          C(static_cast<long double>(p1.X) * p2.Y - static_cast<long double>(p2.X) * p1.Y) {}

    long double Norm() const { return std::sqrt(A * A + B * B); }
    long double SignedDistance(const TPoint2D& p) const { return (A * p.X + B * p.Y + C) / Norm(); }
    TPoint2D Foot(long double x, long double y) const {
        const long double k = (A * x + B * y + C) / (A * A + B * B);
        return MakePoint2D(static_cast<double>(x - k * A), static_cast<double>(y - k * B));
    }
};

void Meet(const LineCoefficients& l1, long double c1, const LineCoefficients& l2, long double c2, long double& x,
          long double& y) {
    const long double d = l1.A * l2.B - l2.A * l1.B;
    x = (c2 * l1.B - c1 * l2.B) / d;
    y = (c1 * l2.A - c2 * l1.A) / d;
}

double Dot(const TPoint2D& u0, const TPoint2D& u1, const TPoint2D& v0, const TPoint2D& v1) {
    return (u1.X - u0.X) * (v1.X - v0.X) + (u1.Y - u0.Y) * (v1.Y - v0.Y);
}

}  // namespace

void FilletAngles(const TPoint2D& centre, const TPoint2D& t1, const TPoint2D& t2, double& start, double& end) {
    const double a1 = NormalizedAngle(std::atan2(t1.Y - centre.Y, t1.X - centre.X));
    const double a2 = NormalizedAngle(std::atan2(t2.Y - centre.Y, t2.X - centre.X));
    const double cross = (t1.X - centre.X) * (t2.Y - centre.Y) - (t1.Y - centre.Y) * (t2.X - centre.X);
    start = cross >= 0.0 ? a1 : a2;
    end = cross >= 0.0 ? a2 : a1;
}

bool MoveCornerEnd(WorldSegment& segment, const TPoint2D& corner, const TPoint2D& tangent, const TPoint2D& to) {
    // The sign of a dot product does not flip on the rounding noise an
    // axis-parallel line picks up across the axis.
    const bool firstEndAtCorner = Dot(segment.A, segment.B, corner, tangent) > 0.0;
    const TPoint2D kept = firstEndAtCorner ? segment.B : segment.A;
    const double away = std::hypot(tangent.X - corner.X, tangent.Y - corner.Y);
    if (!(away > 0.0) || !(Dot(to, kept, corner, tangent) / away > GeomTolerance())) return false;
    (firstEndAtCorner ? segment.A : segment.B) = to;
    return true;
}

SegmentFilletResult SegmentFillet(const WorldSegment& segment1, const WorldSegment& segment2, const TPoint2D& pick1,
                                  const TPoint2D& pick2, double radius, bool moveToTangent) {
    SegmentFilletResult result;
    const LineCoefficients line1(segment1.B, segment1.A);
    const LineCoefficients line2(segment2.B, segment2.A);
    const long double norm1 = line1.Norm();
    const long double norm2 = line2.Norm();
    if (!(norm1 > GeomTolerance()) || !(norm2 > GeomTolerance())) {
        result.Status = EditStatus::NoLength;
        return result;
    }
    // Nearly parallel lines meet far away: a corner there would stretch both.
    const long double d = line1.A * line2.B - line2.A * line1.B;
    if (std::fabs(d) <= GeomTolerance() * norm1 * norm2) {
        result.Status = EditStatus::Parallel;
        return result;
    }
    const long double side1 = line1.SignedDistance(pick2);
    const long double side2 = line2.SignedDistance(pick1);
    if (std::fabs(side1) <= GeomTolerance() || std::fabs(side2) <= GeomTolerance()) {
        result.Status = EditStatus::PickAtCorner;
        return result;
    }
    const long double c1 = line1.C - (side1 > 0 ? 1 : -1) * static_cast<long double>(radius) * norm1;
    const long double c2 = line2.C - (side2 > 0 ? 1 : -1) * static_cast<long double>(radius) * norm2;
    long double fx, fy, xx, xy;
    Meet(line1, c1, line2, c2, fx, fy);
    Meet(line1, line1.C, line2, line2.C, xx, xy);
    result.Centre = MakePoint2D(static_cast<double>(fx), static_cast<double>(fy));
    result.Corner = MakePoint2D(static_cast<double>(xx), static_cast<double>(xy));
    result.Tangent1 = line1.Foot(fx, fy);
    result.Tangent2 = line2.Foot(fx, fy);
    for (const TPoint2D& p : {result.Centre, result.Corner, result.Tangent1, result.Tangent2}) {
        if (!std::isfinite(p.X) || !std::isfinite(p.Y)) {
            result.Status = EditStatus::OutOfRange;
            return result;
        }
    }

    result.Segment1 = segment1;
    result.Segment2 = segment2;
    const bool moved1 =
        MoveCornerEnd(result.Segment1, result.Corner, result.Tangent1, moveToTangent ? result.Tangent1 : result.Corner);
    const bool moved2 =
        MoveCornerEnd(result.Segment2, result.Corner, result.Tangent2, moveToTangent ? result.Tangent2 : result.Corner);
    if (!moved1 || !moved2) result.TrimStatus = moveToTangent ? EditStatus::RadiusTooLarge : EditStatus::PickAtCorner;
    FilletAngles(result.Centre, result.Tangent1, result.Tangent2, result.StartAngle, result.EndAngle);
    return result;
}

}  // namespace calvoro

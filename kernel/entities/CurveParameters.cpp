// Parameters of the curve entities.
#include "kernel/entities/CurveParameters.h"

#include "kernel/geometry/PlaneGeometry.h"
#include "kernel/model/BinaryReader.h"

#include <cmath>

namespace calvoro {

TCircleParameters CircleParameters(const TPointsSet2D& points) {
    const TPoint2D c = CartesianPoint(points.Get(0));
    return TCircleParameters{c.X, c.Y, PointDistance2D(c, points.Get(1))};
}

TEllipseParameters EllipseParameters(const TPointsSet2D& points) {
    const TPoint2D p0 = CartesianPoint(points.Get(0)), p1 = CartesianPoint(points.Get(1));
    return TEllipseParameters{(p1.X + p0.X) / 2.0, (p1.Y + p0.Y) / 2.0, std::fabs(p1.X - p0.X) / 2.0,
                              std::fabs(p1.Y - p0.Y) / 2.0};
}

double TArcEnds::AngleOf(const TPoint2D& p, double cx, double cy) const {
    const TPoint2D q = CartesianPoint(p);
    return CounterClockwise() ? std::atan2(q.Y - cy, q.X - cx) : std::atan2(cy - q.Y, q.X - cx);
}

void TArcEnds::FollowPoints(const TPointsSet2D& points, double cx, double cy) {
    if (points.Count() <= 2) return;
    StartAngle = AngleOf(points.Get(2), cx, cy);
    EndAngle = AngleOf(points.Get(3), cx, cy);
}

namespace {

// Puts both end points without growing the set for good.
void PutEnds(TPointsSet2D& points, const TPoint2D& start, const TPoint2D& end) {
    const bool growable = points.Growable();
    points.SetGrowable(true);
    points.Put(2, start);
    points.Put(3, end);
    points.SetGrowable(growable);
}

}  // namespace

void ReadArcEnds(BinaryReader& reader, TArcEnds& ends, TPointsSet2D& points, double cx, double cy,
                 const TPoint2D& atAngleZero) {
    ends.Direction = reader.readUInt8() != 0 ? 1 : 0;
    if (points.Count() == 2) PutEnds(points, atAngleZero, atAngleZero);
    ends.FollowPoints(points, cx, cy);
}

void TakeArcCopy(TPointsSet2D& target, TArcEnds& ends, const TPointsSet2D& source, const TArcEnds* sourceEnds) {
    target.SetGrowable(false);
    if (sourceEnds != nullptr) {
        ends = *sourceEnds;
        target.CopyPoints(source, 0, 3);
        return;
    }
    ends.StartAngle = 0.0;
    ends.EndAngle = static_cast<double>(kFullTurn);
    target.CopyPoints(source, 0, 1);
    PutEnds(target, MakePoint2D(0.0, 0.0), MakePoint2D(0.0, 0.0));
    target.Notify();
}

}  // namespace calvoro

#include "kernel/geometry/Transform2D.h"

#include <cmath>

namespace calvoro {

TRect2D TransformRect2DCorners(const TRect2D& r, const TMatrix2D& m) {
    TRect2D result;
    result.SetFirstCorner(PointTimesMatrix2D(r.FirstCorner(), m));
    result.SetSecondCorner(PointTimesMatrix2D(r.SecondCorner(), m));
    return result;
}

TRect2D TransformBoundingBox2D(const TRect2D& r, const TMatrix2D& m) {
    // A rotation can move either diagonal outwards: both are carried.
    const TRect2D box = CartesianRect2D(r);
    const TRect2D mainDiagonal = TransformRect2DCorners(box, m);
    TRect2D otherDiagonal;
    otherDiagonal.SetFirstCorner(PointTimesMatrix2D(MakePoint2D(box.Left, box.Top), m));
    otherDiagonal.SetSecondCorner(PointTimesMatrix2D(MakePoint2D(box.Right, box.Bottom), m));
    return UnionRect2D(mainDiagonal, otherDiagonal);
}

void TransformArcAngles(const TPoint2D& c, const TMatrix2D& m, double r, double& startAngle, double& endAngle) {
    const TPoint2D worldCentre = CartesianPoint(c);
    const TPoint2D centre = CartesianPoint(PointTimesMatrix2D(worldCentre, m));
    const auto transformedAngle = [&](double angle) {
        const TPoint2D onArc = MakePoint2D(worldCentre.X + r * std::cos(angle), worldCentre.Y + r * std::sin(angle));
        const TPoint2D end = CartesianPoint(PointTimesMatrix2D(onArc, m));
        return std::atan2(end.Y - centre.Y, end.X - centre.X);
    };
    startAngle = transformedAngle(startAngle);
    endAngle = transformedAngle(endAngle);
}

}  // namespace calvoro

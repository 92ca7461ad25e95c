// The value types of plane geometry: a homogeneous point, a two-component
// vector for differences of points, and a segment given by its two end points.
// All coordinates are world units with Y growing upwards until a transform
// maps them to pixels.
#pragma once

namespace calvoro {

// A homogeneous point. W = 1 for ordinary points; any other non-zero W stands
// for (X / W, Y / W). Streamed as X, Y, W (three doubles, 24 bytes).
struct TPoint2D {
    double X = 0.0;
    double Y = 0.0;
    double W = 1.0;

    friend bool operator==(const TPoint2D&, const TPoint2D&) = default;
};

struct TVector2D {
    double X = 0.0;
    double Y = 0.0;

    friend bool operator==(const TVector2D&, const TVector2D&) = default;
};

// Two (X, Y) end points.
struct TSegment2D {
    double X1 = 0.0;
    double Y1 = 0.0;
    double X2 = 0.0;
    double Y2 = 0.0;

    friend bool operator==(const TSegment2D&, const TSegment2D&) = default;
};

inline TPoint2D MakePoint2D(double x, double y) {
    return TPoint2D{x, y, 1.0};
}

// P with W = 1. A W of 1 or 0 leaves the point as it is: 0 marks a direction,
// which has no cartesian form.
inline TPoint2D CartesianPoint(const TPoint2D& p) {
    if (p.W == 1.0 || p.W == 0.0) return p;
    return TPoint2D{p.X / p.W, p.Y / p.W, 1.0};
}

inline TVector2D Point2DToVector2D(const TPoint2D& p) {
    return TVector2D{p.X, p.Y};
}
inline TPoint2D VectorToPoint2D(const TVector2D& v) {
    return TPoint2D{v.X, v.Y, 1.0};
}
inline TSegment2D MakeSegment2D(double x1, double y1, double x2, double y2) {
    return TSegment2D{x1, y1, x2, y2};
}

}  // namespace calvoro

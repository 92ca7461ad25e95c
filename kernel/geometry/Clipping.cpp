#include "kernel/geometry/Clipping.h"

namespace calvoro {

namespace {

// The parameter range [entering, leaving] of the segment still inside.
struct ParameterRange {
    double entering = 0.0;
    double leaving = 1.0;

    // One edge: denominator is the segment's motion towards the inside,
    // numerator how far the start lies outside that edge. False when nothing
    // is left.
    bool Narrow(double denominator, double numerator) {
        if (denominator > 0.0) {
            const double t = numerator / denominator;
            if (t > leaving) return false;
            if (t > entering) entering = t;
        } else if (denominator < 0.0) {
            const double t = numerator / denominator;
            if (t < entering) return false;
            if (t < leaving) leaving = t;
        } else if (numerator > 0.0) {
            return false;
        }
        return true;
    }
};

enum class Edges { Both, LeftRight, BottomTop };

int Clip(const TRect2D& r, TPoint2D& p0, TPoint2D& p1, Edges edges) {
    p0 = CartesianPoint(p0);
    p1 = CartesianPoint(p1);
    const double dx = p1.X - p0.X;
    const double dy = p1.Y - p0.Y;
    if (dx == 0.0 && dy == 0.0 && IsPointInRect2D(r, p0)) return kClipInside;

    ParameterRange range;
    if (edges != Edges::BottomTop) {
        if (!range.Narrow(dx, r.Left - p0.X) || !range.Narrow(-dx, p0.X - r.Right)) return kClipRejected;
    }
    if (edges != Edges::LeftRight) {
        if (!range.Narrow(dy, r.Bottom - p0.Y) || !range.Narrow(-dy, p0.Y - r.Top)) return kClipRejected;
    }

    int code = 0;
    if (range.leaving < 1.0) {
        p1 = MakePoint2D(p0.X + range.leaving * dx, p0.Y + range.leaving * dy);
        code |= kClipEndMoved;
    }
    if (range.entering > 0.0) {
        p0 = MakePoint2D(p0.X + range.entering * dx, p0.Y + range.entering * dy);
        code |= kClipStartMoved;
    }
    return code == 0 ? kClipInside : code;
}

}  // namespace

int ClipSegmentToRect2D(const TRect2D& r, TPoint2D& p0, TPoint2D& p1) {
    return Clip(r, p0, p1, Edges::Both);
}

int ClipSegmentToRectX2D(const TRect2D& r, TPoint2D& p0, TPoint2D& p1) {
    return Clip(r, p0, p1, Edges::LeftRight);
}

int ClipSegmentToRectY2D(const TRect2D& r, TPoint2D& p0, TPoint2D& p1) {
    return Clip(r, p0, p1, Edges::BottomTop);
}

}  // namespace calvoro

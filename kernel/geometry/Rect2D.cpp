#include "kernel/geometry/Rect2D.h"

#include <utility>

namespace calvoro {

TRect2D CartesianRect2D(const TRect2D& r) {
    TRect2D result;
    result.SetFirstCorner(CartesianPoint(r.FirstCorner()));
    result.SetSecondCorner(CartesianPoint(r.SecondCorner()));
    return result;
}

TRect2D ReorderRect2D(const TRect2D& r) {
    TRect2D result = CartesianRect2D(r);
    if (result.Right < result.Left) std::swap(result.Left, result.Right);
    if (result.Top < result.Bottom) std::swap(result.Bottom, result.Top);
    return result;
}

TRect2D EnlargeRect2D(const TRect2D& r, double d) {
    const TRect2D c = CartesianRect2D(r);
    return MakeRect2D(c.Left - d, c.Bottom - d, c.Right + d, c.Top + d);
}

int PointOutcode(const TRect2D& r, const TPoint2D& p) {
    int code = 0;
    if (p.X < r.Left)
        code |= kOutcodeLeft;
    else if (p.X > r.Right)
        code |= kOutcodeRight;
    if (p.Y < r.Bottom)
        code |= kOutcodeBelow;
    else if (p.Y > r.Top)
        code |= kOutcodeAbove;
    return code;
}

bool IsPointInRect2D(const TRect2D& r, const TPoint2D& p) {
    return PointOutcode(r, p) == 0;
}

bool BoxesOverlap2D(const TRect2D& a, const TRect2D& b) {
    const TRect2D first = ReorderRect2D(a);
    const TRect2D second = ReorderRect2D(b);
    return (PointOutcode(second, first.FirstCorner()) & PointOutcode(second, first.SecondCorner())) == 0;
}

bool IsBoxInBox2D(const TRect2D& inner, const TRect2D& outer) {
    const TRect2D corners = CartesianRect2D(inner);
    return IsPointInRect2D(outer, corners.FirstCorner()) && IsPointInRect2D(outer, corners.SecondCorner());
}

TRect2D UnionRect2D(const TRect2D& a, const TRect2D& b) {
    const TRect2D first = ReorderRect2D(a);
    const TRect2D second = ReorderRect2D(b);
    return MakeRect2D(second.Left < first.Left ? second.Left : first.Left,
                      second.Bottom < first.Bottom ? second.Bottom : first.Bottom,
                      second.Right > first.Right ? second.Right : first.Right,
                      second.Top > first.Top ? second.Top : first.Top);
}

}  // namespace calvoro

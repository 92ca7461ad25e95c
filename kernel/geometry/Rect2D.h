// Axis-aligned world boxes and the routines that build, order and compare
// them. A box is not kept ordered: only the routines that say so reorder it.
#pragma once

#include "kernel/geometry/Point2D.h"

namespace calvoro {

// Two homogeneous corners: the first holds (Left, Bottom), the second
// (Right, Top). The box is ordered when Left <= Right and Bottom <= Top.
struct TRect2D {
    double Left = 0.0;
    double Bottom = 0.0;
    double FirstW = 1.0;
    double Right = 0.0;
    double Top = 0.0;
    double SecondW = 1.0;

    TPoint2D FirstCorner() const { return TPoint2D{Left, Bottom, FirstW}; }
    TPoint2D SecondCorner() const { return TPoint2D{Right, Top, SecondW}; }
    void SetFirstCorner(const TPoint2D& p) {
        Left = p.X;
        Bottom = p.Y;
        FirstW = p.W;
    }
    void SetSecondCorner(const TPoint2D& p) {
        Right = p.X;
        Top = p.Y;
        SecondW = p.W;
    }

    friend bool operator==(const TRect2D&, const TRect2D&) = default;
};

inline TRect2D MakeRect2D(double left, double bottom, double right, double top) {
    return TRect2D{left, bottom, 1.0, right, top, 1.0};
}

// Outcode bits of a point against a box.
inline constexpr int kOutcodeLeft = 1;
inline constexpr int kOutcodeBelow = 2;
inline constexpr int kOutcodeRight = 4;
inline constexpr int kOutcodeAbove = 8;

// Both corners made cartesian.
TRect2D CartesianRect2D(const TRect2D& r);
// Cartesian, then X values swapped when Right < Left and Y values when Top < Bottom.
TRect2D ReorderRect2D(const TRect2D& r);
// Cartesian (not reordered) and grown by d on every side.
TRect2D EnlargeRect2D(const TRect2D& r, double d);

// 1 left of the box, else 4 right of it; 2 below, else 8 above. The
// comparisons are strict, so a point on an edge has code 0.
int PointOutcode(const TRect2D& r, const TPoint2D& p);
bool IsPointInRect2D(const TRect2D& r, const TPoint2D& p);
// True when the boxes share area or only an edge; both are ordered first.
bool BoxesOverlap2D(const TRect2D& a, const TRect2D& b);
// Both corners of inner (cartesian, not reordered) inside outer.
bool IsBoxInBox2D(const TRect2D& inner, const TRect2D& outer);
// The ordered box covering both ordered boxes; a tie keeps a's value.
TRect2D UnionRect2D(const TRect2D& a, const TRect2D& b);

}  // namespace calvoro

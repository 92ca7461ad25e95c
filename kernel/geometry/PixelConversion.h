// Conversions between world-unit values and integer pixels. Rounding sends
// halves to the even integer and saturates: a coordinate far outside the
// screen (deep zoom, the 1e8 "no distance" boxes) becomes the nearest
// representable pixel instead of wrapping around.
#pragma once

#include "kernel/geometry/PixelTypes.h"
#include "kernel/geometry/Point2D.h"
#include "kernel/geometry/Rect2D.h"

namespace calvoro {

// The largest magnitude a rounded coordinate takes: half the int range, so
// that differences and sums of two coordinates still fit in an int.
inline constexpr int kPixelCoordinateLimit = (1 << 30) - 1;

// Half-to-even rounding clamped to +-kPixelCoordinateLimit; NaN gives 0.
int RoundToPixel(double value);

TPoint2D PointToPoint2D(const TPixelPoint& p);
// Round(X / W), Round(Y / W); W of 1 or 0 is not divided out.
TPixelPoint Point2DToPoint(const TPoint2D& p);
// Positional: the first corner is (Left, Top), the second (Right, Bottom).
TRect2D RectToRect2D(const TPixelRect& r);
// The box made cartesian and ordered, then Left, Bottom, Right, Top rounded
// into the pixel rect's Left, Top, Right, Bottom.
TPixelRect Rect2DToRect(const TRect2D& r);

}  // namespace calvoro

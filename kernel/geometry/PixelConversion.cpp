#include "kernel/geometry/PixelConversion.h"

#include <cmath>

namespace calvoro {

int RoundToPixel(double value) {
    if (std::isnan(value)) return 0;
    // nearbyint follows the current rounding mode, which the program never
    // changes from round-to-nearest-even.
    const double rounded = std::nearbyint(value);
    if (rounded >= kPixelCoordinateLimit) return kPixelCoordinateLimit;
    if (rounded <= -kPixelCoordinateLimit) return -kPixelCoordinateLimit;
    return static_cast<int>(rounded);
}

TPoint2D PointToPoint2D(const TPixelPoint& p) {
    return MakePoint2D(p.X, p.Y);
}

TPixelPoint Point2DToPoint(const TPoint2D& p) {
    if (p.W != 1.0 && p.W != 0.0) return TPixelPoint{RoundToPixel(p.X / p.W), RoundToPixel(p.Y / p.W)};
    return TPixelPoint{RoundToPixel(p.X), RoundToPixel(p.Y)};
}

TRect2D RectToRect2D(const TPixelRect& r) {
    return MakeRect2D(r.Left, r.Top, r.Right, r.Bottom);
}

TPixelRect Rect2DToRect(const TRect2D& r) {
    const TRect2D box = ReorderRect2D(r);
    return TPixelRect{RoundToPixel(box.Left), RoundToPixel(box.Bottom), RoundToPixel(box.Right), RoundToPixel(box.Top)};
}

}  // namespace calvoro

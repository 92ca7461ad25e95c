// The mapping of a world box onto the pixels of a view.
#pragma once

#include "kernel/geometry/Matrix2D.h"
#include "kernel/geometry/PixelTypes.h"
#include "kernel/geometry/Rect2D.h"

namespace calvoro {

// The matrix that maps the world box `visual` (Left, Bottom, Right, Top, Y up)
// onto the pixel rect `client` (Y down), shifted by half a pixel before the
// rounding of Point2DToPoint.
//
// With aspectRatio > 0 the world box first grows upwards or to the right so
// that it fills the client at that ratio of X to Y scale; `visual` is changed
// in place. With aspectRatio <= 0 the axes are scaled independently.
//
// A client with no pixels (a minimised or not yet laid out view) or a world
// box of no width or height leaves `visual` as it was and gives the identity:
// there is nothing to map, and the caller paints nothing.
TMatrix2D WorldToScreenMatrix2D(TRect2D& visual, const TPixelRect& client, double aspectRatio);

}  // namespace calvoro

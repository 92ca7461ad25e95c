// Drawing world geometry on a canvas through a world-to-pixel transform. Each
// routine first tests whether the transformed geometry lies wholly inside the
// clip box and then draws it in one call; otherwise it clips segment by
// segment. Lines and polylines go through the decorative canvas, so they
// follow the current layer's dash pattern; fills use the canvas's pen and
// brush as they stand.
#pragma once

#include "kernel/draw/DecorativeCanvas.h"
#include "kernel/geometry/Matrix2D.h"
#include "kernel/geometry/Rect2D.h"

#include <span>

namespace calvoro {

// Clip is a box in pixels; Box is the world box of the geometry (the caller's
// own box), which serves only the wholly-inside test.

// Points first..last as polylines, with the closing segment back to first
// when closed; nothing for an empty range or one outside the points.
void DrawPolyline2D(TDecorativeCanvas& canvas, const TRect2D& clip, const TRect2D& box,
                    std::span<const TPoint2D> points, int first, int last, bool closed, const TMatrix2D& m);
// The filled polygon of points first..last, clipped in two passes (left and
// right edges, then bottom and top).
void DrawPolygon2D(TDecorativeCanvas& canvas, const TRect2D& clip, const TRect2D& box, std::span<const TPoint2D> points,
                   int first, int last, const TMatrix2D& m);
// One segment; true when any of it is visible.
bool DrawLine2D(TDecorativeCanvas& canvas, const TRect2D& clip, const TPoint2D& p1, const TPoint2D& p2,
                const TMatrix2D& m);
// A cross of two strokes from -10 to +10 pixels through the point, drawn only
// when a box of 0.001 world units round it lies inside the clip box; true when
// the point is visible.
bool DrawPoint2D(TDecorativeCanvas& canvas, const TRect2D& clip, const TPoint2D& p, const TMatrix2D& m);
// The frame of r.
void DrawRect2D(TDecorativeCanvas& canvas, const TRect2D& clip, const TRect2D& r, const TMatrix2D& m);
// The frame of r, already in pixels.
void DrawBoundingBox2D(TDecorativeCanvas& canvas, const TRect2D& clip, const TRect2D& r);
// A silver control-point square centred on the pixel (x, y): the rectangle
// from (x - h, y - h) to (x + h, y + h) with h = width / 2.
void DrawControlPoint(TDecorativeCanvas& canvas, int x, int y, int width);

}  // namespace calvoro

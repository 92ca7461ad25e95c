// Clipping of segments to a box (Liang-Barsky), as the drawing of world
// geometry through a transform uses it.
#pragma once

#include "kernel/geometry/Rect2D.h"

namespace calvoro {

// Clip codes: what the clipping did to the segment p0-p1.
inline constexpr int kClipStartMoved = 1;
inline constexpr int kClipEndMoved = 2;
inline constexpr int kClipBothMoved = 3;
inline constexpr int kClipRejected = 4;  // nothing of the segment is visible
inline constexpr int kClipInside = 8;    // wholly inside, unchanged

// Clips p0-p1 to the box r (edges inside). Both points are made cartesian;
// a moved end is computed from the original start. On kClipRejected the
// points are left cartesian but otherwise as they were.
int ClipSegmentToRect2D(const TRect2D& r, TPoint2D& p0, TPoint2D& p1);
// The same against the Left/Right pair of edges only.
int ClipSegmentToRectX2D(const TRect2D& r, TPoint2D& p0, TPoint2D& p1);
// The same against the Bottom/Top pair of edges only.
int ClipSegmentToRectY2D(const TRect2D& r, TPoint2D& p0, TPoint2D& p1);

}  // namespace calvoro

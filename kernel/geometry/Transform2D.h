// Boxes and arc angles carried through a transform.
#pragma once

#include "kernel/geometry/Matrix2D.h"
#include "kernel/geometry/Rect2D.h"

namespace calvoro {

// Both corners transformed, not reordered (W kept as computed).
TRect2D TransformRect2DCorners(const TRect2D& r, const TMatrix2D& m);
// The ordered box of all four transformed corners.
TRect2D TransformBoundingBox2D(const TRect2D& r, const TMatrix2D& m);
// The angles of an arc of centre c and radius r after the transform: the
// direction from the transformed centre to each transformed end point. A
// mirror does not swap them; the caller owns the arc's direction.
void TransformArcAngles(const TPoint2D& c, const TMatrix2D& m, double r, double& startAngle, double& endAngle);

}  // namespace calvoro

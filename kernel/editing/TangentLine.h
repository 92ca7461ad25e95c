// The line tangent to two picked arcs or circles (each taken as its whole
// circle). Of the up to four tangents, two outer and two crossing between
// the circles, the one whose touching points lie nearest the two pick points
// is added on the current layer.
#pragma once

#include "kernel/editing/EditOutcome.h"
#include "kernel/editing/EditPick.h"
#include "kernel/editing/WorldShapes.h"

#include <vector>

namespace calvoro {

class TQVCmp2D;

// The tangents that exist: their touching points on circle 1 (A) and circle
// 2 (B). None for concentric circles or one inside the other; tangents of
// no length (where circles touch) are left out.
std::vector<WorldSegment> CommonTangents(const TPoint2D& centre1, double radius1, const TPoint2D& centre2,
                                         double radius2);

EditOutcome TangentLine(TQVCmp2D& drawing, const EditPick& pick);

}  // namespace calvoro

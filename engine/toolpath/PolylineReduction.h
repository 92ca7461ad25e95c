// Thinning of tool-path polylines (Douglas-Peucker in three dimensions): a
// point is dropped when it lies within the tolerance of the segment between
// the points kept around it, so the reduced path never strays further than
// the tolerance from the computed one.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "engine/toolpath/PathPoint.h"

namespace calvoro {

// One flag per point, 1 for the points to keep. The end points are kept; an
// inner point is kept when it is the farthest (the first of equal farthest)
// from the segment between the kept points around it and lies strictly more
// than the tolerance away. Distances are to the segment, not its line.
// Fewer than two points keep nothing. Works on a heap stack of ranges, so any
// point count is safe.
std::vector<std::uint8_t> DouglasPeuckerKeep(std::span<const PathPoint> points, double tolerance);

// The kept points in order; empty for fewer than two points.
PathPolyline DouglasPeuckerSimplify(std::span<const PathPoint> points, double tolerance);

// The reduction as the tool path applies it, with the tolerance as typed.
PathPolyline ReducePolyline(const PathPolyline& polyline, float tolerance);

}  // namespace calvoro

// A point of a tool path and the polylines that raster lines are collected
// into. Coordinates are work units; the tool tip is at Z.
#pragma once

#include <vector>

namespace calvoro {

struct PathPoint {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    bool operator==(const PathPoint&) const = default;
};

// One stretch of connected cutting points, in machining order.
using PathPolyline = std::vector<PathPoint>;

}  // namespace calvoro

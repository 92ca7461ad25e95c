// Zig-zag raster lines over the relief, each point at the cutter's gouge-free
// tip Z, collected into polylines (split at the Z no-cut zone) and lifted where
// a straight move between two neighbouring points needs it.
#pragma once

#include <vector>

#include "engine/toolpath/GougeFreeDepth.h"
#include "engine/toolpath/PathPoint.h"
#include "engine/toolpath/TaskControl.h"
#include "engine/toolpath/ToolPathParameters.h"

namespace calvoro {

// Raster lines 0..lineCount at `spacing` apart over a length of (cells - 1)
// pixels: the typed step over, cut to the length, then evened so that the
// last line lies on the far edge.
struct StepOverEvening {
    int lineCount = 0;
    double spacing = 0.0;
};
StepOverEvening EvenStepOver(int cells, double pixelSize, double stepOver);

struct RasterPoint {
    int cellX = 0;
    int cellY = 0;
    float tipZ = 0.0f;  // gouge-free tip Z over the cell
    float z = 0.0f;     // tip Z lifted for the moves to and from this point
};
using RasterPolyline = std::vector<RasterPoint>;

struct RasterPaths {
    std::vector<RasterPolyline> polylines;  // in machining order, X raster first
    double spacingX = 0.0;                  // evened step over of the Y raster (lines along Y)
    double spacingY = 0.0;                  // evened step over of the X raster (lines along X)
};

// Work position of a cell, rounded to float as every path coordinate is.
PathPoint CellPosition(const RasterPoint& point, const ReliefPlacement& placement);

// Distance in XY between the end of a polyline and the start of the next.
double LinkDistance(const PathPoint& a, const PathPoint& b);

// Two points closer than this are joined by a feed move rather than a retract.
inline double FeedLinkReach(const RasterPaths& paths) {
    return 2.0 * paths.spacingX;
}

// Builds every raster line of the job. Parameters must have been checked.
RasterPaths BuildRasterPaths(const GougeFreeDepth& depth, const CuttingParameters& parameters,
                             const ReliefPlacement& placement, unsigned threads, TaskControl* control);

}  // namespace calvoro

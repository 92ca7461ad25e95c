// The tool path of a raster job: from the height map and a snapshot of the
// job to the ordered list of moves that the NC program writer turns into text.
//
// The road of one computation: check the job -> gouge-free tip Z of every
// raster point (GougeFreeDepth, spread over threads) -> polylines split at the
// Z no-cut zone and lifted where a move needs it (RasterPaths) -> reduction
// (PolylineReduction) -> passes and links (this file).
#pragma once

#include <cstddef>
#include <vector>

#include "engine/relief/HeightMap.h"
#include "engine/toolpath/MoveList.h"
#include "engine/toolpath/PathPoint.h"
#include "engine/toolpath/TaskControl.h"
#include "engine/toolpath/ToolPathParameters.h"

namespace calvoro {

struct ToolPathResult {
    MoveList moves;
    // The reduced polylines in machining order, at the Z of the lowest pass.
    std::vector<PathPolyline> polylines;
    // How much the lift of the points for safe moves left above the exact
    // tip Z, over every raster point before reduction (work units).
    std::size_t rasterPoints = 0;
    double meanLift = 0.0;
    double largestLift = 0.0;
    // Feed links between polylines replaced by a retract because the straight
    // move would have cut the relief (counted once, not per pass).
    std::size_t unsafeLinks = 0;
};

// Checks the snapshot and computes the path. Throws ToolPathError with a
// message for the user when the job cannot be machined as asked, and
// TaskCancelled when `control` asked to stop. The result is the same whatever
// the thread count.
ToolPathResult ComputeToolPath(const HeightMap& map, const ToolPathRequest& request, TaskControl* control = nullptr);

// The input checks alone (the first thing ComputeToolPath does).
void CheckToolPathRequest(const HeightMap& map, const ToolPathRequest& request);

}  // namespace calvoro

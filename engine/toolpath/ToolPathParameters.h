// The snapshot a tool-path computation works from: the cutter as stored in
// the tool library, the values of the cutting-parameter page and the placement
// of the relief. Taken once when the computation starts; nothing else is read.
#pragma once

#include <numbers>

#include "engine/tools/ToolRecord.h"

namespace calvoro {

struct CuttingParameters {
    double stepOver = 1.0;           // "Max stepover:", largest distance between raster lines
    double feedPlaneZ = 2.0;         // "Feed plane:", Z of rapids and retracts
    float stockAllowance = 0.0f;     // "Stock to leave:"
    float filterTolerance = 0.025f;  // "Filter:", how far reduction may move the path
    bool rasterAlongX = true;        // "0°"
    bool rasterAlongY = false;       // "90°"
    int passCount = 1;               // "N. depth cuts:"
    double zStep = 0.0;              // "Z step:", depth of each pass above the last one
    // The Z no-cut zone: points whose tip Z lies within zNoCutTolerance of
    // zNoCutZ are not machined.
    bool zNoCutActive = false;
    float zNoCutZ = 0.0f;
    float zNoCutTolerance = 0.0f;
};

// Work position of height-map cell (x, y): (x * pixelSize + workOffsetX,
// y * cellSizeY() + workOffsetY).
struct ReliefPlacement {
    float pixelSize = 1.0f;  // along X
    float workOffsetX = 0.0f;
    float workOffsetY = 0.0f;
    // Along Y when the picture is placed at sizes that do not keep its
    // proportions; 0 for square cells.
    float pixelSizeY = 0.0f;
    float cellSizeY() const { return pixelSizeY == 0.0f ? pixelSize : pixelSizeY; }
};

struct ToolPathRequest {
    ToolRecord cutter;
    CuttingParameters parameters;
    ReliefPlacement placement;
    unsigned threads = 0;  // 0: one per core; the result does not depend on it
    // How far the NC program may place the cutter from a computed position as
    // it rounds X and Y (WrittenPositionRounding of the post-processor
    // definition that writes the program); the path keeps that much more
    // distance from the relief. The default is that of three decimals on both
    // axes: half a unit on each, so the diagonal of the two.
    double positionRounding = 0.0005 * std::numbers::sqrt2;
};

}  // namespace calvoro

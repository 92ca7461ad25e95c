// The two long computations of a job as plain functions of a snapshot: the
// relief from the picture, and the tool path with its NC program from the
// relief. The wizard runs them on its worker; the same calls made in line give
// the same results.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/nc/NcProgram.h"
#include "engine/picture/Picture.h"
#include "engine/post/NcJobValues.h"
#include "engine/post/PostSettings.h"
#include "engine/relief/HeightMap.h"
#include "engine/relief/ReliefValues.h"
#include "engine/toolpath/TaskControl.h"
#include "engine/toolpath/ToolPathParameters.h"

namespace calvoro {

// The relief of the picture; throws for a picture or depths that cannot give one.
std::shared_ptr<const HeightMap> BuildRelief(const Picture& picture, const ReliefValues& values);

// Where the relief's cells lie, as the tool path takes it.
ReliefPlacement ToolPathPlacement(const ReliefValues& values);

struct NcComputation {
    std::shared_ptr<const HeightMap> relief;
    ToolPathRequest request;  // its positionRounding is taken from post
    PostSettings post;        // the definition that writes the program
    NcJobValues job;
};

struct NcComputed {
    NcProgram program;
    std::vector<NcPathNode> nodes;  // the 3D path
};

// Tool path, then program text, the path allowing for the rounding of X and Y
// in the post's decimals. Throws ToolPathError or NcProgramError with
// the reason, TaskCancelled when asked to stop.
NcComputed ComputeNcProgram(const NcComputation& computation, TaskControl* control);

// What the program needs of the cutter and the file: tool number, name (the
// library stores it in Windows-1252), speed and rates as texts, and the file's
// name without its folder.
NcJobValues MakeNcJobValues(const ToolRecord& tool, const std::filesystem::path& ncFile);

}  // namespace calvoro

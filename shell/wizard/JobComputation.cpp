#include "shell/wizard/JobComputation.h"

#include "engine/relief/ElaboraImmagine.h"
#include "engine/toolpath/ToolPath.h"
#include "kernel/platform/TextEncoding.h"
#include "shell/wizard/NumberText.h"

namespace calvoro {

std::shared_ptr<const HeightMap> BuildRelief(const Picture& picture, const ReliefValues& values) {
    auto map = std::make_shared<HeightMap>();
    ElaboraImmagine(picture, values, *map);
    return map;
}

ReliefPlacement ToolPathPlacement(const ReliefValues& values) {
    return {values.PixelSize, values.WorkOffsetX, values.WorkOffsetY, values.PixelSizeY};
}

NcComputed ComputeNcProgram(const NcComputation& computation, TaskControl* control) {
    // The path keeps the distance the program's own post will round X and Y by,
    // whatever the snapshot was given.
    ToolPathRequest request = computation.request;
    request.positionRounding = WrittenPositionRounding(computation.post);
    const ToolPathResult path = ComputeToolPath(*computation.relief, request, control);
    if (control != nullptr) control->throwIfCancelled();
    NcComputed computed;
    computed.program = GenerateNcProgram(path.moves, computation.post, computation.job);
    computed.nodes = PathNodes(path.moves);
    return computed;
}

NcJobValues MakeNcJobValues(const ToolRecord& tool, const std::filesystem::path& ncFile) {
    NcJobValues job;
    job.toolNumber = tool.toolNumber;
    job.toolName = Windows1252ToUtf8(tool.name);
    job.spindleSpeedText = std::to_string(tool.spindleSpeed);
    job.feedText = ShortestNumberText(tool.feedRate);
    job.plungeText = ShortestNumberText(tool.plungeRate);
    job.ncFileName = ncFile.filename().string();
    return job;
}

}  // namespace calvoro

// The tool path or simulated moves as one coloured line strip. Nodes are
// appended cheaply; the renderer asks what it has to upload and sends either the
// new tail or, when the GPU buffer must grow, everything.
#pragma once

#include <span>
#include <vector>

#include "engine/preview/PreviewTypes.h"

namespace calvoro {

class PathBuffer {
public:
    struct Upload {
        std::size_t first = 0;     // first node to send
        std::size_t count = 0;     // nodes to send
        std::size_t capacity = 0;  // nodes the GPU buffer must hold; 0: keep it
    };

    void clear();
    void append(std::span<const PathNode> nodes);
    const std::vector<PathNode>& nodes() const { return nodes_; }

    // What to send now; afterwards the buffer counts as uploaded.
    Upload takeUpload();
    // The GPU copy is gone (a new context): the next upload sends everything.
    void resetUpload();

private:
    std::vector<PathNode> nodes_;
    std::size_t uploaded_ = 0;
    std::size_t gpuCapacity_ = 0;
};

}  // namespace calvoro

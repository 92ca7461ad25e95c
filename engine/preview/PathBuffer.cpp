#include "engine/preview/PathBuffer.h"

#include <algorithm>

namespace calvoro {

namespace {
constexpr std::size_t kFirstCapacity = 4096;
}

void PathBuffer::clear() {
    nodes_.clear();
    uploaded_ = 0;
}

void PathBuffer::append(std::span<const PathNode> nodes) {
    nodes_.insert(nodes_.end(), nodes.begin(), nodes.end());
}

void PathBuffer::resetUpload() {
    uploaded_ = 0;
    gpuCapacity_ = 0;
}

PathBuffer::Upload PathBuffer::takeUpload() {
    Upload upload;
    if (nodes_.size() > gpuCapacity_) {
        // Growing by doubling keeps the total of full uploads proportional to
        // the path's length however it is appended.
        gpuCapacity_ = std::max({kFirstCapacity, 2 * gpuCapacity_, nodes_.size()});
        upload = {0, nodes_.size(), gpuCapacity_};
    } else {
        upload = {uploaded_, nodes_.size() - uploaded_, 0};
    }
    uploaded_ = nodes_.size();
    return upload;
}

}  // namespace calvoro

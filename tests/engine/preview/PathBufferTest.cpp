#include "engine/preview/PathBuffer.h"

#include <gtest/gtest.h>

#include <vector>

namespace calvoro {
namespace {

TEST(PathBuffer, UploadsOnlyTheNewTailUntilTheBufferMustGrow) {
    struct Step {
        const char* action;
        std::size_t append;
        std::size_t first, count;
        bool grows;
    };
    const Step steps[] = {
        {"append", 10, 0, 10, true},       {"append", 5, 10, 5, false},     {"append", 0, 15, 0, false},
        {"clear", 3, 0, 3, false},         {"append", 5000, 0, 5003, true}, {"append", 1, 5003, 1, false},
        {"new context", 0, 0, 5004, true},
    };
    PathBuffer buffer;
    std::size_t capacity = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(s.action);
        if (std::string(s.action) == "clear") buffer.clear();
        if (std::string(s.action) == "new context") buffer.resetUpload();
        const std::vector<PathNode> nodes(s.append, PathNode{1, 2, 3, 1, 1, 0});
        buffer.append(nodes);
        const PathBuffer::Upload upload = buffer.takeUpload();
        EXPECT_EQ(upload.first, s.first);
        EXPECT_EQ(upload.count, s.count);
        EXPECT_EQ(upload.capacity > 0, s.grows);
        if (upload.capacity > 0) capacity = upload.capacity;
        EXPECT_GE(capacity, buffer.nodes().size());
    }
}

}  // namespace
}  // namespace calvoro

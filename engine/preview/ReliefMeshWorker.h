// Builds the 3D view's relief mesh on a thread of its own, the latest request
// winning: a new request cancels every older build, whose result is dropped.
// The window polls progress() and take() from its own thread; nothing it holds
// changes under it, and it never waits for a build except when this object
// goes (then every build is cancelled and waited for).
#pragma once

#include <atomic>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "engine/preview/ReliefMesh.h"
#include "engine/toolpath/TaskControl.h"

namespace calvoro {

// A snapshot of what the mesh is built from.
struct ReliefMeshRequest {
    std::shared_ptr<const HeightMap> map;  // not null
    ReliefValues values;
    ReliefDrawing drawing;
    int maxSamplesPerAxis = 8192;
    unsigned threads = 0;  // 0: every usable core
};

struct ReliefMeshResult {
    std::shared_ptr<const ReliefMesh> mesh;  // null when the build failed
    std::string failure;                     // why, for the user
};

class ReliefMeshWorker {
public:
    ReliefMeshWorker() = default;
    ~ReliefMeshWorker();
    ReliefMeshWorker(const ReliefMeshWorker&) = delete;
    ReliefMeshWorker& operator=(const ReliefMeshWorker&) = delete;

    // Starts building; older builds are cancelled.
    void start(ReliefMeshRequest request);
    // Cancels every build; take() gives nothing until the next start.
    void cancel();

    // Whether the latest request has not yet been taken.
    bool pending() const { return !builds_.empty() && builds_.back().latest; }
    // Of the latest build, from 0 to 1.
    double progress() const;
    // The latest build's result once it has ended (given once); builds that
    // were cancelled are cleared away here as well.
    std::optional<ReliefMeshResult> take();
    // Threads still running, cancelled ones included.
    int running() const;

private:
    struct Build {
        TaskControl control;
        std::thread thread;
        std::atomic<bool> done{false};
        bool latest = true;
        ReliefMeshResult result;
    };

    void clearEnded();

    std::list<Build> builds_;  // oldest first; the list keeps each build in place for its thread
};

}  // namespace calvoro

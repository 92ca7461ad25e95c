#include "engine/preview/ReliefMeshWorker.h"

#include <new>

namespace calvoro {

ReliefMeshWorker::~ReliefMeshWorker() {
    for (Build& build : builds_) build.control.requestCancel();
    for (Build& build : builds_) build.thread.join();
}

void ReliefMeshWorker::start(ReliefMeshRequest request) {
    cancel();
    Build& build = builds_.emplace_back();
    try {
        build.thread = std::thread([&build, request = std::move(request)] {
            try {
                build.result.mesh = std::make_shared<const ReliefMesh>(ReliefMesh::Build(
                    *request.map, request.values, request.drawing, request.maxSamplesPerAxis, &build.control,
                    request.threads));
            } catch (const TaskCancelled&) {
                // Superseded: nobody takes this result.
            } catch (const std::bad_alloc&) {
                build.result.failure = "Not enough memory for the relief at this shading resolution.";
            } catch (const std::exception& error) {
                build.result.failure = error.what();
            }
            build.done.store(true, std::memory_order_release);
        });
    } catch (...) {
        builds_.pop_back();
        throw;
    }
}

void ReliefMeshWorker::cancel() {
    for (Build& build : builds_) {
        build.latest = false;
        build.control.requestCancel();
    }
    clearEnded();
}

double ReliefMeshWorker::progress() const {
    return pending() ? builds_.back().control.progress() : 0.0;
}

std::optional<ReliefMeshResult> ReliefMeshWorker::take() {
    std::optional<ReliefMeshResult> taken;
    if (pending() && builds_.back().done.load(std::memory_order_acquire)) {
        builds_.back().latest = false;
        taken = std::move(builds_.back().result);
    }
    clearEnded();
    return taken;
}

int ReliefMeshWorker::running() const {
    int count = 0;
    for (const Build& build : builds_) count += !build.done.load(std::memory_order_acquire);
    return count;
}

void ReliefMeshWorker::clearEnded() {
    for (auto it = builds_.begin(); it != builds_.end();) {
        if (!it->latest && it->done.load(std::memory_order_acquire)) {
            it->thread.join();
            it = builds_.erase(it);
        } else {
            ++it;
        }
    }
}

}  // namespace calvoro

// Runs one long computation of the wizard (the relief, the tool path and its
// NC program) on a worker thread, so the window stays responsive. The window
// polls progress() from a timer and calls poll() until the outcome arrives;
// the result is handed over on the polling thread, never from the worker, so
// nothing the window shows changes under it.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "engine/toolpath/TaskControl.h"

namespace calvoro {

struct JobOutcome {
    bool succeeded = false;
    bool cancelled = false;
    std::string reason;  // why it did not succeed, for the user
};

class JobRunner {
public:
    // The work runs on the worker and returns what is to be done with its
    // result on the polling thread once it has succeeded.
    using Commit = std::function<void()>;
    using Work = std::function<Commit(TaskControl&)>;

    JobRunner() = default;
    ~JobRunner();  // cancels and waits for a running computation
    JobRunner(const JobRunner&) = delete;
    JobRunner& operator=(const JobRunner&) = delete;

    // Throws std::logic_error while a computation runs or waits to be polled.
    void start(Work work);
    bool busy() const { return started_; }
    double progress() const { return control_->progress(); }
    // Any thread; the work stops at its next check and its result is dropped.
    void cancel() { control_->requestCancel(); }

    // Empty while the work runs. Once it has ended: the worker is joined, a
    // successful commit runs here, and the outcome is returned (once).
    std::optional<JobOutcome> poll();
    // Blocks until the work has ended, then as poll().
    JobOutcome wait();

private:
    JobOutcome finish();

    std::unique_ptr<TaskControl> control_ = std::make_unique<TaskControl>();
    std::thread worker_;
    std::atomic<bool> done_{false};
    bool started_ = false;
    Commit commit_;
    JobOutcome outcome_;
};

}  // namespace calvoro

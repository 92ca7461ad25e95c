#include "shell/wizard/JobRunner.h"

#include <new>
#include <stdexcept>

namespace calvoro {

JobRunner::~JobRunner() {
    if (worker_.joinable()) {
        control_->requestCancel();
        worker_.join();
    }
}

void JobRunner::start(Work work) {
    if (started_) throw std::logic_error("A computation is still running.");
    // A fresh control: an earlier cancel must not stop the new computation.
    control_ = std::make_unique<TaskControl>();
    done_ = false;
    commit_ = nullptr;
    outcome_ = {};
    started_ = true;
    worker_ = std::thread([this, work = std::move(work), control = control_.get()] {
        try {
            // The work makes its own last cancel check: past it (once the NC
            // file is written) the result must be taken whatever comes.
            Commit commit = work(*control);
            commit_ = std::move(commit);
            outcome_.succeeded = true;
        } catch (const TaskCancelled& cancelled) {
            outcome_.cancelled = true;
            outcome_.reason = cancelled.what();
        } catch (const std::bad_alloc&) {
            outcome_.reason = "There is not enough memory for this computation.";
        } catch (const std::exception& error) {
            outcome_.reason = error.what();
        }
        done_.store(true, std::memory_order_release);
    });
}

JobOutcome JobRunner::finish() {
    worker_.join();
    started_ = false;
    JobOutcome outcome = std::move(outcome_);
    if (outcome.succeeded && commit_) {
        Commit commit = std::move(commit_);
        commit_ = nullptr;
        try {
            commit();
        } catch (const std::exception& error) {
            outcome.succeeded = false;
            outcome.reason = error.what();
        }
    }
    return outcome;
}

std::optional<JobOutcome> JobRunner::poll() {
    if (!started_ || !done_.load(std::memory_order_acquire)) return std::nullopt;
    return finish();
}

JobOutcome JobRunner::wait() {
    if (!started_) return {};
    return finish();
}

}  // namespace calvoro

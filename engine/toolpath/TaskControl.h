// Progress and cancellation of a long engine computation, shared between the
// thread that runs it and the one that shows it, and the loop that spreads the
// computation's independent pieces over several threads.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <stdexcept>

namespace calvoro {

// Raised inside a computation that noticed a cancel request.
class TaskCancelled : public std::runtime_error {
public:
    TaskCancelled() : std::runtime_error("The computation was cancelled.") {}
};

class TaskControl {
public:
    // Safe to call from any thread at any time.
    void requestCancel() { cancelled_.store(true, std::memory_order_relaxed); }
    bool cancelRequested() const { return cancelled_.load(std::memory_order_relaxed); }
    double progress() const { return progress_.load(std::memory_order_relaxed); }

    // For the computation: progress runs from 0 to 1 and never goes back.
    void reportProgress(double fraction);
    void throwIfCancelled() const {
        if (cancelRequested()) throw TaskCancelled();
    }

private:
    std::atomic<bool> cancelled_{false};
    std::atomic<double> progress_{0.0};
};

// The cores this process may run on (it may be bound to fewer than the
// machine has), at least 1.
unsigned UsableCores();

// Calls body(i) for every i in [0, count) on up to `threads` threads (0: one
// per usable core); the calls must be independent of one another. Progress moves from
// progressFrom to progressTo as the calls finish. A cancel request stops the
// remaining calls and raises TaskCancelled; the first exception of a body is
// raised again here once every thread has stopped.
void ParallelFor(std::size_t count, unsigned threads, TaskControl* control, double progressFrom, double progressTo,
                 const std::function<void(std::size_t)>& body);

}  // namespace calvoro

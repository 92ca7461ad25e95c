#include "engine/toolpath/TaskControl.h"

#include <sched.h>

#include <algorithm>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace calvoro {

void TaskControl::reportProgress(double fraction) {
    fraction = std::clamp(fraction, 0.0, 1.0);
    double current = progress_.load(std::memory_order_relaxed);
    while (fraction > current && !progress_.compare_exchange_weak(current, fraction, std::memory_order_relaxed)) {
    }
}

unsigned UsableCores() {
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0) return static_cast<unsigned>(std::max(1, CPU_COUNT(&set)));
    return std::max(1u, std::thread::hardware_concurrency());
}

void ParallelFor(std::size_t count, unsigned threads, TaskControl* control, double progressFrom, double progressTo,
                 const std::function<void(std::size_t)>& body) {
    if (count == 0) return;
    if (threads == 0) threads = UsableCores();
    threads = static_cast<unsigned>(std::min<std::size_t>(threads, count));

    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> done{0};
    std::atomic<bool> stop{false};
    std::exception_ptr failure;
    std::mutex failureMutex;
    const std::size_t reportEvery = std::max<std::size_t>(1, count / 200);

    auto work = [&] {
        try {
            while (!stop.load(std::memory_order_relaxed)) {
                if (control && control->cancelRequested()) throw TaskCancelled();
                const std::size_t i = next.fetch_add(1, std::memory_order_relaxed);
                if (i >= count) break;
                body(i);
                const std::size_t finished = done.fetch_add(1, std::memory_order_relaxed) + 1;
                if (control && (finished % reportEvery == 0 || finished == count))
                    control->reportProgress(progressFrom + (progressTo - progressFrom) * finished / count);
            }
        } catch (...) {
            std::lock_guard lock(failureMutex);
            if (!failure) failure = std::current_exception();
            stop.store(true, std::memory_order_relaxed);
        }
    };

    std::vector<std::thread> pool;
    pool.reserve(threads - 1);
    try {
        for (unsigned t = 1; t < threads; ++t) pool.emplace_back(work);
    } catch (...) {
        // Fewer threads than asked for: the ones running (and this one) do all the work.
    }
    work();
    for (std::thread& thread : pool) thread.join();
    if (failure) std::rethrow_exception(failure);
}

}  // namespace calvoro

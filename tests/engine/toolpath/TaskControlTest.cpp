#include "engine/toolpath/TaskControl.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

namespace calvoro {
namespace {

TEST(TaskControlTest, EveryIndexRunsOnceWhateverTheThreadCount) {
    for (unsigned threads : {0u, 1u, 3u, 64u}) {
        std::vector<std::atomic<int>> runs(1000);
        TaskControl control;
        ParallelFor(runs.size(), threads, &control, 0.25, 0.75, [&](std::size_t i) { ++runs[i]; });
        for (const auto& r : runs) ASSERT_EQ(r.load(), 1) << threads;
        EXPECT_EQ(control.progress(), 0.75);
        control.reportProgress(0.5);  // progress never goes back, nor beyond 1
        EXPECT_EQ(control.progress(), 0.75);
        control.reportProgress(7.0);
        EXPECT_EQ(control.progress(), 1.0);
    }
    ParallelFor(0, 4, nullptr, 0, 1, [](std::size_t) { FAIL() << "nothing to run"; });
}

TEST(TaskControlTest, ACancelRequestOrAFailureStopsTheWork) {
    TaskControl before;
    before.requestCancel();
    std::atomic<int> started{0};
    EXPECT_THROW(ParallelFor(100, 4, &before, 0, 1, [&](std::size_t) { ++started; }), TaskCancelled);
    EXPECT_EQ(started.load(), 0);
    TaskControl midway;
    const auto cancelAt10 = [&](std::size_t i) {
        if (i == 10) midway.requestCancel();
    };
    EXPECT_THROW(ParallelFor(100000, 4, &midway, 0, 1, cancelAt10), TaskCancelled);
    // The first failure of a piece reaches the caller.
    const auto failAt50 = [](std::size_t i) {
        if (i == 50) throw std::domain_error("bad piece");
    };
    EXPECT_THROW(ParallelFor(1000, 4, nullptr, 0, 1, failAt50), std::domain_error);
}

}  // namespace
}  // namespace calvoro

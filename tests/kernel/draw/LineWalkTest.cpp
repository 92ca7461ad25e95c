// The line walk: which pixels a line visits, and which of its steps lie in a box.
#include "kernel/draw/LineWalk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

using namespace calvoro;

namespace {

std::vector<TPixelPoint> Walk(TPixelPoint from, TPixelPoint to) {
    std::vector<TPixelPoint> pixels;
    WalkLine(from, to, [&](TPixelPoint p) { pixels.push_back(p); });
    return pixels;
}

TEST(LineWalkTest, VisitsFromTheStartUpToButExcludingTheEnd) {
    struct Case {
        TPixelPoint from, to;
        std::vector<TPixelPoint> pixels;
    };
    const std::vector<Case> cases = {
        {{0, 0}, {3, 0}, {{0, 0}, {1, 0}, {2, 0}}},
        {{2, 5}, {2, 2}, {{2, 5}, {2, 4}, {2, 3}}},
        {{0, 0}, {3, 3}, {{0, 0}, {1, 1}, {2, 2}}},
        {{0, 0}, {4, 1}, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},  // a half rounds towards larger coordinates
        {{4, 1}, {0, 0}, {{4, 1}, {3, 1}, {2, 1}, {1, 0}}},
        {{0, 0}, {1, -4}, {{0, 0}, {0, -1}, {1, -2}, {1, -3}}},
        {{7, 7}, {7, 7}, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(Walk(c.from, c.to), c.pixels);
    // The major axis of a diagonal is Y.
    EXPECT_TRUE(LineWalk({0, 0}, {5, 4}).XMajor());
    EXPECT_FALSE(LineWalk({0, 0}, {4, 4}).XMajor());
    EXPECT_FALSE(LineWalk({0, 0}, {-1, -9}).XMajor());
}

TEST(LineWalkTest, AHugeLineIsCutToTheBoxWithoutWalkingIt) {
    const LineWalk walk({-2000000000, -1000000000}, {2000000000, 1000000001});
    const auto [first, last] = walk.StepsInside(TPixelRect{0, 0, 100, 100});
    ASSERT_LT(first, last);
    EXPECT_LE(last - first, 200);
    for (std::int64_t step = first; step < last; ++step)
        EXPECT_TRUE(TPixelRect({0, 0, 100, 100}).Contains(walk.At(step)));
    EXPECT_FALSE(TPixelRect({0, 0, 100, 100}).Contains(walk.At(first - 1)));
    EXPECT_FALSE(TPixelRect({0, 0, 100, 100}).Contains(walk.At(last)));
}

}  // namespace

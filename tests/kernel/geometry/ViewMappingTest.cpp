#include "kernel/geometry/ViewMapping.h"

#include "kernel/geometry/PixelConversion.h"
#include "tests/kernel/geometry/GeometryTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace calvoro;

namespace {

bool IsFinite(const TMatrix2D& m) {
    for (const auto& row : m.M)
        for (double entry : row)
            if (!std::isfinite(entry)) return false;
    return true;
}

TPixelPoint ToScreen(const TMatrix2D& m, double x, double y) {
    return Point2DToPoint(PointTimesMatrix2D(MakePoint2D(x, y), m));
}

TEST(WorldToScreen, AspectRatioGrowsTheWorldBoxToFillTheClient) {
    struct Case {
        const char* what;
        TPixelRect client;
        TRect2D visual;
        double aspect;
        TRect2D fitted;
    };
    const Case cases[] = {
        {"wide client", {0, 0, 200, 100}, MakeRect2D(0, 0, 10, 10), 1.0, MakeRect2D(0, 0, 20, 10)},
        {"tall client", {0, 0, 100, 200}, MakeRect2D(0, 0, 10, 10), 1.0, MakeRect2D(0, 0, 10, 20)},
        {"pixels twice as tall", {0, 0, 100, 100}, MakeRect2D(-5, 0, 5, 10), 0.5, MakeRect2D(-5, 0, 5, 20)},
        {"plain fit", {0, 0, 200, 100}, MakeRect2D(0, 0, 10, 10), 0.0, MakeRect2D(0, 0, 10, 10)},
        {"negative ratio is a plain fit", {0, 0, 200, 100}, MakeRect2D(0, 0, 10, 10), -1.0, MakeRect2D(0, 0, 10, 10)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TRect2D visual = c.visual;
        WorldToScreenMatrix2D(visual, c.client, c.aspect);
        EXPECT_EQ(visual, c.fitted);
    }
}

TEST(WorldToScreen, MapsTheWorldBoxOntoTheClientWithYDown) {
    TRect2D visual = MakeRect2D(0, 0, 10, 10);
    const TMatrix2D plain = WorldToScreenMatrix2D(visual, TPixelRect{0, 0, 200, 100}, 0.0);
    EXPECT_EQ(plain.M[0][0], 20.0);
    EXPECT_EQ(plain.M[1][1], -10.0);
    EXPECT_EQ(plain.M[2][0], -0.5);
    EXPECT_EQ(plain.M[2][1], 99.5);
    EXPECT_EQ(ToScreen(plain, 0, 10), (TPixelPoint{0, 0}));  // -0.5 rounds to the even 0
    EXPECT_EQ(ToScreen(plain, 5, 5), (TPixelPoint{100, 50}));
    EXPECT_EQ(ToScreen(plain, 0.025, 9.95), (TPixelPoint{0, 0}));
    EXPECT_EQ(ToScreen(plain, 0.075, 9.85), (TPixelPoint{1, 1}));

    TRect2D offset = MakeRect2D(-50, 100, 50, 200);
    const TMatrix2D shifted = WorldToScreenMatrix2D(offset, TPixelRect{40, 30, 240, 230}, 1.0);
    EXPECT_EQ(ToScreen(shifted, -50, 200), (TPixelPoint{40, 30}));
    EXPECT_EQ(ToScreen(shifted, 0, 150), (TPixelPoint{140, 130}));
}

TEST(WorldToScreen, AnEmptyClientOrWorldBoxGivesAFiniteMatrixAndKeepsTheBox) {
    const double infinity = std::numeric_limits<double>::infinity();
    struct Case {
        const char* what;
        TPixelRect client;
        TRect2D visual;
        double aspect;
    };
    const Case cases[] = {
        {"no client height", {0, 0, 200, 0}, MakeRect2D(0, 0, 10, 10), 1.0},
        {"no client width", {0, 0, 0, 100}, MakeRect2D(0, 0, 10, 10), 1.0},
        {"no client at all", {0, 0, 0, 0}, MakeRect2D(0, 0, 10, 10), 0.0},
        {"reversed client", {50, 50, 10, 10}, MakeRect2D(0, 0, 10, 10), 1.0},
        {"point-sized world", {0, 0, 200, 100}, MakeRect2D(3, 3, 3, 3), 1.0},
        {"flat world, plain fit", {0, 0, 200, 100}, MakeRect2D(0, 3, 10, 3), 0.0},
        {"world too small to scale", {0, 0, 200, 100}, MakeRect2D(0, 0, 1e-320, 1e-320), 0.0},
        {"endless world", {0, 0, 200, 100}, MakeRect2D(0, 0, infinity, 10), 0.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TRect2D visual = c.visual;
        const TMatrix2D m = WorldToScreenMatrix2D(visual, c.client, c.aspect);
        EXPECT_TRUE(IsFinite(m));
        EXPECT_EQ(m, IdentityMatrix2D);
        EXPECT_EQ(visual, c.visual);
    }
}

TEST(WorldToScreen, AFlatWorldBoxIsWidenedByTheAspectRatio) {
    TRect2D visual = MakeRect2D(0, 3, 10, 3);
    const TMatrix2D m = WorldToScreenMatrix2D(visual, TPixelRect{0, 0, 200, 100}, 1.0);
    EXPECT_EQ(visual, MakeRect2D(0, 3, 10, 8));
    EXPECT_TRUE(IsFinite(m));
    EXPECT_EQ(m.M[0][0], 20.0);
}

}  // namespace

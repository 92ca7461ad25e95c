#include "kernel/geometry/PixelConversion.h"

#include <gtest/gtest.h>

#include <limits>

using namespace calvoro;

namespace {

constexpr int kMax = kPixelCoordinateLimit;

TEST(PixelConversion, HalvesGoToTheEvenNeighbourAndFarValuesSaturate) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    struct Case {
        double value;
        int pixel;
    };
    const Case cases[] = {
        {2.5, 2},
        {-2.5, -2},
        {3.5, 4},
        {-3.5, -4},
        {0.5, 0},
        {-0.5, 0},
        {1.49, 1},
        {-1.51, -2},
        {1e12, kMax},
        {-1e12, -kMax},
        {infinity, kMax},
        {-infinity, -kMax},
        {nan, 0},
        {2147483647.0, kMax},
        {-2147483648.0, -kMax},
        {1073741822.5, 1073741822},
    };
    for (const auto& c : cases) EXPECT_EQ(RoundToPixel(c.value), c.pixel) << c.value;
}

TEST(PixelConversion, SaturatedCoordinatesLeaveRoomForTheirDifference) {
    const TPixelRect wide = Rect2DToRect(MakeRect2D(-1e12, -1e12, 1e12, 1e12));
    EXPECT_EQ(wide, (TPixelRect{-kMax, -kMax, kMax, kMax}));
    EXPECT_EQ(wide.Width(), 2 * kMax);
}

TEST(PixelConversion, PointsDivideByWUnlessItIsOneOrZero) {
    struct Case {
        TPoint2D p;
        TPixelPoint pixel;
    };
    const Case cases[] = {
        {TPoint2D{2.5, -2.5, 1}, {2, -2}},     {TPoint2D{7, 9, 2}, {4, 4}},  // 3.5 -> 4, 4.5 -> 4
        {TPoint2D{7.4, -3.6, 0}, {7, -4}},     {TPoint2D{1e12, -1e12, 1}, {kMax, -kMax}},
        {TPoint2D{1, 1, 1e-15}, {kMax, kMax}},
    };
    for (const auto& c : cases) EXPECT_EQ(Point2DToPoint(c.p), c.pixel) << c.p.X << " " << c.p.Y << " " << c.p.W;
    EXPECT_EQ(PointToPoint2D(TPixelPoint{-3, 12}), MakePoint2D(-3, 12));
}

TEST(PixelConversion, RectanglesMapPositionallyAndComeBackOrdered) {
    // A pixel rect's Top becomes the box's Bottom as it stands; the way back
    // orders the box first.
    EXPECT_EQ(RectToRect2D(TPixelRect{10, 20, 110, 70}), MakeRect2D(10, 20, 110, 70));
    EXPECT_EQ(Rect2DToRect(MakeRect2D(110.4, 70.5, 10.5, 19.5)), (TPixelRect{10, 20, 110, 70}));
    EXPECT_EQ(Rect2DToRect(TRect2D{4, 6, 2, 20, 30, 2}), (TPixelRect{2, 3, 10, 15}));
}

}  // namespace

#include "shell/app/ViewReadout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace calvoro {
namespace {

TEST(ViewReadout, CursorTextInEachUnit) {
    struct Row {
        double x, y;
        int units;
        const char* text;
    };
    const Row rows[] = {
        {0.0, 0.0, 0, "X:  0.000 Y:  0.000"},
        {12.3456, -7.5, 0, "X: 12.346 Y: -7.500"},
        {1234.5, 0.0005, 0, "X: 1234.500 Y:  0.001"},  // wider than six, never cut
        {0.5, 1.25, 1, "X: 0.5000 Y: 1.2500"},
        {-0.03125, 10.0, 1, "X: -0.0312 Y: 10.0000"},
    };
    for (const Row& r : rows) EXPECT_EQ(CursorText(r.x, r.y, r.units), r.text) << r.x << ' ' << r.y;
}

// A 10 x 6 pixel picture at 0.5 units per pixel, lower-left corner at (100, 200).
struct DepthFixture {
    ReliefValues relief;
    ImageInfo info;
    HeightMap map{10, 6};
    DepthFixture() {
        relief.PixelSize = 0.5f;
        relief.WorkOffsetX = 100.0f;
        relief.WorkOffsetY = 200.0f;
        info.PixelWidth = 10;
        info.PixelHeight = 6;
        for (int c = 0; c < 10; ++c)
            for (int r = 0; r < 6; ++r) map.at(c, r) = -(c + r / 10.0f);
    }
};

TEST(ViewReadout, DepthBoundedByPictureAndMap) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Row {
        double x, y;
        int units;
        bool inside;
        float z;
        const char* text;
    };
    const Row rows[] = {
        {100.0, 200.0, 0, true, -0.0f, " Z: -0.000"},       // first pixel
        {104.0, 202.0, 0, true, -8.4f, " Z: -8.400"},       // last column that counts
        {104.5, 202.0, 0, false, kDepthOutside, " out"},    // last column of the picture
        {104.0, 202.5, 0, false, kDepthOutside, " out"},    // last row of the picture
        {99.76, 200.0, 0, true, -0.0f, " Z: -0.000"},       // rounds into column 0
        {99.7, 200.0, 0, false, kDepthOutside, " out"},     // rounds to column -1
        {100.25, 200.0, 0, true, -0.0f, " Z: -0.000"},      // half a pixel: even column 0
        {100.75, 200.0, 0, true, -2.0f, " Z: -2.000"},      // half a pixel: even column 2
        {101.0, 201.0, 1, true, -2.2f, " Z: -2.2000"},      // inches: four decimals
        {102.5, 202.0, 0, true, -5.4f, " Z: -5.400"},       // trailing zeros kept
        {nan, 201.0, 0, false, kDepthOutside, " out"},
        {1e300, 201.0, 0, false, kDepthOutside, " out"},
    };
    DepthFixture f;
    for (const Row& r : rows) {
        const ReliefDepth d = DepthAt(r.x, r.y, f.relief, f.info, &f.map, r.units, "out");
        EXPECT_EQ(d.inside, r.inside) << r.x << ' ' << r.y;
        EXPECT_FLOAT_EQ(d.z, r.z) << r.x << ' ' << r.y;
        EXPECT_EQ(d.text, r.text) << r.x << ' ' << r.y;
    }
}

// Rows placed at their own size (a height typed that does not keep the
// picture's proportions) are found at that size.
TEST(ViewReadout, DepthFindsRowsAtTheirOwnSize) {
    DepthFixture f;
    f.relief.PixelSizeY = 2.0f;
    EXPECT_FLOAT_EQ(DepthAt(101.0, 204.0, f.relief, f.info, &f.map, 0, "out").z, -2.2f);  // column 2, row 2
    EXPECT_FLOAT_EQ(DepthAt(101.0, 207.0, f.relief, f.info, &f.map, 0, "out").z, -2.4f);  // row 3.5 rounds to 4
    EXPECT_FALSE(DepthAt(101.0, 210.0, f.relief, f.info, &f.map, 0, "out").inside);       // the last row
}

TEST(ViewReadout, DepthOutsideWhenMapOrScaleCannotAnswer) {
    struct Row {
        const char* what;
        int mapWidth, mapHeight;  // -1: no map
        float pixelSize;
        float cell;
    };
    const Row rows[] = {
        {"no map", -1, -1, 0.5f, 0.0f},
        {"empty map", 0, 0, 0.5f, 0.0f},
        {"map of a smaller picture", 3, 6, 0.5f, 0.0f},
        {"zero pixel size", 10, 6, 0.0f, 0.0f},
        {"NaN pixel size", 10, 6, std::numeric_limits<float>::quiet_NaN(), 0.0f},
        {"NaN depth", 10, 6, 0.5f, std::numeric_limits<float>::quiet_NaN()},
        {"infinite depth", 10, 6, 0.5f, -std::numeric_limits<float>::infinity()},
    };
    for (const Row& r : rows) {
        DepthFixture f;
        f.relief.PixelSize = r.pixelSize;
        if (r.mapWidth >= 0) f.map = HeightMap(r.mapWidth, r.mapHeight, r.cell);
        // Column 4, row 2 of the picture: inside the 10 x 6 picture.
        const ReliefDepth d = DepthAt(102.0, 201.0, f.relief, f.info, r.mapWidth < 0 ? nullptr : &f.map, 0, "out");
        EXPECT_FALSE(d.inside) << r.what;
        EXPECT_EQ(d.z, kDepthOutside) << r.what;
        EXPECT_EQ(d.text, " out") << r.what;
    }
}

TEST(ViewReadout, CtrlDragZoomsFromTwentyPixels) {
    using A = ViewDrag::Action;
    constexpr TShiftState ctrl = Shift::Ctrl | Shift::Left;
    struct Row {
        int x, y;
        A action;
    };
    // From (100, 100): each row moves on from where the last zoom left the mouse.
    const Row rows[] = {
        {119, 100, A::None},     // 19 pixels: nothing, the start stays
        {120, 100, A::ZoomOut},  // 20 pixels to the right
        {120, 119, A::None},     // 19 down from the new start
        {120, 120, A::ZoomOut},  // straight down: X did not decrease
        {108, 136, A::ZoomIn},   // 20 on the diagonal, to the left
        {90, 136, A::None},
        {88, 136, A::ZoomIn},
    };
    ViewDrag drag;
    EXPECT_FALSE(drag.MouseDown(TMouseButton::mbLeft, Shift::Ctrl, 100, 100));
    for (const Row& r : rows) EXPECT_EQ(drag.MouseMove(ctrl, r.x, r.y).action, r.action) << r.x << ' ' << r.y;
}

TEST(ViewReadout, ShiftDragPansFromThePreviousPixelAndWinsOverCtrl) {
    using A = ViewDrag::Action;
    struct Row {
        TShiftState shift;
        int x, y;
        A action;
    };
    const Row rows[] = {
        {Shift::Shift | Shift::Left | Shift::Ctrl, 13, 20, A::Pan},
        {Shift::Shift, 50, 50, A::None},  // no button held: the position stays
        {Shift::Left, 90, 90, A::None},   // a plain drag belongs to the running task
        {Shift::Shift | Shift::Left, 14, 26, A::Pan},
    };
    ViewDrag drag;
    EXPECT_TRUE(drag.MouseDown(TMouseButton::mbLeft, Shift::Shift, 10, 20));
    int fromX = 10;
    for (const Row& r : rows) {
        const ViewDrag::Step s = drag.MouseMove(r.shift, r.x, r.y);
        EXPECT_EQ(s.action, r.action) << r.x;
        if (s.action != A::Pan) continue;
        EXPECT_EQ(s.fromX, fromX) << r.x;
        fromX = r.x;
    }
    drag.EndPan();
    EXPECT_FALSE(drag.MouseDown(TMouseButton::mbRight, Shift::Shift, 0, 0));
}

}  // namespace
}  // namespace calvoro

// The placement of the picture: corners, typed and picked origins, sizes with
// and without the pixel proportions, and the quarter-turn stepping.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "shell/wizard/NumberText.h"
#include "shell/wizard/Placement.h"

namespace calvoro {
namespace {

// A 1001 x 501 picture at 100 dpi: 254 x 127 mm.
ImageInfo Picture254x127() {
    return ComputeImageScale(ImageInfo{}, 1001, 501, 100, false);
}

TEST(Placement, CornersMoveTheOriginAndEveryObject) {
    struct Step {
        int corner;
        float x0, y0;
        double dx, dy;
    };
    // Corner 3, back to 1, then each corner from 1 and the centre.
    const Step steps[] = {
        {UpperRight, -254, -127, -254, -127}, {LowerLeft, 0, 0, 254, 127},       {UpperLeft, 0, -127, 0, -127},
        {LowerRight, -254, 0, -254, 127},     {Centre, -127, -63.5, 127, -63.5}, {LowerLeft, 0, 0, 127, 63.5},
    };
    Placement placement;
    placement.reset(Picture254x127());
    for (const Step& step : steps) {
        SCOPED_TRACE(step.corner);
        const DrawingShift shift = placement.chooseCorner(step.corner);
        EXPECT_FLOAT_EQ(placement.info().X0, step.x0);
        EXPECT_FLOAT_EQ(placement.info().Y0, step.y0);
        EXPECT_DOUBLE_EQ(shift.dx, step.dx);
        EXPECT_DOUBLE_EQ(shift.dy, step.dy);
        EXPECT_EQ(placement.checkedCorner(), step.corner);
    }
}

TEST(Placement, TypedAndPickedOriginsUncheckTheCorners) {
    Placement placement;
    placement.reset(Picture254x127());
    ASSERT_TRUE(placement.typedOrigin(" 500.", "0"));
    EXPECT_EQ(placement.checkedCorner(), NoCorner);
    EXPECT_DOUBLE_EQ(placement.chooseCorner(UpperRight).dx, 246.0);
    EXPECT_EQ(placement.pickedOrigin(10, -20), (DrawingShift{-10, 20}));
    EXPECT_EQ(placement.info().X0, -264);
    EXPECT_EQ(placement.info().Y0, -107);
    EXPECT_EQ(placement.checkedCorner(), NoCorner);
}

TEST(Placement, RotationSteppingVisitsTheCornersInTurn) {
    struct Case {
        bool anticlockwise;
        int start;
        int corners[4];
        int angles[4];
    };
    const Case cases[] = {
        {true, UpperLeft, {LowerLeft, LowerRight, UpperRight, UpperLeft}, {90, 180, 270, 0}},
        {false, UpperLeft, {UpperRight, LowerRight, LowerLeft, UpperLeft}, {270, 180, 90, 0}},
        // The centre and a typed origin have no corner to step.
        {true, Centre, {Centre, Centre, Centre, Centre}, {90, 180, 270, 0}},
    };
    for (const Case& c : cases) {
        Placement placement;
        placement.reset(Picture254x127());
        placement.chooseCorner(c.start);
        const ImageInfo before = placement.info();
        for (int i = 0; i < 4; ++i) {
            c.anticlockwise ? placement.stepAnticlockwise() : placement.stepClockwise();
            EXPECT_EQ(placement.originCorner(), c.corners[i]);
            EXPECT_EQ(placement.checkedCorner(), c.corners[i]);
            EXPECT_EQ(placement.angle(), c.angles[i]);
        }
        EXPECT_EQ(placement.info(), before);  // the stepping itself moves nothing
    }
}

TEST(Placement, KeepRatioFollowsTheWholePixelCounts) {
    Placement placement;
    placement.reset(Picture254x127());
    ASSERT_TRUE(placement.setWidthText("100"));
    EXPECT_FLOAT_EQ(placement.info().SizeY, 50.04995f);
    EXPECT_FLOAT_EQ(placement.info().Scale, 0.1f);
    ASSERT_TRUE(placement.setHeightText("50.1"));
    EXPECT_FLOAT_EQ(placement.info().SizeX, static_cast<float>(50.1L / 501 * 1001));
    // Switched off, the other size stays; switched on, the height follows again.
    placement.setKeepRatio(false);
    ASSERT_TRUE(placement.setWidthText("300"));
    EXPECT_FLOAT_EQ(placement.info().SizeY, 50.1f);
    placement.setKeepRatio(true);
    EXPECT_FLOAT_EQ(placement.info().SizeY, static_cast<float>(300.0L / 1001 * 501));
}

TEST(Placement, EveryTakenSizeUpdatesScaleAndCorner) {
    for (const bool keepRatio : {true, false}) {
        Placement placement;
        placement.reset(Picture254x127());
        placement.setKeepRatio(keepRatio);
        placement.chooseCorner(UpperRight);
        const auto shift = placement.setWidthText("500");
        ASSERT_TRUE(shift);
        EXPECT_FLOAT_EQ(placement.info().Scale, 0.5f);
        EXPECT_FLOAT_EQ(placement.info().X0, -500);
        EXPECT_DOUBLE_EQ(shift->dx, -246.0);
        EXPECT_FLOAT_EQ(placement.info().Y0, -placement.info().SizeY);
    }
}

TEST(Placement, TextsThatAreNoUsableNumberChangeNothing) {
    struct Case {
        std::string text;
        bool number;  // a number, but no size: an origin may take it
    };
    const Case cases[] = {{"", false},      {"-", false},    {".", false},   {"abc", false},
                          {"1.2.3", false}, {"nan", false},  {"inf", false}, {"1" + std::string(400, '0'), false},
                          {"0", true},      {"0.000", true}, {"-5", true},   {"0." + std::string(60, '0') + "1", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Placement placement;
        placement.reset(Picture254x127());
        placement.chooseCorner(UpperRight);
        const ImageInfo before = placement.info();
        EXPECT_FALSE(placement.setWidthText(c.text));
        EXPECT_FALSE(placement.setHeightText(c.text));
        EXPECT_EQ(placement.info(), before);
        EXPECT_EQ(placement.typedOrigin(c.text, "0"), c.number);
    }
}

TEST(Placement, RotatedPictureKeepsTheChosenCorner) {
    struct Case {
        int corner;
        float x0, y0;  // of the turned 127 x 254 picture
    };
    const Case cases[] = {{LowerLeft, 0, 0}, {UpperRight, -127, -254}, {Centre, -63.5, -127}, {NoCorner, -5, -6}};
    for (const Case& c : cases) {
        Placement placement;
        placement.reset(Picture254x127());
        if (c.corner == NoCorner)
            placement.typedOrigin(5, 6);
        else
            placement.chooseCorner(c.corner);
        placement.pictureRotated();
        EXPECT_FLOAT_EQ(placement.info().SizeX, 127);
        EXPECT_FLOAT_EQ(placement.info().X0, c.x0);
        EXPECT_FLOAT_EQ(placement.info().Y0, c.y0);
    }
}

TEST(NumberText, ParsesTheEditsOwnTextsLocaleFree) {
    struct Case {
        const char* text;
        std::optional<double> value;
    };
    const Case cases[] = {{" 254.", 254.0},      {"-12.5", -12.5},      {"0.05 ", 0.05},
                          {".5", 0.5},           {"1,5", std::nullopt}, {"+1", 1.0},
                          {"--1", std::nullopt}, {"1e3", 1000.0},       {"1.2.3", std::nullopt}};
    for (const Case& c : cases) EXPECT_EQ(ParseEditNumber(c.text), c.value) << c.text;
    EXPECT_EQ(formatta(254.0f, false), "254.000");
    EXPECT_EQ(formatta(10.0f, true), "10.0000");
    EXPECT_EQ(formatta(-0.0625, false), "-0.062");  // halves to even
}

}  // namespace
}  // namespace calvoro

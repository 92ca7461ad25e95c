// The drawing state every canvas keeps, the recording canvas's text measure
// and the colours.
#include "kernel/draw/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <vector>

using namespace calvoro;

namespace {

TEST(CanvasTest, LinesStartAtThePenPositionAndMoveIt) {
    RecordingCanvas canvas;
    canvas.MoveTo(1, 2);
    canvas.LineTo(5, 2);
    canvas.LineTo(5, 9);
    const auto lines = canvas.CallsOf(CanvasOp::LineTo);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].Points, (std::vector<TPixelPoint>{{1, 2}, {5, 2}}));
    EXPECT_EQ(lines[1].Points, (std::vector<TPixelPoint>{{5, 2}, {5, 9}}));
    EXPECT_EQ(canvas.PenPos(), (TPixelPoint{5, 9}));
    const TPixelPoint polyline[] = {{0, 0}, {3, 3}};
    canvas.Polyline(polyline);
    EXPECT_EQ(canvas.PenPos(), (TPixelPoint{5, 9})) << "a polyline leaves the pen where it was";
}

TEST(CanvasTest, TheClipBoxNeverReachesBeyondTheSurface) {
    RecordingCanvas canvas(TPixelRect{0, 0, 100, 50});
    EXPECT_EQ(canvas.ClipRect(), (TPixelRect{0, 0, 100, 50}));
    canvas.SetClipRect(TPixelRect{-10, 10, 60, 80});
    EXPECT_EQ(canvas.ClipRect(), (TPixelRect{0, 10, 60, 50}));
    canvas.ResetClipRect();
    EXPECT_EQ(canvas.ClipRect(), (TPixelRect{0, 0, 100, 50}));
}

TEST(CanvasTest, MeasuringTextDrawsNothingAndFitsTheRectangle) {
    RecordingCanvas canvas;
    FontDescription font;
    font.Height = -12;
    canvas.SetFont(font);
    canvas.ClearCalls();
    struct Case {
        const char* text;
        std::uint32_t format;
        int width, height;
    };
    const Case cases[] = {
        {"abc", TextFormat::CalcRect, 24, 12},
        {"abc\r\nde\nfghij", TextFormat::CalcRect, 40, 36},
        {"ab\r\ncd", TextFormat::CalcRect | TextFormat::SingleLine, 48, 12},
        {"", TextFormat::CalcRect, 0, 12},
    };
    for (const Case& c : cases) {
        TPixelRect rect{10, 20, 11, 21};
        EXPECT_EQ(canvas.DrawText(rect, c.text, c.format), c.height);
        EXPECT_EQ(rect, (TPixelRect{10, 20, 10 + c.width, 20 + c.height})) << c.text;
    }
    EXPECT_TRUE(canvas.Calls().empty());
    TPixelRect rect{0, 0, 50, 50};
    canvas.DrawText(rect, "x", TextFormat::Center);
    EXPECT_EQ(canvas.CallsOf(CanvasOp::DrawText).at(0).Flags, TextFormat::Center);
}

TEST(ColorTest, SystemColoursBecomePlainColours) {
    EXPECT_EQ(ColorToRGB(clLime), 0x00FF00);
    EXPECT_EQ(ColorToRGB(0x12345678), 0x345678) << "the top byte of a plain colour is not part of it";
    EXPECT_EQ(ColorToRGB(static_cast<TColor>(0xFF000005)), clWhite);
    EXPECT_EQ(ColorToRGB(static_cast<TColor>(0xFF000008)), clBlack);
    EXPECT_EQ(RGBColor(1, 2, 3), 0x030201);
    EXPECT_EQ(BlueOf(clBlue), 255);
}

}  // namespace

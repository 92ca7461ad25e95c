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

}  // namespace

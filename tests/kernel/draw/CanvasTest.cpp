// Drawing on a canvas: the pixels a line walk visits, the pen position of
// lines, and polylines clipped to the box they are drawn in, dashed or not.
#include "kernel/draw/LineWalk.h"
#include "kernel/draw/RecordingCanvas.h"
#include "kernel/draw/TransformedDrawing.h"

#include <gtest/gtest.h>

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

using Pixels = std::vector<TPixelPoint>;

const TRect2D Clip = MakeRect2D(0, 0, 100, 100);

// The world box of the points, which the drawing routines take from their caller.
TRect2D BoxOf(const std::vector<TPoint2D>& points) {
    TRect2D box = MakeRect2D(points[0].X / points[0].W, points[0].Y / points[0].W, points[0].X / points[0].W,
                             points[0].Y / points[0].W);
    for (const TPoint2D& p : points) box = UnionRect2D(box, MakeRect2D(p.X / p.W, p.Y / p.W, p.X / p.W, p.Y / p.W));
    return box;
}

class TransformedDrawingTest : public ::testing::Test {
protected:
    std::vector<Pixels> PointsOf(CanvasOp op) const {
        std::vector<Pixels> result;
        for (const CanvasCall& call : canvas.CallsOf(op)) result.push_back(call.Points);
        return result;
    }

    RecordingCanvas canvas{TPixelRect{0, 0, 100, 100}};
    TDecorativeCanvas decorated{canvas};
};

// Polylines that leave the clip box are drawn as runs inside it, far-away and
// homogeneous points included, and the runs follow the layer's dashes.
TEST_F(TransformedDrawingTest, PolylinesLeavingTheClipBoxAreDrawnAsRunsInsideIt) {
    const std::vector<TPoint2D> loop = {MakePoint2D(10, 10), MakePoint2D(150, 10), MakePoint2D(150, 50),
                                        MakePoint2D(10, 50)};
    const std::vector<TPoint2D> halves = {TPoint2D{20, 20, 2}, TPoint2D{60, 20, 2}};
    struct Case {
        const char* what;
        std::vector<TPoint2D> points;
        bool closed;
        TRect2D clip;
        const char* pattern;
        std::vector<Pixels> runs;
    };
    const std::vector<Case> cases = {
        {"out and back", loop, false, Clip, "", {{{10, 10}, {100, 10}}, {{100, 50}, {10, 50}}}},
        {"closed: back to the first point",
         loop,
         true,
         Clip,
         "",
         {{{10, 10}, {100, 10}}, {{100, 50}, {10, 50}, {10, 10}}}},
        {"far away",
         {MakePoint2D(-1e12, 50), MakePoint2D(1e12, 50), MakePoint2D(1e12, 1e12)},
         false,
         Clip,
         "",
         {{{0, 50}, {100, 50}}}},
        {"homogeneous", halves, false, Clip, "", {{{10, 10}, {30, 10}}}},
        {"homogeneous, clipped", halves, false, MakeRect2D(0, 0, 20, 100), "", {{{10, 10}, {20, 10}}}},
        {"dashed", {MakePoint2D(-20, 5), MakePoint2D(8, 5)}, false, Clip, "1100", {{{0, 5}, {2, 5}}, {{4, 5}, {6, 5}}}},
    };
    for (const Case& c : cases) {
        canvas.ClearCalls();
        decorated.DecorativePen().SetPattern(c.pattern);
        const int last = static_cast<int>(c.points.size()) - 1;
        DrawPolyline2D(decorated, c.clip, BoxOf(c.points), c.points, 0, last, c.closed, IdentityMatrix2D);
        EXPECT_EQ(PointsOf(CanvasOp::Polyline), c.runs) << c.what;
    }
}

}  // namespace

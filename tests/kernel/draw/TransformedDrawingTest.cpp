// Drawing world geometry through a transform: the fast path, clipped runs and
// polygons, lines, point markers, frames and control points.
#include "kernel/draw/RecordingCanvas.h"
#include "kernel/draw/TransformedDrawing.h"

#include <gtest/gtest.h>

#include <vector>

using namespace calvoro;

namespace {

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

TEST_F(TransformedDrawingTest, APolylineWhollyInsideIsOneCall) {
    // World units of 10 pixels, Y upwards, the origin 100 pixels down.
    const TMatrix2D view = MultiplyMatrix2D(ScalingMatrix2D(10, -10), TranslationMatrix2D(0, 100));
    const std::vector<TPoint2D> points = {MakePoint2D(1, 1), MakePoint2D(5, 1), MakePoint2D(5, 3.25)};
    DrawPolyline2D(decorated, Clip, MakeRect2D(1, 1, 5, 3.25), points, 0, 2, false, view);
    DrawPolyline2D(decorated, Clip, MakeRect2D(1, 1, 5, 3.25), points, 1, 2, true, view);
    EXPECT_EQ(PointsOf(CanvasOp::Polyline),
              (std::vector<Pixels>{{{10, 90}, {50, 90}, {50, 68}}, {{50, 90}, {50, 68}, {50, 90}}}))
        << "3.25 maps to 67.5, which rounds to the even 68";
}

TEST_F(TransformedDrawingTest, PolylineRangesOutsideThePointsDrawNothing) {
    const std::vector<TPoint2D> points = {MakePoint2D(1, 1), MakePoint2D(2, 2), MakePoint2D(3, 3)};
    const TRect2D box = MakeRect2D(1, 1, 3, 3);
    struct Range {
        int first, last;
    };
    for (const Range r : {Range{0, 3}, Range{2, 1}, Range{-1, 1}}) {
        DrawPolyline2D(decorated, Clip, box, points, r.first, r.last, true, IdentityMatrix2D);
        DrawPolygon2D(decorated, Clip, box, points, r.first, r.last, IdentityMatrix2D);
    }
    DrawPolyline2D(decorated, Clip, box, {}, 0, 0, false, IdentityMatrix2D);
    EXPECT_TRUE(canvas.Calls().empty());
}

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

TEST_F(TransformedDrawingTest, PolygonsAreFilledOnlyOverTheirInsidePart) {
    struct Case {
        const char* name;
        std::vector<TPoint2D> points;
        Pixels filled;
    };
    const std::vector<Case> cases = {
        {"wholly inside",
         {MakePoint2D(10, 10), MakePoint2D(40, 10), MakePoint2D(25, 30)},
         {{10, 10}, {40, 10}, {25, 30}}},
        {"over a corner",
         {MakePoint2D(-50, -50), MakePoint2D(50, -50), MakePoint2D(50, 50), MakePoint2D(-50, 50)},
         {{50, 0}, {50, 50}, {0, 50}, {0, 0}}},
        {"round the whole box",
         {MakePoint2D(-10, -10), MakePoint2D(200, -10), MakePoint2D(200, 200), MakePoint2D(-10, 200)},
         {{100, 0}, {100, 100}, {0, 100}, {0, 0}}},
    };
    for (const Case& c : cases) {
        canvas.ClearCalls();
        DrawPolygon2D(decorated, Clip, BoxOf(c.points), c.points, 0, static_cast<int>(c.points.size()) - 1,
                      IdentityMatrix2D);
        EXPECT_EQ(PointsOf(CanvasOp::Polygon), std::vector<Pixels>{c.filled}) << c.name;
    }
    canvas.ClearCalls();
    const std::vector<TPoint2D> away = {MakePoint2D(200, 200), MakePoint2D(300, 200), MakePoint2D(250, 300)};
    DrawPolygon2D(decorated, Clip, MakeRect2D(200, 200, 300, 300), away, 0, 2, IdentityMatrix2D);
    EXPECT_TRUE(canvas.Calls().empty());
}

TEST_F(TransformedDrawingTest, LinesReportWhetherAnyOfThemShows) {
    EXPECT_TRUE(DrawLine2D(decorated, Clip, MakePoint2D(10, 10), MakePoint2D(20, 30), IdentityMatrix2D));
    EXPECT_TRUE(DrawLine2D(decorated, Clip, MakePoint2D(50, 50), MakePoint2D(250, 50), IdentityMatrix2D));
    EXPECT_FALSE(DrawLine2D(decorated, Clip, MakePoint2D(150, 50), MakePoint2D(250, 50), IdentityMatrix2D));
    EXPECT_EQ(PointsOf(CanvasOp::LineTo), (std::vector<Pixels>{{{10, 10}, {20, 30}}, {{50, 50}, {100, 50}}}));
}

TEST_F(TransformedDrawingTest, APointIsACrossOfTwentyOnePixelSpans) {
    EXPECT_TRUE(DrawPoint2D(decorated, Clip, MakePoint2D(40, 60), IdentityMatrix2D));
    EXPECT_EQ(PointsOf(CanvasOp::LineTo), (std::vector<Pixels>{{{30, 60}, {50, 60}}, {{40, 50}, {40, 70}}}));

    canvas.ClearCalls();
    EXPECT_TRUE(DrawPoint2D(decorated, Clip, MakePoint2D(100, 60), IdentityMatrix2D))
        << "on the edge the point itself is visible";
    EXPECT_TRUE(DrawPoint2D(decorated, Clip, MakePoint2D(99.9995, 60), IdentityMatrix2D));
    EXPECT_TRUE(canvas.Calls().empty()) << "but within 0.001 of the edge no cross is drawn";
    EXPECT_FALSE(DrawPoint2D(decorated, Clip, MakePoint2D(100.5, 60), IdentityMatrix2D));
}

TEST_F(TransformedDrawingTest, RectangleFramesAreDrawnOrClippedLikePolylines) {
    DrawRect2D(decorated, Clip, MakeRect2D(10, 20, 30, 40), IdentityMatrix2D);
    DrawBoundingBox2D(decorated, Clip, MakeRect2D(90, 20, 110, 40));
    EXPECT_EQ(PointsOf(CanvasOp::Polyline), (std::vector<Pixels>{{{10, 20}, {10, 40}, {30, 40}, {30, 20}, {10, 20}},
                                                                 {{90, 20}, {90, 40}, {100, 40}},
                                                                 {{100, 20}, {90, 20}}}));
}

TEST_F(TransformedDrawingTest, ControlPointsAreSilverSquaresOfHalfTheWidthEachWay) {
    struct Case {
        int width;
        TPixelRect rect;
    };
    const Case cases[] = {{6, {37, 47, 43, 53}}, {5, {38, 48, 42, 52}}, {1, {40, 50, 40, 50}}};
    canvas.SetBrush(BrushAttributes{clRed, TBrushStyle::bsClear});
    canvas.SetPen(PenAttributes{clBlue, TPenStyle::psDot, TPenMode::pmXor, 1});
    for (const Case& c : cases) {
        canvas.ClearCalls();
        DrawControlPoint(decorated, 40, 50, c.width);
        const auto rectangles = canvas.CallsOf(CanvasOp::Rectangle);
        ASSERT_EQ(rectangles.size(), 1u);
        EXPECT_EQ(rectangles[0].Rect, c.rect) << c.width;
        EXPECT_EQ(rectangles[0].Brush, (BrushAttributes{clSilver, TBrushStyle::bsSolid}));
        EXPECT_EQ(rectangles[0].Pen, (PenAttributes{clBlue, TPenStyle::psSolid, TPenMode::pmXor, 1}))
            << "the pen keeps its colour and mode";
    }
}

}  // namespace

// The view's overlay on recording surfaces: items drawn at once on both
// images, again after every redraw of the drawing, clipped to the window, and
// the cutter's marker in XOR on the screen image.
#include "tests/kernel/view/ViewTestSupport.h"

#include "kernel/entities/TLine2D.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

using namespace calvoro;
using namespace calvoro::test;

namespace {

constexpr TColor kMoveColour = 0x123456;  // no colour the drawing or the view uses
constexpr double kPi = std::numbers::pi;

class OverlayTest : public ViewTest {
protected:
    OverlayTest() {
        view->SetOnScreenChanged([this](const TPixelRect& area) { told.push_back(area); });
        view->SetOnEndRedraw([this](TQVViewport&) { ++redraws; });
    }

    TPixelPoint Pixel(double x, double y) const { return view->WorldToPixel(MakePoint2D(x, y)); }

    // The overlay's strokes on a canvas: lines and polylines in its colour.
    static std::vector<CanvasCall> Strokes(const RecordingCanvas& canvas) {
        std::vector<CanvasCall> strokes;
        for (const CanvasCall& call : canvas.Calls()) {
            if ((call.Op == CanvasOp::LineTo || call.Op == CanvasOp::Polyline) && call.Pen.Color == kMoveColour)
                strokes.push_back(call);
        }
        return strokes;
    }
    // How often the marker (a closed XOR run of 25 points) was drawn, and the
    // pixel of the last one.
    static int MarkerDrawings(const RecordingCanvas& canvas, TPixelPoint* centre = nullptr) {
        int count = 0;
        for (const CanvasCall& call : canvas.CallsOf(CanvasOp::Polyline)) {
            if (call.Pen.Mode != TPenMode::pmXor || call.Points.size() != 25) continue;
            ++count;
            if (centre)
                *centre = TPixelPoint{call.Points.front().X - ViewOverlay::kMarkerRadius, call.Points.front().Y};
        }
        return count;
    }
    void ClearRecordings() {
        Offscreen().ClearCalls();
        Screen().ClearCalls();
        told.clear();
        redraws = 0;
    }

    std::vector<TPixelRect> told;
    int redraws = 0;
};

}  // namespace

TEST_F(OverlayTest, AnAppendedItemIsDrawnOnBothImagesAtOnceAndTheWindowHearsAtTheFlush) {
    view->LockRedraw();
    view->AddOverlayLine(MakePoint2D(50, 30), MakePoint2D(90, 30), kMoveColour);
    EXPECT_TRUE(Strokes(Offscreen()).empty() && Strokes(Screen()).empty()) << "nothing while the lock holds";
    view->UnlockRedraw();
    EXPECT_EQ(Strokes(Offscreen()).size(), 1u) << "everything at the unlock";
    view->ClearOverlay();
    ClearRecordings();
    const int copies = screen_->copies;
    view->AddOverlayLine(MakePoint2D(10, 10), MakePoint2D(50, 30), kMoveColour);
    for (RecordingCanvas* canvas : {&Offscreen(), &Screen()}) {
        const std::vector<CanvasCall> strokes = Strokes(*canvas);
        ASSERT_EQ(strokes.size(), 1u);
        EXPECT_EQ(strokes[0].Points, (std::vector<TPixelPoint>{Pixel(10, 10), Pixel(50, 30)}));
        EXPECT_EQ(strokes[0].Pen, (PenAttributes{kMoveColour, TPenStyle::psSolid, TPenMode::pmCopy, 1}));
        EXPECT_TRUE(canvas->CallsOf(CanvasOp::FillRect).empty()) << "nothing else is drawn again";
    }
    EXPECT_EQ(screen_->copies, copies);
    EXPECT_EQ(redraws, 0);
    EXPECT_TRUE(told.empty());
    view->FlushOverlay();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_TRUE(told[0].Contains(Pixel(10, 10)) && told[0].Contains(Pixel(50, 30)));
    EXPECT_LE(told[0].Width() * told[0].Height(), 41 * 21) << "only the pixels of the line";
    view->FlushOverlay();
    EXPECT_EQ(told.size(), 1u) << "a flush with nothing new tells nothing";
}

TEST_F(OverlayTest, ItemsAreClippedToTheWindow) {
    struct Row {
        const char* name;
        std::function<void(TQVViewport&)> add;
        std::vector<TPixelPoint> line;  // the stroke expected; none when nothing is drawn
        bool drawn;
    };
    const auto line = [](double x1, double x2, double y) {
        return [=](TQVViewport& v) { v.AddOverlayLine(MakePoint2D(x1, y), MakePoint2D(x2, y), kMoveColour); };
    };
    const auto point = [](double x) {
        return [=](TQVViewport& v) { v.AddOverlayPoint(MakePoint2D(x, 50), kMoveColour); };
    };
    const auto arc = [](double x, double y, double radius, double to) {
        return [=](TQVViewport& v) { v.AddOverlayArc(MakePoint2D(x, y), radius, 0, to, kMoveColour); };
    };
    const std::vector<Row> rows = {
        {"across the left edge", line(-50, 100, 50), {TPixelPoint{0, 50}, TPixelPoint{100, 50}}, true},
        {"far beyond both edges", line(-1e12, 1e12, 50), {TPixelPoint{0, 50}, TPixelPoint{200, 50}}, true},
        {"wholly outside", line(300, 400, 10), {}, false},
        {"a point well outside", point(-20), {}, false},
        {"a point whose cross reaches in", point(-5), {}, true},
        {"an arc whose circle misses the window", arc(500, 50, 100, kPi), {}, false},
        {"an arc round the whole window", arc(100, 50, 1000, 0), {}, false},
        {"an arc through the window at a deep zoom", arc(100, -1e9, 1e9 + 50, 0), {}, true},
    };
    for (const Row& row : rows) {
        view->ClearOverlay();
        ClearRecordings();
        row.add(*view);
        const std::vector<CanvasCall> strokes = Strokes(Offscreen());
        EXPECT_EQ(!strokes.empty(), row.drawn) << row.name;
        if (!row.line.empty() && !strokes.empty()) {
            EXPECT_EQ(strokes[0].Points, row.line) << row.name;
        }
        // Nothing lies further out than a point's cross reaches.
        for (const CanvasCall& stroke : strokes) {
            for (const TPixelPoint& p : stroke.Points) {
                EXPECT_TRUE(p.X >= -20 && p.X <= 220 && p.Y >= -20 && p.Y <= 120) << row.name;
            }
            EXPECT_EQ(stroke.Clip, (TPixelRect{0, 0, 200, 100})) << row.name;
        }
    }
}

TEST_F(OverlayTest, TheOverlayIsDrawnAfterTheDrawingTheGridAndTheAxes) {
    view->SetGridDeltaX(10);
    view->SetGridDeltaY(10);
    view->SetGridOnTop(true);
    view->SetShowGrid(true);
    view->SetShowAssi(true);
    Add<TLine2D>(MakePoint2D(20, 20), MakePoint2D(180, 80));
    view->AddOverlayLine(MakePoint2D(10, 10), MakePoint2D(50, 30), kMoveColour);
    ClearRecordings();
    view->Repaint();
    const std::vector<CanvasCall>& calls = Offscreen().Calls();
    const auto isOverlay = [](const CanvasCall& c) {
        return (c.Op == CanvasOp::LineTo || c.Op == CanvasOp::Polyline) && c.Pen.Color == kMoveColour;
    };
    const auto first = std::find_if(calls.begin(), calls.end(), isOverlay);
    ASSERT_NE(first, calls.end());
    const auto drawnAfter = std::find_if(first, calls.end(), [&](const CanvasCall& c) {
        return !isOverlay(c) && c.Op != CanvasOp::StateChange && c.Op != CanvasOp::MoveTo;
    });
    EXPECT_EQ(drawnAfter, calls.end()) << "the drawing, grid lines and scale bar all come first";
    EXPECT_FALSE(Offscreen().CallsOf(CanvasOp::TextOut).empty());
}

TEST_F(OverlayTest, ARedrawKeepsTheItemsAndFollowsANewMapping) {
    view->AddOverlayLine(MakePoint2D(10, 10), MakePoint2D(50, 30), kMoveColour);
    view->AddOverlayPoint(MakePoint2D(60, 40), kMoveColour);
    for (const TRect2D& window : {MakeRect2D(0, 0, 200, 100), MakeRect2D(0, 0, 100, 50)}) {
        ClearRecordings();
        view->ZoomWindow(window);  // redraws, also when the window stays
        const std::vector<CanvasCall> strokes = Strokes(Offscreen());
        ASSERT_EQ(strokes.size(), 3u);  // the line and the two strokes of the cross
        EXPECT_EQ(strokes[0].Points, (std::vector<TPixelPoint>{Pixel(10, 10), Pixel(50, 30)}));
        const TPixelPoint cross = Pixel(60, 40);
        EXPECT_EQ(strokes[1].Points, (std::vector<TPixelPoint>{{cross.X - 10, cross.Y}, {cross.X + 10, cross.Y}}));
    }
    ClearRecordings();
    view->Invalidate();
    EXPECT_TRUE(Strokes(Offscreen()).empty()) << "showing the image again draws nothing anew";
}

TEST_F(OverlayTest, ClearingTakesTheItemsAwayWithOneRedraw) {
    for (int i = 0; i < 3; ++i) view->AddOverlayLine(MakePoint2D(i, 0), MakePoint2D(i, 90), kMoveColour);
    view->SetOverlayMarker(MakePoint2D(5, 5));
    ClearRecordings();
    view->ClearOverlay();
    EXPECT_EQ(redraws, 1);
    EXPECT_TRUE(view->Overlay().Empty());
    EXPECT_TRUE(Strokes(Offscreen()).empty());
    EXPECT_FALSE(view->OverlayMarker().has_value());
    EXPECT_EQ(MarkerDrawings(Screen()) % 2, 1) << "the marker was taken away once";
    view->ClearOverlay();
    EXPECT_EQ(redraws, 1) << "nothing shown, nothing redrawn";
}

TEST_F(OverlayTest, AnArcRunsCounterClockwiseWithinAQuarterPixelOfItsCircle) {
    const TPoint2D centre = MakePoint2D(100, 50);
    const double radius = 40;
    for (const auto& [from, to, sweep] : {std::tuple{0.0, kPi / 2, kPi / 2},
                                          {3 * kPi / 2, kPi / 2, kPi},
                                          {1.0, 1.0, 2 * kPi},
                                          {-kPi, kPi / 4, 1.25 * kPi}}) {
        view->ClearOverlay();
        ClearRecordings();
        view->AddOverlayArc(centre, radius, from, to, kMoveColour);
        std::vector<TPixelPoint> points;
        for (const CanvasCall& stroke : Strokes(Offscreen())) {
            for (const TPixelPoint& p : stroke.Points)
                if (points.empty() || !(points.back() == p)) points.push_back(p);
        }
        ASSERT_GT(points.size(), 8u) << from;
        double turned = 0;
        double last = 0;
        for (std::size_t i = 0; i < points.size(); ++i) {
            const TPoint2D w = CartesianPoint(view->ScreenToWorld(MakePoint2D(points[i].X, points[i].Y)));
            EXPECT_NEAR(std::hypot(w.X - centre.X, w.Y - centre.Y), radius, 0.75) << from;
            const double angle = std::atan2(w.Y - centre.Y, w.X - centre.X);
            if (i == 0) {
                EXPECT_NEAR(std::remainder(angle - from, 2 * kPi), 0.0, 0.02) << from;
            } else {
                const double step = std::remainder(angle - last, 2 * kPi);
                EXPECT_GE(step, 0.0) << "counter-clockwise, from " << from;
                turned += step;
            }
            last = angle;
        }
        EXPECT_NEAR(turned, sweep, 0.03) << from;
    }
}

TEST_F(OverlayTest, TheMarkerLiesOnTheScreenImageOnlyAndOutlivesCopiesAppendsAndZooms) {
    ClearRecordings();
    view->SetOverlayMarker(MakePoint2D(100, 50));
    TPixelPoint centre;
    EXPECT_EQ(MarkerDrawings(Screen(), &centre), 1);
    EXPECT_EQ(centre, Pixel(100, 50));
    EXPECT_EQ(MarkerDrawings(Offscreen()), 0);
    EXPECT_TRUE(view->OverlayMarkerShown());

    // Each step leaves the marker drawn an odd number of times while shown.
    view->Paint();
    EXPECT_EQ(MarkerDrawings(Screen()), 3) << "taken away under the copy and drawn again";
    view->AddOverlayLine(MakePoint2D(90, 50), MakePoint2D(110, 50), kMoveColour);
    EXPECT_EQ(MarkerDrawings(Screen()), 4) << "hidden under a new item";
    EXPECT_FALSE(view->OverlayMarkerShown());
    view->FlushOverlay();
    EXPECT_EQ(MarkerDrawings(Screen()), 5);
    TLine2D line(-1, MakePoint2D(95, 45), MakePoint2D(105, 55));
    view->DrawSingleObject2D(line, false);
    EXPECT_EQ(MarkerDrawings(Screen()), 7) << "taken away under a drawn object and drawn again";
    view->ZoomWindow(MakeRect2D(40, 20, 140, 70));
    EXPECT_EQ(MarkerDrawings(Screen(), &centre) % 2, 1);
    EXPECT_EQ(centre, Pixel(100, 50)) << "the marker follows the new mapping";
    view->Resize(300, 150);
    EXPECT_EQ(MarkerDrawings(Screen(), &centre), 1) << "a new screen image gets the marker once";
    EXPECT_EQ(centre, Pixel(100, 50));

    const int before = MarkerDrawings(Screen());
    view->SetOverlayMarker(MakePoint2D(1e9, 50));
    EXPECT_EQ(MarkerDrawings(Screen()), before + 1) << "taken away, and not drawn far outside";
    EXPECT_FALSE(view->OverlayMarkerShown());
    view->SetOverlayMarker(std::nullopt);
    EXPECT_EQ(MarkerDrawings(Screen()), before + 1);
}

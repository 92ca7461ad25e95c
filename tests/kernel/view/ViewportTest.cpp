// The viewport core on recording surfaces: mapping, zoom, redraw rules, grid
// levels, axes, picking and zoom to the drawing.
#include "tests/kernel/view/ViewTestSupport.h"

#include "kernel/entities/TArco2D.h"
#include "kernel/entities/TCerchio2D.h"
#include "kernel/entities/TLine2D.h"
#include "kernel/entities/TPunto2D.h"
#include "kernel/geometry/Picking.h"

#include <cmath>
#include <set>

using namespace calvoro;
using namespace calvoro::test;

namespace {

// The grid lines drawn: dotted lines arrive as short strokes, so a line is a
// row (or column) that horizontal (or vertical) strokes lie on.
int GridLines(const RecordingCanvas& canvas) {
    std::set<int> rows;
    std::set<int> columns;
    for (const CanvasCall& stroke : canvas.CallsOf(CanvasOp::Polyline)) {
        const TPixelPoint a = stroke.Points.front();
        const TPixelPoint b = stroke.Points.back();
        if (a.Y == b.Y && a.X != b.X) rows.insert(a.Y);
        if (a.X == b.X && a.Y != b.Y) columns.insert(a.X);
    }
    return static_cast<int>(rows.size() + columns.size());
}

}  // namespace

TEST_F(ViewTest, ScreenAndWorldConversionsInvertEachOther) {
    for (const auto& [visual, aspect] : {std::pair{MakeRect2D(0, 0, 200, 100), 0.0},
                                         {MakeRect2D(-1e6, -5e5, 1e6, 5e5), 0.0},
                                         {MakeRect2D(3.25, -7.5, 3.2501, -7.4999), 1.0},
                                         {MakeRect2D(-10, -10, 290, 290), 1.0}}) {
        view->SetAspectRatio(aspect);
        view->ZoomWindow(visual);
        for (const TPoint2D pixel : {MakePoint2D(0, 0), MakePoint2D(199, 99), MakePoint2D(57, 13)}) {
            const TPoint2D back = view->WorldToScreen(view->ScreenToWorld(pixel));
            EXPECT_NEAR(back.X, pixel.X, 1e-6);
            EXPECT_NEAR(back.Y, pixel.Y, 1e-6);
        }
    }
}

TEST_F(ViewTest, ZoomWindowReordersAndRefusesDegenerateWindows) {
    // Corners in any order; no width, no height and not a number refused.
    for (const auto& [asked, shown] : {std::pair{MakeRect2D(50, 40, 10, 0), MakeRect2D(10, 0, 50, 40)},
                                       {MakeRect2D(10, 5, 10, 50), MakeRect2D(0, 0, 200, 100)},
                                       {MakeRect2D(10, 5, 60, 5), MakeRect2D(0, 0, 200, 100)},
                                       {MakeRect2D(0, 0, NAN, 1), MakeRect2D(0, 0, 200, 100)}}) {
        view->ZoomWindow(MakeRect2D(0, 0, 200, 100));
        view->ZoomWindow(asked);
        EXPECT_EQ(view->VisualRect(), shown);
    }
}

TEST_F(ViewTest, ZoomInHalvesZoomOutWidensByHalfPanKeepsSizeAndRepaintsOnce) {
    int redraws = 0;
    view->SetOnBeginRedraw([&](TQVViewport&) { ++redraws; });
    view->ZoomIn();
    EXPECT_EQ(view->VisualRect(), MakeRect2D(50, 25, 150, 75));
    view->ZoomOut();
    EXPECT_EQ(view->VisualRect(), MakeRect2D(25, 12.5, 175, 87.5));
    redraws = 0;
    view->PanView(10, -2.5);
    EXPECT_EQ(view->VisualRect(), MakeRect2D(35, 10, 185, 85));
    EXPECT_EQ(redraws, 1);
}

TEST_F(ViewTest, AnEmptyWindowKeepsTheViewUntilItHasPixelsAgain) {
    view->SetAspectRatio(1.0);
    view->ZoomWindow(MakeRect2D(0, 0, 200, 100));
    const TRect2D before = view->VisualRect();
    const TMatrix2D matrix = view->GetViewMatrix();
    for (const auto& [w, h] : {std::pair{0, 0}, {200, 0}, {0, 100}}) {
        view->Resize(w, h);
        EXPECT_EQ(view->VisualRect(), before);
        EXPECT_EQ(view->GetViewMatrix(), matrix);
    }
    view->Resize(200, 100);
    const TPoint2D p = view->ScreenToWorld(MakePoint2D(100, 50));
    EXPECT_TRUE(std::isfinite(p.X) && std::isfinite(p.Y));
    EXPECT_GT(view->VisualRect().Top - view->VisualRect().Bottom, 1.0);
}

TEST_F(ViewTest, SettersRedrawOnlyOnAChange) {
    int redraws = 0;
    view->SetOnBeginRedraw([&](TQVViewport&) { ++redraws; });
    const std::tuple<const char*, std::function<void()>, int> cases[] = {
        {"same grid", [&] { view->SetGridDeltaX(0.0); }, 0},
        {"new grid", [&] { view->SetGridDeltaX(5.0); }, 1},
        {"same background", [&] { view->SetBackGroundColor(0xC0C0C0); }, 0},
        {"new background", [&] { view->SetBackGroundColor(clGray); }, 1},
        {"rubber pen", [&] { view->SetRubberPenColor(clLime); }, 0},
        {"show grid", [&] { view->SetShowGrid(true); }, 1},
        {"show grid again", [&] { view->SetShowGrid(true); }, 0},
        {"clear handler", [&] { view->SetOnClearCanvas(nullptr); }, 1},
    };
    for (const auto& [name, set, expected] : cases) {
        redraws = 0;
        set();
        EXPECT_EQ(redraws, expected) << name;
    }
    EXPECT_EQ(view->RubberPen().Color, clLime ^ clGray);
    EXPECT_EQ(view->RubberPen().Mode, TPenMode::pmXor);
}

TEST_F(ViewTest, TheRedrawLockDefersOneRedrawToTheUnlock) {
    int redraws = 0;
    view->SetOnBeginRedraw([&](TQVViewport&) { ++redraws; });
    view->LockRedraw();
    view->ZoomIn();
    view->PanView(1, 1);
    view->Repaint();
    EXPECT_EQ(redraws, 0);
    view->UnlockRedraw();
    EXPECT_EQ(redraws, 1);
}

TEST_F(ViewTest, CopingFrequencyCopiesToTheScreenDuringTheObjectPass) {
    for (int i = 0; i < 7; ++i) Add<TPunto2D>(MakePoint2D(i, i));
    int paints = 0;
    view->SetOnPaint([&](TQVViewport&) { ++paints; });
    for (const auto& [frequency, copies] : {std::pair{0, 1}, {3, 3}, {1, 8}}) {
        view->SetCopingFrequency(frequency);
        screen_->copies = 0;
        paints = 0;
        view->Repaint();
        EXPECT_EQ(screen_->copies, copies) << frequency;
        EXPECT_EQ(paints, 1) << "only the final copy is a paint";
    }
}

TEST_F(ViewTest, AGridLevelShowsOnlyWhenItsLinesLieMoreThanTenPixelsApart) {
    // The view is 200 x 100 pixels, one unit a pixel. Lines 10 px apart are
    // hidden; 20 apart give rows y = 0 .. 100 and columns x = 0 .. 200; a
    // sub-grid of 50 / 2 lies 25 apart; of 40 / 4, 10 px apart, it is hidden.
    for (const auto& [delta, sub, lines] :
         {std::tuple{10.0, 0.0, 0}, {20.0, 0.0, 6 + 11}, {50.0, 2.0, 5 + 9}, {40.0, 4.0, 3 + 6}}) {
        view->SetGridDeltaX(delta);
        view->SetGridDeltaY(delta);
        view->SetGridSubX(sub);
        view->SetGridSubY(sub);
        RecordingCanvas canvas(TPixelRect{0, 0, 200, 100});
        view->DrawGrid(view->VisualRect(), canvas);
        EXPECT_EQ(GridLines(canvas), lines) << delta << " / " << sub;
    }
}

TEST_F(ViewTest, AGridOnTopNeedsADrawing) {
    view->SetGridDeltaX(20.0);
    view->SetGridDeltaY(20.0);
    view->SetGridOnTop(true);
    view->SetShowGrid(true);
    const int withDrawing = GridLines(Offscreen());
    view->SetCADCmp2D(nullptr);
    Offscreen().ClearCalls();
    view->Repaint();
    EXPECT_GT(withDrawing, 0);
    EXPECT_EQ(GridLines(Offscreen()), 0);
}

TEST_F(ViewTest, AxesOfAFarOriginAreLeftOutAndTheScaleBarNamesItsUnit) {
    // The unit is the view's own unless the program gives it in the user's language.
    for (const auto& [visual, mm, label, number, unit, axesShown] :
         {std::tuple{MakeRect2D(-100, -50, 100, 50), true, "", "20.000", "mm", true},
          {MakeRect2D(1e15, 1e15, 1e15 + 200, 1e15 + 100), false, "", "20.0000", "Inch", false},
          {MakeRect2D(-100, -50, 100, 50), false, "pollici", "20.0000", "pollici", true}}) {
        view->ZoomWindow(visual);
        view->SetIsMM(mm);
        view->SetUnitLabel(label);
        RecordingCanvas canvas(TPixelRect{0, 0, 200, 100});
        view->DrawAxes(view->VisualRect(), canvas);
        const auto texts = canvas.CallsOf(CanvasOp::TextOut);
        ASSERT_EQ(texts.size(), 2u);
        EXPECT_EQ(texts[0].Text, unit);
        EXPECT_EQ(texts[1].Text, number);
        int wideLines = 0;
        for (const CanvasCall& line : canvas.CallsOf(CanvasOp::LineTo)) {
            for (const TPixelPoint& p : line.Points) {
                EXPECT_LE(std::abs(p.X), 1000);
                EXPECT_LE(std::abs(p.Y), 1000);
            }
            if (line.Pen.Width == 2) ++wideLines;
        }
        EXPECT_EQ(wideLines, axesShown ? 2 : 0);
    }
}

TEST_F(ViewTest, PickingPrefersTheLaterObjectOnATieUnlessTheFirstFoundIsAsked) {
    TLine2D* first = Add<TLine2D>(MakePoint2D(10, 10), MakePoint2D(90, 10));
    TLine2D* second = Add<TLine2D>(MakePoint2D(10, 10), MakePoint2D(90, 10));
    int code = 0;
    EXPECT_EQ(view->HitObjectAt(MakePoint2D(50, 11), 3, code, false), second);
    EXPECT_EQ(code, kHitOutline);
    EXPECT_EQ(view->HitObjectAt(MakePoint2D(50, 11), 3, code, true), first);
    EXPECT_EQ(view->HitObjectAt(MakePoint2D(50, 20), 3, code, false), nullptr);
    EXPECT_EQ(code, kHitMiss);
}

TEST_F(ViewTest, PickingSkipsHiddenInactiveFilteredAndOwnPenObjects) {
    const std::pair<const char*, std::function<void(TQVCmp2D&, TLine2D&)>> cases[] = {
        {"hidden layer", [](TQVCmp2D& d, TLine2D& l) { d.Layers().LayerByIndex(l.Layer()).SetVisible(false); }},
        {"inactive layer", [](TQVCmp2D& d, TLine2D& l) { d.Layers().LayerByIndex(l.Layer()).SetActive(false); }},
        {"filter", [&](TQVCmp2D&, TLine2D&) { view->SetPickFilter(TPunto2D::Class); }},
        {"own pen", [](TQVCmp2D&, TLine2D& l) { l.SetUseLayerColor(false); }},
        {"out of view", [&](TQVCmp2D&, TLine2D&) { view->ZoomWindow(MakeRect2D(500, 500, 700, 600)); }},
    };
    for (const auto& [name, change] : cases) {
        TQVCmp2D other;
        view->SetCADCmp2D(&other);
        view->SetPickFilter(TObject2D::Class);
        view->ZoomWindow(MakeRect2D(0, 0, 200, 100));
        auto* line = static_cast<TLine2D*>(
            other.AddObject2D(-1, std::make_unique<TLine2D>(-1, MakePoint2D(10, 10), MakePoint2D(90, 10))));
        int code = 0;
        ASSERT_EQ(view->HitObjectAt(MakePoint2D(50, 10), 3, code, false), line) << name;
        change(other, *line);
        EXPECT_EQ(view->HitObjectAt(MakePoint2D(50, 10), 3, code, false), nullptr) << name;
        view->SetCADCmp2D(&drawing);
    }
}

TEST_F(ViewTest, NothingIsPickedWhileTheDrawingIsWalked) {
    Add<TLine2D>(MakePoint2D(10, 10), MakePoint2D(90, 10));
    auto walk = drawing.ObjectListIterator();
    int code = 1234;
    EXPECT_EQ(view->HitObjectAt(MakePoint2D(50, 10), 3, code, false), nullptr);
    EXPECT_EQ(code, 1234);
}

TEST_F(ViewTest, ZoomToDrawingAddsAMarginAndCopesWithDegenerateDrawings) {
    const std::tuple<const char*, std::function<void()>, TRect2D> cases[] = {
        {"empty", [] {}, MakeRect2D(0, 0, 200, 100)},
        {"line", [&] { Add<TLine2D>(MakePoint2D(0, 0), MakePoint2D(100, 40)); }, MakeRect2D(-5, -5, 105, 45)},
        {"all hidden", [&] { Add<TLine2D>(MakePoint2D(0, 0), MakePoint2D(100, 40))->SetVisible(false); },
         MakeRect2D(0, 0, 200, 100)},
        {"one point", [&] { Add<TPunto2D>(MakePoint2D(1000, 2000)); }, MakeRect2D(900, 1950, 1100, 2050)},
    };
    for (const auto& [name, build, shown] : cases) {
        drawing.ClearObjects();
        view->ZoomWindow(MakeRect2D(0, 0, 200, 100));
        build();
        view->ZoomToDrawing();
        const TRect2D r = view->VisualRect();
        for (double off : {r.Left - shown.Left, r.Right - shown.Right, r.Bottom - shown.Bottom, r.Top - shown.Top})
            EXPECT_NEAR(off, 0.0, 1e-9) << name;
    }
}

TEST_F(ViewTest, AnObjectWithoutItsLayersPenIsDrawnInBlue) {
    TLine2D* line = Add<TLine2D>(MakePoint2D(10, 10), MakePoint2D(90, 10));
    drawing.Layers().LayerByIndex(0).SetPen(PenAttributes{clLime, TPenStyle::psSolid, TPenMode::pmCopy, 1});
    for (const auto& [useLayer, colour] : {std::pair{true, clLime}, {false, clBlue}}) {
        line->SetUseLayerColor(useLayer);
        Offscreen().ClearCalls();
        view->Repaint();
        const auto lines = Offscreen().CallsOf(CanvasOp::LineTo);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back().Pen.Color, colour);
    }
}

TEST_F(ViewTest, TwoDMouseEventsCarryThePlainWorldPointUnlessTheProgramFiredThem) {
    std::vector<TPoint2D> seen;
    view->SetOnMouseDown2D([&](TQVViewport2D&, TMouseButton, TShiftState, int, int, double wx, double wy) {
        seen.push_back(MakePoint2D(wx, wy));
    });
    struct Hook : ViewportInputHook {
        bool answer = true;
        bool HookMouseMove(TShiftState, int&, int&) override { return answer; }
        bool HookMouseDown(TMouseButton, TShiftState, int&, int&) override { return answer; }
        bool HookMouseUp(TMouseButton, TShiftState, int&, int&) override { return answer; }
        bool HookDoubleClick(TMouseButton, TShiftState, int&, int&) override { return answer; }
        bool HookKeyDown(std::uint16_t&, TShiftState) override { return answer; }
        bool HookKeyUp(std::uint16_t&, TShiftState) override { return answer; }
        void ViewportDestroyed() override {}
    } hook;
    view->DeliverMouseDown(TMouseButton::mbLeft, 0, 20, 30);
    view->SetInputHook(&hook);
    view->DeliverMouseDown(TMouseButton::mbLeft, 0, 20, 30);
    hook.answer = false;
    view->DeliverMouseDown(TMouseButton::mbLeft, 0, 20, 30);
    view->SetInputHook(nullptr);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_NEAR(seen[0].X, view->ScreenToWorld(MakePoint2D(20, 30)).X, 1e-9);
    EXPECT_NEAR(seen[0].Y, view->ScreenToWorld(MakePoint2D(20, 30)).Y, 1e-9);
    EXPECT_FALSE(view->ProgramDelivered());
}

namespace {

// Every object tested in full, for comparison with the viewport's pick, which
// looks closely only at objects near the point.
TObject2D* PickByFullWalk(TQVCmp2D& drawing, TQVViewport2D& view, const TPoint2D& p, int aperture, int& code) {
    const double apertureDistance = view.GetPixelSize().X * aperture;
    double best = apertureDistance;
    code = kHitMiss;
    TObject2D* result = nullptr;
    auto walk = drawing.ObjectListIterator();
    for (TGraphicObject* o = walk->First(); o != nullptr; o = walk->Next()) {
        auto* object = static_cast<TObject2D*>(o);
        if (!drawing.Layers().LayerByIndex(object->Layer()).Visible() || !object->IsVisible(view.VisualRect()))
            continue;
        double distance = kNoDistance;
        const int c = object->HitTest(p, distance, apertureDistance);
        if (c >= code && distance <= best) {
            result = object;
            code = c;
            best = distance;
        }
    }
    return result;
}

}  // namespace

TEST_F(ViewTest, PickingNearbyObjectsOnlyFindsWhatAFullWalkFinds) {
    std::uint32_t seed = 7;
    auto next = [&seed](double range) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<double>(seed >> 8) / static_cast<double>(1u << 24) * range;
    };
    for (int i = 0; i < 400; ++i) {
        const TPoint2D a = MakePoint2D(next(200), next(100));
        const TPoint2D b = MakePoint2D(a.X + next(20) - 10, a.Y + next(20) - 10);
        // Lines, circles, arcs (whose centres lie off them) and points.
        TObject2D* object = i % 4 == 0   ? static_cast<TObject2D*>(Add<TLine2D>(a, b))
                            : i % 4 == 1 ? Add<TCerchio2D>(a, b)
                            : i % 4 == 2 ? Add<TArco2D>(a, b, next(3.0), next(6.0))
                                         : static_cast<TObject2D*>(Add<TPunto2D>(a));
        if (i % 7 == 0) object->SetObjectMatrix(TranslationMatrix2D(next(10), -next(10)));
    }
    int mismatches = 0;
    for (int i = 0; i < 2000; ++i) {
        const TPoint2D p = MakePoint2D(next(200), next(100));
        const int aperture = 1 + static_cast<int>(next(6));
        int code = 0;
        int expectedCode = 0;
        TObject2D* picked = view->HitObjectAt(p, aperture, code, false);
        TObject2D* expected = PickByFullWalk(drawing, *view, p, aperture, expectedCode);
        if (picked != expected || code != expectedCode) ++mismatches;
    }
    EXPECT_EQ(mismatches, 0);
}

TEST_F(ViewTest, PickingFollowsChangesOfTheDrawing) {
    TLine2D* line = Add<TLine2D>(MakePoint2D(10, 10), MakePoint2D(90, 10));
    int code = 0;
    ASSERT_EQ(view->HitObjectAt(MakePoint2D(50, 10), 2, code, false), line);
    const std::tuple<const char*, std::function<void()>, TPoint2D, bool> cases[] = {
        {"moved point", [&] { line->Points().SetPoint(1, MakePoint2D(90, 50)); }, MakePoint2D(50, 30), true},
        {"old place", [] {}, MakePoint2D(60, 10), false},
        {"moved object", [&] { line->SetObjectMatrix(TranslationMatrix2D(0, 40)); }, MakePoint2D(50, 70), true},
        {"added", [&] { Add<TPunto2D>(MakePoint2D(150, 20)); }, MakePoint2D(150, 20), true},
        {"deleted", [&] { drawing.DeleteObject(line->ID()); }, MakePoint2D(50, 70), false},
        {"cleared", [&] { drawing.ClearObjects(); }, MakePoint2D(150, 20), false},
    };
    for (const auto& [name, change, at, hit] : cases) {
        change();
        EXPECT_EQ(view->HitObjectAt(at, 2, code, false) != nullptr && code >= -99, hit) << name;
    }
}

TEST_F(ViewTest, CopyingTheDrawingToAnotherCanvasGivesTheViewBack) {
    Add<TLine2D>(MakePoint2D(10, 10), MakePoint2D(1000, 500));
    view->SetAspectRatio(1.0);
    view->ZoomWindow(MakeRect2D(0, 0, 200, 100));
    const TRect2D before = view->VisualRect();
    for (const int zoomMode : {0, 1, 2}) {
        RecordingCanvas canvas(TPixelRect{0, 0, 200, 100});
        view->CopyDrawingToCanvas(canvas, 2, 1.0, 1.0, zoomMode, 0.254, 0.254);
        EXPECT_EQ(canvas.CallsOf(CanvasOp::LineTo).size(), 1u) << zoomMode;
        EXPECT_EQ(view->VisualRect(), before) << zoomMode;
        EXPECT_EQ(view->AspectRatio(), 1.0);
    }
    // Real scale: 200 pixels of 0.254 mm.
    view->SetAspectRatio(0.0);
    view->ZoomToRealScale(0.254, 0.254, 1.0, 1.0);
    EXPECT_NEAR(view->VisualRect().Right - view->VisualRect().Left, 50.8, 1e-9);
}

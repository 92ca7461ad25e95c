// The 2D view's overlay, as the NC simulation fills it: moves appended in
// batches with the cutter's mark moved after each batch, and a redraw of the
// view when it already holds many moves (a zoom or pan during a long run).
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <cmath>
#include <cstdlib>
#include <memory>

#include "kernel/drawing/QVCmp2D.h"
#include "kernel/entities/EntityModule.h"
#include "kernel/gui/QImageViewSurface.h"
#include "kernel/view/TQVViewport2D.h"

namespace {

using namespace calvoro;

constexpr TColor kFeed = 0xFFFF00;
// The batch a tick of the simulation at its fastest speed hands the view.
constexpr int kBatch = 512;

void EnsureGuiApplication() {
    static std::unique_ptr<QGuiApplication> app;
    if (QGuiApplication::instance() != nullptr) return;
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "calvoro_bench";
    static char* argv[] = {name, nullptr};
    app = std::make_unique<QGuiApplication>(argc, argv);
}

// A 1200 x 800 view of a 300 x 200 mm work, grid and axes on, as the main
// window shows it.
struct OverlayView {
    TQVCmp2D drawing;
    TQVViewport2D view{std::make_unique<QImageViewSurface>(), std::make_unique<QImageViewSurface>()};
    OverlayView() {
        EnsureGuiApplication();
        InitializeEntityModule();
        view.SetCADCmp2D(&drawing);
        view.SetAspectRatio(1.0);
        view.SetGridDeltaX(10.0);
        view.SetGridDeltaY(10.0);
        view.SetGridOnTop(true);
        view.SetShowGrid(true);
        view.SetShowAssi(true);
        view.Resize(1200, 800);
        view.ZoomWindow(MakeRect2D(0.0, 0.0, 300.0, 200.0));
    }
};

// A raster pass: moves of `step` mm along X, a pass every 0.5 mm in Y.
TPoint2D RasterPoint(long index, double step) {
    const long perPass = static_cast<long>(280.0 / step);
    const long pass = (index / perPass) % 360;
    const long along = index % perPass;
    const double x = 10.0 + (pass % 2 == 0 ? along : perPass - along) * step;
    return MakePoint2D(x, 10.0 + pass * 0.5);
}

// Moves appended per second; the argument is the length of a move in
// hundredths of a millimetre (4 pixels a millimetre).
void BM_OverlayAppendMoves(benchmark::State& state) {
    OverlayView v;
    const double step = static_cast<double>(state.range(0)) / 100.0;
    long index = 0;
    for (auto _ : state) {
        if (v.view.Overlay().Count() >= 200000) {
            state.PauseTiming();
            v.view.ClearOverlay();
            state.ResumeTiming();
        }
        TPoint2D from = RasterPoint(index, step);
        for (int i = 0; i < kBatch; ++i) {
            const TPoint2D to = RasterPoint(++index, step);
            v.view.AddOverlayLine(from, to, kFeed);
            from = to;
        }
        v.view.SetOverlayMarker(from);
        v.view.FlushOverlay();
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
}
BENCHMARK(BM_OverlayAppendMoves)->Arg(25)->Arg(500)->Unit(benchmark::kMicrosecond);

// A whole redraw of the view with 100,000 moves over it.
void BM_OverlayRedrawWith100000Moves(benchmark::State& state) {
    OverlayView v;
    for (long i = 0; i < 100000; ++i) v.view.AddOverlayLine(RasterPoint(i, 0.25), RasterPoint(i + 1, 0.25), kFeed);
    v.view.FlushOverlay();
    for (auto _ : state) v.view.Repaint();
}
BENCHMARK(BM_OverlayRedrawWith100000Moves)->Unit(benchmark::kMillisecond);

}  // namespace

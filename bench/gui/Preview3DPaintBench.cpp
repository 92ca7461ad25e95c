// The 3D view with a 4000 x 3000 relief at fine shading drawn through OpenGL:
// how long the relief takes from being given to its first frame, the longest
// the window's event loop is held meanwhile, and how long one repaint of it
// takes afterwards (seen whole, turned, zoomed in).
// Run it from a Release tree under a display: xvfb-run -a calvoro_preview_paint_bench
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <memory>

#include "engine/gui/Preview3DController.h"
#include "engine/gui/Preview3DWidget.h"

namespace {

std::shared_ptr<const calvoro::HeightMap> Relief(int width, int height) {
    auto map = std::make_shared<calvoro::HeightMap>(width, height);
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y) map->at(x, y) = -0.001f * static_cast<float>((x * 7 + y * 13) % 5000);
    return map;
}

// One millimetre a pixel, black 5 mm deep.
calvoro::ReliefValues Values() {
    return calvoro::ReliefValues{};
}

// A window of 1000 x 750 pixels showing the relief fitted and seen from the
// iso view.
// One window serves every measurement: windows made one after another under
// Xvfb are not always exposed in time.
struct Window {
    QWidget page;
    calvoro::Preview3DController controller{&page};
    bool exposed = false;
    Window() {
        page.resize(1000, 750);
        page.show();
        exposed = QTest::qWaitForWindowExposed(&page);
    }
    // Draws the view into its frame buffer and reads the picture back (a
    // millisecond of the figure at this size): a widget's own repaint is
    // skipped when Xvfb has not yet exposed the window.
    void repaint() { benchmark::DoNotOptimize(controller.widget()->grabFramebuffer()); }
};

Window* g_window = nullptr;

const std::shared_ptr<const calvoro::HeightMap>& LargeRelief() {
    static const auto map = Relief(4000, 3000);
    return map;
}

// Lets the event loop run while the relief is built on its thread; returns
// the longest the loop was held in one go, in milliseconds.
double BuildRelief(Window& window) {
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0, longest = 0;
    while (window.controller.reliefBuilding()) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        longest = std::max(longest, clock.elapsed() - last);
        last = clock.elapsed();
    }
    return static_cast<double>(longest);
}

// From the relief handed over to its first frame on the screen.
void BM_FirstFrame(benchmark::State& state) {
    Window& window = *g_window;
    if (!window.exposed) state.SkipWithError("the window was not shown");
    double held = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        window.controller.setRelief(LargeRelief(), Values());
        window.controller.zoomToExtents();
        window.controller.standardView(calvoro::StandardView::Iso);
        held = std::max(held, BuildRelief(window));
        const qint64 before = clock.elapsed();
        window.repaint();
        held = std::max(held, static_cast<double>(clock.elapsed() - before));
        state.PauseTiming();
        window.controller.clearRelief();
        window.repaint();
        state.ResumeTiming();
    }
    state.counters["held_ms"] = held;
}
BENCHMARK(BM_FirstFrame)->Unit(benchmark::kMillisecond)->Iterations(3);

enum class Sight { Whole, Turning, ZoomedIn };

void BM_Repaint(benchmark::State& state) {
    const auto sight = static_cast<Sight>(state.range(0));
    Window& window = *g_window;
    if (!window.exposed) state.SkipWithError("the window was not shown");
    window.controller.setRelief(LargeRelief(), Values());
    window.controller.zoomToExtents();
    window.controller.standardView(calvoro::StandardView::Iso);
    if (sight == Sight::ZoomedIn) window.controller.zoomBy(8.0);
    BuildRelief(window);
    state.counters["gl_error"] = window.controller.widget()->lastGlError();
    window.repaint();
    int step = 0;
    for (auto _ : state) {
        if (sight == Sight::Turning) {
            window.controller.mousePress(500, 300);
            window.controller.mouseMove(500 + (++step % 2 ? 5 : -5), 300, true, false, false);
        }
        window.repaint();
    }
    state.counters["cells"] = static_cast<double>(window.controller.widget()->reliefCellsDrawn());
}
BENCHMARK(BM_Repaint)
    ->ArgName("sight")
    ->Arg(static_cast<int>(Sight::Whole))
    ->Arg(static_cast<int>(Sight::Turning))
    ->Arg(static_cast<int>(Sight::ZoomedIn))
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    Window window;
    g_window = &window;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

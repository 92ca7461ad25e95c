// The NC page with long programs: a five-million-line program into the page and
// the 3D path, and Play at the fastest speed, read line by line with every move
// appended to the path.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QSlider>
#include <cmath>

#include "engine/gui/NcPage.h"
#include "engine/gui/NcPageController.h"
#include "engine/gui/NcSimulationViews.h"
#include "engine/nc/NcLines.h"
#include "engine/nc/NcProgram.h"
#include "engine/nc/NcSimulation.h"

namespace {

using namespace calvoro;

QApplication& App() {
    static int argc = 1;
    static char name[] = "calvoro_bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

// Moves over a wavy surface in rows of 2000 points, as a raster job writes them.
MoveList Moves(std::size_t count) {
    MoveList list;
    list.feedPlaneZ = 2;
    list.passCount = 1;
    list.moves.reserve(count);
    for (int row = 0; list.moves.size() < count; ++row) {
        const double y = row * 0.3;
        list.moves.push_back({MoveKind::Rapid, 0, y, 2});
        for (int i = 0; i < 2000 && list.moves.size() + 1 < count; ++i) {
            const double x = i * 0.05;
            list.moves.push_back({i == 0 ? MoveKind::Plunge : MoveKind::Feed, x, y, -1.5 + std::sin(x) * std::cos(y)});
        }
        list.moves.push_back({MoveKind::Rapid, 99.95, y, 2});
    }
    return list;
}

const MoveList& LongMoves() {
    static const MoveList moves = Moves(5'000'000);
    return moves;
}

const std::string& LongProgram() {
    static const std::string text = [] {
        PostSettings post;
        post.seqInc = 1;
        NcJobValues job;
        job.feedText = "1500";
        job.plungeText = "400";
        job.ncFileName = "bench.nc";
        return GenerateNcProgram(LongMoves(), post, job).text;
    }();
    return text;
}

class PathOnlyViews : public NcSimulationViews {
public:
    std::vector<SimNode> path;
    bool is3DShown() const override { return true; }
    void show3D() override {}
    void clearPath() override { path.clear(); }
    void appendPath(std::span<const SimNode> nodes) override { path.insert(path.end(), nodes.begin(), nodes.end()); }
    void moveCutter(float, float, float) override {}
    void parkCutter(float) override {}
    void showMachiningTime(const QString&) override {}
    void clearOverlay() override {}
    void addOverlayLine(SimPoint, SimPoint, std::uint32_t) override {}
    void addOverlayArc(SimPoint, double, double, double, std::uint32_t) override {}
    void addOverlayPoint(SimPoint, std::uint32_t) override {}
    void overlayChanged() override {}
};

class SilentDialogs : public NcPageDialogs {
public:
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    void showError(QWidget*, const QString&) override {}
    void inform(QWidget*, const QString&) override {}
};

// The computed program handed to the page, and its moves to the 3D path.
void BM_LongProgramIntoPageAndPath(benchmark::State& state) {
    App();
    const std::string& text = LongProgram();
    NcPage page;
    PathOnlyViews views;
    SilentDialogs dialogs;
    NcPageController controller(&page, views, dialogs, {});
    for (auto _ : state) {
        state.PauseTiming();
        std::string copy = text;
        state.ResumeTiming();
        controller.setProgram(std::move(copy));
        const std::vector<NcPathNode> nodes = PathNodes(LongMoves());
        benchmark::DoNotOptimize(nodes.data());
    }
    state.counters["lines"] = double(controller.lineCount());
    state.counters["MB"] = double(text.size()) / 1e6;
}
BENCHMARK(BM_LongProgramIntoPageAndPath)->Unit(benchmark::kMillisecond)->Iterations(3);

// Play at speed 10 on the page, timer ticks and all, the 3D path growing.
void BM_PlayFastest(benchmark::State& state) {
    App();
    const std::size_t lines = std::size_t(state.range(0));
    std::string text = GenerateNcProgram(Moves(lines), PostSettings{}, [] {
                           NcJobValues job;
                           job.feedText = "1500";
                           job.plungeText = "400";
                           return job;
                       }()).text;
    NcPage page;
    PathOnlyViews views;
    SilentDialogs dialogs;
    NcPageController controller(&page, views, dialogs, {});
    controller.setFeedPlaneText("2");
    controller.enterPage();
    controller.setProgram(std::move(text));
    page.TrackBar1->setValue(10);
    std::int64_t read = 0;
    for (auto _ : state) {
        controller.rewind();
        controller.play();
        while (controller.playing()) QApplication::processEvents(QEventLoop::AllEvents, 5);
        read += controller.lineCount();
    }
    state.SetItemsProcessed(read);
    state.counters["nodes"] = double(views.path.size());
    state.counters["readOnlyView"] = controller.readOnlyView() ? 1 : 0;
}
BENCHMARK(BM_PlayFastest)->Arg(150'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

namespace {

// The longest program the page still loads into the editor.
void BM_EditableProgramIntoPage(benchmark::State& state) {
    App();
    const std::size_t lines = std::size_t(NcPageController::kEditableLines);
    const std::string text = GenerateNcProgram(Moves(lines - 3), PostSettings{}, NcJobValues{}).text;
    NcPage page;
    PathOnlyViews views;
    SilentDialogs dialogs;
    NcPageController controller(&page, views, dialogs, {});
    for (auto _ : state) controller.setProgram(text);
    state.counters["lines"] = double(controller.lineCount());
    state.counters["readOnlyView"] = controller.readOnlyView() ? 1 : 0;
}
BENCHMARK(BM_EditableProgramIntoPage)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

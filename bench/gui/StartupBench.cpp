// How long the program takes from its start to a painted main window: the
// window made, started (block library, settings, language, post-processor)
// and shown until its first paint. The first round also counts the making of
// the application object, as a real start does ("from_main_ms").
// Run it from a Release tree under a display (xvfb-run) or offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <chrono>
#include <filesystem>

#include "engine/picture/PictureRaster.h"
#include "kernel/entities/EntityModule.h"
#include "shell/app/AppInfo.h"
#include "shell/gui/Application.h"
#include "shell/gui/MainWindow.h"

namespace {

using Clock = std::chrono::steady_clock;
Clock::time_point g_mainStarted;
double g_fromMainMs = -1;

class FirstPaint : public QObject {
public:
    bool painted = false;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted = true;
        return false;
    }
};

void ShowMainWindow(benchmark::State& state) {
    const std::filesystem::path settings =
        std::filesystem::temp_directory_path() / ("calvoro_bench_" + std::to_string(::getpid()) + ".ini");
    for (auto _ : state) {
        FirstPaint probe;
        qApp->installEventFilter(&probe);
        {
            calvoro::MainWindowOptions options;
            options.settingsFile = settings;  // read only: the bench never confirms a close
            calvoro::MainWindow window(options);
            window.Start();
            window.show();
            while (!probe.painted) QApplication::processEvents(QEventLoop::AllEvents, 5);
            if (g_fromMainMs < 0)
                g_fromMainMs = std::chrono::duration<double, std::milli>(Clock::now() - g_mainStarted).count();
            state.PauseTiming();
        }
        qApp->removeEventFilter(&probe);
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["from_main_ms"] = g_fromMainMs;
}
BENCHMARK(ShowMainWindow)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
    g_mainStarted = Clock::now();
    calvoro::Application app(argc, argv);
    calvoro::Application::setErrorReporter([](const QString& message) { qWarning("%s", qPrintable(message)); });
    // The program's own folder: the build's bin/ beside bench/.
    calvoro::SetProgramFolder(QDir(QCoreApplication::applicationDirPath() + "/../bin").absolutePath().toStdString());
    calvoro::InitializeEntityModule();
    calvoro::InstallPictureDecoder();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

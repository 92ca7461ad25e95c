// The 2D view: a full repaint of a drawing with a large picture and many
// entities, a rubber-band move, and picking among many entities.
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <numbers>
#include <string>

#include "kernel/drawing/QVCmp2D.h"
#include "kernel/entities/BmpImage.h"
#include "kernel/entities/EntityModule.h"
#include "kernel/entities/TArco2D.h"
#include "kernel/entities/TBitmap2D.h"
#include "kernel/entities/TCerchio2D.h"
#include "kernel/entities/TFrame2D.h"
#include "kernel/entities/TLine2D.h"
#include "kernel/entities/TPolyline2D.h"
#include "kernel/entities/TPunto2D.h"
#include "kernel/gui/QImageViewSurface.h"
#include "kernel/view/TQVViewport2D.h"

namespace {

using namespace calvoro;

// Text of the scale bar needs the GUI's fonts.
void EnsureGuiApplication() {
    static std::unique_ptr<QGuiApplication> app;
    if (QGuiApplication::instance() != nullptr) return;
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "calvoro_bench";
    static char* argv[] = {name, nullptr};
    app = std::make_unique<QGuiApplication>(argc, argv);
}

// A 24-bit BMP file of side x side pixels with its pixels already decoded.
BmpImage Picture(int side) {
    const std::uint32_t rowBytes = static_cast<std::uint32_t>(side) * 3u;
    const std::uint32_t size = 54u + rowBytes * static_cast<std::uint32_t>(side);
    std::string bytes(size, '\x80');
    auto put32 = [&bytes](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    auto put16 = [&bytes](std::size_t at, std::uint16_t v) {
        bytes[at] = static_cast<char>(v & 0xFF);
        bytes[at + 1] = static_cast<char>(v >> 8);
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, size);
    put32(6, 0);
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(side));
    put32(22, static_cast<std::uint32_t>(side));
    put16(26, 1);
    put16(28, 24);
    put32(30, 0);
    put32(34, rowBytes * static_cast<std::uint32_t>(side));
    for (int i = 38; i < 54; ++i) bytes[static_cast<std::size_t>(i)] = 0;
    RasterImage pixels(side, side);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x)
            pixels.At(x, y) = 0xFF000000u | static_cast<std::uint32_t>((x ^ y) & 0xFF) * 0x010101u;
    }
    return BmpImage::FromFile(std::move(bytes), std::move(pixels));
}

// count entities of six kinds scattered over (0, 0)-(280, 280), each a few units in size.
void AddEntities(TQVCmp2D& drawing, int count) {
    std::uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<double>(seed >> 8) / static_cast<double>(1u << 24);
    };
    for (int i = 0; i < count; ++i) {
        const double x = next() * 270.0;
        const double y = next() * 270.0;
        const double s = 1.0 + next() * 8.0;
        std::unique_ptr<TObject2D> object;
        switch (i % 6) {
            case 0:
                object = std::make_unique<TLine2D>(-1, MakePoint2D(x, y), MakePoint2D(x + s, y + s / 2));
                break;
            case 1:
                object = std::make_unique<TCerchio2D>(-1, MakePoint2D(x, y), MakePoint2D(x + s, y));
                break;
            case 2:
                object = std::make_unique<TArco2D>(-1, MakePoint2D(x, y), MakePoint2D(x + s, y), 0.0, std::numbers::pi);
                break;
            case 3: {
                const TPoint2D points[] = {MakePoint2D(x, y), MakePoint2D(x + s, y), MakePoint2D(x + s, y + s),
                                           MakePoint2D(x, y + s / 3)};
                object = std::make_unique<TPolyline2D>(-1, std::span<const TPoint2D>(points));
                break;
            }
            case 4:
                object = std::make_unique<TPunto2D>(-1, MakePoint2D(x, y));
                break;
            default:
                object = std::make_unique<TFrame2D>(-1, MakePoint2D(x, y), MakePoint2D(x + s, y + s));
                break;
        }
        drawing.AddObject2D(-1, std::move(object));
    }
}

struct Scene {
    TQVCmp2D drawing;
    TQVViewport2D view{std::make_unique<QImageViewSurface>(), std::make_unique<QImageViewSurface>()};

    Scene(bool picture, int entities) {
        EnsureGuiApplication();
        InitializeEntityModule();
        if (picture) {
            drawing.AddObject2D(
                -1, std::make_unique<TBitmap2D>(-1, MakePoint2D(0, 0), MakePoint2D(280, 280), Picture(4000)));
        }
        AddEntities(drawing, entities);
        view.SetCADCmp2D(&drawing);
        view.SetBackGroundColor(clGray);
        view.SetGridColor(clNavy);
        view.SetGridOnTop(true);
        view.SetGridDeltaX(10.0);
        view.SetGridDeltaY(10.0);
        view.SetShowGrid(true);
        view.SetShowAssi(true);
        view.SetAspectRatio(1.0);
        view.Resize(1600, 1000);
        view.ZoomWindow(MakeRect2D(-10, -10, 290, 290));
    }
};

void BM_ViewFullRepaint(benchmark::State& state) {
    Scene scene(true, 10000);
    for (auto _ : state) scene.view.Repaint();
}
BENCHMARK(BM_ViewFullRepaint)->Unit(benchmark::kMillisecond);

void BM_ViewRubberBandMove(benchmark::State& state) {
    Scene scene(true, 10000);
    scene.view.Repaint();
    TLine2D band(-1, MakePoint2D(10, 10), MakePoint2D(200, 150));
    scene.view.DrawRubberObject2D(band, false);
    double x = 200;
    for (auto _ : state) {
        scene.view.DrawRubberObject2D(band, false);
        x = x > 270 ? 20 : x + 0.5;
        band.Points().SetPoint(1, MakePoint2D(x, 150));
        scene.view.DrawRubberObject2D(band, false);
    }
}
BENCHMARK(BM_ViewRubberBandMove)->Unit(benchmark::kMicrosecond);

void BM_ViewPickAmong100000(benchmark::State& state) {
    Scene scene(false, 100000);
    int code = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(scene.view.HitObjectAt(MakePoint2D(140.3, 137.9), 5, code, false));
    }
}
BENCHMARK(BM_ViewPickAmong100000)->Unit(benchmark::kMillisecond);

}  // namespace

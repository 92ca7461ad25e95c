// Sampling a relief for the 3D view: what is built (and uploaded) each time the
// relief or its drawing settings change, on the view's worker thread. The
// picture size decides the default resolution when a picture is opened: fine
// up to 500 pixels, medium up to 1000, coarse above; fine on a large picture is
// the user's own choice. Then what a repaint itself works out on the CPU: the
// samples and patches it draws. (The drawing through OpenGL is measured by
// gui/Preview3DPaintBench.cpp.)
#include <benchmark/benchmark.h>

#include "engine/preview/OrthoCamera.h"
#include "engine/preview/ReliefGrid.h"
#include "engine/preview/ReliefMesh.h"
#include "engine/toolpath/TaskControl.h"

namespace {

calvoro::HeightMap Relief(int width, int height) {
    calvoro::HeightMap map(width, height);
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y) map.at(x, y) = -0.001f * static_cast<float>((x * 7 + y * 13) % 5000);
    return map;
}

calvoro::HeightMap Relief(int side) {
    return Relief(side, side);
}

void BM_ReliefGrid(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    const auto resolution = static_cast<calvoro::ShadingResolution>(state.range(1));
    const calvoro::HeightMap map = Relief(side);
    const calvoro::ReliefDrawing drawing{.resolution = resolution};
    std::size_t gridBytes = 0;
    for (auto _ : state) {
        const calvoro::ReliefGrid grid = calvoro::ReliefGrid::Build(map, calvoro::ReliefValues{}, drawing, 16384);
        gridBytes = grid.heights().size() * sizeof(float);
        benchmark::DoNotOptimize(grid.heights().data());
    }
    // The grid's memory beside the height map it was sampled from.
    state.counters["grid_per_map"] = static_cast<double>(gridBytes) / (map.values().size() * sizeof(float));
}

using R = calvoro::ShadingResolution;
BENCHMARK(BM_ReliefGrid)
    ->ArgNames({"side", "resolution"})
    ->Args({4000, static_cast<int>(R::Fine)})
    ->Args({4000, static_cast<int>(R::Medium)})
    ->Args({4000, static_cast<int>(R::Coarse)})
    ->Args({1000, static_cast<int>(R::Medium)})
    ->Args({500, static_cast<int>(R::Fine)})
    ->Unit(benchmark::kMillisecond);

// The mesh the 3D view draws, as its worker thread builds it: the samples and
// the height range of every block, on one thread or on every usable core.
void BM_ReliefMesh(benchmark::State& state) {
    const calvoro::HeightMap map = Relief(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const auto threads = static_cast<unsigned>(state.range(2));
    for (auto _ : state) {
        calvoro::TaskControl control;
        const calvoro::ReliefMesh mesh =
            calvoro::ReliefMesh::Build(map, calvoro::ReliefValues{}, {}, 16384, &control, threads);
        benchmark::DoNotOptimize(mesh.grid().heights().data());
    }
    state.counters["threads"] = threads ? threads : calvoro::UsableCores();
}
BENCHMARK(BM_ReliefMesh)
    ->ArgNames({"width", "height", "threads"})
    ->Args({4000, 3000, 1})
    ->Args({4000, 3000, 0})
    ->Unit(benchmark::kMillisecond);

// The CPU work of one repaint of a 4000 x 3000 fine relief in a view of 1000 x
// 750 pixels: which samples and patches are drawn. Zoom 1 fits the relief.
void BM_ReliefDrawPlan(benchmark::State& state) {
    static const calvoro::HeightMap map = Relief(4000, 3000);
    static const calvoro::ReliefMesh mesh = calvoro::ReliefMesh::Build(map, calvoro::ReliefValues{}, {}, 16384);
    calvoro::OrthoCamera camera;
    camera.setViewport(1000, 750);
    camera.fitBox({0, 0, -5}, {3999, 2999, 0});
    camera.standardView(calvoro::StandardView::Iso);
    camera.zoom(static_cast<double>(state.range(0)));
    const auto p = camera.projectionMatrix(), v = camera.viewMatrix();
    std::array<float, 16> viewProjection{};
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row)
            for (int k = 0; k < 4; ++k) viewProjection[column * 4 + row] += p[k * 4 + row] * v[column * 4 + k];
    calvoro::ReliefDrawPlan plan;
    for (auto _ : state) {
        plan = calvoro::PlanReliefDrawing(mesh, viewProjection, 1000, 750);
        benchmark::DoNotOptimize(plan.patches.data());
    }
    state.counters["stride"] = plan.stride;
    state.counters["cells"] = static_cast<double>(plan.cells);
    state.counters["patches"] = static_cast<double>(plan.patches.size());
}
BENCHMARK(BM_ReliefDrawPlan)->ArgName("zoom")->Arg(1)->Arg(8)->Arg(64)->Unit(benchmark::kMicrosecond);

}  // namespace

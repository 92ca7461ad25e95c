// Sampling a relief for the 3D view: what is built (and uploaded) each time the
// relief or its drawing settings change. The picture size decides the default
// resolution when a picture is opened: fine up to 500 pixels, medium up to
// 1000, coarse above; fine on a large picture is the user's own choice.
#include <benchmark/benchmark.h>

#include "engine/preview/ReliefGrid.h"

namespace {

calvoro::HeightMap Relief(int side) {
    calvoro::HeightMap map(side, side);
    for (int x = 0; x < side; ++x)
        for (int y = 0; y < side; ++y) map.at(x, y) = -0.001f * static_cast<float>((x * 7 + y * 13) % 5000);
    return map;
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

}  // namespace

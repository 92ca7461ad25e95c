// Walking a whole height map column by column, the access pattern of the
// cutter and raster routines.
#include <benchmark/benchmark.h>

#include "engine/relief/HeightMap.h"

static void BM_HeightMapColumnWalk(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    calvoro::HeightMap map(side, side, -1.0f);
    for (auto _ : state) {
        float lowest = 0;
        for (int x = 0; x < map.width(); ++x)
            for (int y = 0; y < map.height(); ++y) lowest = std::min(lowest, map.at(x, y));
        benchmark::DoNotOptimize(lowest);
    }
    state.SetItemsProcessed(state.iterations() * side * side);
}
BENCHMARK(BM_HeightMapColumnWalk)->Arg(1000)->Arg(4000);

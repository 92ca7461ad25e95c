// Writing the closed solid of a 2000 x 2000 relief (about 8 million facets) to
// a file in the temporary folder; the export should run at 300 MB/s or more.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "engine/stl/StlWriter.h"

namespace {

void BM_WriteStlSolid(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    calvoro::HeightMap map(side, side);
    std::mt19937 random(3);
    std::uniform_real_distribution<float> depth(-5.0f, 0.0f);
    for (int x = 0; x < side; ++x)
        for (int y = 0; y < side; ++y) map.at(x, y) = depth(random);
    const calvoro::ReliefValues values;
    const auto file = std::filesystem::temp_directory_path() / "calvoro-bench-relief.stl";
    for (auto _ : state) calvoro::WriteStl(file, map, values, calvoro::StlShape::Solid);
    const auto bytes = 84 + 50 * calvoro::StlFacetCount(side, side, calvoro::StlShape::Solid);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
    std::filesystem::remove(file);
}
BENCHMARK(BM_WriteStlSolid)->Arg(2000)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

// Building the relief of a large colour picture, against a plain copy of the
// same bytes: the build should run at memory speed.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>

#include "engine/relief/ElaboraImmagine.h"

namespace {

// Smooth shading with some grain, like a scanned photograph.
calvoro::Picture Photograph(int side, calvoro::PixelFormat format) {
    calvoro::Picture picture;
    picture.allocate(side, side, format);
    std::mt19937 grain(1);
    const int bytes = calvoro::BytesPerPixel(format);
    for (int r = 0; r < side; ++r) {
        std::uint8_t* p = picture.row(r);
        for (int x = 0; x < side; ++x, p += bytes)
            for (int c = 0; c < bytes; ++c)
                p[c] = static_cast<std::uint8_t>((x * (c + 1) + r * (3 - c)) / 64 + static_cast<int>(grain() % 16));
    }
    return picture;
}

void BM_ElaboraImmagine(benchmark::State& state, calvoro::PixelFormat format) {
    const calvoro::Picture picture = Photograph(static_cast<int>(state.range(0)), format);
    const calvoro::ReliefValues values;
    calvoro::HeightMap map;
    for (auto _ : state) {
        calvoro::ElaboraImmagine(picture, values, map);
        benchmark::DoNotOptimize(map.values().data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(picture.pixels.size()));
}
BENCHMARK_CAPTURE(BM_ElaboraImmagine, Bgr24, calvoro::PixelFormat::Bgr24)
    ->Arg(4000)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ElaboraImmagine, Grey8, calvoro::PixelFormat::Grey8)
    ->Arg(4000)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// The yardstick: copying the picture's bytes once.
void BM_MemcpyOfPictureBytes(benchmark::State& state) {
    const calvoro::Picture picture = Photograph(static_cast<int>(state.range(0)), calvoro::PixelFormat::Bgr24);
    std::vector<std::uint8_t> copy(picture.pixels.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), picture.pixels.data(), copy.size());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(picture.pixels.size()));
}
BENCHMARK(BM_MemcpyOfPictureBytes)->Arg(4000)->Unit(benchmark::kMillisecond);

}  // namespace

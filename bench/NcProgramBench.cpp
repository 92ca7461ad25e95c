// Writing a long raster program through the default post-processor, and
// reading it back line by line as the simulation does.
#include <benchmark/benchmark.h>

#include <cmath>

#include "engine/nc/NcProgram.h"
#include "engine/nc/NcReader.h"

namespace {

// The values of the shipped default definition that shape the text: block
// numbers, three decimals with DelZero, modal words.
calvoro::PostSettings DefaultPost() {
    calvoro::PostSettings settings;
    settings.seqInc = 1;
    settings.seqMax = 99999;
    settings.startOfFile = "%\r\n[progn] [progname]\r\n[n] G21 G90 G17\r\n[n] G0[xrapid][yrapid]\r\n[n][zrapid]\r\n";
    settings.endOfFile = "[n] M5\r\n[n] M30\r\n%\r\n";
    return settings;
}

// Zig-zag raster lines over a wavy relief: every point a feed move with a new X
// and Z, a retract between lines.
calvoro::MoveList RasterMoves(std::size_t count) {
    calvoro::MoveList list;
    list.feedPlaneZ = 2;
    list.passCount = 1;
    list.moves.reserve(count);
    const int lineLength = 2000;
    for (int line = 0; list.moves.size() < count; ++line) {
        const double y = line * 0.3;
        list.moves.push_back({calvoro::MoveKind::Rapid, 0, y, 2});
        for (int i = 0; i < lineLength && list.moves.size() + 1 < count; ++i) {
            const double x = i * 0.05;
            const double z = -1.5 + std::sin(x * 0.7) * std::cos(y * 0.3);
            list.moves.push_back({i == 0 ? calvoro::MoveKind::Plunge : calvoro::MoveKind::Feed, x, y, z});
        }
        list.moves.push_back({calvoro::MoveKind::Rapid, (lineLength - 1) * 0.05, y, 2});
    }
    return list;
}

calvoro::NcJobValues Job() {
    calvoro::NcJobValues job;
    job.feedText = "1500";
    job.plungeText = "400";
    job.ncFileName = "bench.nc";
    return job;
}

// range(1): threads, 0 for every usable core.
void BM_WriteProgramDefaultPost(benchmark::State& state) {
    const calvoro::MoveList moves = RasterMoves(static_cast<std::size_t>(state.range(0)));
    const calvoro::PostSettings settings = DefaultPost();
    std::size_t bytes = 0;
    for (auto _ : state) {
        const calvoro::NcProgram program =
            calvoro::GenerateNcProgram(moves, settings, Job(), static_cast<unsigned>(state.range(1)));
        bytes += program.text.size();
        benchmark::DoNotOptimize(program.text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_WriteProgramDefaultPost)
    ->Args({200'000, 1})
    ->Args({5'000'000, 1})
    ->Args({5'000'000, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_ReadProgramLines(benchmark::State& state) {
    const calvoro::PostSettings settings = DefaultPost();
    const std::string text =
        calvoro::GenerateNcProgram(RasterMoves(static_cast<std::size_t>(state.range(0))), settings, Job()).text;
    std::vector<std::string_view> lines;
    for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.emplace_back(text.data() + start, end - start);
    for (auto _ : state) {
        calvoro::NcReader reader(settings);
        reader.ResetIsoRun("2");
        calvoro::IsoMove move;
        int read = 0;
        for (const auto line : lines) read += reader.ParseIsoLine(line, move) ? 1 : 0;
        benchmark::DoNotOptimize(read);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines.size()));
}
BENCHMARK(BM_ReadProgramLines)->Arg(5'000'000)->Unit(benchmark::kMillisecond);

}  // namespace

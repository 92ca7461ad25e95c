// The whole job as the user runs it: the picture file on disk -> relief ->
// tool path -> NC text -> NC file written. The reference dome (a 24-bit BMP
// of 100 mm a side, 3 mm ball, 0.3 mm step over, filter 0, lines along X, the
// initial post-processor values) at 2000, 4000 and 8000 pixels a side, with
// the tool path on every core and on one. Counters give each stage's time
// and the lift the path leaves above the exact tip.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <string>

#include "engine/nc/NcProgram.h"
#include "engine/picture/BmpCodec.h"
#include "engine/picture/PictureFile.h"
#include "engine/relief/ElaboraImmagine.h"
#include "engine/toolpath/ToolPath.h"

namespace {

using namespace calvoro;
namespace fs = std::filesystem;

fs::path DomeFile(int side) {
    const fs::path file = fs::temp_directory_path() / ("calvoro-bench-dome-" + std::to_string(side) + ".bmp");
    if (fs::exists(file)) return file;
    Picture dome;
    dome.allocate(side, side, PixelFormat::Bgr24);
    const double centre = (side - 1) / 2.0;
    for (int row = 0; row < side; ++row) {
        std::uint8_t* pixel = dome.row(row);
        for (int x = 0; x < side; ++x, pixel += 3) {
            const double r2 = ((x - centre) * (x - centre) + (row - centre) * (row - centre)) / (centre * centre);
            const auto grey = static_cast<std::uint8_t>(std::nearbyint(255 * std::sqrt(std::max(0.0, 1.0 - r2))));
            pixel[0] = pixel[1] = pixel[2] = grey;
        }
    }
    SaveBmpFile(file, dome);
    return file;
}

void BM_WholeJob(benchmark::State& state, unsigned pathThreads) {
    const int side = static_cast<int>(state.range(0));
    const fs::path picture = DomeFile(side);
    const fs::path output = fs::temp_directory_path() / ("calvoro-bench-dome-" + std::to_string(side) + ".nc");
    ReliefValues values;
    values.PixelSize = static_cast<float>(100.0 / side);
    ToolPathRequest request;
    request.cutter.toolType = ToolType::Spherical;
    request.cutter.diameter = 3.0f;
    request.cutter.cornerRadius = 1.5f;
    request.parameters.stepOver = 0.3;
    request.parameters.feedPlaneZ = 5.0;
    request.parameters.filterTolerance = 0.0f;
    request.placement.pixelSize = values.PixelSize;
    request.threads = pathThreads;
    const PostSettings post;
    request.positionRounding = WrittenPositionRounding(post);

    using Clock = std::chrono::steady_clock;
    double stages[5] = {};
    ToolPathResult path;
    std::size_t bytes = 0;
    for (auto _ : state) {
        auto mark = Clock::now();
        auto lap = [&](double& stage) {
            const auto now = Clock::now();
            stage += std::chrono::duration<double, std::milli>(now - mark).count();
            mark = now;
        };
        const Picture loaded = LoadPictureFile(picture);
        lap(stages[0]);
        HeightMap map;
        ElaboraImmagine(loaded, values, map);
        lap(stages[1]);
        path = ComputeToolPath(map, request);
        lap(stages[2]);
        const NcProgram program = GenerateNcProgram(path.moves, post, NcJobValues());
        lap(stages[3]);
        SaveNcProgram(output, program.text);
        lap(stages[4]);
        bytes = program.text.size();
    }
    const char* names[] = {"read_decode_ms", "relief_ms", "path_ms", "nc_text_ms", "write_ms"};
    for (int s = 0; s < 5; ++s) state.counters[names[s]] = stages[s] / static_cast<double>(state.iterations());
    state.counters["nc_mb"] = static_cast<double>(bytes) / 1e6;
    state.counters["mean_lift_um"] = path.meanLift * 1000;
    state.counters["largest_lift_um"] = path.largestLift * 1000;
    fs::remove(output);
}

void BM_WholeJob_AllCores(benchmark::State& s) {
    BM_WholeJob(s, 0);
}
void BM_WholeJob_OneThread(benchmark::State& s) {
    BM_WholeJob(s, 1);
}
BENCHMARK(BM_WholeJob_AllCores)->Arg(2000)->Arg(4000)->Arg(8000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WholeJob_OneThread)->Arg(2000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

// The reference raster job: a 2000 x 2000 relief (a dome with ripples and
// scattered one-pixel spikes) at 0.05 mm a pixel, a 3 mm ball (60 pixels),
// step over 0.3 mm, lines along X, one pass. Measures the tip Z of every
// raster point (plain footprint maximum on one thread beside the pruned search
// on one thread and on every core), the same for a 6 mm ball, and the whole
// path computation with its peak memory.
#include <benchmark/benchmark.h>

#include <cmath>
#include <fstream>
#include <random>
#include <string>
#include <thread>

#include "engine/relief/HeightMap.h"
#include "engine/toolpath/CutterProfile.h"
#include "engine/toolpath/GougeFreeDepth.h"
#include "engine/toolpath/RasterPaths.h"
#include "engine/toolpath/TaskControl.h"
#include "engine/toolpath/ToolPath.h"

namespace {

using namespace calvoro;

constexpr int kSide = 2000;
constexpr float kPixelSize = 0.05f;
constexpr double kStepOver = 0.3;

const HeightMap& ReferenceRelief() {
    static const HeightMap map = [] {
        HeightMap relief(kSide, kSide);
        const double centre = (kSide - 1) / 2.0;
        const double radius = kSide / 2.0;
        for (int x = 0; x < kSide; ++x)
            for (int y = 0; y < kSide; ++y) {
                const double r2 = ((x - centre) * (x - centre) + (y - centre) * (y - centre)) / (radius * radius);
                const double dome = 5.0 * std::sqrt(std::max(0.0, 1.0 - r2));
                const double ripples = 0.2 * std::sin(x * 2 * M_PI / 80) * std::cos(y * 2 * M_PI / 120);
                relief.at(x, y) = static_cast<float>(dome + ripples - 5.0);
            }
        std::mt19937 random(2024);
        std::uniform_int_distribution<int> cell(0, kSide - 1);
        for (int s = 0; s < 2000; ++s) {
            const int x = cell(random);
            const int y = cell(random);
            relief.at(x, y) += 1.0f;
        }
        return relief;
    }();
    return map;
}

ToolRecord Ball(double diameter) {
    ToolRecord tool;
    tool.toolType = ToolType::Spherical;
    tool.diameter = static_cast<float>(diameter);
    tool.cornerRadius = static_cast<float>(diameter / 2);
    return tool;
}

// The cells of the raster lines along X, as the path visits them.
std::vector<int> RasterRows() {
    const StepOverEvening evening = EvenStepOver(kSide, kPixelSize, kStepOver);
    const auto ratio = static_cast<float>(static_cast<double>(evening.lineCount) / (kSide - 1));
    std::vector<int> rows;
    for (int i = 0; i <= evening.lineCount; ++i)
        rows.push_back(static_cast<int>(std::nearbyint(i / static_cast<double>(ratio))));
    return rows;
}

enum class Method { BruteForce, Pruned };

void RunTipZ(benchmark::State& state, double diameter, Method method, unsigned threads) {
    const HeightMap& map = ReferenceRelief();
    const CutterProfile profile = CutterProfile::FromTool(Ball(diameter), 0.0);
    const GougeFreeDepth depth(map, profile, kPixelSize);
    const std::vector<int> rows = RasterRows();
    std::vector<float> tips(rows.size() * kSide);
    for (auto _ : state) {
        ParallelFor(rows.size(), threads, nullptr, 0, 1, [&](std::size_t line) {
            float* out = tips.data() + line * kSide;
            if (method == Method::Pruned)
                depth.tipZRun(0, rows[line], true, kSide, out);
            else
                for (int x = 0; x < kSide; ++x) out[x] = depth.tipZBruteForce(x, rows[line]);
        });
        benchmark::DoNotOptimize(tips.data());
    }
    state.counters["points"] = static_cast<double>(tips.size());
    state.counters["threads"] = threads == 0 ? std::thread::hardware_concurrency() : threads;
}

void BM_TipZ_Ball60px_BruteForce_OneThread(benchmark::State& s) {
    RunTipZ(s, 3.0, Method::BruteForce, 1);
}
void BM_TipZ_Ball60px_Pruned_OneThread(benchmark::State& s) {
    RunTipZ(s, 3.0, Method::Pruned, 1);
}
void BM_TipZ_Ball60px_Pruned_AllCores(benchmark::State& s) {
    RunTipZ(s, 3.0, Method::Pruned, 0);
}
void BM_TipZ_Ball120px_BruteForce_OneThread(benchmark::State& s) {
    RunTipZ(s, 6.0, Method::BruteForce, 1);
}
void BM_TipZ_Ball120px_Pruned_OneThread(benchmark::State& s) {
    RunTipZ(s, 6.0, Method::Pruned, 1);
}
void BM_TipZ_Ball120px_Pruned_AllCores(benchmark::State& s) {
    RunTipZ(s, 6.0, Method::Pruned, 0);
}

BENCHMARK(BM_TipZ_Ball60px_BruteForce_OneThread)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_TipZ_Ball60px_Pruned_OneThread)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TipZ_Ball60px_Pruned_AllCores)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TipZ_Ball120px_BruteForce_OneThread)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_TipZ_Ball120px_Pruned_OneThread)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TipZ_Ball120px_Pruned_AllCores)->Unit(benchmark::kMillisecond)->UseRealTime();

// Resident memory in kB as the kernel reports it ("VmRSS" or "VmHWM").
double StatusKilobytes(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key + ":", 0) == 0) return std::stod(line.substr(key.size() + 1));
    return 0;
}

void BM_ReferenceJob_WholePath_AllCores(benchmark::State& state) {
    const HeightMap& map = ReferenceRelief();
    ToolPathRequest request;
    request.cutter = Ball(3.0);
    request.parameters.stepOver = kStepOver;
    request.parameters.feedPlaneZ = 5.0;
    request.placement.pixelSize = kPixelSize;
    ToolPathResult result;
    double peakExtra = 0;
    for (auto _ : state) {
        state.PauseTiming();
        result = {};
        std::ofstream("/proc/self/clear_refs") << "5";  // restart the peak from here
        const double before = StatusKilobytes("VmRSS");
        state.ResumeTiming();
        result = ComputeToolPath(map, request);
        state.PauseTiming();
        peakExtra = std::max(peakExtra, StatusKilobytes("VmHWM") - before);
        state.ResumeTiming();
    }
    const double mapKilobytes = map.values().size() * sizeof(float) / 1024.0;
    state.counters["moves"] = static_cast<double>(result.moves.moves.size());
    state.counters["raster_points"] = static_cast<double>(result.rasterPoints);
    state.counters["mean_lift_um"] = result.meanLift * 1000;
    state.counters["largest_lift_um"] = result.largestLift * 1000;
    state.counters["unsafe_links"] = static_cast<double>(result.unsafeLinks);
    state.counters["peak_extra_per_map"] = peakExtra / mapKilobytes;
}
BENCHMARK(BM_ReferenceJob_WholePath_AllCores)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

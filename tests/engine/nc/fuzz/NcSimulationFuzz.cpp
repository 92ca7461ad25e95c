// libFuzzer entry for NC programs as the NC page simulates them: whatever the
// text holds, read in every dialect and arc centre mode, every position the
// page would draw (line ends, Z, cycle heights, arc centres and nodes, and
// the extents it shows) is a finite number, and nothing crashes. A line that
// cannot be simulated is refused with NcSimulationError and the run goes on
// from the next line, as on the page.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/nc/NcLines.h"
#include "engine/nc/NcSimulation.h"

namespace {

void CheckFinite(double value) {
    if (!std::isfinite(value)) __builtin_trap();
}

void CheckMove(const calvoro::SimMove& move) {
    for (const double value : {double(move.start.x), double(move.start.y), double(move.end.x), double(move.end.y),
                               double(move.z), double(move.cycleR)})
        CheckFinite(value);
    if (move.arc) {
        const calvoro::SimArc& arc = *move.arc;
        for (const double value : {arc.centreX, arc.centreY, arc.radius, arc.startAngle, arc.endAngle})
            CheckFinite(value);
    }
    for (const calvoro::SimNode& node : calvoro::PathNodesOf(move)) {
        CheckFinite(node.x);
        CheckFinite(node.y);
        CheckFinite(node.z);
    }
}

void CheckExtents(const calvoro::SimExtents& extents) {
    for (const float value : {extents.minX, extents.maxX, extents.minY, extents.maxY}) CheckFinite(value);
}

// Play from the first line to the last, going on past a line that is refused.
void Play(calvoro::NcStepper& stepper, const calvoro::NcLines& lines) {
    const int count = int(lines.size());
    stepper.startPlay(0);
    while (stepper.lineIndex() < count) {
        try {
            stepper.tick(
                count, [&](int index) { return lines.line(std::size_t(index)); }, 64,
                [](const calvoro::SimMove& move) { CheckMove(move); });
        } catch (const calvoro::NcSimulationError&) {
            stepper.continuePlay();
        }
        CheckExtents(stepper.extents());
        if (!stepper.playing() && stepper.lineIndex() < count) stepper.continuePlay();
    }
}

// Step through every line.
void Step(calvoro::NcStepper& stepper, const calvoro::NcLines& lines) {
    stepper.setLineIndex(0);
    for (std::size_t index = 0; index < lines.size(); ++index) {
        try {
            if (const auto move = stepper.step(lines.line(index))) CheckMove(*move);
        } catch (const calvoro::NcSimulationError&) {
        }
        CheckExtents(stepper.extents());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > (1u << 16)) return 0;
    const calvoro::NcLines lines(std::string(reinterpret_cast<const char*>(data), size));
    for (const calvoro::PostDialect dialect : {calvoro::PostDialect::Iso, calvoro::PostDialect::Hei,
                                               calvoro::PostDialect::Xil, calvoro::PostDialect::Sbo,
                                               calvoro::PostDialect::Csh}) {
        for (const int arcCenter : {1, 2, 3}) {
            calvoro::PostSettings post;
            post.dialect = dialect;
            post.arcCenter = arcCenter;
            if (dialect == calvoro::PostDialect::Hei) post.feedRapid = "FMAX";
            calvoro::NcStepper stepper(post);
            stepper.resetRun("5");
            stepper.forgetStart();
            Play(stepper, lines);
            Step(stepper, lines);
        }
    }
    return 0;
}

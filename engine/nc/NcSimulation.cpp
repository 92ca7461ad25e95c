#include "engine/nc/NcSimulation.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>

#include "kernel/platform/NumberReading.h"

namespace calvoro {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

double NormalisedAngle(double angle) {
    angle = std::fmod(angle, kTwoPi);
    if (angle < 0) angle += kTwoPi;
    return angle >= kTwoPi ? 0.0 : angle;
}

// The sweep from `from` to `to` in the move's direction, in [0, 2 pi).
double Sweep(double from, double to, int kind) {
    return kind == 2 ? NormalisedAngle(from - to) : NormalisedAngle(to - from);
}

// Whether every point of the arc's circle, and so its nodes and the extents
// it adds, can be held as a position (a float).
bool CircleWithinRange(const SimArc& arc) {
    constexpr double kLargest = std::numeric_limits<float>::max();
    return std::isfinite(arc.radius) && std::fabs(arc.centreX) + arc.radius <= kLargest &&
           std::fabs(arc.centreY) + arc.radius <= kLargest;
}

std::string LineName(int line) {
    return "line " + std::to_string(line + 1);
}

}  // namespace

SimPoint ArcCentreFromWords(SimPoint start, float i, float j, int arcCenterMode) {
    switch (arcCenterMode) {
        case 2:
            return {start.x + i, start.y + j};
        case 3:
            return {start.x - i, start.y - j};
        default:
            return {i, j};
    }
}

SimPoint ArcCentreFromRadius(SimPoint start, SimPoint end, float radius, int kind) {
    const double dx = double(end.x) - start.x;
    const double dy = double(end.y) - start.y;
    const double d = std::hypot(dx, dy);
    if (d == 0) throw NcSimulationError("An arc given by its radius starts where it ends, so it has no centre.");
    const double r = radius;
    const double h = std::sqrt(std::max(0.0, r * r - d * d / 4));
    const double mx = (double(start.x) + end.x) / 2;
    const double my = (double(start.y) + end.y) / 2;
    const double nx = dy / d;
    const double ny = -dx / d;
    double cx = mx + h * nx;
    double cy = my + h * ny;
    const double sweep = Sweep(std::atan2(start.y - cy, start.x - cx), std::atan2(end.y - cy, end.x - cx), kind);
    if ((r > 0 && sweep > std::numbers::pi) || (r < 0 && sweep <= std::numbers::pi)) {
        cx = mx - h * nx;
        cy = my - h * ny;
    }
    return {float(cx), float(cy)};
}

SimArc ArcThrough(SimPoint centre, SimPoint start, SimPoint end) {
    SimArc arc;
    arc.centreX = centre.x;
    arc.centreY = centre.y;
    arc.radius = std::hypot(double(start.x) - centre.x, double(start.y) - centre.y);
    arc.startAngle = NormalisedAngle(std::atan2(double(start.y) - centre.y, double(start.x) - centre.x));
    arc.endAngle = NormalisedAngle(std::atan2(double(end.y) - centre.y, double(end.x) - centre.x));
    if (std::fabs(NormalisedAngle(arc.endAngle - arc.startAngle) - kTwoPi) < 0.001) arc.endAngle = arc.startAngle;
    return arc;
}

std::vector<SimNode> ArcNodes(const SimArc& arc, int kind, float z) {
    double sweep = Sweep(arc.startAngle, arc.endAngle, kind);
    if (sweep == 0) sweep = kTwoPi;
    const double direction = kind == 2 ? -1.0 : 1.0;
    std::vector<SimNode> nodes(51);
    for (int k = 0; k <= 50; ++k) {
        const double t = arc.startAngle + direction * sweep * k / 50;
        nodes[k].x = float(arc.centreX + arc.radius * std::cos(t));
        nodes[k].y = float(arc.centreY + arc.radius * std::sin(t));
        nodes[k].z = z;
    }
    return nodes;
}

int SimulationDelayMs(int speed) {
    static constexpr std::array<int, 9> delays{500, 250, 125, 60, 30, 15, 7, 3, 1};
    if (speed >= 10) return 0;
    return delays[std::size_t(std::clamp(speed, 1, 9) - 1)];
}

void SimExtents::include(float x, float y) {
    if (empty) {
        minX = maxX = x;
        minY = maxY = y;
        empty = false;
        return;
    }
    minX = std::min(minX, x);
    maxX = std::max(maxX, x);
    minY = std::min(minY, y);
    maxY = std::max(maxY, y);
}

std::vector<SimNode> PathNodesOf(const SimMove& move) {
    constexpr std::array<float, 3> yellow{1, 1, 0};
    constexpr std::array<float, 3> cyan{0, 1, 1};
    const float x = move.end.x, y = move.end.y;
    if (move.arc) return ArcNodes(*move.arc, move.kind, move.z);
    if (move.kind >= 81 && move.kind <= 86)
        return {{x, y, move.cycleR, yellow}, {x, y, move.z, cyan}, {x, y, move.cycleR, cyan}};
    return {{x, y, move.z, move.kind == 0 ? yellow : cyan}};
}

NcStepper::NcStepper(const PostSettings& settings)
    : reader_(settings), dialect_(settings.dialect), arcCenterMode_(settings.arcCenter) {}

void NcStepper::resetRun(std::string_view feedPlaneText) {
    reader_.ResetIsoRun(feedPlaneText);
    move_ = IsoMove{};
    extents_ = SimExtents{};
}

std::optional<SimMove> NcStepper::step(std::string_view text) {
    const bool onlySetStart = awaitingStart_;
    std::optional<SimMove> move = read(text, onlySetStart);
    if (move) awaitingStart_ = false;
    if (onlySetStart) return std::nullopt;
    return move;
}

void NcStepper::startPlay(int line) {
    lineIndex_ = std::max(0, line);
    awaitingStart_ = true;
    continuePlay();
}

void NcStepper::continuePlay() {
    playing_ = true;
    finished_ = false;
}

int NcStepper::tick(int lineCount, const std::function<std::string_view(int)>& lineAt, int maxLines,
                    const std::function<void(const SimMove&)>& draw) {
    int read = 0;
    while (playing_ && read < maxLines && lineIndex_ < lineCount) {
        ++read;
        std::optional<SimMove> move;
        try {
            move = this->read(lineAt(lineIndex_), awaitingStart_);
        } catch (...) {
            playing_ = false;
            throw;
        }
        if (move) {
            if (awaitingStart_)
                awaitingStart_ = false;
            else
                draw(*move);
        }
    }
    if (playing_ && lineIndex_ >= lineCount) {
        playing_ = false;
        finished_ = true;
    }
    return read;
}

std::optional<SimMove> NcStepper::read(std::string_view text, bool onlySetStart) {
    const int line = lineIndex_++;
    lastLineRead_ = line;
    // A CSH control reads upper-case words only; its programs may be written in
    // either case, so Step and Play both read the line upper-cased.
    if (dialect_ == PostDialect::Csh) {
        upper_.assign(text);
        std::transform(upper_.begin(), upper_.end(), upper_.begin(),
                       [](unsigned char c) { return char(c >= 'a' && c <= 'z' ? c - 32 : c); });
        text = upper_;
    }
    move_.r = 0;
    move_.cycleR = 0;
    if (!reader_.ParseIsoLine(text, move_)) return std::nullopt;
    reader_.isoCurX = move_.x;  // the reader state mirrors the last line read
    reader_.isoCurY = move_.y;
    reader_.isoCentreI = move_.i;
    reader_.isoCentreJ = move_.j;

    SimMove move;
    move.kind = move_.kind;
    move.start = start_;
    move.end = {move_.x, move_.y};
    move.cycleR = move_.cycleR;
    move.line = line;
    if (onlySetStart) {
        start_ = move.end;
        return move;
    }
    // Until the program names a Z, the Z is the feed plane as typed, so it is
    // read as every typed number is; a Z word of the program reads the same.
    const std::string& zText = reader_.isoZText;
    const std::optional<float> z = ReadSingleNumber(zText);
    if (!z) throw NcSimulationError("The Z value \"" + zText + "\" of " + LineName(line) + " is not a number.");
    move.z = dialect_ == PostDialect::Csh ? -*z : *z;

    if (move.kind == 2 || move.kind == 3) {
        SimPoint centre;
        try {
            centre = move_.r != 0 ? ArcCentreFromRadius(start_, move.end, move_.r, move.kind)
                                  : ArcCentreFromWords(start_, move_.i, move_.j, arcCenterMode_);
        } catch (const NcSimulationError& error) {
            throw NcSimulationError(std::string(error.what()) + " (" + LineName(line) + ")");
        }
        // Words near the largest numbers can put the centre or the circle
        // out of reach: such a line is read like one whose number cannot be
        // read, it draws nothing and the start point stays.
        if (!std::isfinite(centre.x) || !std::isfinite(centre.y)) return std::nullopt;
        move.arc = ArcThrough(centre, start_, move.end);
        if (!CircleWithinRange(*move.arc)) return std::nullopt;
        const SimArc& arc = *move.arc;
        extents_.include(float(arc.centreX - arc.radius), float(arc.centreY - arc.radius));
        extents_.include(float(arc.centreX + arc.radius), float(arc.centreY + arc.radius));
    } else {
        extents_.include(move.end.x, move.end.y);
    }
    start_ = move.end;
    return move;
}

}  // namespace calvoro

#include "engine/toolpath/RasterPaths.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace calvoro {

namespace {

// One run of consecutive raster points, closed as a line ends: a raster line,
// or a link along the edge of the picture between two raster lines.
struct LineRun {
    bool alongX;  // the cells vary in X (fixed row) or in Y (fixed column)
    int fixed;
    int from;  // first varying coordinate
    int to;    // last one, inclusive; may be below `from`
    int count() const { return std::abs(to - from) + 1; }
    void cell(int k, int& x, int& y) const {
        const int varying = from + (to >= from ? k : -k);
        x = alongX ? varying : fixed;
        y = alongX ? fixed : varying;
    }
};

// Raster lines i = 0..n over `cells` pixels, at position index Round(i / ratio).
class LineIndex {
public:
    LineIndex(int lineCount, int lastCell)
        : ratio_(static_cast<float>(static_cast<double>(lineCount) / lastCell)), last_(lastCell) {}
    int operator()(int i) const {
        return std::clamp(static_cast<int>(std::nearbyint(i / static_cast<double>(ratio_))), 0, last_);
    }

private:
    float ratio_;
    int last_;
};

// The zig-zag of one raster direction. `alongX` rasters run lines along X at
// rows; the other runs them along Y at columns. Edge links join each line to
// the next along the first or last cell of the line, unless the no-cut zone is
// on.
void AddRaster(bool alongX, int lineCount, int lastAcross, int lastAlong, bool withLinks, std::vector<LineRun>& runs) {
    const LineIndex index(lineCount, lastAcross);
    for (int i = 0; i <= lineCount; i += 2) {
        const int line = index(i);
        if (line > 0 && withLinks) {
            const int a = index(i - 1) + 1;
            const int b = line;
            if (a < lastAcross && b > a) runs.push_back({!alongX, 0, a, b});
        }
        runs.push_back({alongX, line, 0, lastAlong});
        // Indices, not lengths, decide whether the return line exists.
        if (i + 1 <= lineCount) {
            const int next = index(i + 1);
            if (withLinks) {
                const int a = line + 1;
                const int b = next;
                if (a < lastAcross && b > a) runs.push_back({!alongX, lastAlong, a, b});
            }
            runs.push_back({alongX, next, lastAlong, 0});
        }
    }
}

float RoundUpToFloat(double value) {
    auto rounded = static_cast<float>(value);
    if (static_cast<double>(rounded) < value) rounded = std::nextafter(rounded, std::numeric_limits<float>::infinity());
    return rounded;
}

}  // namespace

StepOverEvening EvenStepOver(int cells, double pixelSize, double stepOver) {
    const double length = (cells - 1) * pixelSize;
    const double step = std::min(stepOver, length);
    StepOverEvening evening;
    evening.lineCount = static_cast<int>(std::trunc(length / step));
    if (evening.lineCount * step < length) {
        ++evening.lineCount;
        evening.spacing = length / evening.lineCount;
    } else {
        evening.spacing = step;
    }
    return evening;
}

double LinkDistance(const PathPoint& a, const PathPoint& b) {
    const double dx = a.x - b.x;
    const double dy = a.y - b.y;
    return std::sqrt(dx * dx + dy * dy);
}

PathPoint CellPosition(const RasterPoint& point, const ReliefPlacement& placement) {
    const double sizeX = placement.pixelSize;
    const double sizeY = placement.cellSizeY();
    return {static_cast<float>(point.cellX * sizeX + placement.workOffsetX),
            static_cast<float>(point.cellY * sizeY + placement.workOffsetY), point.z};
}

RasterPaths BuildRasterPaths(const GougeFreeDepth& depth, const CuttingParameters& parameters,
                             const ReliefPlacement& placement, unsigned threads, TaskControl* control) {
    const HeightMap& map = depth.map();
    const int lastColumn = map.width() - 1;
    const int lastRow = map.height() - 1;
    const bool zNoCut = parameters.zNoCutActive;
    const StepOverEvening acrossY = EvenStepOver(map.height(), placement.cellSizeY(), parameters.stepOver);
    const StepOverEvening acrossX = EvenStepOver(map.width(), placement.pixelSize, parameters.stepOver);

    std::vector<LineRun> runs;
    if (parameters.rasterAlongX) AddRaster(true, acrossY.lineCount, lastRow, lastColumn, !zNoCut, runs);
    if (parameters.rasterAlongY) AddRaster(false, acrossX.lineCount, lastColumn, lastRow, !zNoCut, runs);

    // The tip Z of every point; each run is independent of the others.
    std::vector<std::size_t> start(runs.size() + 1, 0);
    for (std::size_t r = 0; r < runs.size(); ++r) start[r + 1] = start[r] + runs[r].count();
    std::vector<float> tips(start.back());
    ParallelFor(runs.size(), threads, control, 0.0, 0.75, [&](std::size_t r) {
        const LineRun& run = runs[r];
        const int low = std::min(run.from, run.to);
        float* out = tips.data() + start[r];
        if (run.alongX)
            depth.tipZRun(low, run.fixed, true, run.count(), out);
        else
            depth.tipZRun(run.fixed, low, false, run.count(), out);
        if (run.to < run.from) std::reverse(out, out + run.count());
    });

    RasterPaths paths;
    paths.spacingX = acrossX.spacing;
    paths.spacingY = acrossY.spacing;
    auto pointOf = [&](std::size_t r, int k) {
        RasterPoint p;
        runs[r].cell(k, p.cellX, p.cellY);
        p.tipZ = p.z = tips[start[r] + k];
        return p;
    };
    if (!zNoCut) {
        // One polyline per run.
        paths.polylines.resize(runs.size());
        ParallelFor(runs.size(), threads, control, 0.75, 0.75, [&](std::size_t r) {
            RasterPolyline& line = paths.polylines[r];
            line.resize(runs[r].count());
            for (int k = 0; k < runs[r].count(); ++k) line[k] = pointOf(r, k);
        });
    }
    for (std::size_t r = 0; r < runs.size() && zNoCut; ++r) {
        auto point = [&](int k) { return pointOf(r, k); };
        // Each stretch of cutting points becomes a polyline that starts at the
        // last no-cut point before it and ends at the first one after it.
        enum class State { LineStart, Outside, Inside } state = State::LineStart;
        RasterPolyline current;
        RasterPoint previous;
        for (int k = 0; k < runs[r].count(); ++k) {
            const RasterPoint p = point(k);
            const bool cutting = std::abs(static_cast<double>(p.tipZ) - parameters.zNoCutZ) >
                                 static_cast<double>(parameters.zNoCutTolerance);
            switch (state) {
                case State::LineStart:
                    state = cutting ? State::Inside : State::Outside;
                    if (cutting) current = {p};
                    break;
                case State::Outside:
                    if (cutting) {
                        state = State::Inside;
                        current = {previous, p};
                    }
                    break;
                case State::Inside:
                    current.push_back(p);
                    if (!cutting) {
                        state = State::Outside;
                        paths.polylines.push_back(std::move(current));
                        current.clear();
                    }
                    break;
            }
            previous = p;
        }
        // A stretch still open at the end of the line ends on its last point
        // (repeating that point would change nothing once reduced).
        if (state == State::Inside) paths.polylines.push_back(std::move(current));
    }

    // Each move between neighbouring points raises both its ends by what the
    // cutter swept along it needs; a point takes the larger lift of its two
    // moves. Lines are independent of one another.
    auto raise = [](RasterPoint& point, double lift) {
        if (lift > 0) point.z = std::max(point.z, RoundUpToFloat(static_cast<double>(point.tipZ) + lift));
    };
    auto lift = [&](const RasterPoint& a, const RasterPoint& b) {
        return depth.sweptLift(a.cellX, a.cellY, a.tipZ, b.cellX, b.cellY, b.tipZ);
    };
    ParallelFor(paths.polylines.size(), threads, control, 0.75, 0.9, [&](std::size_t j) {
        RasterPolyline& line = paths.polylines[j];
        if (line.size() < 2) return;
        const int stepX = line[1].cellX - line[0].cellX;
        const int stepY = line[1].cellY - line[0].cellY;
        bool straight = std::abs(stepX) + std::abs(stepY) == 1;
        for (std::size_t k = 1; k < line.size() && straight; ++k)
            straight = line[k].cellX - line[k - 1].cellX == stepX && line[k].cellY - line[k - 1].cellY == stepY;
        std::vector<double> tips(line.size());
        std::vector<double> needs(line.size() - 1);
        for (std::size_t k = 0; k < line.size(); ++k) tips[k] = line[k].tipZ;
        if (straight) {
            depth.sweptLiftRun(line[0].cellX, line[0].cellY, stepX, stepY, static_cast<int>(needs.size()), tips.data(),
                               needs.data());
        } else {
            for (std::size_t k = 1; k < line.size(); ++k) needs[k - 1] = lift(line[k - 1], line[k]);
        }
        for (std::size_t k = 1; k < line.size(); ++k) {
            raise(line[k - 1], needs[k - 1]);
            raise(line[k], needs[k - 1]);
        }
    });
    // The same for the feed move that joins a line to the next one when they
    // end and start on neighbouring cells (the turns of the zig-zag).
    for (std::size_t j = 1; j < paths.polylines.size(); ++j) {
        RasterPoint& end = paths.polylines[j - 1].back();
        RasterPoint& begin = paths.polylines[j].front();
        const bool neighbours = std::abs(end.cellX - begin.cellX) + std::abs(end.cellY - begin.cellY) <= 1;
        if (neighbours &&
            LinkDistance(CellPosition(end, placement), CellPosition(begin, placement)) <= FeedLinkReach(paths)) {
            const double need = lift(end, begin);
            raise(end, need);
            raise(begin, need);
        }
    }
    return paths;
}

}  // namespace calvoro

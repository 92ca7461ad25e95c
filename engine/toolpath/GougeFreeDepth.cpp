#include "engine/toolpath/GougeFreeDepth.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <stdexcept>

#include "engine/toolpath/TaskControl.h"
#include "engine/toolpath/ToolPathError.h"

namespace calvoro {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Wider footprints (over 4096 cells across) would need too large a table of
// profile heights; no sensible job comes near it.
constexpr double kMaxReach = 2048;

// Cells this much (relative) beyond the rim count as on it.
constexpr double kRimTolerance = 1e-6;

// Steps that narrow the largest need of one cell along a move, and how close
// (work units) its upper bound must come to the best value found.
constexpr int kSweepSteps = 24;
constexpr double kSweepTolerance = 1e-9;

// Moves of a run searched together.
constexpr int kSweepBatch = 8;

}  // namespace

GougeFreeDepth::GougeFreeDepth(const HeightMap& map, const CutterProfile& profile, CellSizes cells,
                               double positionAllowance, unsigned threads)
    : map_(map), profile_(profile), pixelSize_(cells.x), aspect_(1.0), allowance_(positionAllowance) {
    if (!(cells.x > 0.0) || !std::isfinite(cells.x) || !(cells.y > 0.0) || !std::isfinite(cells.y))
        throw ToolPathError("The pixel size must be greater than 0.");
    if (!(positionAllowance >= 0.0) || !std::isfinite(positionAllowance))
        throw ToolPathError("The position allowance must be 0 or more.");
    if (map.empty()) throw ToolPathError("There is no relief to machine.");
    aspect_ = cells.y / cells.x;  // exactly 1 for square cells, which then keep their arithmetic bit for bit
    reachRadius_ = (profile.outerRadius() + allowance_) * (1.0 + kRimTolerance);
    const double reach = std::floor(reachRadius_ / std::min(cells.x, cells.y)) + 1.0;
    if (!(reach <= kMaxReach))
        throw ToolPathError("The cutter is more than 4096 pixels wide at this pixel size; choose larger pixels.");
    reach_ = static_cast<int>(reach);

    const auto stride = static_cast<std::size_t>(rowStride());
    auto fillTables = [&](bool alongX, std::vector<double>& heights, std::vector<double>& slopes) {
        heights.resize(stride * (reach_ + 1));
        slopes.resize(stride * (reach_ + 1));
        const double alongSize = alongX ? pixelSize_ : pixelSize_ * aspect_;
        for (int across = 0; across <= reach_; ++across)
            for (int along = 0; along < rowStride(); ++along) {
                const int dx = alongX ? along : across;
                const int dy = alongX ? across : along;
                heights[across * stride + along] = computeOffsetHeight(dx, dy);
                const double rho = std::hypot(dx, dy * aspect_) * pixelSize_;
                slopes[across * stride + along] =
                    along == 0 ? 0.0 : grownSlope(rho) * along * alongSize * alongSize / rho;
            }
    };
    fillTables(true, offsetHeights_, offsetSlopes_);
    if (aspect_ != 1.0) fillTables(false, offsetHeightsAlongY_, offsetSlopesAlongY_);

    chordHalf_.assign(static_cast<std::size_t>(reach_) + 1, -1);
    for (int dx = 0, dy = reach_; dx <= reach_; ++dx) {
        while (dy >= 0 && offsetHeight(dx, dy) == kInfinity) --dy;
        chordHalf_[dx] = dy;
    }

    // Blocks at the top level are more than half as wide as the footprint
    // radius plus half a batch, so a batch of footprints spans at most five of
    // them a side whatever the cutter size.
    const int topLevel = static_cast<int>(std::bit_width(static_cast<unsigned>(reach_ + kBatch / 2))) - 1;
    int width = map.width();
    int height = map.height();
    for (int level = 1; level <= topLevel; ++level) {
        Level next;
        next.width = (width + 1) / 2;
        next.height = (height + 1) / 2;
        next.tilesHigh = (next.height + 7) / 8;
        next.maxima.resize(static_cast<std::size_t>((next.width + 7) / 8) * next.tilesHigh * 64);
        width = next.width;
        height = next.height;
        levels_.push_back(std::move(next));
        if (width == 1 && height == 1) break;
    }
    // Column bx of blocks of a level, from the level below.
    auto fillColumn = [&](int level, int bx) {
        Level& next = levels_[level - 1];
        const int below = level == 1 ? map.width() : levels_[level - 2].width;
        const int belowHigh = level == 1 ? map.height() : levels_[level - 2].height;
        const bool pair = 2 * bx + 1 < below;
        if (level == 1) {
            // Straight from the map's columns.
            const float* left = map.column(2 * bx);
            const float* right = pair ? map.column(2 * bx + 1) : left;
            for (int by = 0; by < next.height; ++by) {
                const int cy = 2 * by;
                const bool both = cy + 1 < belowHigh;
                float m = std::max(-std::numeric_limits<float>::infinity(), left[cy]);
                if (both) m = std::max(m, left[cy + 1]);
                if (pair) m = std::max(m, right[cy]);
                if (pair && both) m = std::max(m, right[cy + 1]);
                next.maxima[next.index(bx, by)] = m;
            }
            return;
        }
        for (int by = 0; by < next.height; ++by) {
            float m = -std::numeric_limits<float>::infinity();
            for (int i = 0; i < 2; ++i)
                for (int j = 0; j < 2; ++j) {
                    const int cx = 2 * bx + i;
                    const int cy = 2 * by + j;
                    if (cx < below && cy < belowHigh) m = std::max(m, blockMax(level - 1, cx, cy));
                }
            next.maxima[next.index(bx, by)] = m;
        }
    };
    // The lowest levels, nearly all the work, in bands of columns on every
    // core: a band of the map feeds only its own blocks up to `banded`.
    const int banded = std::min(3, static_cast<int>(levels_.size()));
    if (banded > 0) {
        const int bands = (levels_[banded - 1].width + 7) / 8;
        ParallelFor(static_cast<std::size_t>(bands), threads, nullptr, 0.0, 0.0, [&](std::size_t band) {
            for (int level = 1; level <= banded; ++level) {
                const int span = 8 << (banded - level);
                const int end = std::min(levels_[level - 1].width, (static_cast<int>(band) + 1) * span);
                for (int bx = static_cast<int>(band) * span; bx < end; ++bx) fillColumn(level, bx);
            }
        });
    }
    for (int level = banded + 1; level <= static_cast<int>(levels_.size()); ++level)
        for (int bx = 0; bx < levels_[level - 1].width; ++bx) fillColumn(level, bx);
}

double GougeFreeDepth::computeOffsetHeight(int adx, int ady) const {
    if (adx > reach_ || ady > reach_) return kInfinity;
    return grownHeight(offsetDistance(adx, ady));
}

float GougeFreeDepth::RoundUp(double value) {
    float rounded = static_cast<float>(value);
    if (static_cast<double>(rounded) < value) rounded = std::nextafter(rounded, std::numeric_limits<float>::infinity());
    return rounded;
}

float GougeFreeDepth::tipZ(int x, int y) const {
    float tip;
    tipZRun(x, y, true, 1, &tip);
    return tip;
}

void GougeFreeDepth::tipZRun(int x, int y, bool alongX, int count, float* out) const {
    const int fixed = alongX ? y : x;
    const int first = alongX ? x : y;
    std::array<Cell, kBatch> contacts;
    int contactCount = 0;
    for (int done = 0; done < count; done += kBatch)
        tipZBatch(alongX, first + done, fixed, std::min(kBatch, count - done), contacts.data(), contactCount,
                  out + done);
}

void GougeFreeDepth::tipZBatch(bool alongX, int first, int fixed, int count, Cell* contacts, int& contactCount,
                               float* out) const {
    const int sizeU = alongX ? map_.width() : map_.height();
    const int sizeV = alongX ? map_.height() : map_.width();
    assert(count >= 1 && count <= kBatch && first >= 0 && first + count <= sizeU && fixed >= 0 && fixed < sizeV);
    auto heightAt = [&](int u, int v) { return alongX ? map_.at(u, v) : map_.at(v, u); };
    auto maxAt = [&](int level, int bu, int bv) { return alongX ? blockMax(level, bu, bv) : blockMax(level, bv, bu); };

    std::array<double, kBatch> best;
    best.fill(-kInfinity);
    std::array<int, kBatch> foundU{};
    std::array<int, kBatch> foundV{};
    const int clampAlong = reach_ + 1;
    const int last = first + count - 1;
    double lowestBest = -kInfinity;  // the least any centre has found so far
    // The cell's limit on the tip of every centre of the batch.
    auto consider = [&](int u, int v) {
        const int across = v < fixed ? fixed - v : v - fixed;
        if (across > reach_) return;
        const double* row = profileRow(across, alongX);
        const double h = heightAt(u, v);
        const int nearest = std::min(std::max({first - u, u - last, 0}), clampAlong);
        if (h - row[nearest] <= lowestBest) return;  // beats no centre even at its nearest
        auto update = [&](int k, double height) {
            const double value = h - height;
            const bool better = value > best[k];
            best[k] = better ? value : best[k];
            foundU[k] = better ? u : foundU[k];
            foundV[k] = better ? v : foundV[k];
        };
        // Past the batch on either side the distances to its centres are
        // consecutive offsets of the row (within its padding, as the cell
        // reaches some centre).
        if (u <= first) {
            const double* heights = row + (first - u);
            for (int k = 0; k < count; ++k) update(k, heights[k]);
        } else if (u >= last) {
            const double* heights = row + (u - first);
            for (int k = 0; k < count; ++k) update(k, heights[-k]);
        } else {
            for (int k = 0; k < count; ++k) update(k, row[std::abs(u - (first + k))]);
        }
    };
    // Good first guesses make most blocks fall at once: the centres
    // themselves and where the cutter touched in the previous batch.
    if (contactCount == 0) {
        for (int k = 0; k < count; ++k) consider(first + k, fixed);
    } else {
        // Neighbouring centres mostly touch at the same cell: try each once.
        for (int c = 0; c < contactCount; ++c)
            if (c == 0 || contacts[c].u != contacts[c - 1].u || contacts[c].v != contacts[c - 1].v)
                consider(contacts[c].u, contacts[c].v);
    }
    lowestBest = *std::min_element(best.begin(), best.begin() + count);

    const int u0 = std::max(0, first - reach_);
    const int u1 = std::min(sizeU - 1, last + reach_);
    const int v0 = std::max(0, fixed - reach_);
    const int v1 = std::min(sizeV - 1, fixed + reach_);
    const int top = static_cast<int>(levels_.size());
    if (top == 0) {
        for (int u = u0; u <= u1; ++u)
            for (int v = v0; v <= v1; ++v) consider(u, v);
    } else {
        struct Node {
            double bound;  // no cell of the block gives any centre more than this
            int level;
            int bu;
            int bv;
        };
        // The top blocks are at least half as wide as the footprint and the
        // batch together, so there are at most five a side; each level below
        // adds at most four entries.
        std::array<Node, 128> stack;
        int size = 0;
        // A block lives while one of its cells might beat what some centre
        // has: its highest cell at the nearest distance any of its cells has
        // from that centre.
        auto evaluate = [&](int level, int bu, int bv, Node& node) {
            const int bu0 = bu << level;
            const int bu1 = std::min(sizeU, (bu + 1) << level) - 1;
            const int bv0 = bv << level;
            const int bv1 = std::min(sizeV, (bv + 1) << level) - 1;
            const int across = fixed < bv0 ? bv0 - fixed : (fixed > bv1 ? fixed - bv1 : 0);
            if (across > reach_) return false;
            const double highest = maxAt(level, bu, bv);
            const double* row = profileRow(across, alongX);
            // Beats no centre even at its nearest distance from the whole batch.
            if (highest - row[std::min(std::max({bu0 - last, first - bu1, 0}), clampAlong)] <= lowestBest)
                return false;
            bool alive = false;
            double bound = -kInfinity;
            for (int k = 0; k < count; ++k) {
                const int c = first + k;
                const int along = std::min(std::max({bu0 - c, c - bu1, 0}), clampAlong);
                const double b = highest - row[along];
                alive |= b > best[k];
                bound = std::max(bound, b);
            }
            node = {bound, level, bu, bv};
            return alive;
        };
        auto pushSorted = [&](Node* nodes, int n) {
            if (size + n > static_cast<int>(stack.size())) throw std::logic_error("Tip Z search stack overflow");
            for (int i = 1; i < n; ++i)  // a handful of entries: insertion sort, most promising last
                for (int j = i; j > 0 && nodes[j].bound < nodes[j - 1].bound; --j) std::swap(nodes[j], nodes[j - 1]);
            for (int i = 0; i < n; ++i) stack[size++] = nodes[i];
        };
        {
            std::array<Node, 32> roots;
            int n = 0;
            if (((u1 >> top) - (u0 >> top) + 1) * ((v1 >> top) - (v0 >> top) + 1) > static_cast<int>(roots.size()))
                throw std::logic_error("Tip Z search: too many top blocks");
            for (int bu = u0 >> top; bu <= u1 >> top; ++bu)
                for (int bv = v0 >> top; bv <= v1 >> top; ++bv)
                    if (evaluate(top, bu, bv, roots[n])) ++n;
            pushSorted(roots.data(), n);
        }
        while (size > 0) {
            const Node node = stack[--size];
            if (node.bound <= lowestBest) continue;
            const int childLevel = node.level - 1;
            if (childLevel == 0) {
                for (int i = 0; i < 2; ++i)
                    for (int j = 0; j < 2; ++j) {
                        const int u = 2 * node.bu + i;
                        const int v = 2 * node.bv + j;
                        if (u < sizeU && v < sizeV) consider(u, v);
                    }
                lowestBest = *std::min_element(best.begin(), best.begin() + count);
                continue;
            }
            const Level& level = levels_[childLevel - 1];
            const int levelU = alongX ? level.width : level.height;
            const int levelV = alongX ? level.height : level.width;
            std::array<Node, 4> children;
            int n = 0;
            for (int i = 0; i < 2; ++i)
                for (int j = 0; j < 2; ++j) {
                    const int u = 2 * node.bu + i;
                    const int v = 2 * node.bv + j;
                    if (u < levelU && v < levelV && evaluate(childLevel, u, v, children[n])) ++n;
                }
            pushSorted(children.data(), n);
        }
    }
    for (int k = 0; k < count; ++k) {
        out[k] = RoundUp(best[k] + profile_.stockAllowance());
        contacts[k] = {foundU[k], foundV[k]};
    }
    contactCount = count;
}

float GougeFreeDepth::tipZBruteForce(int x, int y) const {
    const int width = map_.width();
    const int height = map_.height();
    double bestAbove = -kInfinity;
    double bestBelow = -kInfinity;
    for (int dx = -reach_; dx <= reach_; ++dx) {
        const float* column = map_.column(std::clamp(x + dx, 0, width - 1));
        const int chord = chordHalf_[std::abs(dx)];
        // The two halves of the chord, walked outward from the centre row.
        for (int dy = 0; dy <= chord; ++dy) {
            const double p = offsetHeight(dx, dy);
            bestAbove = std::max(bestAbove, static_cast<double>(column[std::min(y + dy, height - 1)]) - p);
            bestBelow = std::max(bestBelow, static_cast<double>(column[std::max(y - dy, 0)]) - p);
        }
    }
    return RoundUp(std::max(bestAbove, bestBelow) + profile_.stockAllowance());
}

double GougeFreeDepth::segmentClearanceZ(int ax, int ay, int bx, int by) const {
    const int x0 = std::max(0, std::min(ax, bx) - reach_);
    const int x1 = std::min(map_.width() - 1, std::max(ax, bx) + reach_);
    const int y0 = std::max(0, std::min(ay, by) - reach_);
    const int y1 = std::min(map_.height() - 1, std::max(ay, by) + reach_);
    // Offsets along Y scaled to cells along X, where distances are plain.
    const double ux = bx - ax;
    const double uy = (by - ay) * aspect_;
    const double length2 = ux * ux + uy * uy;
    double best = -kInfinity;
    for (int cx = x0; cx <= x1; ++cx)
        for (int cy = y0; cy <= y1; ++cy) {
            const double wx = cx - ax;
            const double wy = (cy - ay) * aspect_;
            double t = length2 > 0.0 ? (wx * ux + wy * uy) / length2 : 0.0;
            t = std::clamp(t, 0.0, 1.0);
            const double dx = wx - t * ux;
            const double dy = wy - t * uy;
            best = std::max(
                best, static_cast<double>(map_.at(cx, cy)) - grownHeight(std::sqrt(dx * dx + dy * dy) * pixelSize_));
        }
    return best + profile_.stockAllowance();
}

// The cell's limit on the tip along the move, less the straight line between
// the two tips, is concave in the move's parameter t (the profile is convex and
// non-decreasing, the distance convex in t), so its largest value is found by
// narrowing a bracket; what is returned bounds the whole last bracket from
// above, so it is never less than the true need.
double GougeFreeDepth::cellSweptLift(int cx, int cy, int ax, int ay, double tipA, int bx, int by, double tipB,
                                     double beat) const {
    const double h = static_cast<double>(map_.at(cx, cy)) + profile_.stockAllowance();
    // Offsets along Y scaled to cells along X, where distances are plain.
    const double wx = cx - ax;
    const double wy = (cy - ay) * aspect_;
    const double ux = bx - ax;
    const double uy = (by - ay) * aspect_;
    const double length2 = ux * ux + uy * uy;
    auto distance = [&](double t) {
        const double dx = wx - t * ux;
        const double dy = wy - t * uy;
        return std::sqrt(dx * dx + dy * dy) * pixelSize_;
    };
    auto line = [&](double t) { return tipA + t * (tipB - tipA); };
    // Nearest distance from the cell to the part [l, r] of the move.
    auto nearest = [&](double l, double r) { return distance(std::clamp((wx * ux + wy * uy) / length2, l, r)); };

    const double lowTip = std::min(tipA, tipB);
    if (!(h - grownHeight(nearest(0.0, 1.0)) - lowTip > beat)) return beat;

    // The part of the move over which the cell lies within reach.
    const double reach = reachRadius_ / pixelSize_;
    const double middle = (wx * ux + wy * uy) / length2;
    const double offset2 = std::max(0.0, (wx * wx + wy * wy) / length2 - middle * middle);
    const double half = std::sqrt(std::max(0.0, reach * reach / length2 - offset2));
    const double t0 = std::max(0.0, middle - half);
    const double t1 = std::min(1.0, middle + half);
    if (!(t0 <= t1)) return beat;

    auto value = [&](double t) { return h - grownHeight(std::min(distance(t), reachRadius_)) - line(t); };
    // Tangents at both ends bound a concave function from above.
    auto rate = [&](double t) {  // d value / dt, taking the steeper profile at joints
        const double rho = distance(t);
        const double rhoRate =
            rho > 0.0 ? ((t * ux - wx) * ux + (t * uy - wy) * uy) * pixelSize_ * pixelSize_ / rho : 0.0;
        return -grownSlope(rho) * rhoRate - (tipB - tipA);
    };
    const double width = t1 - t0;
    const double startRate = rate(t0);
    const double endRate = rate(t1);
    // A vertical arc at the rim gives no tangent (infinity times 0): no bound then.
    const double fromStart = std::isnan(startRate) ? kInfinity : value(t0) + std::max(0.0, startRate) * width;
    const double fromEnd = std::isnan(endRate) ? kInfinity : value(t1) + std::max(0.0, -endRate) * width;
    if (!(std::min(fromStart, fromEnd) > beat)) return beat;

    // The largest value lies where the rate turns from rising to falling:
    // narrowed by the secant of the rates (halving where a rate is no
    // number), and bounded above by where the tangents at both ends of the
    // bracket meet.
    double l = t0;
    double r = t1;
    double vl = value(l);
    double vr = value(r);
    double rl = startRate;
    double rr = endRate;
    double upper = std::min(fromStart, fromEnd);
    for (int step = 0; step < kSweepSteps; ++step) {
        if (!(rl > 0.0)) return std::max(beat, std::min(upper, vl));  // falling from l on
        if (!(rr < 0.0)) return std::max(beat, std::min(upper, vr));  // rising up to r
        if (std::isfinite(rl) && std::isfinite(rr)) {
            const double meet = std::clamp((vr - vl + rl * l - rr * r) / (rl - rr), l, r);
            upper = std::min(upper, vl + rl * (meet - l));
        }
        if (upper - std::max(vl, vr) <= kSweepTolerance || !(upper > beat)) break;
        double m = std::isfinite(rl) && std::isfinite(rr) ? l + rl * (r - l) / (rl - rr) : 0.5 * (l + r);
        if (!(m > l && m < r) || step % 4 == 3) m = 0.5 * (l + r);  // halving keeps the bracket shrinking
        const double rm = rate(m);
        const double vm = value(m);
        if (rm > 0.0 || std::isnan(rm)) {
            l = m, vl = vm, rl = std::isnan(rm) ? kInfinity : rm;
        } else {
            r = m, vr = vm, rr = rm;
        }
    }
    const double bound = h - grownHeight(std::min(nearest(l, r), reachRadius_)) - std::min(line(l), line(r));
    return std::max(beat, std::min(bound, upper));
}

double GougeFreeDepth::sweptLift(int ax, int ay, double tipA, int bx, int by, double tipB) const {
    if (ax == bx && ay == by) return 0.0;
    const double tips[2] = {tipA, tipB};
    double lift = 0.0;
    if (std::abs(bx - ax) + std::abs(by - ay) == 1)
        sweptLiftRun(ax, ay, bx - ax, by - ay, 1, tips, &lift);
    else
        sweptLiftBatch(ax, ay, bx - ax, by - ay, 1, tips, &lift);
    return lift;
}

void GougeFreeDepth::sweptLiftRun(int x, int y, int stepX, int stepY, int moves, const double* tips,
                                  double* lifts) const {
    assert(std::abs(stepX) + std::abs(stepY) == 1);
    for (int done = 0; done < moves; done += kSweepBatch)
        sweptLiftBatch(x + done * stepX, y + done * stepY, stepX, stepY, std::min(kSweepBatch, moves - done),
                       tips + done, lifts + done);
}

// Moves m = 0..count-1 from point m to point m + 1, point k at
// (x + k stepX, y + k stepY), searched together: a block of the pyramid lives
// while it could demand more than some move has found.
void GougeFreeDepth::sweptLiftBatch(int x, int y, int stepX, int stepY, int count, const double* tips,
                                    double* lifts) const {
    const double stock = profile_.stockAllowance();
    std::array<double, kSweepBatch> lowTip;  // the lower tip of each move, less the stock
    for (int m = 0; m < count; ++m) {
        lowTip[m] = std::min(tips[m], tips[m + 1]) - stock;
        lifts[m] = 0.0;
    }
    const bool unitSteps = std::abs(stepX) + std::abs(stepY) == 1;
    // On a move of one cell a level move needs nothing (see below), so the
    // search only serves the moves up and down.
    std::array<signed char, kSweepBatch> slope;  // +1 up, -1 down, 0 level
    double threshold = kInfinity;
    for (int m = 0; m < count; ++m) {
        slope[m] = tips[m + 1] > tips[m] ? 1 : (tips[m + 1] < tips[m] ? -1 : 0);
        if (slope[m] != 0 || !unitSteps) threshold = std::min(threshold, lowTip[m]);
    }
    if (threshold == kInfinity) return;
    const int endX = x + count * stepX;
    const int endY = y + count * stepY;
    const int sx0 = std::min(x, endX);
    const int sx1 = std::max(x, endX);
    const int sy0 = std::min(y, endY);
    const int sy1 = std::max(y, endY);
    int x0 = std::max(0, sx0 - reach_);
    int x1 = std::min(map_.width() - 1, sx1 + reach_);
    int y0 = std::max(0, sy0 - reach_);
    int y1 = std::min(map_.height() - 1, sy1 + reach_);
    if (unitSteps) {
        // A move up only sees cells from its end on, a move down only cells
        // up to its start (see below): the cells along the run that any
        // move can see, counted from point 0.
        int uLo = std::numeric_limits<int>::max();
        int uHi = std::numeric_limits<int>::min();
        for (int m = 0; m < count; ++m) {
            if (slope[m] == 0) continue;
            uLo = std::min(uLo, slope[m] > 0 ? m + 1 : m - reach_);
            uHi = std::max(uHi, slope[m] > 0 ? m + 1 + reach_ : m);
        }
        const int direction = stepX != 0 ? stepX : stepY;
        const int origin = stepX != 0 ? x : y;
        int& lo = stepX != 0 ? x0 : y0;
        int& hi = stepX != 0 ? x1 : y1;
        const int from = direction > 0 ? origin + uLo : origin - uHi;
        const int to = direction > 0 ? origin + uHi : origin - uLo;
        lo = std::max(lo, from);
        hi = std::min(hi, to);
    }

    // For a move of one cell along X or Y, as raster lines make them, each
    // cell's limit and its rate of change at both ends come from the tables,
    // and a concave function lies below its tangents there (at an end where
    // the cell is under the cutter). Cells lie behind the move's start or
    // beyond its end, and a cell's limit only falls as the cutter moves away
    // from it: on a move up only cells beyond its end, on a move down only
    // cells behind its start can ask for more than the straight line, and on
    // a level move none can.
    const bool alongX = stepY == 0;
    const int direction = alongX ? stepX : stepY;
    const auto stride = static_cast<std::size_t>(rowStride());
    auto tangentBound = [&](double h, int alongA, int across, double tipA, double tipB) {
        const double rise = tipB - tipA;
        double bound = kInfinity;
        for (int end = 0; end < 2; ++end) {
            const int along = alongA - end;
            const int distance = std::min(std::abs(along), reach_ + 1);
            const double height = profileRow(across, alongX)[distance];
            if (height == kInfinity) continue;
            const double slope = slopesAlong(alongX)[across * stride + distance];
            const double rate = (along < 0 ? -slope : slope) - rise;
            bound = std::min(
                bound, end == 0 ? h - height - tipA + std::max(0.0, rate) : h - height - tipB + std::max(0.0, -rate));
        }
        return bound;
    };
    auto considerCell = [&](int cx, int cy) {
        const double h = static_cast<double>(map_.at(cx, cy));
        if (!unitSteps) {
            lifts[0] = cellSweptLift(cx, cy, x, y, tips[0], x + stepX, y + stepY, tips[1], lifts[0]);
            threshold = lowTip[0] + lifts[0];
            return;
        }
        const int across = std::abs(alongX ? cy - y : cx - x);
        if (across > reach_) return;
        const int along0 = (alongX ? cx - x : cy - y) * direction;  // from point 0, along the moves
        const double* row = profileRow(across, alongX);
        // Only moves that pass within `gap` cells along can see the cell
        // above the threshold at all (the profile grows with the distance).
        const int gap = static_cast<int>(std::lower_bound(row, row + reach_ + 2, h - threshold) - row) - 1;
        const int first = std::max(0, along0 - gap - 1);
        const int last = std::min(count - 1, along0 + gap);
        bool changed = false;
        // Moves up see the cell when it lies beyond their end (m < along0),
        // moves down when it lies behind their start (m >= along0).
        for (int m = first; m <= last; ++m) {
            if (slope[m] != (m < along0 ? 1 : -1)) continue;
            const int along = along0 - m;  // from the start of move m
            const int gap = along < 0 ? -along : (along > 1 ? along - 1 : 0);
            if (!(h - row[std::min(gap, reach_ + 1)] - lowTip[m] > lifts[m])) continue;
            if (!(tangentBound(h + stock, along, across, tips[m], tips[m + 1]) > lifts[m])) continue;
            const int ax = x + m * stepX;
            const int ay = y + m * stepY;
            lifts[m] = cellSweptLift(cx, cy, ax, ay, tips[m], ax + stepX, ay + stepY, tips[m + 1], lifts[m]);
            changed = true;
        }
        if (changed) {
            threshold = kInfinity;
            for (int m = 0; m < count; ++m)
                if (slope[m] != 0) threshold = std::min(threshold, lowTip[m] + lifts[m]);
        }
    };
    // A block lives while its highest cell, at the block's nearest distance
    // from the moves' bounding box, could demand more than some move found.
    auto alive = [&](int level, int bx0, int by0) {
        const int cx0 = bx0 << level;
        const int cx1 = std::min(map_.width(), (bx0 + 1) << level) - 1;
        const int cy0 = by0 << level;
        const int cy1 = std::min(map_.height(), (by0 + 1) << level) - 1;
        const int gx = cx1 < sx0 ? sx0 - cx1 : (cx0 > sx1 ? cx0 - sx1 : 0);
        const int gy = cy1 < sy0 ? sy0 - cy1 : (cy0 > sy1 ? cy0 - sy1 : 0);
        const double highest = blockMax(level, bx0, by0);
        if (!(highest - offsetHeight(gx, gy) > threshold)) return false;
        if (!unitSteps || level == 0) return true;
        // Move by move: the block's nearest distance to each move.
        const int across = alongX ? gy : gx;
        const int u0 = alongX ? (direction > 0 ? cx0 - x : x - cx1) : (direction > 0 ? cy0 - y : y - cy1);
        const int u1 = u0 + (alongX ? cx1 - cx0 : cy1 - cy0);
        const double* row = profileRow(across, alongX);
        // Moves up whose end lies before the block's far side, moves down
        // whose start lies at or past its near side.
        const int lastUp = std::min(count - 1, u1 - 1);
        for (int m = 0; m <= lastUp; ++m) {
            if (slope[m] <= 0) continue;
            const int along = u0 > m + 1 ? u0 - m - 1 : 0;
            if (highest - row[std::min(along, reach_ + 1)] - lowTip[m] > lifts[m]) return true;
        }
        for (int m = std::max(0, u0); m < count; ++m) {
            if (slope[m] >= 0) continue;
            const int along = u1 < m ? m - u1 : 0;
            if (highest - row[std::min(along, reach_ + 1)] - lowTip[m] > lifts[m]) return true;
        }
        return false;
    };
    struct Block {
        int level, bx, by;
    };
    // A run of moves spans a handful of top blocks a side (they are over half
    // as wide as the footprint); a long link between two lines may span many.
    // Kept per thread: a job makes one batch every eight moves.
    thread_local std::vector<Block> stack;
    stack.clear();
    auto push = [&](Block block) { stack.push_back(block); };
    const int top = static_cast<int>(levels_.size());
    for (int bx0 = x0 >> top; bx0 <= x1 >> top; ++bx0)
        for (int by0 = y0 >> top; by0 <= y1 >> top; ++by0) push({top, bx0, by0});
    while (!stack.empty()) {
        const Block block = stack.back();
        stack.pop_back();
        if (!alive(block.level, block.bx, block.by)) continue;
        if (block.level == 0) {
            considerCell(block.bx, block.by);
            continue;
        }
        if (block.level == 1) {
            // The four cells at once, in the order the stack would give them.
            for (int i = 1; i >= 0; --i)
                for (int j = 1; j >= 0; --j) {
                    const int cx = 2 * block.bx + i;
                    const int cy = 2 * block.by + j;
                    if (cx < map_.width() && cy < map_.height() && cx >= x0 && cx <= x1 && cy >= y0 && cy <= y1 &&
                        alive(0, cx, cy))
                        considerCell(cx, cy);
                }
            continue;
        }
        const int level = block.level - 1;
        const int width = level == 0 ? map_.width() : levels_[level - 1].width;
        const int height = level == 0 ? map_.height() : levels_[level - 1].height;
        for (int i = 0; i < 2; ++i)
            for (int j = 0; j < 2; ++j) {
                const int cx = 2 * block.bx + i;
                const int cy = 2 * block.by + j;
                if (cx < width && cy < height && ((cx + 1) << level) - 1 >= x0 && (cx << level) <= x1 &&
                    ((cy + 1) << level) - 1 >= y0 && (cy << level) <= y1)
                    push({level, cx, cy});
            }
    }
}

}  // namespace calvoro

#include "engine/toolpath/GougeFreeDepth.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "engine/toolpath/ToolPathError.h"

namespace calvoro {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Cutters whose quadrant table would exceed this many entries compute the
// profile height on every visit instead.
constexpr std::size_t kMaxTableEntries = std::size_t{1} << 20;

// A footprint wider than this many cells is a typing error, not a cutter.
constexpr double kMaxReach = 1 << 20;

}  // namespace

GougeFreeDepth::GougeFreeDepth(const HeightMap& map, const CutterProfile& profile, double pixelSize)
    : map_(map), profile_(profile), pixelSize_(pixelSize) {
    if (!(pixelSize > 0.0) || !std::isfinite(pixelSize)) throw ToolPathError("The pixel size must be greater than 0.");
    if (map.empty()) throw ToolPathError("There is no relief to machine.");
    const double reach = std::floor(profile.outerRadius() / pixelSize) + 1.0;
    if (!(reach < kMaxReach)) throw ToolPathError("The cutter is far too large for the size of the pixels.");
    reach_ = static_cast<int>(reach);

    const auto side = static_cast<std::size_t>(reach_) + 1;
    if (side * side <= kMaxTableEntries) {
        offsetHeights_.resize(side * side);
        for (int dx = 0; dx <= reach_; ++dx)
            for (int dy = 0; dy <= reach_; ++dy) offsetHeights_[dx * side + dy] = computeOffsetHeight(dx, dy);
    }

    // Blocks at the top level are at most as wide as the footprint radius, so
    // a footprint spans a handful of them whatever the cutter size.
    const int topLevel = std::max(0, static_cast<int>(std::bit_width(static_cast<unsigned>(reach_))) - 1);
    int width = map.width();
    int height = map.height();
    for (int level = 1; level <= topLevel; ++level) {
        Level next;
        next.width = (width + 1) / 2;
        next.height = (height + 1) / 2;
        next.maxima.resize(static_cast<std::size_t>(next.width) * next.height);
        for (int bx = 0; bx < next.width; ++bx)
            for (int by = 0; by < next.height; ++by) {
                float m = -std::numeric_limits<float>::infinity();
                for (int i = 0; i < 2; ++i)
                    for (int j = 0; j < 2; ++j) {
                        const int cx = 2 * bx + i;
                        const int cy = 2 * by + j;
                        if (cx < width && cy < height) m = std::max(m, blockMax(level - 1, cx, cy));
                    }
                next.maxima[static_cast<std::size_t>(bx) * next.height + by] = m;
            }
        width = next.width;
        height = next.height;
        levels_.push_back(std::move(next));
        if (width == 1 && height == 1) break;
    }
}

double GougeFreeDepth::computeOffsetHeight(int adx, int ady) const {
    if (adx > reach_ || ady > reach_) return kInfinity;
    const double rho = std::sqrt(static_cast<double>(adx) * adx + static_cast<double>(ady) * ady) * pixelSize_;
    if (rho > profile_.outerRadius()) return kInfinity;
    return profile_.height(rho);
}

double GougeFreeDepth::offsetHeight(int dx, int dy) const {
    const int adx = std::abs(dx);
    const int ady = std::abs(dy);
    if (offsetHeights_.empty()) return computeOffsetHeight(adx, ady);
    if (adx > reach_ || ady > reach_) return kInfinity;
    return offsetHeights_[static_cast<std::size_t>(adx) * (reach_ + 1) + ady];
}

float GougeFreeDepth::blockMax(int level, int bx, int by) const {
    if (level == 0) return map_.at(bx, by);
    const Level& l = levels_[level - 1];
    return l.maxima[static_cast<std::size_t>(bx) * l.height + by];
}

float GougeFreeDepth::RoundUp(double value) {
    float rounded = static_cast<float>(value);
    if (static_cast<double>(rounded) < value) rounded = std::nextafter(rounded, std::numeric_limits<float>::infinity());
    return rounded;
}

float GougeFreeDepth::tipZ(int x, int y) const {
    Contact unused;
    return tipZ(x, y, unused);
}

float GougeFreeDepth::tipZ(int x, int y, Contact& contact) const {
    const int width = map_.width();
    const int height = map_.height();
    assert(x >= 0 && x < width && y >= 0 && y < height);

    double best = -kInfinity;
    Contact found{x, y};
    auto consider = [&](int cx, int cy) {
        const double value = static_cast<double>(map_.at(cx, cy)) - offsetHeight(cx - x, cy - y);
        if (value > best) {
            best = value;
            found = {cx, cy};
        }
    };
    consider(x, y);
    if (contact.x >= 0 && contact.x < width && contact.y >= 0 && contact.y < height) consider(contact.x, contact.y);

    const int x0 = std::max(0, x - reach_);
    const int x1 = std::min(width - 1, x + reach_);
    const int y0 = std::max(0, y - reach_);
    const int y1 = std::min(height - 1, y + reach_);
    const int top = static_cast<int>(levels_.size());
    if (top == 0) {
        for (int cx = x0; cx <= x1; ++cx)
            for (int cy = y0; cy <= y1; ++cy) consider(cx, cy);
    } else {
        struct Node {
            double bound;
            int level;
            int bx;
            int by;
        };
        // Bounded: the top level spans at most six blocks a side, and each
        // level below adds at most four.
        std::array<Node, 256> stack;
        int size = 0;
        // Largest value any footprint cell of the block can give: the block's
        // highest cell at the nearest distance any of its cells has.
        auto bound = [&](int level, int bx, int by) {
            const int bx0 = bx << level;
            const int bx1 = std::min(width, (bx + 1) << level) - 1;
            const int by0 = by << level;
            const int by1 = std::min(height, (by + 1) << level) - 1;
            const int ndx = x < bx0 ? bx0 - x : (x > bx1 ? x - bx1 : 0);
            const int ndy = y < by0 ? by0 - y : (y > by1 ? y - by1 : 0);
            return static_cast<double>(blockMax(level, bx, by)) - offsetHeight(ndx, ndy);
        };
        // Pushes the candidates of one expansion so that the most promising
        // one is taken first.
        auto pushSorted = [&](Node* first, int count) {
            std::sort(first, first + count, [](const Node& a, const Node& b) { return a.bound < b.bound; });
            for (int i = 0; i < count; ++i) {
                assert(size < static_cast<int>(stack.size()));
                stack[size++] = first[i];
            }
        };
        {
            std::array<Node, 64> roots;
            int count = 0;
            for (int bx = x0 >> top; bx <= x1 >> top; ++bx)
                for (int by = y0 >> top; by <= y1 >> top; ++by) {
                    const double b = bound(top, bx, by);
                    if (b > best) {
                        assert(count < static_cast<int>(roots.size()));
                        roots[count++] = {b, top, bx, by};
                    }
                }
            pushSorted(roots.data(), count);
        }
        while (size > 0) {
            const Node node = stack[--size];
            if (node.bound <= best) continue;
            const int childLevel = node.level - 1;
            std::array<Node, 4> children;
            int count = 0;
            for (int i = 0; i < 2; ++i)
                for (int j = 0; j < 2; ++j) {
                    const int cx = 2 * node.bx + i;
                    const int cy = 2 * node.by + j;
                    if (childLevel == 0) {
                        if (cx < width && cy < height) consider(cx, cy);
                        continue;
                    }
                    const Level& level = levels_[childLevel - 1];
                    if (cx >= level.width || cy >= level.height) continue;
                    const double b = bound(childLevel, cx, cy);
                    if (b > best) children[count++] = {b, childLevel, cx, cy};
                }
            pushSorted(children.data(), count);
        }
    }
    contact = found;
    return RoundUp(best + profile_.stockAllowance());
}

float GougeFreeDepth::tipZBruteForce(int x, int y) const {
    double best = -kInfinity;
    for (int dx = -reach_; dx <= reach_; ++dx)
        for (int dy = -reach_; dy <= reach_; ++dy) {
            const double p = offsetHeight(dx, dy);
            if (p == kInfinity) continue;
            best = std::max(best, static_cast<double>(map_.clampedAt(x + dx, y + dy)) - p);
        }
    return RoundUp(best + profile_.stockAllowance());
}

double GougeFreeDepth::segmentClearanceZ(int ax, int ay, int bx, int by) const {
    const int x0 = std::max(0, std::min(ax, bx) - reach_);
    const int x1 = std::min(map_.width() - 1, std::max(ax, bx) + reach_);
    const int y0 = std::max(0, std::min(ay, by) - reach_);
    const int y1 = std::min(map_.height() - 1, std::max(ay, by) + reach_);
    const double ux = bx - ax;
    const double uy = by - ay;
    const double length2 = ux * ux + uy * uy;
    double best = -kInfinity;
    for (int cx = x0; cx <= x1; ++cx)
        for (int cy = y0; cy <= y1; ++cy) {
            const double wx = cx - ax;
            const double wy = cy - ay;
            double t = length2 > 0.0 ? (wx * ux + wy * uy) / length2 : 0.0;
            t = std::clamp(t, 0.0, 1.0);
            const double dx = wx - t * ux;
            const double dy = wy - t * uy;
            const double rho = std::sqrt(dx * dx + dy * dy) * pixelSize_;
            if (rho > profile_.outerRadius()) continue;
            best = std::max(best, static_cast<double>(map_.at(cx, cy)) - profile_.height(rho));
        }
    return best + profile_.stockAllowance();
}

}  // namespace calvoro

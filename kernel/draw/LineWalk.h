// The pixels of a straight line, one per step along its major axis, from the
// start up to but excluding the end. Dashed lines and one-pixel pens are drawn
// with it, so that a line never sets its last pixel and the next segment of a
// polyline starts exactly there.
#pragma once

#include "kernel/geometry/PixelTypes.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace calvoro {

class LineWalk {
public:
    LineWalk(TPixelPoint from, TPixelPoint to)
        : from_(from), dx_(std::int64_t{to.X} - from.X), dy_(std::int64_t{to.Y} - from.Y) {
        steps_ = std::max(std::llabs(dx_), std::llabs(dy_));
    }

    // Number of pixels visited; 0 for a line that ends where it starts.
    std::int64_t Steps() const { return steps_; }
    // X is the major axis when the line is wider than tall; a diagonal is Y-major.
    bool XMajor() const { return std::llabs(dx_) > std::llabs(dy_); }

    TPixelPoint At(std::int64_t step) const {
        return TPixelPoint{static_cast<int>(from_.X + Offset(step, dx_)),
                           static_cast<int>(from_.Y + Offset(step, dy_))};
    }

    // The steps [first, last) whose pixels lie inside rect (right and bottom
    // exclusive); first == last when none does. Both coordinates move
    // monotonically with the step, so each bound is found by bisection.
    std::pair<std::int64_t, std::int64_t> StepsInside(const TPixelRect& rect) const {
        if (rect.IsEmpty() || steps_ == 0) return {0, 0};
        std::int64_t first = 0, last = steps_;
        Narrow(first, last, from_.X, dx_, rect.Left, std::int64_t{rect.Right} - 1);
        Narrow(first, last, from_.Y, dy_, rect.Top, std::int64_t{rect.Bottom} - 1);
        return {first, last > first ? last : first};
    }

private:
    // step * delta / steps rounded half up, towards larger coordinates: the
    // pixel is the one nearest to the exact point, and a line and its reverse
    // visit the same pixels.
    std::int64_t Offset(std::int64_t step, std::int64_t delta) const {
        if (steps_ == 0) return 0;
        using Wide = __int128;  // wide enough for any pair of int coordinates
        const Wide numerator = Wide{2} * step * delta + steps_;
        const Wide denominator = Wide{2} * steps_;
        Wide quotient = numerator / denominator;
        if (numerator % denominator != 0 && numerator < 0) --quotient;  // floor, not truncation
        return static_cast<std::int64_t>(quotient);
    }

    // Keeps within [first, last) the steps whose coordinate start + Offset(step,
    // delta) lies in [low, high].
    void Narrow(std::int64_t& first, std::int64_t& last, std::int64_t start, std::int64_t delta, std::int64_t low,
                std::int64_t high) const {
        const auto at = [&](std::int64_t step) { return start + Offset(step, delta); };
        // The first step at or past the near bound, and the first step beyond the far one.
        const auto firstWhere = [&](auto predicate) {
            std::int64_t lo = first, hi = last;
            while (lo < hi) {
                const std::int64_t mid = lo + (hi - lo) / 2;
                if (predicate(at(mid)))
                    hi = mid;
                else
                    lo = mid + 1;
            }
            return lo;
        };
        if (delta >= 0) {
            const std::int64_t begin = firstWhere([&](std::int64_t c) { return c >= low; });
            const std::int64_t end = firstWhere([&](std::int64_t c) { return c > high; });
            first = begin;
            last = end;
        } else {
            const std::int64_t begin = firstWhere([&](std::int64_t c) { return c <= high; });
            const std::int64_t end = firstWhere([&](std::int64_t c) { return c < low; });
            first = begin;
            last = end;
        }
    }

    TPixelPoint from_;
    std::int64_t dx_, dy_, steps_ = 0;
};

// Calls visit(pixel) for every pixel of the line, start included, end excluded.
template <class Visit>
void WalkLine(TPixelPoint from, TPixelPoint to, Visit&& visit) {
    const LineWalk walk(from, to);
    for (std::int64_t step = 0; step < walk.Steps(); ++step) visit(walk.At(step));
}

}  // namespace calvoro

// The decorative pen's pattern and its pixel walk.
#include "kernel/draw/DecorativePen.h"

#include "kernel/draw/LineWalk.h"
#include "kernel/model/CADCoreExceptions.h"

#include <cstdlib>

namespace calvoro {

void TDecorativePen::SetPattern(std::string_view text) {
    if (text.size() > MaxPatternLength) {
        throw ECADOutOfBound("TDecorativePen.SetPattern: A pattern holds at most 65535 bits.");
    }
    pattern_.assign(text.size(), false);
    for (std::size_t i = 0; i < text.size(); ++i) pattern_[i] = text[i] == '1';
}

bool TDecorativePen::GetBit(int index) const {
    return index >= 0 && static_cast<std::size_t>(index) < pattern_.size() && pattern_[static_cast<std::size_t>(index)];
}

void TDecorativePen::SetBit(int index, bool on) {
    if (index < 0 || index >= MaxPatternLength) {
        throw ECADOutOfBound("TDecorativePen.SetBit: A pattern holds at most 65535 bits.");
    }
    const auto at = static_cast<std::size_t>(index);
    if (at >= pattern_.size()) pattern_.resize(at + 1, false);
    pattern_[at] = on;
}

void TDecorativePen::Assign(const TDecorativePen& source) {
    if (&source != this) pattern_ = source.pattern_;
}

void TDecorativePen::MoveTo(Canvas& canvas, int x, int y) {
    if (pattern_.empty()) {
        canvas.MoveTo(x, y);
        return;
    }
    runStart_ = segmentEnd_ = lastPixel_ = TPixelPoint{x, y};
    position_ = 0;
}

void TDecorativePen::LineTo(Canvas& canvas, int x, int y) {
    if (pattern_.empty()) {
        canvas.LineTo(x, y);
        return;
    }
    const TPixelPoint end{x, y};
    WalkSegment(canvas, runStart_, end);
    runStart_ = lastPixel_ = end;
}

void TDecorativePen::Polyline(Canvas& canvas, std::span<const TPixelPoint> points) {
    if (pattern_.empty()) {
        canvas.Polyline(points);
        return;
    }
    if (points.size() < 2) return;
    position_ = 0;
    lastPixel_ = points[0];
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        // A run that goes round a corner is drawn on from the last pixel before it.
        runStart_ = i == 0 ? points[0] : lastPixel_;
        WalkSegment(canvas, points[i], points[i + 1]);
    }
}

void TDecorativePen::DrawRun(Canvas& canvas, TPixelPoint to) {
    const TPixelPoint run[] = {runStart_, to};
    canvas.Polyline(run);
}

void TDecorativePen::WalkSegment(Canvas& canvas, TPixelPoint from, TPixelPoint to) {
    segmentEnd_ = to;
    const LineWalk walk(from, to);
    const bool xMajor = walk.XMajor();
    const int length = static_cast<int>(pattern_.size());
    const auto major = [xMajor](TPixelPoint p) { return std::int64_t{xMajor ? p.X : p.Y}; };
    for (std::int64_t step = 0; step < walk.Steps(); ++step) {
        const TPixelPoint pixel = walk.At(step);
        const auto advance = static_cast<int>(std::llabs(major(pixel) - major(lastPixel_)) % length);
        const int next = (advance + position_) % length;
        lastPixel_ = pixel;
        // The previous pixel's bit against this pixel's: a run that was on ends
        // here and is drawn up to (the line leaving out) this pixel.
        const bool on = pattern_[static_cast<std::size_t>(position_)];
        const bool runEnds = on && !pattern_[static_cast<std::size_t>(next)];
        if (runEnds) DrawRun(canvas, pixel);
        if (!on) runStart_ = pixel;
        // The segment's last pixel closes the open run, unless that run has just
        // been drawn (twice would erase it under an XOR pen) or is empty.
        if (std::llabs(major(pixel) - major(segmentEnd_)) == 1 && !runEnds && !(runStart_ == pixel)) {
            DrawRun(canvas, pixel);
        }
        position_ = next;
    }
}

}  // namespace calvoro

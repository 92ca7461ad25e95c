// A dash pattern of on and off pixels, and the drawing that applies it: lines
// are walked pixel by pixel, the pattern advancing one bit per pixel along the
// major axis and carrying its phase from one segment to the next; each "on"
// run is drawn as a short polyline with the canvas's own pen, so the pen's
// colour, width and mode apply to the dashes. With an empty pattern the calls
// go straight to the canvas.
#pragma once

#include "kernel/draw/Canvas.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace calvoro {

class TDecorativePen {
public:
    static constexpr int MaxPatternLength = 65535;

    // Bit i is on when character i + 1 of the text is '1'; any other character
    // is off. Longer texts than MaxPatternLength are refused with ECADOutOfBound.
    void SetPattern(std::string_view text);
    // Off for bits past the pattern's length.
    bool GetBit(int index) const;
    // Setting a bit past the length lengthens the pattern to index + 1.
    void SetBit(int index, bool on);
    std::uint16_t PatternLength() const { return static_cast<std::uint16_t>(pattern_.size()); }
    void ClearPattern() { pattern_.clear(); }
    // Copies the pattern of another pen.
    void Assign(const TDecorativePen& source);

    void MoveTo(Canvas& canvas, int x, int y);
    void LineTo(Canvas& canvas, int x, int y);
    void Polyline(Canvas& canvas, std::span<const TPixelPoint> points);

private:
    void WalkSegment(Canvas& canvas, TPixelPoint from, TPixelPoint to);
    void DrawRun(Canvas& canvas, TPixelPoint to);

    std::vector<bool> pattern_;
    // Where the walk stands: the position in the pattern, the start of the run
    // being drawn, the end of the current segment and the last pixel visited.
    int position_ = 0;
    TPixelPoint runStart_;
    TPixelPoint segmentEnd_;
    TPixelPoint lastPixel_;
};

}  // namespace calvoro

// A canvas seen through a decorative pen: lines and polylines drawn through it
// follow the pen's dash pattern; everything else is drawn on Target() directly.
// The viewport selects a layer into it before drawing each object.
#pragma once

#include "kernel/draw/Canvas.h"
#include "kernel/draw/DecorativePen.h"

#include <span>

namespace calvoro {

class TDecorativeCanvas {
public:
    explicit TDecorativeCanvas(Canvas& target) : target_(&target) {}

    Canvas& Target() const { return *target_; }
    TDecorativePen& DecorativePen() { return pen_; }
    const TDecorativePen& DecorativePen() const { return pen_; }

    void MoveTo(int x, int y) { pen_.MoveTo(*target_, x, y); }
    void LineTo(int x, int y) { pen_.LineTo(*target_, x, y); }
    void Polyline(std::span<const TPixelPoint> points) { pen_.Polyline(*target_, points); }

private:
    Canvas* target_;
    TDecorativePen pen_;
};

}  // namespace calvoro

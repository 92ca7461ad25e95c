// The drawing state every canvas keeps.
#include "kernel/draw/Canvas.h"

#include <algorithm>

namespace calvoro {

void Canvas::SetPen(const PenAttributes& pen) {
    pen_ = pen;
    StateChanged();
}

void Canvas::SetBrush(const BrushAttributes& brush) {
    brush_ = brush;
    StateChanged();
}

void Canvas::SetFont(const FontDescription& font) {
    font_ = font;
    StateChanged();
}

void Canvas::SetBackgroundMode(BackgroundMode mode) {
    background_ = mode;
    StateChanged();
}

TPixelRect Canvas::ClipRect() const {
    const TPixelRect bounds = Bounds();
    if (!hasClip_) return bounds;
    return TPixelRect{std::max(bounds.Left, clip_.Left), std::max(bounds.Top, clip_.Top),
                      std::min(bounds.Right, clip_.Right), std::min(bounds.Bottom, clip_.Bottom)};
}

void Canvas::SetClipRect(const TPixelRect& clip) {
    clip_ = clip;
    hasClip_ = true;
    StateChanged();
}

void Canvas::ResetClipRect() {
    hasClip_ = false;
    StateChanged();
}

void Canvas::MoveTo(int x, int y) {
    penPos_ = TPixelPoint{x, y};
    DoMoveTo(penPos_);
}

void Canvas::LineTo(int x, int y) {
    const TPixelPoint from = penPos_;
    penPos_ = TPixelPoint{x, y};
    DoLine(from, penPos_);
}

}  // namespace calvoro

// A pixel surface a viewport draws on: the offscreen image that holds the
// drawing, or the screen image that the window shows (a copy of the offscreen
// image plus the XOR overlays). The viewport core knows only this interface;
// the GUI side implements it over its own images.
#pragma once

#include "kernel/draw/Canvas.h"
#include "kernel/geometry/PixelTypes.h"

namespace calvoro {

class ViewSurface {
public:
    virtual ~ViewSurface() = default;

    // New size in pixels (0 allowed); the contents are undefined afterwards.
    virtual void Resize(int width, int height) = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // The canvas over the surface; it keeps its pen, brush and font across resizes.
    virtual Canvas& GetCanvas() = 0;
    // A plain copy of the pixels of rect (clipped to both surfaces) from source,
    // which is a surface of the same kind and size.
    virtual void CopyRect(const ViewSurface& source, const TPixelRect& rect) = 0;
    // The same copy, except that pixels of source equal to keyColor are left
    // out (the destination keeps its own there).
    virtual void CopyRectTransparent(const ViewSurface& source, const TPixelRect& rect, TColor keyColor) = 0;
};

}  // namespace calvoro

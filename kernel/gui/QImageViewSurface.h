// A viewport surface over a QImage (RGB32) with the kernel's QPainter canvas.
#pragma once

#include "kernel/gui/QPainterCanvas.h"
#include "kernel/view/ViewSurface.h"

#include <QImage>

namespace calvoro {

class QImageViewSurface : public ViewSurface {
public:
    QImageViewSurface();

    void Resize(int width, int height) override;
    int Width() const override { return image_.width(); }
    int Height() const override { return image_.height(); }
    Canvas& GetCanvas() override { return canvas_; }
    void CopyRect(const ViewSurface& source, const TPixelRect& rect) override;
    void CopyRectTransparent(const ViewSurface& source, const TPixelRect& rect, TColor keyColor) override;

    const QImage& Image() const { return image_; }

private:
    QImage image_;
    QPainterCanvas canvas_;
};

}  // namespace calvoro

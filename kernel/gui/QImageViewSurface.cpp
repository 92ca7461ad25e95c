// The QImage surface.
#include "kernel/gui/QImageViewSurface.h"

#include <algorithm>
#include <cstring>

namespace calvoro {

namespace {

// rect cut to both images.
QRect Clipped(const TPixelRect& rect, const QImage& a, const QImage& b) {
    const int right = std::min({rect.Right, a.width(), b.width()});
    const int bottom = std::min({rect.Bottom, a.height(), b.height()});
    const int left = std::max(rect.Left, 0);
    const int top = std::max(rect.Top, 0);
    if (right <= left || bottom <= top) return {};
    return QRect(left, top, right - left, bottom - top);
}

}  // namespace

QImageViewSurface::QImageViewSurface() : image_(1, 1, QImage::Format_RGB32), canvas_(image_) {
    image_.fill(0);
}

void QImageViewSurface::Resize(int width, int height) {
    if (width == image_.width() && height == image_.height()) return;
    // A QImage of no pixels is null; the canvas keeps an image of at least
    // one pixel, and the viewport draws nothing while its size is empty.
    image_ = QImage(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    image_.fill(0);
    canvas_.ResetClipRect();
}

void QImageViewSurface::CopyRect(const ViewSurface& source, const TPixelRect& rect) {
    const QImage& from = static_cast<const QImageViewSurface&>(source).image_;
    const QRect r = Clipped(rect, from, image_);
    if (r.isEmpty()) return;
    const std::size_t bytes = static_cast<std::size_t>(r.width()) * 4;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        std::memcpy(image_.scanLine(y) + r.left() * 4, from.constScanLine(y) + r.left() * 4, bytes);
    }
}

void QImageViewSurface::CopyRectTransparent(const ViewSurface& source, const TPixelRect& rect, TColor keyColor) {
    const QImage& from = static_cast<const QImageViewSurface&>(source).image_;
    const QRect r = Clipped(rect, from, image_);
    if (r.isEmpty()) return;
    const TColor rgb = ColorToRGB(keyColor);
    const QRgb key = qRgb(RedOf(rgb), GreenOf(rgb), BlueOf(rgb)) & 0xFFFFFF;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(from.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(image_.scanLine(y));
        for (int x = r.left(); x <= r.right(); ++x) {
            if ((in[x] & 0xFFFFFF) != key) out[x] = in[x];
        }
    }
}

}  // namespace calvoro

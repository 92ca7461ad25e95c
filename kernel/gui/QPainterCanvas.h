// The kernel's Canvas on a QImage, with the pixel rules the kernel's drawing
// was written for: a line leaves out its last pixel, a rectangle covers Left
// .. Right - 1 and Top .. Bottom - 1, nothing is antialiased, and the pen mode
// combines colours bit by bit (pmXor drawn twice restores every pixel). Lines
// of one-pixel pens are set pixel by pixel from the kernel's own line walk;
// fills, wide pens, text and pictures go through QPainter with the matching
// raster operation. Text bytes are read as Windows-1252.
#pragma once

#include "kernel/draw/Canvas.h"

#include <QImage>
#include <QString>

#include <cstdint>

class QPainter;

namespace calvoro {

class QPainterCanvas : public Canvas {
public:
    // The image must be Format_RGB32 and outlive the canvas.
    explicit QPainterCanvas(QImage& image);

    QImage& Image() const { return *image_; }
    TPixelRect Bounds() const override;

    void Polyline(std::span<const TPixelPoint> points) override;
    void Polygon(std::span<const TPixelPoint> points) override;
    void Rectangle(const TPixelRect& rect) override;
    void FillRect(const TPixelRect& rect) override;
    void TextOut(int x, int y, std::string_view text) override;
    TPixelPoint TextExtent(std::string_view text) const override;
    int DrawText(TPixelRect& rect, std::string_view text, std::uint32_t format) override;
    void StretchDraw(const TPixelRect& rect, const RasterImage& image, std::uint32_t copyMode) override;

    // The kernel's text bytes as the GUI's text.
    static QString DecodeText(std::string_view bytes);

protected:
    void DoMoveTo(TPixelPoint to) override;
    void DoLine(TPixelPoint from, TPixelPoint to) override;

private:
    bool IsThinPen() const;
    // A stroke of connected segments; each leaves out its last pixel, and the
    // pen's dash pattern runs on from one segment to the next.
    void Stroke(std::span<const TPixelPoint> points, bool closed);
    void StrokeThinSegment(TPixelPoint from, TPixelPoint to);
    void PlotPixel(int x, int y, std::uint32_t rgb);
    // A painter on the image, clipped, without antialiasing, combining by the pen mode.
    void PreparePainter(QPainter& painter, bool penModeApplies) const;
    void FillInterior(const QRect& rect);

    QImage* image_;
    // How far the current dash pattern has run since the last MoveTo or the
    // start of a polyline, in pixels.
    std::int64_t dashOffset_ = 0;
};

}  // namespace calvoro

// A canvas that draws nothing and keeps every call as data, with the drawing
// state at the time of the call, so that tests can check what the kernel drew
// without a display. Text measures CharWidth pixels per byte and the font's
// height per line.
#pragma once

#include "kernel/draw/Canvas.h"

#include <string>
#include <vector>

namespace calvoro {

enum class CanvasOp {
    StateChange,
    MoveTo,
    LineTo,
    Polyline,
    Polygon,
    Rectangle,
    FillRect,
    TextOut,
    DrawText,
    StretchDraw
};

struct CanvasCall {
    CanvasOp Op = CanvasOp::StateChange;
    // MoveTo: the point; LineTo: from and to; Polyline, Polygon: the points;
    // TextOut: the position.
    std::vector<TPixelPoint> Points;
    TPixelRect Rect;          // Rectangle, FillRect, DrawText (as handed in), StretchDraw
    std::string Text;         // TextOut, DrawText
    std::uint32_t Flags = 0;  // DrawText format, StretchDraw copy mode
    TPixelPoint ImageSize;    // StretchDraw: width and height of the picture
    PenAttributes Pen;
    BrushAttributes Brush;
    FontDescription Font;
    BackgroundMode Background = BackgroundMode::Opaque;
    TPixelRect Clip;
};

class RecordingCanvas : public Canvas {
public:
    static constexpr int CharWidth = 8;

    explicit RecordingCanvas(const TPixelRect& bounds = TPixelRect{0, 0, 640, 480}) : bounds_(bounds) {}

    const std::vector<CanvasCall>& Calls() const { return calls_; }
    std::vector<CanvasCall> CallsOf(CanvasOp op) const;
    void ClearCalls() { calls_.clear(); }

    TPixelRect Bounds() const override { return bounds_; }
    void Polyline(std::span<const TPixelPoint> points) override;
    void Polygon(std::span<const TPixelPoint> points) override;
    void Rectangle(const TPixelRect& rect) override;
    void FillRect(const TPixelRect& rect) override;
    void TextOut(int x, int y, std::string_view text) override;
    TPixelPoint TextExtent(std::string_view text) const override;
    int DrawText(TPixelRect& rect, std::string_view text, std::uint32_t format) override;
    void StretchDraw(const TPixelRect& rect, const RasterImage& image, std::uint32_t copyMode) override;

protected:
    void StateChanged() override;
    void DoMoveTo(TPixelPoint to) override;
    void DoLine(TPixelPoint from, TPixelPoint to) override;

private:
    CanvasCall& Record(CanvasOp op);
    int LineHeight() const;

    TPixelRect bounds_;
    std::vector<CanvasCall> calls_;
};

}  // namespace calvoro

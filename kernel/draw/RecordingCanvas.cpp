// The recording canvas of the tests.
#include "kernel/draw/RecordingCanvas.h"

#include <algorithm>
#include <cstdlib>

namespace calvoro {

std::vector<CanvasCall> RecordingCanvas::CallsOf(CanvasOp op) const {
    std::vector<CanvasCall> selected;
    for (const CanvasCall& call : calls_) {
        if (call.Op == op) selected.push_back(call);
    }
    return selected;
}

CanvasCall& RecordingCanvas::Record(CanvasOp op) {
    CanvasCall call;
    call.Op = op;
    call.Pen = Pen();
    call.Brush = Brush();
    call.Font = Font();
    call.Background = Background();
    call.Clip = ClipRect();
    calls_.push_back(std::move(call));
    return calls_.back();
}

void RecordingCanvas::StateChanged() {
    Record(CanvasOp::StateChange);
}
void RecordingCanvas::DoMoveTo(TPixelPoint to) {
    Record(CanvasOp::MoveTo).Points = {to};
}
void RecordingCanvas::DoLine(TPixelPoint from, TPixelPoint to) {
    Record(CanvasOp::LineTo).Points = {from, to};
}

void RecordingCanvas::Polyline(std::span<const TPixelPoint> points) {
    Record(CanvasOp::Polyline).Points.assign(points.begin(), points.end());
}

void RecordingCanvas::Polygon(std::span<const TPixelPoint> points) {
    Record(CanvasOp::Polygon).Points.assign(points.begin(), points.end());
}

void RecordingCanvas::Rectangle(const TPixelRect& rect) {
    Record(CanvasOp::Rectangle).Rect = rect;
}
void RecordingCanvas::FillRect(const TPixelRect& rect) {
    Record(CanvasOp::FillRect).Rect = rect;
}

void RecordingCanvas::TextOut(int x, int y, std::string_view text) {
    CanvasCall& call = Record(CanvasOp::TextOut);
    call.Points = {TPixelPoint{x, y}};
    call.Text = std::string(text);
}

int RecordingCanvas::LineHeight() const {
    const int height = std::abs(Font().Height);
    return height > 0 ? height : 16;
}

TPixelPoint RecordingCanvas::TextExtent(std::string_view text) const {
    return TPixelPoint{static_cast<int>(text.size()) * CharWidth, LineHeight()};
}

int RecordingCanvas::DrawText(TPixelRect& rect, std::string_view text, std::uint32_t format) {
    // Lines end at CR, LF or CR LF unless the text is one line by format.
    int lines = 1;
    std::size_t widest = 0, current = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool lineEnd = (format & TextFormat::SingleLine) == 0 && (text[i] == '\r' || text[i] == '\n');
        if (!lineEnd) {
            ++current;
            continue;
        }
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        widest = std::max(widest, current);
        current = 0;
        ++lines;
    }
    widest = std::max(widest, current);
    const int height = lines * LineHeight();
    if ((format & TextFormat::CalcRect) != 0) {
        rect.Right = rect.Left + static_cast<int>(widest) * CharWidth;
        rect.Bottom = rect.Top + height;
        return height;
    }
    CanvasCall& call = Record(CanvasOp::DrawText);
    call.Rect = rect;
    call.Text = std::string(text);
    call.Flags = format;
    return height;
}

void RecordingCanvas::StretchDraw(const TPixelRect& rect, const RasterImage& image, std::uint32_t copyMode) {
    CanvasCall& call = Record(CanvasOp::StretchDraw);
    call.Rect = rect;
    call.Flags = copyMode;
    call.ImageSize = TPixelPoint{image.Width, image.Height};
}

}  // namespace calvoro

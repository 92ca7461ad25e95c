// The surface the kernel draws on. It keeps the drawing state (pen, brush,
// font, background mode, pen position, clip box) and leaves the pixels to an
// implementation: one over the GUI's painter, one that records the calls for
// tests. Coordinates are pixels, Y downwards; a rectangle's right and bottom
// are exclusive; a line leaves out its last pixel. Text is bytes in the
// Windows-1252 code page, as the kernel's records store it.
#pragma once

#include "kernel/draw/CanvasStyles.h"
#include "kernel/draw/RasterImage.h"
#include "kernel/geometry/PixelTypes.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace calvoro {

// Format flags of Canvas::DrawText; the values are the ones text records store.
namespace TextFormat {
inline constexpr std::uint32_t Top = 0x0000;
inline constexpr std::uint32_t Left = 0x0000;
inline constexpr std::uint32_t Center = 0x0001;
inline constexpr std::uint32_t Right = 0x0002;
inline constexpr std::uint32_t VCenter = 0x0004;  // single lines only
inline constexpr std::uint32_t Bottom = 0x0008;   // single lines only
inline constexpr std::uint32_t WordBreak = 0x0010;
inline constexpr std::uint32_t SingleLine = 0x0020;
inline constexpr std::uint32_t ExpandTabs = 0x0040;
inline constexpr std::uint32_t NoClip = 0x0100;
inline constexpr std::uint32_t CalcRect = 0x0400;  // measure only: the rectangle is fitted to the text
inline constexpr std::uint32_t NoPrefix = 0x0800;
}  // namespace TextFormat

// How Canvas::StretchDraw combines the picture S with the pixels D; the values
// are the ones picture records store. Pattern-based modes draw as SrcCopy.
namespace CopyMode {
inline constexpr std::uint32_t Blackness = 0x00000042;
inline constexpr std::uint32_t NotSrcErase = 0x001100A6;  // not (S or D)
inline constexpr std::uint32_t NotSrcCopy = 0x00330008;   // not S
inline constexpr std::uint32_t SrcErase = 0x00440328;     // S and not D
inline constexpr std::uint32_t DstInvert = 0x00550009;    // not D
inline constexpr std::uint32_t SrcInvert = 0x00660046;    // S xor D
inline constexpr std::uint32_t SrcAnd = 0x008800C6;       // S and D
inline constexpr std::uint32_t MergePaint = 0x00BB0226;   // not S or D
inline constexpr std::uint32_t SrcCopy = 0x00CC0020;      // S
inline constexpr std::uint32_t SrcPaint = 0x00EE0086;     // S or D
inline constexpr std::uint32_t Whiteness = 0x00FF0062;
}  // namespace CopyMode

class Canvas {
public:
    virtual ~Canvas() = default;

    const PenAttributes& Pen() const { return pen_; }
    void SetPen(const PenAttributes& pen);
    const BrushAttributes& Brush() const { return brush_; }
    void SetBrush(const BrushAttributes& brush);
    const FontDescription& Font() const { return font_; }
    void SetFont(const FontDescription& font);
    BackgroundMode Background() const { return background_; }
    void SetBackgroundMode(BackgroundMode mode);

    // The box outside which nothing is drawn: the whole surface unless a
    // smaller one is set (and never more than the surface).
    TPixelRect ClipRect() const;
    void SetClipRect(const TPixelRect& clip);
    void ResetClipRect();

    TPixelPoint PenPos() const { return penPos_; }
    void MoveTo(int x, int y);
    // From the pen position to (x, y), without the last pixel; the pen moves there.
    void LineTo(int x, int y);
    // Connected segments; the very last pixel is left out. The pen position is
    // neither used nor changed.
    virtual void Polyline(std::span<const TPixelPoint> points) = 0;
    // Filled with the brush (alternate filling), outlined with the pen.
    virtual void Polygon(std::span<const TPixelPoint> points) = 0;
    // Filled with the brush, outlined with the pen; covers Left .. Right - 1 and
    // Top .. Bottom - 1.
    virtual void Rectangle(const TPixelRect& rect) = 0;
    // The brush alone, over Left .. Right - 1 and Top .. Bottom - 1.
    virtual void FillRect(const TPixelRect& rect) = 0;

    // Text with its top-left corner at (x, y) in the font's colour.
    virtual void TextOut(int x, int y, std::string_view text) = 0;
    // Width and height of the text in the current font (X = width, Y = height).
    virtual TPixelPoint TextExtent(std::string_view text) const = 0;
    // Text formatted into rect by TextFormat flags; returns the height of the
    // text. With TextFormat::CalcRect nothing is drawn and rect's right and
    // bottom are moved to fit the text.
    virtual int DrawText(TPixelRect& rect, std::string_view text, std::uint32_t format) = 0;

    // The picture stretched over rect, combined by a CopyMode.
    virtual void StretchDraw(const TPixelRect& rect, const RasterImage& image, std::uint32_t copyMode) = 0;

    // The size of the surface; the clip box never exceeds it.
    virtual TPixelRect Bounds() const = 0;

protected:
    // Told after every change of pen, brush, font, background mode or clip box,
    // for implementations that keep their own copy of the state or record it.
    virtual void StateChanged() {}
    virtual void DoMoveTo(TPixelPoint /*to*/) {}
    virtual void DoLine(TPixelPoint from, TPixelPoint to) = 0;

private:
    PenAttributes pen_;
    BrushAttributes brush_;
    FontDescription font_;
    BackgroundMode background_ = BackgroundMode::Opaque;
    TPixelPoint penPos_;
    TPixelRect clip_;
    bool hasClip_ = false;
};

}  // namespace calvoro

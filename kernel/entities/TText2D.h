// Text drawn with a system font into the box that control points 0 and 1
// span. The text is bytes (Windows-1252), laid out by the canvas with the
// text-format flags the record stores. The record after the primitive's:
//   i32 text length L, L bytes, 60-byte logical font, u32 format flags,
//   u8 DrawBox, f64 Height (world units).
#pragma once

#include "kernel/entities/TExtendedFont.h"
#include "kernel/entities/TPrimitive2D.h"
#include "kernel/geometry/PixelTypes.h"

#include <cstdint>
#include <memory>
#include <string>

namespace calvoro {

class Canvas;

class TText2D : public TPrimitive2D {
public:
    static const TGraphicObjectClass Class;

    // The text in the box from p1 to p2, with glyphs `height` world units high.
    TText2D(std::int32_t id, const TPoint2D& p1, const TPoint2D& p2, double height, std::string text);
    // Refuses a record that does not hold two points or whose text length does
    // not fit in the stream.
    TText2D(BinaryReader& reader, const VersionTag& version);

    const TGraphicObjectClass& ClassType() const override { return Class; }
    std::unique_ptr<TObject2D> Clone() const override;

    void SaveToStream(BinaryWriter& writer) override;
    // From a text: text, height, switches, format flags and font; from a text
    // or a frame: the two corners.
    void Assign(const TGraphicObject& source) override;
    // Nothing when the height maps to less than a pixel. The text (unless the
    // pen draws XOR, as rubber bands do) and, with DrawBox or XOR, the box.
    // AutoSize first fits the box to the measured text.
    void Draw(const TMatrix2D& matrix, TDecorativeCanvas& canvas, int mode, const TRect2D& clipRect) override;
    // Anywhere in the box grown by the aperture is a hit inside the text.
    int HitTest(const TPoint2D& point, double& distance, double aperture) override;

    const std::string& Text() const { return text_; }
    void SetText(std::string text) { text_ = std::move(text); }
    double Height() const { return height_; }
    void SetHeight(double height) { height_ = height; }
    TExtendedFont& ExtFont() { return *extFont_; }
    const TExtendedFont& ExtFont() const { return *extFont_; }
    bool DrawBox() const { return drawBox_ != 0; }
    void SetDrawBox(bool draw) { drawBox_ = draw ? 1 : 0; }
    bool AutoSize() const { return autoSize_ != 0; }
    void SetAutoSize(bool autoSize) { autoSize_ = autoSize ? 1 : 0; }
    std::uint32_t DrawTextFlags() const { return drawTextFlags_; }
    void SetDrawTextFlags(std::uint32_t flags) { drawTextFlags_ = flags; }

protected:
    explicit TText2D(std::int32_t id);
    bool AcceptsPointsOf(const TGraphicObject& source) const override;

private:
    void FitBoxToText(const TMatrix2D& matrix, Canvas& canvas, TPixelRect& rect);

    std::string text_;
    double height_ = 0.0;
    std::unique_ptr<TExtendedFont> extFont_ = std::make_unique<TExtendedFont>();
    std::uint8_t drawBox_ = 0;
    std::uint8_t autoSize_ = 0;
    std::uint32_t drawTextFlags_ = 0;
};

}  // namespace calvoro

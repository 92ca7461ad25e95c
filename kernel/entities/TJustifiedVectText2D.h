// Text drawn with a vector font and justified in the frame that control
// points 0 and 1 span. The record after the primitive's:
//   i32 text length L, L bytes, i32 font index (its slot in the font table,
//   in the low 16 bits), u8 HJustification, u8 VJustification, u8 DrawBox,
//   f64 Height, f64 InterLine, f64 CharSpacing.
// A text whose font index has no font in the table takes the default font,
// else the first font the table holds, else none (its box only); the index
// read is written back unchanged until another font is set.
#pragma once

#include "kernel/entities/TPrimitive2D.h"
#include "kernel/entities/VectTextLayout.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace calvoro {

class TJustifiedVectText2D : public TPrimitive2D {
public:
    static const TGraphicObjectClass Class;
    // The draw mode bit that leaves the text out (its box still drawn).
    static constexpr int kModeNoText = 32;

    // An empty, left and top justified text in the frame from p1 to p2, with
    // glyph units of `height` world units; no font.
    TJustifiedVectText2D(std::int32_t id, const TPoint2D& p1, const TPoint2D& p2, double height);
    // Refuses a record that does not hold two points, whose text does not fit
    // in the stream or whose justification is none of the known ones.
    TJustifiedVectText2D(BinaryReader& reader, const VersionTag& version);

    const TGraphicObjectClass& ClassType() const override { return Class; }
    std::unique_ptr<TObject2D> Clone() const override;

    // The placed text box carried by the object matrix.
    void UpdateBox() override;
    // The font index is the one read, or else the font's slot in the table; a
    // font not in the table is refused with "CADCoreFindFontIndex: Font not found".
    void SaveToStream(BinaryWriter& writer) override;
    // From a vector text: font, text, justifications, DrawBox, height, spacing
    // and interline; from a system-font text: text, height and DrawBox; from
    // either: the two corners.
    void Assign(const TGraphicObject& source) override;
    // Nothing without a font. The box when DrawBox is set; the text line by
    // line unless the mode has kModeNoText.
    void Draw(const TMatrix2D& matrix, TDecorativeCanvas& canvas, int mode, const TRect2D& clipRect) override;
    // From kHitNearBox on, the placed text box as a filled polygon.
    int HitTest(const TPoint2D& point, double& distance, double aperture) override;

    // The text, then the box recalculated.
    void SetVectText(std::string text);
    const std::string& Text() const { return text_; }
    const std::shared_ptr<const TVectFont>& VectFont() const { return vectFont_; }
    void SetVectFont(std::shared_ptr<const TVectFont> font);
    // The setters of what the placement depends on recalculate the box.
    THJustification HJustification() const { return hJustification_; }
    void SetHJustification(THJustification justification) { Change(hJustification_, justification); }
    TVJustification VJustification() const { return vJustification_; }
    void SetVJustification(TVJustification justification) { Change(vJustification_, justification); }
    double Height() const { return height_; }
    void SetHeight(double height) { Change(height_, height); }
    double CharSpacing() const { return charSpacing_; }
    void SetCharSpacing(double spacing) { Change(charSpacing_, spacing); }
    double InterLine() const { return interLine_; }
    void SetInterLine(double interLine) { Change(interLine_, interLine); }
    bool DrawBox() const { return drawBox_ != 0; }
    void SetDrawBox(bool draw) { drawBox_ = draw ? 1 : 0; }

    // The text box in the object's own coordinates: the extension placed in
    // the frame (an empty extension without a font).
    TRect2D PlacedBox() const;

protected:
    explicit TJustifiedVectText2D(std::int32_t id);
    bool AcceptsPointsOf(const TGraphicObject& source) const override;

private:
    template <class T>
    void Change(T& field, const T& value) {
        field = value;
        RecalcBox();
    }
    void DrawLines(const TMatrix2D& matrix, TDecorativeCanvas& canvas, const TRect2D& placed) const;

    std::shared_ptr<const TVectFont> vectFont_;
    // The font index as read, kept for writing back while the font is the one
    // the record named.
    std::optional<std::int32_t> storedFontIndex_;
    std::string text_;
    THJustification hJustification_ = THJustification::Left;
    TVJustification vJustification_ = TVJustification::Top;
    std::uint8_t drawBox_ = 0;
    double height_ = 0.0;
    double charSpacing_ = 0.0;
    double interLine_ = 0.0;
};

}  // namespace calvoro

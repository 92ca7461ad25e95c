// Vector text justified in a frame.
#include "kernel/entities/TJustifiedVectText2D.h"

#include "kernel/draw/DecorativeCanvas.h"
#include "kernel/draw/TransformedDrawing.h"
#include "kernel/entities/TText2D.h"
#include "kernel/entities/TextRecord.h"
#include "kernel/geometry/Picking.h"
#include "kernel/geometry/PixelConversion.h"
#include "kernel/geometry/Transform2D.h"
#include "kernel/model/BinaryReader.h"
#include "kernel/model/BinaryWriter.h"
#include "kernel/model/CADCoreExceptions.h"

#include <string>

namespace calvoro {

namespace {

constexpr std::uint8_t kSpace = 32;

template <class Justification>
Justification ReadJustification(BinaryReader& reader, const char* what) {
    const std::uint8_t value = reader.readUInt8();
    if (value > 2) {
        throw ECADFileNotValid(std::string("TJustifiedVectText2D.CreateFromStream: ") + what + " " +
                               std::to_string(value) + " not valid");
    }
    return static_cast<Justification>(value);
}

// The font of a stored index: its slot, the default font, or the first font
// of the table; none when the table is empty.
std::shared_ptr<const TVectFont> FontOfIndex(std::int32_t index) {
    const VectFontTable& table = VectFontTable::Global();
    try {
        return table.FindFontByIndex(static_cast<std::uint32_t>(index) & 0xFFFF);
    } catch (const ECADObjClassNotFound&) {
        return table.FirstRegisteredFont();
    }
}

}  // namespace

const TGraphicObjectClass TJustifiedVectText2D::Class{"TJustifiedVectText2D", &TPrimitive2D::Class,
                                                      &ConstructFromStream<TJustifiedVectText2D>};

TJustifiedVectText2D::TJustifiedVectText2D(std::int32_t id) : TPrimitive2D(id, 2) {}

TJustifiedVectText2D::TJustifiedVectText2D(std::int32_t id, const TPoint2D& p1, const TPoint2D& p2, double height)
    : TPrimitive2D(id, 2), height_(height) {
    const TPoint2D corners[] = {p1, p2};
    PlacePoints(corners, false);
}

TJustifiedVectText2D::TJustifiedVectText2D(BinaryReader& reader, const VersionTag& version)
    : TPrimitive2D(reader, version) {
    RequirePointCount({2});
    text_ = ReadTextField(reader, "TJustifiedVectText2D");
    storedFontIndex_ = reader.readInt32();
    vectFont_ = FontOfIndex(*storedFontIndex_);
    hJustification_ = ReadJustification<THJustification>(reader, "HJustification");
    vJustification_ = ReadJustification<TVJustification>(reader, "VJustification");
    drawBox_ = reader.readUInt8();
    height_ = reader.readFloat64();
    interLine_ = reader.readFloat64();
    charSpacing_ = reader.readFloat64();
}

std::unique_ptr<TObject2D> TJustifiedVectText2D::Clone() const {
    return CloneByAssign(*this, std::unique_ptr<TJustifiedVectText2D>(new TJustifiedVectText2D(ID())));
}

void TJustifiedVectText2D::SetVectFont(std::shared_ptr<const TVectFont> font) {
    vectFont_ = std::move(font);
    storedFontIndex_.reset();
    RecalcBox();
}

void TJustifiedVectText2D::SetVectText(std::string text) {
    text_ = std::move(text);
    RecalcBox();
}

TRect2D TJustifiedVectText2D::PlacedBox() const {
    const TRect2D extension = vectFont_ ? VectTextExtension(*vectFont_, text_, height_, charSpacing_, interLine_)
                                        : MakeRect2D(0.0, 0.0, 0.0, 0.0);
    const TRect2D frame = Points().Count() >= 2 ? TRect2D{Points().Get(0).X, Points().Get(0).Y, Points().Get(0).W,
                                                          Points().Get(1).X, Points().Get(1).Y, Points().Get(1).W}
                                                : MakeRect2D(0.0, 0.0, 0.0, 0.0);
    return PlaceVectText(extension, frame, hJustification_, vJustification_);
}

void TJustifiedVectText2D::UpdateBox() {
    SetBox(TransformBoundingBox2D(PlacedBox(), GetObjectMatrix()));
}

void TJustifiedVectText2D::SaveToStream(BinaryWriter& writer) {
    TPrimitive2D::SaveToStream(writer);
    WriteTextField(writer, text_);
    writer.writeInt32(storedFontIndex_ ? *storedFontIndex_ : VectFontTable::Global().FindFontIndex(vectFont_.get()));
    writer.writeUInt8(static_cast<std::uint8_t>(hJustification_));
    writer.writeUInt8(static_cast<std::uint8_t>(vJustification_));
    writer.writeUInt8(drawBox_);
    writer.writeFloat64(height_);
    writer.writeFloat64(interLine_);
    writer.writeFloat64(charSpacing_);
}

bool TJustifiedVectText2D::AcceptsPointsOf(const TGraphicObject& source) const {
    return source.InheritsFrom(TJustifiedVectText2D::Class) || source.InheritsFrom(TText2D::Class);
}

void TJustifiedVectText2D::Assign(const TGraphicObject& source) {
    if (&source == this) return;
    TPrimitive2D::Assign(source);
    if (const auto* other = dynamic_cast<const TJustifiedVectText2D*>(&source)) {
        vectFont_ = other->vectFont_;
        storedFontIndex_ = other->storedFontIndex_;
        text_ = other->text_;
        hJustification_ = other->hJustification_;
        vJustification_ = other->vJustification_;
        drawBox_ = other->drawBox_;
        height_ = other->height_;
        charSpacing_ = other->charSpacing_;
        interLine_ = other->interLine_;
    } else if (const auto* text = dynamic_cast<const TText2D*>(&source)) {
        text_ = text->Text();
        height_ = text->Height();
        drawBox_ = text->DrawBox() ? 1 : 0;
    }
    if (AcceptsPointsOf(source)) TakePoints(source, 0, 1, false);
}

void TJustifiedVectText2D::Draw(const TMatrix2D& matrix, TDecorativeCanvas& canvas, int mode,
                                const TRect2D& /*clipRect*/) {
    if (!vectFont_) return;
    const TRect2D placed = PlacedBox();
    if (drawBox_ != 0) DrawRect2D(canvas, RectToRect2D(canvas.Target().ClipRect()), placed, DrawingMatrix(matrix));
    if ((mode & kModeNoText) == 0) DrawLines(matrix, canvas, placed);
}

void TJustifiedVectText2D::DrawLines(const TMatrix2D& matrix, TDecorativeCanvas& canvas, const TRect2D& placed) const {
    const TVectFont& font = *vectFont_;
    const TVectChar& defaultGlyph = VectFontTable::Global().DefaultGlyph();
    const TMatrix2D toPixels = DrawingMatrix(matrix);
    const TMatrix2D scale = ScalingMatrix2D(height_, height_);
    const TRect2D clip = RectToRect2D(canvas.Target().ClipRect());
    const std::vector<std::string_view> lines = SplitVectTextLines(text_);
    double penX = placed.Left;
    double penY = placed.Top - height_;
    for (std::size_t line = 0; line < lines.size(); ++line) {
        for (const char c : lines[line]) {
            const auto code = static_cast<std::uint8_t>(c);
            if (code == kSpace) {
                // Drawn spaces are narrower than measured ones (0.4 against 0.5).
                penX += (0.4 + charSpacing_) * height_;
                continue;
            }
            const TVectChar* glyph = font.GetChar(code);
            if (glyph == nullptr) glyph = &defaultGlyph;
            const TMatrix2D glyphToPixels =
                MultiplyMatrix2D(MultiplyMatrix2D(scale, TranslationMatrix2D(penX, penY)), toPixels);
            for (int i = 0; i < glyph->PolylineCount(); ++i) {
                const TPointsSet2D& stroke = glyph->Polyline(i);
                stroke.DrawAsPolyline(canvas, clip, stroke.GetBox(), glyphToPixels);
            }
            penX += (glyph->Extension().Right + charSpacing_) * height_;
        }
        if (line + 1 < lines.size()) {
            penX = placed.Left;
            penY -= VectLineHeight(font, lines[line]) * height_ + height_ * interLine_;
        }
    }
}

int TJustifiedVectText2D::HitTest(const TPoint2D& point, double& distance, double aperture) {
    const int result = TObject2D::HitTest(point, distance, aperture);
    if (result != kHitNearBox) return result;
    const TRect2D placed = PlacedBox();
    const TPoint2D corners[] = {MakePoint2D(placed.Left, placed.Bottom), MakePoint2D(placed.Left, placed.Top),
                                MakePoint2D(placed.Right, placed.Top), MakePoint2D(placed.Right, placed.Bottom)};
    return HitFilledPolygon(corners, point, distance, aperture);
}

}  // namespace calvoro

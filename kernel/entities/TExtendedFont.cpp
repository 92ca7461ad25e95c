// The text entity's font record and its selection into a canvas.
#include "kernel/entities/TExtendedFont.h"

#include "kernel/draw/Canvas.h"
#include "kernel/model/BinaryReader.h"
#include "kernel/model/BinaryWriter.h"

#include <algorithm>
#include <string_view>

namespace calvoro {

namespace {

// The record a new text starts with: characters 11 pixels high, normal
// weight, the default character set and the face "Small Font".
TLogFont DefaultLogFont() {
    TLogFont font;
    font.Height = -11;
    font.Weight = 400;
    font.CharSet = 1;  // the default character set
    constexpr std::string_view face = "Small Font";
    std::copy(face.begin(), face.end(), font.FaceName.begin());
    return font;
}

}  // namespace

TExtendedFont::TExtendedFont() : logFont_(DefaultLogFont()) {}

TExtendedFont::~TExtendedFont() {
    SetCanvas(nullptr);
}

void TExtendedFont::SetHeight(int height) {
    logFont_.Height = static_cast<std::uint16_t>(height);
    Rebuild();
}

void TExtendedFont::Assign(const TExtendedFont& other) {
    if (&other == this) return;
    logFont_ = other.logFont_;
    Rebuild();
}

void TExtendedFont::SetCanvas(Canvas* canvas) {
    if (canvas_ != nullptr) canvas_->SetFont(canvasOwnFont_);
    canvas_ = canvas;
    if (canvas_ == nullptr) return;
    canvasOwnFont_ = canvas_->Font();
    Rebuild();
}

void TExtendedFont::Rebuild() {
    if (canvas_ != nullptr) canvas_->SetFont(ToFontDescription(canvasOwnFont_.Color));
}

FontDescription TExtendedFont::ToFontDescription(TColor color) const {
    FontDescription description;
    const auto end = std::find(logFont_.FaceName.begin(), logFont_.FaceName.end(), '\0');
    description.Name.assign(logFont_.FaceName.begin(), end);
    description.Height = logFont_.Height;
    description.Weight = logFont_.Weight;
    description.Italic = logFont_.Italic != 0;
    description.Underline = logFont_.Underline != 0;
    description.StrikeOut = logFont_.StrikeOut != 0;
    description.Escapement = logFont_.Escapement;
    description.Color = color;
    return description;
}

void TExtendedFont::SaveToStream(BinaryWriter& writer) const {
    writer.writeInt32(logFont_.Height);
    writer.writeInt32(logFont_.Width);
    writer.writeInt32(logFont_.Escapement);
    writer.writeInt32(logFont_.Orientation);
    writer.writeInt32(logFont_.Weight);
    for (std::uint8_t byte :
         {logFont_.Italic, logFont_.Underline, logFont_.StrikeOut, logFont_.CharSet, logFont_.OutPrecision,
          logFont_.ClipPrecision, logFont_.Quality, logFont_.PitchAndFamily}) {
        writer.writeUInt8(byte);
    }
    writer.writeBytes(logFont_.FaceName.data(), logFont_.FaceName.size());
}

void TExtendedFont::LoadFromStream(BinaryReader& reader) {
    TLogFont font;
    font.Height = reader.readInt32();
    font.Width = reader.readInt32();
    font.Escapement = reader.readInt32();
    font.Orientation = reader.readInt32();
    font.Weight = reader.readInt32();
    for (std::uint8_t* byte : {&font.Italic, &font.Underline, &font.StrikeOut, &font.CharSet, &font.OutPrecision,
                               &font.ClipPrecision, &font.Quality, &font.PitchAndFamily}) {
        *byte = reader.readUInt8();
    }
    reader.readInto(font.FaceName.data(), font.FaceName.size());
    logFont_ = font;
    Rebuild();
}

}  // namespace calvoro

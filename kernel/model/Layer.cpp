// A drawing layer and its stream record.
#include "kernel/model/Layer.h"

#include "kernel/model/CADCoreExceptions.h"

namespace calvoro {

TLayer::TLayer(std::uint8_t id) : name_("Layer_" + std::to_string(id)), id_(id) {}

void TLayer::SetPen(const PenAttributes& pen) {
    pen_ = pen;
    modified_ = true;
}

void TLayer::SetBrush(const BrushAttributes& brush) {
    brush_ = brush;
    modified_ = true;
}

void TLayer::SetLayerName(std::string_view name) {
    const std::string_view cut = name.substr(0, MaxNameLength);
    if (cut == name_) return;
    name_ = std::string(cut);
    modified_ = true;
}

void TLayer::SetDefaultPenColor(TColor color) {
    if (!modified_) pen_.Color = color;
}

bool TLayer::SetCanvas(TDecorativeCanvas& canvas) const {
    if (!visible_) return false;
    Canvas& target = canvas.Target();
    target.SetPen(pen_);
    target.SetBrush(brush_);
    FontDescription font = target.Font();
    font.Color = pen_.Color;
    target.SetFont(font);
    target.SetBackgroundMode(opaque_ ? BackgroundMode::Opaque : BackgroundMode::Transparent);
    canvas.DecorativePen().Assign(decorativePen_);
    return true;
}

void TLayer::SaveToStream(BinaryWriter& writer) const {
    writer.writeInt32(pen_.Color);
    writer.writeUInt8(static_cast<std::uint8_t>(pen_.Style));
    writer.writeUInt8(static_cast<std::uint8_t>(pen_.Mode));
    writer.writeInt32(pen_.Width);
    writer.writeInt32(brush_.Color);
    writer.writeUInt8(static_cast<std::uint8_t>(brush_.Style));
    writer.writeUInt32(decorativePen_.PatternLength());
    for (int bit = 0; bit < decorativePen_.PatternLength(); ++bit) writer.writeBool(decorativePen_.GetBit(bit));
    writer.writeBool(active_);
    writer.writeBool(visible_);
    writer.writeBool(opaque_);
    writer.writeBool(storable_);
    writer.writeShortString(name_, MaxNameLength);
}

namespace {

// An ordinal of an enumeration of `count` values, or `fallback` when it names none.
template <class Enum>
Enum OrdinalOr(std::uint8_t ordinal, int count, Enum fallback) {
    return ordinal < count ? static_cast<Enum>(ordinal) : fallback;
}

}  // namespace

void TLayer::LoadFromStream(BinaryReader& reader, const VersionTag& version) {
    // Everything is read first, so that a record cut short leaves the layer as it was.
    PenAttributes pen;
    pen.Color = reader.readInt32();
    pen.Style = OrdinalOr(reader.readUInt8(), PenStyleCount, TPenStyle::psSolid);
    pen.Mode = OrdinalOr(reader.readUInt8(), PenModeCount, TPenMode::pmCopy);
    pen.Width = reader.readInt32();
    BrushAttributes brush;
    brush.Color = reader.readInt32();
    brush.Style = OrdinalOr(reader.readUInt8(), BrushStyleCount, TBrushStyle::bsSolid);
    if (version < "KRN422") reader.skip(4);

    TDecorativePen pattern = decorativePen_;
    if (version >= "KRN41") {
        const std::uint32_t length = reader.readUInt32();
        if (length > TDecorativePen::MaxPatternLength) {
            throw ECADFileNotValid("TLayer.LoadFromStream: Pattern of " + std::to_string(length) +
                                   " bits is longer than 65535.");
        }
        reader.requireAvailable(length, 1, "TLayer pattern");
        pattern.ClearPattern();
        for (std::uint32_t bit = 0; bit < length; ++bit) pattern.SetBit(static_cast<int>(bit), reader.readBool());
    }
    const bool active = reader.readBool();
    const bool visible = version >= "KRN4" ? reader.readBool() : true;
    const bool opaque = reader.readBool();
    bool storable = true;
    std::string name = "Layer " + std::to_string(id_);
    if (version == "KRN3  ") {
        storable = reader.readBool();
    } else if (version >= "KRN33") {
        storable = reader.readBool();
        name = reader.readShortString(MaxNameLength);
    }

    pen_ = pen;
    brush_ = brush;
    decorativePen_ = pattern;
    active_ = active;
    visible_ = visible;
    opaque_ = opaque;
    storable_ = storable;
    name_ = name;
    modified_ = true;
}

}  // namespace calvoro

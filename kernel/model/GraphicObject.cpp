// The object header and the behaviour every drawing object shares.
#include "kernel/model/GraphicObject.h"

#include <atomic>

#include "kernel/model/BinaryReader.h"
#include "kernel/model/BinaryWriter.h"

namespace calvoro {

const TGraphicObjectClass TGraphicObject::Class{"TGraphicObject", nullptr, nullptr};

TGraphicObject::TGraphicObject(std::int32_t id) : id_(id) {}

TGraphicObject::TGraphicObject(BinaryReader& reader, const VersionTag& /*version*/) {
    id_ = reader.readInt32();
    layer_ = reader.readUInt8();
    const std::uint8_t flags = reader.readUInt8();
    visible_ = (flags & VisibleFlag) != 0;
    enabled_ = (flags & EnabledFlag) != 0;
    mustSave_ = (flags & NotSavedFlag) == 0;
}

void TGraphicObject::SaveToStream(BinaryWriter& writer) {
    writer.writeInt32(id_);
    writer.writeUInt8(layer_);
    std::uint8_t flags = 0;
    if (visible_) flags |= VisibleFlag;
    if (enabled_) flags |= EnabledFlag;
    if (!mustSave_) flags |= NotSavedFlag;
    writer.writeUInt8(flags);
}

void TGraphicObject::Assign(const TGraphicObject& source) {
    visible_ = source.visible_;
    enabled_ = source.enabled_;
    mustSave_ = source.mustSave_;
}

namespace {
std::atomic<std::uint64_t> gGeometryRevision{0};
}  // namespace

std::uint64_t TGraphicObject::GeometryRevision() {
    return gGeometryRevision.load(std::memory_order_relaxed);
}

void TGraphicObject::RecalcBox() {
    UpdateBox();
    gGeometryRevision.fetch_add(1, std::memory_order_relaxed);
    if (onChange_) onChange_(*this);
}

}  // namespace calvoro

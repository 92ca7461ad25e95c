#include "engine/tools/ToolRecord.h"

#include <cmath>
#include <utility>

#include "kernel/model/BinaryReader.h"
#include "kernel/model/BinaryWriter.h"

#include <algorithm>
#include <stdexcept>

namespace calvoro {

namespace {

namespace off = tool_record_offset;

// The fields lie back to back in the order of their offsets, so the record is
// written and read in one pass; the offsets are checked on the way.
void ExpectAt(std::size_t position, std::size_t offset) {
    if (position != offset)
        throw std::logic_error("tool record field at " + std::to_string(position) + " instead of " +
                               std::to_string(offset));
}

}  // namespace

ToolRecordBytes EncodeToolRecord(const ToolRecord& record) {
    BinaryWriter out;
    out.writeInt32(record.toolNumber);
    out.writeInt32(record.spindleSpeed);
    out.writeFloat32(record.feedRate);
    out.writeFloat32(record.plungeRate);
    ExpectAt(out.position(), off::kCoolant);
    out.writeBool(record.coolant);
    out.writeShortString(record.name, ToolRecord::kMaxNameLength);  // longer names are cut
    ExpectAt(out.position(), off::kToolType);
    out.writeInt32(static_cast<std::int32_t>(record.toolType));
    out.writeFloat32(record.diameter);
    out.writeFloat32(record.cornerRadius);
    out.writeFloat32(record.taperAngle);
    out.writeFloat32(record.flatDiameter);
    out.writeFloat32(record.passDepth);
    ExpectAt(out.position(), ToolRecord::kSize);
    ToolRecordBytes bytes{};
    std::copy_n(out.bytes().begin(), ToolRecord::kSize, bytes.begin());
    return bytes;
}

ToolRecord DecodeToolRecord(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != ToolRecord::kSize)
        throw std::invalid_argument("A tool record is " + std::to_string(ToolRecord::kSize) + " bytes, not " +
                                    std::to_string(bytes.size()));
    BinaryReader in(bytes.data(), bytes.size());
    ToolRecord record;
    record.toolNumber = in.readInt32();
    record.spindleSpeed = in.readInt32();
    record.feedRate = in.readFloat32();
    record.plungeRate = in.readFloat32();
    record.coolant = in.readBool();
    record.name = in.readShortString(ToolRecord::kMaxNameLength);  // a length above 50 reads as 50
    const std::int32_t type = in.readInt32();
    record.toolType = type >= 0 && type <= static_cast<std::int32_t>(ToolType::Undefined) ? static_cast<ToolType>(type)
                                                                                          : ToolType::Undefined;
    record.diameter = in.readFloat32();
    record.cornerRadius = in.readFloat32();
    record.taperAngle = in.readFloat32();
    record.flatDiameter = in.readFloat32();
    record.passDepth = in.readFloat32();
    return record;
}

std::optional<ToolField> DamagedToolField(const ToolRecord& record) {
    const std::pair<ToolField, float> fields[] = {
        {ToolField::FeedRate, record.feedRate},         {ToolField::PlungeRate, record.plungeRate},
        {ToolField::Diameter, record.diameter},         {ToolField::CornerRadius, record.cornerRadius},
        {ToolField::TaperAngle, record.taperAngle},     {ToolField::FlatDiameter, record.flatDiameter},
        {ToolField::PassDepth, record.passDepth},
    };
    for (const auto& [field, value] : fields)
        if (!std::isfinite(value) || value < 0.0f) return field;
    return std::nullopt;
}

std::string_view ToolTypeName(ToolType type) {
    switch (type) {
        case ToolType::Flat:
            return "Flat";
        case ToolType::BullNose:
            return "Bull-nose";
        case ToolType::Spherical:
            return "Spherical";
        case ToolType::ConicalFlat:
            return "Conical flat";
        case ToolType::Drill:
            return "Drill";
        case ToolType::ConicalSpherical:
            return "Conical spherical";
        case ToolType::Undefined:
            break;
    }
    return "Undefined";
}

}  // namespace calvoro

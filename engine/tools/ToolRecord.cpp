#include "engine/tools/ToolRecord.h"

#include <algorithm>
#include <bit>
#include <stdexcept>

namespace calvoro {

namespace {

namespace off = tool_record_offset;

void PutUint32(ToolRecordBytes& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t GetUint32(std::span<const std::uint8_t> bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
    return value;
}

void PutInt32(ToolRecordBytes& bytes, std::size_t at, std::int32_t value) {
    PutUint32(bytes, at, static_cast<std::uint32_t>(value));
}
void PutFloat(ToolRecordBytes& bytes, std::size_t at, float value) {
    PutUint32(bytes, at, std::bit_cast<std::uint32_t>(value));
}
std::int32_t GetInt32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::int32_t>(GetUint32(bytes, at));
}
float GetFloat(std::span<const std::uint8_t> bytes, std::size_t at) {
    return std::bit_cast<float>(GetUint32(bytes, at));
}

}  // namespace

ToolRecordBytes EncodeToolRecord(const ToolRecord& record) {
    ToolRecordBytes bytes{};
    PutInt32(bytes, off::kToolNumber, record.toolNumber);
    PutInt32(bytes, off::kSpindleSpeed, record.spindleSpeed);
    PutFloat(bytes, off::kFeedRate, record.feedRate);
    PutFloat(bytes, off::kPlungeRate, record.plungeRate);
    bytes[off::kCoolant] = record.coolant ? 1 : 0;
    const std::size_t length = std::min(record.name.size(), ToolRecord::kMaxNameLength);
    bytes[off::kNameLength] = static_cast<std::uint8_t>(length);
    std::copy_n(record.name.begin(), length, bytes.begin() + off::kNameBytes);
    PutInt32(bytes, off::kToolType, static_cast<std::int32_t>(record.toolType));
    PutFloat(bytes, off::kDiameter, record.diameter);
    PutFloat(bytes, off::kCornerRadius, record.cornerRadius);
    PutFloat(bytes, off::kTaperAngle, record.taperAngle);
    PutFloat(bytes, off::kFlatDiameter, record.flatDiameter);
    PutFloat(bytes, off::kPassDepth, record.passDepth);
    return bytes;
}

ToolRecord DecodeToolRecord(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != ToolRecord::kSize)
        throw std::invalid_argument("A tool record is " + std::to_string(ToolRecord::kSize) + " bytes, not " +
                                    std::to_string(bytes.size()));
    ToolRecord record;
    record.toolNumber = GetInt32(bytes, off::kToolNumber);
    record.spindleSpeed = GetInt32(bytes, off::kSpindleSpeed);
    record.feedRate = GetFloat(bytes, off::kFeedRate);
    record.plungeRate = GetFloat(bytes, off::kPlungeRate);
    record.coolant = bytes[off::kCoolant] != 0;
    const std::size_t length = std::min<std::size_t>(bytes[off::kNameLength], ToolRecord::kMaxNameLength);
    record.name.assign(reinterpret_cast<const char*>(bytes.data() + off::kNameBytes), length);
    const std::int32_t type = GetInt32(bytes, off::kToolType);
    record.toolType = type >= 0 && type <= static_cast<std::int32_t>(ToolType::Undefined) ? static_cast<ToolType>(type)
                                                                                          : ToolType::Undefined;
    record.diameter = GetFloat(bytes, off::kDiameter);
    record.cornerRadius = GetFloat(bytes, off::kCornerRadius);
    record.taperAngle = GetFloat(bytes, off::kTaperAngle);
    record.flatDiameter = GetFloat(bytes, off::kFlatDiameter);
    record.passDepth = GetFloat(bytes, off::kPassDepth);
    return record;
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

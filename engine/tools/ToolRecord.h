// One cutter of the tool library, and its 92-byte stored form. The same bytes
// are a record of the "Tool.db" file and the cutter embedded in a saved job, so
// the layout is fixed: little-endian, fields back to back, read and written at
// explicit offsets (never by copying a struct).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace calvoro {

// The stored type index; every other part of the engine switches on it.
enum class ToolType : std::int32_t {
    Flat = 0,
    BullNose = 1,
    Spherical = 2,
    ConicalFlat = 3,
    Drill = 4,
    ConicalSpherical = 5,
    Undefined = 6,
};

struct ToolRecord {
    static constexpr std::size_t kSize = 92;
    static constexpr std::size_t kMaxNameLength = 50;

    std::int32_t toolNumber = 1;
    std::int32_t spindleSpeed = 1000;
    float feedRate = 1000.0f;
    float plungeRate = 1000.0f;
    bool coolant = false;
    // Raw bytes in the Windows-1252 code page, at most kMaxNameLength of them
    // once stored (longer names are cut when encoded).
    std::string name;
    ToolType toolType = ToolType::Flat;
    float diameter = 5.0f;      // d
    float cornerRadius = 0.0f;  // r, bull-nose corner
    float taperAngle = 0.0f;    // a, degrees from the cutter axis to the cone side
    float flatDiameter = 0.0f;  // f, the tip of the conical shapes
    float passDepth = 0.0f;     // also the height of the 3D cutter model

    bool operator==(const ToolRecord&) const = default;
};

using ToolRecordBytes = std::array<std::uint8_t, ToolRecord::kSize>;

// Field offsets of the stored record.
namespace tool_record_offset {
inline constexpr std::size_t kToolNumber = 0;
inline constexpr std::size_t kSpindleSpeed = 4;
inline constexpr std::size_t kFeedRate = 8;
inline constexpr std::size_t kPlungeRate = 12;
inline constexpr std::size_t kCoolant = 16;
inline constexpr std::size_t kNameLength = 17;
inline constexpr std::size_t kNameBytes = 18;
inline constexpr std::size_t kToolType = 68;
inline constexpr std::size_t kDiameter = 72;
inline constexpr std::size_t kCornerRadius = 76;
inline constexpr std::size_t kTaperAngle = 80;
inline constexpr std::size_t kFlatDiameter = 84;
inline constexpr std::size_t kPassDepth = 88;
}  // namespace tool_record_offset

// The name bytes past its length are written as zeros; a name longer than 50
// bytes is cut to its first 50.
ToolRecordBytes EncodeToolRecord(const ToolRecord& record);

// Reads exactly ToolRecord::kSize bytes (throws std::invalid_argument on any
// other size). Damaged fields are made safe rather than trusted: a name length
// above 50 reads as 50, and a type index outside 0..6 reads as Undefined, which
// the raster paths refuse.
ToolRecord DecodeToolRecord(std::span<const std::uint8_t> bytes);

// The number fields of a record that the tool form shows as sizes and rates.
enum class ToolField { FeedRate, PlungeRate, Diameter, CornerRadius, TaperAngle, FlatDiameter, PassDepth };

// The first number field that cannot describe a cutter: not a finite number,
// or below 0 (the form never stores one; another program or damage may). Such
// a record stays in the library as it is, but never becomes the cutter in
// use. Empty for a sound record.
std::optional<ToolField> DamagedToolField(const ToolRecord& record);

// The text shown for a type (the default texts of the tool form's list).
std::string_view ToolTypeName(ToolType type);

}  // namespace calvoro

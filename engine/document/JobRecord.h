// Every parameter of a job as the job wizard holds it, and its 492-byte stored
// form, which follows the picture in a saved document. The layout is fixed:
// little-endian, numbers at the offsets below, floats in single precision,
// texts as zero-terminated bytes in fixed fields. It is read and written field
// by field, never by copying a struct.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "engine/tools/ToolRecord.h"

namespace calvoro {

struct JobRecord {
    static constexpr std::size_t kSize = 492;
    // Bytes of the two text fields. A text shorter than its field ends with a
    // zero; one that fills the field has none, and one longer is refused.
    static constexpr std::size_t kNcFileNameField = 261;
    static constexpr std::size_t kPostNameField = 80;
    static constexpr std::int32_t kMaxZPasses = 255;

    float workWidth = 0.0f;  // size of the picture in work units
    float workHeight = 0.0f;
    bool keepRatio = true;  // the height follows the width by the pixel proportions
    float originX = 0.0f;   // the reference point as the origin edits show it
    float originY = 0.0f;
    float whiteZ = 0.0f;     // Z of white
    float blackZ = -5.0f;    // Z of black
    std::string ncFileName;  // full path of the NC output, bytes as the file system names it
    std::string postName;    // name of the post-processor definition
    ToolRecord tool;         // the current cutter
    float feedPlaneZ = 2.0f;
    float stepOver = 1.0f;     // largest distance between raster lines
    float stock = 0.0f;        // material left on the relief
    float filter = 0.025f;     // reduction tolerance of the paths
    std::int32_t zPasses = 1;  // number of depth cuts, 1 .. 255
    float zStep = 0.0f;        // depth per pass
    bool rasterAlongX = true;
    bool rasterAlongY = false;

    bool operator==(const JobRecord&) const = default;
};

using JobRecordBytes = std::array<std::uint8_t, JobRecord::kSize>;

// Field offsets of the stored record. The bytes 9-11, 369-371 and 490-491 are
// padding: written as zeros, ignored when read.
namespace job_record_offset {
inline constexpr std::size_t kWorkWidth = 0;
inline constexpr std::size_t kWorkHeight = 4;
inline constexpr std::size_t kKeepRatio = 8;
inline constexpr std::size_t kOriginX = 12;
inline constexpr std::size_t kOriginY = 16;
inline constexpr std::size_t kWhiteZ = 20;
inline constexpr std::size_t kBlackZ = 24;
inline constexpr std::size_t kNcFileName = 28;
inline constexpr std::size_t kPostName = 289;
inline constexpr std::size_t kTool = 372;
inline constexpr std::size_t kFeedPlaneZ = 464;
inline constexpr std::size_t kStepOver = 468;
inline constexpr std::size_t kStock = 472;
inline constexpr std::size_t kFilter = 476;
inline constexpr std::size_t kZPasses = 480;
inline constexpr std::size_t kZStep = 484;
inline constexpr std::size_t kRasterAlongX = 488;
inline constexpr std::size_t kRasterAlongY = 489;
}  // namespace job_record_offset

// Throws DocumentError naming the first field that cannot be stored as it is:
// a number that is not finite, Z passes outside 1 .. 255, a tool type outside
// the known ones, a name longer than its field (never cut) or holding a zero
// byte. The bytes after a text's terminating zero are zeros.
JobRecordBytes EncodeJobRecord(const JobRecord& record);

// Reads exactly JobRecord::kSize bytes and checks every field before it is
// used: the same rules as the encoder, and the flag bytes 0 or 1, the tool
// name's length byte at most 50, its type 0 .. 6. A text runs to its first zero
// or the end of its field. Throws DocumentError naming the bad field.
JobRecord DecodeJobRecord(std::span<const std::uint8_t> bytes);

}  // namespace calvoro

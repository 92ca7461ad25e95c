// The 92-byte tool record: every field at its offset, names cut to 50 bytes,
// and damaged length and type bytes made safe.
#include "engine/tools/ToolRecord.h"
#include "tests/support/Streams.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>

namespace calvoro {
namespace {

// A cutter laid out by hand, little-endian at the documented offsets:
// number, speed and type, the five sizes and the two feeds, coolant, name.
ToolRecordBytes HandBuiltRecord() {
    ToolRecordBytes bytes{};
    for (const auto& [at, value] : {std::pair<std::size_t, std::uint32_t>{0, 7}, {4, 18000}, {68, 2}})
        test::PutLe32(bytes, at, value);
    const std::pair<std::size_t, float> floats[] = {{8, 1500.5f}, {12, 300.0f}, {72, 6.0f}, {76, 3.0f},
                                                    {80, 0.0f},   {84, 0.25f},  {88, -1.5f}};
    for (const auto& [at, value] : floats) test::PutLe32(bytes, at, std::bit_cast<std::uint32_t>(value));
    std::memcpy(&bytes[16], "\1\4Ball", 6);
    return bytes;
}

ToolRecord BallRecord() {
    return {7, 18000, 1500.5f, 300.0f, true, "Ball", ToolType::Spherical, 6.0f, 3.0f, 0.0f, 0.25f, -1.5f};
}

TEST(ToolRecordTest, EveryFieldAtItsOffsetLittleEndian) {
    EXPECT_EQ(EncodeToolRecord(BallRecord()), HandBuiltRecord());
    EXPECT_EQ(DecodeToolRecord(HandBuiltRecord()), BallRecord());
    // Negative numbers and name bytes of the Windows-1252 code page (not
    // UTF-8) come back as they were.
    ToolRecord r = BallRecord();
    r.toolNumber = -3;
    r.spindleSpeed = -1;
    r.name = "Fr\xe4ser \xd8 6";
    const ToolRecordBytes bytes = EncodeToolRecord(r);
    EXPECT_EQ(bytes[0], 0xFD);
    EXPECT_EQ(bytes[3], 0xFF);
    EXPECT_EQ(DecodeToolRecord(bytes), r);
}

TEST(ToolRecordTest, DamagedFieldsAreMadeSafeAndOtherSizesRefused) {
    ToolRecordBytes bytes = HandBuiltRecord();
    bytes[17] = 200;  // name length beyond the field
    EXPECT_EQ(DecodeToolRecord(bytes).name.size(), 50u);
    // Low and high byte of the type index, and the type read.
    const std::tuple<std::uint8_t, std::uint8_t, ToolType> types[] = {{0, 0, ToolType::Flat},
                                                                      {5, 0, ToolType::ConicalSpherical},
                                                                      {6, 0, ToolType::Undefined},
                                                                      {7, 0, ToolType::Undefined},
                                                                      {0xFF, 0xFF, ToolType::Undefined}};
    for (const auto& [low, high, type] : types) {
        bytes[68] = low;
        bytes[71] = high;
        EXPECT_EQ(DecodeToolRecord(bytes).toolType, type) << int{low} << "/" << int{high};
    }
    EXPECT_THROW(DecodeToolRecord(std::span(bytes.data(), 91)), std::invalid_argument);
    const std::vector<std::uint8_t> longer(93);
    EXPECT_THROW(DecodeToolRecord(longer), std::invalid_argument);
}

}  // namespace
}  // namespace calvoro

#include "engine/tools/ToolRecord.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>

namespace calvoro {
namespace {

// A record laid out by hand, byte by byte, to pin every offset independently
// of the codec.
ToolRecordBytes HandBuiltRecord() {
    ToolRecordBytes bytes{};
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    put32(0, 7);                                      // tool number
    put32(4, 18000);                                  // speed
    put32(8, std::bit_cast<std::uint32_t>(1500.5f));  // feed
    put32(12, std::bit_cast<std::uint32_t>(300.0f));  // plunge
    bytes[16] = 1;                                    // coolant
    bytes[17] = 4;                                    // name length
    std::memcpy(&bytes[18], "Ball", 4);
    put32(68, 2);  // spherical
    put32(72, std::bit_cast<std::uint32_t>(6.0f));
    put32(76, std::bit_cast<std::uint32_t>(3.0f));
    put32(80, std::bit_cast<std::uint32_t>(0.0f));
    put32(84, std::bit_cast<std::uint32_t>(0.25f));
    put32(88, std::bit_cast<std::uint32_t>(-1.5f));
    return bytes;
}

ToolRecord BallRecord() {
    ToolRecord r;
    r.toolNumber = 7;
    r.spindleSpeed = 18000;
    r.feedRate = 1500.5f;
    r.plungeRate = 300.0f;
    r.coolant = true;
    r.name = "Ball";
    r.toolType = ToolType::Spherical;
    r.diameter = 6.0f;
    r.cornerRadius = 3.0f;
    r.flatDiameter = 0.25f;
    r.passDepth = -1.5f;
    return r;
}

TEST(ToolRecordTest, EncodesEveryFieldAtItsOffsetLittleEndian) {
    EXPECT_EQ(EncodeToolRecord(BallRecord()), HandBuiltRecord());
}

TEST(ToolRecordTest, DecodesAHandBuiltRecord) {
    const ToolRecordBytes bytes = HandBuiltRecord();
    EXPECT_EQ(DecodeToolRecord(bytes), BallRecord());
}

TEST(ToolRecordTest, NegativeNumbersAndHighNameBytesRoundTrip) {
    ToolRecord r = BallRecord();
    r.toolNumber = -3;
    r.spindleSpeed = -1;
    r.name = "Fr\xe4ser \xd8 6";  // Windows-1252 bytes, not UTF-8
    const ToolRecordBytes bytes = EncodeToolRecord(r);
    EXPECT_EQ(bytes[0], 0xFD);
    EXPECT_EQ(bytes[3], 0xFF);
    EXPECT_EQ(DecodeToolRecord(bytes), r);
}

TEST(ToolRecordTest, LongNamesAreCutToFiftyBytesAndTheRestIsZero) {
    ToolRecord r = BallRecord();
    r.name = std::string(60, 'x');
    const ToolRecordBytes bytes = EncodeToolRecord(r);
    EXPECT_EQ(bytes[17], 50);
    EXPECT_EQ(bytes[67], 'x');
    EXPECT_EQ(DecodeToolRecord(bytes).name, std::string(50, 'x'));

    r.name = "ab";
    const ToolRecordBytes shortName = EncodeToolRecord(r);
    for (std::size_t i = 20; i < 68; ++i) EXPECT_EQ(shortName[i], 0) << i;
}

TEST(ToolRecordTest, DamagedFieldsAreMadeSafe) {
    ToolRecordBytes bytes = HandBuiltRecord();
    bytes[17] = 200;  // name length beyond the field
    EXPECT_EQ(DecodeToolRecord(bytes).name.size(), 50u);

    struct Case {
        std::uint8_t low, high;
        ToolType expected;
    } cases[] = {{0, 0, ToolType::Flat},
                 {6, 0, ToolType::Undefined},
                 {7, 0, ToolType::Undefined},
                 {0xFF, 0xFF, ToolType::Undefined},
                 {5, 0, ToolType::ConicalSpherical}};
    for (const Case& c : cases) {
        bytes[68] = c.low;
        bytes[71] = c.high;
        EXPECT_EQ(DecodeToolRecord(bytes).toolType, c.expected) << int(c.low) << "/" << int(c.high);
    }
}

TEST(ToolRecordTest, RefusesAnyOtherSize) {
    const std::uint8_t bytes[93] = {};
    EXPECT_THROW(DecodeToolRecord(std::span(bytes, 91)), std::invalid_argument);
    EXPECT_THROW(DecodeToolRecord(std::span(bytes, 93)), std::invalid_argument);
}

}  // namespace
}  // namespace calvoro

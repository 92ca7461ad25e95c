// The kernel's binary records: the byte layout, reads that never pass the end
// of the buffer, and the fixed string fields.
#include "kernel/model/BinaryReader.h"
#include "kernel/model/BinaryWriter.h"
#include "kernel/model/CADCoreExceptions.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

using namespace calvoro;

namespace {

// A record of field kinds at their extremes reads back whole, and every
// truncation of it is refused without a read past its end.
TEST(BinaryStreamTest, FieldsRoundTripAndEveryCutIsRefused) {
    BinaryWriter writer;
    writer.writeUInt8(255);
    writer.writeInt16(-32768);
    writer.writeInt32(std::numeric_limits<std::int32_t>::min());
    writer.writeShortString("name", 31);
    writer.writeUInt64(0x0123456789ABCDEFull);
    writer.writeFloat32(-0.1f);
    writer.writeFloat64(std::numeric_limits<double>::denorm_min());
    writer.writeFloat64(-std::numeric_limits<double>::infinity());
    writer.writeBytes(std::string("a\0b", 3));
    const auto readBack = [](BinaryReader& reader) {
        EXPECT_EQ(reader.readUInt8(), 255);
        EXPECT_EQ(reader.readInt16(), -32768);
        EXPECT_EQ(reader.readInt32(), std::numeric_limits<std::int32_t>::min());
        EXPECT_EQ(reader.readShortString(31), "name");
        EXPECT_EQ(reader.readUInt64(), 0x0123456789ABCDEFull);
        EXPECT_EQ(reader.readFloat32(), -0.1f);
        EXPECT_EQ(reader.readFloat64(), std::numeric_limits<double>::denorm_min());
        EXPECT_EQ(reader.readFloat64(), -std::numeric_limits<double>::infinity());
        EXPECT_EQ(reader.readBytes(3), std::string("a\0b", 3));
    };
    const std::string& record = writer.bytes();
    BinaryReader whole(record);
    readBack(whole);
    EXPECT_TRUE(whole.atEnd());
    for (std::size_t cut = 0; cut < record.size(); ++cut) {
        // A copy of exactly `cut` bytes, so that ASan sees any read past it.
        const std::vector<char> truncated(record.begin(), record.begin() + static_cast<std::ptrdiff_t>(cut));
        BinaryReader reader(truncated.data(), truncated.size());
        EXPECT_THROW(readBack(reader), ECADFileNotValid) << "cut at " << cut;
    }
}

// Counts read from a file are checked against what remains before anything is
// allocated for them; a refused read consumes nothing.
TEST(BinaryStreamTest, ShortReadsAndCountsLargerThanWhatRemainsAreRefused) {
    const std::string bytes(10, '\0');
    BinaryReader shortRead(bytes.data(), 2);
    shortRead.readUInt8();
    EXPECT_THAT([&] { shortRead.readInt32(); },
                testing::ThrowsMessage<ECADFileNotValid>(
                    testing::StrEq("BinaryReader.Read: Stream read error: 4 bytes needed at offset 1, 1 left")));
    EXPECT_EQ(shortRead.position(), 1u) << "a refused read consumes nothing";

    BinaryReader reader(bytes);
    EXPECT_NO_THROW(reader.requireAvailable(10, 1, "pattern"));
    EXPECT_NO_THROW(reader.requireAvailable(5, 2, "pattern"));
    EXPECT_NO_THROW(reader.requireAvailable(0, 24, "points"));
    EXPECT_THROW(reader.requireAvailable(11, 1, "pattern"), ECADFileNotValid);
    EXPECT_THROW(reader.requireAvailable(1, 24, "points"), ECADFileNotValid);
    // A count whose byte size wraps around 64 bits is refused too.
    EXPECT_THROW(reader.requireAvailable(0xFFFFFFFFFFFFFFFFull, 24, "points"), ECADFileNotValid);
    EXPECT_THROW(reader.readBytes(std::numeric_limits<std::size_t>::max()), ECADFileNotValid);
    EXPECT_EQ(reader.position(), 0u);
}

}  // namespace

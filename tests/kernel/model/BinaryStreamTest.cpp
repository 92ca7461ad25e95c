#include "kernel/model/BinaryReader.h"
#include "kernel/model/BinaryWriter.h"
#include "kernel/model/CADCoreExceptions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

using namespace calvoro;

namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int v : values) bytes.push_back(static_cast<char>(v));
    return bytes;
}

TEST(BinaryStreamTest, FieldsAreLittleEndianWithoutAlignment) {
    BinaryWriter writer;
    writer.writeUInt8(0xAB);
    writer.writeInt32(-2);
    writer.writeUInt16(0x1234);
    writer.writeFloat64(1.0);
    writer.writeBool(true);
    EXPECT_EQ(writer.bytes(), Bytes({0xAB, 0xFE, 0xFF, 0xFF, 0xFF, 0x34, 0x12, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F, 1}));
}

TEST(BinaryStreamTest, EveryFieldKindRoundTrips) {
    BinaryWriter writer;
    writer.writeUInt8(255);
    writer.writeInt8(-128);
    writer.writeBool(false);
    writer.writeUInt16(65535);
    writer.writeInt16(-32768);
    writer.writeUInt32(0xFFFFFFFFu);
    writer.writeInt32(std::numeric_limits<std::int32_t>::min());
    writer.writeUInt64(0x0123456789ABCDEFull);
    writer.writeInt64(-5);
    writer.writeFloat32(-0.1f);
    writer.writeFloat64(std::numeric_limits<double>::denorm_min());
    writer.writeFloat64(-std::numeric_limits<double>::infinity());
    writer.writeBytes(std::string("a\0b", 3));

    BinaryReader reader(writer.bytes());
    EXPECT_EQ(reader.readUInt8(), 255);
    EXPECT_EQ(reader.readInt8(), -128);
    EXPECT_FALSE(reader.readBool());
    EXPECT_EQ(reader.readUInt16(), 65535);
    EXPECT_EQ(reader.readInt16(), -32768);
    EXPECT_EQ(reader.readUInt32(), 0xFFFFFFFFu);
    EXPECT_EQ(reader.readInt32(), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(reader.readUInt64(), 0x0123456789ABCDEFull);
    EXPECT_EQ(reader.readInt64(), -5);
    EXPECT_EQ(reader.readFloat32(), -0.1f);
    EXPECT_EQ(reader.readFloat64(), std::numeric_limits<double>::denorm_min());
    EXPECT_EQ(reader.readFloat64(), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(reader.readBytes(3), std::string("a\0b", 3));
    EXPECT_TRUE(reader.atEnd());
}

// A record of every field kind, read back from every truncation of its bytes:
// each must be refused, and never read past the end.
TEST(BinaryStreamTest, RefusesTheRecordCutAtEveryOffset) {
    BinaryWriter writer;
    writer.writeInt32(7);
    writer.writeUInt8(1);
    writer.writeFloat64(2.5);
    writer.writeUInt16(3);
    writer.writeShortString("name", 31);
    writer.writeUInt64(9);
    writer.writeFloat32(1.5f);
    const std::string record = writer.bytes();
    const auto readRecord = [](BinaryReader& reader) {
        reader.readInt32();
        reader.readUInt8();
        reader.readFloat64();
        reader.readUInt16();
        reader.readShortString(31);
        reader.readUInt64();
        reader.readFloat32();
    };
    {
        BinaryReader whole(record);
        readRecord(whole);
        EXPECT_TRUE(whole.atEnd());
    }
    for (std::size_t cut = 0; cut < record.size(); ++cut) {
        // A copy of exactly `cut` bytes, so that ASan sees any read past it.
        const std::vector<char> truncated(record.begin(), record.begin() + static_cast<std::ptrdiff_t>(cut));
        BinaryReader reader(truncated.data(), truncated.size());
        EXPECT_THROW(readRecord(reader), ECADFileNotValid) << "cut at " << cut;
    }
}

TEST(BinaryStreamTest, AShortReadNamesWhereTheStreamEnded) {
    const std::string bytes = Bytes({1, 2});
    BinaryReader reader(bytes);
    reader.readUInt8();
    try {
        reader.readInt32();
        FAIL() << "a short read was accepted";
    } catch (const ECADFileNotValid& error) {
        EXPECT_STREQ(error.what(), "BinaryReader.Read: Stream read error: 4 bytes needed at offset 1, 1 left");
    }
    EXPECT_EQ(reader.position(), 1u) << "a refused read consumes nothing";
}

TEST(BinaryStreamTest, RefusesCountsLargerThanWhatRemains) {
    const std::string bytes(10, '\0');
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

TEST(BinaryStreamTest, ShortStringsStayInsideTheirField) {
    struct Case {
        std::string field;  // length byte and the characters
        std::string text;
    };
    const std::vector<Case> cases = {
        {Bytes({3, 'a', 'b', 'c', 'd', 'e'}), "abc"},
        {Bytes({0, 'a', 'b', 'c', 'd', 'e'}), ""},
        {Bytes({5, 'a', 'b', 'c', 'd', 'e'}), "abcde"},
        {Bytes({200, 'a', 'b', 'c', 'd', 'e'}), "abcde"},  // a length beyond the field is cut to it
    };
    for (const Case& c : cases) {
        const std::string bytes = c.field + "tail";
        BinaryReader reader(bytes);
        EXPECT_EQ(reader.readShortString(5), c.text);
        EXPECT_EQ(reader.position(), 6u) << "the whole field is consumed";
    }
}

TEST(BinaryStreamTest, WritesShortStringsCutAndZeroPadded) {
    BinaryWriter writer;
    writer.writeShortString("abcdefg", 5);
    writer.writeShortString("ab", 4);
    EXPECT_EQ(writer.bytes(), Bytes({5, 'a', 'b', 'c', 'd', 'e', 2, 'a', 'b', 0, 0}));
}

TEST(BinaryStreamTest, APlaceholderCountIsPatchedInPlace) {
    BinaryWriter writer;
    writer.writeUInt8(9);
    const std::size_t at = writer.position();
    writer.writeInt32(0);
    writer.writeUInt8(8);
    writer.patchInt32(at, -3);
    EXPECT_EQ(writer.bytes(), Bytes({9, 0xFD, 0xFF, 0xFF, 0xFF, 8}));
    EXPECT_THROW(writer.patchInt32(3, 1), std::out_of_range);
}

}  // namespace

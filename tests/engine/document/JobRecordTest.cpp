#include "engine/document/JobRecord.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "engine/document/DocumentError.h"

namespace calvoro {
namespace {

// A record whose every field has its own value.
JobRecord SampleRecord() {
    JobRecord r;
    r.workWidth = 254.0f;
    r.workHeight = 127.0f;
    r.keepRatio = true;
    r.originX = -1.5f;
    r.originY = 2.25f;
    r.whiteZ = 0.5f;
    r.blackZ = -5.0f;
    r.ncFileName = "/w/a.nc";
    r.postName = "FANUC";
    r.tool.toolNumber = 3;
    r.tool.spindleSpeed = 12000;
    r.tool.feedRate = 800.0f;
    r.tool.plungeRate = 200.0f;
    r.tool.coolant = true;
    r.tool.name = "Ball 6";
    r.tool.toolType = ToolType::Spherical;
    r.tool.diameter = 6.0f;
    r.tool.cornerRadius = 3.0f;
    r.tool.taperAngle = 0.0f;
    r.tool.flatDiameter = 0.0f;
    r.tool.passDepth = 1.0f;
    r.feedPlaneZ = 2.0f;
    r.stepOver = 0.25f;
    r.stock = 0.125f;
    r.filter = 0.025f;
    r.zPasses = 3;
    r.zStep = 1.5f;
    r.rasterAlongX = true;
    r.rasterAlongY = false;
    return r;
}

// The same record assembled by hand, byte by byte at the documented offsets.
JobRecordBytes SampleBytes() {
    JobRecordBytes b{};
    const auto put = [&b](std::size_t offset, std::vector<std::uint8_t> bytes) {
        std::copy(bytes.begin(), bytes.end(), b.begin() + offset);
    };
    put(0, {0x00, 0x00, 0x7E, 0x43});   // 254.0
    put(4, {0x00, 0x00, 0xFE, 0x42});   // 127.0
    put(8, {0x01});                     // keep ratio
    put(12, {0x00, 0x00, 0xC0, 0xBF});  // -1.5
    put(16, {0x00, 0x00, 0x10, 0x40});  // 2.25
    put(20, {0x00, 0x00, 0x00, 0x3F});  // 0.5
    put(24, {0x00, 0x00, 0xA0, 0xC0});  // -5.0
    put(28, {'/', 'w', '/', 'a', '.', 'n', 'c'});
    put(289, {'F', 'A', 'N', 'U', 'C'});
    put(372, {0x03, 0x00, 0x00, 0x00});  // tool number 3
    put(376, {0xE0, 0x2E, 0x00, 0x00});  // speed 12000
    put(380, {0x00, 0x00, 0x48, 0x44});  // feed 800.0
    put(384, {0x00, 0x00, 0x48, 0x43});  // plunge 200.0
    put(388, {0x01});                    // coolant
    put(389, {0x06, 'B', 'a', 'l', 'l', ' ', '6'});
    put(440, {0x02, 0x00, 0x00, 0x00});  // spherical
    put(444, {0x00, 0x00, 0xC0, 0x40});  // diameter 6.0
    put(448, {0x00, 0x00, 0x40, 0x40});  // corner radius 3.0
    put(460, {0x00, 0x00, 0x80, 0x3F});  // pass depth 1.0
    put(464, {0x00, 0x00, 0x00, 0x40});  // feed plane 2.0
    put(468, {0x00, 0x00, 0x80, 0x3E});  // step over 0.25
    put(472, {0x00, 0x00, 0x00, 0x3E});  // stock 0.125
    put(476, {0xCD, 0xCC, 0xCC, 0x3C});  // filter 0.025
    put(480, {0x03, 0x00, 0x00, 0x00});  // 3 passes
    put(484, {0x00, 0x00, 0xC0, 0x3F});  // depth per pass 1.5
    put(488, {0x01, 0x00});              // along X only
    return b;
}

// The refusal's message, or "" when the call succeeded.
template <class Call>
std::string MessageOf(Call call) {
    try {
        call();
    } catch (const DocumentError& error) {
        return error.what();
    }
    return "";
}
std::string MessageOfDecoding(const JobRecordBytes& bytes) {
    return MessageOf([&] { DecodeJobRecord(bytes); });
}
std::string MessageOfEncoding(const JobRecord& record) {
    return MessageOf([&] { EncodeJobRecord(record); });
}

TEST(JobRecordTest, EveryFieldAtItsOffset) {
    EXPECT_EQ(EncodeJobRecord(SampleRecord()), SampleBytes());
    EXPECT_EQ(DecodeJobRecord(SampleBytes()), SampleRecord());
}

TEST(JobRecordTest, KeepRatioByteRecordsTheRealState) {
    JobRecord record = SampleRecord();
    record.keepRatio = false;
    record.rasterAlongX = false;
    record.rasterAlongY = true;
    const JobRecordBytes bytes = EncodeJobRecord(record);
    EXPECT_EQ(bytes[8], 0);
    EXPECT_EQ(bytes[488], 0);
    EXPECT_EQ(bytes[489], 1);
    EXPECT_EQ(DecodeJobRecord(bytes), record);
}

TEST(JobRecordTest, PaddingAndBytesAfterATextsZeroAreIgnored) {
    JobRecordBytes bytes = SampleBytes();
    for (std::size_t at : {9, 10, 11, 369, 370, 371, 490, 491}) bytes[at] = 0xEE;
    std::fill(bytes.begin() + 28 + 8, bytes.begin() + 289, 0xEE);            // after "/w/a.nc" and its zero
    std::fill(bytes.begin() + 289 + 6, bytes.begin() + 289 + 80, 0xEE);      // after "FANUC" and its zero
    std::fill(bytes.begin() + 389 + 1 + 6, bytes.begin() + 389 + 51, 0xEE);  // past the tool name's length
    EXPECT_EQ(DecodeJobRecord(bytes), SampleRecord());
    EXPECT_EQ(EncodeJobRecord(DecodeJobRecord(bytes)), SampleBytes());
}

TEST(JobRecordTest, TextsUpToTheirFieldAndNoFurther) {
    struct Case {
        std::size_t ncLength, postLength;
        bool fits;
    };
    const Case cases[] = {{260, 79, true}, {261, 80, true}, {262, 10, false}, {10, 81, false}, {0, 0, true}};
    for (const Case& c : cases) {
        JobRecord record = SampleRecord();
        record.ncFileName = std::string(c.ncLength, 'n');
        record.postName = std::string(c.postLength, 'p');
        if (!c.fits) {
            EXPECT_NE(MessageOfEncoding(record).find("bytes long"), std::string::npos);
            continue;
        }
        const JobRecordBytes bytes = EncodeJobRecord(record);
        if (c.ncLength < 261) {
            EXPECT_EQ(bytes[28 + c.ncLength], 0);
        }
        if (c.postLength < 80) {
            EXPECT_EQ(bytes[289 + c.postLength], 0);
        }
        EXPECT_EQ(bytes[370], 0);  // the post name never runs into the padding
        EXPECT_EQ(DecodeJobRecord(bytes), record) << c.ncLength << " " << c.postLength;
    }
}

TEST(JobRecordTest, NamesThatWouldNotReadBackAreRefused) {
    JobRecord zeroInPath = SampleRecord();
    zeroInPath.ncFileName = std::string("/w/a\0b.nc", 9);
    JobRecord zeroInPost = SampleRecord();
    zeroInPost.postName = std::string("FA\0NUC", 6);
    JobRecord longTool = SampleRecord();
    longTool.tool.name = std::string(51, 't');
    EXPECT_NE(MessageOfEncoding(zeroInPath).find("NC file name holds a zero"), std::string::npos);
    EXPECT_NE(MessageOfEncoding(zeroInPost).find("post-processor name holds a zero"), std::string::npos);
    EXPECT_NE(MessageOfEncoding(longTool).find("tool name is 51 bytes"), std::string::npos);
    longTool.tool.name.pop_back();
    EXPECT_EQ(DecodeJobRecord(EncodeJobRecord(longTool)), longTool);
}

TEST(JobRecordTest, DamagedFieldsAreRefusedByName) {
    struct Case {
        std::size_t offset;
        std::vector<std::uint8_t> bytes;
        const char* message;
    };
    const Case cases[] = {
        {8, {2}, "keep ratio flag holds 2"},
        {488, {7}, "raster along X flag holds 7"},
        {489, {0xFF}, "raster along Y flag holds 255"},
        {389, {51}, "tool name claims 51 bytes"},
        {440, {7, 0, 0, 0}, "tool type 7 is unknown"},
        {440, {0xFF, 0xFF, 0xFF, 0xFF}, "tool type -1 is unknown"},
        {480, {0, 0, 0, 0}, "number of Z passes is 0"},
        {480, {0, 1, 0, 0}, "number of Z passes is 256"},
        {480, {0xFD, 0xFF, 0xFF, 0xFF}, "number of Z passes is -3"},
    };
    for (const Case& c : cases) {
        JobRecordBytes bytes = SampleBytes();
        std::copy(c.bytes.begin(), c.bytes.end(), bytes.begin() + c.offset);
        EXPECT_NE(MessageOfDecoding(bytes).find(c.message), std::string::npos)
            << "offset " << c.offset << ": " << MessageOfDecoding(bytes);
    }
}

TEST(JobRecordTest, NumbersThatAreNotFiniteAreRefusedBothWays) {
    const std::size_t floatOffsets[] = {0,   4,   12,  16,  20,  24,  380, 384, 444,
                                        448, 452, 456, 460, 464, 468, 472, 476, 484};
    for (std::size_t offset : floatOffsets)
        for (float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                          -std::numeric_limits<float>::infinity()}) {
            JobRecordBytes bytes = SampleBytes();
            std::memcpy(bytes.data() + offset, &bad, 4);
            EXPECT_NE(MessageOfDecoding(bytes).find("is not a finite number"), std::string::npos)
                << "offset " << offset;
        }
    JobRecord record = SampleRecord();
    record.tool.diameter = std::numeric_limits<float>::quiet_NaN();
    EXPECT_NE(MessageOfEncoding(record).find("tool diameter is not a finite number"), std::string::npos);
    record = SampleRecord();
    record.zPasses = 0;
    EXPECT_NE(MessageOfEncoding(record).find("Z passes is 0"), std::string::npos);
    record = SampleRecord();
    record.tool.toolType = static_cast<ToolType>(9);
    EXPECT_NE(MessageOfEncoding(record).find("tool type 9"), std::string::npos);
}

TEST(JobRecordTest, OnlyExactly492BytesAreARecord) {
    const JobRecordBytes bytes = SampleBytes();
    for (std::size_t size : {0, 1, 491, 493}) {
        std::vector<std::uint8_t> other(bytes.begin(), bytes.end());
        other.resize(size);
        EXPECT_THROW(DecodeJobRecord(other), DocumentError) << size;
    }
}

}  // namespace
}  // namespace calvoro

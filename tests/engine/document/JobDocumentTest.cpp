// The job record and document: every field at its offset, what the encoder
// keeps and refuses, damaged records refused by name, documents read back, a
// failed save that keeps the old document, and the names offered on saving.
//
// Opening a document: the record is read at bfSize, also from a file that
// goes on after it, and a pipe of that name is refused at once naming the
// file (the kinds of names are tested with InputFile).
#include "engine/document/DocumentError.h"
#include "engine/document/JobDocument.h"
#include "engine/document/JobRecord.h"
#include "engine/document/SaveName.h"
#include "engine/picture/BmpCodec.h"
#include "kernel/platform/AtomicFile.h"
#include "tests/support/Pictures.h"
#include "tests/support/Refusals.h"
#include "tests/support/Streams.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <bit>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

using namespace calvoro;
namespace fs = std::filesystem;

namespace calvoro {
namespace {

// A record whose every field has its own value, in the order of the struct:
// size, keep ratio, origin, white and black Z, the names, the tool (number,
// speed, feeds, coolant, name, type, diameter, corner, angle, tip, pass
// depth), feed plane, step over, stock, filter, passes, Z step, directions.
JobRecord SampleRecord() {
    const ToolRecord tool{3, 12000, 800, 200, true, "Ball 6", ToolType::Spherical, 6, 3, 0, 0, 1};
    return {254,  127, true,  -1.5f,  2.25f,  0.5f, -5,   "/w/a.nc", "FANUC",
            tool, 2,   0.25f, 0.125f, 0.025f, 3,    1.5f, true,      false};
}

// The same record laid out by hand, little-endian at the documented offsets.
JobRecordBytes SampleBytes() {
    const std::pair<std::size_t, float> floats[] = {
        {0, 254}, {4, 127}, {12, -1.5f}, {16, 2.25f}, {20, 0.5f},   {24, -5},      {380, 800},    {384, 200},
        {444, 6}, {448, 3}, {460, 1},    {464, 2},    {468, 0.25f}, {472, 0.125f}, {476, 0.025f}, {484, 1.5f}};
    const std::pair<std::size_t, std::uint32_t> integers[] = {{372, 3}, {376, 12000}, {440, 2}, {480, 3}};
    // Keep ratio, the two names, coolant and the tool name with its length,
    // along X only.
    const std::pair<std::size_t, std::string_view> texts[] = {
        {8, "\1"}, {28, "/w/a.nc"}, {289, "FANUC"}, {388, "\1\6Ball 6"}, {488, "\1"}};
    JobRecordBytes b{};
    for (const auto& [at, value] : floats) test::PutLe32(b, at, std::bit_cast<std::uint32_t>(value));
    for (const auto& [at, value] : integers) test::PutLe32(b, at, value);
    for (const auto& [at, text] : texts) std::copy(text.begin(), text.end(), b.begin() + at);
    return b;
}

// The refusal's message, or "" when the call succeeded.
TEST(JobRecordTest, EveryFieldAtItsOffset) {
    EXPECT_EQ(EncodeJobRecord(SampleRecord()), SampleBytes());
    EXPECT_EQ(DecodeJobRecord(SampleBytes()), SampleRecord());
    // Padding, and the bytes after a text's zero or past the tool name's
    // length, are ignored when read.
    JobRecordBytes junk = SampleBytes();
    for (std::size_t at : {9, 10, 11, 369, 370, 371, 490, 491}) junk[at] = 0xEE;
    std::fill(junk.begin() + 28 + 8, junk.begin() + 289, 0xEE);
    std::fill(junk.begin() + 289 + 6, junk.begin() + 289 + 80, 0xEE);
    std::fill(junk.begin() + 389 + 1 + 6, junk.begin() + 389 + 51, 0xEE);
    EXPECT_EQ(DecodeJobRecord(junk), SampleRecord());
}

using Change = void (*)(JobRecord&);

// Accepted records read back the same: the flags hold their real state (the
// other way round from the sample), a text shorter than its field ends with a
// zero, one that fills it has none. Refused ones name the field; a text
// longer than its field is refused, never cut.
TEST(JobRecordTest, EncoderKeepsWhatFitsAndRefusesTheRestByName) {
    struct Accepted {
        std::size_t ncFileName, postName, toolName;
        std::vector<std::pair<std::size_t, std::uint8_t>> bytes;
    };
    const Accepted accepted[] = {{260, 79, 6, {{288, 0}, {368, 0}}},
                                 {261, 80, 50, {{288, 'n'}, {289, 'p'}, {368, 'p'}, {370, 0}, {389, 50}}},
                                 {0, 0, 0, {{28, 0}, {289, 0}, {389, 0}}}};
    for (const auto& [ncFileName, postName, toolName, expected] : accepted) {
        JobRecord record = SampleRecord();
        record.ncFileName.assign(ncFileName, 'n');
        record.postName.assign(postName, 'p');
        record.tool.name.assign(toolName, 't');
        record.keepRatio = record.rasterAlongX = false;
        record.rasterAlongY = true;
        const JobRecordBytes bytes = EncodeJobRecord(record);
        EXPECT_EQ(std::vector<std::uint8_t>({bytes[8], bytes[488], bytes[489]}), std::vector<std::uint8_t>({0, 0, 1}));
        for (const auto& [at, value] : expected) EXPECT_EQ(bytes[at], value) << "offset " << at;
        EXPECT_EQ(DecodeJobRecord(bytes), record);
    }
    const std::pair<Change, const char*> refused[] = {
        {[](JobRecord& r) { r.ncFileName.assign(262, 'n'); }, "NC file name is 262 bytes long"},
        {[](JobRecord& r) { r.postName.assign(81, 'p'); }, "post-processor name is 81 bytes long"},
        {[](JobRecord& r) { r.tool.name.assign(51, 't'); }, "tool name is 51 bytes"},
        {[](JobRecord& r) { r.ncFileName = std::string("/w/a\0b.nc", 9); }, "NC file name holds a zero"},
        {[](JobRecord& r) { r.postName = std::string("FA\0NUC", 6); }, "post-processor name holds a zero"},
        {[](JobRecord& r) { r.tool.diameter = std::nanf(""); }, "tool diameter is not a finite number"},
        {[](JobRecord& r) { r.zPasses = 0; }, "Z passes is 0"},
        {[](JobRecord& r) { r.tool.toolType = static_cast<ToolType>(9); }, "tool type 9"}};
    for (const auto& [change, expected] : refused) {
        JobRecord record = SampleRecord();
        change(record);
        const std::string message = test::MessageOf<DocumentError>([&] { EncodeJobRecord(record); });
        EXPECT_NE(message.find(expected), std::string::npos) << expected << ": " << message;
    }
}

TEST(JobRecordTest, DamagedRecordsAreRefusedByName) {
    const JobRecordBytes sample = SampleBytes();
    const std::tuple<std::size_t, std::vector<std::uint8_t>, const char*> cases[] = {
        {8, {2}, "keep ratio flag holds 2"},
        {488, {7}, "raster along X flag holds 7"},
        {489, {0xFF}, "raster along Y flag holds 255"},
        {389, {51}, "tool name claims 51 bytes"},
        {440, {7, 0, 0, 0}, "tool type 7 is unknown"},
        {440, {0xFF, 0xFF, 0xFF, 0xFF}, "tool type -1 is unknown"},
        {480, {0, 0, 0, 0}, "number of Z passes is 0"},
        {480, {0, 1, 0, 0}, "number of Z passes is 256"},
        {480, {0xFD, 0xFF, 0xFF, 0xFF}, "number of Z passes is -3"}};
    for (const auto& [offset, damage, expected] : cases) {
        JobRecordBytes bytes = sample;
        std::copy(damage.begin(), damage.end(), bytes.begin() + offset);
        const std::string message = test::MessageOf<DocumentError>([&] { DecodeJobRecord(bytes); });
        EXPECT_NE(message.find(expected), std::string::npos) << "offset " << offset << ": " << message;
    }
    for (std::size_t offset : {0, 4, 12, 16, 20, 24, 380, 384, 444, 448, 452, 456, 460, 464, 468, 472, 476, 484})
        for (float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                          -std::numeric_limits<float>::infinity()}) {
            JobRecordBytes bytes = sample;
            std::memcpy(bytes.data() + offset, &bad, 4);
            EXPECT_NE(test::MessageOf<DocumentError>([&] { DecodeJobRecord(bytes); }).find("is not a finite number"),
                      std::string::npos)
                << "offset " << offset;
        }
    // Only exactly 492 bytes are a record.
    for (std::size_t size : {0, 1, 491, 493}) {
        std::vector<std::uint8_t> other(sample.begin(), sample.end());
        other.resize(size);
        EXPECT_THROW(DecodeJobRecord(other), DocumentError) << size;
    }
}

JobRecord Record() {
    JobRecord record;
    record.workWidth = 100.0f;
    record.keepRatio = false;
    record.ncFileName = "/home/maker/jobs/sign.nc";
    record.tool.name = "V 60";
    record.tool.toolType = ToolType::ConicalFlat;
    record.zPasses = 4;
    return record;
}

class JobDocumentFileTest : public ::testing::Test {
protected:
    test::TempFolder folder_;
};

TEST_F(JobDocumentFileTest, SavedDocumentReadsBackAndAPlainPictureHasNoRecord) {
    const auto file = folder_ / "job.pxm";
    for (PixelFormat format : {PixelFormat::Grey8, PixelFormat::Bgr24, PixelFormat::Bgra32}) {
        Picture picture = test::RandomPicture(7, 4, format);
        picture.dpiX = picture.dpiY = 254;
        SaveDocument(file, picture, Record());
        const LoadedDocument loaded = ReadDocumentFile(file);
        ASSERT_TRUE(loaded.record) << loaded.recordProblem;
        EXPECT_EQ(*loaded.record, Record());
        EXPECT_EQ(loaded.picture.format, format);
        EXPECT_EQ(loaded.picture.width, 7);
        EXPECT_EQ(loaded.picture.height, 4);
        EXPECT_EQ(loaded.picture.pixels, picture.pixels);
        EXPECT_EQ(loaded.picture.dpiX, 254);
        EXPECT_EQ(std::filesystem::file_size(file), EncodeBmp(picture).size() + 492);
        EXPECT_EQ(folder_.FileCount(), 1u);
    }
    // A plain picture opens without a record; the reason names the file.
    const Picture picture = test::RandomPicture(3, 3, PixelFormat::Bgr24);
    WriteFileAtomically(file, EncodeBmp(picture));
    const LoadedDocument loaded = ReadDocumentFile(file);
    EXPECT_FALSE(loaded.record);
    EXPECT_NE(loaded.recordProblem.find(file.string()), std::string::npos) << loaded.recordProblem;
    EXPECT_EQ(loaded.picture.pixels, picture.pixels);
    WriteFileAtomically(file, "not a picture");
    EXPECT_THROW(ReadDocumentFile(file), PictureError);
}

TEST_F(JobDocumentFileTest, FailedSaveLeavesTheOldDocument) {
    const auto file = folder_ / "job.pxm";
    SaveDocument(file, test::RandomPicture(4, 4, PixelFormat::Grey8), Record());
    const std::string before = ReadWholeFile(file);
    // A bad record is refused before anything is written.
    JobRecord bad = Record();
    bad.postName = std::string(81, 'p');
    EXPECT_THROW(SaveDocument(file, test::RandomPicture(9, 9, PixelFormat::Bgr24), bad), DocumentError);
    EXPECT_EQ(ReadWholeFile(file), before);
    EXPECT_EQ(folder_.FileCount(), 1u);
    // A folder where the file should go: the final rename fails.
    const auto blocked = folder_ / "blocked.pxm";
    std::filesystem::create_directory(blocked);
    EXPECT_THROW(SaveDocument(blocked, test::RandomPicture(4, 4, PixelFormat::Grey8), Record()), FileWriteError);
    EXPECT_TRUE(std::filesystem::is_directory(blocked));
    EXPECT_EQ(folder_.FileCount(), 2u);
}

TEST(SaveNameTest, ChosenNameGetsTheExtensionOfItsKindOnlyWhenItHasNone) {
    const std::tuple<const char*, SaveKind, const char*> cases[] = {
        {"job", SaveKind::Document, "job.pxm"},
        {"job", SaveKind::Stl, "job.stl"},
        {"job", SaveKind::Dxf, "job.dxf"},
        {"job.PXM", SaveKind::Document, "job.PXM"},
        {"job.", SaveKind::Stl, "job."},
        {"/home/maker/v1.2/job", SaveKind::Document, "/home/maker/v1.2/job.pxm"},
        {"/home/maker/v1.2/job.nc", SaveKind::Dxf, "/home/maker/v1.2/job.nc"}};
    for (const auto& [chosen, kind, saved] : cases) EXPECT_EQ(CompleteSaveName(chosen, kind), saved) << chosen;
}

}  // namespace
}  // namespace calvoro

namespace {

Picture Grey(int width, int height) {
    Picture picture;
    picture.allocate(width, height, PixelFormat::Grey8);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) picture.pixels[i] = static_cast<std::uint8_t>(i * 37);
    return picture;
}

JobRecord Record() {
    JobRecord record;
    record.postName = "fanuc_mm";
    record.ncFileName = "/home/user/relief.nc";
    record.zPasses = 3;
    return record;
}

TEST(DocumentOpen, TheRecordLiesAtTheDeclaredSizeWhateverFollowsIt) {
    const std::string document = EncodeDocument(Grey(4, 4), Record());
    const std::string bmp = EncodeBmp(Grey(4, 4));
    const struct {
        const char* name;
        std::string bytes;
        const char* problem;  // nullptr: the record is read
    } cases[] = {
        {"exact", document, nullptr},
        {"one byte more", document + "x", nullptr},
        {"another record after it", document + document.substr(bmp.size()), nullptr},
        {"a picture after it", document + bmp, nullptr},
        {"one byte short", document.substr(0, document.size() - 1), "holds no job record"},
        {"no record", bmp, "holds no job record"},
        {"declared size 0", std::string(document).replace(2, 4, std::string(4, '\0')), "reaches past"},
    };
    test::TempFolder folder;
    for (const auto& c : cases) {
        WriteFileAtomically(folder / "job.pxm", c.bytes);
        for (const LoadedDocument& loaded : {DecodeDocument(c.bytes), ReadDocumentFile(folder / "job.pxm")}) {
            EXPECT_EQ(loaded.picture.pixels, Grey(4, 4).pixels) << c.name;
            if (c.problem == nullptr) {
                ASSERT_TRUE(loaded.record) << c.name << ": " << loaded.recordProblem;
                EXPECT_EQ(*loaded.record, Record()) << c.name;
            } else {
                EXPECT_FALSE(loaded.record) << c.name;
                EXPECT_NE(loaded.recordProblem.find(c.problem), std::string::npos) << loaded.recordProblem;
            }
        }
    }
}

TEST(DocumentOpen, APipeIsRefusedNamingTheFile) {
    test::TempFolder folder;
    ASSERT_EQ(::mkfifo((folder / "job.pxm").c_str(), 0600), 0);
    try {
        ReadDocumentFile(folder / "job.pxm");
        ADD_FAILURE() << "the pipe was read";
    } catch (const DocumentError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "\"" + (folder / "job.pxm").string() + "\": The document cannot be read: it is a pipe, not a file.");
    }
}

}  // namespace

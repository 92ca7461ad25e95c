#include "engine/document/JobDocument.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <random>

#include "engine/document/DocumentError.h"
#include "engine/picture/BmpCodec.h"
#include "kernel/platform/AtomicFile.h"
#include "tests/engine/document/TestFolder.h"

namespace calvoro {
namespace {

Picture RandomPicture(int width, int height, PixelFormat format, int dpi) {
    Picture picture;
    picture.allocate(width, height, format);
    std::mt19937 random(static_cast<unsigned>(width * 31 + height));
    for (auto& byte : picture.pixels) byte = static_cast<std::uint8_t>(random());
    picture.dpiX = picture.dpiY = dpi;
    return picture;
}

JobRecord Record() {
    JobRecord record;
    record.workWidth = 100.0f;
    record.workHeight = 33.5f;
    record.keepRatio = false;
    record.ncFileName = "/home/maker/jobs/sign.nc";
    record.postName = "fanuc_mm";
    record.tool.name = "V 60";
    record.tool.toolType = ToolType::ConicalFlat;
    record.zPasses = 4;
    return record;
}

std::uint32_t DeclaredSize(const std::string& document) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(document[2])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(document[3])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(document[4])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(document[5])) << 24;
}

void SetDeclaredSize(std::string& document, std::uint32_t size) {
    for (int k = 0; k < 4; ++k) document[2 + k] = static_cast<char>(size >> (8 * k));
}

TEST(JobDocumentTest, PictureThenRecord) {
    const Picture picture = RandomPicture(5, 3, PixelFormat::Bgr24, 300);
    const std::string document = EncodeDocument(picture, Record());
    ASSERT_GT(document.size(), 492u);
    EXPECT_EQ(DeclaredSize(document), document.size() - 492);
    EXPECT_EQ(document.substr(0, document.size() - 492), EncodeBmp(picture));
    const JobRecordBytes record = EncodeJobRecord(Record());
    EXPECT_EQ(document.substr(document.size() - 492), std::string(record.begin(), record.end()));
    // Any BMP reader takes it as the picture.
    EXPECT_EQ(DecodeBmp(document).picture.pixels, picture.pixels);
}

TEST(JobDocumentTest, EveryPictureFormatComesBackWithItsRecord) {
    for (PixelFormat format : {PixelFormat::Grey8, PixelFormat::Bgr24, PixelFormat::Bgra32}) {
        const Picture picture = RandomPicture(7, 4, format, 254);
        const LoadedDocument loaded = DecodeDocument(EncodeDocument(picture, Record()));
        ASSERT_TRUE(loaded.record) << loaded.recordProblem;
        EXPECT_EQ(*loaded.record, Record());
        EXPECT_EQ(loaded.picture.format, format);
        EXPECT_EQ(loaded.picture.width, 7);
        EXPECT_EQ(loaded.picture.height, 4);
        EXPECT_EQ(loaded.picture.pixels, picture.pixels);
        EXPECT_EQ(loaded.picture.dpiX, 254);
    }
}

// Cut short or grown at any length, a document never yields a record; where
// the picture can still be read it comes back with a reason.
TEST(JobDocumentTest, TruncatedOrOversizedDocumentsGiveNoRecord) {
    const Picture picture = RandomPicture(3, 2, PixelFormat::Grey8, 0);
    const std::string document = EncodeDocument(picture, Record());
    int pictureKept = 0;
    for (std::size_t length = 0; length < document.size(); ++length) {
        try {
            const LoadedDocument loaded = DecodeDocument(std::string_view(document).substr(0, length));
            EXPECT_FALSE(loaded.record) << "length " << length;
            EXPECT_FALSE(loaded.recordProblem.empty());
            EXPECT_EQ(loaded.picture.pixels, picture.pixels);
            ++pictureKept;
        } catch (const PictureError&) {
            // Too short for the picture itself.
        }
    }
    EXPECT_GE(pictureKept, 492);  // at least every cut inside the record
    for (std::size_t extra : {1, 2, 491, 492, 4096}) {
        const LoadedDocument loaded = DecodeDocument(document + std::string(extra, '\x01'));
        EXPECT_FALSE(loaded.record) << "extra " << extra;
        EXPECT_NE(loaded.recordProblem.find("holds no job record"), std::string::npos);
    }
}

TEST(JobDocumentTest, DeclaredSizeMustMatchThePictureAndTheFile) {
    const Picture picture = RandomPicture(4, 4, PixelFormat::Bgr24, 0);
    const std::string document = EncodeDocument(picture, Record());
    const std::uint32_t size = DeclaredSize(document);
    struct Case {
        std::uint32_t declared;
        const char* message;
    };
    for (const Case& c : {Case{0, "holds no job record"}, Case{size + 1, "holds no job record"},
                          Case{static_cast<std::uint32_t>(document.size()), "holds no job record"},
                          Case{0xFFFFFFFF, "holds no job record"}}) {
        std::string damaged = document;
        SetDeclaredSize(damaged, c.declared);
        const LoadedDocument loaded = DecodeDocument(damaged);
        EXPECT_FALSE(loaded.record) << c.declared;
        EXPECT_NE(loaded.recordProblem.find(c.message), std::string::npos) << loaded.recordProblem;
        EXPECT_EQ(loaded.picture.pixels, picture.pixels);
    }
    // The picture's last row lies in what the file calls its record.
    std::string overlapping = document;
    overlapping.erase(size - 4, 4);
    SetDeclaredSize(overlapping, size - 4);
    const LoadedDocument loaded = DecodeDocument(overlapping);
    EXPECT_FALSE(loaded.record);
    EXPECT_NE(loaded.recordProblem.find("reaches past"), std::string::npos) << loaded.recordProblem;
}

TEST(JobDocumentTest, BadRecordIsRefusedBeforeThePicture) {
    JobRecord record = Record();
    record.stepOver = std::numeric_limits<float>::infinity();
    EXPECT_THROW(EncodeDocument(RandomPicture(2, 2, PixelFormat::Grey8, 0), record), DocumentError);
}

// Damage anywhere: the reader refuses the picture with PictureError or keeps it
// and reports why the record is unusable; it never throws anything else, and
// under the sanitizers never reads outside the bytes.
TEST(JobDocumentTest, RandomDamageIsRefusedCleanly) {
    const std::string document = EncodeDocument(RandomPicture(5, 4, PixelFormat::Bgr24, 96), Record());
    std::mt19937 random(2024);
    std::uniform_int_distribution<std::size_t> anywhere(0, document.size() - 1);
    std::uniform_int_distribution<std::size_t> inHeaders(0, 60);
    std::uniform_int_distribution<std::size_t> inRecord(document.size() - 492, document.size() - 1);
    int records = 0;
    for (int round = 0; round < 4000; ++round) {
        std::string damaged = document;
        const int flips = 1 + static_cast<int>(random() % 6);
        for (int f = 0; f < flips; ++f) {
            const std::size_t at = round % 3 == 0   ? inHeaders(random)
                                   : round % 3 == 1 ? inRecord(random)
                                                    : anywhere(random);
            damaged[at] = static_cast<char>(random());
        }
        if (round % 7 == 0) damaged.resize(anywhere(random));
        try {
            const LoadedDocument loaded = DecodeDocument(damaged);
            if (loaded.record) {
                ++records;
                EXPECT_EQ(EncodeJobRecord(*loaded.record).size(), 492u);  // a record read is a record that can be saved
            } else {
                EXPECT_FALSE(loaded.recordProblem.empty());
            }
        } catch (const PictureError&) {
        }
    }
    EXPECT_GT(records, 0);  // damage to padding or pixels leaves a sound record
}

class JobDocumentFileTest : public ::testing::Test {
protected:
    TestFolder folder_;
};

TEST_F(JobDocumentFileTest, SavedDocumentReadsBack) {
    const auto file = folder_ / "job.pxm";
    const Picture picture = RandomPicture(6, 5, PixelFormat::Bgr24, 72);
    SaveDocument(file, picture, Record());
    const LoadedDocument loaded = ReadDocumentFile(file);
    ASSERT_TRUE(loaded.record);
    EXPECT_EQ(*loaded.record, Record());
    EXPECT_EQ(loaded.picture.pixels, picture.pixels);
    EXPECT_EQ(std::filesystem::file_size(file), EncodeBmp(picture).size() + 492);
    EXPECT_EQ(folder_.entries(), 1u);
}

TEST_F(JobDocumentFileTest, FailedSaveLeavesTheOldDocument) {
    const auto file = folder_ / "job.pxm";
    SaveDocument(file, RandomPicture(4, 4, PixelFormat::Grey8, 0), Record());
    const std::string before = ReadWholeFile(file);
    JobRecord bad = Record();
    bad.postName = std::string(81, 'p');  // never cut
    EXPECT_THROW(SaveDocument(file, RandomPicture(9, 9, PixelFormat::Bgr24, 0), bad), DocumentError);
    EXPECT_EQ(ReadWholeFile(file), before);
    EXPECT_EQ(folder_.entries(), 1u);
    // A folder where the file should go: the final rename fails.
    const auto blocked = folder_ / "blocked.pxm";
    std::filesystem::create_directory(blocked);
    EXPECT_THROW(SaveDocument(blocked, RandomPicture(4, 4, PixelFormat::Grey8, 0), Record()), FileWriteError);
    EXPECT_TRUE(std::filesystem::is_directory(blocked));
    EXPECT_EQ(folder_.entries(), 2u);
}

TEST_F(JobDocumentFileTest, PlainPictureOpensWithoutARecord) {
    const auto file = folder_ / "photo.pxm";
    const Picture picture = RandomPicture(3, 3, PixelFormat::Bgr24, 0);
    WriteFileAtomically(file, EncodeBmp(picture));
    const LoadedDocument loaded = ReadDocumentFile(file);
    EXPECT_FALSE(loaded.record);
    EXPECT_NE(loaded.recordProblem.find(file.string()), std::string::npos);
    EXPECT_EQ(loaded.picture.pixels, picture.pixels);
    // No picture at all: nothing to keep.
    WriteFileAtomically(file, "not a picture");
    EXPECT_THROW(ReadDocumentFile(file), PictureError);
}

}  // namespace
}  // namespace calvoro

// The document of picture and record: the BMP first, whose bfSize is its own
// length, then the record; any cut or wrong length gives the picture without a
// record, and a failed save leaves the old file.
#include "engine/document/JobDocument.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "engine/document/DocumentError.h"
#include "engine/picture/BmpCodec.h"
#include "kernel/platform/AtomicFile.h"
#include "tests/support/TempFolder.h"

namespace calvoro {
namespace {

Picture RandomPicture(int width, int height, PixelFormat format, int dpi = 0) {
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
    record.keepRatio = false;
    record.ncFileName = "/home/maker/jobs/sign.nc";
    record.tool.name = "V 60";
    record.tool.toolType = ToolType::ConicalFlat;
    record.zPasses = 4;
    return record;
}

// The BMP header's bfSize, little-endian at byte 2.
std::uint32_t DeclaredSize(const std::string& document) {
    std::uint32_t size = 0;
    for (int k = 3; k >= 0; --k) size = size << 8 | static_cast<unsigned char>(document[2 + k]);
    return size;
}

std::string WithDeclaredSize(std::string document, std::uint32_t size) {
    for (int k = 0; k < 4; ++k) document[2 + k] = static_cast<char>(size >> (8 * k));
    return document;
}

TEST(JobDocumentTest, PictureThenRecord) {
    const Picture picture = RandomPicture(5, 3, PixelFormat::Bgr24, 300);
    const std::string document = EncodeDocument(picture, Record());
    const JobRecordBytes record = EncodeJobRecord(Record());
    EXPECT_EQ(document, EncodeBmp(picture) + std::string(record.begin(), record.end()));
    EXPECT_EQ(DeclaredSize(document), document.size() - 492);
    EXPECT_EQ(DecodeBmp(document).picture.pixels, picture.pixels);  // any BMP reader takes it as the picture
}

// Cut short at any length, a document never yields a record; where the
// picture can still be read it comes back with a reason.
TEST(JobDocumentTest, TruncatedDocumentsGiveNoRecord) {
    const Picture picture = RandomPicture(3, 2, PixelFormat::Grey8);
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
}

// A record is only taken where the file holds 492 bytes at bfSize: the picture
// comes back without it when either is off.
TEST(JobDocumentTest, DeclaredSizeMustMatchThePictureAndTheFile) {
    const Picture picture = RandomPicture(4, 4, PixelFormat::Bgr24);
    const std::string document = EncodeDocument(picture, Record());
    const std::uint32_t size = DeclaredSize(document);
    const std::pair<std::uint32_t, std::size_t> cases[] = {
        {size + 1, 0}, {static_cast<std::uint32_t>(document.size()), 0}, {0xFFFFFFFF, 0}};
    for (const auto& [declared, extra] : cases) {
        const LoadedDocument loaded = DecodeDocument(WithDeclaredSize(document, declared) + std::string(extra, '\x01'));
        EXPECT_FALSE(loaded.record) << declared << " + " << extra;
        EXPECT_NE(loaded.recordProblem.find("holds no job record"), std::string::npos) << loaded.recordProblem;
        EXPECT_EQ(loaded.picture.pixels, picture.pixels);
    }
    // The picture's last row lies in what the file calls its record.
    const LoadedDocument overlapping = DecodeDocument(WithDeclaredSize(document, size - 4).erase(size - 4, 4));
    EXPECT_FALSE(overlapping.record);
    EXPECT_NE(overlapping.recordProblem.find("reaches past"), std::string::npos) << overlapping.recordProblem;
}

class JobDocumentFileTest : public ::testing::Test {
protected:
    test::TempFolder folder_;
};

TEST_F(JobDocumentFileTest, SavedDocumentReadsBackAndAPlainPictureHasNoRecord) {
    const auto file = folder_ / "job.pxm";
    for (PixelFormat format : {PixelFormat::Grey8, PixelFormat::Bgr24, PixelFormat::Bgra32}) {
        const Picture picture = RandomPicture(7, 4, format, 254);
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
    const Picture picture = RandomPicture(3, 3, PixelFormat::Bgr24);
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
    SaveDocument(file, RandomPicture(4, 4, PixelFormat::Grey8), Record());
    const std::string before = ReadWholeFile(file);
    // A bad record is refused before anything is written.
    JobRecord bad = Record();
    bad.postName = std::string(81, 'p');
    EXPECT_THROW(SaveDocument(file, RandomPicture(9, 9, PixelFormat::Bgr24), bad), DocumentError);
    EXPECT_EQ(ReadWholeFile(file), before);
    EXPECT_EQ(folder_.FileCount(), 1u);
    // A folder where the file should go: the final rename fails.
    const auto blocked = folder_ / "blocked.pxm";
    std::filesystem::create_directory(blocked);
    EXPECT_THROW(SaveDocument(blocked, RandomPicture(4, 4, PixelFormat::Grey8), Record()), FileWriteError);
    EXPECT_TRUE(std::filesystem::is_directory(blocked));
    EXPECT_EQ(folder_.FileCount(), 2u);
}

}  // namespace
}  // namespace calvoro

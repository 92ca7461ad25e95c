// The readers and the writer on real files: a refusal names the file, and a
// failed save leaves the old file as it was.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "engine/picture/BmpCodec.h"
#include "engine/picture/JpegDecoder.h"
#include "engine/picture/PictureFile.h"
#include "kernel/platform/AtomicFile.h"
#include "tests/engine/picture/JpegTestFiles.h"

using namespace calvoro;
namespace fs = std::filesystem;

namespace {

class PictureFiles : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("calvoro_picture_files_" + std::to_string(::getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        picture_.allocate(3, 2, PixelFormat::Grey8);
        picture_.pixels = {1, 2, 3, 4, 5, 6};
        picture_.dpiX = picture_.dpiY = 200;
    }
    void TearDown() override { fs::remove_all(folder_); }

    // The refusal's message, or "(accepted)".
    template <class Read>
    static std::string RefusalOf(Read read) {
        try {
            read();
        } catch (const PictureError& error) {
            return error.what();
        }
        return "(accepted)";
    }

    fs::path folder_;
    Picture picture_;
};

}  // namespace

TEST_F(PictureFiles, BmpFilesAreWrittenWholeAndReadBack) {
    const fs::path file = folder_ / "picture.bmp";
    SaveBmpFile(file, picture_);
    EXPECT_EQ(LoadBmpFile(file).pixels, picture_.pixels);
    EXPECT_EQ(ReadBmpInfo(file).dpiX, 200);
    EXPECT_EQ(ReadBmpInfo(file).bitCount, 8);
    EXPECT_EQ(ReadBmpFileSize(file), fs::file_size(file));

    const std::string saved = ReadWholeFile(file);
    EXPECT_THROW(SaveBmpFile(file, Picture{}), PictureError);
    EXPECT_EQ(ReadWholeFile(file), saved);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);

    WriteFileAtomically(folder_ / "cut.bmp", saved.substr(0, 60));
    EXPECT_NE(RefusalOf([&] { LoadBmpFile(folder_ / "cut.bmp"); }).find("cut.bmp"), std::string::npos);
    WriteFileAtomically(folder_ / "stub.bmp", "BM\1\2");
    EXPECT_NE(RefusalOf([&] { ReadBmpFileSize(folder_ / "stub.bmp"); }).find("stub.bmp"), std::string::npos);
    EXPECT_THROW(LoadBmpFile(folder_ / "missing.bmp"), std::runtime_error);
}

TEST_F(PictureFiles, JpegFilesGiveTheirPictureAndDensity) {
    test::JpegSpec spec;
    spec.densityX = spec.densityY = 150;
    spec.pixel = [](int x, int) { return std::array<std::uint8_t, 4>{std::uint8_t(x * 10), 0, 0, 0}; };
    const std::string bytes = test::BuildJpeg(spec);
    WriteFileAtomically(folder_ / "photo.jpg", bytes);
    WriteFileAtomically(folder_ / "cut.jpg", bytes.substr(0, 100));
    EXPECT_EQ(ReadJpegDensity(folder_ / "photo.jpg").dpiX, 150);
    EXPECT_EQ(LoadJpegFile(folder_ / "photo.jpg").dpiY, 150);
    EXPECT_NE(RefusalOf([&] { LoadJpegFile(folder_ / "cut.jpg"); }).find("cut.jpg"), std::string::npos);
}

TEST_F(PictureFiles, TheExtensionChoosesTheReader) {
    const std::string bmp = EncodeBmp(picture_);
    WriteFileAtomically(folder_ / "a.BMP", bmp);
    WriteFileAtomically(folder_ / "job.pxm", bmp + std::string(492, '\0'));
    WriteFileAtomically(folder_ / "a.png", bmp);
    WriteFileAtomically(folder_ / "b.jpeg", bmp);
    EXPECT_EQ(LoadPictureFile(folder_ / "a.BMP").pixels, picture_.pixels);
    EXPECT_EQ(LoadPictureFile(folder_ / "job.pxm").pixels, picture_.pixels);
    EXPECT_NE(RefusalOf([&] { LoadPictureFile(folder_ / "a.png"); }).find("BMP or JPEG"), std::string::npos);
    EXPECT_NE(RefusalOf([&] { LoadPictureFile(folder_ / "b.jpeg"); }).find("JPEG file cannot be read"),
              std::string::npos);
}

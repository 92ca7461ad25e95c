// The readers and the writer on real files: a refusal names the file, and a
// failed save leaves the old file as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/picture/BmpCodec.h"
#include "engine/picture/JpegDecoder.h"
#include "engine/picture/PictureFile.h"
#include "kernel/platform/AtomicFile.h"
#include "tests/support/Pictures.h"
#include "tests/support/TempFolder.h"

using namespace calvoro;
using namespace calvoro::test;
namespace fs = std::filesystem;

namespace {

class PictureFiles : public ::testing::Test {
protected:
    void SetUp() override {
        picture_.allocate(3, 2, PixelFormat::Grey8);
        picture_.pixels = {1, 2, 3, 4, 5, 6};
        picture_.dpiX = picture_.dpiY = 200;
    }

    // Writes bytes to folder/name and gives the path.
    fs::path Put(const std::string& name, const std::string& bytes) {
        WriteFileAtomically(folder_ / name, bytes);
        return folder_ / name;
    }

    TempFolder folder_{"picture_files"};
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
    EXPECT_EQ(folder_.FileCount(), 1u);

    const fs::path cut = Put("cut.bmp", saved.substr(0, 60)), stub = Put("stub.bmp", "BM\1\2");
    EXPECT_NE(MessageOf<PictureError>([&] { LoadBmpFile(cut); }).find("cut.bmp"), std::string::npos);
    EXPECT_NE(MessageOf<PictureError>([&] { ReadBmpFileSize(stub); }).find("stub.bmp"), std::string::npos);
    EXPECT_THROW(LoadBmpFile(folder_ / "missing.bmp"), std::runtime_error);
}

TEST_F(PictureFiles, JpegFilesGiveTheirPictureAndDensity) {
    JpegOptions jpeg;
    jpeg.densityX = jpeg.densityY = 150;
    jpeg.pixel = [](int x, int) { return std::array<std::uint8_t, 4>{std::uint8_t(x * 10), 0, 0, 0}; };
    const std::string bytes = BuildJpeg(jpeg);
    const fs::path photo = Put("photo.jpg", bytes), cut = Put("cut.jpg", bytes.substr(0, 100));
    EXPECT_EQ(ReadJpegDensity(photo).dpiX, 150);
    EXPECT_EQ(LoadJpegFile(photo).dpiY, 150);
    EXPECT_NE(MessageOf<PictureError>([&] { LoadJpegFile(cut); }).find("cut.jpg"), std::string::npos);
}

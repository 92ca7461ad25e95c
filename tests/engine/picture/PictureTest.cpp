// Pictures: JPEG files of every kind and cut anywhere, flips and crops, and
// BMP files written whole and read back.
#include "engine/picture/BmpCodec.h"
#include "engine/picture/GreyLevel.h"
#include "engine/picture/ImageInfo.h"
#include "engine/picture/JpegDecoder.h"
#include "engine/picture/PictureEdits.h"
#include "engine/picture/PictureFile.h"
#include "kernel/platform/AtomicFile.h"
#include "tests/support/Pictures.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace calvoro;
using namespace calvoro::test;
namespace fs = std::filesystem;

namespace {

using Colour = std::array<std::uint8_t, 4>;

constexpr Colour Red{255, 0, 0, 0}, Green{0, 255, 0, 0}, Blue{0, 0, 255, 0}, White{255, 255, 255, 0}, Black{0, 0, 0, 0};

// Four flat 8 x 8 blocks, so the lossy coding keeps each colour almost exactly.
JpegOptions Quadrants(JpegKind kind, Colour topLeft, Colour topRight, Colour bottomLeft, Colour bottomRight) {
    JpegOptions jpeg;
    jpeg.kind = kind;
    jpeg.pixel = [=](int x, int r) {
        return r < 8 ? (x < 8 ? topLeft : topRight) : (x < 8 ? bottomLeft : bottomRight);
    };
    return jpeg;
}

// The pixel at the centre of each block, top left first, is within 3 of the
// red, green, blue colour wanted.
void ExpectBlocks(const Picture& picture, const std::array<Colour, 4>& want) {
    ASSERT_EQ(picture.format, PixelFormat::Bgr24);
    const int at[4][2] = {{4, 4}, {12, 4}, {4, 12}, {12, 12}};
    for (int i = 0; i < 4; ++i)
        for (int c = 0; c < 3; ++c) {
            const int got = PixelAt(picture, at[i][0], at[i][1])[2 - c];
            EXPECT_LE(std::abs(got - want[i][c]), 3) << "block " << i << ", channel " << c << ": " << got;
        }
}

}  // namespace

TEST(JpegDecoder, ColourGreyAndProgressiveFilesGiveBgr24) {
    for (bool progressive : {false, true}) {
        JpegOptions jpeg = Quadrants(JpegKind::Colour, Red, Green, Blue, White);
        jpeg.progressive = progressive;
        const Picture picture = DecodeJpeg(BuildJpeg(jpeg));
        EXPECT_EQ(picture.width, 16);
        EXPECT_EQ(picture.height, 16);
        EXPECT_EQ(picture.sourceBitCount, 24);
        ExpectBlocks(picture, {Red, Green, Blue, White});
    }
    const Picture grey = DecodeJpeg(BuildJpeg(Quadrants(JpegKind::Grey, {0}, {90}, {180}, {255})));
    ASSERT_EQ(grey.format, PixelFormat::Bgr24);
    for (int r = 0; r < grey.height; ++r)
        for (int x = 0; x < grey.width; ++x) {
            const Bytes p = PixelAt(grey, x, r);
            ASSERT_TRUE(p[0] == p[1] && p[1] == p[2]) << x << ", " << r;
        }
    ExpectBlocks(grey, {Colour{0, 0, 0}, Colour{90, 90, 90}, Colour{180, 180, 180}, White});
}

TEST(JpegDecoder, EveryCutFileIsRefusedAndDamagedOnesAreReadOrRefusedCleanly) {
    JpegOptions jpeg = Quadrants(JpegKind::Colour, Red, Green, Blue, White);
    jpeg.progressive = true;
    const std::string bytes = BuildJpeg(jpeg);
    for (std::size_t length = 0; length < bytes.size(); ++length)
        EXPECT_NE(MessageOf<PictureError>([&] { DecodeJpeg(bytes.substr(0, length)); }), kNoError)
            << "cut at " << length;
    EXPECT_EQ(MessageOf<PictureError>([&] { DecodeJpeg(bytes.substr(0, bytes.size() / 2)); }),
              "The JPEG file is cut short.");

    const std::string baseline = BuildJpeg(Quadrants(JpegKind::Colour, Red, Green, Blue, White));
    for (std::size_t at = 0; at < baseline.size(); at += 3)
        for (unsigned flip : {0x01u, 0xFFu}) {
            std::string damaged = baseline;
            damaged[at] = static_cast<char>(damaged[at] ^ flip);
            try {
                const Picture picture = DecodeJpeg(damaged);
                EXPECT_EQ(picture.pixels.size(), picture.stride() * picture.height);
            } catch (const PictureError&) {
            }
        }
}

namespace {

// Every byte different, so a pixel that lands in the wrong place shows.
Picture Numbered(int width, int height, PixelFormat format) {
    Picture picture;
    picture.allocate(width, height, format);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) picture.pixels[i] = static_cast<std::uint8_t>(i * 13 + 1);
    picture.dpiX = 100;
    picture.dpiY = 50;
    return picture;
}

constexpr PixelFormat AllFormats[] = {PixelFormat::Grey8, PixelFormat::Bgr24, PixelFormat::Bgra32};

}  // namespace

TEST(PictureEdits, FlipsMirrorPixelsAndTwiceGiveThePictureBack) {
    for (PixelFormat format : AllFormats)
        for (int width : {2, 3, 7})
            for (int height : {2, 3, 5}) {
                const Picture before = Numbered(width, height, format);
                Picture across = before, upsideDown = before;
                FlipBitmapHorizontal(across);
                FlipBitmapVertical(upsideDown);
                for (int r = 0; r < height; ++r)
                    for (int x = 0; x < width; ++x) {
                        ASSERT_EQ(PixelAt(across, x, r), PixelAt(before, width - 1 - x, r));
                        ASSERT_EQ(PixelAt(upsideDown, x, r), PixelAt(before, x, height - 1 - r));
                    }
                FlipBitmapHorizontal(across);
                FlipBitmapVertical(upsideDown);
                EXPECT_EQ(across.pixels, before.pixels);
                EXPECT_EQ(upsideDown.pixels, before.pixels);
            }
    // A length that is no whole number of pixels leaves the odd bytes alone.
    std::vector<std::uint8_t> row = {1, 2, 3, 4, 5, 6, 7};
    ReverseScanline(row.data(), row.size(), 3);
    EXPECT_EQ(row, (std::vector<std::uint8_t>{4, 5, 6, 1, 2, 3, 7}));
}

TEST(PictureEdits, CropCopiesTheRectangleAndRefusesOneOutside) {
    const Picture source = Numbered(6, 5, PixelFormat::Bgr24);
    const Picture cropped = CropBitmap(source, 2, 1, 3, 2);
    ASSERT_EQ(cropped.width, 3);
    ASSERT_EQ(cropped.height, 2);
    EXPECT_EQ(cropped.format, PixelFormat::Bgr24);
    EXPECT_EQ(cropped.dpiX, 100);
    for (int r = 0; r < 2; ++r)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(PixelAt(cropped, x, r), PixelAt(source, 2 + x, 1 + r));
    EXPECT_EQ(CropBitmap(source, 0, 0, 6, 5).pixels, source.pixels);
    EXPECT_THROW(CropBitmap(source, 5, 0, 2, 2), PictureError);
    EXPECT_THROW(CropBitmap(source, -1, 0, 2, 2), PictureError);
    EXPECT_THROW(CropBitmap(source, 0, 4, 2, 2), PictureError);
    EXPECT_THROW(CropBitmap(source, 0, 0, 1, 3), PictureError);
}

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

#include <gtest/gtest.h>

#include <string>

#include "engine/picture/BmpCodec.h"
#include "engine/picture/Resolution.h"

using namespace calvoro;

namespace {

Picture Pattern(int width, int height, PixelFormat format, int dpi) {
    Picture picture;
    picture.allocate(width, height, format);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) picture.pixels[i] = static_cast<std::uint8_t>(i * 7 + 3);
    picture.dpiX = dpi;
    picture.dpiY = dpi;
    return picture;
}

std::uint32_t U32(const std::string& bytes, std::size_t at) {
    return static_cast<std::uint8_t>(bytes[at]) | static_cast<std::uint8_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint8_t>(bytes[at + 2]) << 16 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at + 3])) << 24;
}

}  // namespace

TEST(BmpEncoder, EveryFormatComesBackPixelForPixelWithItsResolution) {
    for (PixelFormat format : {PixelFormat::Grey8, PixelFormat::Bgr24, PixelFormat::Bgra32})
        for (int width = 2; width <= 6; ++width)
            for (int dpi : {0, 72, 100, 300}) {
                SCOPED_TRACE(std::to_string(BytesPerPixel(format)) + " bytes, width " + std::to_string(width) + ", " +
                             std::to_string(dpi) + " dpi");
                const Picture picture = Pattern(width, 3, format, dpi);
                const std::string bytes = EncodeBmp(picture);
                // A document's record after the picture is left alone.
                const DecodedBmp decoded = DecodeBmp(bytes + std::string(492, '\x5A'));
                EXPECT_EQ(decoded.picture.format, format);
                EXPECT_EQ(decoded.picture.pixels, picture.pixels);
                EXPECT_EQ(decoded.picture.dpiX, dpi);
                EXPECT_EQ(decoded.picture.dpiY, dpi);
                EXPECT_EQ(decoded.info.fileSize, bytes.size());
                EXPECT_EQ(decoded.bytesUsed, bytes.size());
                EXPECT_FALSE(decoded.info.topDown);
                EXPECT_EQ(decoded.info.headerSize, 40);
            }
}

TEST(BmpEncoder, WritesAPlainBottomUpFileWithAGreyPaletteForGreyPictures) {
    Picture grey = Pattern(3, 2, PixelFormat::Grey8, 0);
    const std::string bytes = EncodeBmp(grey);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(U32(bytes, 2), bytes.size());
    EXPECT_EQ(U32(bytes, 10), 14u + 40u + 1024u);
    EXPECT_EQ(U32(bytes, 46), 256u);
    for (std::uint32_t i = 0; i < 256; ++i) EXPECT_EQ(U32(bytes, 54 + 4 * i), i | i << 8 | i << 16);
    // The bottom row is stored first, padded from 3 to 4 bytes.
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[1078]), grey.row(1)[0]);
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[1078 + 4]), grey.row(0)[0]);
    EXPECT_EQ(bytes.size(), 1078u + 8u);
}

TEST(BmpEncoder, ResolutionSurvivesTheTripThroughPixelsPerMetre) {
    for (int dpi = 1; dpi <= 20000; ++dpi) ASSERT_EQ(PixelsPerMetreToDpi(DpiToPixelsPerMetre(dpi)), dpi) << dpi;
    EXPECT_EQ(DpiToPixelsPerMetre(100), 3937);
    EXPECT_EQ(DpiToPixelsPerMetre(0), 0);
    EXPECT_EQ(DpiToPixelsPerMetre(-5), 0);
}

TEST(BmpEncoder, RefusesPicturesThatAreNotWhole) {
    Picture empty;
    EXPECT_THROW(EncodeBmp(empty), PictureError);
    Picture short_ = Pattern(4, 4, PixelFormat::Bgr24, 0);
    short_.pixels.pop_back();
    EXPECT_THROW(EncodeBmp(short_), PictureError);
}

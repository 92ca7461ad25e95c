// The JPEG reader on files libjpeg makes for the test: every colour kind,
// progressive files, the density units, and cut or damaged files.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <string>
#include <tuple>

#include "engine/picture/JpegDecoder.h"
#include "tests/engine/picture/PictureTestFiles.h"

using namespace calvoro;
using namespace calvoro::test;

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

TEST(JpegDecoder, CmykIsInvertedOnlyWhenTheAdobeMarkerSaysSo) {
    // Inks: red = magenta + yellow, blue = cyan + magenta, black = K, white = none.
    // With the Adobe marker the file holds 255 - ink, as image editors write it.
    const Colour redInk{0, 255, 255, 0}, blueInk{255, 255, 0, 0}, blackInk{0, 0, 0, 255}, noInk{0, 0, 0, 0};
    for (bool adobe : {true, false}) {
        SCOPED_TRACE(adobe ? "Adobe marker" : "no marker");
        const auto stored = [adobe](Colour ink) {
            for (auto& channel : ink) channel = adobe ? 255 - channel : channel;
            return ink;
        };
        JpegOptions jpeg = Quadrants(JpegKind::Cmyk, stored(redInk), stored(blueInk), stored(blackInk), stored(noInk));
        jpeg.adobeMarker = adobe;
        jpeg.jfif = false;
        ExpectBlocks(DecodeJpeg(BuildJpeg(jpeg)), {Red, Blue, Black, White});
    }
}

TEST(JpegDecoder, DensityHonoursItsUnit) {
    struct Case {
        int unit, densityX, densityY, dpiX, dpiY;
    } const cases[] = {
        {1, 72, 72, 72, 72},   {1, 300, 150, 300, 150},  // dots per inch
        {2, 72, 72, 183, 183}, {2, 118, 118, 300, 300},  // dots per centimetre, times 2.54
        {0, 72, 72, 0, 0},     {3, 72, 72, 0, 0},        // an aspect ratio only, an unknown unit
    };
    for (const Case& c : cases) {
        JpegOptions jpeg = Quadrants(JpegKind::Colour, Red, Red, Red, Red);
        jpeg.densityUnit = c.unit;
        jpeg.densityX = c.densityX;
        jpeg.densityY = c.densityY;
        const std::string bytes = BuildJpeg(jpeg);
        const JpegDensity density = JpegDensityFromBytes(bytes);
        const Picture picture = DecodeJpeg(bytes);
        EXPECT_EQ(std::tuple(density.dpiX, density.dpiY, picture.dpiX, picture.dpiY),
                  std::tuple(c.dpiX, c.dpiY, c.dpiX, c.dpiY))
            << "unit " << c.unit << ", " << c.densityX << " x " << c.densityY;
    }
}

TEST(JpegDecoder, AnExifFileWithoutJfifHasNoResolution) {
    JpegOptions jpeg = Quadrants(JpegKind::Colour, Red, Green, Blue, White);
    // An Exif block that happens to hold the text "JFIF" must not be taken for the header.
    jpeg.app1 = std::string("Exif\0\0MM\0*JFIF\0\1\1\1\0\x48\0\x48 and more camera data", 44);
    const std::string bytes = BuildJpeg(jpeg);
    EXPECT_EQ(bytes.substr(2, 2), "\xFF\xE1");
    EXPECT_EQ(JpegDensityFromBytes(bytes).dpiX, 0);
    EXPECT_EQ(DecodeJpeg(bytes).dpiX, 0);
    EXPECT_EQ(JpegDensityFromBytes("not a JPEG at all").dpiX, 0);

    // A JFIF header counts only when its name lies within the first 50 bytes.
    const std::string jfif("\xFF\xE0\x00\x10JFIF\x00\x01\x01\x01\x00\x48\x00\x48\x00\x00", 18);
    const auto app1 = [](std::size_t content) {
        return std::string("\xFF\xE1", 2) + static_cast<char>((content + 2) >> 8) +
               static_cast<char>((content + 2) & 0xFF) + std::string(content, 'x');
    };
    const std::string start("\xFF\xD8", 2);
    const std::string scan("\xFF\xDA", 2);
    EXPECT_EQ(JpegDensityFromBytes(start + app1(10) + jfif + scan).dpiX, 72);  // name at byte 20
    EXPECT_EQ(JpegDensityFromBytes(start + app1(36) + jfif + scan).dpiX, 72);  // name at bytes 46 .. 49
    EXPECT_EQ(JpegDensityFromBytes(start + app1(37) + jfif + scan).dpiX, 0);   // name reaches byte 50
    EXPECT_EQ(JpegDensityFromBytes(start + app1(4000) + jfif + scan).dpiX, 0);
}

TEST(JpegDecoder, EveryCutFileIsRefusedAndDamagedOnesAreReadOrRefusedCleanly) {
    JpegOptions jpeg = Quadrants(JpegKind::Colour, Red, Green, Blue, White);
    jpeg.progressive = true;
    const std::string bytes = BuildJpeg(jpeg);
    for (std::size_t length = 0; length < bytes.size(); ++length)
        EXPECT_NE(RefusalOf([&] { DecodeJpeg(bytes.substr(0, length)); }), "(accepted)") << "cut at " << length;
    EXPECT_EQ(RefusalOf([&] { DecodeJpeg(bytes.substr(0, bytes.size() / 2)); }), "The JPEG file is cut short.");

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

TEST(JpegDecoder, RefusesWhatIsNoUsablePicture) {
    EXPECT_NE(RefusalOf([] { DecodeJpeg("GIF89a, not a JPEG"); }).find("cannot be read"), std::string::npos);
    JpegOptions narrow = Quadrants(JpegKind::Colour, Red, Red, Red, Red);
    narrow.width = 1;
    EXPECT_NE(RefusalOf([&] { DecodeJpeg(BuildJpeg(narrow)); }).find("at least 2 pixels"), std::string::npos);
}

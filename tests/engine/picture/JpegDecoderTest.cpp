#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <string>

#include "engine/picture/JpegDecoder.h"
#include "tests/engine/picture/JpegTestFiles.h"

using namespace calvoro;
using namespace calvoro::test;

namespace {

using Colour = std::array<std::uint8_t, 4>;

// Four flat 8 x 8 blocks, so the lossy coding keeps each colour almost exactly.
JpegSpec Quadrants(JpegKind kind, Colour topLeft, Colour topRight, Colour bottomLeft, Colour bottomRight) {
    JpegSpec spec;
    spec.kind = kind;
    spec.pixel = [=](int x, int r) {
        return r < 8 ? (x < 8 ? topLeft : topRight) : (x < 8 ? bottomLeft : bottomRight);
    };
    return spec;
}

// Blue, green, red of the pixel at the centre of each block, top left first.
std::array<Colour, 4> BlockCentres(const Picture& picture) {
    std::array<Colour, 4> centres{};
    const std::array<std::array<int, 2>, 4> at{{{4, 4}, {12, 4}, {4, 12}, {12, 12}}};
    for (int i = 0; i < 4; ++i) {
        const std::uint8_t* p = picture.row(at[i][1]) + at[i][0] * 3;
        centres[i] = {p[0], p[1], p[2], 0};
    }
    return centres;
}

void ExpectNear(const std::array<Colour, 4>& got, const std::array<Colour, 4>& want) {
    for (int i = 0; i < 4; ++i)
        for (int c = 0; c < 3; ++c)
            EXPECT_LE(std::abs(got[i][c] - want[i][c]), 3)
                << "block " << i << ", byte " << c << ": " << int(got[i][c]) << " instead of " << int(want[i][c]);
}

std::string RefusalOf(const std::string& bytes) {
    try {
        DecodeJpeg(bytes);
    } catch (const PictureError& error) {
        return error.what();
    }
    return "(accepted)";
}

constexpr Colour Red{255, 0, 0, 0}, Green{0, 255, 0, 0}, Blue{0, 0, 255, 0}, White{255, 255, 255, 0};
// The same colours as blue, green, red bytes.
constexpr Colour RedBgr{0, 0, 255, 0}, GreenBgr{0, 255, 0, 0}, BlueBgr{255, 0, 0, 0}, WhiteBgr{255, 255, 255, 0},
    BlackBgr{0, 0, 0, 0};

}  // namespace

TEST(JpegDecoder, ColourAndProgressiveFilesGiveBgr24) {
    for (bool progressive : {false, true}) {
        SCOPED_TRACE(progressive ? "progressive" : "baseline");
        JpegSpec spec = Quadrants(JpegKind::Colour, Red, Green, Blue, White);
        spec.progressive = progressive;
        const Picture picture = DecodeJpeg(BuildJpeg(spec));
        EXPECT_EQ(picture.format, PixelFormat::Bgr24);
        EXPECT_EQ(picture.width, 16);
        EXPECT_EQ(picture.height, 16);
        EXPECT_EQ(picture.sourceBitCount, 24);
        ExpectNear(BlockCentres(picture), {RedBgr, GreenBgr, BlueBgr, WhiteBgr});
    }
}

TEST(JpegDecoder, GreyFilesGiveEqualBlueGreenAndRed) {
    JpegSpec spec = Quadrants(JpegKind::Grey, {0}, {90}, {180}, {255});
    const Picture picture = DecodeJpeg(BuildJpeg(spec));
    ASSERT_EQ(picture.format, PixelFormat::Bgr24);
    for (int r = 0; r < picture.height; ++r)
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t* p = picture.row(r) + 3 * x;
            ASSERT_TRUE(p[0] == p[1] && p[1] == p[2]) << x << ", " << r;
        }
    ExpectNear(BlockCentres(picture), {Colour{0, 0, 0}, Colour{90, 90, 90}, Colour{180, 180, 180}, WhiteBgr});
}

TEST(JpegDecoder, CmykIsInvertedOnlyWhenTheAdobeMarkerSaysSo) {
    // Inks: red = magenta + yellow, blue = cyan + magenta, black = K, white = none.
    // With the Adobe marker the file holds 255 - ink, as Photoshop writes it.
    const auto stored = [](Colour ink, bool inverted) {
        return inverted ? Colour{static_cast<std::uint8_t>(255 - ink[0]), static_cast<std::uint8_t>(255 - ink[1]),
                                 static_cast<std::uint8_t>(255 - ink[2]), static_cast<std::uint8_t>(255 - ink[3])}
                        : ink;
    };
    const Colour redInk{0, 255, 255, 0}, blueInk{255, 255, 0, 0}, blackInk{0, 0, 0, 255}, noInk{0, 0, 0, 0};
    for (bool adobe : {true, false}) {
        SCOPED_TRACE(adobe ? "Adobe marker" : "no marker");
        JpegSpec spec = Quadrants(JpegKind::Cmyk, stored(redInk, adobe), stored(blueInk, adobe),
                                  stored(blackInk, adobe), stored(noInk, adobe));
        spec.adobeMarker = adobe;
        spec.jfif = false;
        ExpectNear(BlockCentres(DecodeJpeg(BuildJpeg(spec))), {RedBgr, BlueBgr, BlackBgr, WhiteBgr});
    }
}

TEST(JpegDecoder, DensityHonoursItsUnit) {
    struct Case {
        const char* name;
        int unit, densityX, densityY;
        int dpiX, dpiY;
    };
    const Case cases[] = {
        {"dots per inch", 1, 72, 72, 72, 72},         {"dots per inch, not square", 1, 300, 150, 300, 150},
        {"dots per centimetre", 2, 72, 72, 183, 183}, {"dots per centimetre near 300 dpi", 2, 118, 118, 300, 300},
        {"aspect ratio only", 0, 72, 72, 0, 0},       {"unknown unit", 3, 72, 72, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        JpegSpec spec = Quadrants(JpegKind::Colour, Red, Red, Red, Red);
        spec.densityUnit = c.unit;
        spec.densityX = c.densityX;
        spec.densityY = c.densityY;
        const std::string bytes = BuildJpeg(spec);
        const JpegDensity density = JpegDensityFromBytes(bytes);
        EXPECT_EQ(density.dpiX, c.dpiX);
        EXPECT_EQ(density.dpiY, c.dpiY);
        const Picture picture = DecodeJpeg(bytes);
        EXPECT_EQ(picture.dpiX, c.dpiX);
        EXPECT_EQ(picture.dpiY, c.dpiY);
    }
}

TEST(JpegDecoder, AnExifFileWithoutJfifHasNoResolution) {
    JpegSpec spec = Quadrants(JpegKind::Colour, Red, Green, Blue, White);
    // An Exif block that happens to hold the text "JFIF" must not be taken for the header.
    spec.app1 = std::string("Exif\0\0MM\0*JFIF\0\1\1\1\0\x48\0\x48 and more camera data", 44);
    const std::string bytes = BuildJpeg(spec);
    EXPECT_EQ(bytes.substr(2, 2), "\xFF\xE1");
    EXPECT_EQ(JpegDensityFromBytes(bytes).dpiX, 0);
    EXPECT_EQ(DecodeJpeg(bytes).dpiX, 0);
    EXPECT_EQ(JpegDensityFromBytes("not a JPEG at all").dpiX, 0);
}

TEST(JpegDecoder, EveryCutFileIsRefused) {
    JpegSpec spec = Quadrants(JpegKind::Colour, Red, Green, Blue, White);
    spec.progressive = true;
    const std::string bytes = BuildJpeg(spec);
    for (std::size_t length = 0; length < bytes.size(); ++length)
        EXPECT_NE(RefusalOf(bytes.substr(0, length)), "(accepted)") << "cut at " << length;
    EXPECT_EQ(RefusalOf(bytes.substr(0, bytes.size() / 2)), "The JPEG file is cut short.");
}

TEST(JpegDecoder, DamagedFilesAreReadOrRefusedCleanly) {
    const std::string bytes = BuildJpeg(Quadrants(JpegKind::Colour, Red, Green, Blue, White));
    for (std::size_t at = 0; at < bytes.size(); at += 3)
        for (unsigned flip : {0x01u, 0xFFu}) {
            std::string damaged = bytes;
            damaged[at] = static_cast<char>(damaged[at] ^ flip);
            try {
                const Picture picture = DecodeJpeg(damaged);
                EXPECT_EQ(picture.pixels.size(), picture.stride() * picture.height);
            } catch (const PictureError&) {
            }
        }
}

TEST(JpegDecoder, RefusesWhatIsNoUsablePicture) {
    EXPECT_NE(RefusalOf("GIF89a, not a JPEG").find("cannot be read"), std::string::npos);
    JpegSpec narrow = Quadrants(JpegKind::Colour, Red, Red, Red, Red);
    narrow.width = 1;
    EXPECT_NE(RefusalOf(BuildJpeg(narrow)).find("at least 2 pixels"), std::string::npos);
}

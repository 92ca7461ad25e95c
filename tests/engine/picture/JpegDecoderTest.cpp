// The JPEG reader on files libjpeg makes for the test: every colour kind,
// progressive files, the density units, and cut or damaged files.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <string>
#include <tuple>

#include "engine/picture/JpegDecoder.h"
#include "tests/support/Pictures.h"

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

TEST(JpegDecoder, EveryCutFileIsRefusedAndDamagedOnesAreReadOrRefusedCleanly) {
    JpegOptions jpeg = Quadrants(JpegKind::Colour, Red, Green, Blue, White);
    jpeg.progressive = true;
    const std::string bytes = BuildJpeg(jpeg);
    for (std::size_t length = 0; length < bytes.size(); ++length)
        EXPECT_NE(MessageOf<PictureError>([&] { DecodeJpeg(bytes.substr(0, length)); }), kNoError) << "cut at " << length;
    EXPECT_EQ(MessageOf<PictureError>([&] { DecodeJpeg(bytes.substr(0, bytes.size() / 2)); }), "The JPEG file is cut short.");

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
    EXPECT_NE(MessageOf<PictureError>([] { DecodeJpeg("GIF89a, not a JPEG"); }).find("cannot be read"), std::string::npos);
    JpegOptions narrow = Quadrants(JpegKind::Colour, Red, Red, Red, Red);
    narrow.width = 1;
    EXPECT_NE(MessageOf<PictureError>([&] { DecodeJpeg(BuildJpeg(narrow)); }).find("at least 2 pixels"), std::string::npos);
}

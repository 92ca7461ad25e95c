#include "engine/relief/ElaboraImmagine.h"

#include "engine/picture/GreyLevel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

namespace calvoro {
namespace {

// The grey formula as written for the source platform: the weighted sum in
// extended precision, rounded to float, then rounded half to even.
int ReferenceGrey(int red, int green, int blue) {
    const long double sum = 0.299L * red + 0.587L * green + 0.114L * blue;
    return static_cast<int>(std::nearbyint(static_cast<float>(sum)));
}

Picture MakePicture(int width, int height, PixelFormat format, const std::vector<std::uint8_t>& pixels) {
    Picture picture;
    picture.allocate(width, height, format);
    picture.pixels = pixels;
    return picture;
}

// Pixel (column, row from the top) of a picture of any format, as blue, green, red.
struct Bgr {
    int blue, green, red;
};

Picture Paint(int width, int height, PixelFormat format, const std::vector<Bgr>& topRowFirst) {
    Picture picture;
    picture.allocate(width, height, format);
    for (int r = 0; r < height; ++r)
        for (int x = 0; x < width; ++x) {
            const Bgr& c = topRowFirst[static_cast<std::size_t>(r * width + x)];
            std::uint8_t* p = picture.row(r) + static_cast<std::size_t>(x) * BytesPerPixel(format);
            if (format == PixelFormat::Grey8) {
                p[0] = static_cast<std::uint8_t>(c.blue);
            } else {
                p[0] = static_cast<std::uint8_t>(c.blue);
                p[1] = static_cast<std::uint8_t>(c.green);
                p[2] = static_cast<std::uint8_t>(c.red);
                if (format == PixelFormat::Bgra32) p[3] = 0x5A;  // alpha must not matter
            }
        }
    return picture;
}

TEST(ElaboraImmagineTest, EveryColourGivesItsGreyLevel) {
    // All 2^24 colours in one picture, against the picture library's GreyLevel
    // (which the grey conversion uses) and the grey formula as written.
    Picture picture;
    picture.allocate(4096, 4096, PixelFormat::Bgr24);
    for (std::size_t i = 0; i < (std::size_t{1} << 24); ++i) {
        picture.pixels[3 * i] = static_cast<std::uint8_t>(i);
        picture.pixels[3 * i + 1] = static_cast<std::uint8_t>(i >> 8);
        picture.pixels[3 * i + 2] = static_cast<std::uint8_t>(i >> 16);
    }
    ReliefValues values;
    values.setWhiteZ(255.0f);
    values.setBlackZ(0.0f);  // Z equals the grey level
    HeightMap map;
    ElaboraImmagine(picture, values, map);
    int mismatches = 0;
    for (int r = 0; r < 4096; ++r)
        for (int x = 0; x < 4096; ++x) {
            const std::uint8_t* p = picture.row(r) + 3 * static_cast<std::size_t>(x);
            const int expected = GreyLevel(p[2], p[1], p[0]);
            if ((map.at(x, 4095 - r) != static_cast<float>(expected) || expected != ReferenceGrey(p[2], p[1], p[0])) &&
                ++mismatches < 5)
                ADD_FAILURE() << "R " << int{p[2]} << " G " << int{p[1]} << " B " << int{p[0]};
        }
    EXPECT_EQ(mismatches, 0);
}

TEST(ElaboraImmagineTest, GreyOfKnownColoursInEveryFormatTiesToEven) {
    struct Case {
        int red, green, blue, grey;
    };
    const std::vector<Case> cases = {
        {255, 0, 0, 76},                                    // 76.245
        {0, 255, 0, 150},                                   // 149.685
        {0, 0, 255, 29},                                    // 29.07
        {255, 255, 255, 255}, {0, 0, 0, 0}, {0, 12, 4, 8},  // 7.5: a tie, up to the even 8
        {1, 13, 5, 8},                                      // 8.5: a tie, down to the even 8
        {2, 0, 43, 6},                                      // 5.5 -> 6
        {3, 1, 44, 6},                                      // 6.5 -> 6
        {2, 14, 6, 10},                                     // 9.5 -> 10
        {3, 15, 7, 10},                                     // 10.5 -> 10
        {128, 128, 128, 128},
    };
    // With white at 255 and black at 0 every Z is its grey level exactly.
    ReliefValues values;
    values.setWhiteZ(255.0f);
    values.setBlackZ(0.0f);
    std::vector<Bgr> colours;
    std::vector<Bgr> greys;
    for (const Case& c : cases) {
        colours.push_back({c.blue, c.green, c.red});
        greys.push_back({c.grey, c.grey, c.grey});
    }
    const int width = static_cast<int>(cases.size());
    for (PixelFormat format : {PixelFormat::Grey8, PixelFormat::Bgr24, PixelFormat::Bgra32}) {
        HeightMap map;
        ElaboraImmagine(Paint(width, 1, format, format == PixelFormat::Grey8 ? greys : colours), values, map);
        for (int x = 0; x < width; ++x) {
            const Case& c = cases[static_cast<std::size_t>(x)];
            EXPECT_EQ(map.at(x, 0), static_cast<float>(c.grey))
                << "format " << static_cast<int>(format) << " R " << c.red << " G " << c.green << " B " << c.blue;
        }
    }
}

TEST(ReliefZTest, ExactValuesOfTheLinearMap) {
    struct Case {
        float white, black;
        int grey;
        float z;
    };
    const Case cases[] = {
        {0.0f, -5.0f, 0, -5.0f},
        {0.0f, -5.0f, 128, -2.4901961f},
        // GreyScale is held as a float, so white lands a hair above WhiteZ.
        {0.0f, -5.0f, 255, 1.76951289e-07f},
        {1.5f, -1.75f, 0, -1.75f},
        {1.5f, -1.75f, 255, 1.5f},
        {1.5f, -1.75f, 100, -0.475490183f},
        // Black above white: black still gives BlackZ, white WhiteZ.
        {-5.0f, 0.0f, 0, 0.0f},
        {-5.0f, 0.0f, 255, -5.0f},
        {2.0f, 2.0f, 77, 2.0f},
    };
    for (const Case& c : cases) {
        ReliefValues values;
        values.setWhiteZ(c.white);
        values.setBlackZ(c.black);
        EXPECT_EQ(ReliefZ(values, c.grey), c.z) << c.white << " " << c.black << " " << c.grey;
    }
}

TEST(ReliefValuesTest, StartValuesAndRangeFollowsBothDepths) {
    ReliefValues values;
    EXPECT_EQ(values.WhiteZ, 0.0f);
    EXPECT_EQ(values.BlackZ, -5.0f);
    EXPECT_EQ(values.DepthRange, 5.0f);
    EXPECT_EQ(values.PixelSize, 1.0f);
    EXPECT_EQ(values.WorkOffsetX, 0.0f);
    EXPECT_EQ(values.WorkOffsetY, 0.0f);
    values.setBlackZ(-3.0f);
    EXPECT_EQ(values.DepthRange, 3.0f);
    values.setWhiteZ(1.0f);
    EXPECT_EQ(values.DepthRange, 4.0f);
}

TEST(ElaboraImmagineTest, BottomLeftPixelIsCellZeroZero) {
    // 2 wide, 3 high; grey value 10 * row + column, row 0 at the top.
    const Picture picture = MakePicture(2, 3, PixelFormat::Grey8, {0, 1, 10, 11, 20, 21});
    ReliefValues values;
    values.setWhiteZ(255.0f);
    values.setBlackZ(0.0f);  // Z equals the grey level
    HeightMap map;
    ElaboraImmagine(picture, values, map);
    ASSERT_EQ(map.width(), 2);
    ASSERT_EQ(map.height(), 3);
    EXPECT_EQ(map.at(0, 0), 20.0f);  // bottom-left
    EXPECT_EQ(map.at(1, 0), 21.0f);
    EXPECT_EQ(map.at(0, 2), 0.0f);  // top-left
    EXPECT_EQ(map.at(1, 2), 1.0f);
    EXPECT_EQ(map.at(0, 1), 10.0f);
}

TEST(ElaboraImmagineTest, MatchesAPixelByPixelBuildForEveryShape) {
    // Sizes around the tiles of the build and its groups of four, and one
    // picture large enough to be shared out to threads; random colours.
    struct Shape {
        int width, height;
        PixelFormat format;
    };
    std::vector<Shape> shapes = {{2051, 1037, PixelFormat::Bgr24}};
    for (PixelFormat format : {PixelFormat::Grey8, PixelFormat::Bgr24, PixelFormat::Bgra32})
        for (const auto& [width, height] : {std::pair{1, 1}, {5, 3}, {3, 5}, {4, 4}, {63, 65}, {64, 64}, {67, 130}})
            shapes.push_back({width, height, format});
    std::mt19937 random(7);
    for (const auto& [width, height, format] : shapes) {
        {
            Picture picture;
            picture.allocate(width, height, format);
            for (auto& byte : picture.pixels) byte = static_cast<std::uint8_t>(random());
            ReliefValues values;
            values.setBlackZ(-7.5f);
            HeightMap map;
            ElaboraImmagine(picture, values, map);
            for (int r = 0; r < height; ++r)
                for (int x = 0; x < width; ++x) {
                    const std::uint8_t* p = picture.row(r) + static_cast<std::size_t>(x) * BytesPerPixel(format);
                    const int grey = format == PixelFormat::Grey8 ? p[0] : ReferenceGrey(p[2], p[1], p[0]);
                    ASSERT_EQ(map.at(x, height - 1 - r), ReliefZ(values, grey))
                        << width << "x" << height << " format " << static_cast<int>(format) << " at " << x << "," << r;
                }
        }
    }
}

TEST(ElaboraImmagineTest, RebuildOverwritesEveryCellAndFollowsTheSize) {
    HeightMap map(2, 2, 99.0f);
    const ReliefValues values;
    ElaboraImmagine(MakePicture(2, 2, PixelFormat::Grey8, {0, 0, 0, 0}), values, map);
    for (float z : map.values()) EXPECT_EQ(z, -5.0f);
    ElaboraImmagine(MakePicture(3, 1, PixelFormat::Grey8, {128, 128, 128}), values, map);
    ASSERT_EQ(map.width(), 3);
    ASSERT_EQ(map.height(), 1);
    for (float z : map.values()) EXPECT_EQ(z, -2.4901961f);
}

TEST(ElaboraImmagineTest, RefusesBadInputAndKeepsTheOldMap) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    Picture empty;
    Picture short_ = MakePicture(2, 2, PixelFormat::Bgr24, std::vector<std::uint8_t>(11));
    Picture good = MakePicture(2, 2, PixelFormat::Grey8, {1, 2, 3, 4});
    ReliefValues notANumber;
    notANumber.setWhiteZ(nan);
    ReliefValues infinite;
    infinite.setBlackZ(-inf);
    struct Case {
        const Picture* picture;
        ReliefValues values;
    };
    const Case cases[] = {{&empty, {}}, {&short_, {}}, {&good, notANumber}, {&good, infinite}};
    for (const Case& c : cases) {
        HeightMap map(4, 1, 3.0f);
        EXPECT_THROW(ElaboraImmagine(*c.picture, c.values, map), std::invalid_argument);
        EXPECT_EQ(map.width(), 4);
        EXPECT_EQ(map.values(), std::vector<float>(4, 3.0f));
    }
}

}  // namespace
}  // namespace calvoro

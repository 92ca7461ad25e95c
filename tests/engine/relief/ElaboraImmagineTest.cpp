// The relief build: every grey level as the grey formula gives it, depths by
// hand, the picture's bottom-left pixel at [0][0], and refusals that keep the
// old map.
#include "engine/relief/ElaboraImmagine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <tuple>
#include <vector>

#include "engine/picture/GreyLevel.h"

namespace calvoro {
namespace {

// The grey level of one pixel worked out apart from the code under test: the
// weighted sum of blue, green, red in extended precision, rounded to float,
// then to the nearest level with halves to even.
int ReferenceGrey(const std::uint8_t* bgr) {
    return static_cast<int>(std::nearbyint(static_cast<float>(0.299L * bgr[2] + 0.587L * bgr[1] + 0.114L * bgr[0])));
}

ReliefValues Depths(float white, float black) {
    ReliefValues values;
    values.setWhiteZ(white);
    values.setBlackZ(black);
    return values;
}
// White at 255 and black at 0: every Z is its grey level exactly.
const ReliefValues kGreyIsZ = Depths(255.0f, 0.0f);

Picture MakePicture(int width, int height, PixelFormat format, std::vector<std::uint8_t> pixels) {
    Picture picture;
    picture.allocate(width, height, format);
    if (!pixels.empty()) picture.pixels = std::move(pixels);
    return picture;
}

TEST(ElaboraImmagineTest, ReliefZOfTheLinearMap) {
    // White, black, grey level, Z. GreyScale is held as a float, so white
    // lands a hair above WhiteZ; with black above white, black still gives
    // BlackZ and white WhiteZ.
    const std::tuple<float, float, int, float> cases[] = {
        {0.0f, -5.0f, 0, -5.0f}, {0.0f, -5.0f, 128, -2.4901961f}, {0.0f, -5.0f, 255, 1.76951289e-07f},
        {-5.0f, 0.0f, 0, 0.0f},  {-5.0f, 0.0f, 255, -5.0f},       {1.5f, -1.75f, 100, -0.475490183f},
        {2.0f, 2.0f, 77, 2.0f}};
    for (const auto& [white, black, grey, z] : cases)
        EXPECT_EQ(ReliefZ(Depths(white, black), grey), z) << white << " " << black << " " << grey;
}

TEST(ElaboraImmagineTest, BottomLeftPixelIsCellZeroZero) {
    // 2 wide, 3 high, grey 10 * row + column with row 0 at the top; the map
    // holds its columns one after the other from the bottom row up.
    HeightMap map;
    ElaboraImmagine(MakePicture(2, 3, PixelFormat::Grey8, {0, 1, 10, 11, 20, 21}), kGreyIsZ, map);
    ASSERT_EQ(map.width(), 2);
    EXPECT_EQ(map.values(), (std::vector<float>{20, 10, 0, 21, 11, 1}));
}

TEST(ElaboraImmagineTest, EveryShapeAndFormatMatchesThePixelByPixelGrey) {
    // Random pixels at sizes around the tiles of the build and its groups of
    // four, and all 2^24 colours in one picture large enough to be shared out
    // to threads, against the grey formula as written and the picture
    // library's GreyLevel (which the grey conversion uses). One map for all:
    // every build follows the size and overwrites every cell.
    std::vector<std::tuple<int, int, PixelFormat>> shapes = {{4096, 4096, PixelFormat::Bgr24}};
    for (const auto& [width, height] : {std::pair{3, 5}, {1, 1}, {5, 3}, {4, 4}, {63, 65}, {67, 130}, {2051, 1037}})
        for (PixelFormat format : {PixelFormat::Grey8, PixelFormat::Bgr24, PixelFormat::Bgra32})
            shapes.emplace_back(width, height, format);
    std::mt19937 random(7);
    const ReliefValues values = Depths(0.0f, -7.5f);
    HeightMap map(3, 5, 99.0f);
    for (const auto& [width, height, format] : shapes) {
        Picture picture = MakePicture(width, height, format, {});
        for (std::size_t i = 0; i < picture.pixels.size(); ++i)
            picture.pixels[i] = width == 4096 ? static_cast<std::uint8_t>((i / 3) >> (8 * (i % 3)))
                                              : static_cast<std::uint8_t>(random());
        ElaboraImmagine(picture, values, map);
        ASSERT_EQ(map.width(), width);
        ASSERT_EQ(map.height(), height);
        for (int r = 0; r < height; ++r)
            for (int x = 0; x < width; ++x) {
                const std::uint8_t* p = picture.row(r) + static_cast<std::size_t>(x) * BytesPerPixel(format);
                const int grey = format == PixelFormat::Grey8 ? p[0] : ReferenceGrey(p);
                if (format != PixelFormat::Grey8) {
                    ASSERT_EQ(GreyLevel(p[2], p[1], p[0]), grey) << "R " << int{p[2]} << " G " << int{p[1]};
                }
                ASSERT_EQ(map.at(x, height - 1 - r), ReliefZ(values, grey))
                    << width << "x" << height << " format " << static_cast<int>(format) << " at " << x << "," << r;
            }
    }
}

TEST(ElaboraImmagineTest, RefusesBadInputAndKeepsTheOldMap) {
    const Picture good = MakePicture(2, 2, PixelFormat::Grey8, {1, 2, 3, 4});
    Picture shortPixels = MakePicture(2, 2, PixelFormat::Bgr24, {});
    shortPixels.pixels.pop_back();
    const std::pair<Picture, ReliefValues> cases[] = {{Picture{}, {}},
                                                      {shortPixels, {}},
                                                      {good, Depths(std::numeric_limits<float>::quiet_NaN(), -5.0f)},
                                                      {good, Depths(0.0f, -std::numeric_limits<float>::infinity())}};
    for (const auto& [picture, values] : cases) {
        HeightMap map(4, 1, 3.0f);
        EXPECT_THROW(ElaboraImmagine(picture, values, map), std::invalid_argument);
        EXPECT_EQ(map.width(), 4);
        EXPECT_EQ(map.values(), std::vector<float>(4, 3.0f));
    }
}

}  // namespace
}  // namespace calvoro

// The relief of a picture: every shape and format against the grey of each
// pixel, refusals that keep the old map, and cells outside the map.
#include "engine/picture/GreyLevel.h"
#include "engine/relief/ElaboraImmagine.h"
#include "engine/relief/HeightMap.h"
#include "tests/support/HeightMaps.h"
#include "tests/support/Pictures.h"

#include <gtest/gtest.h>
#include <cmath>
#include <limits>
#include <random>
#include <stdexcept>
#include <tuple>
#include <vector>

namespace calvoro {
namespace {

// The grey level of one pixel worked out apart from the code under test: the
// weighted sum of blue, green, red in extended precision, rounded to float,
// then to the nearest level with halves to even.
int ReferenceGrey(const std::uint8_t* bgr) {
    return static_cast<int>(std::nearbyint(static_cast<float>(0.299L * bgr[2] + 0.587L * bgr[1] + 0.114L * bgr[0])));
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
    const ReliefValues values = test::Relief(0.0f, -7.5f);
    HeightMap map(3, 5, 99.0f);
    for (const auto& [width, height, format] : shapes) {
        Picture picture = test::RandomPicture(width, height, format);
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
    const Picture good = test::RandomPicture(2, 2, PixelFormat::Grey8);
    Picture shortPixels = test::RandomPicture(2, 2, PixelFormat::Bgr24);
    shortPixels.pixels.pop_back();
    const std::pair<Picture, ReliefValues> cases[] = {
        {Picture{}, {}},
        {shortPixels, {}},
        {good, test::Relief(std::numeric_limits<float>::quiet_NaN(), -5.0f)},
        {good, test::Relief(0.0f, -std::numeric_limits<float>::infinity())}};
    for (const auto& [picture, values] : cases) {
        HeightMap map(4, 1, 3.0f);
        EXPECT_THROW(ElaboraImmagine(picture, values, map), std::invalid_argument);
        EXPECT_EQ(map.width(), 4);
        EXPECT_EQ(std::vector<float>(map.values().begin(), map.values().end()), std::vector<float>(4, 3.0f));
    }
}

TEST(HeightMapTest, CellsOutsideTakeTheNearestEdgeCell) {
    HeightMap map(2, 2);
    map.at(0, 0) = 1;
    map.at(1, 0) = 2;
    map.at(0, 1) = 3;
    map.at(1, 1) = 4;
    EXPECT_EQ(map.clampedAt(-5, -5), 1.0f);
    EXPECT_EQ(map.clampedAt(9, -1), 2.0f);
    EXPECT_EQ(map.clampedAt(-1, 7), 3.0f);
    EXPECT_EQ(map.clampedAt(2, 2), 4.0f);
}

// Resizing keeps the cells both sizes share and zeroes the rest; a copy owns
// its own cells.
TEST(HeightMapTest, ResizeKeepsSharedCellsAndCopiesAreIndependent) {
    struct Case {
        int width, height;
        std::vector<float> values;  // column after column
    };
    const Case cases[] = {{3, 3, {1, 2, 0, 3, 4, 0, 0, 0, 0}}, {1, 2, {1, 2}}, {2, 1, {1, 3}}, {0, 2, {}}};
    for (const Case& c : cases) {
        HeightMap map(2, 2);
        map.at(0, 0) = 1;
        map.at(0, 1) = 2;
        map.at(1, 0) = 3;
        map.at(1, 1) = 4;
        const HeightMap before = map;
        map.resize(c.width, c.height);
        EXPECT_EQ(std::vector<float>(map.values().begin(), map.values().end()), c.values);
        EXPECT_EQ(before.width(), 2);
        EXPECT_EQ(std::vector<float>(before.values().begin(), before.values().end()),
                  (std::vector<float>{1, 2, 3, 4}));
    }
}

}  // namespace
}  // namespace calvoro

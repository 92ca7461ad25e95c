// Flips, quarter turns, crops, grey levels and the negative on pictures of
// every format.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <vector>

#include "engine/picture/PictureEdits.h"
#include "tests/engine/picture/PictureTestFiles.h"

using namespace calvoro;
using namespace calvoro::test;

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

// 11 x 6 pixels at half a unit per pixel: 5 x 2.5 units; a Y of 2.5 is the top edge.
constexpr ImageInfo CropImage{0, 0, 5.0f, 2.5f, 0.5f, 11, 6};

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

TEST(PictureEdits, QuarterTurnMovesTheTopEdgeToTheLeftAndFourGiveThePictureBack) {
    for (PixelFormat format : AllFormats)
        for (int width : {2, 3, 6})
            for (int height : {2, 5}) {
                const Picture before = Numbered(width, height, format);
                Picture turned = before;
                RotateBitmap90(turned);
                ASSERT_EQ(turned.width, height);
                ASSERT_EQ(turned.height, width);
                EXPECT_EQ(turned.dpiX, before.dpiY);
                EXPECT_EQ(turned.dpiY, before.dpiX);
                for (int r = 0; r < turned.height; ++r)
                    for (int c = 0; c < turned.width; ++c)
                        ASSERT_EQ(PixelAt(turned, c, r), PixelAt(before, width - 1 - r, c));
                for (int turn = 1; turn < 4; ++turn) RotateBitmap90(turned);
                EXPECT_EQ(turned.width, width);
                EXPECT_EQ(turned.pixels, before.pixels);
                EXPECT_EQ(turned.dpiX, before.dpiX);
            }
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

TEST(CropPlan, ClipsThePickedRectangleOnAllFourSides) {
    struct Case {
        const char* name;
        CutInfo cut;
        PixelRectangle pixels;
        float sizeX, sizeY;
    };
    const Case cases[] = {
        {"inside", {1.0f, 2.0f, 2.0f, 1.5f, 0, 4, 3}, {2, 1, 4, 3}, 2.0f, 1.5f},
        {"top edge on the picture's top starts at row 0", {0.0f, 2.5f, 1.0f, 1.0f, 0, 2, 2}, {0, 0, 2, 2}, 1.0f, 1.0f},
        {"beyond the right edge", {4.0f, 2.0f, 3.0f, 1.0f, 0, 6, 2}, {8, 1, 3, 2}, 1.5f, 1.0f},
        {"beyond the left edge", {-1.0f, 2.0f, 2.5f, 1.0f, 0, 5, 2}, {0, 1, 3, 2}, 1.5f, 1.0f},
        {"beyond the top edge", {1.0f, 3.5f, 1.0f, 2.5f, 0, 2, 5}, {2, 0, 2, 3}, 1.0f, 1.5f},
        {"beyond the bottom edge", {1.0f, 1.0f, 1.0f, 3.0f, 0, 2, 6}, {2, 3, 2, 3}, 1.0f, 1.5f},
        // The kept pixels measure as the part of the rectangle they cover, 11
        // pixels of half a unit, so their pitch grows to 5.5 / 10.
        {"round the whole picture", {-1.0f, 3.5f, 7.0f, 4.5f, 0, 14, 9}, {0, 0, 11, 6}, 5.5f, 3.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CropPlan plan = ComputeCrop(CropImage, c.cut);
        EXPECT_EQ(plan.pixels, c.pixels);
        EXPECT_FLOAT_EQ(plan.image.SizeX, c.sizeX);
        EXPECT_FLOAT_EQ(plan.image.SizeY, c.sizeY);
        EXPECT_EQ(plan.image.PixelWidth, c.pixels.width);
        EXPECT_EQ(plan.image.PixelHeight, c.pixels.height);
        EXPECT_FLOAT_EQ(plan.image.Scale, c.sizeX / (c.pixels.width - 1));
        EXPECT_EQ(plan.image.X0, 0.0f);
        EXPECT_EQ(plan.image.Y0, 0.0f);
    }
    // The plan of the second case cuts the top-left corner.
    Picture picture;
    picture.allocate(11, 6, PixelFormat::Grey8);
    for (int r = 0; r < 6; ++r)
        for (int x = 0; x < 11; ++x) picture.row(r)[x] = static_cast<std::uint8_t>(10 * r + x);
    const PixelRectangle corner = ComputeCrop(CropImage, cases[1].cut).pixels;
    const Picture cropped = CropBitmap(picture, corner.left, corner.top, corner.width, corner.height);
    EXPECT_EQ(cropped.pixels, (std::vector<std::uint8_t>{0, 1, 10, 11}));
    EXPECT_EQ(cropped.format, PixelFormat::Grey8);
}

TEST(CropPlan, RefusesRectanglesWithoutTwoByTwoPixelsOrUsableNumbers) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const CutInfo refused[] = {
        {20.0f, 2.0f, 2.0f, 1.0f, 0, 4, 2},  // wholly to the right
        {1.0f, -3.0f, 2.0f, 1.0f, 0, 4, 2},  // wholly below
        {1.0f, 2.0f, 0.5f, 1.0f, 0, 1, 2},   // one pixel wide
        {5.0f, 2.0f, 2.0f, 1.0f, 0, 4, 2},   // one pixel left inside
        {nan, 2.0f, 2.0f, 1.0f, 0, 4, 2},   {1.0f, 2.0f, 2.0f, 1.0f, 0, -4, 2}, {1e30f, 2.0f, 2.0f, 1.0f, 0, 4, 2},
    };
    for (const CutInfo& cut : refused) EXPECT_THROW(ComputeCrop(CropImage, cut), PictureError) << cut.X0;
    ImageInfo noScale = CropImage;
    noScale.Scale = 0;
    EXPECT_THROW(ComputeCrop(noScale, refused[0]), PictureError);
}

TEST(PictureEdits, GreyConversionUsesTheReliefsGreyLevels) {
    for (PixelFormat format : {PixelFormat::Bgr24, PixelFormat::Bgra32}) {
        Picture picture;
        picture.allocate(4, 2, format);
        const int size = BytesPerPixel(format);
        const std::uint8_t colours[4][3] = {{0, 0, 255}, {0, 255, 0}, {255, 0, 0}, {77, 77, 77}};  // blue, green, red
        for (int i = 0; i < 8; ++i) std::copy_n(colours[i % 4], 3, picture.pixels.data() + i * size);
        picture.dpiX = 300;
        MakeGrayBitmap8(picture);
        EXPECT_EQ(picture.format, PixelFormat::Grey8);
        EXPECT_EQ(picture.sourceBitCount, 8);
        EXPECT_EQ(picture.dpiX, 300);
        EXPECT_EQ(picture.pixels, (std::vector<std::uint8_t>{76, 150, 29, 77, 76, 150, 29, 77}));
    }
    const Picture before = Numbered(3, 3, PixelFormat::Grey8);
    Picture grey = before;
    MakeGrayBitmap8(grey);
    EXPECT_EQ(grey.pixels, before.pixels);
}

TEST(PictureEdits, NegativeInvertsColourBytesAndMarksBgra32Pixels) {
    Picture grey;
    grey.allocate(2, 2, PixelFormat::Grey8);
    grey.pixels = {0, 255, 100, 7};
    EXPECT_EQ(MakeNegative(grey).pixels, (std::vector<std::uint8_t>{255, 0, 155, 248}));

    Picture colour;
    colour.allocate(2, 2, PixelFormat::Bgra32);
    colour.pixels.assign({1, 2, 3, 4, 250, 251, 252, 253, 0, 0, 0, 0, 255, 255, 255, 255});
    EXPECT_EQ(MakeNegative(colour).pixels,
              (std::vector<std::uint8_t>{1, 2, 3, 100, 250, 251, 252, 100, 0, 0, 0, 100, 255, 255, 255, 100}));
    const Picture bgr = Numbered(3, 2, PixelFormat::Bgr24);
    EXPECT_EQ(MakeNegative(MakeNegative(bgr)).pixels, bgr.pixels);
}

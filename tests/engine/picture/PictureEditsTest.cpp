// Flips, quarter turns, crops, grey levels and the negative on pictures of
// every format.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <vector>

#include "engine/picture/PictureEdits.h"
#include "tests/support/Pictures.h"

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

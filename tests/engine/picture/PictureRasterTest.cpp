// A picture placed in the drawing paints with the colours it was loaded with.
#include "engine/picture/PictureRaster.h"

#include <gtest/gtest.h>

#include "engine/picture/BmpCodec.h"
#include "kernel/entities/BmpImage.h"

using namespace calvoro;

namespace {

Picture TwoByTwo(PixelFormat format) {
    Picture picture;
    picture.allocate(2, 2, format);
    const std::uint8_t bgra[4][4] = {{10, 20, 30, 0}, {40, 50, 60, 0}, {70, 80, 90, 0}, {100, 110, 120, 0}};
    for (int r = 0; r < 2; ++r)
        for (int x = 0; x < 2; ++x)
            for (int c = 0; c < BytesPerPixel(format); ++c)
                picture.row(r)[x * BytesPerPixel(format) + c] = bgra[r * 2 + x][c];
    return picture;
}

TEST(PictureRasterTest, EveryFormatGivesOpaqueRgbPixelsTopRowFirst) {
    const RasterImage grey = ToRaster(TwoByTwo(PixelFormat::Grey8));
    EXPECT_EQ(grey.At(0, 0), 0xFF0A0A0Au);
    EXPECT_EQ(grey.At(1, 1), 0xFF646464u);
    for (PixelFormat format : {PixelFormat::Bgr24, PixelFormat::Bgra32}) {
        const RasterImage colour = ToRaster(TwoByTwo(format));
        ASSERT_EQ(colour.Width, 2);
        EXPECT_EQ(colour.At(0, 0), 0xFF1E140Au);
        EXPECT_EQ(colour.At(1, 0), 0xFF3C3228u);
        EXPECT_EQ(colour.At(0, 1), 0xFF5A5046u);
    }
    EXPECT_TRUE(ToRaster(Picture{}).IsEmpty());
}

}  // namespace

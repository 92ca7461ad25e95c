#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/picture/GreyLevel.h"
#include "engine/picture/ImageInfo.h"
#include "engine/picture/PictureFile.h"

using namespace calvoro;

TEST(ImageScale, SizeCountsTheDistancesBetweenPixelCentres) {
    struct Case {
        const char* name;
        int width, height, dpi;
        bool inches;
        float sizeX, sizeY, scale;
    };
    const Case cases[] = {
        {"100 dpi in millimetres", 1001, 501, 100, false, 254.0f, 127.0f, 0.254f},
        {"100 dpi in inches", 1001, 501, 100, true, 10.0f, 5.0f, 0.01f},
        {"no resolution: a unit per pixel", 1001, 501, 0, false, 1000.0f, 500.0f, 1.0f},
        {"no resolution in inches", 3, 2, 0, true, 2.0f, 1.0f, 1.0f},
        {"72 dpi", 73, 145, 72, true, 1.0f, 2.0f, 1.0f / 72},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ImageInfo before;
        before.X0 = -3.5f;
        before.Y0 = 7.25f;
        const ImageInfo info = ComputeImageScale(before, c.width, c.height, c.dpi, c.inches);
        EXPECT_EQ(info.PixelWidth, c.width);
        EXPECT_EQ(info.PixelHeight, c.height);
        EXPECT_FLOAT_EQ(info.SizeX, c.sizeX);
        EXPECT_FLOAT_EQ(info.SizeY, c.sizeY);
        EXPECT_FLOAT_EQ(info.Scale, c.scale);
        EXPECT_EQ(info.X0, -3.5f);
        EXPECT_EQ(info.Y0, 7.25f);
    }
}

TEST(ImageScale, APictureOfOnePixelHasNoScale) {
    EXPECT_THROW(ComputeImageScale({}, 1, 500, 100, false), PictureError);
    EXPECT_THROW(ComputeImageScale({}, 500, 1, 0, false), PictureError);
}

TEST(ImageScale, AQuarterTurnExchangesSizesAndKeepsScaleAndOrigin) {
    const ImageInfo info{1.0f, 2.0f, 254.0f, 127.0f, 0.254f, 1001, 501};
    const ImageInfo turned = RotatedImageInfo(info);
    EXPECT_EQ(turned, (ImageInfo{1.0f, 2.0f, 127.0f, 254.0f, 0.254f, 501, 1001}));
    EXPECT_EQ(RotatedImageInfo(turned), info);
}

TEST(ShadingChoice, FollowsTheLargerSide) {
    EXPECT_EQ(ChooseShadingResolution(500, 500), ShadingResolution::Fine);
    EXPECT_EQ(ChooseShadingResolution(500, 1000), ShadingResolution::Medium);
    EXPECT_EQ(ChooseShadingResolution(501, 2), ShadingResolution::Medium);
    EXPECT_EQ(ChooseShadingResolution(1001, 10), ShadingResolution::Coarse);
    EXPECT_EQ(ChooseShadingResolution(10, 1001), ShadingResolution::Coarse);
}

TEST(PictureFile, TheExtensionChoosesTheReader) {
    struct Case {
        const char* name;
        PictureLoader loader;
    };
    const Case cases[] = {
        {"photo.jpg", PictureLoader::Jpeg},
        {"photo.JPEG", PictureLoader::Jpeg},
        {"photo.JpEg", PictureLoader::Jpeg},
        {"scan.bmp", PictureLoader::Bmp},
        {"/a/b/job.PXM", PictureLoader::Document},
        {"archive.bmp.zip", PictureLoader::Unknown},
        {"picture.png", PictureLoader::Unknown},
        {"no extension", PictureLoader::Unknown},
        {"/pictures.bmp/readme", PictureLoader::Unknown},
        {".bmp", PictureLoader::Bmp},
        {"trailing.", PictureLoader::Unknown},
    };
    for (const Case& c : cases) EXPECT_EQ(ChoosePictureLoader(c.name), c.loader) << c.name;
}

TEST(PictureFile, BitDepthTextNamesTheFilesBitCount) {
    EXPECT_EQ(BitDepthText(1), "1 bit");
    EXPECT_EQ(BitDepthText(4), "4 bit");
    EXPECT_EQ(BitDepthText(16), "16 bit");
    EXPECT_EQ(BitDepthText(32), "32 bit");
    EXPECT_EQ(BitDepthText(0), "");
    EXPECT_EQ(BitDepthText(15), "");
}

TEST(GreyLevel, MatchesTheWeightedSumRoundedInSinglePrecisionForEveryColour) {
    // The defining formula: the weighted sum in extended precision, stored
    // as a float, then rounded to the nearest level with halves to even.
    for (int red = 0; red < 256; ++red)
        for (int green = 0; green < 256; ++green)
            for (int blue = 0; blue < 256; ++blue) {
                const float sum = static_cast<float>(0.299L * red + 0.587L * green + 0.114L * blue);
                const auto expected = static_cast<int>(std::nearbyint(sum));
                ASSERT_EQ(GreyLevel(red, green, blue), expected) << red << ", " << green << ", " << blue;
            }
}

TEST(GreyLevel, PrimaryColoursAndThePalette) {
    EXPECT_EQ(GreyLevel(255, 0, 0), 76);
    EXPECT_EQ(GreyLevel(0, 255, 0), 150);
    EXPECT_EQ(GreyLevel(0, 0, 255), 29);
    EXPECT_EQ(GreyLevel(255, 255, 255), 255);
    const GreyPalette palette = MakeGreyPalette();
    EXPECT_EQ(palette[0].red + palette[0].green + palette[0].blue + palette[0].flags, 0);
    EXPECT_EQ(palette[200].red, 200);
    EXPECT_EQ(palette[200].green, 200);
    EXPECT_EQ(palette[200].blue, 200);
    EXPECT_EQ(palette[255].flags, 0);
}

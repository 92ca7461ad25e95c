// The work size of a picture, the reader chosen by a file's extension and the
// grey level of a colour.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/picture/GreyLevel.h"
#include "engine/picture/ImageInfo.h"
#include "engine/picture/PictureFile.h"

using namespace calvoro;

TEST(ImageScale, SizeCountsTheDistancesBetweenPixelCentres) {
    struct Case {
        int width, height, dpi;
        bool inches;
        float sizeX, sizeY, scale;
    };
    const Case cases[] = {
        {1001, 501, 100, false, 254.0f, 127.0f, 0.254f},  // 100 dpi in millimetres
        {1001, 501, 100, true, 10.0f, 5.0f, 0.01f},
        {1001, 501, 0, false, 1000.0f, 500.0f, 1.0f},  // no resolution: a unit per pixel
        {3, 2, 0, true, 2.0f, 1.0f, 1.0f},
        {73, 145, 72, true, 1.0f, 2.0f, 1.0f / 72},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " pixels at " + std::to_string(c.dpi) + " dpi");
        const ImageInfo info = ComputeImageScale({.X0 = -3.5f, .Y0 = 7.25f}, c.width, c.height, c.dpi, c.inches);
        EXPECT_EQ(info, (ImageInfo{-3.5f, 7.25f, info.SizeX, info.SizeY, info.Scale, c.width, c.height}));
        EXPECT_FLOAT_EQ(info.SizeX, c.sizeX);
        EXPECT_FLOAT_EQ(info.SizeY, c.sizeY);
        EXPECT_FLOAT_EQ(info.Scale, c.scale);
    }
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
    EXPECT_EQ(ChooseShadingResolution(501, 2), ShadingResolution::Medium);
    EXPECT_EQ(ChooseShadingResolution(500, 1000), ShadingResolution::Medium);
    EXPECT_EQ(ChooseShadingResolution(10, 1001), ShadingResolution::Coarse);
}

TEST(PictureFile, TheExtensionChoosesTheReader) {
    const std::pair<const char*, PictureLoader> cases[] = {
        {"photo.jpg", PictureLoader::Jpeg},        {"photo.JpEg", PictureLoader::Jpeg},
        {"scan.bmp", PictureLoader::Bmp},          {".bmp", PictureLoader::Bmp},
        {"/a/b/job.PXM", PictureLoader::Document}, {"archive.bmp.zip", PictureLoader::Unknown},
        {"no extension", PictureLoader::Unknown},  {"/pictures.bmp/readme", PictureLoader::Unknown},
        {"trailing.", PictureLoader::Unknown},
    };
    for (const auto& [name, loader] : cases) EXPECT_EQ(ChoosePictureLoader(name), loader) << name;
    EXPECT_EQ(BitDepthText(16), "16 bit");
    EXPECT_EQ(BitDepthText(15), "");
}

TEST(GreyLevel, MatchesTheWeightedSumRoundedInSinglePrecisionForEveryColour) {
    // The defining formula: the weighted sum in extended precision, stored
    // as a float, then rounded to the nearest level with halves to even.
    for (int red = 0; red < 256; ++red)
        for (int green = 0; green < 256; ++green)
            for (int blue = 0; blue < 256; ++blue) {
                const float sum = static_cast<float>(0.299L * red + 0.587L * green + 0.114L * blue);
                ASSERT_EQ(GreyLevel(red, green, blue), static_cast<int>(std::nearbyint(sum)))
                    << red << ", " << green << ", " << blue;
            }
}

// The work size of the loaded picture: where it lies in the drawing, how
// large it is in work units (millimetres or inches) and how many pixels it
// has. The same record describes the rectangle picked for a crop.
#pragma once

#include <cstdint>

namespace calvoro {

struct ImageInfo {
    float X0 = 0;  // lower-left corner of the picture in the drawing (work units)
    float Y0 = 0;
    float SizeX = 0;  // work width: the distance between the outer pixel centres
    float SizeY = 0;
    float Scale = 0;  // work units per pixel = SizeX / (PixelWidth - 1)
    std::int32_t PixelWidth = 0;
    std::int32_t PixelHeight = 0;

    friend bool operator==(const ImageInfo&, const ImageInfo&) = default;
};

// The rectangle picked for a crop: X0 = its left edge from the picture's left
// edge, Y0 = its TOP edge from the picture's bottom edge, SizeX/SizeY its
// size, PixelWidth/PixelHeight its size in pixels.
using CutInfo = ImageInfo;

// Work size and scale of a picture of pixelWidth x pixelHeight at imageDpi
// (0 = no resolution: one work unit per pixel); X0 and Y0 of `info` are kept.
// A 1001-pixel-wide picture at 100 dpi is 10 inches or 254 mm wide. The
// horizontal resolution serves both directions. Throws PictureError for a
// picture under 2 pixels in either direction.
ImageInfo ComputeImageScale(ImageInfo info, int pixelWidth, int pixelHeight, int imageDpi, bool inches);

// After a quarter turn of the picture: sizes and pixel counts exchanged,
// scale and origin kept. The caller then puts the origin back on the chosen
// reference corner, whose position depends on the new sizes.
ImageInfo RotatedImageInfo(const ImageInfo& info);

// How finely the 3D preview shades the relief, chosen from the larger side.
enum class ShadingResolution { Fine, Medium, Coarse };

// Up to 500 pixels fine, 501 to 1000 medium, above coarse.
ShadingResolution ChooseShadingResolution(int pixelWidth, int pixelHeight);

}  // namespace calvoro

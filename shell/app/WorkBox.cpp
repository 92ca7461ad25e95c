#include "shell/app/WorkBox.h"

#include <cmath>
#include <stdexcept>

namespace calvoro {

namespace {

// A relief past the box by this much of its height is the float rounding of
// the sizes, not a placement that carries the rows beyond it.
constexpr double kSpanTolerance = 1e-6;

// Work units per pixel along a side `shown` long of `pixels` pixels: `square`
// while pixels of that size span the side, or fall short of it by less than a
// pixel; otherwise the pixels are spread over exactly that length.
float SidePixelSize(float shown, int pixels, float square) {
    const double span = (pixels - 1) * static_cast<double>(square);
    const double side = shown;
    if (square > 0 && span <= side * (1.0 + kSpanTolerance) && side - span < square) return square;
    return static_cast<float>(static_cast<long double>(shown) / (pixels - 1));
}

}  // namespace

float PixelSizeAlongX(const ImageInfo& info) {
    if (info.PixelWidth < 2) throw std::invalid_argument("The picture must be at least two pixels wide.");
    return SidePixelSize(info.SizeX, info.PixelWidth, info.Scale);
}

float PixelSizeAlongY(const ImageInfo& info, float pixelSizeX) {
    if (info.PixelHeight < 2) throw std::invalid_argument("The picture must be at least two pixels high.");
    const float size = SidePixelSize(info.SizeY, info.PixelHeight, pixelSizeX);
    return size == pixelSizeX ? 0.0f : size;
}

WorkBox ComputeWorkBox(const ImageInfo& info, const ReliefValues& relief) {
    WorkBox box;
    box.PixelSize = PixelSizeAlongX(info);
    box.PixelSizeY = PixelSizeAlongY(info, box.PixelSize);
    box.SizeX = info.SizeX;
    box.SizeY = info.SizeY;
    box.SizeZ = relief.DepthRange;
    box.CentreX = info.SizeX / 2 + info.X0;
    box.CentreY = info.SizeY / 2 + info.Y0;
    box.CentreZ = relief.WhiteZ - relief.DepthRange / 2;
    box.AxisScale = info.SizeX / 4;
    return box;
}

void ApplyWorkBox(const WorkBox& box, const ImageInfo& info, ReliefValues& relief) {
    relief.PixelSize = box.PixelSize;
    relief.PixelSizeY = box.PixelSizeY;
    relief.WorkOffsetX = info.X0;
    relief.WorkOffsetY = info.Y0;
}

void PlaceRelief(const ImageInfo& info, ReliefValues& relief) {
    // Before a picture is open (or for one under two pixels, which nothing
    // machines) the Scale stands as it is.
    const bool placed = info.PixelWidth >= 2 && info.PixelHeight >= 2;
    relief.PixelSize = placed ? PixelSizeAlongX(info) : info.Scale;
    relief.PixelSizeY = placed ? PixelSizeAlongY(info, relief.PixelSize) : 0.0f;
    relief.WorkOffsetX = info.X0;
    relief.WorkOffsetY = info.Y0;
}

}  // namespace calvoro

#include "shell/app/WorkBox.h"

#include <cmath>
#include <stdexcept>

namespace calvoro {

namespace {

// A relief past the box by this much of its height is the float rounding of
// the sizes, not a placement that carries the rows beyond it.
constexpr double kSpanTolerance = 1e-6;

}  // namespace

float PixelSizeAlongY(const ImageInfo& info, float pixelSizeX) {
    if (info.PixelHeight < 2) throw std::invalid_argument("The picture must be at least two pixels high.");
    const double rows = info.PixelHeight - 1;
    const double squareSpan = rows * pixelSizeX;
    const double height = info.SizeY;
    if (squareSpan <= height * (1.0 + kSpanTolerance) && height - squareSpan < pixelSizeX) return 0.0f;
    const auto spread = static_cast<float>(static_cast<long double>(info.SizeY) / (info.PixelHeight - 1));
    return spread == pixelSizeX ? 0.0f : spread;
}

WorkBox ComputeWorkBox(const ImageInfo& info, const ReliefValues& relief) {
    if (info.PixelWidth < 2) throw std::invalid_argument("The picture must be at least two pixels wide.");
    WorkBox box;
    box.PixelSize = info.SizeX / static_cast<float>(info.PixelWidth - 1);
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
    relief.PixelSize = info.Scale;
    relief.PixelSizeY = PixelSizeAlongY(info, info.Scale);
    relief.WorkOffsetX = info.X0;
    relief.WorkOffsetY = info.Y0;
}

}  // namespace calvoro

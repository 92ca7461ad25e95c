#include "shell/app/WorkBox.h"

#include <stdexcept>

namespace calvoro {

WorkBox ComputeWorkBox(const ImageInfo& info, const ReliefValues& relief) {
    if (info.PixelWidth < 2) throw std::invalid_argument("The picture must be at least two pixels wide.");
    WorkBox box;
    box.PixelSize = info.SizeX / static_cast<float>(info.PixelWidth - 1);
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
    relief.WorkOffsetX = info.X0;
    relief.WorkOffsetY = info.Y0;
}

}  // namespace calvoro

// The work box of a picture: how large one pixel is in work units, where the
// box of the relief lies in 3D and the size of the axis marker. Recomputed
// whenever the picture's size, origin or depths change; the relief and the
// tool paths are out of date afterwards.
#pragma once

#include "engine/picture/ImageInfo.h"
#include "engine/relief/ReliefValues.h"

namespace calvoro {

struct WorkBox {
    float PixelSize = 1.0f;
    // Centre and size of the box in work units.
    float CentreX = 0, CentreY = 0, CentreZ = 0;
    float SizeX = 0, SizeY = 0, SizeZ = 0;
    float AxisScale = 0;  // the axis marker is a quarter of the width
};

// ImpostaBoxLimite's arithmetic. Throws std::invalid_argument for a picture
// under two pixels wide, whose pixel size would divide by zero.
WorkBox ComputeWorkBox(const ImageInfo& info, const ReliefValues& relief);

// Puts the box's pixel size and the picture's origin into the relief values.
void ApplyWorkBox(const WorkBox& box, const ImageInfo& info, ReliefValues& relief);

}  // namespace calvoro

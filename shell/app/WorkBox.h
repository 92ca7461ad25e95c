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
    float PixelSizeY = 0.0f;  // along Y; 0 for square pixels (see PixelSizeAlongY)
    // Centre and size of the box in work units.
    float CentreX = 0, CentreY = 0, CentreZ = 0;
    float SizeX = 0, SizeY = 0, SizeZ = 0;
    float AxisScale = 0;  // the axis marker is a quarter of the width
};

// ImpostaBoxLimite's arithmetic. Throws std::invalid_argument for a picture
// under two pixels wide or high, whose pixel size would divide by zero.
WorkBox ComputeWorkBox(const ImageInfo& info, const ReliefValues& relief);

// Puts the box's pixel sizes and the picture's origin into the relief values.
void ApplyWorkBox(const WorkBox& box, const ImageInfo& info, ReliefValues& relief);

// Work units per pixel along Y for pixels `pixelSizeX` wide. The rows keep
// the width's pixel size (0 is returned: square pixels) while they then span
// the height the page shows, or fall short of it by less than a pixel: every
// picture whose sizes keep its proportions and that is not taller than wide,
// so its relief and program stay as they always were. Otherwise (a height
// typed with keep-ratio off, or a tall picture, whose whole-pixel proportions
// would carry the rows past the box) the rows are spread over exactly that
// height: SizeY / (PixelHeight - 1).
float PixelSizeAlongY(const ImageInfo& info, float pixelSizeX);

// Work units per pixel along X: the picture's Scale, by the same rule, so a
// Scale left over from before the picture was turned cannot carry the columns
// past the width shown.
float PixelSizeAlongX(const ImageInfo& info);

// The pixel sizes and origin of the relief of a picture placed as `info`,
// into `relief`; the depths are left alone. Never throws.
void PlaceRelief(const ImageInfo& info, ReliefValues& relief);

}  // namespace calvoro

// The fixed shapes of the 3D view besides the relief and the cutter: the work
// box as twelve edges and the arrows of the axes at the work origin.
#pragma once

#include <vector>

#include "engine/preview/CutterSolid.h"
#include "engine/preview/PreviewTypes.h"

namespace calvoro {

// The twelve edges of the box between two opposite corners, as 24 line
// vertices of x y z.
std::vector<float> BoxEdges(Vec3 corner1, Vec3 corner2);

// One axis of unit length along +Z: a shaft of radius 0.02 and length 1 with a
// cone tip 0.5 long, 0.1 wide at its foot; and the small ball at the origin
// (radius 0.05) the three axes share.
SolidMesh AxisArrow();
SolidMesh AxisBall();

}  // namespace calvoro

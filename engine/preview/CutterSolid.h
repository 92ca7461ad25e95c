// The cutter as the 3D view shows it: a profile of (radius, height) points from
// the tip upwards, turned about the cutter's axis into a triangle mesh. Only a
// picture of the tool: the cutting geometry itself is CutterProfile's.
#pragma once

#include <vector>

#include "engine/tools/ToolRecord.h"

namespace calvoro {

struct ProfilePoint {
    double radius = 0.0;
    double height = 0.0;
};

// The profile of a tool from its fields, bottom first; no points for an
// undefined type. Every height is kept within 0 and the model's length (the
// pass depth), and the corner radius within 0 and the tool's radius, so a
// steep or zero taper angle cannot give a giant solid.
std::vector<ProfilePoint> CutterOutline(const ToolRecord& tool);

// A triangle mesh with a normal per vertex, ready for a vertex buffer:
// x y z nx ny nz per vertex, three vertices per triangle.
struct SolidMesh {
    std::vector<float> vertices;
    int vertexCount() const { return static_cast<int>(vertices.size() / 6); }
};

// The profile turned about the Z axis in `slices` steps, normals outward.
SolidMesh RevolveOutline(const std::vector<ProfilePoint>& outline, int slices = 32);

}  // namespace calvoro

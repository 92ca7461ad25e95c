#include "engine/preview/SceneShapes.h"

#include <cmath>
#include <numbers>

namespace calvoro {

std::vector<float> BoxEdges(Vec3 corner1, Vec3 corner2) {
    const double xs[2] = {corner1.x, corner2.x};
    const double ys[2] = {corner1.y, corner2.y};
    const double zs[2] = {corner1.z, corner2.z};
    std::vector<float> lines;
    lines.reserve(72);
    auto corner = [&](int bits) {
        lines.push_back(static_cast<float>(xs[bits & 1]));
        lines.push_back(static_cast<float>(ys[(bits >> 1) & 1]));
        lines.push_back(static_cast<float>(zs[(bits >> 2) & 1]));
    };
    // Corners are numbered by three bits (x, y, z); an edge joins two corners
    // that differ in exactly one bit.
    for (int from = 0; from < 8; ++from)
        for (int bit = 1; bit < 8; bit <<= 1)
            if (!(from & bit)) {
                corner(from);
                corner(from | bit);
            }
    return lines;
}

SolidMesh AxisArrow() {
    return RevolveOutline({{0.0, 0.0}, {0.02, 0.0}, {0.02, 1.0}, {0.1, 1.0}, {0.001, 1.5}, {0.0, 1.5}}, 16);
}

SolidMesh AxisBall() {
    constexpr double kRadius = 0.05;
    std::vector<ProfilePoint> outline;
    for (int k = 0; k <= 8; ++k) {
        const double t = std::numbers::pi * (-0.5 + k / 8.0);
        outline.push_back({k == 0 || k == 8 ? 0.0 : kRadius * std::cos(t), kRadius * std::sin(t)});
    }
    return RevolveOutline(outline, 12);
}

}  // namespace calvoro

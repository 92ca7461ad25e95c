// Small value types shared by the 3D preview's arithmetic and its renderer.
#pragma once

#include <cmath>

// ShadingResolution, how densely the relief is sampled (see SamplingStep).
#include "engine/picture/ImageInfo.h"

namespace calvoro {

struct Vec3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    friend Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
    friend Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
    friend Vec3 operator*(Vec3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
    friend bool operator==(const Vec3&, const Vec3&) = default;
};

inline double Dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline double Length(Vec3 a) {
    return std::sqrt(Dot(a, a));
}
inline Vec3 Cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
// a / |a|; the zero vector stays zero.
inline Vec3 Normalized(Vec3 a) {
    const double length = Length(a);
    return length > 0.0 ? a * (1.0 / length) : a;
}

// How the relief is drawn (the surface-mode menu): filled, as its grid lines,
// or not at all.
enum class SurfaceMode { Shade, Wire, None };

enum class StandardView { Top, Front, Side, Iso };

// One node of the tool path or of the simulated moves: where the cutter goes
// and the colour of the move that ends there.
struct PathNode {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float red = 1.0f;
    float green = 1.0f;
    float blue = 1.0f;

    friend bool operator==(const PathNode&, const PathNode&) = default;
};

}  // namespace calvoro

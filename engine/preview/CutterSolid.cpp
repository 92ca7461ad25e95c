#include "engine/preview/CutterSolid.h"

#include <cmath>
#include <numbers>

namespace calvoro {

namespace {

constexpr double kDegrees = std::numbers::pi / 180.0;

// low..high, with NaN (a damaged record) taken as low.
double Within(double value, double low, double high) {
    if (!(value > low)) return low;
    return value < high ? value : high;
}

}  // namespace

std::vector<ProfilePoint> CutterOutline(const ToolRecord& tool) {
    const double radius = Within(tool.diameter / 2.0, 0.0, HUGE_VAL);
    const double length = Within(tool.passDepth, 0.0, HUGE_VAL);
    const double corner = Within(tool.cornerRadius, 0.0, radius);
    const double halfFlat = Within(tool.flatDiameter / 2.0, 0.0, radius);
    // Rise of the cone side per unit of radius; a zero angle makes it endless,
    // which the height clamp below turns into a cylinder.
    const double coneRise = std::tan((90.0 - tool.taperAngle) * kDegrees);

    std::vector<ProfilePoint> outline;
    auto add = [&](double r, double h) { outline.push_back({Within(r, 0.0, radius), Within(h, 0.0, length)}); };
    switch (tool.toolType) {
        case ToolType::Flat:
            add(0, 0);
            add(radius, 0);
            break;
        case ToolType::BullNose:
            add(0, 0);
            for (int k = 0; k < 6; ++k) {
                const double t = (270.0 + 15.0 * k) * kDegrees;
                add(radius - corner + corner * std::cos(t), corner + corner * std::sin(t));
            }
            break;
        case ToolType::Spherical:
            for (int k = 0; k < 10; ++k) {
                const double t = (270.0 + 10.0 * k) * kDegrees;
                add(radius * std::cos(t), radius + radius * std::sin(t));
            }
            break;
        case ToolType::ConicalFlat:
            add(0, 0);
            add(halfFlat, 0);
            add(radius, coneRise * (radius - halfFlat));
            break;
        case ToolType::Drill:
            add(0, 0);
            add(radius, std::tan(30.0 * kDegrees) * radius);
            break;
        case ToolType::ConicalSpherical: {
            double px = 0.0;
            double py = 0.0;
            for (int k = 0; k < 6; ++k) {
                const double t = (270.0 + k * (90.0 - tool.taperAngle) / 6.0) * kDegrees;
                px = halfFlat * std::cos(t);
                py = halfFlat + halfFlat * std::sin(t);
                add(px, py);
            }
            add(radius, py + coneRise * (radius - px));
            break;
        }
        case ToolType::Undefined:
        default:
            return outline;
    }
    add(radius, length);
    add(0, length);
    return outline;
}

SolidMesh RevolveOutline(const std::vector<ProfilePoint>& outline, int slices) {
    SolidMesh mesh;
    if (outline.size() < 2 || slices < 3) return mesh;
    auto put = [&](const ProfilePoint& p, double angle, double normalRadial, double normalZ) {
        const double c = std::cos(angle);
        const double s = std::sin(angle);
        for (double v : {p.radius * c, p.radius * s, p.height, normalRadial * c, normalRadial * s, normalZ})
            mesh.vertices.push_back(static_cast<float>(v));
    };
    for (std::size_t n = 0; n + 1 < outline.size(); ++n) {
        const ProfilePoint& a = outline[n];
        const ProfilePoint& b = outline[n + 1];
        const double dr = b.radius - a.radius;
        const double dh = b.height - a.height;
        const double length = std::hypot(dr, dh);
        if (length == 0.0) continue;
        // The outline runs upward on the outside, so its right-hand normal
        // points out of the solid.
        const double nr = dh / length;
        const double nz = -dr / length;
        for (int k = 0; k < slices; ++k) {
            const double t0 = 2.0 * std::numbers::pi * k / slices;
            const double t1 = 2.0 * std::numbers::pi * (k + 1) / slices;
            if (b.radius > 0.0) {
                put(a, t0, nr, nz);
                put(b, t0, nr, nz);
                put(b, t1, nr, nz);
            }
            if (a.radius > 0.0) {
                put(a, t0, nr, nz);
                put(b, t1, nr, nz);
                put(a, t1, nr, nz);
            }
        }
    }
    return mesh;
}

}  // namespace calvoro

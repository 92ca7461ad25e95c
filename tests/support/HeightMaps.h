// Height maps and cutters the tests run over, made from fixed seeds so that
// every run sees the same cases, and what the cutter demands of its tip cell
// by cell: the reference every depth and every move is checked against.
#pragma once

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "engine/relief/HeightMap.h"
#include "engine/relief/ReliefValues.h"
#include "engine/toolpath/CutterProfile.h"
#include "engine/toolpath/ToolPathError.h"
#include "engine/tools/ToolRecord.h"
#include "tests/support/Refusals.h"

namespace calvoro::test {

enum class ReliefKind { Smooth, Blocky, Spikes, Negative, Constant, Walls };

inline const ReliefKind kAllReliefs[] = {ReliefKind::Smooth,   ReliefKind::Blocky,   ReliefKind::Spikes,
                                         ReliefKind::Negative, ReliefKind::Constant, ReliefKind::Walls};

inline std::string ReliefName(ReliefKind kind) {
    const char* const names[] = {"smooth", "blocky", "spikes", "negative", "constant", "walls"};
    return names[static_cast<int>(kind)];
}

// The values that turn grey levels into Z and place the map on the machine.
inline ReliefValues Relief(float whiteZ, float blackZ, float pixelSize = 1.0f, float offsetX = 0.0f,
                           float offsetY = 0.0f) {
    ReliefValues values;
    values.setWhiteZ(whiteZ);
    values.setBlackZ(blackZ);
    values.PixelSize = pixelSize;
    values.WorkOffsetX = offsetX;
    values.WorkOffsetY = offsetY;
    return values;
}

inline HeightMap MakeRelief(ReliefKind kind, int width, int height, unsigned seed = 1) {
    std::mt19937 random(seed);
    auto uniform = [&](double low, double high) { return std::uniform_real_distribution<double>(low, high)(random); };
    HeightMap map(width, height, kind == ReliefKind::Blocky ? -3.0f : -1.25f);
    const auto fill = [&](auto z) {
        for (int x = 0; x < width; ++x)
            for (int y = 0; y < height; ++y) map.at(x, y) = static_cast<float>(z(x, y));
    };
    switch (kind) {
        case ReliefKind::Smooth:
            fill([](int x, int y) {
                return -2.0 + std::sin(x * 0.31) * std::cos(y * 0.23) + 0.3 * std::sin((x + 2 * y) * 0.9);
            });
            break;
        case ReliefKind::Blocky:
            for (int b = 0; b < 6; ++b) {
                const int x0 = static_cast<int>(uniform(0, width));
                const int y0 = static_cast<int>(uniform(0, height));
                const int x1 = std::min(width, x0 + 1 + static_cast<int>(uniform(0, width / 3.0)));
                const int y1 = std::min(height, y0 + 1 + static_cast<int>(uniform(0, height / 3.0)));
                const auto z = static_cast<float>(uniform(-3.0, 0.0));
                for (int x = x0; x < x1; ++x)
                    for (int y = y0; y < y1; ++y) map.at(x, y) = z;
            }
            break;
        case ReliefKind::Spikes:
            fill([](int x, int) { return -4.0 + 0.05 * std::sin(x * 0.5); });
            for (int s = 0; s < std::max(2, width * height / 60); ++s)
                map.at(static_cast<int>(uniform(0, width)), static_cast<int>(uniform(0, height))) =
                    static_cast<float>(uniform(-2.0, 0.0));
            break;
        case ReliefKind::Negative:
            fill([&](int, int) { return uniform(-10.0, -2.0); });
            break;
        case ReliefKind::Constant:
            break;
        case ReliefKind::Walls:  // steep steps along both axes, the hardest case for moves near walls
            fill([](int x, int y) { return ((x / 4) % 2 ? -0.5 : -5.0) + ((y / 5) % 2 ? 0.0 : -1.5); });
            break;
    }
    return map;
}

inline ToolRecord Cutter(ToolType type, float diameter, float corner = 0, float angle = 0, float tip = 0) {
    ToolRecord tool;
    tool.toolType = type;
    tool.diameter = diameter;
    tool.cornerRadius = corner;
    tool.taperAngle = angle;
    tool.flatDiameter = tip;
    return tool;
}

// A cutter of each shape with typical proportions.
inline ToolRecord MakeCutter(ToolType type, double diameter) {
    const auto d = static_cast<float>(diameter);
    switch (type) {
        case ToolType::BullNose:
            return Cutter(type, d, static_cast<float>(diameter * 0.15));
        case ToolType::Spherical:
            return Cutter(type, d, static_cast<float>(diameter / 2));
        case ToolType::ConicalFlat:
            return Cutter(type, d, 0, 30.0f, static_cast<float>(diameter * 0.2));
        case ToolType::ConicalSpherical:
            return Cutter(type, d, 0, 20.0f, static_cast<float>(diameter * 0.3));
        default:
            return Cutter(type, d);
    }
}

inline const ToolType kMachiningShapes[] = {ToolType::Flat, ToolType::BullNose, ToolType::Spherical,
                                            ToolType::ConicalFlat, ToolType::ConicalSpherical};

// The lowest tip Z of the cutter centred at (cx, cy), in cells, that leaves
// cell (kx, ky) uncut: the cell's Z less the profile's height at their
// distance, plus S; -infinity outside the footprint. Cells outside the
// picture count as the nearest edge cell.
inline double TipDemand(const HeightMap& map, const CutterProfile& profile, double pixelSize, double cx, double cy,
                        int kx, int ky) {
    const double rho = std::sqrt((kx - cx) * (kx - cx) + (ky - cy) * (ky - cy)) * pixelSize;
    if (rho > profile.outerRadius()) return -std::numeric_limits<double>::infinity();
    return (static_cast<double>(map.clampedAt(kx, ky)) - profile.height(rho)) + profile.stockAllowance();
}

// The same for cells sizeX by sizeY work units, the distance measured
// plainly; a cell up to `rimSlack` (relative) beyond the rim counts as on it.
inline double TipDemand(const HeightMap& map, const CutterProfile& profile, double sizeX, double sizeY, double cx,
                        double cy, int kx, int ky, double rimSlack = 0.0) {
    const double rho = std::hypot((kx - cx) * sizeX, (ky - cy) * sizeY);
    const double rim = profile.outerRadius();
    if (rho > rim * (1.0 + rimSlack)) return -std::numeric_limits<double>::infinity();
    return (static_cast<double>(map.clampedAt(kx, ky)) - profile.height(std::min(rho, rim))) + profile.stockAllowance();
}

}  // namespace calvoro::test

// Reliefs and cutters the tool-path tests are run over, made here from fixed
// seeds so every run sees the same cases.
#pragma once

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "engine/relief/HeightMap.h"
#include "engine/tools/ToolRecord.h"

namespace calvoro::test {

enum class ReliefKind { Smooth, Blocky, Spikes, Negative, Constant, Walls };

inline std::string ReliefName(ReliefKind kind) {
    switch (kind) {
        case ReliefKind::Smooth:
            return "smooth";
        case ReliefKind::Blocky:
            return "blocky";
        case ReliefKind::Spikes:
            return "spikes";
        case ReliefKind::Negative:
            return "negative";
        case ReliefKind::Constant:
            return "constant";
        case ReliefKind::Walls:
            return "walls";
    }
    return "?";
}

inline const ReliefKind kAllReliefs[] = {ReliefKind::Smooth,   ReliefKind::Blocky,   ReliefKind::Spikes,
                                         ReliefKind::Negative, ReliefKind::Constant, ReliefKind::Walls};

inline HeightMap MakeRelief(ReliefKind kind, int width, int height, unsigned seed = 1) {
    std::mt19937 random(seed);
    auto uniform = [&](double low, double high) { return std::uniform_real_distribution<double>(low, high)(random); };
    HeightMap map(width, height, 0.0f);
    switch (kind) {
        case ReliefKind::Smooth:
            for (int x = 0; x < width; ++x)
                for (int y = 0; y < height; ++y)
                    map.at(x, y) = static_cast<float>(-2.0 + std::sin(x * 0.31) * std::cos(y * 0.23) +
                                                      0.3 * std::sin((x + 2 * y) * 0.9));
            break;
        case ReliefKind::Blocky:
            map.fill(-3.0f);
            for (int b = 0; b < 6; ++b) {
                const int x0 = static_cast<int>(uniform(0, width));
                const int y0 = static_cast<int>(uniform(0, height));
                const int w = 1 + static_cast<int>(uniform(0, width / 3.0));
                const int h = 1 + static_cast<int>(uniform(0, height / 3.0));
                const auto z = static_cast<float>(uniform(-3.0, 0.0));
                for (int x = x0; x < std::min(width, x0 + w); ++x)
                    for (int y = y0; y < std::min(height, y0 + h); ++y) map.at(x, y) = z;
            }
            break;
        case ReliefKind::Spikes:
            for (int x = 0; x < width; ++x)
                for (int y = 0; y < height; ++y) map.at(x, y) = static_cast<float>(-4.0 + 0.05 * std::sin(x * 0.5));
            for (int s = 0; s < std::max(2, width * height / 60); ++s)
                map.at(static_cast<int>(uniform(0, width)), static_cast<int>(uniform(0, height))) =
                    static_cast<float>(uniform(-2.0, 0.0));
            break;
        case ReliefKind::Negative:
            for (int x = 0; x < width; ++x)
                for (int y = 0; y < height; ++y) map.at(x, y) = static_cast<float>(uniform(-10.0, -2.0));
            break;
        case ReliefKind::Constant:
            map.fill(-1.25f);
            break;
        case ReliefKind::Walls:
            // Steep steps along both axes, the hardest case for moves near walls.
            for (int x = 0; x < width; ++x)
                for (int y = 0; y < height; ++y)
                    map.at(x, y) = static_cast<float>(((x / 4) % 2 ? -0.5 : -5.0) + ((y / 5) % 2 ? 0.0 : -1.5));
            break;
    }
    return map;
}

inline ToolRecord MakeCutter(ToolType type, double diameter) {
    ToolRecord tool;
    tool.toolType = type;
    tool.diameter = static_cast<float>(diameter);
    switch (type) {
        case ToolType::BullNose:
            tool.cornerRadius = static_cast<float>(diameter * 0.15);
            break;
        case ToolType::Spherical:
            tool.cornerRadius = static_cast<float>(diameter / 2);
            break;
        case ToolType::ConicalFlat:
            tool.taperAngle = 30.0f;
            tool.flatDiameter = static_cast<float>(diameter * 0.2);
            break;
        case ToolType::ConicalSpherical:
            tool.taperAngle = 20.0f;
            tool.flatDiameter = static_cast<float>(diameter * 0.3);
            break;
        default:
            break;
    }
    return tool;
}

inline const ToolType kMachiningShapes[] = {ToolType::Flat, ToolType::BullNose, ToolType::Spherical,
                                            ToolType::ConicalFlat, ToolType::ConicalSpherical};

}  // namespace calvoro::test

#include "engine/preview/CutterSolid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "engine/preview/SceneShapes.h"

namespace calvoro {
namespace {

ToolRecord Tool(ToolType type, float diameter, float length, float corner = 0, float angle = 0, float flat = 0) {
    ToolRecord tool;
    tool.toolType = type;
    tool.diameter = diameter;
    tool.passDepth = length;
    tool.cornerRadius = corner;
    tool.taperAngle = angle;
    tool.flatDiameter = flat;
    return tool;
}

TEST(CutterOutline, HasTheShapesPointsAndEndsAtTheShaftTop) {
    struct Case {
        ToolType type;
        std::size_t points;
    };
    for (const Case c : {Case{ToolType::Flat, 4},
                         {ToolType::BullNose, 9},
                         {ToolType::Spherical, 12},
                         {ToolType::ConicalFlat, 5},
                         {ToolType::Drill, 4},
                         {ToolType::ConicalSpherical, 9},
                         {ToolType::Undefined, 0}}) {
        SCOPED_TRACE(static_cast<int>(c.type));
        const auto outline = CutterOutline(Tool(c.type, 6, 20, 1, 30, 2));
        ASSERT_EQ(outline.size(), c.points);
        if (c.points == 0) continue;
        EXPECT_NEAR(outline.front().radius, 0.0, 1e-12);
        EXPECT_NEAR(outline.front().height, 0.0, 1e-12);
        EXPECT_EQ(outline[c.points - 2].radius, 3.0);
        EXPECT_EQ(outline[c.points - 2].height, 20.0);
        EXPECT_EQ(outline.back().radius, 0.0);
    }
}

TEST(CutterOutline, KeyPointsOfEachShape) {
    struct Case {
        const char* name;
        ToolRecord tool;
        std::size_t index;
        double radius, height;
    };
    const double s345 = std::sin(345 * std::numbers::pi / 180), c345 = std::cos(345 * std::numbers::pi / 180);
    const Case cases[] = {
        {"ball end reaches the full radius at its centre height", Tool(ToolType::Spherical, 8, 20), 9, 4, 4},
        {"bull-nose with r = R starts like a ball", Tool(ToolType::BullNose, 8, 20, 4), 1, 0, 0},
        {"and stops at 345 degrees", Tool(ToolType::BullNose, 8, 20, 4), 6, 4 * c345, 4 + 4 * s345},
        {"corner radius above R is taken as R", Tool(ToolType::BullNose, 8, 20, 9), 6, 4 * c345, 4 + 4 * s345},
        {"cone at 45 degrees rises R - f/2", Tool(ToolType::ConicalFlat, 10, 20, 0, 45, 2), 2, 5, 4},
        {"cone at 0 degrees stops at the length", Tool(ToolType::ConicalFlat, 10, 20, 0, 0, 2), 2, 5, 20},
        {"drill point", Tool(ToolType::Drill, 10, 20), 1, 5, 5 * std::tan(std::numbers::pi / 6)},
        {"tip ball of a conical spherical cutter", Tool(ToolType::ConicalSpherical, 10, 20, 0, 90, 4), 5, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto outline = CutterOutline(c.tool);
        ASSERT_LT(c.index, outline.size());
        EXPECT_NEAR(outline[c.index].radius, c.radius, 1e-9);
        EXPECT_NEAR(outline[c.index].height, c.height, 1e-9);
    }
}

TEST(CutterOutline, StaysWithinTheToolWhateverTheAngle) {
    for (ToolType type : {ToolType::ConicalFlat, ToolType::ConicalSpherical})
        for (float angle : {0.0f, 1e-6f, 1.0f, 45.0f, 89.9f, 90.0f, 135.0f, -30.0f, NAN})
            for (float flat : {0.0f, 2.0f, 50.0f}) {
                SCOPED_TRACE(angle);
                for (const ProfilePoint& p : CutterOutline(Tool(type, 10, 12, 0, angle, flat))) {
                    EXPECT_GE(p.radius, 0.0);
                    EXPECT_LE(p.radius, 5.0);
                    EXPECT_GE(p.height, 0.0);
                    EXPECT_LE(p.height, 12.0);
                }
            }
}

// Volume by the divergence theorem, each face turned to the side its stored
// vertex normals point to: right only when the solid is closed and every
// normal points out of it.
double Volume(const SolidMesh& mesh) {
    double volume = 0.0;
    const auto& v = mesh.vertices;
    const auto at = [&](std::size_t n) { return Vec3{v[n], v[n + 1], v[n + 2]}; };
    for (std::size_t t = 0; t + 18 <= v.size(); t += 18) {
        const Vec3 a = at(t), b = at(t + 6), c = at(t + 12);
        const Vec3 stored = at(t + 3) + at(t + 9) + at(t + 15);
        Vec3 face = Cross(b - a, c - a);  // twice the area
        if (Dot(face, stored) < 0) face = face * -1.0;
        volume += Dot(a, face) / 6;
    }
    return volume;
}

TEST(RevolveOutline, MakesAClosedSolidWithOutwardNormals) {
    constexpr int kSlices = 32;
    const double polygon = kSlices / (2 * std::numbers::pi) * std::sin(2 * std::numbers::pi / kSlices);
    struct Case {
        const char* name;
        SolidMesh mesh;
        double volume;  // below 0: only known to be positive
    };
    const Case cases[] = {
        {"cylinder", RevolveOutline(CutterOutline(Tool(ToolType::Flat, 4, 10)), kSlices),
         polygon * std::numbers::pi * 4 * 10},
        {"cone on a cylinder", RevolveOutline(CutterOutline(Tool(ToolType::Drill, 2, 3)), kSlices),
         polygon * std::numbers::pi * (3 - 2 * std::tan(std::numbers::pi / 6) / 3)},
        {"axis arrow", AxisArrow(), -1.0},
        {"nothing for an undefined cutter", RevolveOutline(CutterOutline(Tool(ToolType::Undefined, 4, 10))), 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.volume < 0)
            EXPECT_GT(Volume(c.mesh), 0.0);
        else
            EXPECT_NEAR(Volume(c.mesh), c.volume, 1e-4 * c.volume + 1e-12);
        for (std::size_t n = 3; n < c.mesh.vertices.size(); n += 6)
            EXPECT_NEAR(Length({c.mesh.vertices[n], c.mesh.vertices[n + 1], c.mesh.vertices[n + 2]}), 1.0, 1e-6);
    }
}

}  // namespace
}  // namespace calvoro

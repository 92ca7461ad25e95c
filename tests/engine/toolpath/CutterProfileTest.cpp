// The cutter profiles: refusals of every cutter that cannot machine a relief,
// heights of each shape by hand, degenerate shapes equal to the simpler ones,
// and heights that never fall outward.
#include "engine/toolpath/CutterProfile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/support/HeightMaps.h"

namespace calvoro {
namespace {

using test::Cutter;

TEST(CutterProfileTest, RefusesCuttersThatCannotMachineARelief) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char* what;
        ToolRecord tool;
        double stock;
        const char* message;
    } cases[] = {
        {"drill", Cutter(ToolType::Drill, 3), 0, "cannot machine a relief"},
        {"undefined", Cutter(ToolType::Undefined, 3), 0, "cannot machine a relief"},
        {"zero diameter", Cutter(ToolType::Flat, 0), 0, "diameter"},
        {"negative diameter", Cutter(ToolType::Spherical, -2), 0, "diameter"},
        {"diameter not a number", Cutter(ToolType::Flat, nan), 0, "diameter"},
        {"infinite diameter", Cutter(ToolType::Flat, std::numeric_limits<float>::infinity()), 0, "diameter"},
        {"corner above the radius", Cutter(ToolType::BullNose, 4, 2.01f), 0, "corner radius"},
        {"negative corner", Cutter(ToolType::BullNose, 4, -0.1f), 0, "corner radius"},
        {"taper 0", Cutter(ToolType::ConicalFlat, 4, 0, 0, 1), 0, "taper angle"},
        {"taper 90", Cutter(ToolType::ConicalSpherical, 4, 0, 90, 1), 0, "taper angle"},
        {"taper 120", Cutter(ToolType::ConicalFlat, 4, 0, 120, 1), 0, "taper angle"},
        {"taper not a number", Cutter(ToolType::ConicalFlat, 4, 0, nan, 1), 0, "taper angle"},
        {"tip above the diameter", Cutter(ToolType::ConicalFlat, 4, 0, 30, 4.5f), 0, "tip diameter"},
        {"negative tip", Cutter(ToolType::ConicalSpherical, 4, 0, 30, -1), 0, "tip diameter"},
        {"negative stock", Cutter(ToolType::Flat, 4), -0.1, "stock"},
    };
    for (const Case& c : cases) {
        const std::string message = test::MessageOf<ToolPathError>([&] { CutterProfile::FromTool(c.tool, c.stock); });
        EXPECT_NE(message.find(c.message), std::string::npos) << c.what << ": " << message;
    }
}

TEST(CutterProfileTest, HeightsOfEachShapeByHand) {
    const double sqrt2 = std::sqrt(2.0);
    struct Case {
        const char* what;
        ToolRecord tool;
        double stock, rho, expected;
    } cases[] = {
        {"flat anywhere", Cutter(ToolType::Flat, 6), 0, 2.9, 0.0},
        {"ball centre", Cutter(ToolType::Spherical, 8), 0, 0, 0.0},
        {"ball at 3 of 4", Cutter(ToolType::Spherical, 8), 0, 3, 4 - std::sqrt(7.0)},
        {"ball rim", Cutter(ToolType::Spherical, 8), 0, 4, 4.0},
        {"ball grown by stock", Cutter(ToolType::Spherical, 6), 1, 3, 4 - std::sqrt(7.0)},
        {"bull-nose flat part", Cutter(ToolType::BullNose, 8, 1), 0, 3, 0.0},
        {"bull-nose corner", Cutter(ToolType::BullNose, 8, 1), 0, 3.5, 1 - std::sqrt(0.75)},
        {"bull-nose rim", Cutter(ToolType::BullNose, 8, 1), 0, 4, 1.0},
        {"bull-nose flat grows by stock", Cutter(ToolType::BullNose, 8, 1), 0.5, 3.5, 0.0},
        {"v-bit 45 point", Cutter(ToolType::ConicalFlat, 8, 0, 45, 0), 0, 3, 3.0},
        {"v-bit 30 with tip", Cutter(ToolType::ConicalFlat, 8, 0, 30, 2), 0, 3, 2 * std::sqrt(3.0)},
        {"v-bit tip grows by stock", Cutter(ToolType::ConicalFlat, 8, 0, 30, 2), 0.5, 1.5, 0.0},
        {"tapered ball on its tip", Cutter(ToolType::ConicalSpherical, 8, 0, 45, 2), 0, 0.5, 1 - std::sqrt(0.75)},
        {"tapered ball on its cone", Cutter(ToolType::ConicalSpherical, 8, 0, 45, 2), 0, 3,
         (1 - std::sqrt(0.5)) + (3 - 1 / sqrt2)},
        {"sharp cone", Cutter(ToolType::ConicalSpherical, 8, 0, 45, 0), 0, 2, 2.0},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(CutterProfile::FromTool(c.tool, c.stock).height(c.rho), c.expected, 1e-12) << c.what;
}

}  // namespace
}  // namespace calvoro

// The library shipped in data/Tool.db is made by this test from the records
// below; run it with CALVORO_WRITE_TOOL_DB=1 to write the file again after a
// change to them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "engine/tools/ToolLibraryFile.h"
#include "kernel/platform/AtomicFile.h"

namespace fs = std::filesystem;

namespace calvoro {
namespace {

ToolRecord Shipped(int number, const char* name, ToolType type, float diameter, float cornerRadius = 0,
                   float taperAngle = 0, float flatDiameter = 0) {
    ToolRecord r;
    r.toolNumber = number;
    r.spindleSpeed = 18000;
    r.feedRate = 1200.0f;
    r.plungeRate = 300.0f;
    r.name = name;
    r.toolType = type;
    r.diameter = diameter;
    r.cornerRadius = cornerRadius;
    r.taperAngle = taperAngle;
    r.flatDiameter = flatDiameter;
    r.passDepth = diameter / 2;
    return r;
}

std::vector<ToolRecord> ShippedCutters() {
    return {
        Shipped(1, "Flat 3 mm", ToolType::Flat, 3.0f),
        Shipped(2, "Flat 6 mm", ToolType::Flat, 6.0f),
        Shipped(3, "Ball 1 mm", ToolType::Spherical, 1.0f, 0.5f),
        Shipped(4, "Ball 3 mm", ToolType::Spherical, 3.0f, 1.5f),
        Shipped(5, "Ball 6 mm", ToolType::Spherical, 6.0f, 3.0f),
        Shipped(6, "Bull-nose 6 mm R1", ToolType::BullNose, 6.0f, 1.0f),
        Shipped(7, "V-bit 60 deg, 0.2 mm tip", ToolType::ConicalFlat, 6.0f, 0, 30.0f, 0.2f),
        Shipped(8, "Tapered ball 0.5 mm, 10 deg", ToolType::ConicalSpherical, 3.175f, 0, 10.0f, 0.5f),
    };
}

std::string Encoded(const std::vector<ToolRecord>& records) {
    std::string bytes;
    for (const ToolRecord& r : records) {
        const ToolRecordBytes b = EncodeToolRecord(r);
        bytes.append(b.begin(), b.end());
    }
    return bytes;
}

TEST(ShippedToolLibraryTest, DataFileHoldsTheShippedCutters) {
    const char* source = std::getenv("CALVORO_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    const fs::path file = fs::path(source) / "data" / "Tool.db";
    if (std::getenv("CALVORO_WRITE_TOOL_DB")) WriteFileAtomically(file, Encoded(ShippedCutters()));

    EXPECT_EQ(ReadWholeFile(file), Encoded(ShippedCutters()));
    ToolLibraryFile library(file);
    library.load();
    ASSERT_EQ(library.size(), ShippedCutters().size());
    EXPECT_TRUE(library.damageReport().empty());
    for (std::size_t i = 0; i < library.size(); ++i) EXPECT_EQ(library.record(i), ShippedCutters()[i]);
}

}  // namespace
}  // namespace calvoro

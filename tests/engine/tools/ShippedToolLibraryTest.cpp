// The library shipped in data/Tool.db is made by this test from the records
// below; run it with CALVORO_WRITE_GOLDEN=1 to write the file again after a
// change to them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "engine/tools/ToolLibraryFile.h"
#include "kernel/platform/AtomicFile.h"
#include "tests/support/SourceTree.h"

namespace calvoro {
namespace {

std::vector<ToolRecord> ShippedCutters() {
    // Number, name, type, diameter, corner radius, taper angle, tip diameter;
    // every cutter at 18000 rpm, feed 1200, plunge 300, pass depth d / 2.
    const std::tuple<int, const char*, ToolType, float, float, float, float> cutters[] = {
        {1, "Flat 3 mm", ToolType::Flat, 3.0f, 0, 0, 0},
        {2, "Flat 6 mm", ToolType::Flat, 6.0f, 0, 0, 0},
        {3, "Ball 1 mm", ToolType::Spherical, 1.0f, 0.5f, 0, 0},
        {4, "Ball 3 mm", ToolType::Spherical, 3.0f, 1.5f, 0, 0},
        {5, "Ball 6 mm", ToolType::Spherical, 6.0f, 3.0f, 0, 0},
        {6, "Bull-nose 6 mm R1", ToolType::BullNose, 6.0f, 1.0f, 0, 0},
        {7, "V-bit 60 deg, 0.2 mm tip", ToolType::ConicalFlat, 6.0f, 0, 30.0f, 0.2f},
        {8, "Tapered ball 0.5 mm, 10 deg", ToolType::ConicalSpherical, 3.175f, 0, 10.0f, 0.5f}};
    std::vector<ToolRecord> records;
    for (const auto& [number, name, type, diameter, corner, angle, tip] : cutters)
        records.push_back(
            {number, 18000, 1200.0f, 300.0f, false, name, type, diameter, corner, angle, tip, diameter / 2});
    return records;
}

TEST(ShippedToolLibraryTest, DataFileHoldsTheShippedCutters) {
    const std::filesystem::path file = test::ShippedData() / "Tool.db";
    std::string expected;
    for (const ToolRecord& r : ShippedCutters()) {
        const ToolRecordBytes bytes = EncodeToolRecord(r);
        expected.append(bytes.begin(), bytes.end());
    }
    test::ExpectSameAsFile(expected, file);
    ToolLibraryFile library(file);
    library.load();
    ASSERT_EQ(library.size(), ShippedCutters().size());
    EXPECT_TRUE(library.damageReport().empty());
    for (std::size_t i = 0; i < library.size(); ++i) EXPECT_EQ(library.record(i), ShippedCutters()[i]);
}

}  // namespace
}  // namespace calvoro

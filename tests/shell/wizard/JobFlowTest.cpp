// One job from picture to NC file through the wizard, saved, reopened and
// computed again; and the relief of the same job as a closed STL solid.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <map>
#include <utility>

#include "kernel/platform/AtomicFile.h"
#include "tests/shell/wizard/WizardTestSupport.h"

namespace calvoro::test {
namespace {

using Vertex = std::array<float, 3>;

// Every undirected edge of a binary STL file with the number of facets using it.
std::map<std::pair<Vertex, Vertex>, int> StlEdges(const std::string& bytes) {
    std::uint32_t count = 0;
    std::memcpy(&count, bytes.data() + 80, 4);
    EXPECT_EQ(bytes.size(), 84u + 50u * count);
    std::map<std::pair<Vertex, Vertex>, int> edges;
    for (std::uint32_t f = 0; f < count; ++f) {
        std::array<Vertex, 3> v{};
        for (int k = 0; k < 3; ++k) std::memcpy(v[k].data(), bytes.data() + 84 + 50 * f + 12 + 12 * k, 12);
        for (int k = 0; k < 3; ++k) {
            auto edge = std::minmax(v[k], v[(k + 1) % 3]);
            ++edges[{edge.first, edge.second}];
        }
    }
    return edges;
}

TEST(JobFlow, ReopenedJobGivesTheSameNcFileAndAClosedSolid) {
    TempFolder folder;
    WizardRig rig;
    ASSERT_TRUE(rig.controller->openPicture(WriteWave(folder, "wave.bmp", 121, 81)));
    rig.walkToCutting(folder / "wave.nc");
    ASSERT_EQ(rig.controller->page(), page::kCutting);
    rig.compute();
    ASSERT_TRUE(rig.controller->lastFailure().empty()) << rig.controller->lastFailure();
    const std::string first = ReadWholeFile(folder / "wave.nc");
    EXPECT_NE(first.find("G1"), std::string::npos);
    EXPECT_EQ(rig.job.program()->text, first);
    rig.controller->nextFromCutting();
    EXPECT_EQ(rig.controller->page(), page::kProgram);
    ASSERT_TRUE(rig.controller->saveDocument(folder / "wave.pxm"));

    // The same job with the tool path on one thread gives the same program
    // (an NC file of the same name in another folder: the program names it).
    WizardRig serial(1);
    std::filesystem::create_directories(folder / "serial");
    ASSERT_TRUE(serial.controller->openPicture(WriteWave(folder, "wave.bmp", 121, 81)));
    serial.walkToCutting(folder / "serial" / "wave.nc");
    serial.compute();
    EXPECT_EQ(ReadWholeFile(folder / "serial" / "wave.nc"), first);

    // A new job, then the document again, computed afresh.
    ASSERT_TRUE(rig.controller->openPicture(WriteWave(folder, "other.bmp", 50, 60)));
    std::filesystem::remove(folder / "wave.nc");
    ASSERT_TRUE(rig.controller->openPicture(folder / "wave.pxm"));
    rig.controller->waitForWork();
    ASSERT_EQ(rig.controller->page(), page::kCutting);
    rig.compute();
    EXPECT_EQ(ReadWholeFile(folder / "wave.nc"), first);

    ASSERT_TRUE(rig.controller->exportStl(folder / "wave.stl", StlShape::Solid));
    const auto edges = StlEdges(ReadWholeFile(folder / "wave.stl"));
    ASSERT_FALSE(edges.empty());
    for (const auto& [edge, uses] : edges) ASSERT_EQ(uses, 2);
}

}  // namespace
}  // namespace calvoro::test

// A job computed through the wizard with a post that writes two decimals: the
// tool path allows for that post's rounding of X and Y, so the program, read
// back at its written precision, never reaches below the relief plus stock.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "engine/nc/NcReader.h"
#include "engine/toolpath/CutterProfile.h"
#include "kernel/platform/AtomicFile.h"
#include "tests/shell/wizard/WizardTestSupport.h"
#include "tests/support/HeightMaps.h"

namespace calvoro::test {
namespace {

// The shipped millimetre post with every axis at two decimals, alone in the
// pst folder of `folder`.
void WriteTwoDecimalPost(const TempFolder& folder) {
    std::string text = ReadWholeFile(ShippedData() / "pst" / "Fanuc_mm.pst");
    for (std::size_t at = text.find("Format=1.3"); at != std::string::npos; at = text.find("Format=1.3", at))
        text.replace(at, 10, "Format=1.2");
    std::filesystem::create_directories(folder / "pst");
    WriteFileAtomically(folder / "pst" / "Fanuc_mm.pst", text);
}

struct Clearance {
    double worst = std::numeric_limits<double>::infinity();
    std::size_t points = 0;
    std::size_t below = 0;
};

// Every feed and plunge end point of the program as written against every
// cell under the cutter there.
Clearance CheckProgram(const std::string& text, const PostSettings& post, const HeightMap& map,
                       const CutterProfile& profile, const ImageInfo& info) {
    Clearance result;
    NcReader reader(post);
    reader.ResetIsoRun("0");
    IsoMove move;
    const double size = info.Scale, radius = profile.outerRadius();
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string_view line = std::string_view(text).substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        start = end + 1;
        if (!reader.ParseIsoLine(line, move) || move.kind != 1) continue;
        double z = 0;
        std::from_chars(reader.isoZText.data(), reader.isoZText.data() + reader.isoZText.size(), z);
        ++result.points;
        double worst = std::numeric_limits<double>::infinity();
        const int x0 = std::max(0, static_cast<int>(std::floor((move.x - info.X0 - radius) / size)));
        const int x1 = std::min(map.width() - 1, static_cast<int>(std::ceil((move.x - info.X0 + radius) / size)));
        const int y0 = std::max(0, static_cast<int>(std::floor((move.y - info.Y0 - radius) / size)));
        const int y1 = std::min(map.height() - 1, static_cast<int>(std::ceil((move.y - info.Y0 + radius) / size)));
        for (int kx = x0; kx <= x1; ++kx)
            for (int ky = y0; ky <= y1; ++ky) {
                const double rho = std::hypot(kx * size + info.X0 - move.x, ky * size + info.Y0 - move.y);
                if (rho > radius) continue;
                worst = std::min(worst, z - (map.at(kx, ky) - profile.height(rho) + profile.stockAllowance()));
            }
        result.worst = std::min(result.worst, worst);
        if (worst < -1e-9) ++result.below;
    }
    return result;
}

TEST(PostRoundingJob, ATwoDecimalPostWritesNoPointBelowTheRelief) {
    TempFolder folder;
    WriteTwoDecimalPost(folder);
    FakeWizardServices fakes;
    WizardSettings settings;
    settings.programFolder = folder.path();
    Job job;
    WizardController controller(job, fakes.services(), settings);
    ASSERT_EQ(controller.post().axis(Axis::X).format.decimals(), 2);

    ASSERT_TRUE(controller.openPicture(WriteWave(folder, "wave.bmp", 1237, 611)));
    controller.widthEdited("100");
    controller.applySize();
    ASSERT_NEAR(controller.placement().info().SizeX, 100.0, 1e-4);
    fakes.ncAnswer = folder / "wave.nc";
    controller.nextFromSize();
    controller.nextFromReference();
    controller.waitForWork();
    controller.applyDepth();
    controller.nextFromDepth();
    controller.nextFromNcFile();
    controller.setTool(MakeCutter(ToolType::Spherical, 3.0));
    controller.nextFromTool();
    CuttingParameters cutting = controller.cutting();
    cutting.stepOver = 0.3;
    cutting.rasterAlongX = true;
    cutting.rasterAlongY = false;
    cutting.filterTolerance = 0.0f;
    controller.setCutting(cutting);
    controller.computeNc();
    controller.waitForWork();
    ASSERT_TRUE(controller.lastFailure().empty()) << controller.lastFailure();
    ASSERT_TRUE(controller.program().has_value());

    const Clearance clearance =
        CheckProgram(controller.program()->text, controller.post(), *controller.relief(),
                     CutterProfile::FromTool(controller.tool(), controller.cutting().stockAllowance),
                     controller.placement().info());
    EXPECT_GT(clearance.points, 10000u);
    EXPECT_EQ(clearance.below, 0u) << "deepest " << -clearance.worst << " below";
    EXPECT_GE(clearance.worst, 0.0);
}

}  // namespace
}  // namespace calvoro::test

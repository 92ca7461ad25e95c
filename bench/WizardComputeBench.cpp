// From Compute on the cutting-parameter page to the program ready (and its NC
// file written): a 2000 x 2000 picture at 0.05 mm per pixel, a 3 mm ball
// cutter and 0.3 mm step over, through the wizard and its worker.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>

#include "engine/picture/BmpCodec.h"
#include "shell/wizard/WizardController.h"

namespace {

using namespace calvoro;

// A window, views, drawing and dialogs that do nothing.
class QuietServices : public WizardWindow, public WizardView3D, public WizardDrawing, public WizardDialogs {
public:
    explicit QuietServices(std::filesystem::path ncFile) : ncFile_(std::move(ncFile)) {}
    void showPage(int, bool) override {}
    void showStatus(int) override {}
    void setEnabled(WizardControl, bool) override {}
    void showSize(const std::string&, const std::string&) override {}
    void showOrigin(const std::string&, const std::string&) override {}
    void showCheckedCorner(int) override {}
    void showShading(ShadingResolution) override {}
    void showHelpPicture(int) override {}
    void showZncCaption(const std::string&) override {}
    void showPostList(const std::vector<std::string>&, const std::string&, const std::string&) override {}
    void showCropSelection(const std::optional<CutInfo>&) override {}
    std::string fieldCaption(CuttingField) override { return "field"; }
    void showDocumentName(const std::filesystem::path&) override {}
    void set3DMode(bool) override {}
    void redrawSurface(const ZncFilter&) override {}
    void autozoom() override {}
    void hideCutter() override {}
    void showCutter(bool) override {}
    bool hasObjects() override { return false; }
    void moveAll(double, double) override {}
    void placePicture(const Picture&, const ImageInfo&) override {}
    bool hasObject(int) override { return false; }
    void deleteObject(int) override {}
    void setObjectSnap(bool) override {}
    void cancelTask() override {}
    void startRectanglePick() override {}
    void startPointPick(int) override {}
    void exportDxf(const std::filesystem::path&) override {}
    std::optional<std::filesystem::path> askNcFileName() override { return ncFile_; }
    bool confirmDiscard() override { return true; }
    void showMessage(const std::string& text) override { throw std::runtime_error(text); }

private:
    std::filesystem::path ncFile_;
};

void BM_ComputeFromCuttingPage(benchmark::State& state) {
    const auto folder = std::filesystem::temp_directory_path() / "calvoro_wizard_bench";
    std::filesystem::create_directories(folder);
    const int side = static_cast<int>(state.range(0));
    Picture picture;
    picture.allocate(side, side, PixelFormat::Grey8);
    picture.dpiX = picture.dpiY = 508;  // 0.05 mm per pixel
    for (int r = 0; r < side; ++r)
        for (int c = 0; c < side; ++c)
            picture.row(r)[c] = static_cast<std::uint8_t>(127.5 + 127 * std::sin(c * 0.01) * std::cos(r * 0.013));
    SaveBmpFile(folder / "bench.bmp", picture);

    QuietServices services(folder / "bench.nc");
    WizardSettings settings;
    settings.programFolder = std::filesystem::path(CALVORO_BENCH_DATA);
    Job job;
    WizardController wizard(job, {services, services, services, services}, settings);
    wizard.openPicture(folder / "bench.bmp");
    wizard.nextFromSize();
    wizard.nextFromReference();
    wizard.waitForWork();
    wizard.applyDepth();
    wizard.nextFromDepth();
    wizard.nextFromNcFile();
    ToolRecord ball;
    ball.toolType = ToolType::Spherical;
    ball.diameter = 3;
    wizard.setTool(ball);
    wizard.nextFromTool();
    CuttingParameters values = wizard.cutting();
    values.stepOver = 0.3;
    std::size_t bytes = 0;
    for (auto _ : state) {
        values.feedPlaneZ = values.feedPlaneZ == 2.0 ? 2.5 : 2.0;  // a change, so the program is outdated
        wizard.setCutting(values);
        wizard.computeNc();
        wizard.waitForWork();
        bytes = wizard.program()->text.size();
    }
    state.counters["program_MB"] = static_cast<double>(bytes) / 1e6;
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ComputeFromCuttingPage)->Arg(2000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

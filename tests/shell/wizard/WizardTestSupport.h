// Fakes around the wizard, generated pictures and a controller with the fakes
// around it, for the wizard tests.
#pragma once

#include <cmath>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/picture/BmpCodec.h"
#include "kernel/platform/AtomicFile.h"
#include "shell/wizard/WizardController.h"
#include "tests/support/SourceTree.h"
#include "tests/support/TempFolder.h"

namespace calvoro::test {

// Fakes of the window, 3D view, drawing and dialogs around the wizard: they
// record what the controller asked for.
class FakeWizardServices : public WizardWindow, public WizardView3D, public WizardDrawing, public WizardDialogs {
public:
    WizardServices services() { return {*this, *this, *this, *this}; }

    // WizardWindow
    void showPage(int, bool) override {}
    void showStatus(int) override {}
    void setEnabled(WizardControl control, bool on) override { enabledControls[control] = on; }
    void showSize(const std::string& width, const std::string& height) override { sizeTexts = {width, height}; }
    void showOrigin(const std::string&, const std::string&) override {}
    void showCheckedCorner(int corner) override { checkedCorner = corner; }
    void showShading(ShadingResolution) override {}
    void showHelpPicture(int) override {}
    void showZncCaption(const std::string& caption) override { zncCaption = caption; }
    void showPostList(const std::vector<std::string>&, const std::string&, const std::string&) override {}
    void showCropSelection(const std::optional<CutInfo>& cut) override { cropShown = cut.has_value(); }
    std::string fieldCaption(CuttingField field) override { return "field " + std::to_string(int(field)); }
    void showDocumentName(const std::filesystem::path&) override {}

    // WizardView3D
    void set3DMode(bool on) override { view3D = on; }
    void redrawSurface(const ZncFilter& filter) override { lastFilter = filter; }
    void autozoom() override {}
    void hideCutter() override {}
    void showCutter(bool shown) override { cutterShown = shown; }

    // WizardDrawing
    bool hasObjects() override { return !objects.empty(); }
    void moveAll(double, double) override {}
    void placePicture(const Picture&, const ImageInfo&) override { objects = {1}; }
    bool hasObject(int id) override { return objects.count(id) != 0; }
    void deleteObject(int id) override {
        // As the drawing does: a missing object is an error.
        if (objects.erase(id) == 0) throw std::runtime_error("No object found");
    }
    void setObjectSnap(bool) override {}
    void cancelTask() override {}
    void startRectanglePick() override {}
    void startPointPick(int id) override { objects.insert(id); }
    void exportDxf(const std::filesystem::path& fileName) override { WriteFileAtomically(fileName, "0\r\nEOF\r\n"); }

    // WizardDialogs
    std::optional<std::filesystem::path> askNcFileName() override {
        ++ncDialogs;
        return ncAnswer;
    }
    bool confirmDiscard() override { return discardAnswer; }
    void showMessage(const std::string& text) override { messages.push_back(text); }

    bool isEnabled(WizardControl control) const {
        const auto it = enabledControls.find(control);
        return it != enabledControls.end() && it->second;
    }

    std::map<WizardControl, bool> enabledControls;
    std::vector<std::string> sizeTexts;
    int checkedCorner = -1;
    std::string zncCaption;
    bool view3D = false;
    ZncFilter lastFilter;
    bool cropShown = false;
    bool cutterShown = false;
    std::set<int> objects;
    int ncDialogs = 0;
    std::optional<std::filesystem::path> ncAnswer;
    bool discardAnswer = true;
    std::vector<std::string> messages;
};


// A grey wave that is not symmetric in either direction, so flips and turns
// change the relief.
inline Picture WavePicture(int width, int height, int dpi) {
    Picture picture;
    picture.allocate(width, height, PixelFormat::Grey8);
    picture.dpiX = picture.dpiY = dpi;
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < width; ++c)
            picture.row(r)[c] = static_cast<std::uint8_t>(
                127.5 + 100 * std::sin(c * 0.11 + r * 0.03) * std::cos(r * 0.07) + (c * 30) / width);
    return picture;
}

inline std::filesystem::path WriteWave(const TempFolder& folder, const std::string& name, int width, int height,
                                       int dpi = 254) {
    const auto file = folder / name;
    SaveBmpFile(file, WavePicture(width, height, dpi));
    return file;
}

struct WizardRig {
    explicit WizardRig(unsigned threads = 0) {
        WizardSettings settings;
        settings.programFolder = ShippedData();
        settings.threads = threads;
        controller = std::make_unique<WizardController>(job, fakes.services(), settings);
    }
    // Pages 44 to 49 with the values as they stand; the NC file dialog answers ncFile.
    void walkToCutting(const std::filesystem::path& ncFile) {
        fakes.ncAnswer = ncFile;
        controller->nextFromSize();
        controller->nextFromReference();
        controller->waitForWork();
        controller->applyDepth();
        controller->nextFromDepth();
        controller->nextFromNcFile();
        controller->nextFromTool();
    }
    void compute() {
        controller->computeNc();
        controller->waitForWork();
    }

    FakeWizardServices fakes;
    Job job;
    std::unique_ptr<WizardController> controller;
};

}  // namespace calvoro::test

// Fakes of the window, 3D view, drawing, NC page and dialogs around the
// wizard: they record what the controller asked for.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "kernel/platform/AtomicFile.h"
#include "shell/wizard/WizardController.h"

namespace calvoro::test {

class FakeWizardServices : public WizardWindow,
                           public WizardView3D,
                           public WizardDrawing,
                           public NcPageService,
                           public WizardDialogs {
public:
    WizardServices services() { return {*this, *this, *this, *this, *this}; }

    // WizardWindow
    void showPage(int, bool) override {}
    void showStatus(int) override {}
    void setEnabled(WizardControl control, bool on) override { enabledControls[control] = on; }
    void showSize(const std::string& width, const std::string& height) override { sizeTexts = {width, height}; }
    void showOrigin(const std::string& x, const std::string& y) override { originTexts = {x, y}; }
    void showCheckedCorner(int corner) override { checkedCorner = corner; }
    void showShading(ShadingResolution) override {}
    void showHelpPicture(int) override {}
    void showZncCaption(const std::string& caption) override { zncCaption = caption; }
    void showPostList(const std::vector<std::string>&, const std::string&, const std::string&) override {}
    void showNcFileName(const std::filesystem::path&) override {}
    void showDocumentName(const std::filesystem::path&) override {}

    // WizardView3D
    void set3DMode(bool on) override { view3D = on; }
    void setRelief(const HeightMap&, const ReliefValues&) override {}
    void redrawSurface(const ZncFilter& filter) override { lastFilter = filter; }
    void setWorkBox(const ImageInfo&, const ReliefValues&) override {}
    void autozoom() override {}
    void setToolPath(const std::vector<NcPathNode>& nodes) override { pathNodes = nodes.size(); }
    void hideCutter() override {}

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

    // NcPageService
    void showProgram(const NcProgram& program) override { shownProgram = program.text; }

    // WizardDialogs
    std::optional<std::filesystem::path> askNcFileName(const std::filesystem::path&) override {
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
    std::vector<std::string> originTexts;
    int checkedCorner = -1;
    std::string zncCaption;
    bool view3D = false;
    ZncFilter lastFilter;
    std::size_t pathNodes = 0;
    std::set<int> objects;
    std::string shownProgram;
    int ncDialogs = 0;
    std::optional<std::filesystem::path> ncAnswer;
    bool discardAnswer = true;
    std::vector<std::string> messages;
};

}  // namespace calvoro::test

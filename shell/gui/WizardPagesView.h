// How the wizard's pages show what the controller decides: the page and its
// status text, the buttons on or off, the size and origin edits (an edit
// being typed in keeps its text), the corner, the shading, the help picture,
// the Z no-cut caption, the post list, the crop's read-outs and the caption.
// The NC file's label follows the job.
#pragma once

#include <functional>

#include "shell/wizard/Job.h"
#include "shell/wizard/WizardServices.h"

class QLineEdit;

namespace calvoro {

class CuttingStepPage;
class MainLifeCycle;
class NcPageWiring;
class View3D;
struct MainState;
struct MainWindowUi;
struct WizardPagesUi;

class WizardPagesView : public WizardWindow, private JobObserver {
public:
    WizardPagesView(MainWindowUi& ui, const WizardPagesUi& pages, MainState& state, MainLifeCycle& life,
                    NcPageWiring& ncPages, View3D& view3d, CuttingStepPage& cuttingPage, Job& job);
    ~WizardPagesView() override;
    WizardPagesView(const WizardPagesView&) = delete;
    WizardPagesView& operator=(const WizardPagesView&) = delete;

    // The edit the user is typing in while its change is handled; null after.
    void SetTyping(const QLineEdit* edit) { typing_ = edit; }
    // Called whenever a page is shown by the wizard.
    void OnPageShown(std::function<void()> handler) { onPageShown_ = std::move(handler); }
    // The NC file's name shortened anew to its label's width.
    void ShortenNcFileName();

    void showPage(int page, bool withStatus) override;
    void showStatus(int pageMessage) override;
    void setEnabled(WizardControl control, bool enabled) override;
    void showSize(const std::string& width, const std::string& height) override;
    void showOrigin(const std::string& x, const std::string& y) override;
    void showCheckedCorner(int corner) override;
    void showShading(ShadingResolution resolution) override;
    void showHelpPicture(int resource) override;
    void showZncCaption(const std::string& caption) override;
    void showPostList(const std::vector<std::string>& names, const std::string& current,
                      const std::string& comment) override;
    void showCropSelection(const std::optional<CutInfo>& cut) override;
    std::string fieldCaption(CuttingField field) override;
    void showDocumentName(const std::filesystem::path& file) override;

private:
    void jobChanged(const Job& job, JobChanges changes) override;

    MainWindowUi& ui_;
    const WizardPagesUi& pages_;
    MainState& state_;
    MainLifeCycle& life_;
    NcPageWiring& ncPages_;
    View3D& view3d_;
    CuttingStepPage& cuttingPage_;
    Job& job_;
    const QLineEdit* typing_ = nullptr;
    std::function<void()> onPageShown_;
};

}  // namespace calvoro

// Gives the main window its NC page, the tool form and the layer page: puts
// them on their pages, lets the NC page draw in the window's views, and keeps
// the job state (NC file, outdated flags, tool index) in step with them. The
// wizard's buttons for the NC file, the post-processor and the cutter call the
// handlers here.
#pragma once

#include <QObject>
#include <QString>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/gui/NcSimulationViews.h"
#include "engine/nc/NcProgram.h"
#include "engine/post/PostSettings.h"
#include "shell/app/PageSwitcher.h"

namespace calvoro {

class DialogServices;
class LayerPanel;
class MainLifeCycle;
class NcPage;
class NcPageController;
class TQVCmp2D;
class ToolDialog;
class View3D;
struct MainState;
struct MainWindowUi;
struct ToolTableLabels;

// Page indexes of the work panel.

// Tool.db lies beside the settings file: beside the program, or in the user's
// folder when the settings are kept there.
std::filesystem::path ToolLibraryPath(const std::filesystem::path& settingsFile);

// The NC page's view of the window: the 3D view, and the overlay of the
// drawing's 2D views, where the moves read are drawn over the drawing and the
// cutter's place is marked.
class WindowSimulationViews : public NcSimulationViews {
public:
    WindowSimulationViews(MainWindowUi& ui, MainState& state, MainLifeCycle& life, View3D& view3d, TQVCmp2D& cad);

    bool is3DShown() const override;
    void show3D() override;
    void clearPath() override;
    void appendPath(std::span<const SimNode> nodes) override;
    void moveCutter(float x, float y, float z) override;
    void parkCutter(float feedPlaneZ) override;
    void showMachiningTime(const QString& text) override;
    void clearOverlay() override;
    void addOverlayLine(SimPoint from, SimPoint to, std::uint32_t colour) override;
    void addOverlayArc(SimPoint centre, double radius, double from, double to, std::uint32_t colour) override;
    void addOverlayPoint(SimPoint at, std::uint32_t colour) override;
    void overlayChanged() override;

private:
    template <class F>
    void EachView(F f);

    MainWindowUi& ui_;
    MainState& state_;
    MainLifeCycle& life_;
    View3D& view3d_;
    TQVCmp2D& cad_;
};

class NcPageWiring : public QObject {
    Q_OBJECT
public:
    // ncDialogs: the NC page's save dialog and messages; null for the real ones.
    NcPageWiring(MainWindowUi& ui, MainState& state, MainLifeCycle& life, View3D& view3d, DialogServices& dialogs,
                 TQVCmp2D& cad, NcPageDialogs* ncDialogs = nullptr);
    ~NcPageWiring() override;

    NcPage& Page() { return *page_; }
    NcPageController& Controller() { return *controller_; }
    LayerPanel& Layers() { return *layers_; }
    // Made at the first use, over the Tool.db that the settings file decides.
    ToolDialog& Tools();

    // Shows the NC page with the job's NC file, post-processor and feed plane.
    void EnterNcPage();
    // The NC page made ready for the wizard's program: its post-processor,
    // NC file, units and feed plane, its labels and buttons.
    void PrepareNcPage(const PostSettings& post, const std::filesystem::path& ncFile);
    // The NC file dialog, proposing the picture's name in the NC folder;
    // nothing when cancelled. A name without extension gets the definition's.
    std::optional<std::filesystem::path> AskNcFileName(const std::filesystem::path& pictureFile,
                                                       const std::string& extension);
    // A computed program (already written to its NC file) into the editor,
    // its machining time under the 3D view; and its moves as the 3D path.
    void ShowComputedProgram(const NcProgram& program, const PostSettings& post, const std::filesystem::path& ncFile);
    void ShowToolPath(const std::vector<NcPathNode>& nodes);
    // The tool form, compact when editOnly; on Ok the tool table is filled
    // when labels are given. Returns whether it was closed with Ok.
    bool EditTools(bool editOnly, const ToolTableLabels* labels);
    // The NC page and the tool form in the language in use.
    void Translate();
    // The 3D cutter made from the tool form's fields, shown as the menu says.
    void BuildCutter();

signals:
    // The NC page saved its program under another name.
    void ncFileChosen(const QString& fileName);
    // The tool form's fields changed while it was open.
    void toolChanged();

private:
    void SimulationRunning(bool running);
    void NcFileSaved(const QString& fileName);
    void ClosePages();

    MainWindowUi& ui_;
    MainState& state_;
    MainLifeCycle& life_;
    DialogServices& dialogs_;
    View3D& view3d_;
    std::unique_ptr<NcPageDialogs> ownNcDialogs_;
    NcPageDialogs* ncDialogs_;
    WindowSimulationViews views_;
    NcPage* page_ = nullptr;
    NcPageController* controller_ = nullptr;
    LayerPanel* layers_ = nullptr;
    ToolDialog* tools_ = nullptr;
    std::filesystem::path ncFileName_;
};

}  // namespace calvoro

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

#include "engine/gui/NcSimulationViews.h"

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
inline constexpr int kPageLayer = 7;
inline constexpr int kPageIso = 50;

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
    // A post-processor picked in the list; returns the comment to show.
    QString PostChanged(const QString& postName);
    // Asks for the NC file; false when cancelled.
    bool ChooseNcFile();
    // The tool form, compact when editOnly; on Ok the tool table is filled
    // when labels are given. Returns whether it was closed with Ok.
    bool EditTools(bool editOnly, const ToolTableLabels* labels);
    // The NC page and the tool form in the language in use.
    void Translate();

signals:
    void ncFileChosen(const QString& fileName);

private:
    void SimulationRunning(bool running);
    void NcFileSaved(const QString& fileName);
    void ClosePages();

    MainWindowUi& ui_;
    MainState& state_;
    MainLifeCycle& life_;
    DialogServices& dialogs_;
    std::unique_ptr<NcPageDialogs> ownNcDialogs_;
    NcPageDialogs* ncDialogs_;
    WindowSimulationViews views_;
    NcPage* page_ = nullptr;
    NcPageController* controller_ = nullptr;
    LayerPanel* layers_ = nullptr;
    ToolDialog* tools_ = nullptr;
};

}  // namespace calvoro

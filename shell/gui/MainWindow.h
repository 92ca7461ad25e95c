// The main window: the widgets (MainWindowUi), the drawing and the job state,
// and the controllers that give them life. The window itself only builds and
// wires; what happens on a click lives in the controllers.
#pragma once

#include <QMainWindow>
#include <filesystem>
#include <memory>

#include "shell/app/MainState.h"
#include "shell/gui/MainWindowUi.h"
#include "shell/gui/View3D.h"

namespace calvoro {

class CommandPanels;
class DialogServices;
class EntityTreeView;
class MainLifeCycle;
class NcPageDialogs;
class NcPageWiring;
class SettingsController;
class TQVCmp2D;
class View2DHost;
class ViewHandlers;
class WizardWiring;

struct MainWindowOptions {
    // Questions, file dialogs and the desktop; null for the real ones.
    DialogServices* dialogs = nullptr;
    // The 3D view; empty for the program's own.
    View3DFactory make3D;
    // The settings file; empty for the one of this installation (see
    // DefaultSettingsFile).
    std::filesystem::path settingsFile;
    // The NC page's save dialog and messages; null for the real ones.
    NcPageDialogs* ncDialogs = nullptr;
};

// Beside the program when its folder can be written, otherwise in the user's
// configuration folder, first copied there from the file shipped beside the
// program.
std::filesystem::path DefaultSettingsFile();

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(MainWindowOptions options = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Makes the window and loads the block library beside the program; Start()
    // then reads the settings, the language and the post-processor.
    void Start();

    // The drawing the picture and the CAD commands work on, for the whole run.
    TQVCmp2D& LocalCad() { return *localCad_; }
    MainState& State() { return state_; }
    const MainWindowUi& Ui() const { return ui_; }
    MainLifeCycle& LifeCycle() { return *life_; }
    SettingsController& Settings() { return *settings_; }
    View3D& View3DPane() { return *view3d_; }
    NcPageWiring& NcPages() { return *ncPages_; }
    View2DHost& View2D() { return *view2d_; }
    ViewHandlers& ViewCommands() { return *viewHandlers_; }
    CommandPanels& Commands() { return *commands_; }
    WizardWiring& Wizard() { return *wizard_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    MainWindowUi ui_;
    MainState state_;
    std::unique_ptr<TQVCmp2D> localCad_;
    std::unique_ptr<DialogServices> ownDialogs_;
    std::unique_ptr<View3D> view3d_;
    MainLifeCycle* life_ = nullptr;
    SettingsController* settings_ = nullptr;
    NcPageWiring* ncPages_ = nullptr;
    View2DHost* view2d_ = nullptr;
    WizardWiring* wizard_ = nullptr;
    std::unique_ptr<ViewHandlers> viewHandlers_;
    // Let go first: it detaches its tree from the drawing.
    std::unique_ptr<EntityTreeView> entityTree_;
    CommandPanels* commands_ = nullptr;
};

}  // namespace calvoro

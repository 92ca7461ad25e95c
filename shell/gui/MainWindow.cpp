#include "shell/gui/MainWindow.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLayout>
#include <QStandardPaths>
#include <QToolButton>
#include <QTreeWidget>
#include <unistd.h>

#include "kernel/drawing/QVCmp2D.h"
#include "kernel/program/TQVPrg2D.h"
#include "shell/app/AppInfo.h"
#include "shell/app/Settings.h"
#include "shell/gui/Application.h"
#include "shell/gui/CommandActions.h"
#include "shell/gui/CommandPanels.h"
#include "shell/gui/DialogServices.h"
#include "shell/gui/EntityTreeView.h"
#include "shell/gui/MainLifeCycle.h"
#include "shell/gui/NcPageWiring.h"
#include "shell/gui/PictureSlot.h"
#include "shell/gui/PreviewView3D.h"
#include "shell/gui/SettingsController.h"
#include "shell/gui/View2DHost.h"
#include "shell/gui/ViewHandlers.h"
#include "shell/gui/WizardWiring.h"

namespace calvoro {

std::filesystem::path DefaultSettingsFile() {
    const std::filesystem::path program = ProgramFolder();
    const bool writable = ::access(program.c_str(), W_OK) == 0;
    const std::filesystem::path user =
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation).toStdString();
    const std::filesystem::path file = SettingsFilePath(program, user, writable);
    if (!writable) {
        // The folder is made now, so the first confirmed close can write even
        // when no settings file was shipped to copy.
        std::error_code ignored;
        std::filesystem::create_directories(user, ignored);
        RunGuarded([&] { SeedSettingsFile(file, program / kSettingsFileName); });
    }
    return file;
}

MainWindow::MainWindow(MainWindowOptions options, QWidget* parent)
    : QMainWindow(parent), localCad_(std::make_unique<TQVCmp2D>()) {
    BuildMainWindowUi(this, ui_);
    state_.settingsFile = options.settingsFile;
    DialogServices* dialogs = options.dialogs;
    if (!dialogs) {
        ownDialogs_ = std::make_unique<QtDialogServices>();
        dialogs = ownDialogs_.get();
    }
    view3d_ = options.make3D ? options.make3D(ui_.pnlVista3D) : MakeProgramView3D(ui_.pnlVista3D);
    ui_.pnlVista3D->layout()->addWidget(view3d_->widget());

    // The drawing's 2D view fills its slot; the cursor read-out goes to the status panel.
    viewHandlers_ = std::make_unique<ViewHandlers>(ui_, state_);
    view2d_ = new View2DHost(*localCad_, ui_.pnlVistaGrafica,
                             [this](const TPoint2D& point) { viewHandlers_->CursorMoved(point); });

    life_ = new MainLifeCycle(ui_, state_, *localCad_, *dialogs, *view3d_);
    settings_ = new SettingsController(ui_, state_, *localCad_, *view3d_, *life_, *dialogs);
    life_->setSettingsController(settings_);
    settings_->SetView2D(view2d_);
    ncPages_ = new NcPageWiring(ui_, state_, *life_, *view3d_, *dialogs, *localCad_, options.ncDialogs);
    wizard_ = new WizardWiring(ui_, state_, *life_, *localCad_, *view2d_, *view3d_, *ncPages_, *dialogs);
    viewHandlers_->Attach(*view2d_, *view3d_, *life_, *localCad_, *dialogs, *settings_);
    // The end of the Z no-cut pick, or Esc during it, goes to the wizard.
    viewHandlers_->SetZncPickHooks([this](double x, double y) { wizard_->ZncPicked(x, y); },
                                   [this] { wizard_->ZncPickCancelled(); });
    viewHandlers_->SetCommandLeftHook([this] { wizard_->CommandLeft(); });
    viewHandlers_->SetCancelWorkHook([this] {
        if (wizard_->Working()) wizard_->CancelButton()->click();
    });
    // The entity tree stands under the layers on the layer page.
    ui_.pages[page::kLayer]->layout()->addWidget(ui_.TreeGeo);
    entityTree_ = std::make_unique<EntityTreeView>(ui_.TreeGeo, *localCad_);
    commands_ = new CommandPanels(ui_, state_, *localCad_, *view2d_, *life_, *settings_, *viewHandlers_);
    // What the drawing's loaders skip (a block whose source is missing, an
    // unknown class) is shown like any other error.
    localCad_->SetMessageHandler(
        [](const std::string& message) { Application::reportError(QString::fromStdString(message)); });
    life_->LoadBlockLibrary();
    // After the wizard has let the job go.
    connect(life_, &MainLifeCycle::jobDiscarded, this, [this] { life_->Actions().Refresh(); });
    life_->Actions().LeaveButtonsToTheirActions();
}

MainWindow::~MainWindow() = default;

void MainWindow::Start() {
    if (state_.settingsFile.empty()) state_.settingsFile = DefaultSettingsFile();
    life_->Start();
    wizard_->Start();
    life_->Actions().SetAvailability(Lockable::Save,
                                     [this] { return wizard_->Controller().enabled(WizardControl::Save); });
    ncPages_->Translate();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (life_->ConfirmClose())
        event->accept();
    else
        event->ignore();
}

}  // namespace calvoro

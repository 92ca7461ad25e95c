// The job wizard in the main window: holds the Job and the WizardController,
// and gives the wizard's steps (shell/gui/steps, one class a page, each with
// its controls and its handlers) what they share: the road of a user's action
// to the controller, and the window, the 2D drawing and the 3D view through
// which the controller's decisions show. The 3D view and the NC page follow
// the Job by themselves.
// The open and save commands of the tool bar and the File menu come here too,
// so a button, a menu item and a test all take the same road. While the
// controller's worker computes a relief or a program, a timer polls it, the
// progress bar moves and Cancel stops it; the window stays answerable.
#pragma once

#include <QObject>
#include <QString>
#include <filesystem>
#include <memory>
#include <vector>

#include "shell/gui/JobView3D.h"
#include "shell/gui/WizardDrawingHost.h"
#include "shell/gui/WizardPagesUi.h"
#include "shell/gui/steps/StepPage.h"
#include "shell/wizard/Job.h"
#include "shell/wizard/WizardController.h"
#include "shell/wizard/WizardServices.h"

class QLineEdit;
class QTimer;
class QToolButton;

namespace calvoro {

class WizardPagesView;
class DialogServices;
class MainLifeCycle;
class NcPageWiring;
class TQVCmp2D;
class View2DHost;
class View3D;
struct MainState;
struct MainWindowUi;

class WizardWiring : public QObject, private StepHost, private WizardView3D, private WizardDialogs {
    Q_OBJECT
public:
    WizardWiring(MainWindowUi& ui, MainState& state, MainLifeCycle& life, TQVCmp2D& cad, View2DHost& view2d,
                 View3D& view3d, NcPageWiring& ncPages, DialogServices& dialogs);
    ~WizardWiring() override;

    // Once the settings are read: the controller with the units and the
    // post-processor they name, and the cutter of the tool library.
    void Start();

    WizardController& Controller() { return *controller_; }
    const Job& CurrentJob() const { return job_; }
    const WizardPagesUi& Pages() const { return pages_; }
    QToolButton* CancelButton() const { return cancel_; }

    // The open command: the open dialog, then LoadPicture.
    void OpenPicture();
    // Opens a picture or job file with the hourglass; false when nothing was
    // opened (the user kept the drawing, or the file could not be read).
    bool LoadPicture(const std::filesystem::path& fileName);
    // The save command: the save dialog with the three kinds (job, relief as
    // STL, drawing as DXF), then the wizard's save.
    void Save();

    // The crop's rectangle in the 2D view, by its two corners in the drawing:
    // its size shows as the second corner moves, and the rectangle counts
    // once that corner is picked (complete).
    void CropRectanglePicked(double x1, double y1, double x2, double y2, bool complete = true);
    // "Select Pt." on the reference page makes the next left click in the 2D
    // view the work origin; the reference step watches for that click.
    bool PickingOrigin() const;
    void OriginPicked(double x, double y);
    // The end of the Z no-cut point pick in the 2D view, and Esc during it.
    void ZncPicked(double x, double y);
    void ZncPickCancelled();
    // A drawing command left with Esc or Cancel: when its pages took the job's
    // steps away, the step the job stands on shows again.
    void CommandLeft();

    // A relief or program is being computed (the timer polls it).
    bool Working() const override;

private:
    // StepHost.
    MainWindowUi& Ui() override { return ui_; }
    WizardPagesUi& Widgets() override { return pages_; }
    void Forward(const std::function<void(WizardController&)>& action) override;
    WizardController* Wizard() override { return controller_.get(); }
    WizardPagesView& PagesView() override { return *pagesView_; }
    View2DHost& View2D() override { return view2d_; }
    View3D& View3d() override { return view3d_; }
    NcPageWiring& NcPages() override { return ncPages_; }

    // WizardView3D.
    void set3DMode(bool on) override;
    void redrawSurface(const ZncFilter& filter) override;
    void autozoom() override;
    void hideCutter() override;
    void showCutter(bool shown) override;
    // WizardDialogs.
    std::optional<std::filesystem::path> askNcFileName() override;
    bool confirmDiscard() override;
    void showMessage(const std::string& text) override;

    void Connect();
    // The step of that kind in the list.
    template <class Step>
    Step& StepOf() const;
    void AfterAction();
    void BeginWork();
    void PollWork();
    void EndWork();
    void TakeEditedValues();

    MainWindowUi& ui_;
    MainState& state_;
    MainLifeCycle& life_;
    View2DHost& view2d_;
    View3D& view3d_;
    NcPageWiring& ncPages_;
    DialogServices& dialogs_;
    WizardPagesUi pages_;
    Job job_;
    JobView3D jobView_;
    WizardDrawingHost drawing_;
    std::vector<std::unique_ptr<StepPage>> steps_;
    std::unique_ptr<WizardPagesView> pagesView_;
    std::unique_ptr<WizardController> controller_;
    QTimer* poll_ = nullptr;
    QToolButton* cancel_ = nullptr;
};

}  // namespace calvoro

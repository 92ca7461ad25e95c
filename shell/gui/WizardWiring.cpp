#include "shell/gui/WizardWiring.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QToolBar>
#include <QComboBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <array>
#include <cmath>
#include <stdexcept>

#include "engine/document/SaveName.h"
#include "engine/gui/NcPageController.h"
#include "engine/nc/NcFileChoice.h"
#include "engine/picture/PictureFile.h"
#include "kernel/drawing/QVCmp2D.h"
#include "kernel/entities/TObject2D.h"
#include "kernel/program/TCADPrg.h"
#include "kernel/program/TQVPrg2D.h"
#include "shell/app/AppInfo.h"
#include "shell/app/MainState.h"
#include "shell/app/WorkBox.h"
#include "shell/gui/Application.h"
#include "shell/gui/WizardPagesView.h"
#include "shell/gui/DialogServices.h"
#include "shell/gui/MainLifeCycle.h"
#include "shell/gui/MainWindowUi.h"
#include "shell/gui/NcPageWiring.h"
#include "shell/gui/StlOutputDialog.h"
#include "shell/gui/View2DHost.h"
#include "shell/gui/View3D.h"
#include "shell/gui/steps/CuttingStepPage.h"
#include "shell/gui/steps/ReferenceStepPage.h"
#include "shell/gui/steps/StepPages.h"
#include "shell/lang/MessageTable.h"
#include "shell/lang/UnitLang.h"
#include "shell/wizard/NumberText.h"

namespace calvoro {

namespace {

QString Lang(const char* number) {
    return QString::fromStdString(LangString(number));
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

constexpr int kPollMilliseconds = 30;

std::optional<double> Number(const QLineEdit* edit) {
    return ParseEditNumber(edit->text().toStdString());
}

}  // namespace

WizardWiring::WizardWiring(MainWindowUi& ui, MainState& state, MainLifeCycle& life, TQVCmp2D& cad,
                           View2DHost& view2d, View3D& view3d, NcPageWiring& ncPages, DialogServices& dialogs)
    : QObject(ui.form),
      ui_(ui),
      state_(state),
      life_(life),
      view2d_(view2d),
      view3d_(view3d),
      ncPages_(ncPages),
      dialogs_(dialogs),
      jobView_(job_, view3d, state),
      drawing_(cad, view2d, life, state, job_) {
    // Each step lays its page out; the NC program page already holds the NC page.
    steps_ = MakeStepPages(*this);
    for (const auto& step : steps_) step->Build();
    state.job = &job_;
    ncPages.FollowJob(job_);
    poll_ = new QTimer(this);
    poll_->setInterval(kPollMilliseconds);
    connect(poll_, &QTimer::timeout, this, &WizardWiring::PollWork);
    cancel_ = new QToolButton(ui.form);
    cancel_->setObjectName("btnCancelWork");
    cancel_->setText("Cancel");
    cancel_->hide();
    ui.form->statusBar()->addPermanentWidget(cancel_);
    connect(cancel_, &QToolButton::clicked, this, [this] {
        if (controller_) controller_->cancelWork();
    });
    Connect();
    // The crop's rectangle task keeps running for another rectangle; each
    // second corner is a rectangle picked, and its size shows as it moves.
    view2d.SetCutRectangleHandler([this](const TPoint2D& corner1, const TPoint2D& corner2, bool complete) {
        if (drawing_.PickingRectangle() && corner1 != corner2)
            CropRectanglePicked(corner1.X, corner1.Y, corner2.X, corner2.Y, complete);
    });
    view2d.SetCutRestartHandler([this] {
        if (drawing_.PickingRectangle()) Forward([](WizardController& wizard) { wizard.rectangleRestarted(); });
    });
}

// The controller's worker cancels and waits for a computation still running;
// its result is never handed over to a window that is going.
WizardWiring::~WizardWiring() {
    if (Working()) QApplication::restoreOverrideCursor();
    if (state_.job == &job_) state_.job = nullptr;
}

void WizardWiring::Start() {
    WizardSettings settings;
    settings.programFolder = ProgramFolder();
    settings.inches = state_.settings.Unit != 0;
    settings.postName = state_.settings.Pst;
    controller_ =
        std::make_unique<WizardController>(job_, WizardServices{*pagesView_, *this, drawing_, *this}, std::move(settings));
    for (const auto& step : steps_) step->Start();
    AfterAction();
}

bool WizardWiring::Working() const {
    return poll_->isActive();
}

// --- user actions ----------------------------------------------------------

void WizardWiring::Forward(const std::function<void(WizardController&)>& action) {
    if (!controller_ || Working()) return;
    RunGuarded([&] { action(*controller_); });
    AfterAction();
}

void WizardWiring::AfterAction() {
    state_.ActiveCommand = controller_->commandMode() == kZncPickMode ? kZncPickMode : state_.ActiveCommand;
    if (controller_->working() && !Working()) BeginWork();
}

void WizardWiring::BeginWork() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ui_.ProgressBar1->setRange(0, 100);
    ui_.ProgressBar1->setValue(0);
    ui_.ProgressBar1->show();
    cancel_->show();
    cancel_->setEnabled(true);
    life_.SetLock(LockReason::Computing, true);
    poll_->start();
}

void WizardWiring::PollWork() {
    // A step that tells no progress (the relief build) shows the bar busy.
    const double progress = controller_->workProgress();
    if (progress > 0.0) {
        ui_.ProgressBar1->setRange(0, 100);
        ui_.ProgressBar1->setValue(static_cast<int>(progress * 100.0));
    } else {
        ui_.ProgressBar1->setRange(0, 0);
    }
    bool done = false;
    RunGuarded([&] { done = controller_->pollWork(); });
    if (done) EndWork();
}

void WizardWiring::EndWork() {
    poll_->stop();
    ui_.ProgressBar1->hide();
    cancel_->hide();
    life_.SetLock(LockReason::Computing, false);
    QApplication::restoreOverrideCursor();
}

// The depth and cutting edits as the settings filled them, before an open
// places the picture and sets its work box with them.
void WizardWiring::TakeEditedValues() {
    const float white = Number(ui_.txtWhiteD).value_or(controller_->reliefValues().WhiteZ);
    const float black = Number(ui_.txtBlackD).value_or(controller_->reliefValues().BlackZ);
    // A value that cannot be used yet keeps the one in force.
    controller_->setJobValues(white, black,
                              ReadCuttingTexts(StepOf<CuttingStepPage>().Read(), controller_->cutting()).values);
}

void WizardWiring::OpenPicture() {
    if (!controller_ || Working()) return;
    std::filesystem::path start = ProgramFolder() / "sample";
    const std::filesystem::path remembered(state_.settings.FOpen);
    std::error_code error;
    // A remembered picture whose folder is gone (another computer) opens in the samples.
    if (!state_.settings.FOpen.empty() && std::filesystem::is_directory(remembered.parent_path(), error))
        start = remembered;
    const QString file = dialogs_.openFile(ui_.form, Lang("400"), Text(start.string()), Lang("930"));
    if (!file.isEmpty()) LoadPicture(file.toStdString());
}

bool WizardWiring::LoadPicture(const std::filesystem::path& fileName) {
    if (!controller_ || Working()) return false;
    state_.ActiveCommand = kNoCommand;
    bool opened = false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    RunGuarded([&] {
        TakeEditedValues();
        opened = controller_->openPicture(fileName);
    });
    QApplication::restoreOverrideCursor();
    if (opened) {
        state_.settings.FOpen = fileName.string();
        // The job's values back into the steps' controls: a job document brings its own.
        for (const auto& step : steps_) step->JobOpened();
    }
    AfterAction();
    return opened;
}

void WizardWiring::Save() {
    if (!controller_ || Working() || !controller_->hasPicture()) return;
    QString chosenFilter;
    const QString filter = Lang("931");
    // A bare proposed name opens the dialog beside the picture.
    std::filesystem::path start = controller_->proposedSaveName();
    const std::filesystem::path& picture = job_.pictureFileName();
    if (!start.has_parent_path() && picture.has_parent_path()) start = picture.parent_path() / start;
    const QString file = dialogs_.saveFile(ui_.form, Lang("402"), Text(start.string()), filter, &chosenFilter);
    if (file.isEmpty()) return;
    // The kind is the extension typed, or else the kind chosen in the dialog.
    const QString extension = QString::fromStdString(std::filesystem::path(file.toStdString()).extension().string())
                                  .toLower();
    SaveKind kind = SaveKind::Document;
    if (extension == ".stl")
        kind = SaveKind::Stl;
    else if (extension == ".dxf")
        kind = SaveKind::Dxf;
    else if (extension != ".pxm") {
        const int index = filter.split(";;").indexOf(chosenFilter);
        if (index == 1) kind = SaveKind::Stl;
        if (index == 2) kind = SaveKind::Dxf;
    }
    StlShape shape = StlShape::Solid;
    if (kind == SaveKind::Stl) {
        StlOutputDialog choice(ui_.form);
        choice.SetDocumentName(file);
        dialogs_.runModal(choice);
        if (!choice.StlDxfOk()) return;
        shape = choice.Solid() ? StlShape::Solid : StlShape::Surface;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Forward([&](WizardController& wizard) { wizard.saveAs(file.toStdString(), kind, shape); });
    QApplication::restoreOverrideCursor();
}

void WizardWiring::CropRectanglePicked(double x1, double y1, double x2, double y2, bool complete) {
    if (!controller_ || !controller_->hasPicture() || Working()) return;
    const ImageInfo& picture = controller_->placement().info();
    // Columns and rows at their own sizes: pixels need not be square.
    const ReliefValues cells = job_.reliefValues();
    const double pixelWidth = cells.PixelSize, pixelHeight = cells.CellSizeY();
    if (!(pixelWidth > 0) || !(pixelHeight > 0)) return;
    // Left edge from the picture's left edge, top edge from its bottom edge.
    CutInfo cut;
    cut.X0 = static_cast<float>(std::min(x1, x2) - picture.X0);
    cut.Y0 = static_cast<float>(std::max(y1, y2) - picture.Y0);
    cut.SizeX = static_cast<float>(std::abs(x2 - x1));
    cut.SizeY = static_cast<float>(std::abs(y2 - y1));
    cut.Scale = picture.Scale;
    // A picture's pixels are samples at both ends of its size (Scale is
    // SizeX / (PixelWidth - 1)), so a rectangle SizeX wide spans
    // SizeX / Scale + 1 of them; the crop keeps that many and so its scale.
    // Rounded half to even, as every other count of the program.
    cut.PixelWidth = static_cast<std::int32_t>(std::nearbyint(cut.SizeX / pixelWidth)) + 1;
    cut.PixelHeight = static_cast<std::int32_t>(std::nearbyint(cut.SizeY / pixelHeight)) + 1;
    // The size shows while the second corner moves; only the clicked corner
    // makes the rectangle the one Cut crops to.
    if (complete)
        Forward([&](WizardController& wizard) { wizard.rectanglePicked(cut); });
    else
        pagesView_->showCropSelection(cut);
}

bool WizardWiring::PickingOrigin() const {
    return StepOf<ReferenceStepPage>().PickingOrigin();
}

void WizardWiring::OriginPicked(double x, double y) {
    StepOf<ReferenceStepPage>().OriginPicked(x, y);
}

void WizardWiring::ZncPicked(double x, double y) {
    if (!controller_ || controller_->commandMode() != kZncPickMode) return;
    state_.ActiveCommand = kNoCommand;
    Forward([&](WizardController& wizard) { wizard.zncPointPicked(x, y); });
}

void WizardWiring::ZncPickCancelled() {
    if (!controller_ || controller_->commandMode() != kZncPickMode) return;
    state_.ActiveCommand = kNoCommand;
    Forward([](WizardController& wizard) { wizard.zncPickCancelled(); });
}

void WizardWiring::CommandLeft() {
    // While a computation runs the steps come back locked, as the panel is.
    if (!controller_ || !controller_->hasPicture()) return;
    const PageSwitcher& pages = life_.Pages();
    const int step = controller_->page();
    // The steps still show, or the picture's own edit page or a page opened
    // beside the work does: nothing was taken away.
    if (pages.Visible(page::kSize) || pages.Visible(page::kDistance)) return;
    if (pages.PanelShown() && pages.TabVisible(pages.Current())) return;
    if (step < page::kSize || step > page::kProgram) return;
    pagesView_->showPage(step, true);
}

// --- connections -------------------------------------------------------------

void WizardWiring::Connect() {
    connect(ui_.sbtOpen, &QToolButton::clicked, this, &WizardWiring::OpenPicture);
    connect(ui_.mnuOpen, &QAction::triggered, this, &WizardWiring::OpenPicture);
    connect(ui_.sbtSave, &QToolButton::clicked, this, &WizardWiring::Save);
    connect(ui_.mnuSave, &QAction::triggered, this, &WizardWiring::Save);
    connect(&life_, &MainLifeCycle::jobDiscarded, this, [this] {
        if (!controller_) return;
        if (Working()) EndWork();
        controller_->discardJob();
    });
    // The view of the pages is there before a step's handler can run.
    pagesView_ = std::make_unique<WizardPagesView>(ui_, pages_, state_, life_, ncPages_, view3d_,
                                                   StepOf<CuttingStepPage>(), job_);
    for (const auto& step : steps_) step->Connect();
    // After the settings page has taken the new unit (its handler was connected first).
    connect(ui_.cboUnits, &QComboBox::activated, this,
            [this] { Forward([this](WizardController& w) { w.setInches(state_.settings.Unit != 0); }); });
    pagesView_->OnPageShown([this] {
        for (const auto& step : steps_) step->PageShown();
    });
}

template <class Step>
Step& WizardWiring::StepOf() const {
    for (const auto& step : steps_)
        if (auto* wanted = dynamic_cast<Step*>(step.get())) return *wanted;
    throw std::logic_error("a step of the wizard is missing from its list");
}

// --- WizardView3D ------------------------------------------------------------

void WizardWiring::set3DMode(bool on) {
    if (on) jobView_.aboutToShow();
    life_.SetView3D(on);
}

void WizardWiring::redrawSurface(const ZncFilter& filter) {
    view3d_.setNoCutZone(filter.active, filter.level, filter.tolerance);
}

void WizardWiring::autozoom() {
    view3d_.standardView(View3D::Standard::Iso);
}

void WizardWiring::hideCutter() {
    view3d_.parkCutter(static_cast<float>(controller_->cutting().feedPlaneZ));
}

void WizardWiring::showCutter(bool shown) {
    if (shown) {
        ncPages_.BuildCutter();
        // On the tool page the cutter stands over the work's reference point
        // at the feed plane, not where the last simulation left or parked it.
        view3d_.moveCutter(0.0f, 0.0f, static_cast<float>(controller_->cutting().feedPlaneZ));
    } else {
        view3d_.setToolVisible(false);
    }
}

// --- WizardDialogs ------------------------------------------------------------

std::optional<std::filesystem::path> WizardWiring::askNcFileName() {
    return ncPages_.AskNcFileName(job_.pictureFileName(), job_.post().fileExtension);
}

bool WizardWiring::confirmDiscard() {
    return dialogs_.askYesNo(ui_.form, Lang("450"), Lang("452"));
}

void WizardWiring::showMessage(const std::string& text) {
    Application::reportError(Text(text));
}

}  // namespace calvoro

#include "shell/gui/WizardWiring.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QMenu>
#include <QToolBar>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <cmath>

#include "engine/document/SaveName.h"
#include "engine/gui/NcPageController.h"
#include "engine/gui/ToolDialog.h"
#include "engine/nc/NcFileChoice.h"
#include "engine/picture/PictureFile.h"
#include "kernel/drawing/QVCmp2D.h"
#include "kernel/entities/TObject2D.h"
#include "kernel/entities/TPunto2D.h"
#include "kernel/geometry/Matrix2D.h"
#include "kernel/program/TCADPrg.h"
#include "kernel/program/TQVPrg2D.h"
#include "kernel/gui/ViewportWidget.h"
#include "kernel/tasks/QV2DTasks.h"
#include "kernel/view/TQVViewport2D.h"
#include "shell/app/AppInfo.h"
#include "shell/app/MainState.h"
#include "shell/app/WorkBox.h"
#include "shell/gui/Application.h"
#include "shell/gui/CuttingHelpPictures.h"
#include "shell/gui/DialogServices.h"
#include "shell/gui/MainLifeCycle.h"
#include "shell/gui/MainWindowUi.h"
#include "shell/gui/NcPageWiring.h"
#include "shell/gui/StlOutputDialog.h"
#include "shell/gui/View2DHost.h"
#include "shell/gui/View3D.h"
#include "shell/lang/MessageTable.h"
#include "shell/lang/UnitLang.h"
#include "shell/wizard/DrawingTransforms.h"
#include "shell/wizard/ExportCommands.h"
#include "shell/wizard/NumberText.h"

namespace calvoro {

namespace {

QString Lang(const char* number) {
    return QString::fromStdString(LangString(number));
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// The NC file's whole name, kept in the label's tool tip, on one line
// shortened to the label's width.
void ShowShortened(QLabel* label) {
    const QFontMetrics metrics = label->fontMetrics();
    const std::string name = label->toolTip().toStdString();
    label->setText(Text(ShortenToWidth(name, label->width(), [&](std::string_view text) {
        return metrics.horizontalAdvance(QString::fromUtf8(text.data(), qsizetype(text.size())));
    })));
}

constexpr int kPollMilliseconds = 30;
// The help texts beside the cutting parameters take the place of pictures
// 101 .. 112; their messages follow one another from here.
constexpr int kFirstHelpMessage = 960;
constexpr int kFirstHelpPicture = 101;

std::optional<double> Number(const QLineEdit* edit) {
    return ParseEditNumber(edit->text().toStdString());
}

// An edit the user is typing in keeps the text typed while it says the same
// number, so the caret never jumps and "7" does not turn into "7.000" under
// the next key.
void ShowNumber(QLineEdit* edit, const std::string& text, const QLineEdit* typing) {
    const auto shown = Number(edit);
    const auto wanted = ParseEditNumber(text);
    if (edit == typing && shown && wanted && std::abs(*shown - *wanted) <= 5e-4 * std::max(1.0, std::abs(*wanted)))
        return;
    edit->setText(QString::fromStdString(text));
}

}  // namespace

WizardWiring::WizardWiring(MainWindowUi& ui, MainState& state, MainLifeCycle& life, TQVCmp2D& cad,
                           View2DHost& view2d, View3D& view3d, NcPageWiring& ncPages, DialogServices& dialogs)
    : QObject(ui.form),
      ui_(ui),
      state_(state),
      life_(life),
      cad_(cad),
      view2d_(view2d),
      view3d_(view3d),
      ncPages_(ncPages),
      dialogs_(dialogs) {
    BuildWizardPages(ui, pages_);
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
    for (QAction* save : {ui.mnuSave}) save->setEnabled(false);
    ui.sbtSave->setEnabled(false);
    Connect();
    // "Select Pt.": the next left click in the 2D view is the origin.
    view2d.Widget().installEventFilter(this);
    // The NC file's name is shortened anew whenever its label's width changes.
    pages_.stxNcFileName->installEventFilter(this);
    // The crop's rectangle task keeps running for another rectangle; each
    // second corner is a rectangle picked.
    view2d.SetCutRectangleHandler([this](const TPoint2D& corner1, const TPoint2D& corner2) {
        if (pickingRectangle_ && corner1 != corner2) CropRectanglePicked(corner1.X, corner1.Y, corner2.X, corner2.Y);
    });
}

// The controller's worker cancels and waits for a computation still running;
// its result is never handed over to a window that is going.
WizardWiring::~WizardWiring() {
    if (Working()) QApplication::restoreOverrideCursor();
}

void WizardWiring::Start() {
    WizardSettings settings;
    settings.programFolder = ProgramFolder();
    settings.inches = state_.settings.Unit != 0;
    settings.postName = state_.settings.Pst;
    controller_ = std::make_unique<WizardController>(
        WizardServices{*this, *this, *this, *this, *this}, std::move(settings));
    state_.Post = controller_->post();
    RunGuarded([this] { controller_->setTool(ncPages_.Tools().currentTool()); });
    pages_.cboPostName->clear();
    pages_.cboPostName->addItem(Text(controller_->post().postName));
    ShowToolTable(pages_.toolTable, ncPages_.Tools());
    AfterAction();
}

bool WizardWiring::Working() const {
    return poll_->isActive();
}

// --- user actions ----------------------------------------------------------

template <class Action>
void WizardWiring::Forward(Action action) {
    if (!controller_ || Working()) return;
    RunGuarded([&] { action(*controller_); });
    AfterAction();
}

void WizardWiring::AfterAction() {
    state_.ActiveCommand = controller_->commandMode() == kZncPickMode ? kZncPickMode : state_.ActiveCommand;
    state_.Post = controller_->post();
    if (controller_->working() && !Working()) BeginWork();
}

void WizardWiring::BeginWork() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ui_.ProgressBar1->setRange(0, 100);
    ui_.ProgressBar1->setValue(0);
    ui_.ProgressBar1->show();
    cancel_->show();
    cancel_->setEnabled(true);
    ui_.pnlCmd->setEnabled(false);
    ui_.pnlTbr1->setEnabled(false);
    ui_.mnuFile->setEnabled(false);
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
    ui_.pnlCmd->setEnabled(true);
    ui_.pnlTbr1->setEnabled(true);
    ui_.mnuFile->setEnabled(true);
    QApplication::restoreOverrideCursor();
}

CuttingParameters WizardWiring::ReadCutting() const {
    CuttingParameters values = controller_ ? controller_->cutting() : CuttingParameters{};
    if (const auto v = Number(ui_.txtIncXY); v && *v > 0) values.stepOver = *v;
    if (const auto v = Number(ui_.txtFeedPlane)) values.feedPlaneZ = *v;
    if (const auto v = Number(pages_.txtStock); v && *v >= 0) values.stockAllowance = static_cast<float>(*v);
    if (const auto v = Number(ui_.txtFilter); v && *v >= 0) values.filterTolerance = static_cast<float>(*v);
    if (const auto v = Number(pages_.txtAspor_Z); v && *v >= 0) values.zStep = *v;
    values.passCount = pages_.sedPass_Z->value();
    values.rasterAlongX = pages_.chkOrizzontale->isChecked();
    values.rasterAlongY = pages_.chkVerticale->isChecked();
    return values;
}

// The depth and cutting edits as the settings filled them, before an open
// places the picture and sets its work box with them.
void WizardWiring::TakeEditedValues() {
    const float white = Number(ui_.txtWhiteD).value_or(controller_->reliefValues().WhiteZ);
    const float black = Number(ui_.txtBlackD).value_or(controller_->reliefValues().BlackZ);
    controller_->setJobValues(white, black, ReadCutting());
}

// The job's values back into the edits: a job document brings its own.
void WizardWiring::ShowJobValues() {
    const auto show = [](QLineEdit* edit, double value) { edit->setText(QString::number(value, 'g', 6)); };
    const CuttingParameters& cutting = controller_->cutting();
    show(ui_.txtWhiteD, controller_->reliefValues().WhiteZ);
    show(ui_.txtBlackD, controller_->reliefValues().BlackZ);
    show(ui_.txtIncXY, cutting.stepOver);
    show(ui_.txtFeedPlane, cutting.feedPlaneZ);
    show(ui_.txtFilter, cutting.filterTolerance);
    show(pages_.txtStock, cutting.stockAllowance);
    show(pages_.txtAspor_Z, cutting.zStep);
    const QSignalBlocker blocker(pages_.sedPass_Z);
    pages_.sedPass_Z->setValue(cutting.passCount);
    pages_.chkOrizzontale->setChecked(cutting.rasterAlongX);
    pages_.chkVerticale->setChecked(cutting.rasterAlongY);
    pages_.chkRatio->setChecked(controller_->placement().keepRatio());
    RunGuarded([this] {
        const QSignalBlocker quiet(&ncPages_);
        ncPages_.Tools().setCurrentTool(controller_->tool());
        ShowToolTable(pages_.toolTable, ncPages_.Tools());
    });
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
    const std::filesystem::path previous = pictureFile_;
    pictureFile_ = fileName;
    RunGuarded([&] {
        TakeEditedValues();
        opened = controller_->openPicture(fileName);
    });
    QApplication::restoreOverrideCursor();
    if (opened) {
        state_.settings.FOpen = fileName.string();
        state_.PictureLoaded = true;
        // The cutter of the last job goes; the tool page builds the next (a
        // document replayed that far has built it already).
        if (controller_->page() < page::kTool) view3d_.setToolVisible(false);
        const QSignalBlocker blocker(pages_.chkCutColor);
        pages_.chkCutColor->setChecked(false);
        ShowJobValues();
    } else {
        pictureFile_ = previous;
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
    if (!start.has_parent_path() && pictureFile_.has_parent_path()) start = pictureFile_.parent_path() / start;
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
        dialogs_.runModal(choice);
        if (!choice.StlDxfOk()) return;
        shape = choice.Solid() ? StlShape::Solid : StlShape::Surface;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Forward([&](WizardController& wizard) { wizard.saveAs(file.toStdString(), kind, shape); });
    QApplication::restoreOverrideCursor();
}

void WizardWiring::CropRectanglePicked(double x1, double y1, double x2, double y2) {
    if (!controller_ || !controller_->hasPicture() || Working()) return;
    const ImageInfo& picture = controller_->placement().info();
    if (!(picture.Scale > 0)) return;
    // Left edge from the picture's left edge, top edge from its bottom edge.
    CutInfo cut;
    cut.X0 = static_cast<float>(std::min(x1, x2) - picture.X0);
    cut.Y0 = static_cast<float>(std::max(y1, y2) - picture.Y0);
    cut.SizeX = static_cast<float>(std::abs(x2 - x1));
    cut.SizeY = static_cast<float>(std::abs(y2 - y1));
    cut.Scale = picture.Scale;
    cut.PixelWidth = static_cast<std::int32_t>(std::lround(cut.SizeX / picture.Scale)) + 1;
    cut.PixelHeight = static_cast<std::int32_t>(std::lround(cut.SizeY / picture.Scale)) + 1;
    const bool inches = state_.settings.Unit != 0;
    pages_.txtCutDx->setText(Text(formatta(cut.SizeX, inches)));
    pages_.txtCutDy->setText(Text(formatta(cut.SizeY, inches)));
    pages_.txtPixelW->setText(QString::number(cut.PixelWidth));
    pages_.txtPixelH->setText(QString::number(cut.PixelHeight));
    Forward([&](WizardController& wizard) { wizard.rectanglePicked(cut); });
}

void WizardWiring::OriginPicked(double x, double y) {
    if (!pickingOrigin_) return;
    pickingOrigin_ = false;
    Forward([&](WizardController& wizard) { wizard.originPicked(x, y); });
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
    if (!controller_ || !controller_->hasPicture() || Working()) return;
    const PageSwitcher& pages = life_.Pages();
    const int step = controller_->page();
    // The steps still show, or the picture's own edit page or a page opened
    // beside the work does: nothing was taken away.
    if (pages.Visible(page::kSize) || pages.Visible(page::kDistance)) return;
    if (pages.PanelShown() && pages.TabVisible(pages.Current())) return;
    if (step < page::kSize || step > page::kProgram) return;
    showPage(step, true);
}

void WizardWiring::PickTool(bool editOnly) {
    if (!controller_ || Working()) return;
    if (ncPages_.EditTools(editOnly, &pages_.toolTable)) {
        Forward([this](WizardController& wizard) { wizard.setTool(ncPages_.Tools().currentTool()); });
        ncPages_.BuildCutter();
    }
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
        pictureFile_.clear();
        state_.PictureLoaded = false;
        state_.Map.reset();
    });
    // After the settings page has taken the new unit (its handler was connected first).
    connect(ui_.cboUnits, &QComboBox::activated, this,
            [this] { Forward([this](WizardController& w) { w.setInches(state_.settings.Unit != 0); }); });
    const WizardPagesUi& p = pages_;
    const auto on = [this](QPushButton* button, void (WizardController::*step)()) {
        connect(button, &QPushButton::clicked, this, [this, step] { Forward([step](WizardController& w) { (w.*step)(); }); });
    };
    on(p.sbtNextB0, &WizardController::nextFromEdit);
    on(p.sbtFlipH, &WizardController::flipHorizontal);
    on(p.sbtFlipV, &WizardController::flipVertical);
    on(p.sbtRotate, &WizardController::rotate);
    on(p.sbtCutSel, &WizardController::crop);
    on(p.sbt2Gray, &WizardController::convertToGrey);
    on(p.sbtModify, &WizardController::modify);
    on(p.sbtDimApply, &WizardController::applySize);
    on(p.sbtNextB1, &WizardController::nextFromSize);
    on(p.sbtPrevB2, &WizardController::prevFromReference);
    on(p.sbtNextB2, &WizardController::nextFromReference);
    on(p.sbtProfApply, &WizardController::applyDepth);
    on(p.sbtPrevB3, &WizardController::prevFromDepth);
    on(p.sbtNextB3, &WizardController::nextFromDepth);
    on(p.sbtNewNc, &WizardController::chooseNcFile);
    on(p.sbtPrevB4, &WizardController::prevFromNcFile);
    on(p.sbtNextB4, &WizardController::nextFromNcFile);
    on(p.sbtPrevB5, &WizardController::prevFromTool);
    on(p.sbtPrevB6, &WizardController::prevFromCutting);
    on(p.sbtNextB6, &WizardController::nextFromCutting);
    on(p.sbtPrevB7, &WizardController::prevFromProgram);
    on(ui_.btnZNC, &WizardController::startZncPick);
    on(p.sbtZNCRegen, &WizardController::regenerateZnc);
    ConnectPagesOneToFive();
    ConnectCuttingPage();
}

void WizardWiring::ConnectPagesOneToFive() {
    const WizardPagesUi& p = pages_;
    // textEdited, never textChanged: what the program writes into an edit
    // runs no handler of the user's.
    connect(p.txtVecLarg, &QLineEdit::textEdited, this, [this](const QString& text) {
        typing_ = pages_.txtVecLarg;
        Forward([&](WizardController& w) { w.widthEdited(text.toStdString()); });
        typing_ = nullptr;
    });
    connect(p.txtVecAlt, &QLineEdit::textEdited, this, [this](const QString& text) {
        typing_ = pages_.txtVecAlt;
        Forward([&](WizardController& w) { w.heightEdited(text.toStdString()); });
        typing_ = nullptr;
    });
    for (QLineEdit* edit : {p.txtVecLarg, p.txtVecAlt})
        connect(edit, &QLineEdit::editingFinished, this, [this] {
            if (pages_.sbtDimApply->isEnabled()) Forward([](WizardController& w) { w.applySize(); });
        });
    connect(p.chkRatio, &QCheckBox::clicked, this,
            [this](bool on) { Forward([on](WizardController& w) { w.keepRatioClicked(on); }); });
    for (int corner = 0; corner < 5; ++corner) {
        const int tag = corner == 0 ? 5 : corner;
        connect(p.rbtOrigine[corner], &QRadioButton::clicked, this,
                [this, tag] { Forward([tag](WizardController& w) { w.cornerClicked(tag); }); });
    }
    for (QLineEdit* edit : {ui_.txtOriginX, ui_.txtOriginY}) {
        connect(edit, &QLineEdit::textEdited, this, [this] { Forward([](WizardController& w) { w.originEdited(); }); });
        connect(edit, &QLineEdit::returnPressed, this, [this] { emit pages_.sbtOrigineApply->clicked(); });
    }
    connect(p.sbtSetOrigin, &QPushButton::clicked, this, [this] { pickingOrigin_ = controller_ != nullptr; });
    connect(p.sbtOrigineApply, &QPushButton::clicked, this, [this] {
        const std::string x = ui_.txtOriginX->text().toStdString(), y = ui_.txtOriginY->text().toStdString();
        Forward([&](WizardController& w) { w.applyTypedOrigin(x, y); });
    });
    connect(ui_.txtWhiteD, &QLineEdit::textEdited, this,
            [this](const QString& t) { Forward([&](WizardController& w) { w.whiteDepthEdited(t.toStdString()); }); });
    connect(ui_.txtBlackD, &QLineEdit::textEdited, this,
            [this](const QString& t) { Forward([&](WizardController& w) { w.blackDepthEdited(t.toStdString()); }); });
    for (QLineEdit* edit : {ui_.txtWhiteD, ui_.txtBlackD})
        connect(edit, &QLineEdit::returnPressed, this, [this] { Forward([](WizardController& w) { w.applyDepth(); }); });
    const std::pair<QRadioButton*, ShadingResolution> shading[] = {{p.rbtShResCoarse, ShadingResolution::Coarse},
                                                                   {p.rbtShResMedium, ShadingResolution::Medium},
                                                                   {p.rbtShResFine, ShadingResolution::Fine}};
    for (const auto& [button, resolution] : shading)
        connect(button, &QRadioButton::clicked, this, [this, resolution] {
            view3d_.setShadingResolution(resolution);
            Forward([resolution](WizardController& w) { w.shadingClicked(resolution); });
        });
    connect(p.cboPostName, &QComboBox::textActivated, this,
            [this](const QString& name) { Forward([&](WizardController& w) { w.choosePost(name.toStdString()); }); });
    connect(p.sbtSelecTool, &QPushButton::clicked, this, [this] { PickTool(false); });
    connect(p.sbtEditTool, &QPushButton::clicked, this, [this] { PickTool(true); });
    connect(p.sbtNextB5, &QPushButton::clicked, this, [this] {
        Forward([this](WizardController& w) {
            w.setCutting(ReadCutting());
            w.nextFromTool();
        });
    });
    // Play keeps the user on the NC page until it ends or is stopped.
    connect(&ncPages_.Controller(), &NcPageController::simulationRunning, p.sbtPrevB7,
            [prev = p.sbtPrevB7](bool running) { prev->setEnabled(!running); });
    connect(&ncPages_, &NcPageWiring::ncFileChosen, this, [this](const QString& file) {
        if (controller_) controller_->ncFileSavedAs(file.toStdString());
    });
    connect(&ncPages_, &NcPageWiring::toolChanged, this, [this] {
        if (controller_) controller_->setTool(ncPages_.Tools().currentTool());
    });
}

void WizardWiring::ConnectCuttingPage() {
    const WizardPagesUi& p = pages_;
    for (QLineEdit* edit : {ui_.txtIncXY, ui_.txtFeedPlane, p.txtStock, ui_.txtFilter, p.txtAspor_Z}) {
        connect(edit, &QLineEdit::textEdited, this,
                [this] { Forward([this](WizardController& w) { w.setCutting(ReadCutting()); }); });
        edit->installEventFilter(this);
    }
    p.sedPass_Z->installEventFilter(this);
    p.grpZNC->installEventFilter(this);
    connect(p.sedPass_Z, &QSpinBox::valueChanged, this,
            [this] { Forward([this](WizardController& w) { w.setCutting(ReadCutting()); }); });
    for (QCheckBox* box : {p.chkOrizzontale, p.chkVerticale})
        connect(box, &QCheckBox::clicked, this, [this] {
            const bool x = pages_.chkOrizzontale->isChecked(), y = pages_.chkVerticale->isChecked();
            Forward([x, y](WizardController& w) { w.rasterClicked(x, y); });
        });
    connect(p.chkCutColor, &QCheckBox::clicked, this,
            [this](bool on) { Forward([on](WizardController& w) { w.zncCheckClicked(on); }); });
    connect(p.txtFiltroZNC, &QLineEdit::textEdited, this, [this](const QString& t) {
        Forward([&](WizardController& w) { w.zncToleranceEdited(t.toStdString()); });
    });
    connect(p.sbtNcCalc, &QPushButton::clicked, this, [this] {
        Forward([this](WizardController& w) {
            w.setCutting(ReadCutting());
            w.computeNc();
        });
    });
}

bool WizardWiring::eventFilter(QObject* watched, QEvent* event) {
    if (watched == pages_.stxNcFileName && event->type() == QEvent::Resize) ShowShortened(pages_.stxNcFileName);
    if (!controller_) return false;
    if (pickingOrigin_ && watched == &view2d_.Widget() &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease)) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton) return false;
        if (event->type() == QEvent::MouseButtonRelease) {
            const QPointF at = mouse->position();
            const TPoint2D world = view2d_.Viewport().ScreenToWorld(TPoint2D{at.x(), at.y(), 1.0});
            OriginPicked(world.X / world.W, world.Y / world.W);
        }
        return true;
    }
    const WizardPagesUi& p = pages_;
    if (event->type() == QEvent::FocusIn) {
        const std::pair<QObject*, CuttingField> fields[] = {
            {ui_.txtFeedPlane, CuttingField::FeedPlane}, {ui_.txtIncXY, CuttingField::StepOver},
            {p.txtStock, CuttingField::Stock},           {p.sedPass_Z, CuttingField::PassCount},
            {p.txtAspor_Z, CuttingField::ZStep},         {ui_.txtFilter, CuttingField::Filter}};
        for (const auto& [object, field] : fields)
            if (object == watched) controller_->focusField(field);
    } else if (watched == p.grpZNC && event->type() == QEvent::Enter) {
        controller_->focusField(CuttingField::ZncGroup);
    } else if (watched == p.grpZNC && event->type() == QEvent::Leave) {
        controller_->leaveZncGroup();
    }
    return false;
}

// --- WizardWindow ------------------------------------------------------------

void WizardWiring::showPage(int page, bool withStatus) {
    pickingOrigin_ = false;
    if (!life_.Pages().Visible(page::kSize)) life_.VisPagine({page::kSize, page::kReference, page::kDepth, page::kNcFile, page::kTool, page::kCutting});
    if (page == page::kProgram) ncPages_.PrepareNcPage(controller_->post(), controller_->ncFileName());
    if (page == page::kTool) ncPages_.BuildCutter();
    life_.ShowPageNow(page, withStatus);
}

void WizardWiring::showStatus(int pageMessage) {
    // The point pick has a prompt of its own; the page of its number belongs
    // to another command.
    if (pageMessage == page_message::kPointPick)
        life_.Messaggio(Lang("932"));
    else
        life_.Messaggio(Text(MessageTable()[static_cast<std::size_t>(pageMessage)]));
}

void WizardWiring::setEnabled(WizardControl control, bool enabled) {
    const WizardPagesUi& p = pages_;
    switch (control) {
        case WizardControl::NextB1:
            p.sbtNextB1->setEnabled(enabled);
            break;
        case WizardControl::DimApply:
            p.sbtDimApply->setEnabled(enabled);
            break;
        case WizardControl::NextB2:
            p.sbtNextB2->setEnabled(enabled);
            break;
        case WizardControl::OrigineApply:
            p.sbtOrigineApply->setEnabled(enabled);
            break;
        case WizardControl::ProfApply:
            p.sbtProfApply->setEnabled(enabled);
            break;
        case WizardControl::NextB3:
            p.sbtNextB3->setEnabled(enabled);
            break;
        case WizardControl::NextB4:
            p.sbtNextB4->setEnabled(enabled);
            break;
        case WizardControl::NextB6:
            p.sbtNextB6->setEnabled(enabled);
            break;
        case WizardControl::NcCalc:
            p.sbtNcCalc->setEnabled(enabled);
            break;
        case WizardControl::CutSel:
            p.sbtCutSel->setEnabled(enabled);
            break;
        case WizardControl::Save:
            ui_.sbtSave->setEnabled(enabled);
            ui_.mnuSave->setEnabled(enabled);
            break;
        case WizardControl::ZncControls:
            for (QWidget* widget : {static_cast<QWidget*>(ui_.btnZNC), static_cast<QWidget*>(p.txtFiltroZNC),
                                    static_cast<QWidget*>(p.lblZNC), static_cast<QWidget*>(p.sbtZNCRegen)})
                widget->setEnabled(enabled);
            break;
    }
}

void WizardWiring::showSize(const std::string& width, const std::string& height) {
    ShowNumber(pages_.txtVecLarg, width, typing_);
    ShowNumber(pages_.txtVecAlt, height, typing_);
    const QString unit = ui_.cboUnits->itemText(state_.settings.Unit != 0 ? 1 : 0);
    for (QLabel* label : {pages_.nol_lblUnita1, pages_.nol_lblUnita2}) label->setText(unit);
}

void WizardWiring::showOrigin(const std::string& x, const std::string& y) {
    ShowNumber(ui_.txtOriginX, x, typing_);
    ShowNumber(ui_.txtOriginY, y, typing_);
}

void WizardWiring::showCheckedCorner(int corner) {
    // Corner 5 is the centre button; none checked leaves every button open.
    QRadioButton* checked = corner >= 1 && corner <= 4 ? pages_.rbtOrigine[corner]
                            : corner == 5              ? pages_.rbtOrigine[0]
                                                       : nullptr;
    QButtonGroup* group = pages_.rbtOrigine[1]->group();
    group->setExclusive(checked != nullptr);
    for (QRadioButton* button : pages_.rbtOrigine) button->setChecked(button == checked);
    group->setExclusive(true);
}

void WizardWiring::showShading(ShadingResolution resolution) {
    view3d_.setShadingResolution(resolution);
    (resolution == ShadingResolution::Coarse   ? pages_.rbtShResCoarse
     : resolution == ShadingResolution::Medium ? pages_.rbtShResMedium
                                               : pages_.rbtShResFine)
        ->setChecked(true);
}

void WizardWiring::showHelpPicture(int resource) {
    pages_.imgCutPar->setProperty("resource", resource);
    pages_.imgCutPar->setPixmap(CuttingHelpPicture(resource));
    pages_.lblCutParHelp->setText(
        Text(LangString(std::to_string(kFirstHelpMessage + resource - kFirstHelpPicture))));
}

void WizardWiring::showZncCaption(const std::string& caption) {
    ui_.btnZNC->setText(Text(caption));
}

void WizardWiring::showPostList(const std::vector<std::string>& names, const std::string& current,
                                const std::string& comment) {
    const QSignalBlocker blocker(pages_.cboPostName);
    pages_.cboPostName->clear();
    for (const std::string& name : names) pages_.cboPostName->addItem(Text(name));
    const int index = pages_.cboPostName->findText(Text(current), Qt::MatchFixedString);
    if (index >= 0)
        pages_.cboPostName->setCurrentIndex(index);
    else
        pages_.cboPostName->setEditText(Text(current));
    pages_.stxPstCommento->setText(Text(comment));
    state_.Post = controller_->post();
    state_.settings.Pst = current;
}

void WizardWiring::showNcFileName(const std::filesystem::path& file) {
    pages_.stxNcFileName->setToolTip(Text(file.string()));
    ShowShortened(pages_.stxNcFileName);
    if (file.has_parent_path()) state_.settings.NcPath = file.parent_path().string() + "/";
}

void WizardWiring::showDocumentName(const std::filesystem::path& file) {
    ui_.form->setWindowTitle(Text(state_.BaseCaption) + " - " + Text(file.string()));
}

// --- WizardView3D ------------------------------------------------------------

void WizardWiring::set3DMode(bool on) {
    life_.SetView3D(on);
}

void WizardWiring::setRelief(const HeightMap& map, const ReliefValues& values) {
    // The controller's own map, shared rather than copied.
    std::shared_ptr<const HeightMap> shared = controller_->relief();
    if (shared.get() != &map) shared = std::make_shared<const HeightMap>(map);
    state_.Map = shared;
    state_.Relief = values;
    view3d_.setRelief(shared, values);
}

void WizardWiring::redrawSurface(const ZncFilter& filter) {
    view3d_.setNoCutZone(filter.active, filter.level, filter.tolerance);
}

void WizardWiring::setWorkBox(const ImageInfo& info, const ReliefValues& values) {
    state_.Info = info;
    state_.Relief = values;
    RunGuarded([&] { view3d_.setWorkBox(ComputeWorkBox(info, values)); });
}

void WizardWiring::autozoom() {
    view3d_.standardView(View3D::Standard::Iso);
}

void WizardWiring::setToolPath(const std::vector<NcPathNode>& nodes) {
    ncPages_.ShowToolPath(nodes);
}

void WizardWiring::hideCutter() {
    view3d_.parkCutter(static_cast<float>(controller_->cutting().feedPlaneZ));
}

// --- WizardDrawing -----------------------------------------------------------

bool WizardWiring::hasObjects() {
    return cad_.ObjectCount() > 0;
}

void WizardWiring::moveAll(double dx, double dy) {
    MoveAllKeepingView(cad_, view2d_.Viewport(), dx, dy);
}

void WizardWiring::placePicture(const Picture& picture, const ImageInfo& info) {
    life_.PlaceImageBitmap(picture, info, true);
    view2d_.ZoomToDrawing();
    life_.AggAlbero(pictureFile_.string(), BitDepthText(picture.sourceBitCount), picture.width, picture.height,
                    picture.dpiX);
}

bool WizardWiring::hasObject(int id) {
    return cad_.FindObject(id) != nullptr;
}

void WizardWiring::deleteObject(int id) {
    cad_.DeleteObject(id);
    cad_.RepaintViewports();
}

void WizardWiring::setObjectSnap(bool on) {
    view2d_.SetObjectSnapActive(on);
}

void WizardWiring::cancelTask() {
    pickingRectangle_ = false;
    view2d_.Program().StopOperation();
}

void WizardWiring::startRectanglePick() {
    // The task's end comes back through CropRectanglePicked.
    for (QLineEdit* edit : {pages_.txtCutDx, pages_.txtCutDy, pages_.txtPixelW, pages_.txtPixelH}) edit->clear();
    pickingRectangle_ = true;
    view2d_.Program().StartOperation(TSCSelRett::Class, std::make_unique<TSCSelRettParam>(nullptr));
}

void WizardWiring::startPointPick(int id) {
    state_.ActiveCommand = kZncPickMode;
    auto point = std::make_unique<TPunto2D>(id, MakePoint2D(0.0, 0.0));
    view2d_.Program().StartOperation(TQV2D_DrawSizedPrimitive::Class,
                                     std::make_unique<TQV2D_DrawSizedPrimitiveParam>(nullptr, std::move(point), 0,
                                                                                     false));
}

void WizardWiring::exportDxf(const std::filesystem::path& fileName) {
    ExportDrawingDxf(fileName, cad_);
}

// --- NcPageService and WizardDialogs -----------------------------------------

void WizardWiring::showProgram(const NcProgram& program) {
    ncPages_.ShowComputedProgram(program, controller_->post(), controller_->ncFileName());
}

std::optional<std::filesystem::path> WizardWiring::askNcFileName(const std::filesystem::path& current) {
    (void)current;
    return ncPages_.AskNcFileName(pictureFile_, controller_->post().fileExtension);
}

bool WizardWiring::confirmDiscard() {
    return dialogs_.askYesNo(ui_.form, Lang("450"), Lang("452"));
}

void WizardWiring::showMessage(const std::string& text) {
    Application::reportError(Text(text));
}

}  // namespace calvoro

#include "shell/gui/NcPageWiring.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QLineEdit>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <charconv>
#include <stdexcept>

#include "engine/gui/NcPage.h"
#include "engine/gui/NcPageController.h"
#include "engine/gui/ToolDialog.h"
#include "engine/nc/NcFileChoice.h"
#include "kernel/drawing/QVCmp2D.h"
#include "kernel/platform/NumberReading.h"
#include "kernel/view/TQVViewport.h"
#include "shell/app/AppInfo.h"
#include "shell/app/MainState.h"
#include "shell/gui/Application.h"
#include "shell/gui/DialogServices.h"
#include "shell/gui/FormTranslation.h"
#include "shell/gui/LayerPanel.h"
#include "shell/gui/MainLifeCycle.h"
#include "shell/gui/MainWindowUi.h"
#include "shell/gui/View3D.h"
#include "shell/lang/MessageTable.h"
#include "shell/lang/UnitLang.h"

namespace calvoro {

namespace {
QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// Puts `child` alone on the page, filling it.
void FillPage(QWidget* page, QWidget* child) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(child);
}
}  // namespace

std::filesystem::path ToolLibraryPath(const std::filesystem::path& settingsFile) {
    const std::filesystem::path folder = settingsFile.empty() ? ProgramFolder() : settingsFile.parent_path();
    const std::filesystem::path file = folder / "Tool.db";
    // A user who keeps the settings in the configuration folder starts from
    // the library shipped beside the program; a failed copy leaves an empty
    // library, which the form can fill.
    const std::filesystem::path shipped = ProgramFolder() / "Tool.db";
    std::error_code ignored;
    if (!std::filesystem::exists(file, ignored) && shipped != file && std::filesystem::exists(shipped, ignored))
        std::filesystem::copy_file(shipped, file, ignored);
    return file;
}

WindowSimulationViews::WindowSimulationViews(MainWindowUi& ui, MainState& state, MainLifeCycle& life, View3D& view3d,
                                             TQVCmp2D& cad)
    : ui_(ui), state_(state), life_(life), view3d_(view3d), cad_(cad) {}

template <class F>
void WindowSimulationViews::EachView(F f) {
    for (DrawingViewport* viewport : cad_.Viewports())
        if (auto* view = dynamic_cast<TQVViewport*>(viewport)) f(*view);
}

namespace {
// The page's 0xRRGGBB as the kernel's 0xBBGGRR.
TColor KernelColour(std::uint32_t rgb) {
    return TColor(((rgb & 0xFFu) << 16) | (rgb & 0xFF00u) | ((rgb >> 16) & 0xFFu));
}
TPoint2D World(SimPoint p) {
    return MakePoint2D(p.x, p.y);
}
}  // namespace

bool WindowSimulationViews::is3DShown() const {
    return state_.View3D;
}

void WindowSimulationViews::show3D() {
    life_.SetView3D(true);
}

void WindowSimulationViews::clearPath() {
    view3d_.clearPath();
}

void WindowSimulationViews::appendPath(std::span<const SimNode> nodes) {
    view3d_.appendPath(nodes);
}

void WindowSimulationViews::moveCutter(float x, float y, float z) {
    if (ui_.mnuShowTool->isChecked()) view3d_.moveCutter(x, y, z);
    EachView([&](TQVViewport& view) { view.SetOverlayMarker(MakePoint2D(x, y)); });
}

void WindowSimulationViews::parkCutter(float feedPlaneZ) {
    view3d_.parkCutter(feedPlaneZ);
    EachView([](TQVViewport& view) {
        view.SetOverlayMarker(std::nullopt);
        view.FlushOverlay();
    });
}

void WindowSimulationViews::clearOverlay() {
    EachView([](TQVViewport& view) { view.ClearOverlay(); });
}

void WindowSimulationViews::addOverlayLine(SimPoint from, SimPoint to, std::uint32_t colour) {
    EachView([&](TQVViewport& view) { view.AddOverlayLine(World(from), World(to), KernelColour(colour)); });
}

void WindowSimulationViews::addOverlayArc(SimPoint centre, double radius, double from, double to,
                                          std::uint32_t colour) {
    EachView([&](TQVViewport& view) { view.AddOverlayArc(World(centre), radius, from, to, KernelColour(colour)); });
}

void WindowSimulationViews::addOverlayPoint(SimPoint at, std::uint32_t colour) {
    EachView([&](TQVViewport& view) { view.AddOverlayPoint(World(at), KernelColour(colour)); });
}

void WindowSimulationViews::overlayChanged() {
    EachView([](TQVViewport& view) { view.FlushOverlay(); });
}

void WindowSimulationViews::showMachiningTime(const QString& text) {
    view3d_.setHudText(text);
}

NcPageWiring::NcPageWiring(MainWindowUi& ui, MainState& state, MainLifeCycle& life, View3D& view3d,
                           DialogServices& dialogs, TQVCmp2D& cad, NcPageDialogs* ncDialogs)
    : QObject(ui.form),
      ui_(ui),
      state_(state),
      life_(life),
      dialogs_(dialogs),
      view3d_(view3d),
      ncDialogs_(ncDialogs),
      views_(ui, state, life, view3d, cad) {
    if (!ncDialogs_) {
        ownNcDialogs_ = std::make_unique<QtNcPageDialogs>();
        ncDialogs_ = ownNcDialogs_.get();
    }
    page_ = new NcPage;
    FillPage(ui.pages[page::kProgram], page_);
    // The NC file is the job's; the page asks for it when it shows or saves.
    controller_ = new NcPageController(page_, views_, *ncDialogs_,
                                       [this] { return job_ ? job_->ncFileName() : std::filesystem::path(); });
    connect(controller_, &NcPageController::simulationRunning, this, &NcPageWiring::SimulationRunning);
    connect(controller_, &NcPageController::ncFileSaved, this, &NcPageWiring::NcFileSaved);
    connect(controller_, &NcPageController::closeRequested, this, &NcPageWiring::ClosePages);

    layers_ = new LayerPanel(cad);
    // The page itself carries the page's name.
    layers_->setObjectName("pnlLayers");
    FillPage(ui.pages[page::kLayer], layers_);
    connect(layers_, &LayerPanel::repaintRequested, this, [&cad] { cad.RepaintViewports(); });
    connect(layers_, &LayerPanel::closeRequested, this, [this] { life_.CloseAside(); });
    // After the settings page has switched the language and translated the
    // window (its handler was connected first), the page and the form take
    // their own sections again.
    connect(ui.nol_cboLang, &QComboBox::textActivated, this, &NcPageWiring::Translate);
}

NcPageWiring::~NcPageWiring() {
    if (job_) job_->removeObserver(*this);
}

void NcPageWiring::FollowJob(Job& job) {
    if (job_) job_->removeObserver(*this);
    job_ = &job;
    job.addObserver(*this);
    jobChanged(job, kJobPost | kJobNcFile | kJobProgram);
}

void NcPageWiring::jobChanged(const Job& job, JobChanges changes) {
    if (changes & kJobPost) controller_->setPost(job.post());
    if (changes & kJobNcFile) controller_->showNcFileName();
    if (changes & kJobProgram) controller_->setProgram(job.program() ? job.program()->text : std::string());
}

ToolDialog& NcPageWiring::Tools() {
    if (!tools_) {
        tools_ = new ToolDialog(ToolLibraryPath(state_.settingsFile), state_.settings.Tool, ui_.form);
        connect(tools_, &ToolDialog::toolChanged, this, &NcPageWiring::toolChanged);
        TranslateForms({tools_});
    }
    return *tools_;
}

void NcPageWiring::Translate() {
    TranslateForms({page_});
    if (tools_) TranslateForms({tools_});
}

void NcPageWiring::PrepareNcPage() {
    controller_->setInches(state_.settings.Unit != 0);
    controller_->setFeedPlaneText(ui_.txtFeedPlane->text());
    controller_->enterPage();
    BuildCutter();
}

void NcPageWiring::BuildCutter() {
    const float feedPlaneZ = ReadSingleNumber(ui_.txtFeedPlane->text().toStdString()).value_or(0.0f);
    try {
        view3d_.setCutter(Tools().currentTool(), feedPlaneZ);
    } catch (const std::invalid_argument&) {
        // A cutter field that is not a number: no program was computed with
        // it, and the tool form names the field when it is next used; the
        // model stays as it was.
    }
    view3d_.setToolVisible(ui_.mnuShowTool->isChecked());
}

std::optional<std::filesystem::path> NcPageWiring::AskNcFileName(const std::filesystem::path& pictureFile,
                                                                 const std::string& extension) {
    const QString filter = Text(NcFileFilter(LangString("701"), extension));
    const auto chosen =
        calvoro::ChooseNcFile(pictureFile, state_.settings.NcPath, extension, [&](const std::string& proposed) {
            return dialogs_.saveFile(ui_.form, Text(LangString("701")), Text(proposed), filter).toStdString();
        });
    if (!chosen) return std::nullopt;
    life_.Messaggio(Text(MessageTable()[page::kNcFile]));
    return std::filesystem::path(chosen->ncFileName);
}

bool NcPageWiring::EditTools(bool editOnly, const ToolTableLabels* labels) {
    ToolDialog& tools = Tools();
    tools.setEditOnly(editOnly);
    dialogs_.runModal(tools);
    state_.settings.Tool = tools.currentToolIndex();
    const bool ok = tools.toolDialogOk();
    if (ok && labels) ShowToolTable(*labels, tools);
    tools.setEditOnly(false);
    return ok;
}

void NcPageWiring::SimulationRunning(bool running) {
    life_.SetLock(LockReason::Simulating, running);
}

void NcPageWiring::NcFileSaved(const QString& fileName) {
    const std::filesystem::path folder = std::filesystem::path(fileName.toStdString()).parent_path();
    if (!folder.empty()) state_.settings.NcPath = folder.string() + "/";
    emit ncFileChosen(fileName);
}

void NcPageWiring::ClosePages() {
    life_.VisPagine({page::kHide});
    life_.SetView3D(false);
    life_.AbilitaPnl(true);
}

}  // namespace calvoro

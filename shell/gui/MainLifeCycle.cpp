#include "shell/gui/MainLifeCycle.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>
#include <clocale>
#include <functional>
#include <stdexcept>

#include "engine/picture/BmpCodec.h"
#include "engine/picture/PictureFile.h"
#include "engine/picture/PictureRaster.h"
#include "engine/post/PostLoader.h"
#include "engine/relief/ElaboraImmagine.h"
#include "kernel/drawing/BlockLibraryFile.h"
#include "kernel/drawing/QVCmp2D.h"
#include "kernel/entities/BmpImage.h"
#include "kernel/entities/TBitmap2D.h"
#include "kernel/geometry/GeomTolerance.h"
#include "kernel/platform/IniFile.h"
#include "shell/app/AppInfo.h"
#include "shell/app/ShellText.h"
#include "shell/app/WorkBox.h"
#include "shell/gui/Application.h"
#include "shell/gui/CommandActions.h"
#include "shell/gui/DialogServices.h"
#include "shell/gui/HelpCommands.h"
#include "shell/gui/LanguageChange.h"
#include "shell/gui/MainWindowUi.h"
#include "shell/gui/PictureSlot.h"
#include "shell/gui/ScreenCursors.h"
#include "shell/gui/SettingsController.h"
#include "shell/gui/View3D.h"
#include "shell/lang/UnitLang.h"
#include "shell/wizard/Job.h"

#include "AppVersion.h"

namespace calvoro {

namespace {

QString Lang(const char* number) {
    return QString::fromStdString(LangString(number));
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// Runs work and puts what went wrong in the user's terms in front of the
// error's own text.
void Explained(const std::string& what, const std::function<void()>& work) {
    try {
        work();
    } catch (const std::exception& error) {
        throw std::runtime_error(what + error.what());
    }
}

}  // namespace

MainLifeCycle::MainLifeCycle(MainWindowUi& ui, MainState& state, TQVCmp2D& cad, DialogServices& dialogs,
                             View3D& view3d)
    : QObject(ui.form), ui_(ui), state_(state), cad_(cad), dialogs_(dialogs), view3d_(view3d) {
    // The tool bar's buttons show the menu's actions.
    actions_ = new CommandActions(ui, state);
    connect(ui.mnuNew, &QAction::triggered, this, &MainLifeCycle::NewJob);
    connect(ui.mnuExit, &QAction::triggered, ui.form, &QWidget::close);
    help_ = new HelpCommands(ui, state, dialogs);
    // Only a click on a tab counts as the user's change of page, never a
    // switch made by the program.
    connect(ui.tabPages, &QTabBar::tabBarClicked, this, &MainLifeCycle::PageTabClicked);
    for (WorkPage* page : ui.pages)
        connect(page, &WorkPage::captionChanged, this, [this] { ShowPages(); });
    ConnectView3D();
}

void MainLifeCycle::ConnectView3D() {
    connect(ui_.sbtShow, &QToolButton::clicked, this, &MainLifeCycle::SetView3D);
    const std::pair<QToolButton*, View3D::Standard> views[] = {
        {ui_.sbtTopView, View3D::Standard::Top},
        {ui_.sbtFrontView, View3D::Standard::Front},
        {ui_.sbtSideView, View3D::Standard::Side},
        {ui_.sbtIsoView, View3D::Standard::Iso},
    };
    for (const auto& [button, view] : views)
        connect(button, &QToolButton::clicked, this, [this, view] { view3d_.standardView(view); });
    const std::pair<QAction*, View3D::Surface> surfaces[] = {
        {ui_.mnuSPShade, View3D::Surface::Shaded},
        {ui_.mnuSPWire, View3D::Surface::Wire},
        {ui_.mnuSPNone, View3D::Surface::None},
    };
    for (const auto& [action, surface] : surfaces)
        connect(action, &QAction::triggered, this, [this, surface] { view3d_.setSurface(surface); });
    connect(ui_.mnuShowTool, &QAction::toggled, this, [this](bool on) { view3d_.setToolVisible(on); });
    connect(ui_.mnuShowXYZ, &QAction::toggled, this, [this](bool on) { view3d_.setAxesVisible(on); });
    SetView3D(false);
}

void MainLifeCycle::LoadBlockLibrary() {
    // Every number the program writes or reads uses ".", whatever the desktop's language.
    std::setlocale(LC_NUMERIC, "C");
    RunGuarded([] { SetGeomTolerance(kDefaultGeomTolerance); });
    RunGuarded([this] {
        const std::filesystem::path library = ProgramFolder() / "Library.blk";
        Explained("The block library \"" + library.string() + "\" was not loaded: ",
                  [&] { LoadBlockLibraryFile(cad_, library); });
    });
}

void MainLifeCycle::Start() {
    RunGuarded([] { InstallScreenCursors(); });
    RunGuarded([this] {
        Explained(LangStringOr("1022", "The settings were not read; they will not be saved: "), [this] {
            if (settings_) settings_->ReadAndApply();
        });
    });
    RunGuarded([this] {
        StartLanguage(Text(state_.settings.Language), ui_.form);
        ui_.btnZNC->setText(Lang("753"));
        if (settings_) settings_->UnitSwitch();
    });
    RunGuarded([this] {
        // No picture yet: the origin lies at 0.
        ui_.txtOriginX->setText(Text(FormatDisplayNumber(0.0f, state_.settings.Unit)));
        ui_.txtOriginY->setText(Text(FormatDisplayNumber(0.0f, state_.settings.Unit)));
        cad_.SetCurrentLayer(0);
        VisPagine({page::kHide});
        Messaggio(Text(MessageTable()[page_message::kOpenStep]));
    });
    state_.BaseCaption = std::string(kProductName) + " v" + std::to_string(kVersionMajor) + "." +
                         std::to_string(kVersionMinor);
    ui_.form->setWindowTitle(Text(state_.BaseCaption));
}

bool MainLifeCycle::ConfirmClose() {
    if (!dialogs_.askYesNo(ui_.form, Lang("450"), Lang("451"))) return false;
    if (settings_) settings_->ImageGrid().GiveBack();
    // The settings go first: nothing the program still holds may depend on
    // whether the file could be written.
    if (state_.settingsRead) {
        RunGuarded([this] {
            state_.settings.Language = LanguageName().empty() ? state_.settings.Language : LanguageName();
            Explained(LangStringOr("1023", "The settings were not saved: "), [this] {
                IniFile file(state_.settingsFile);
                WriteSettings(file, state_.settings);
            });
        });
    }
    return true;
}

void MainLifeCycle::NewJob() {
    state_.ActiveCommand.Clear();
    if (cad_.ObjectCount() > 0 && CancellatoTutto()) {
        VisPagine({page::kHide});
        ui_.form->setWindowTitle(Text(state_.BaseCaption));
        // A new job starts where the program starts: with the greeting, not a blank line.
        Messaggio(Text(MessageTable()[page_message::kOpenStep]));
    }
}

bool MainLifeCycle::CancellatoTutto() {
    if (!dialogs_.askYesNo(ui_.form, Lang("450"), Lang("452"))) return false;
    if (state_.job && state_.job->hasPicture()) {
        // The wizard lets the job go, its 3D path with it.
        emit jobDiscarded();
        pages_.SetCurrent(page::kFirstStep);
        ShowPages();
        SetView3D(false);
    }
    for (int index = 0; index < TLayers::Count; ++index) {
        TLayer& layer = cad_.Layers().LayerByIndex(static_cast<std::uint8_t>(index));
        layer.SetLayerName("Layer_" + std::to_string(index));
        PenAttributes pen = layer.Pen();
        pen.Width = 1;
        pen.Color = state_.settings.DefLayers;
        layer.SetPen(pen);
        layer.SetVisible(true);
        layer.SetActive(true);
    }
    cad_.ClearObjects();
    cad_.RepaintViewports();
    return true;
}

void MainLifeCycle::Messaggio(const QString& text) {
    ui_.pnlStatus2->setText(text);
    ui_.pnlStatus2->repaint();
}

void MainLifeCycle::AbilitaPnl(bool enable) {
    SetLock(LockReason::CadTask, !enable);
}

void MainLifeCycle::SetLock(LockReason reason, bool on) {
    actions_->SetLock(reason, on);
}

void MainLifeCycle::VisPagine(std::initializer_list<int> pages) {
    pages_.VisPagine(pages);
    ShowPages();
    Messaggio(Text(pages_.StatusText()));
}

void MainLifeCycle::VisPagina(int page) {
    pages_.VisPagina(page);
    ShowPages();
    Messaggio(Text(pages_.StatusText()));
}

void MainLifeCycle::ShowAside(int page) {
    pages_.ShowAside(page);
    ShowPages();
    Messaggio(Text(pages_.StatusText()));
}

void MainLifeCycle::CloseAside() {
    pages_.CloseAside();
    ShowPages();
    Messaggio(Text(pages_.StatusText()));
}

void MainLifeCycle::ShowPages() {
    ui_.PageControl1->setCurrentIndex(pages_.Current());
    ui_.PageControl1->setVisible(pages_.PanelShown());
    // The tab bar shows only the pages that come with a tab.
    const QSignalBlocker blocker(ui_.tabPages);
    while (ui_.tabPages->count() > 0) ui_.tabPages->removeTab(0);
    for (int page = 0; page < page::kCount; ++page) {
        if (!pages_.TabVisible(page)) continue;
        const int tab = ui_.tabPages->addTab(ui_.pages[static_cast<std::size_t>(page)]->caption());
        ui_.tabPages->setTabData(tab, page);
        if (page == pages_.Current()) ui_.tabPages->setCurrentIndex(tab);
    }
    ui_.tabPages->setVisible(pages_.PanelShown() && ui_.tabPages->count() > 0);
}

void MainLifeCycle::ShowPageNow(int page, bool withStatus) {
    if (settings_) settings_->ImageGrid().PageShown(page, state_.settings.Unit != 0);
    pages_.SetCurrent(page);
    ShowPages();
    if (withStatus) Messaggio(Text(MessageTable()[static_cast<std::size_t>(page)]));
}

void MainLifeCycle::PageTabClicked(int tabIndex) {
    if (tabIndex < 0) return;
    const int page = ui_.tabPages->tabData(tabIndex).toInt();
    pages_.SetCurrent(page);
    ShowPages();
    Messaggio(Text(MessageTable()[static_cast<std::size_t>(page)]));
    if (page == page::kFirstStep || page == page::kReference) SetView3D(false);
}

void MainLifeCycle::SetView3D(bool show3D) {
    state_.View3D = show3D;
    ui_.views->setCurrentWidget(show3D ? ui_.pnlVista3D : static_cast<QWidget*>(ui_.pnlVistaGrafica));
    ui_.sbtShow->setChecked(show3D);
    for (QToolButton* button : {ui_.sbtTopView, ui_.sbtFrontView, ui_.sbtSideView, ui_.sbtIsoView})
        button->setEnabled(show3D);
    if (show3D) ui_.nol_pnlStatus1->clear();
}

void MainLifeCycle::PlaceImageBitmap(const Picture& picture, const ImageInfo& info, bool zoomToFit) {
    const std::uint8_t remembered = cad_.CurrentLayer();
    cad_.SetCurrentLayer(0);
    cad_.ClearObjects();
    BmpImage image = BmpImage::FromFile(EncodeBmp(picture), ToRaster(picture));
    cad_.AddObject2D(0, std::make_unique<TBitmap2D>(0, TPoint2D{info.X0, info.Y0, 1.0},
                                                    TPoint2D{info.X0 + info.SizeX, info.Y0 + info.SizeY, 1.0},
                                                    std::move(image)));
    (void)zoomToFit;  // the wizard fits the view to the picture itself
    cad_.RepaintViewports();
    cad_.SetCurrentLayer(remembered == 0 ? 1 : remembered);
}

void MainLifeCycle::AggAlbero(const std::string& imageFileName, const std::string& bitDepthText, int pixelWidth,
                              int pixelHeight, int dpi) {
    const PictureInfoRows info = AggAlberoRows(imageFileName, bitDepthText, pixelWidth, pixelHeight, dpi);
    ui_.treInfoRas->clear();
    auto* root = new QTreeWidgetItem(ui_.treInfoRas, {Text(info.root)});
    // A long file name stays whole: the rows scroll sideways and each shows
    // its whole text when the mouse rests on it.
    for (const std::string& row : info.rows) (new QTreeWidgetItem(root, {Text(row)}))->setToolTip(0, Text(row));
    ui_.treInfoRas->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    ui_.treInfoRas->header()->setStretchLastSection(false);
    ui_.treInfoRas->expandAll();
}

}  // namespace calvoro

#include "shell/gui/SettingsController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "kernel/drawing/QVCmp2D.h"
#include "kernel/platform/IniFile.h"
#include "shell/app/AppInfo.h"
#include "shell/app/MainState.h"
#include "shell/app/Settings.h"
#include "shell/gui/Application.h"
#include "shell/gui/ColorBox.h"
#include "shell/gui/CommandGlyphs.h"
#include "shell/gui/DialogServices.h"
#include "shell/gui/FrmEditLng.h"
#include "shell/gui/GridCombos.h"
#include "shell/gui/GridDialog.h"
#include "shell/gui/LanguageChange.h"
#include "shell/gui/MainLifeCycle.h"
#include "shell/gui/MainWindowUi.h"
#include "shell/gui/PictureSlot.h"
#include "shell/gui/View2DHost.h"
#include "shell/gui/View3D.h"
#include "shell/lang/LanguageStore.h"
#include "shell/lang/UnitLang.h"

namespace calvoro {

namespace {
constexpr TColor kResetFormColor = 0xFFC0C0;
constexpr TColor kResetBackground = 0x808080;
constexpr TColor kResetLayers = 0x00FF00;
constexpr TColor kResetGrid = 0x800000;

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

SettingsController::SettingsController(MainWindowUi& ui, MainState& state, TQVCmp2D& cad, View3D& view3d,
                                       MainLifeCycle& life, DialogServices& dialogs)
    : QObject(ui.form), ui_(ui), state_(state), cad_(cad), view3d_(view3d), life_(life), dialogs_(dialogs) {
    connect(ui.mnuSetting, &QAction::triggered, this, &SettingsController::SettingClicked);
    connect(ui.SetGridSpacing1, &QAction::triggered, this, &SettingsController::ShowGridDialog);
    ui.sbtGridOnOff->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui.sbtGridOnOff, &QWidget::customContextMenuRequested, this, &SettingsController::ShowGridDialog);
    connect(ui.ColorBoxForm, &ColorBox::colorPicked, this, &SettingsController::FormColorPicked);
    connect(ui.ColorBoxBackground, &ColorBox::colorPicked, this, &SettingsController::BackgroundPicked);
    connect(ui.ColorBoxDefLayers, &ColorBox::colorPicked, this, &SettingsController::DefLayersPicked);
    connect(ui.ColorBoxGrid, &ColorBox::colorPicked, this, &SettingsController::GridColorPicked);
    // The user's choices only: the program setting a combo's text never counts.
    connect(ui.cboUnits, &QComboBox::activated, this, &SettingsController::UnitsChosen);
    connect(ui.nol_cboLang, &QComboBox::textActivated, this, &SettingsController::LanguageChosen);
    connect(ui.sbtReset, &QPushButton::clicked, this, &SettingsController::ResetClicked);
    connect(&life, &MainLifeCycle::jobDiscarded, this, [this] { pictureGrid_.GiveBack(); });
    // The language manager; the list here follows what it writes or deletes.
    connect(ui.sbtTransLng, &QPushButton::clicked, this, [this] {
        FrmEditLng* manager =
            FrmEditLng::Open(ui_.form, FrmEditLng::DefaultDialogs(), FrmEditLng::DefaultMailService());
        connect(manager, &FrmEditLng::languagesChanged, this, &SettingsController::LanguagesChanged);
    });
    connect(ui.sbtGridOnOff, &QToolButton::clicked, this, &SettingsController::GridOnOffClicked);
    connect(ui.sbtAxisOnOff, &QToolButton::clicked, this, &SettingsController::AxisOnOffClicked);
    BindGridPair(this, coupling_, ui.nol_cboGridX, ui.nol_cboGridY, ui.chkUnisceGrid, GridField::GridX);
    BindGridPair(this, coupling_, ui.nol_cboGridSubX, ui.nol_cboGridSubY, ui.chkUnisceSubGrid, GridField::GridSubX);
}

void SettingsController::SetView2D(View2DHost* view) {
    view2d_ = view;
    if (!view2d_) return;
    connect(view2d_, &View2DHost::gridClicked, this, [this](bool shown) { coupling_.SetShowGrid(shown); });
    connect(view2d_, &View2DHost::snapClicked, this, [this](bool on) { coupling_.SetUseSnap(on); });
}

void SettingsController::ReadAndApply() {
    const IniFile file(state_.settingsFile);
    state_.settings = ReadSettings(file);
    state_.settingsRead = true;
    // The NC folder must be there: a folder of another computer, or a
    // documents folder the desktop names but never made, gives the user's
    // documents when they exist and otherwise the home folder.
    std::error_code error;
    if (state_.settings.NcPath.empty() || !std::filesystem::is_directory(state_.settings.NcPath, error)) {
        QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (!QDir(folder).exists()) folder = QDir::homePath();
        state_.settings.NcPath = QDir(folder).absolutePath().toStdString() + "/";
    }
    Apply();
    if (view2d_) view2d_->StartWindow(state_.settings.Unit == 0);
}

void SettingsController::Apply() {
    const Settings& s = state_.settings;
    ColoraForm(s.Form);
    SetBackground(s.BackGround);
    cad_.SetDefaultLayersColor(s.DefLayers);
    GridColorPicked(s.Grid);
    {
        const QSignalBlocker blocker(ui_.cboUnits);
        // Any unit but 0 is inches; the value itself is kept for the file.
        ui_.cboUnits->setCurrentIndex(s.Unit == 0 ? 0 : 1);
    }
    UnitSwitch();
    SetGrid(Grid());
    ShowAxes(s.SAxis);
    ui_.txtWhiteD->setText(Text(s.ZWhite));
    ui_.txtBlackD->setText(Text(s.ZBlack));
    ui_.txtFeedPlane->setText(Text(s.FeedPlane));
    ui_.txtIncXY->setText(Text(s.StepOver));
    ui_.txtFilter->setText(Text(s.Filter));
}

void SettingsController::ColoraForm(TColor color) {
    state_.settings.Form = color;
    for (QWidget* panel : ui_.coloredPanels()) {
        QPalette palette = panel->palette();
        palette.setColor(QPalette::Window, ToQColor(color));
        panel->setPalette(palette);
        panel->setAutoFillBackground(true);
    }
}

void SettingsController::SetBackground(TColor color) {
    state_.settings.BackGround = color;
    if (view2d_) view2d_->SetColors(color, state_.settings.Grid);
    view3d_.setBackgroundColor(ToQColor(color));
}

void SettingsController::SettingClicked() {
    state_.ActiveCommand.Clear();
    DirLng();
    life_.VisPagina(page::kSettings);
    ui_.ColorBoxForm->setColor(state_.settings.Form);
    ui_.ColorBoxBackground->setColor(state_.settings.BackGround);
    ui_.ColorBoxDefLayers->setColor(cad_.DefaultLayersColor());
    ui_.ColorBoxGrid->setColor(state_.settings.Grid);
}

void SettingsController::DirLng() {
    const QSignalBlocker blocker(ui_.nol_cboLang);
    ui_.nol_cboLang->clear();
    // The shipped languages and the user's own, each once, in the same order
    // on every system.
    for (const std::string& name : LanguageStore().List()) ui_.nol_cboLang->addItem(Text(name));
    ui_.nol_cboLang->setCurrentIndex(ui_.nol_cboLang->findText(Text(LanguageName())));
}

void SettingsController::FormColorPicked(TColor color) {
    ColoraForm(color);
    life_.VisPagine({page::kSettings});
}

void SettingsController::BackgroundPicked(TColor color) {
    SetBackground(color);
}

void SettingsController::DefLayersPicked(TColor color) {
    state_.settings.DefLayers = color;
    cad_.SetDefaultLayersColor(color);
}

void SettingsController::GridColorPicked(TColor color) {
    state_.settings.Grid = color;
    if (view2d_) view2d_->SetColors(state_.settings.BackGround, color);
}

void SettingsController::UnitsChosen(int index) {
    state_.settings.Unit = index;
    UnitSwitch();
}

void SettingsController::UnitSwitch() {
    const bool mm = calvoro::UnitSwitch(state_.settings.Unit).isMM;
    ui_.nlblDimb->setText(Text(mm ? LangStringOr("1000", "mm") : LangStringOr("1001", "Inch")));
    if (view2d_) view2d_->SetUnits(mm, mm ? LangStringOr("1000", "mm") : LangStringOr("1002", "inch"));
}

void SettingsController::ResetClicked() {
    ColoraForm(kResetFormColor);
    ui_.ColorBoxForm->setColor(kResetFormColor);
    SetBackground(kResetBackground);
    ui_.ColorBoxBackground->setColor(kResetBackground);
    // The layer colour is reset where it is kept too, so the reset outlives
    // the next new job and the next run.
    DefLayersPicked(kResetLayers);
    ui_.ColorBoxDefLayers->setColor(kResetLayers);
    GridColorPicked(kResetGrid);
    ui_.ColorBoxGrid->setColor(kResetGrid);
}

void SettingsController::GridOnOffClicked() {
    coupling_.SetShowGrid(ui_.sbtGridOnOff->isChecked());
}

void SettingsController::AxisOnOffClicked() {
    ShowAxes(ui_.sbtAxisOnOff->isChecked());
}

void SettingsController::ShowAxes(bool shown) {
    state_.settings.SAxis = shown;
    ui_.sbtAxisOnOff->setChecked(shown);
    if (view2d_) view2d_->SetAxesShown(shown);
}

void SettingsController::LanguageChosen(const QString& name) {
    if (ChangeLanguage(name, {ui_.form})) {
        state_.settings.Language = LanguageName();
        ui_.btnZNC->setText(QString::fromStdString(LangString("753")));
        life_.Messaggio(QString::fromStdString(MessageTable()[page::kSettings]));
        UnitSwitch();
        for (ColorBox* box : {ui_.ColorBoxForm, ui_.ColorBoxBackground, ui_.ColorBoxDefLayers, ui_.ColorBoxGrid})
            box->NameColors();
    }
    DirLng();
}

void SettingsController::LanguagesChanged() {
    // The language in use was deleted: the program goes on in English, so
    // the box and the next start name a language that is there.
    if (!LanguageName().empty() && !LanguageStore().Exists(LanguageName())) {
        LanguageChosen(QString::fromLatin1(kDefaultLanguage.data(), kDefaultLanguage.size()));
        life_.Messaggio(QString::fromStdString(
            LangStringOr("1057", "The language in use was deleted; Calvoro now speaks English.")));
        return;
    }
    DirLng();
}

GridValues SettingsController::Grid() const {
    GridValues values;
    values.GridDeltaX = state_.settings.GridX;
    values.GridDeltaY = state_.settings.GridY;
    values.GridSubX = state_.GridSubX;
    values.GridSubY = state_.GridSubY;
    values.XSnap = state_.settings.SnapX;
    values.YSnap = state_.settings.SnapY;
    values.UseSnap = state_.UseSnap;
    values.ShowGrid = state_.settings.SGrid;
    return values;
}

void SettingsController::SetGrid(const GridValues& values) {
    state_.settings.GridX = values.GridDeltaX;
    state_.settings.GridY = values.GridDeltaY;
    state_.GridSubX = values.GridSubX;
    state_.GridSubY = values.GridSubY;
    state_.settings.SnapX = values.XSnap;
    state_.settings.SnapY = values.YSnap;
    state_.UseSnap = values.UseSnap;
    state_.settings.SGrid = values.ShowGrid;
    ui_.sbtGridOnOff->setChecked(values.ShowGrid);
    // The snap button of the CAD tool bar shows the one snap switch too.
    if (ui_.sbmSnap) {
        ui_.sbmSnap->setChecked(values.UseSnap);
        ui_.sbmSnap->setIcon(SnapGlyph(values.UseSnap));
    }
    if (view2d_) view2d_->ApplyGrid(values);
    // The grid page follows, except where a box already says the value: the
    // one being typed in keeps its text ("2." while "2.5" is on its way).
    const std::pair<QComboBox*, double> boxes[] = {
        {ui_.nol_cboGridX, values.GridDeltaX},
        {ui_.nol_cboGridY, values.GridDeltaY},
        {ui_.nol_cboGridSubX, values.GridSubX},
        {ui_.nol_cboGridSubY, values.GridSubY},
    };
    for (const auto& [box, value] : boxes)
        if (GridCoupling::ParseSpacing(box->currentText().toStdString()) != value) ShowSpacing(box, value);
}

void SettingsController::ShowGridDialog() {
    if (!gridDialog_) gridDialog_ = new GridDialog(*this, ui_.form);
    dialogs_.runModal(*gridDialog_);
}

}  // namespace calvoro

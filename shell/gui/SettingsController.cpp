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

#include "kernel/drawing/QVCmp2D.h"
#include "kernel/platform/IniFile.h"
#include "shell/app/AppInfo.h"
#include "shell/app/MainState.h"
#include "shell/app/Settings.h"
#include "shell/gui/Application.h"
#include "shell/gui/ColorBox.h"
#include "shell/gui/LanguageChange.h"
#include "shell/gui/MainLifeCycle.h"
#include "shell/gui/MainWindowUi.h"
#include "shell/gui/PictureSlot.h"
#include "shell/gui/View3D.h"
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
                                       MainLifeCycle& life)
    : QObject(ui.form), ui_(ui), state_(state), cad_(cad), view3d_(view3d), life_(life) {
    connect(ui.sbtSetting, &QToolButton::clicked, this, &SettingsController::SettingClicked);
    connect(ui.mnuSetting, &QAction::triggered, this, &SettingsController::SettingClicked);
    connect(ui.SetGridSpacing1, &QAction::triggered, this, [this] { life_.VisPagine({kPageGridSet}); });
    connect(ui.ColorBoxForm, &ColorBox::colorPicked, this, &SettingsController::FormColorPicked);
    connect(ui.ColorBoxBackground, &ColorBox::colorPicked, this, &SettingsController::BackgroundPicked);
    connect(ui.ColorBoxDefLayers, &ColorBox::colorPicked, this, &SettingsController::DefLayersPicked);
    connect(ui.ColorBoxGrid, &ColorBox::colorPicked, this, &SettingsController::GridColorPicked);
    // The user's choices only: the program setting a combo's text never counts.
    connect(ui.cboUnits, &QComboBox::activated, this, &SettingsController::UnitsChosen);
    connect(ui.nol_cboLang, &QComboBox::textActivated, this, &SettingsController::LanguageChosen);
    connect(ui.sbtReset, &QPushButton::clicked, this, &SettingsController::ResetClicked);
    connect(ui.sbtGridOnOff, &QToolButton::clicked, this, &SettingsController::GridOnOffClicked);
    connect(ui.sbtAxisOnOff, &QToolButton::clicked, this, &SettingsController::AxisOnOffClicked);
    for (GridValue which : {GridValue::X, GridValue::Y, GridValue::SubX, GridValue::SubY}) {
        QComboBox* combo = GridCombo(which);
        connect(combo, &QComboBox::textActivated, this, [this, which](const QString& t) { GridTextChanged(which, t); });
        connect(combo->lineEdit(), &QLineEdit::textEdited, this,
                [this, which](const QString& t) { GridTextChanged(which, t); });
        connect(combo->lineEdit(), &QLineEdit::editingFinished, this, [this, which] { GridEditFinished(which); });
    }
}

void SettingsController::ReadAndApply() {
    const IniFile file(state_.settingsFile);
    state_.settings = ReadSettings(file);
    state_.settingsRead = true;
    if (state_.settings.NcPath.empty()) {
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        state_.settings.NcPath = QDir(documents).absolutePath().toStdString() + "/";
    }
    Apply();
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
    ui_.sbtGridOnOff->setChecked(s.SGrid);
    ui_.sbtAxisOnOff->setChecked(s.SAxis);
    ui_.txtWhiteD->setText(Text(s.ZWhite));
    ui_.txtBlackD->setText(Text(s.ZBlack));
    ui_.txtFeedPlane->setText(Text(s.FeedPlane));
    ui_.txtIncXY->setText(Text(s.StepOver));
    ui_.txtFilter->setText(Text(s.Filter));
    for (GridValue which : {GridValue::X, GridValue::Y, GridValue::SubX, GridValue::SubY})
        GridCombo(which)->setEditText(Text(FormatIniFloat(GridField(which))));
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
    ui_.pnlVistaGrafica->setBackgroundColor(ToQColor(color));
    view3d_.setBackgroundColor(ToQColor(color));
}

void SettingsController::SettingClicked() {
    state_.ActiveCommand = kNoCommand;
    DirLng();
    life_.VisPagina(kPageSettings);
    ui_.ColorBoxForm->setColor(state_.settings.Form);
    ui_.ColorBoxBackground->setColor(state_.settings.BackGround);
    ui_.ColorBoxDefLayers->setColor(cad_.DefaultLayersColor());
    ui_.ColorBoxGrid->setColor(state_.settings.Grid);
}

void SettingsController::DirLng() {
    const QSignalBlocker blocker(ui_.nol_cboLang);
    ui_.nol_cboLang->clear();
    QDir folder(QString::fromStdString(LanguageFolder().string()));
    QStringList names;
    // Name filters match without regard to case: "German.LNG" is listed too.
    for (const QFileInfo& file : folder.entryInfoList({"*.lng"}, QDir::Files))
        if (!names.contains(file.completeBaseName())) names << file.completeBaseName();
    // Listed in the same order on every system.
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    ui_.nol_cboLang->addItems(names);
    ui_.nol_cboLang->setCurrentIndex(ui_.nol_cboLang->findText(Text(LanguageName())));
}

void SettingsController::FormColorPicked(TColor color) {
    ColoraForm(color);
    life_.VisPagine({kPageSettings});
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
}

void SettingsController::UnitsChosen(int index) {
    state_.settings.Unit = index;
    UnitSwitch();
}

void SettingsController::UnitSwitch() {
    ui_.nlblDimb->setText(QString::fromLatin1(calvoro::UnitSwitch(state_.settings.Unit).label.data()));
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
    state_.settings.SGrid = ui_.sbtGridOnOff->isChecked();
}

void SettingsController::AxisOnOffClicked() {
    state_.settings.SAxis = ui_.sbtAxisOnOff->isChecked();
}

void SettingsController::LanguageChosen(const QString& name) {
    if (ChangeLanguage(name, {ui_.form})) {
        state_.settings.Language = LanguageName();
        ui_.btnZNC->setText(QString::fromStdString(LangString("753")));
        life_.Messaggio(QString::fromStdString(MessageTable()[kPageSettings]));
    }
    DirLng();
}

double& SettingsController::GridField(GridValue which) {
    switch (which) {
        case GridValue::X: return state_.settings.GridX;
        case GridValue::Y: return state_.settings.GridY;
        case GridValue::SubX: return state_.GridSubX;
        case GridValue::SubY: return state_.GridSubY;
    }
    return state_.settings.GridX;
}

QComboBox* SettingsController::GridCombo(GridValue which) const {
    switch (which) {
        case GridValue::X: return ui_.nol_cboGridX;
        case GridValue::Y: return ui_.nol_cboGridY;
        case GridValue::SubX: return ui_.nol_cboGridSubX;
        case GridValue::SubY: return ui_.nol_cboGridSubY;
    }
    return ui_.nol_cboGridX;
}

void SettingsController::GridTextChanged(GridValue which, const QString& text) {
    const std::optional<double> value = ParseIniFloat(text.toStdString());
    // A spacing of zero or less would draw no grid at all, or forever.
    if (!value || !std::isfinite(*value) || *value <= 0) return;
    GridField(which) = *value;
    const bool coupled = (which == GridValue::X || which == GridValue::Y) ? ui_.chkUnisceGrid->isChecked()
                                                                           : ui_.chkUnisceSubGrid->isChecked();
    if (!coupled) return;
    const GridValue other = which == GridValue::X      ? GridValue::Y
                            : which == GridValue::Y    ? GridValue::X
                            : which == GridValue::SubX ? GridValue::SubY
                                                       : GridValue::SubX;
    GridField(other) = *value;
    const QSignalBlocker blocker(GridCombo(other));
    GridCombo(other)->setEditText(text);
}

void SettingsController::GridEditFinished(GridValue which) {
    QComboBox* combo = GridCombo(which);
    const std::optional<double> value = ParseIniFloat(combo->currentText().toStdString());
    if (value && std::isfinite(*value) && *value > 0) return;
    const QString typed = combo->currentText();
    combo->setEditText(Text(FormatIniFloat(GridField(which))));
    Application::reportError(QStringLiteral("\"%1\" is not a grid spacing: enter a number above 0.").arg(typed));
}

}  // namespace calvoro

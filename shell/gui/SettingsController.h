// The settings file and the pages that change it: reading the file at start
// and applying every value, the settings page (colours, units, language), the
// grid page and the grid and axis switches. Changes take effect at once and
// reach the file only when the user confirms closing.
#pragma once

#include <QObject>
#include <QString>

#include "kernel/draw/Color.h"

class QComboBox;
class QCheckBox;

namespace calvoro {

class MainLifeCycle;
class TQVCmp2D;
class View3D;
struct MainState;
struct MainWindowUi;

class SettingsController : public QObject {
    Q_OBJECT
public:
    SettingsController(MainWindowUi& ui, MainState& state, TQVCmp2D& cad, View3D& view3d, MainLifeCycle& life);

    // Reads the settings file (state.settingsFile) and applies it; marks the
    // settings as read only when the file could be read.
    void ReadAndApply();
    // Puts the current settings on the window, the drawing and the views.
    void Apply();

    void ColoraForm(TColor color);
    void SettingClicked();  // sbtSettingClick: the settings page with its tab
    void DirLng();          // fills the language list
    void FormColorPicked(TColor color);
    void BackgroundPicked(TColor color);
    void DefLayersPicked(TColor color);
    void GridColorPicked(TColor color);
    void UnitsChosen(int index);
    void ResetClicked();     // "Reset def."
    void GridOnOffClicked();
    void AxisOnOffClicked();
    void LanguageChosen(const QString& name);

    // The grid page: a spacing typed or chosen. Texts that are not yet a
    // number are ignored while typing; one that is still no positive number
    // when the user leaves the box is reported and the box shows the spacing
    // in force again.
    enum class GridValue { X, Y, SubX, SubY };
    void GridTextChanged(GridValue which, const QString& text);
    void GridEditFinished(GridValue which);

private:
    void SetBackground(TColor color);
    void UnitSwitch();
    double& GridField(GridValue which);
    QComboBox* GridCombo(GridValue which) const;

    MainWindowUi& ui_;
    MainState& state_;
    TQVCmp2D& cad_;
    View3D& view3d_;
    MainLifeCycle& life_;
};

}  // namespace calvoro

// The settings file and the pages that change it: reading the file at start
// and applying every value, the settings page (colours, units, language), the
// grid page and the grid and axis switches. Changes take effect at once and
// reach the file only when the user confirms closing.
#pragma once

#include <QObject>
#include <QString>

#include "kernel/draw/Color.h"
#include "shell/app/GridCoupling.h"

namespace calvoro {

class DialogServices;
class GridDialog;
class MainLifeCycle;
class TQVCmp2D;
class View2DHost;
class View3D;
struct MainState;
struct MainWindowUi;

// It is also where the grid and snap values live until the 2D view holds them:
// the grid page, the grid dialog and the grid button change them through it.
class SettingsController : public QObject, public GridHost {
    Q_OBJECT
public:
    SettingsController(MainWindowUi& ui, MainState& state, TQVCmp2D& cad, View3D& view3d, MainLifeCycle& life,
                       DialogServices& dialogs);

    // The 2D view that shows the colours, units, grid and snap; its strip's
    // Grid and Snap buttons then change the same state as the tool bar.
    void SetView2D(View2DHost* view);

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
    // The unit label and the view's unit, in the language in force.
    void UnitSwitch();
    void ResetClicked();     // "Reset def."
    void GridOnOffClicked();
    void AxisOnOffClicked();
    // The grid dialog, filled with the values in force (the grid button's
    // right click and the grid spacing menu).
    void ShowGridDialog();
    void LanguageChosen(const QString& name);
    // The language manager wrote or deleted a language file.
    void LanguagesChanged();

    GridValues Grid() const override;
    void SetGrid(const GridValues& values) override;
    // The grid of the picture being placed (ResetGridForImage).
    PictureGrid& ImageGrid() { return pictureGrid_; }

private:
    void SetBackground(TColor color);
    void ShowAxes(bool shown);

    MainWindowUi& ui_;
    MainState& state_;
    TQVCmp2D& cad_;
    View3D& view3d_;
    View2DHost* view2d_ = nullptr;
    MainLifeCycle& life_;
    DialogServices& dialogs_;
    GridCoupling coupling_{*this};
    PictureGrid pictureGrid_{*this};
    GridDialog* gridDialog_ = nullptr;
};

}  // namespace calvoro

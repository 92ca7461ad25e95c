// The widgets of the main window, each under the object name the language
// files use, built in one place so the window class itself stays short and the
// controllers can be handed exactly the widgets they work on.
#pragma once

#include <QString>
#include <QWidget>
#include <array>

#include "shell/app/PageSwitcher.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QMenu;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QTabBar;
class QToolBar;
class QToolButton;
class QTreeWidget;

namespace calvoro {

class ColorBox;
class PictureSlot;

// A page of the work panel. Its caption is the text of its tab, when the tab
// shows.
class WorkPage : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString caption READ caption WRITE setCaption)
public:
    using QWidget::QWidget;
    QString caption() const { return caption_; }
    void setCaption(const QString& caption);

signals:
    void captionChanged();

private:
    QString caption_;
};

// The names of the 51 pages, by index.
extern const std::array<const char*, page::kCount> kPageNames;

struct MainWindowUi {
    QMainWindow* form = nullptr;

    QMenu* mnuFile = nullptr;
    QAction *mnuOpen = nullptr, *mnuNew = nullptr, *mnuSave = nullptr, *mnuExit = nullptr;
    QMenu* mnu3D = nullptr;
    QAction *mnuShowTool = nullptr, *mnuShowXYZ = nullptr;
    QAction *mnuSPShade = nullptr, *mnuSPWire = nullptr, *mnuSPNone = nullptr;
    QMenu* mnuSettings = nullptr;
    QAction *mnuSetting = nullptr, *SetGridSpacing1 = nullptr;
    // The grid and snap pages of the work panel.
    QAction *mnuGridPage = nullptr, *mnuSnapPage = nullptr;
    QToolButton* sbtCloseGridPage = nullptr;
    QMenu* mnuHelpMenu = nullptr;
    QAction *mnuHelp = nullptr, *mnuTutor = nullptr, *mnuWeb = nullptr, *mnuAbout1 = nullptr;

    QToolBar *pnlTbr1 = nullptr, *pnlTbr2 = nullptr;
    QToolButton *sbtOpen = nullptr, *sbtSave = nullptr, *sbtNew = nullptr, *sbtSetting = nullptr;
    QToolButton *sbtAbout = nullptr, *sbtExit = nullptr;
    QToolButton *sbtGridOnOff = nullptr, *sbtAxisOnOff = nullptr;
    QToolButton* sbtShow = nullptr;  // 2D or 3D view
    QToolButton *sbtTopView = nullptr, *sbtFrontView = nullptr, *sbtSideView = nullptr, *sbtIsoView = nullptr;

    QStackedWidget* views = nullptr;  // the 2D view, then the 3D view
    PictureSlot* pnlVistaGrafica = nullptr;
    QWidget* pnlVista3D = nullptr;  // holds the 3D view's widget

    QWidget* pnlCmd = nullptr;  // the right-hand column
    QTabBar* tabPages = nullptr;
    QStackedWidget* PageControl1 = nullptr;
    std::array<WorkPage*, page::kCount> pages{};

    QLabel *nol_pnlStatus1 = nullptr, *pnlStatus2 = nullptr, *pnlStatus3 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;

    // Settings page.
    QComboBox* cboUnits = nullptr;
    QLabel* nlblDimb = nullptr;
    ColorBox *ColorBoxForm = nullptr, *ColorBoxBackground = nullptr, *ColorBoxDefLayers = nullptr,
             *ColorBoxGrid = nullptr;
    QComboBox* nol_cboLang = nullptr;
    QPushButton *sbtReset = nullptr, *sbtTransLng = nullptr;
    // Grid page.
    QComboBox *nol_cboGridX = nullptr, *nol_cboGridY = nullptr, *nol_cboGridSubX = nullptr,
              *nol_cboGridSubY = nullptr;
    QCheckBox *chkUnisceGrid = nullptr, *chkUnisceSubGrid = nullptr;
    // Job values the settings fill on the wizard's pages, and the picture's
    // facts on the size page: the wizard's steps (shell/gui/steps) build them.
    QLineEdit *txtOriginX = nullptr, *txtOriginY = nullptr, *txtWhiteD = nullptr, *txtBlackD = nullptr;
    QLineEdit *txtFeedPlane = nullptr, *txtIncXY = nullptr, *txtFilter = nullptr;
    QPushButton* btnZNC = nullptr;
    QTreeWidget* treInfoRas = nullptr;

    // Zoom and pan of the 2D and 3D views: the view tool bar's buttons, their
    // twins in the views' right-click menu, the cancel button; the measuring
    // read-outs, the snap boxes and the entity tree.
    QToolButton *sbtZoomIn = nullptr, *sbtZoomBack = nullptr, *sbtZoomWin = nullptr, *sbtPan = nullptr,
                *sbtAutozoom = nullptr;
    QToolButton* btnCancel = nullptr;
    QMenu* LocalPopUp = nullptr;
    QAction *mnuDone = nullptr, *mnuCancel = nullptr, *mnuPan = nullptr, *mnuAutozoom = nullptr,
            *mnuZoomWindow = nullptr, *mnuZoomIn = nullptr, *mnuZoomOut = nullptr;
    QLabel *nol_stxLineaDeltaX = nullptr, *nol_stxLineaDeltaY = nullptr, *nol_stxLungLinea = nullptr,
           *nol_stxAngoloLinea = nullptr;
    QLineEdit *txtDistX1 = nullptr, *txtDistY1 = nullptr, *txtDistX2 = nullptr, *txtDistY2 = nullptr,
              *txtDistDx = nullptr, *txtDistDy = nullptr, *txtDistLen = nullptr, *txtDistAngle = nullptr;
    QComboBox *nol_cboXSnap = nullptr, *nol_cboYSnap = nullptr;
    QCheckBox* chkSnap = nullptr;
    QToolButton *SpeedButton9 = nullptr, *SpeedButton11 = nullptr;
    QTreeWidget* TreeGeo = nullptr;
    // The CAD commands: the Draw menu, whose submenus are also the drop-down
    // menus of the linked buttons on the CAD tool bar (in LinkedGroup order),
    // the accept item and the snap button. The command panels give them life.
    QMenu* mnuCad = nullptr;
    QToolBar* pnlTbrCad = nullptr;
    std::array<QToolButton*, 6> linkedButtons{};
    std::array<QMenu*, 6> linkedMenus{};
    // mnuDone (accept) stands in the Draw menu and in the views' right-click menu.
    QToolButton* sbmSnap = nullptr;
    // The layer page, from the tool bar and the Draw menu.
    QToolButton* sbtLayer = nullptr;
    QAction* mnuLayer = nullptr;

    // The panels that take the window colour.
    QList<QWidget*> coloredPanels() const;
};

// Builds every widget into the window.
void BuildMainWindowUi(QMainWindow* form, MainWindowUi& ui);

}  // namespace calvoro

#include "shell/gui/MainWindowUi.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "shell/app/CommandTable.h"
#include "shell/gui/ColorBox.h"
#include "shell/gui/GridCombos.h"
#include "shell/gui/PictureSlot.h"

namespace calvoro {

const std::array<const char*, page::kCount> kPageNames = {
    "tabVect1",       "tabVect2",      "tabVect3",       "tabFont",         "tabCircleCtDia", "tabAttrib",
    "tabSnapGrid",    "tabLayer",      "tabInfo",        "tabMirror",       "tabScale",       "tabVisGridSet",
    "tabCnc1",        "tabSettings",   "tabOpen2",       "tabCnc2",         "tabCnc3",        "tabChangeLayer",
    "tabOffset",      "tabDrill",      "tabPocket",      "TabSheet1",       "tabFillet",      "tabPolySemplify",
    "tabExtend",      "tabArcPolar",   "tabPoly",        "tabCircleCtPt",   "tabDelSmall",    "tabLineInfo",
    "tabArcInfo",     "tabRectInfo",   "tabEllipseInfo", "tabSpline",       "tabPoint",       "tabExplodeInfo",
    "tabLinePolar",   "tabLineTanAngle", "tabArcTan",    "tabRotate",       "tabTranslate",   "tabPointGrid",
    "tabBoltCircle",  "tabDistance",   "tabCalvoro1",    "tabCalvoro2",     "tabCalvoro3",    "tabCalvoro4",
    "tabCalvoro5",    "tabCalvoro6",   "tabIso",
};

void WorkPage::setCaption(const QString& caption) {
    caption_ = caption;
    emit captionChanged();
}

namespace {

template <class T>
T* Named(T* object, const char* name) {
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

QAction* MenuAction(QMenu* menu, const char* name, const QString& text, bool checkable = false) {
    QAction* action = Named(menu->addAction(text), name);
    action->setCheckable(checkable);
    return action;
}

QToolButton* ToolButton(QToolBar* bar, const char* name, const QString& text, QStyle::StandardPixmap icon,
                        bool checkable = false) {
    auto* button = Named(new QToolButton(bar), name);
    button->setText(text);
    button->setToolTip(text);
    button->setCheckable(checkable);
    if (icon != QStyle::SP_CustomBase) button->setIcon(bar->style()->standardIcon(icon));
    button->setToolButtonStyle(icon == QStyle::SP_CustomBase ? Qt::ToolButtonTextOnly : Qt::ToolButtonIconOnly);
    bar->addWidget(button);
    return button;
}

QComboBox* GridCombo(QFormLayout* form, QWidget* page, const char* name, const char* labelName,
                     const QString& label) {
    QComboBox* combo = MakeSpacingBox(name, page);
    form->addRow(Named(new QLabel(label, page), labelName), combo);
    return combo;
}

void BuildMenus(QMainWindow* form, MainWindowUi& ui) {
    QMenuBar* bar = form->menuBar();
    ui.mnuFile = Named(bar->addMenu("&File"), "mnuFile");
    ui.mnuOpen = MenuAction(ui.mnuFile, "mnuOpen", "&Open...");
    ui.mnuSave = MenuAction(ui.mnuFile, "mnuSave", "&Save...");
    ui.mnuNew = MenuAction(ui.mnuFile, "mnuNew", "&New job");
    ui.mnuFile->addSeparator();
    ui.mnuExit = MenuAction(ui.mnuFile, "mnuExit", "E&xit");

    ui.mnu3D = Named(bar->addMenu("&3D view"), "mnu3D");
    ui.mnuShowTool = MenuAction(ui.mnu3D, "mnuShowTool", "Show the &cutter", true);
    ui.mnuShowXYZ = MenuAction(ui.mnu3D, "mnuShowXYZ", "Show the &axes", true);
    ui.mnuShowXYZ->setChecked(true);
    ui.mnu3D->addSeparator();
    auto* surface = new QActionGroup(form);
    ui.mnuSPShade = MenuAction(ui.mnu3D, "mnuSPShade", "&Shaded surface", true);
    ui.mnuSPWire = MenuAction(ui.mnu3D, "mnuSPWire", "&Wire frame", true);
    ui.mnuSPNone = MenuAction(ui.mnu3D, "mnuSPNone", "&No surface", true);
    for (QAction* action : {ui.mnuSPShade, ui.mnuSPWire, ui.mnuSPNone}) surface->addAction(action);
    ui.mnuSPShade->setChecked(true);

    ui.mnuSettings = Named(bar->addMenu("&Settings"), "mnuSettings");
    ui.mnuSetting = MenuAction(ui.mnuSettings, "mnuSetting", "&Settings...");
    ui.SetGridSpacing1 = MenuAction(ui.mnuSettings, "SetGridSpacing1", "&Grid spacing...");
    ui.mnuGridPage = MenuAction(ui.mnuSettings, "mnuGridPage", "Grid &page");
    ui.mnuSnapPage = MenuAction(ui.mnuSettings, "mnuSnapPage", "S&nap page");

    ui.mnuHelpMenu = Named(bar->addMenu("&Help"), "mnuHelpMenu");
    ui.mnuHelp = MenuAction(ui.mnuHelpMenu, "mnuHelp", "&Contents");
    ui.mnuHelp->setShortcut(QKeySequence::HelpContents);
    ui.mnuTutor = MenuAction(ui.mnuHelpMenu, "mnuTutor", "&Tutorial");
    ui.mnuWeb = MenuAction(ui.mnuHelpMenu, "mnuWeb", "Calvoro on the &web");
    ui.mnuHelpMenu->addSeparator();
    ui.mnuAbout1 = MenuAction(ui.mnuHelpMenu, "mnuAbout1", "&About Calvoro");
}

void BuildToolBars(QMainWindow* form, MainWindowUi& ui) {
    ui.pnlTbr1 = Named(form->addToolBar("Files"), "pnlTbr1");
    ui.pnlTbr1->setMovable(false);
    ui.sbtOpen = ToolButton(ui.pnlTbr1, "sbtOpen", "Open a picture or job", QStyle::SP_DialogOpenButton);
    ui.sbtSave = ToolButton(ui.pnlTbr1, "sbtSave", "Save the job", QStyle::SP_DialogSaveButton);
    ui.sbtNew = ToolButton(ui.pnlTbr1, "sbtNew", "New job", QStyle::SP_FileIcon);
    ui.sbtSetting = ToolButton(ui.pnlTbr1, "sbtSetting", "Settings", QStyle::SP_FileDialogDetailedView);
    ui.sbtAbout = ToolButton(ui.pnlTbr1, "sbtAbout", "About Calvoro", QStyle::SP_MessageBoxInformation);
    ui.sbtExit = ToolButton(ui.pnlTbr1, "sbtExit", "Exit", QStyle::SP_DialogCloseButton);

    ui.pnlTbr2 = Named(form->addToolBar("View"), "pnlTbr2");
    ui.pnlTbr2->setMovable(false);
    ui.sbtGridOnOff = ToolButton(ui.pnlTbr2, "sbtGridOnOff", "Grid", QStyle::SP_CustomBase, true);
    ui.sbtGridOnOff->setToolTip("Grid on or off (right button: grid spacing)");
    ui.sbtAxisOnOff = ToolButton(ui.pnlTbr2, "sbtAxisOnOff", "Axes", QStyle::SP_CustomBase, true);
    ui.pnlTbr2->addSeparator();
    ui.sbtShow = ToolButton(ui.pnlTbr2, "sbtShow", "3D", QStyle::SP_CustomBase, true);
    ui.sbtTopView = ToolButton(ui.pnlTbr2, "sbtTopView", "Top", QStyle::SP_CustomBase);
    ui.sbtFrontView = ToolButton(ui.pnlTbr2, "sbtFrontView", "Front", QStyle::SP_CustomBase);
    ui.sbtSideView = ToolButton(ui.pnlTbr2, "sbtSideView", "Side", QStyle::SP_CustomBase);
    ui.sbtIsoView = ToolButton(ui.pnlTbr2, "sbtIsoView", "Iso", QStyle::SP_CustomBase);
}

// The Draw menu and the CAD tool bar: one submenu per linked button, holding
// the actions of the command table, shared by the menu bar and the button.
void BuildCadCommands(QMainWindow* form, MainWindowUi& ui) {
    static constexpr const char* kMenuNames[kLinkedGroupCount] = {"mnuCadArc",    "mnuCadModify", "mnuCadXform",
                                                                   "mnuCadDelete", "mnuCadLine",   "mnuCadPoint"};
    static constexpr const char* kMenuTexts[kLinkedGroupCount] = {"&Circles and arcs", "&Modify", "&Transform",
                                                                  "&Delete", "&Lines", "&Points"};
    ui.mnuCad = Named(new QMenu("&Draw", form), "mnuCad");
    form->menuBar()->insertMenu(ui.mnuSettings->menuAction(), ui.mnuCad);
    ui.pnlTbrCad = Named(new QToolBar("Draw", form), "pnlTbrCad");
    ui.pnlTbrCad->setMovable(false);
    form->addToolBar(Qt::LeftToolBarArea, ui.pnlTbrCad);  // a column of its own, so it never folds away
    for (int g = 0; g < kLinkedGroupCount; ++g) {
        const auto i = static_cast<std::size_t>(g);
        ui.linkedMenus[i] = Named(ui.mnuCad->addMenu(kMenuTexts[i]), kMenuNames[i]);
        for (const CommandRow& row : CommandRows())
            if (static_cast<int>(row.Group) == g) MenuAction(ui.linkedMenus[i], row.MenuName, row.MenuName + 3);
        auto* button = Named(new QToolButton(ui.pnlTbrCad), ButtonName(static_cast<LinkedGroup>(g)));
        button->setPopupMode(QToolButton::MenuButtonPopup);
        button->setMenu(ui.linkedMenus[i]);
        ui.pnlTbrCad->addWidget(button);
        ui.linkedButtons[i] = button;
    }
    ui.mnuCad->addSeparator();
    ui.mnuDone = MenuAction(ui.mnuCad, "mnuDone", "&Done");
    ui.mnuLayer = MenuAction(ui.mnuCad, "mnuLayer", "La&yers");
    ui.pnlTbrCad->addSeparator();
    ui.sbmSnap = ToolButton(ui.pnlTbrCad, "sbmSnap", "Snap", QStyle::SP_CustomBase, true);
    ui.sbmSnap->setContextMenuPolicy(Qt::CustomContextMenu);
    ui.sbtLayer = ToolButton(ui.pnlTbrCad, "sbtLayer", "Layers", QStyle::SP_CustomBase);
}

void BuildSettingsPage(MainWindowUi& ui) {
    WorkPage* page = ui.pages[page::kSettings];
    page->setCaption("Settings");
    auto* form = new QFormLayout(page);
    ui.cboUnits = Named(new QComboBox(page), "cboUnits");
    ui.cboUnits->addItems({"mm", "inch"});
    form->addRow(Named(new QLabel("Units:", page), "lblUnits"), ui.cboUnits);
    ui.nlblDimb = Named(new QLabel("mm", page), "nlblDimb");
    form->addRow(Named(new QLabel("Measures in:", page), "lblDimb"), ui.nlblDimb);
    const auto colorRow = [&](const char* name, const char* labelName, const QString& label) {
        auto* box = Named(new ColorBox(page), name);
        form->addRow(Named(new QLabel(label, page), labelName), box);
        return box;
    };
    ui.ColorBoxForm = colorRow("ColorBoxForm", "lblColorForm", "Window:");
    ui.ColorBoxBackground = colorRow("ColorBoxBackground", "lblColorBackground", "View background:");
    ui.ColorBoxDefLayers = colorRow("ColorBoxDefLayers", "lblColorDefLayers", "Layers:");
    ui.ColorBoxDefLayers->setEnabled(false);
    ui.ColorBoxGrid = colorRow("ColorBoxGrid", "lblColorGrid", "Grid:");
    ui.nol_cboLang = Named(new QComboBox(page), "nol_cboLang");
    form->addRow(Named(new QLabel("Language:", page), "lblLang"), ui.nol_cboLang);
    ui.sbtReset = Named(new QPushButton("Reset def.", page), "sbtReset");
    ui.sbtTransLng = Named(new QPushButton("Translation ...", page), "sbtTransLng");
    form->addRow(ui.sbtReset, ui.sbtTransLng);
}

void BuildGridPage(MainWindowUi& ui) {
    WorkPage* page = ui.pages[page::kGridSet];
    page->setCaption("Grid");
    auto* form = new QFormLayout(page);
    ui.nol_cboGridX = GridCombo(form, page, "nol_cboGridX", "lblGridX", "Grid X:");
    ui.nol_cboGridY = GridCombo(form, page, "nol_cboGridY", "lblGridY", "Grid Y:");
    ui.chkUnisceGrid = Named(new QCheckBox("Same X and Y", page), "chkUnisceGrid");
    form->addRow(ui.chkUnisceGrid);
    ui.nol_cboGridSubX = GridCombo(form, page, "nol_cboGridSubX", "lblGridSubX", "Fine grid X:");
    ui.nol_cboGridSubY = GridCombo(form, page, "nol_cboGridSubY", "lblGridSubY", "Fine grid Y:");
    ui.chkUnisceSubGrid = Named(new QCheckBox("Same X and Y", page), "chkUnisceSubGrid");
    form->addRow(ui.chkUnisceSubGrid);
    ui.sbtCloseGridPage = Named(new QToolButton(page), "sbtCloseGridPage");
    ui.sbtCloseGridPage->setText("Close");
    form->addRow(ui.sbtCloseGridPage);
}

void BuildRightColumn(MainWindowUi& ui, QWidget* central) {
    ui.pnlCmd = Named(new QWidget(central), "pnlCmd");
    ui.pnlCmd->setFixedWidth(234);
    auto* column = new QVBoxLayout(ui.pnlCmd);
    column->setContentsMargins(2, 2, 2, 2);
    ui.tabPages = Named(new QTabBar(ui.pnlCmd), "tabPages");
    ui.tabPages->setExpanding(false);
    ui.PageControl1 = Named(new QStackedWidget(ui.pnlCmd), "PageControl1");
    for (int i = 0; i < page::kCount; ++i) {
        ui.pages[static_cast<std::size_t>(i)] = Named(new WorkPage(ui.PageControl1), kPageNames[static_cast<std::size_t>(i)]);
        ui.PageControl1->addWidget(ui.pages[static_cast<std::size_t>(i)]);
    }
    column->addWidget(ui.tabPages);
    column->addWidget(ui.PageControl1, 1);
}

void BuildStatusBar(QMainWindow* form, MainWindowUi& ui) {
    ui.nol_pnlStatus1 = Named(new QLabel(form), "nol_pnlStatus1");
    ui.nol_pnlStatus1->setMinimumWidth(220);
    ui.pnlStatus2 = Named(new QLabel(form), "pnlStatus2");
    ui.pnlStatus3 = Named(new QLabel(form), "pnlStatus3");
    ui.ProgressBar1 = Named(new QProgressBar(form), "ProgressBar1");
    ui.ProgressBar1->setMaximumWidth(160);
    ui.ProgressBar1->hide();
    form->statusBar()->addWidget(ui.nol_pnlStatus1);
    form->statusBar()->addWidget(ui.pnlStatus2, 1);
    form->statusBar()->addPermanentWidget(ui.ProgressBar1);
    form->statusBar()->addPermanentWidget(ui.pnlStatus3);
}

// The page's own layout when it has one (a page shared with other panels),
// otherwise a new column.
QBoxLayout* PageColumn(QWidget* page) {
    if (auto* column = qobject_cast<QBoxLayout*>(page->layout())) return column;
    return new QVBoxLayout(page);
}

QLabel* ReadoutRow(QFormLayout* form, QWidget* page, const char* name, const char* labelName, const QString& label) {
    auto* value = Named(new QLabel(page), name);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(Named(new QLabel(label, page), labelName), value);
    return value;
}

QLineEdit* ReadoutEdit(QFormLayout* form, QWidget* page, const char* name, const char* labelName,
                       const QString& label) {
    auto* edit = Named(new QLineEdit(page), name);
    edit->setReadOnly(true);
    form->addRow(Named(new QLabel(label, page), labelName), edit);
    return edit;
}

void BuildViewControls(QMainWindow* form, MainWindowUi& ui) {
    ui.pnlTbr2->addSeparator();
    ui.sbtZoomIn = ToolButton(ui.pnlTbr2, "sbtZoomIn", "Zoom in", QStyle::SP_CustomBase);
    ui.sbtZoomBack = ToolButton(ui.pnlTbr2, "sbtZoomBack", "Zoom out", QStyle::SP_CustomBase);
    ui.sbtZoomWin = ToolButton(ui.pnlTbr2, "sbtZoomWin", "Window", QStyle::SP_CustomBase, true);
    ui.sbtPan = ToolButton(ui.pnlTbr2, "sbtPan", "Pan", QStyle::SP_CustomBase, true);
    ui.sbtAutozoom = ToolButton(ui.pnlTbr2, "sbtAutozoom", "All", QStyle::SP_CustomBase);
    ui.btnCancel = ToolButton(ui.pnlTbr2, "btnCancel", "Cancel", QStyle::SP_CustomBase);

    ui.LocalPopUp = Named(new QMenu(form), "LocalPopUp");
    // The Draw menu's Done is the same action.
    if (ui.mnuDone)
        ui.LocalPopUp->addAction(ui.mnuDone);
    else
        ui.mnuDone = MenuAction(ui.LocalPopUp, "mnuDone", "&Done");
    ui.mnuCancel = MenuAction(ui.LocalPopUp, "mnuCancel", "&Cancel");
    ui.LocalPopUp->addSeparator();
    ui.mnuPan = MenuAction(ui.LocalPopUp, "mnuPan", "&Pan");
    ui.mnuAutozoom = MenuAction(ui.LocalPopUp, "mnuAutozoom", "&All");
    ui.mnuZoomWindow = MenuAction(ui.LocalPopUp, "mnuZoomWindow", "Zoom &window");
    ui.mnuZoomIn = MenuAction(ui.LocalPopUp, "mnuZoomIn", "Zoom &in");
    ui.mnuZoomOut = MenuAction(ui.LocalPopUp, "mnuZoomOut", "Zoom &out");

    WorkPage* line = ui.pages[page::kLineInfo];
    auto* lineForm = new QFormLayout;
    ui.nol_stxLineaDeltaX = ReadoutRow(lineForm, line, "nol_stxLineaDeltaX", "lblLineaDeltaX", "Delta X:");
    ui.nol_stxLineaDeltaY = ReadoutRow(lineForm, line, "nol_stxLineaDeltaY", "lblLineaDeltaY", "Delta Y:");
    ui.nol_stxLungLinea = ReadoutRow(lineForm, line, "nol_stxLungLinea", "lblLungLinea", "Length:");
    ui.nol_stxAngoloLinea = ReadoutRow(lineForm, line, "nol_stxAngoloLinea", "lblAngoloLinea", "Angle:");
    ui.SpeedButton9 = Named(new QToolButton(line), "SpeedButton9");
    ui.SpeedButton9->setText("Close");
    lineForm->addRow(ui.SpeedButton9);
    PageColumn(line)->addLayout(lineForm);

    WorkPage* distance = ui.pages[page::kDistance];
    auto* distanceForm = new QFormLayout;
    ui.txtDistX1 = ReadoutEdit(distanceForm, distance, "txtDistX1", "lblDistX1", "X1:");
    ui.txtDistY1 = ReadoutEdit(distanceForm, distance, "txtDistY1", "lblDistY1", "Y1:");
    ui.txtDistX2 = ReadoutEdit(distanceForm, distance, "txtDistX2", "lblDistX2", "X2:");
    ui.txtDistY2 = ReadoutEdit(distanceForm, distance, "txtDistY2", "lblDistY2", "Y2:");
    ui.txtDistDx = ReadoutEdit(distanceForm, distance, "txtDistDx", "lblDistDx", "Delta X:");
    ui.txtDistDy = ReadoutEdit(distanceForm, distance, "txtDistDy", "lblDistDy", "Delta Y:");
    ui.txtDistLen = ReadoutEdit(distanceForm, distance, "txtDistLen", "lblDistLen", "Distance:");
    ui.txtDistAngle = ReadoutEdit(distanceForm, distance, "txtDistAngle", "lblDistAngle", "Angle:");
    PageColumn(distance)->addLayout(distanceForm);

    WorkPage* snap = ui.pages[page::kSnap];
    snap->setCaption("Snap");
    auto* snapForm = new QFormLayout;
    ui.nol_cboXSnap = GridCombo(snapForm, snap, "nol_cboXSnap", "lblXSnap", "Snap X:");
    ui.nol_cboYSnap = GridCombo(snapForm, snap, "nol_cboYSnap", "lblYSnap", "Snap Y:");
    ui.chkSnap = Named(new QCheckBox("Same X and Y", snap), "chkSnap");
    ui.chkSnap->setChecked(true);
    snapForm->addRow(ui.chkSnap);
    ui.SpeedButton11 = Named(new QToolButton(snap), "SpeedButton11");
    ui.SpeedButton11->setText("Close");
    snapForm->addRow(ui.SpeedButton11);
    PageColumn(snap)->addLayout(snapForm);

    ui.TreeGeo = Named(new QTreeWidget(ui.pages[page::kLayer]), "TreeGeo");
    ui.TreeGeo->header()->hide();
}

}  // namespace

QList<QWidget*> MainWindowUi::coloredPanels() const {
    QList<QWidget*> panels{form, pnlCmd, pnlTbr1, pnlTbr2, nol_pnlStatus1, pnlStatus2};
    // The size step's, once the wizard has built it.
    if (treInfoRas) panels.append(treInfoRas);
    return panels;
}

void BuildMainWindowUi(QMainWindow* form, MainWindowUi& ui) {
    ui.form = form;
    form->setObjectName("frmMain");
    form->resize(1024, 720);
    BuildMenus(form, ui);
    BuildToolBars(form, ui);
    BuildCadCommands(form, ui);

    auto* central = new QWidget(form);
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    ui.views = Named(new QStackedWidget(central), "stkViews");
    ui.pnlVistaGrafica = new PictureSlot(ui.views);
    ui.pnlVista3D = Named(new QWidget(ui.views), "pnlVista3D");
    (new QVBoxLayout(ui.pnlVista3D))->setContentsMargins(0, 0, 0, 0);
    ui.views->addWidget(ui.pnlVistaGrafica);
    ui.views->addWidget(ui.pnlVista3D);
    row->addWidget(ui.views, 1);
    BuildRightColumn(ui, central);
    row->addWidget(ui.pnlCmd);
    form->setCentralWidget(central);

    BuildSettingsPage(ui);
    BuildGridPage(ui);
    BuildStatusBar(form, ui);
    BuildViewControls(form, ui);
}

}  // namespace calvoro

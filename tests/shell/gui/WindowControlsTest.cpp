// Every control of the main window, reached the way a person reaches it (a
// menu, a tool bar, a page, the view's strip, a dialog) in the real window on
// the offscreen platform, and checked for its effect on the view, the
// interaction program, the settings or the job. A row fails when its control
// is missing, hidden or disabled where a person looks for it, not connected,
// or without its effect.
//
// The rows stand in tables by area; an area joins with a table of its own
// and one line in Tables().
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <vector>

#include "kernel/drawing/QVCmp2D.h"
#include "kernel/entities/EntityModule.h"
#include "kernel/entities/TLine2D.h"
#include "kernel/entities/TPunto2D.h"
#include "kernel/gui/ViewportWidget.h"
#include "kernel/model/GraphicObjIterator.h"
#include "kernel/platform/IniFile.h"
#include "kernel/program/TQVPrg2D.h"
#include "kernel/tasks/QV2DTasks.h"
#include "shell/app/Settings.h"
#include "shell/gui/AboutDialog.h"
#include "shell/gui/ColorBox.h"
#include "shell/gui/FrmEditLng.h"
#include "shell/gui/MainLifeCycle.h"
#include "shell/gui/SettingsController.h"
#include "shell/gui/ViewHandlers.h"
#include "shell/gui/WizardWiring.h"
#include "tests/shell/gui/WindowHarness.h"

using namespace calvoro;
using namespace calvoro::testing;

namespace {

// How a person gets to a control.
enum class Reach {
    Menu,       // an item of a menu of the menu bar
    ToolBar,    // a button of a tool bar of the window
    Page,       // a control of the settings page, once the page shows
    ViewStrip,  // a button of the strip above the 2D view
    PopUp,      // an item of the views' right-click menu
    View,       // the 2D view itself
    Dialog,     // a control of a dialog the window shows, reached by its road
};

using Step = std::function<void(Harness&)>;
using Effect = std::function<void(Harness&, QObject*)>;

struct ControlRow {
    const char* name;   // the control's object name
    Reach reach;
    const char* where;  // the road, as a person would tell it
    Step before;        // what the person does first; may be empty
    Effect effect;      // after a button or item is pressed: checks (QVERIFY inside)
    const char* road = nullptr;  // what is pressed when it is not the control itself
};

TQVPrg2D& Program(Harness& h) {
    return h.window->View2D().Program();
}

// A person picks an entry of a combo box by its text.
void Choose(QObject* control, const QString& text) {
    auto* box = static_cast<QComboBox*>(control);
    const int index = box->findText(text);
    QVERIFY2(index >= 0, qPrintable(box->objectName() + ": no " + text));
    box->setCurrentIndex(index);
    emit box->activated(index);
    emit box->textActivated(text);
}

// Types a text over what an editable box holds.
void TypeInto(QComboBox* box, const QString& text) {
    box->lineEdit()->selectAll();
    QTest::keyClicks(box->lineEdit(), text);
    emit box->lineEdit()->editingFinished();
}

QColor ScreenPixelAt(Harness& h, int x, int y) {
    return h.window->View2D().Widget().ScreenImage().pixelColor(x, y);
}

// A click on the 2D view; returns the last point of the drawing.
TPoint2D ClickView(Harness& h, QPoint at) {
    QTest::mouseMove(h.view2d(), at);
    QTest::mouseClick(h.view2d(), Qt::LeftButton, {}, at);
    auto iterator = h.window->LocalCad().ObjectListIterator();
    TPoint2D last{};
    for (TGraphicObject* object = iterator->First(); object; object = iterator->Next())
        if (auto* point = dynamic_cast<TPunto2D*>(object)) last = MakePoint2D(point->Box().Left, point->Box().Bottom);
    return last;
}

// A point placed on the grid's snap: both coordinates are multiples of it.
void PlacedOnSnap(Harness& h, QPoint at, double step) {
    h.window->findChild<QAction*>("actPoint")->trigger();
    const TPoint2D p = ClickView(h, at);
    for (double v : {p.X, p.Y})
        QVERIFY2(std::abs(v / step - std::round(v / step)) < 1e-9, qPrintable(QString::number(v)));
}

// Shared first steps and effects of the rows.
Step Answering(bool yes, bool withPoint = false) {
    return [=](Harness& h) {
        if (withPoint) h.window->LocalCad().AddObject2D(0, std::make_unique<TPunto2D>(-1, MakePoint2D(5, 5)));
        h.dialogs.answers = {yes};
    };
}
Effect DrawingHolds(int objects) {
    return [=](Harness& h, QObject*) { QCOMPARE(h.window->LocalCad().ObjectCount(), objects); };
}
Effect WindowShown(bool shown) {
    return [=](Harness& h, QObject*) { QCOMPARE(h.window->isVisible(), shown); };
}
void ChoosingThePicture(Harness& h) {
    h.dialogs.fileToOpen = QString::fromStdString(h.install.picture().string());
}
void PictureOpened(Harness& h, QObject*) {
    QCOMPARE(QString::fromStdString(h.window->Wizard().Controller().pictureFileName().string()), h.dialogs.fileToOpen);
    // The file line of the picture information shows the whole name on hover.
    QVERIFY(h.ui().treInfoRas->topLevelItem(0)->child(0)->toolTip(0).endsWith("ramp.bmp"));
}
// The page goes to the desktop; without a browser the user is told.
Effect OpenedOnTheDesktop(const QString& ending) {
    return [=](Harness& h, QObject* control) {
        QCOMPARE(h.dialogs.opened.size(), 1);
        QVERIFY(h.dialogs.opened.front().toString().endsWith(ending));
        h.dialogs.openSucceeds = false;
        static_cast<QAction*>(control)->trigger();
        QCOMPARE(h.errors.size(), 1);
        h.errors.clear();
    };
}
Effect AboutShown(bool shown) {
    return [=](Harness& h, QObject*) { QCOMPARE(h.window->findChild<AboutDialog*>()->isVisible(), shown); };
}
void SettingsPageShown(Harness& h, QObject*) {
    QVERIFY(h.ui().pages[page::kSettings]->isVisible());
}
// The grid dialog as the settings menu opens it: the person does `script`,
// then presses `button`.
Step InGridDialog(std::function<void(GridDialog&)> script, const char* button) {
    return [=](Harness& h) {
        h.dialogs.modalScript = [=](QDialog& dialog) {
            auto* grid = qobject_cast<GridDialog*>(&dialog);
            if (!grid) return int(QDialog::Rejected);
            script(*grid);
            auto* pressed = grid->findChild<QAbstractButton*>(button);
            if (!pressed) throw std::logic_error(std::string("no ") + button + " in the grid dialog");
            pressed->click();
            return grid->result();
        };
    };
}

// The program start, the job and help (life cycle of the window).
std::vector<ControlRow> LifeCycleRows() {
    return {
        {"sbtNew", Reach::ToolBar, "Files bar, New job, Yes", Answering(true, true), DrawingHolds(0)},
        {"mnuNew", Reach::Menu, "File > New job, No", Answering(false, true), DrawingHolds(1)},
        {"sbtOpen", Reach::ToolBar, "Files bar, Open", ChoosingThePicture, PictureOpened},
        {"mnuOpen", Reach::Menu, "File > Open", ChoosingThePicture, PictureOpened},
        {"sbtExit", Reach::ToolBar, "Files bar, Exit, No", Answering(false), WindowShown(true)},
        {"mnuExit", Reach::Menu, "File > Exit, Yes", Answering(true), WindowShown(false)},
        {"mnuHelp", Reach::Menu, "Help > Contents", {}, OpenedOnTheDesktop("hlp/index.html")},
        {"mnuTutor", Reach::Menu, "Help > Tutorial", [](Harness& h) { h.install.write("hlp/tutorial.html", ""); },
         OpenedOnTheDesktop("hlp/tutorial.html")},
        {"mnuWeb", Reach::Menu, "Help > Calvoro on the web", {}, OpenedOnTheDesktop(kWebAddress)},
        {"mnuAbout1", Reach::Menu, "Help > About", {}, AboutShown(true)},
        {"sbtAbout", Reach::ToolBar, "Files bar, About", {}, AboutShown(true)},
        {"btnOk", Reach::Dialog, "Help > About, OK", [](Harness& h) { h.ui().mnuAbout1->trigger(); },
         AboutShown(false)},
    };
}

// The settings page (opened first by the Settings button), the grid switches and the units.
std::vector<ControlRow> SettingsRows() {
    return {
        {"sbtSetting", Reach::ToolBar, "Files bar, Settings", {}, SettingsPageShown},
        {"mnuSetting", Reach::Menu, "Settings > Settings", {}, SettingsPageShown},
        {"ColorBoxBackground", Reach::Page, "View background", {},
         [](Harness& h, QObject* c) {
             Choose(c, "Black");
             QCOMPARE(h.viewport().BackGroundColor(), clBlack);
             QCOMPARE(ScreenPixelAt(h, 3, 3), QColor(Qt::black));  // the drawing, not the strip
             QCOMPARE(h.view3d->background, QColor(Qt::black));
         }},
        {"ColorBoxGrid", Reach::Page, "Grid colour", {},
         [](Harness& h, QObject* c) {
             Choose(c, "Red");
             QCOMPARE(h.viewport().GridColor(), clRed);
             const QImage screen = h.window->View2D().Widget().ScreenImage().convertToFormat(QImage::Format_RGB32);
             const auto* pixels = reinterpret_cast<const QRgb*>(screen.constBits());
             QVERIFY(std::count(pixels, pixels + screen.width() * screen.height(), qRgb(255, 0, 0)) > 0);
         }},
        {"ColorBoxForm", Reach::Page, "Window colour", {},
         [](Harness& h, QObject* c) {
             Choose(c, "Teal");
             QCOMPARE(h.ui().pnlCmd->palette().color(QPalette::Window), ToQColor(clTeal));
             QVERIFY(h.viewport().BackGroundColor() != clTeal);
         }},
        {"cboUnits", Reach::Page, "Units", {},
         [](Harness& h, QObject* c) {
             Choose(c, "inch");
             QVERIFY(!h.viewport().IsMM());
             QCOMPARE(QString::fromStdString(h.viewport().UnitLabel()), Lang("1002"));  // the scale bar's unit
         }},
        {"sbtReset", Reach::Page, "Reset def., after black and red",
         [](Harness& h) { Choose(h.ui().ColorBoxBackground, "Black"), Choose(h.ui().ColorBoxGrid, "Red"); },
         [](Harness& h, QObject*) {
             QCOMPARE(h.viewport().BackGroundColor(), TColor(0x808080));
             QCOMPARE(h.viewport().GridColor(), TColor(0x800000));
         }},
        {"nol_cboLang", Reach::Page, "Language", {},
         [](Harness& h, QObject* c) {
             Choose(c, "english");
             QCOMPARE(QString::fromStdString(h.window->State().settings.Language), QString("english"));
         }},
        {"sbtTransLng", Reach::Page, "Translation ...", {},
         [](Harness&, QObject*) {
             bool shown = false;
             for (QWidget* widget : QApplication::topLevelWidgets())
                 if (qobject_cast<FrmEditLng*>(widget) && widget->isVisible()) shown = widget->close();
             QVERIFY(shown);
         }},
        {"sbtGridOnOff", Reach::ToolBar, "View bar, Grid; right button: the grid dialog", {},
         [](Harness& h, QObject* c) {
             QVERIFY(!h.viewport().ShowGrid() && !h.window->findChild<QAction*>("actGrid")->isChecked());
             emit static_cast<QToolButton*>(c)->customContextMenuRequested({2, 2});
             QCOMPARE(h.dialogs.modal.size(), 1);
         }},
        {"sbtAxisOnOff", Reach::ToolBar, "View bar, Axes", {},
         [](Harness& h, QObject*) { QVERIFY(!h.viewport().ShowAssi() && !h.window->State().settings.SAxis); }},
    };
}

// The grid and snap dialog, reached by Settings > Grid spacing.
std::vector<ControlRow> GridDialogRows() {
    const auto spacing40 = [](GridDialog& d) {
        d.chkUnisceGrid->setChecked(true);
        TypeInto(d.nol_cboGridX, "40");
        TypeInto(d.nol_cboXSnap, "40");
        d.chkSnap2Grid->click();
    };
    const auto changed = [](GridDialog& d) { TypeInto(d.nol_cboGridX, "25"), TypeInto(d.nol_cboXSnap, "5"); };
    const auto shown = std::make_shared<QString>();
    return {
        {"SetGridSpacing1", Reach::Menu, "Settings > Grid spacing: 40, snap 40, OK", InGridDialog(spacing40, "btnOk"),
         [](Harness& h, QObject*) {
             QCOMPARE(h.viewport().GridDeltaY(), 40.0);
             QCOMPARE(Program(h).YSnap(), 40.0);
             QCOMPARE(h.window->State().settings.SnapY, 40.0);
             PlacedOnSnap(h, {123, 217}, 40.0);
         }},
        {"btnCancel", Reach::Dialog, "Grid dialog, Cancel after a change", InGridDialog(changed, "btnCancel"),
         [](Harness& h, QObject*) { QVERIFY(h.viewport().GridDeltaX() == 10.0 && Program(h).XSnap() == 10.0); },
         "SetGridSpacing1"},
        {"chkShowGrid", Reach::Dialog, "Grid dialog, Show grid, OK",
         InGridDialog([](GridDialog& d) { d.chkShowGrid->click(); }, "btnOk"),
         [](Harness& h, QObject*) {
             QVERIFY(!h.viewport().ShowGrid() && !h.ui().sbtGridOnOff->isChecked());
             QVERIFY(!h.window->findChild<QAction*>("actGrid")->isChecked());
         },
         "SetGridSpacing1"},
        {"nol_cboGridX", Reach::Dialog, "Grid dialog, the spacing X as it opens (the view's 10), Cancel",
         InGridDialog([shown](GridDialog& d) { *shown = d.nol_cboGridX->currentText(); }, "btnCancel"),
         [shown](Harness& h, QObject*) {
             QCOMPARE(h.viewport().GridDeltaX(), 10.0);
             QCOMPARE(*shown, QString("10.000"));
         },
         "SetGridSpacing1"},
        {"nol_cboGridSubX", Reach::Dialog, "Grid dialog, Fine grid X, OK",
         InGridDialog([](GridDialog& d) { TypeInto(d.nol_cboGridSubX, "2.5"); }, "btnOk"),
         [](Harness& h, QObject*) { QCOMPARE(h.viewport().GridSubX(), 2.5); }, "SetGridSpacing1"},
    };
}

// The 2D view and the strip above it.
std::vector<ControlRow> ViewRows() {
    return {
        {"VistaGrafica", Reach::View, "the 2D view, mouse wheel", {},
         [](Harness& h, QObject*) {
             const double before = h.viewWidth();
             QWheelEvent wheel(QPointF(100, 100), h.view2d()->mapToGlobal(QPointF(100, 100)), {}, {0, 120},
                               Qt::NoButton, {}, Qt::NoScrollPhase, false);
             QApplication::sendEvent(h.view2d(), &wheel);
             QVERIFY(h.viewWidth() != before);
         }},
        {"actGrid", Reach::ViewStrip, "view strip, Grid", {},
         [](Harness& h, QObject* c) {
             QVERIFY(!h.viewport().ShowGrid() && !h.window->State().settings.SGrid);
             QVERIFY(!h.ui().sbtGridOnOff->isChecked());  // one state with the tool bar's button
             h.ui().sbtGridOnOff->click();
             QVERIFY(static_cast<QAction*>(c)->isChecked() && h.viewport().ShowGrid());
         }},
        {"actSnap", Reach::ViewStrip, "view strip, Snap", {},
         [](Harness& h, QObject*) {
             QVERIFY(h.window->State().UseSnap);
             PlacedOnSnap(h, {131, 203}, 10.0);
         }},
        {"actPoint", Reach::ViewStrip, "view strip, Point, then a click", {},
         [](Harness& h, QObject*) {
             ClickView(h, {150, 150});
             const TQVCmp2D& cad = h.window->LocalCad();
             QCOMPARE(cad.ObjectCount(), 1);
             // Drawn in a colour the view's background does not swallow.
             QVERIFY(cad.Layers().LayerByIndex(cad.CurrentLayer()).Pen().Color != h.viewport().BackGroundColor());
         }},
        {"actZoomAll", Reach::ViewStrip, "view strip, Zoom all",
         [](Harness& h) { h.window->LocalCad().AddObject2D(0, std::make_unique<TPunto2D>(-1, MakePoint2D(1000, 0))); },
         [](Harness& h, QObject*) { QVERIFY(h.viewport().VisualRect().Right >= 1000.0); }},
        {"actZoomWindow", Reach::ViewStrip, "view strip, Zoom window, then two corners", {},
         [](Harness& h, QObject*) {
             const double before = h.viewWidth();
             QTest::mouseClick(h.view2d(), Qt::LeftButton, {}, {100, 100});
             QTest::mouseMove(h.view2d(), {140, 130});
             QTest::mouseClick(h.view2d(), Qt::LeftButton, {}, {140, 130});
             QVERIFY(h.viewWidth() < before);
         }},
        {"actPan", Reach::ViewStrip, "view strip, Pan, then a drag", {},
         [](Harness& h, QObject*) {
             const double left = h.viewport().VisualRect().Left;
             QTest::mousePress(h.view2d(), Qt::LeftButton, {}, {100, 100});
             QTest::mouseMove(h.view2d(), {160, 140});
             QTest::mouseRelease(h.view2d(), Qt::LeftButton, {}, {160, 140});
             QVERIFY(h.viewport().VisualRect().Left != left);
         }},
    };
}

// The 3D view's switches.
std::vector<ControlRow> View3DRows() {
    const auto standard = [](const char* name, View3D::Standard view) {
        return ControlRow{name, Reach::ToolBar, "View bar, 3D, then a standard view",
                          [](Harness& h) { h.ui().sbtShow->click(); },
                          [view](Harness& h, QObject*) { QCOMPARE(h.view3d->views, QList<int>{int(view)}); }};
    };
    const auto surface = [](const char* name, View3D::Surface wanted) {
        return ControlRow{name, Reach::Menu, "3D view > surface",
                          [](Harness& h) { h.view3d->surface = View3D::Surface(-1); },
                          [wanted](Harness& h, QObject*) { QCOMPARE(h.view3d->surface, wanted); }};
    };
    return {
        {"sbtShow", Reach::ToolBar, "View bar, 3D, twice", {},
         [](Harness& h, QObject* c) {
             QCOMPARE(h.ui().views->currentWidget(), h.ui().pnlVista3D);
             static_cast<QToolButton*>(c)->click();
             QVERIFY(h.ui().views->currentWidget() != h.ui().pnlVista3D);
         }},
        standard("sbtTopView", View3D::Standard::Top),
        standard("sbtFrontView", View3D::Standard::Front),
        standard("sbtSideView", View3D::Standard::Side),
        standard("sbtIsoView", View3D::Standard::Iso),
        surface("mnuSPShade", View3D::Surface::Shaded),
        surface("mnuSPWire", View3D::Surface::Wire),
        surface("mnuSPNone", View3D::Surface::None),
        {"mnuShowTool", Reach::Menu, "3D view > Show the cutter", {},
         [](Harness& h, QObject*) { QVERIFY(h.view3d->toolVisible); }},
        {"mnuShowXYZ", Reach::Menu, "3D view > Show the axes", {},
         [](Harness& h, QObject*) { QVERIFY(!h.view3d->axesVisible); }},
    };
}

// The zoom and pan of both views, from the view bar and the right-click menu,
// over a drawing 1000 wide.
double widthBefore = 0;  // the 2D view's width before the row's control
Step OnTheDrawing(bool in3D) {
    return [=](Harness& h) {
        h.window->LocalCad().AddObject2D(-1, std::make_unique<TLine2D>(-1, MakePoint2D(0, 0), MakePoint2D(1000, 10)));
        h.window->LifeCycle().SetView3D(in3D);
        widthBefore = h.viewWidth();
    };
}
Effect Holds(std::function<bool(Harness&)> holds) {
    return [=](Harness& h, QObject*) { QVERIFY(holds(h)); };
}
std::vector<ControlRow> ZoomAndPanRows() {
    const auto narrower = Holds([](Harness& h) { return h.viewWidth() < widthBefore; });
    const auto wider = Holds([](Harness& h) { return h.viewWidth() > widthBefore; });
    const auto scaled = [](double f) { return Holds([f](Harness& h) { return h.view3d->zoomFactors == QList{f}; }); };
    const auto zoomWindow = Holds([](Harness& h) {
        return h.window->State().ActiveCommand == kCommandZoomWindow && h.ui().sbtZoomWin->isChecked() &&
               Program(h).OperationRunning() && Program(h).OperationClass() == &TCADPrgZoomArea::Class;
    });
    const auto panning = [](Harness& h) {
        return h.window->State().ActiveCommand == kCommandPan && h.ui().sbtPan->isChecked() &&
               h.window->ViewCommands().PanActive() && Program(h).OperationRunning();
    };
    const auto wholeDrawing = Holds([](Harness& h) {
        const TRect2D r = h.viewport().VisualRect();
        return r.Left <= 0 && r.Right >= 1000 && h.viewWidth() != widthBefore;
    });
    const auto wholeRelief = Holds([](Harness& h) { return h.view3d->workBoxZooms == 1; });
    const Step in2D = OnTheDrawing(false), in3D = OnTheDrawing(true);
    return {
        {"sbtZoomIn", Reach::ToolBar, "View bar", in2D, narrower},
        {"mnuZoomIn", Reach::PopUp, "right-click menu", in2D, narrower},
        {"sbtZoomIn", Reach::ToolBar, "View bar, 3D", in3D, scaled(1.5)},
        {"mnuZoomIn", Reach::PopUp, "right-click menu, 3D", in3D, scaled(1.5)},
        {"sbtZoomBack", Reach::ToolBar, "View bar", in2D, wider},
        {"mnuZoomOut", Reach::PopUp, "right-click menu", in2D, wider},
        {"sbtZoomBack", Reach::ToolBar, "View bar, 3D", in3D, scaled(0.5)},
        {"mnuZoomOut", Reach::PopUp, "right-click menu, 3D", in3D, scaled(0.5)},
        {"sbtZoomWin", Reach::ToolBar, "View bar", in2D, zoomWindow},
        {"mnuZoomWindow", Reach::PopUp, "right-click menu", in2D, zoomWindow},
        {"sbtZoomWin", Reach::ToolBar, "View bar, 3D: none there", in3D, Holds([](Harness& h) {
             return !h.ui().sbtZoomWin->isChecked() && h.window->State().ActiveCommand != kCommandZoomWindow;
         })},
        {"sbtPan", Reach::ToolBar, "View bar", in2D, Holds(panning)},
        {"mnuPan", Reach::PopUp, "right-click menu", in2D, Holds(panning)},
        {"sbtPan", Reach::ToolBar, "View bar, 3D", in3D,
         Holds([=](Harness& h) { return h.view3d->panMode && panning(h); })},
        {"sbtAutozoom", Reach::ToolBar, "View bar", in2D, wholeDrawing},
        {"mnuAutozoom", Reach::PopUp, "right-click menu", in2D, wholeDrawing},
        {"sbtAutozoom", Reach::ToolBar, "View bar, 3D", in3D, wholeRelief},
        {"mnuAutozoom", Reach::PopUp, "right-click menu, 3D", in3D, wholeRelief},
    };
}

const std::vector<std::vector<ControlRow>>& Tables() {
    static const std::vector<std::vector<ControlRow>> tables = {
        LifeCycleRows(), SettingsRows(), GridDialogRows(), ViewRows(), ZoomAndPanRows(), View3DRows(),
    };
    return tables;
}

// The control as the row reaches it: a dialog's own control, or the window's.
QObject* Reached(Harness& h, const ControlRow& row) {
    if (row.reach == Reach::Dialog && !row.road) {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<QDialog*>(top); dialog && dialog->isVisible())
                if (auto* found = dialog->findChild<QObject*>(row.name)) return found;
        return nullptr;
    }
    return h.window->findChild<QObject*>(QString::fromLatin1(row.road ? row.road : row.name));
}

// Whether a person can get at the control where the row says it is.
QString Unreachable(Harness& h, const ControlRow& row, QObject* control) {
    if (!control) return "missing";
    if (auto* action = qobject_cast<QAction*>(control)) {
        if (!action->isVisible() || !action->isEnabled()) return "hidden or disabled";
        if (row.reach == Reach::Menu || row.road) {
            bool inMenuBar = false;
            for (QObject* owner : action->associatedObjects())
                if (auto* menu = qobject_cast<QMenu*>(owner))
                    inMenuBar = inMenuBar || h.window->menuBar()->actions().contains(menu->menuAction());
            return inMenuBar ? QString() : "in no menu of the menu bar";
        }
        if (row.reach == Reach::PopUp)
            return h.ui().LocalPopUp->actions().contains(action) ? QString() : "not in the right-click menu";
        if (row.reach == Reach::ViewStrip) {
            auto* strip = h.window->findChild<QToolBar*>("tbrView2D");
            return strip && strip->isVisible() && strip->actions().contains(action) ? QString()
                                                                                    : "not on the view strip";
        }
        return {};
    }
    auto* widget = qobject_cast<QWidget*>(control);
    if (!widget) return "not a control";
    if (!widget->isVisible() || !widget->isEnabled()) return "hidden or disabled";
    if (row.reach == Reach::ToolBar && !qobject_cast<QToolBar*>(widget->parentWidget())) return "on no tool bar";
    return {};
}

// What a person does with a button or an item; a box is chosen in by its row.
void Press(QObject* control) {
    if (auto* button = qobject_cast<QAbstractButton*>(control)) button->click();
    else if (auto* action = qobject_cast<QAction*>(control)) action->trigger();
}

class WindowControlsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InitializeEntityModule(); }

    void everyControlIsReachedAndActs_data() {
        QTest::addColumn<int>("table");
        QTest::addColumn<int>("row");
        for (std::size_t t = 0; t < Tables().size(); ++t)
            for (std::size_t r = 0; r < Tables()[t].size(); ++r) {
                const ControlRow& row = Tables()[t][r];
                QTest::newRow(qPrintable(QString("%1 (%2)").arg(row.name, row.where))) << int(t) << int(r);
            }
    }

    void everyControlIsReachedAndActs() {
        QFETCH(int, table);
        QFETCH(int, row);
        const ControlRow& control = Tables()[std::size_t(table)][std::size_t(row)];
        Harness h;
        h.start();
        if (control.reach == Reach::Page) h.ui().sbtSetting->click();
        if (control.before) control.before(h);
        // The menu's items are enabled as it opens.
        if (control.reach == Reach::PopUp) h.ui().LocalPopUp->popup(h.window->mapToGlobal(QPoint(100, 100)));
        QObject* found = Reached(h, control);
        const QString problem = Unreachable(h, control, found);
        QVERIFY2(problem.isEmpty(), qPrintable(QString(control.name) + ": " + problem));
        Press(found);
        h.ui().LocalPopUp->hide();
        control.effect(h, found);
        if (QTest::currentTestFailed()) return;
        QVERIFY2(h.errors.isEmpty(), qPrintable(h.errors.join("\n")));
    }

    // Without a browser the desktop's opener starts and then fails: the user
    // is told, for help pages and the web page alike.
    void aDesktopWithoutABrowserIsReported_data() {
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<int>("errors");
        QTest::newRow("opened") << 0 << 0;
        QTest::newRow("no program for it") << 3 << 1;
        QTest::newRow("opening failed") << 4 << 1;
    }
    void aDesktopWithoutABrowserIsReported() {
        QFETCH(int, exitCode);
        QFETCH(int, errors);
        Installation install;
        const fs::path bin = install.root() / "bin";
        fs::create_directories(bin);
        WriteFileAtomically(bin / "xdg-open", "#!/bin/sh\nexit " + std::to_string(exitCode) + "\n");
        fs::permissions(bin / "xdg-open", fs::perms::owner_all);
        QStringList shown;
        Application::setErrorReporter([&](const QString& message) { shown << message; });
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QByteArray::fromStdString(bin.string()));
        QVERIFY(QtDialogServices().openUrl(QUrl(kWebAddress)));
        qputenv("PATH", path);
        QTRY_COMPARE(shown.size(), errors);
        QTest::qWait(50);
        Application::setErrorReporter(nullptr);
        QCOMPARE(shown.size(), errors);
        if (errors) QVERIFY(shown.front().contains(kWebAddress));
    }

    // The view strip, the units and the colour names speak the user's
    // language. Deleting the language in use leaves the program in English,
    // with the language box and the saved setting naming a language that is there.
    void theWindowsTextsComeFromTheLanguageFileAndADeletedOneGivesEnglish() {
        Harness h;
        std::string text = ReadWholeFile(h.install.root() / "language" / "english.lng");
        for (const auto& [from, to] :
             {std::pair<std::string, std::string>{"actZoomWindow.Caption=Zoom window", "actZoomWindow.Caption=Fenster"},
              {"1003=Black", "1003=Schwarz"},
              {"1002=inch", "1002=Zoll"},
              {"cboUnits.items[1]=inch", "cboUnits.items[1]=Zoll"}}) {
            const std::size_t at = text.find(from);
            QVERIFY2(at != std::string::npos, from.c_str());
            text.replace(at, from.size(), to);
        }
        h.install.write("language/deutsch.lng", text);
        h.install.write("Calvoro.ini", "[Default]\r\nLanguage=deutsch\r\nUnit=1\r\n");
        h.start();
        QCOMPARE(h.window->findChild<QAction*>("actZoomWindow")->text(), QString("Fenster"));
        QCOMPARE(QString::fromStdString(h.viewport().UnitLabel()), QString("Zoll"));
        QCOMPARE(h.ui().cboUnits->currentText(), QString("Zoll"));
        h.ui().sbtSetting->click();
        QCOMPARE(h.ui().ColorBoxBackground->itemText(0), QString("Schwarz"));

        fs::remove(h.install.root() / "language" / "deutsch.lng");
        h.window->Settings().LanguagesChanged();
        QCOMPARE(QString::fromStdString(LanguageName()), QString("english"));
        QCOMPARE(h.ui().nol_cboLang->currentText(), QString("english"));
        QCOMPARE(QString::fromStdString(h.window->State().settings.Language), QString("english"));
        QCOMPARE(h.errors, QStringList());
    }

    // The settings file reaches the view and the interaction program at
    // start, and what the view shows is what is saved. An NC folder that is
    // not there (another computer's) is never kept. The grid page has no road
    // of its own yet; its boxes act on the view all the same.
    void startsWithTheSettingsFileOnTheView() {
        Harness h;
        h.install.write("Calvoro.ini",
                        "[Color]\r\nBackGround=255\r\nGrid=65280\r\n[Default]\r\nUnit=1\r\nSGrid=0\r\nSAxis=0\r\n"
                        "GridX=2.5\r\nGridY=0.5\r\nSnapX=0.5\r\nSnapY=0.25\r\nNcPath=/nowhere/at/all/\r\n");
        h.start();
        const std::string folder = h.window->State().settings.NcPath;
        QVERIFY2(fs::is_directory(folder) && folder.ends_with("/"), folder.c_str());
        TQVViewport2D& view = h.viewport();
        QCOMPARE(view.GridColor(), TColor(65280));
        QCOMPARE(QString::fromStdString(view.UnitLabel()), Lang("1002"));
        QVERIFY(!view.ShowGrid() && !view.ShowAssi());
        QVERIFY(!h.window->findChild<QAction*>("actGrid")->isChecked());
        QCOMPARE(view.GridDeltaX(), 2.5);
        QCOMPARE(view.GridDeltaY(), 0.5);
        QCOMPARE(Program(h).XSnap(), 0.5);
        QCOMPARE(Program(h).YSnap(), 0.25);
        // The inch sheet: the whole of (-0.4, -0.4) to (11.5, 11.5) shows.
        const TRect2D shown = view.VisualRect();
        QVERIFY(shown.Left <= -0.4 && shown.Bottom <= -0.4 && shown.Right >= 11.5 && shown.Top >= 11.5);
        QVERIFY(shown.Right - shown.Left < 30.0 && shown.Top - shown.Bottom < 30.0);
        QCOMPARE(ScreenPixelAt(h, 3, 3), QColor(Qt::red));
        TypeInto(h.ui().nol_cboGridSubY, "0.75");
        QCOMPARE(h.viewport().GridSubY(), 0.75);
        QVERIFY(h.close(true));
        const Settings saved = ReadSettings(IniFile(h.install.ini()));
        QVERIFY(!saved.SGrid && !saved.SAxis);
        QCOMPARE(saved.SnapY, 0.25);
    }
};

}  // namespace

QTEST_MAIN(WindowControlsTest)
#include "WindowControlsTest.moc"

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
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "kernel/drawing/QVCmp2D.h"
#include "kernel/entities/EntityModule.h"
#include "kernel/entities/TPunto2D.h"
#include "kernel/gui/ViewportWidget.h"
#include "kernel/model/GraphicObjIterator.h"
#include "kernel/platform/IniFile.h"
#include "kernel/program/TQVPrg2D.h"
#include "kernel/view/TQVViewport2D.h"
#include "shell/app/Settings.h"
#include "shell/gui/AboutDialog.h"
#include "shell/gui/ColorBox.h"
#include "shell/gui/DialogServices.h"
#include "shell/gui/FrmEditLng.h"
#include "shell/gui/MainLifeCycle.h"
#include "shell/gui/SettingsController.h"
#include "shell/gui/View2DHost.h"
#include "shell/gui/WizardWiring.h"
#include "tests/shell/gui/WindowHarness.h"

using namespace calvoro;
using namespace calvoro::testing;

namespace {

// How a person gets to a control.
enum class Reach {
    Menu,       // an item of a menu of the menu bar
    ToolBar,    // a button of a tool bar of the window
    Page,       // a control of a page of the work panel, once the page shows
    ViewStrip,  // a button of the strip above the 2D view
    View,       // the 2D view itself
    Dialog,     // a control of a dialog the window shows
};

struct ControlRow {
    const char* name;  // the control's object name
    Reach reach;
    const char* where;  // the road, as a person would tell it
    // Goes there (opens the page, ...) and returns the control; null: not found.
    std::function<QObject*(Harness&)> find;
    // Uses the control and checks its effect (QVERIFY/QCOMPARE inside).
    std::function<void(Harness&, QObject*)> use;
};

template <class T>
T* Named(Harness& h, const char* name) {
    return h.window->findChild<T*>(QString::fromLatin1(name));
}

// The control of the window, found by name wherever it is.
std::function<QObject*(Harness&)> Find(const char* name) {
    return [name](Harness& h) -> QObject* { return h.window->findChild<QObject*>(QString::fromLatin1(name)); };
}

// The control of a page, after the person clicks the button that shows it.
std::function<QObject*(Harness&)> OnSettingsPage(const char* name) {
    return [name](Harness& h) -> QObject* {
        h.ui().sbtSetting->click();
        return h.window->findChild<QObject*>(QString::fromLatin1(name));
    };
}

TQVViewport2D& View(Harness& h) {
    return h.window->View2D().Viewport();
}

TQVPrg2D& Program(Harness& h) {
    return h.window->View2D().Program();
}

// A person picks an entry of a combo box by its text.
void Choose(QComboBox* box, const QString& text) {
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

// A point a person places with the strip's Point button and one click.
TPoint2D PlacePoint(Harness& h, QPoint at) {
    h.window->findChild<QAction*>("actPoint")->trigger();
    QWidget* view = &h.window->View2D().Widget();
    QTest::mouseMove(view, at);
    QTest::mouseClick(view, Qt::LeftButton, {}, at);
    auto iterator = h.window->LocalCad().ObjectListIterator();
    TPoint2D last{};
    for (TGraphicObject* object = iterator->First(); object; object = iterator->Next())
        if (auto* point = dynamic_cast<TPunto2D*>(object)) last = MakePoint2D(point->Box().Left, point->Box().Bottom);
    return last;
}

bool MultipleOf(double value, double step) {
    return std::abs(value / step - std::round(value / step)) < 1e-9;
}

// The grid dialog as the settings menu opens it, with what the person does in it.
void InGridDialog(Harness& h, std::function<int(GridDialog&)> script) {
    h.dialogs.modalScript = [script](QDialog& dialog) {
        auto* grid = qobject_cast<GridDialog*>(&dialog);
        if (!grid) return int(QDialog::Rejected);
        return script(*grid);
    };
    h.ui().SetGridSpacing1->trigger();
    h.dialogs.modalScript = nullptr;
}

// The program start, the job and help (life cycle of the window).
std::vector<ControlRow> LifeCycleRows() {
    return {
        {"sbtNew", Reach::ToolBar, "Files bar, New job", Find("sbtNew"),
         [](Harness& h, QObject* control) {
             h.window->LocalCad().AddObject2D(0, std::make_unique<TPunto2D>(-1, MakePoint2D(5, 5)));
             h.dialogs.answers = {true};
             static_cast<QToolButton*>(control)->click();
             QCOMPARE(h.window->LocalCad().ObjectCount(), 0);
             QVERIFY(!h.ui().pnlStatus2->text().isEmpty());
         }},
        {"mnuNew", Reach::Menu, "File > New job", Find("mnuNew"),
         [](Harness& h, QObject* control) {
             h.window->LocalCad().AddObject2D(0, std::make_unique<TPunto2D>(-1, MakePoint2D(5, 5)));
             h.dialogs.answers = {false};
             static_cast<QAction*>(control)->trigger();
             QCOMPARE(h.dialogs.questions.size(), 1);
             QCOMPARE(h.window->LocalCad().ObjectCount(), 1);  // No keeps the drawing
         }},
        {"sbtOpen", Reach::ToolBar, "Files bar, Open", Find("sbtOpen"),
         [](Harness& h, QObject* control) {
             h.dialogs.fileToOpen = QString::fromStdString(h.install.picture().string());
             static_cast<QToolButton*>(control)->click();
             QCOMPARE(QString::fromStdString(h.window->Wizard().Controller().pictureFileName().string()), h.dialogs.fileToOpen);
             // The file line of the picture information shows the whole name on hover.
             QTreeWidgetItem* file = h.ui().treInfoRas->topLevelItem(0)->child(0);
             QVERIFY(file->toolTip(0).endsWith("ramp.bmp"));
             QCOMPARE(file->toolTip(0), file->text(0));
         }},
        {"mnuOpen", Reach::Menu, "File > Open", Find("mnuOpen"),
         [](Harness& h, QObject* control) {
             h.dialogs.fileToOpen = QString::fromStdString(h.install.picture().string());
             static_cast<QAction*>(control)->trigger();
             QVERIFY(h.window->Wizard().Controller().hasPicture());
         }},
        {"sbtExit", Reach::ToolBar, "Files bar, Exit", Find("sbtExit"),
         [](Harness& h, QObject* control) {
             h.dialogs.answers = {false};
             static_cast<QToolButton*>(control)->click();
             QCOMPARE(h.dialogs.questions, QStringList{Lang("451")});
             QVERIFY(h.window->isVisible());
         }},
        {"mnuExit", Reach::Menu, "File > Exit", Find("mnuExit"),
         [](Harness& h, QObject* control) {
             h.dialogs.answers = {true};
             static_cast<QAction*>(control)->trigger();
             QVERIFY(!h.window->isVisible());
         }},
        {"mnuHelp", Reach::Menu, "Help > Contents (F1)", Find("mnuHelp"),
         [](Harness& h, QObject* control) {
             QCOMPARE(static_cast<QAction*>(control)->shortcut(), QKeySequence(QKeySequence::HelpContents));
             static_cast<QAction*>(control)->trigger();
             QCOMPARE(h.dialogs.opened.size(), 1);
             QVERIFY(h.dialogs.opened.front().toLocalFile().endsWith("hlp/index.html"));
             h.dialogs.openSucceeds = false;  // no browser
             static_cast<QAction*>(control)->trigger();
             QCOMPARE(h.errors.size(), 1);
             h.errors.clear();
         }},
        {"mnuTutor", Reach::Menu, "Help > Tutorial", Find("mnuTutor"),
         [](Harness& h, QObject* control) {
             h.install.write("hlp/tutorial.html", "<html></html>");
             static_cast<QAction*>(control)->trigger();
             QCOMPARE(h.dialogs.opened.size(), 1);
             QVERIFY(h.dialogs.opened.front().toLocalFile().endsWith("hlp/tutorial.html"));
             h.dialogs.openSucceeds = false;
             static_cast<QAction*>(control)->trigger();
             QCOMPARE(h.errors.size(), 1);
             h.errors.clear();
         }},
        {"mnuWeb", Reach::Menu, "Help > Calvoro on the web", Find("mnuWeb"),
         [](Harness& h, QObject* control) {
             h.dialogs.openSucceeds = false;
             static_cast<QAction*>(control)->trigger();
             QCOMPARE(h.dialogs.opened, QList<QUrl>{QUrl(kWebAddress)});
             QCOMPARE(h.errors.size(), 1);
             h.errors.clear();
         }},
        {"mnuAbout1", Reach::Menu, "Help > About", Find("mnuAbout1"),
         [](Harness& h, QObject* control) {
             static_cast<QAction*>(control)->trigger();
             QVERIFY(h.window->findChild<AboutDialog*>()->isVisible());
         }},
        {"btnOk", Reach::Dialog, "Help > About, then OK",
         [](Harness& h) -> QObject* {
             h.ui().mnuAbout1->trigger();
             return h.window->findChild<AboutDialog*>()->findChild<QPushButton*>("btnOk");
         },
         [](Harness& h, QObject* control) {
             static_cast<QPushButton*>(control)->click();
             QVERIFY(!h.window->findChild<AboutDialog*>()->isVisible());
         }},
        {"sbtAbout", Reach::ToolBar, "Files bar, About", Find("sbtAbout"),
         [](Harness& h, QObject* control) {
             static_cast<QToolButton*>(control)->click();
             QVERIFY(h.window->findChild<AboutDialog*>()->isVisible());
         }},
    };
}

// The settings page, the grid switches and the units.
std::vector<ControlRow> SettingsRows() {
    return {
        {"sbtSetting", Reach::ToolBar, "Files bar, Settings", Find("sbtSetting"),
         [](Harness& h, QObject* control) {
             static_cast<QToolButton*>(control)->click();
             QVERIFY(h.ui().pages[kPageSettings]->isVisible());
             QCOMPARE(h.ui().tabPages->count(), 1);
         }},
        {"mnuSetting", Reach::Menu, "Settings > Settings", Find("mnuSetting"),
         [](Harness& h, QObject* control) {
             static_cast<QAction*>(control)->trigger();
             QVERIFY(h.ui().pages[kPageSettings]->isVisible());
         }},
        {"ColorBoxBackground", Reach::Page, "Settings page, View background", OnSettingsPage("ColorBoxBackground"),
         [](Harness& h, QObject* control) {
             Choose(static_cast<ColorBox*>(control), "Black");
             QCOMPARE(View(h).BackGroundColor(), clBlack);
             QCOMPARE(ScreenPixelAt(h, 3, 3), QColor(Qt::black));  // the drawing, not the strip
             QCOMPARE(h.view3d->background, QColor(Qt::black));
             QCOMPARE(h.window->State().settings.BackGround, clBlack);
         }},
        {"ColorBoxGrid", Reach::Page, "Settings page, Grid colour", OnSettingsPage("ColorBoxGrid"),
         [](Harness& h, QObject* control) {
             Choose(static_cast<ColorBox*>(control), "Red");
             QCOMPARE(View(h).GridColor(), clRed);
             QCOMPARE(h.window->State().settings.Grid, clRed);
             const QImage& screen = h.window->View2D().Widget().ScreenImage();
             bool red = false;
             for (int x = 0; x < screen.width() && !red; ++x)
                 for (int y = 0; y < screen.height() && !red; ++y) red = screen.pixelColor(x, y) == QColor(Qt::red);
             QVERIFY(red);
         }},
        {"ColorBoxForm", Reach::Page, "Settings page, Window colour", OnSettingsPage("ColorBoxForm"),
         [](Harness& h, QObject* control) {
             Choose(static_cast<ColorBox*>(control), "Teal");
             QCOMPARE(h.ui().pnlCmd->palette().color(QPalette::Window), ToQColor(clTeal));
             QCOMPARE(h.window->State().settings.Form, clTeal);
             QVERIFY(View(h).BackGroundColor() != clTeal);
         }},
        {"cboUnits", Reach::Page, "Settings page, Units", OnSettingsPage("cboUnits"),
         [](Harness& h, QObject* control) {
             Choose(static_cast<QComboBox*>(control), "inch");
             QCOMPARE(h.window->State().settings.Unit, 1);
             QVERIFY(!View(h).IsMM());
             QCOMPARE(QString::fromStdString(View(h).UnitLabel()), Lang("1002"));
             QCOMPARE(h.ui().nlblDimb->text(), Lang("1001"));
         }},
        {"sbtReset", Reach::Page, "Settings page, Reset def.", OnSettingsPage("sbtReset"),
         [](Harness& h, QObject* control) {
             Choose(h.ui().ColorBoxBackground, "Black");
             Choose(h.ui().ColorBoxGrid, "Red");
             static_cast<QPushButton*>(control)->click();
             QCOMPARE(View(h).BackGroundColor(), TColor(0x808080));
             QCOMPARE(View(h).GridColor(), TColor(0x800000));
         }},
        {"nol_cboLang", Reach::Page, "Settings page, Language", OnSettingsPage("nol_cboLang"),
         [](Harness& h, QObject* control) {
             auto* box = static_cast<QComboBox*>(control);
             QCOMPARE(box->currentText(), QString("english"));
             Choose(box, "english");
             QCOMPARE(QString::fromStdString(h.window->State().settings.Language), QString("english"));
         }},
        {"sbtTransLng", Reach::Page, "Settings page, Translation ...", OnSettingsPage("sbtTransLng"),
         [](Harness&, QObject* control) {
             static_cast<QPushButton*>(control)->click();
             FrmEditLng* manager = nullptr;
             for (QWidget* widget : QApplication::topLevelWidgets())
                 if (auto* found = qobject_cast<FrmEditLng*>(widget); found && found->isVisible()) manager = found;
             QVERIFY(manager);
             manager->close();
         }},
        {"sbtGridOnOff", Reach::ToolBar, "View bar, Grid", Find("sbtGridOnOff"),
         [](Harness& h, QObject* control) {
             auto* button = static_cast<QToolButton*>(control);
             QVERIFY(button->isChecked() && View(h).ShowGrid());
             button->click();
             QVERIFY(!View(h).ShowGrid());
             QVERIFY(!h.window->State().settings.SGrid);
             QVERIFY(!h.window->findChild<QAction*>("actGrid")->isChecked());
             // The right button opens the grid dialog.
             emit button->customContextMenuRequested({2, 2});
             QCOMPARE(h.dialogs.modal.size(), 1);
         }},
        {"sbtAxisOnOff", Reach::ToolBar, "View bar, Axes", Find("sbtAxisOnOff"),
         [](Harness& h, QObject* control) {
             auto* button = static_cast<QToolButton*>(control);
             QVERIFY(button->isChecked() && View(h).ShowAssi());
             button->click();
             QVERIFY(!View(h).ShowAssi());
             QVERIFY(!h.window->State().settings.SAxis);
         }},
    };
}

// The grid and snap dialog.
std::vector<ControlRow> GridDialogRows() {
    return {
        {"SetGridSpacing1", Reach::Menu, "Settings > Grid spacing: spacing 40, snap 40, OK", Find("SetGridSpacing1"),
         [](Harness& h, QObject*) {
             InGridDialog(h, [](GridDialog& d) {
                 d.chkUnisceGrid->setChecked(true);
                 TypeInto(d.nol_cboGridX, "40");
                 TypeInto(d.nol_cboXSnap, "40");
                 d.chkSnap2Grid->click();
                 d.findChild<QPushButton*>("btnOk")->click();
                 return d.result();
             });
             QCOMPARE(View(h).GridDeltaX(), 40.0);
             QCOMPARE(View(h).GridDeltaY(), 40.0);
             QCOMPARE(Program(h).XSnap(), 40.0);
             QCOMPARE(Program(h).YSnap(), 40.0);
             QVERIFY(Program(h).UseSnap());
             QCOMPARE(h.window->State().settings.GridX, 40.0);
             QCOMPARE(h.window->State().settings.SnapY, 40.0);
             const TPoint2D placed = PlacePoint(h, {123, 217});
             QVERIFY2(MultipleOf(placed.X, 40.0) && MultipleOf(placed.Y, 40.0),
                      qPrintable(QString("%1 %2").arg(placed.X).arg(placed.Y)));
         }},
        {"btnCancel", Reach::Dialog, "Grid dialog, Cancel after a change", Find("SetGridSpacing1"),
         [](Harness& h, QObject*) {
             InGridDialog(h, [](GridDialog& d) {
                 TypeInto(d.nol_cboGridX, "25");
                 TypeInto(d.nol_cboXSnap, "5");
                 d.findChild<QPushButton*>("btnCancel")->click();
                 return d.result();
             });
             QCOMPARE(View(h).GridDeltaX(), 10.0);
             QCOMPARE(Program(h).XSnap(), 10.0);
         }},
        {"chkShowGrid", Reach::Dialog, "Grid dialog, Show grid", Find("SetGridSpacing1"),
         [](Harness& h, QObject*) {
             InGridDialog(h, [](GridDialog& d) {
                 d.chkShowGrid->click();
                 d.findChild<QPushButton*>("btnOk")->click();
                 return d.result();
             });
             QVERIFY(!View(h).ShowGrid());
             QVERIFY(!h.ui().sbtGridOnOff->isChecked());
             QVERIFY(!h.window->findChild<QAction*>("actGrid")->isChecked());
         }},
        {"nol_cboGridSubX", Reach::Dialog, "Grid dialog, Fine grid X", Find("SetGridSpacing1"),
         [](Harness& h, QObject*) {
             InGridDialog(h, [](GridDialog& d) {
                 TypeInto(d.nol_cboGridSubX, "2.5");
                 d.findChild<QPushButton*>("btnOk")->click();
                 return d.result();
             });
             QCOMPARE(View(h).GridSubX(), 2.5);
         }},
    };
}

// The 2D view and the strip above it.
std::vector<ControlRow> ViewRows() {
    return {
        {"VistaGrafica", Reach::View, "the 2D view, mouse wheel", Find("VistaGrafica"),
         [](Harness& h, QObject* control) {
             auto* view = static_cast<QWidget*>(control);
             const TRect2D before = View(h).VisualRect();
             QWheelEvent wheel(QPointF(100, 100), view->mapToGlobal(QPointF(100, 100)), {}, {0, 120}, Qt::NoButton, {},
                               Qt::NoScrollPhase, false);
             QApplication::sendEvent(view, &wheel);
             QVERIFY(View(h).VisualRect().Right - View(h).VisualRect().Left != before.Right - before.Left);
         }},
        {"actGrid", Reach::ViewStrip, "view strip, Grid", Find("actGrid"),
         [](Harness& h, QObject* control) {
             static_cast<QAction*>(control)->trigger();
             QVERIFY(!View(h).ShowGrid());
             QVERIFY(!h.ui().sbtGridOnOff->isChecked());  // one state with the tool bar's button
             QVERIFY(!h.window->State().settings.SGrid);
             h.ui().sbtGridOnOff->click();
             QVERIFY(static_cast<QAction*>(control)->isChecked() && View(h).ShowGrid());
         }},
        {"actSnap", Reach::ViewStrip, "view strip, Snap", Find("actSnap"),
         [](Harness& h, QObject* control) {
             static_cast<QAction*>(control)->trigger();
             QVERIFY(Program(h).UseSnap());
             QVERIFY(h.window->State().UseSnap);
             const TPoint2D placed = PlacePoint(h, {131, 203});
             QVERIFY(MultipleOf(placed.X, 10.0) && MultipleOf(placed.Y, 10.0));
         }},
        {"actPoint", Reach::ViewStrip, "view strip, Point, then a click", Find("actPoint"),
         [](Harness& h, QObject*) {
             PlacePoint(h, {150, 150});
             QCOMPARE(h.window->LocalCad().ObjectCount(), 1);
             // Drawn in a colour the view's background does not swallow.
             const TColor pen =
                 h.window->LocalCad().Layers().LayerByIndex(h.window->LocalCad().CurrentLayer()).Pen().Color;
             QVERIFY(pen != View(h).BackGroundColor());
         }},
        {"actZoomAll", Reach::ViewStrip, "view strip, Zoom all", Find("actZoomAll"),
         [](Harness& h, QObject* control) {
             h.window->LocalCad().AddObject2D(0, std::make_unique<TPunto2D>(-1, MakePoint2D(1000, 1000)));
             static_cast<QAction*>(control)->trigger();
             QVERIFY(View(h).VisualRect().Right >= 1000.0);
         }},
        {"actZoomWindow", Reach::ViewStrip, "view strip, Zoom window, then two corners", Find("actZoomWindow"),
         [](Harness& h, QObject* control) {
             const double before = View(h).VisualRect().Right - View(h).VisualRect().Left;
             static_cast<QAction*>(control)->trigger();
             QWidget* view = &h.window->View2D().Widget();
             QTest::mouseClick(view, Qt::LeftButton, {}, {100, 100});
             QTest::mouseMove(view, {140, 130});
             QTest::mouseClick(view, Qt::LeftButton, {}, {140, 130});
             QVERIFY(View(h).VisualRect().Right - View(h).VisualRect().Left < before);
         }},
        {"actPan", Reach::ViewStrip, "view strip, Pan", Find("actPan"),
         [](Harness& h, QObject* control) {
             const TRect2D before = View(h).VisualRect();
             static_cast<QAction*>(control)->trigger();
             QWidget* view = &h.window->View2D().Widget();
             QTest::mousePress(view, Qt::LeftButton, {}, {100, 100});
             QTest::mouseMove(view, {160, 140});
             QTest::mouseRelease(view, Qt::LeftButton, {}, {160, 140});
             QVERIFY(View(h).VisualRect().Left != before.Left);
         }},
    };
}

// The 3D view's switches.
std::vector<ControlRow> View3DRows() {
    const auto standard = [](const char* name, View3D::Standard view) {
        const auto in3D = [name](Harness& h) -> QObject* {
            h.ui().sbtShow->click();
            return h.window->findChild<QObject*>(QString::fromLatin1(name));
        };
        return ControlRow{name, Reach::ToolBar, "View bar, 3D, then a standard view", in3D,
                          [view](Harness& h, QObject* control) {
                              static_cast<QToolButton*>(control)->click();
                              QCOMPARE(h.view3d->views, QList<int>{int(view)});
                          }};
    };
    const auto surface = [](const char* name, View3D::Surface wanted) {
        return ControlRow{name, Reach::Menu, "3D view > surface", Find(name), [wanted](Harness& h, QObject* c) {
                              h.view3d->surface = View3D::Surface(-1);
                              static_cast<QAction*>(c)->trigger();
                              QCOMPARE(h.view3d->surface, wanted);
                          }};
    };
    return {
        {"sbtShow", Reach::ToolBar, "View bar, 3D", Find("sbtShow"),
         [](Harness& h, QObject* control) {
             static_cast<QToolButton*>(control)->click();
             QCOMPARE(h.ui().views->currentWidget(), h.ui().pnlVista3D);
             QVERIFY(h.ui().sbtTopView->isEnabled());
             static_cast<QToolButton*>(control)->click();
             QVERIFY(h.ui().views->currentWidget() != h.ui().pnlVista3D);
         }},
        standard("sbtTopView", View3D::Standard::Top),
        standard("sbtFrontView", View3D::Standard::Front),
        standard("sbtSideView", View3D::Standard::Side),
        standard("sbtIsoView", View3D::Standard::Iso),
        surface("mnuSPShade", View3D::Surface::Shaded),
        surface("mnuSPWire", View3D::Surface::Wire),
        surface("mnuSPNone", View3D::Surface::None),
        {"mnuShowTool", Reach::Menu, "3D view > Show the cutter", Find("mnuShowTool"),
         [](Harness& h, QObject* control) {
             static_cast<QAction*>(control)->trigger();
             QVERIFY(h.view3d->toolVisible);
         }},
        {"mnuShowXYZ", Reach::Menu, "3D view > Show the axes", Find("mnuShowXYZ"),
         [](Harness& h, QObject* control) {
             static_cast<QAction*>(control)->trigger();
             QVERIFY(!h.view3d->axesVisible);
         }},
    };
}

const std::vector<std::vector<ControlRow>>& Tables() {
    static const std::vector<std::vector<ControlRow>> tables = {
        LifeCycleRows(), SettingsRows(), GridDialogRows(), ViewRows(), View3DRows(),
    };
    return tables;
}

// Whether a person can get at the control where the row says it is.
QString Unreachable(Harness& h, const ControlRow& row, QObject* control) {
    if (!control) return "missing";
    if (auto* action = qobject_cast<QAction*>(control)) {
        if (!action->isVisible() || !action->isEnabled()) return "hidden or disabled";
        if (row.reach == Reach::Menu) {
            bool inMenuBar = false;
            for (QObject* owner : action->associatedObjects())
                if (auto* menu = qobject_cast<QMenu*>(owner))
                    inMenuBar = inMenuBar || h.window->menuBar()->actions().contains(menu->menuAction());
            return inMenuBar ? QString() : "in no menu of the menu bar";
        }
        if (row.reach == Reach::ViewStrip) {
            auto* strip = h.window->findChild<QToolBar*>("tbrView2D");
            return strip && strip->isVisible() && strip->actions().contains(action) ? QString()
                                                                                    : "not on the view strip";
        }
        return {};
    }
    auto* widget = qobject_cast<QWidget*>(control);
    if (!widget) return "not a control";
    if (row.reach == Reach::Dialog) return {};  // shown by the dialog's own road
    if (!widget->isVisible() || !widget->isEnabled()) return "hidden or disabled";
    if (row.reach == Reach::ToolBar && !qobject_cast<QToolBar*>(widget->parentWidget())) return "on no tool bar";
    return {};
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
        QObject* found = control.find(h);
        const QString problem = Unreachable(h, control, found);
        QVERIFY2(problem.isEmpty(), qPrintable(QString(control.name) + ": " + problem));
        control.use(h, found);
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

    // Deleting the language in use leaves the program in English, with the
    // language box and the saved setting naming a language that is there.
    void deletingTheLanguageInUseFallsBackToEnglish() {
        Harness h;
        fs::copy_file(h.install.root() / "language" / "english.lng", h.install.root() / "language" / "deutsch.lng");
        h.install.write("Calvoro.ini", "[Default]\r\nLanguage=deutsch\r\n");
        h.start();
        QCOMPARE(QString::fromStdString(LanguageName()), QString("deutsch"));
        fs::remove(h.install.root() / "language" / "deutsch.lng");
        h.window->Settings().LanguagesChanged();
        QCOMPARE(QString::fromStdString(LanguageName()), QString("english"));
        QCOMPARE(h.ui().nol_cboLang->currentText(), QString("english"));
        QCOMPARE(QString::fromStdString(h.window->State().settings.Language), QString("english"));
        QCOMPARE(h.errors, QStringList());
    }

    // The view strip, the units and the colour names speak the user's language.
    void theWindowsTextsComeFromTheLanguageFile() {
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
        QCOMPARE(QString::fromStdString(View(h).UnitLabel()), QString("Zoll"));
        QCOMPARE(h.ui().cboUnits->currentText(), QString("Zoll"));
        h.ui().sbtSetting->click();
        QCOMPARE(h.ui().ColorBoxBackground->itemText(0), QString("Schwarz"));
    }

    // The grid page has no road of its own yet; its boxes act on the view all the same.
    void theGridPageSetsTheViewsGrid() {
        Harness h;
        h.start();
        h.ui().chkUnisceGrid->setChecked(true);
        TypeInto(h.ui().nol_cboGridX, "2.5");
        QCOMPARE(View(h).GridDeltaX(), 2.5);
        QCOMPARE(View(h).GridDeltaY(), 2.5);
        TypeInto(h.ui().nol_cboGridSubY, "0.5");
        QCOMPARE(View(h).GridSubY(), 0.5);
        QCOMPARE(h.window->State().settings.GridY, 2.5);
    }

    // An NC folder that is not there (another computer's) is never kept.
    void aMissingNcFolderGivesAnExistingOne() {
        Harness h;
        h.install.write("Calvoro.ini", "[Default]\r\nNcPath=/nowhere/at/all/\r\n");
        h.start();
        const std::string folder = h.window->State().settings.NcPath;
        QVERIFY2(fs::is_directory(folder), folder.c_str());
        QVERIFY(folder.ends_with("/"));
    }

    // The settings file reaches the view and the interaction program at start.
    void startsWithTheSettingsFileOnTheView() {
        Harness h;
        h.install.write("Calvoro.ini",
                        "[Color]\r\nBackGround=255\r\nGrid=65280\r\n[Default]\r\nUnit=1\r\nSGrid=0\r\nSAxis=0\r\n"
                        "GridX=2.5\r\nGridY=0.5\r\nSnapX=0.5\r\nSnapY=0.25\r\n");
        h.start();
        TQVViewport2D& view = View(h);
        QCOMPARE(view.BackGroundColor(), TColor(255));
        QCOMPARE(view.GridColor(), TColor(65280));
        QVERIFY(!view.IsMM());
        QCOMPARE(QString::fromStdString(view.UnitLabel()), Lang("1002"));
        QVERIFY(!view.ShowGrid() && !view.ShowAssi());
        QVERIFY(!h.ui().sbtGridOnOff->isChecked() && !h.ui().sbtAxisOnOff->isChecked());
        QVERIFY(!h.window->findChild<QAction*>("actGrid")->isChecked());
        QCOMPARE(view.GridDeltaX(), 2.5);
        QCOMPARE(view.GridDeltaY(), 0.5);
        QCOMPARE(Program(h).XSnap(), 0.5);
        QCOMPARE(Program(h).YSnap(), 0.25);
        QVERIFY(!Program(h).UseSnap());
        // The inch sheet: the whole of (-0.4, -0.4) to (11.5, 11.5) shows.
        const TRect2D shown = view.VisualRect();
        QVERIFY(shown.Left <= -0.4 && shown.Bottom <= -0.4 && shown.Right >= 11.5 && shown.Top >= 11.5);
        QVERIFY(shown.Right - shown.Left < 30.0 && shown.Top - shown.Bottom < 30.0);
        QCOMPARE(ScreenPixelAt(h, 3, 3), QColor(Qt::red));
        // What the view shows is what is saved.
        QVERIFY(h.close(true));
        const Settings saved = ReadSettings(IniFile(h.install.ini()));
        QVERIFY(!saved.SGrid && !saved.SAxis);
        QCOMPARE(saved.SnapY, 0.25);
    }
};

}  // namespace

QTEST_MAIN(WindowControlsTest)
#include "WindowControlsTest.moc"

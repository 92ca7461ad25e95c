// The view controls of the real main window, one row per control: where a
// person finds it, and what it does to the 2D view, the 3D view, the
// interaction program, the job state or the pages. Then the ends of the
// operations (the Z point pick among them) and the entity tree.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStackedWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <functional>

#include "WindowHarness.h"
#include "kernel/drawing/QVCmp2D.h"
#include "kernel/entities/TJustifiedVectText2D.h"
#include "kernel/entities/TLine2D.h"
#include "kernel/entities/TPunto2D.h"
#include "kernel/gui/ViewportWidget.h"
#include "kernel/program/TQVPrg2D.h"
#include "kernel/tasks/QV2DTasks.h"
#include "kernel/view/TQVViewport2D.h"
#include "shell/app/ViewReadout.h"
#include "shell/gui/MainLifeCycle.h"
#include "shell/gui/ScreenCursors.h"
#include "shell/gui/SettingsController.h"
#include "shell/gui/View2DHost.h"
#include "shell/gui/ViewHandlers.h"

using namespace calvoro;
using namespace calvoro::testing;

namespace {

double ViewWidth(MainWindow& w) {
    const TRect2D r = w.View2D().Viewport().VisualRect();
    return r.Right - r.Left;
}

template <class T>
T* Find(MainWindow& w, const char* name) {
    return w.findChild<T*>(QString::fromLatin1(name));
}

// Clicks a tool button or triggers a menu item, the way a person would.
void Press(MainWindow& w, const char* name) {
    if (auto* button = Find<QToolButton>(w, name)) {
        QVERIFY2(button->isVisibleTo(&w) && button->isEnabled(), name);
        button->click();
        return;
    }
    auto* action = Find<QAction>(w, name);
    QVERIFY2(action != nullptr, name);
    w.Ui().LocalPopUp->popup(w.mapToGlobal(QPoint(100, 100)));
    QVERIFY2(action->isEnabled(), name);
    action->trigger();
    w.Ui().LocalPopUp->hide();
}

// Esc anywhere in the active window.
void PressEscape(MainWindow& w) {
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(w.focusWidget() ? w.focusWidget() : &w, Qt::Key_Escape);
}

}  // namespace

class WindowViewTest : public QObject {
    Q_OBJECT
private slots:
    void everyViewControlHasItsEffect() {
        struct Row {
            const char* name;
            const char* reached;
            bool in3D;
            // What the control must have done; empty when it did.
            std::function<QString(Harness&, double widthBefore)> effect;
        };
        const auto narrower = [](Harness& h, double before) {
            return ViewWidth(*h.window) < before ? QString() : "the 2D view did not zoom in";
        };
        const auto wider = [](Harness& h, double before) {
            return ViewWidth(*h.window) > before ? QString() : "the 2D view did not zoom out";
        };
        const auto scaled = [](double factor) {
            return [factor](Harness& h, double) {
                return h.view3d->zoomFactors == QList<double>{factor} ? QString() : "the 3D scale did not change";
            };
        };
        const auto zoomWindow = [](Harness& h, double) {
            const TQVPrg2D& program = h.window->View2D().Program();
            if (h.window->State().ActiveCommand != kCommandZoomWindow || !h.ui().sbtZoomWin->isChecked() ||
                !program.OperationRunning() || program.OperationClass() != &TCADPrgZoomArea::Class)
                return QString("no zoom window running");
            return QString();
        };
        const auto pan = [](Harness& h, double) {
            if (h.window->State().ActiveCommand != kCommandPan || !h.ui().sbtPan->isChecked() ||
                !h.window->ViewCommands().PanActive() || !h.window->View2D().Program().OperationRunning())
                return QString("no pan running");
            return QString();
        };
        const auto wholeDrawing = [](Harness& h, double before) {
            // The drawing holds a line 0..1000 wide: all of it in sight.
            const TRect2D r = h.window->View2D().Viewport().VisualRect();
            return r.Left <= 0 && r.Right >= 1000 && ViewWidth(*h.window) != before ? QString()
                                                                                    : "not the whole drawing";
        };
        const auto wholeRelief = [](Harness& h, double) {
            return h.view3d->workBoxZooms == 1 ? QString() : "the 3D view was not fitted";
        };
        const Row rows[] = {
            {"sbtZoomIn", "view tool bar", false, narrower},
            {"mnuZoomIn", "view right-click menu", false, narrower},
            {"sbtZoomIn", "view tool bar, 3D", true, scaled(1.5)},
            {"mnuZoomIn", "view right-click menu, 3D", true, scaled(1.5)},
            {"sbtZoomBack", "view tool bar", false, wider},
            {"mnuZoomOut", "view right-click menu", false, wider},
            {"sbtZoomBack", "view tool bar, 3D", true, scaled(0.5)},
            {"mnuZoomOut", "view right-click menu, 3D", true, scaled(0.5)},
            {"sbtZoomWin", "view tool bar", false, zoomWindow},
            {"mnuZoomWindow", "view right-click menu", false, zoomWindow},
            {"sbtZoomWin", "view tool bar, 3D", true,
             [](Harness& h, double) {
                 return !h.ui().sbtZoomWin->isChecked() && h.window->State().ActiveCommand != kCommandZoomWindow
                            ? QString()
                            : "the 3D view has no zoom window";
             }},
            {"sbtPan", "view tool bar", false, pan},
            {"mnuPan", "view right-click menu", false, pan},
            {"sbtPan", "view tool bar, 3D", true,
             [&](Harness& h, double w) { return h.view3d->panMode ? pan(h, w) : "the 3D view does not pan"; }},
            {"sbtAutozoom", "view tool bar", false, wholeDrawing},
            {"mnuAutozoom", "view right-click menu", false, wholeDrawing},
            {"sbtAutozoom", "view tool bar, 3D", true, wholeRelief},
            {"mnuAutozoom", "view right-click menu, 3D", true, wholeRelief},
        };
        for (const Row& r : rows) {
            Harness h;
            MainWindow& w = h.start();
            w.LocalCad().AddObject2D(-1, std::make_unique<TLine2D>(-1, MakePoint2D(0, 0), MakePoint2D(1000, 10)));
            w.LifeCycle().SetView3D(r.in3D);
            const double before = ViewWidth(w);
            Press(w, r.name);
            const QString fault = r.effect(h, before);
            QVERIFY2(fault.isEmpty(), qPrintable(QString("%1 (%2): %3").arg(r.name, r.reached, fault)));
            QCOMPARE(h.errors, QStringList());
        }
    }

    // The ways out of a pan or a zoom window, and what they leave behind.
    void cancelEscapeAndDoneEndTheRunningCommand() {
        struct Row {
            const char* start;
            std::function<void(Harness&)> leave;
            std::int32_t commandAfter;
        };
        const auto escape = [](Harness& h) { PressEscape(*h.window); };
        const Row rows[] = {
            {"sbtPan", [](Harness& h) { h.ui().btnCancel->click(); }, kCommandCancelled},
            {"sbtPan", [](Harness& h) { Press(*h.window, "mnuCancel"); }, kCommandCancelled},
            {"sbtPan", escape, kNoCommand},
            {"sbtPan",
             [](Harness& h) {
                 QWidget* view = &h.window->View2D().Widget();
                 view->setFocus();
                 QTest::keyClick(view, Qt::Key_Escape);
             },
             kNoCommand},
            {"sbtZoomWin", escape, kCommandZoomWindow},
            // The view strip's twins run the same commands.
            {"actZoomWindow", escape, kCommandZoomWindow},
            {"actPan", escape, kNoCommand},
            {"sbtPan", [](Harness& h) { Press(*h.window, "mnuDone"); }, kNoCommand},
        };
        for (const Row& r : rows) {
            Harness h;
            MainWindow& w = h.start();
            Press(w, r.start);
            QVERIFY(w.View2D().Program().OperationRunning());
            r.leave(h);
            QVERIFY2(!w.View2D().Program().OperationRunning(), r.start);
            QCOMPARE(w.State().ActiveCommand, r.commandAfter);
            QVERIFY(!h.ui().sbtPan->isChecked());
            QVERIFY(!h.ui().sbtZoomWin->isChecked());
            QVERIFY(!w.ViewCommands().PanActive());
            QVERIFY(!h.view3d->panMode);
            QCOMPARE(h.errors, QStringList());
        }
    }

    void theRightClickMenuOpensOverBothViewsWithItsEnabling() {
        Harness h;
        MainWindow& w = h.start();
        QWidget* view = &w.View2D().Widget();
        emit view->customContextMenuRequested(QPoint(20, 20));
        QMenu* menu = h.ui().LocalPopUp;
        QVERIFY(menu->isVisible());
        struct Row {
            QAction* action;
            bool idle, panning, in3D;
        };
        const MainWindowUi& ui = h.ui();
        const Row rows[] = {
            {ui.mnuDone, false, true, false},       {ui.mnuCancel, false, true, false},
            {ui.mnuPan, true, false, true},         {ui.mnuAutozoom, true, false, true},
            {ui.mnuZoomWindow, true, false, false}, {ui.mnuZoomIn, true, false, true},
            {ui.mnuZoomOut, true, false, true},
        };
        for (const Row& r : rows) QCOMPARE(r.action->isEnabled(), r.idle);
        menu->hide();
        w.ViewCommands().Pan();
        w.ViewCommands().ShowPopup(QPoint(10, 10));
        for (const Row& r : rows) QCOMPARE(r.action->isEnabled(), r.panning);
        menu->hide();
        w.ViewCommands().Cancel();
        w.LifeCycle().SetView3D(true);
        emit h.view3d->widget()->customContextMenuRequested(QPoint(20, 20));
        QVERIFY(menu->isVisible());
        for (const Row& r : rows) QCOMPARE(r.action->isEnabled(), r.in3D);
        menu->hide();
    }

    // The Z point pick ends with the point it placed, or without one when it
    // is left early; either way nothing breaks and the hooks hear of it once.
    void theZPointPickEndsThroughItsHooks() {
        struct Row {
            const char* name;
            bool placePoint;
            std::function<void(MainWindow&)> end;
            QString heard;
        };
        const auto endOperation = [](MainWindow& w) { w.ViewCommands().EndOperation(); };
        const Row rows[] = {
            {"point placed", true, endOperation, "picked 12.5 -3"},
            {"no point", false, endOperation, "cancelled"},
            {"Esc", false, PressEscape, "cancelled"},
            {"Cancel", false, [](MainWindow& w) { w.Ui().btnCancel->click(); }, "cancelled"},
        };
        for (const Row& r : rows) {
            Harness h;
            MainWindow& w = h.start();
            QStringList heard;
            w.ViewCommands().SetZncPickHooks(
                [&](double x, double y) { heard << QString("picked %1 %2").arg(x).arg(y); },
                [&] { heard << "cancelled"; });
            w.State().ActiveCommand = kCommandZNoCutPick;
            if (r.placePoint)
                w.LocalCad().AddObject2D(kZncPointId, std::make_unique<TPunto2D>(kZncPointId, MakePoint2D(12.5, -3)));
            r.end(w);
            QCOMPARE(heard, QStringList{r.heard});
            QVERIFY2(w.State().ActiveCommand != kCommandZNoCutPick, r.name);
            // A later end of some other operation hears nothing more.
            w.ViewCommands().EndOperation();
            QCOMPARE(heard.size(), 1);
            QCOMPARE(h.errors, QStringList());
        }
    }

    // Over the view the cursor is the cross, the hand while a pan runs, and
    // the cross again when the pan is over.
    void theViewShowsTheCrossAndThePanHand() {
        Harness h;
        MainWindow& w = h.start();
        QWidget* view = &w.View2D().Widget();
        const auto cross = ScreenCursor(2).pixmap().cacheKey();
        const auto hand = ScreenCursor(1).pixmap().cacheKey();
        QVERIFY(cross != hand);
        view->setAttribute(Qt::WA_UnderMouse, true);
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), view->mapToGlobal(QPointF(5, 5)));
        QApplication::sendEvent(view, &enter);
        QCOMPARE(view->cursor().pixmap().cacheKey(), cross);
        w.ViewCommands().Pan();
        QCOMPARE(view->cursor().pixmap().cacheKey(), hand);
        view->setAttribute(Qt::WA_UnderMouse, false);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(view, &leave);
        QCOMPARE(view->cursor().pixmap().cacheKey(), hand);
        view->setAttribute(Qt::WA_UnderMouse, true);
        QApplication::sendEvent(view, &enter);
        w.ViewCommands().Cancel();
        QCOMPARE(view->cursor().pixmap().cacheKey(), cross);
        view->setAttribute(Qt::WA_UnderMouse, false);
        QApplication::sendEvent(view, &leave);
        QVERIFY(!view->testAttribute(Qt::WA_SetCursor));
    }

    // A picked object is drawn over the view with the rubber pen; no object,
    // no drawing.
    void aPickedObjectIsHighlighted() {
        Harness h;
        MainWindow& w = h.start();
        TObject2D* line =
            w.LocalCad().AddObject2D(-1, std::make_unique<TLine2D>(-1, MakePoint2D(10, 10), MakePoint2D(200, 150)));
        QApplication::processEvents();
        const QImage before = w.View2D().Widget().ScreenImage().copy();
        w.ViewCommands().OnSelectedObj(nullptr);
        QCOMPARE(w.View2D().Widget().ScreenImage(), before);
        w.ViewCommands().OnSelectedObj(line);
        QVERIFY(w.View2D().Widget().ScreenImage() != before);
        QCOMPARE(h.errors, QStringList());
    }

    void theEndOfACommandGivesTheWindowBack() {
        Harness h;
        MainWindow& w = h.start();
        w.LifeCycle().AbilitaPnl(false);
        w.View2D().SetObjectSnapActive(true);
        w.State().ActiveCommand = 15;
        w.ViewCommands().EndOperation();
        QVERIFY(h.ui().pnlTbr1->isEnabled());
        QVERIFY(!w.View2D().ObjectSnapActive());
        QCOMPARE(w.State().ActiveCommand, 15);
        // A task's prompt is the status line.
        w.ViewCommands().DescriptionChanged("Pick the first corner");
        QCOMPARE(h.ui().pnlStatus2->text(), QString("Pick the first corner"));
    }

    void readoutsSnapBoxesAndCloseButtons() {
        Harness h;
        MainWindow& w = h.start();
        const MainWindowUi& ui = h.ui();
        w.ViewCommands().InfoLinea(MakePoint2D(0, 0), MakePoint2D(0, -1));
        QCOMPARE(ui.nol_stxAngoloLinea->text(), QString("270"));
        QCOMPARE(ui.nol_stxLineaDeltaY->text(), QString("-1"));
        QCOMPARE(ui.nol_stxLungLinea->text(), QString("1"));
        w.ViewCommands().InfoDistanza(MakePoint2D(1, 2), MakePoint2D(4, 6));
        const std::pair<QLineEdit*, const char*> distance[] = {
            {ui.txtDistX1, "1"}, {ui.txtDistY1, "2"}, {ui.txtDistX2, "4"},  {ui.txtDistY2, "6"},
            {ui.txtDistDx, "3"}, {ui.txtDistDy, "4"}, {ui.txtDistLen, "5"}, {ui.txtDistAngle, "53.13"},
        };
        for (const auto& [edit, text] : distance) QCOMPARE(edit->text(), QString(text));
        // The end of an operation leaves the read-out alone.
        w.ViewCommands().Pan();
        w.ViewCommands().Cancel();
        w.ViewCommands().EndOperation();
        QCOMPARE(ui.txtDistY1->text(), QString("2"));

        // The snap page shows the snap in force, however it was set.
        GridValues grid = w.Settings().Grid();
        grid.XSnap = 7.5;
        w.Settings().SetGrid(grid);
        w.LifeCycle().VisPagine({6});
        QCOMPARE(ui.nol_cboXSnap->currentText(), QString("7.5"));
        // Snap X typed on the snap page: Y follows while they are coupled.
        struct Snap {
            QComboBox* box;
            bool coupled;
            const char* text;
            double x, y;
        };
        const Snap snaps[] = {
            {ui.nol_cboXSnap, true, "2.5", 2.5, 2.5},
            {ui.nol_cboYSnap, true, "4", 4, 4},
            {ui.nol_cboXSnap, false, "0.5", 0.5, 4},
        };
        for (const Snap& s : snaps) {
            ui.chkSnap->setChecked(s.coupled);
            s.box->setFocus();
            s.box->lineEdit()->selectAll();
            QTest::keyClicks(s.box->lineEdit(), s.text);
            const GridValues values = w.Settings().Grid();
            QCOMPARE(values.XSnap, s.x);
            QCOMPARE(values.YSnap, s.y);
        }

        for (QToolButton* close : {ui.SpeedButton9}) {
            w.LifeCycle().VisPagine({29});
            w.LifeCycle().Messaggio("busy");
            close->click();
            QCOMPARE(ui.PageControl1->currentIndex(), 43);
            QCOMPARE(ui.pnlStatus2->text(), QString());
        }
    }

    void doubleClickEditsAVectorTextOnly() {
        Harness h;
        MainWindow& w = h.start();
        auto* text = static_cast<TJustifiedVectText2D*>(w.LocalCad().AddObject2D(
            -1, std::make_unique<TJustifiedVectText2D>(-1, MakePoint2D(0, 0), MakePoint2D(100, 20), 20)));
        text->SetVectText("old");
        struct Row {
            TPoint2D at;
            std::deque<QString> answers;
            QString textAfter;
            int asked;
        };
        const Row rows[] = {
            {MakePoint2D(0, 0), {"new"}, "new", 1},
            {MakePoint2D(0, 0), {}, "new", 1},  // Cancel keeps the text
            {MakePoint2D(250, 250), {"far"}, "new", 0},
        };
        for (const Row& r : rows) {
            h.dialogs.textPrompts.clear();
            h.dialogs.texts = r.answers;
            w.View2D().Program().SetCurrentPoint(r.at);
            w.ViewCommands().DoubleClicked();
            QCOMPARE(QString::fromStdString(text->Text()), r.textAfter);
            QCOMPARE(h.dialogs.textPrompts.size(), r.asked);
        }
        QCOMPARE(h.dialogs.textPrompts.value(0, "Edit Text|String|new"), QString("Edit Text|String|new"));
        // Within a running command the double-click is the command's.
        h.dialogs.textPrompts.clear();
        h.dialogs.texts = {"busy"};
        w.ViewCommands().Pan();
        w.View2D().Program().SetCurrentPoint(MakePoint2D(0, 0));
        w.ViewCommands().DoubleClicked();
        QCOMPARE(h.dialogs.textPrompts.size(), 0);
        QCOMPARE(QString::fromStdString(text->Text()), QString("new"));
    }

    void theEntityTreeFollowsTheDrawing() {
        Harness h;
        MainWindow& w = h.start();
        QTreeWidget* tree = h.ui().TreeGeo;
        QVERIFY(tree->isVisibleTo(h.ui().pages[7]));
        TObject2D* line =
            w.LocalCad().AddObject2D(-1, std::make_unique<TLine2D>(-1, MakePoint2D(0, 0), MakePoint2D(1, 1)));
        w.LocalCad().AddObject2D(-1, std::make_unique<TPunto2D>(-1, MakePoint2D(2, 2)));
        QTRY_COMPARE(tree->topLevelItemCount(), 1);
        QTreeWidgetItem* root = tree->topLevelItem(0);
        QCOMPARE(root->text(0), QString("Drawing"));
        QCOMPARE(root->childCount(), 1);
        QTreeWidgetItem* layer = root->child(0);
        QVERIFY(layer->text(0).startsWith("Layer"));
        QCOMPARE(layer->childCount(), 2);
        QCOMPARE(layer->child(0)->text(0), QString("Line"));
        QCOMPARE(layer->child(1)->text(0), QString("Point"));
        w.LocalCad().DeleteObject(line->ID());
        QTRY_COMPARE(tree->topLevelItem(0)->child(0)->childCount(), 1);
        w.LocalCad().ClearObjects();
        QTRY_COMPARE(tree->topLevelItemCount(), 0);
    }
};

QTEST_MAIN(WindowViewTest)
#include "WindowViewTest.moc"

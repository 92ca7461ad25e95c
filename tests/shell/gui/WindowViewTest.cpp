// The view commands of the real main window once they run: the ways out of a
// pan or zoom window and of the Z point pick, the right-click menu's enabling,
// the cursor, the read-outs, the double-click and the entity tree. The rows of
// the view's controls are in the window's controls test.
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
#include "kernel/entities/TCerchio2D.h"
#include "kernel/entities/TJustifiedVectText2D.h"
#include "kernel/entities/TLine2D.h"
#include "kernel/entities/TPunto2D.h"
#include "kernel/gui/ViewportWidget.h"
#include "kernel/program/TQVPrg2D.h"
#include "kernel/tasks/QV2DTasks.h"
#include "kernel/view/TQVViewport2D.h"
#include "shell/app/ViewReadout.h"
#include "shell/gui/EntityTreeView.h"
#include "shell/gui/MainLifeCycle.h"
#include "shell/gui/ScreenCursors.h"
#include "shell/gui/SettingsController.h"
#include "shell/gui/View2DHost.h"
#include "shell/gui/ViewHandlers.h"

using namespace calvoro;
using namespace calvoro::testing;

namespace {

// Clicks a tool button, or triggers an item of the view's right-click menu,
// the way a person would.
void Press(MainWindow& w, const char* name) {
    if (auto* button = w.findChild<QToolButton*>(name)) {
        QVERIFY2(button->isVisibleTo(&w) && button->isEnabled(), name);
        button->click();
        return;
    }
    auto* action = w.findChild<QAction*>(name);
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
    // Every way out of a running pan, zoom window or Z point pick, and what it
    // leaves behind. The pick's hooks hear of its end once, with the point it
    // placed or without one when it is left early.
    void everyWayOutEndsTheRunningCommand() {
        struct Row {
            const char* start;  // the control that starts it, or a Z pick with or without its point
            std::function<void(Harness&)> leave;
            std::int32_t commandAfter;
            QString heard;  // by the pick's hooks
        };
        const auto escape = [](Harness& h) { PressEscape(*h.window); };
        const auto cancel = [](Harness& h) { h.ui().btnCancel->click(); };
        const auto endOperation = [](Harness& h) { h.window->ViewCommands().EndOperation(); };
        const Row rows[] = {
            {"sbtPan", cancel, kCommandCancelled, ""},
            {"sbtPan", [](Harness& h) { Press(*h.window, "mnuCancel"); }, kCommandCancelled, ""},
            {"sbtPan", escape, kNoCommand, ""},
            {"sbtPan",
             [](Harness& h) {
                 h.view2d()->setFocus();
                 QTest::keyClick(h.view2d(), Qt::Key_Escape);
             },
             kNoCommand, ""},
            {"sbtZoomWin", escape, kCommandZoomWindow, ""},
            // The view strip's twins run the same commands.
            {"actZoomWindow", escape, kCommandZoomWindow, ""},
            {"actPan", escape, kNoCommand, ""},
            {"sbtPan", [](Harness& h) { Press(*h.window, "mnuDone"); }, kNoCommand, ""},
            {"Z pick, point placed", endOperation, kNoCommand, "picked 12.5 -3"},
            {"Z pick", endOperation, kNoCommand, "cancelled"},
            {"Z pick", escape, kNoCommand, "cancelled"},
            {"Z pick", cancel, kCommandCancelled, "cancelled"},
        };
        for (const Row& r : rows) {
            Harness h;
            MainWindow& w = h.start();
            QStringList heard;
            w.ViewCommands().SetZncPickHooks(
                [&](double x, double y) { heard << QString("picked %1 %2").arg(x).arg(y); },
                [&] { heard << "cancelled"; });
            if (QString(r.start).startsWith("Z pick")) {
                w.State().ActiveCommand = kCommandZNoCutPick;
                if (QString(r.start).endsWith("placed"))
                    w.LocalCad().AddObject2D(kZncPointId,
                                             std::make_unique<TPunto2D>(kZncPointId, MakePoint2D(12.5, -3)));
            } else {
                Press(w, r.start);
                QVERIFY(w.View2D().Program().OperationRunning());
            }
            r.leave(h);
            QVERIFY2(!w.View2D().Program().OperationRunning(), r.start);
            QCOMPARE(w.State().ActiveCommand, r.commandAfter);
            QVERIFY(!h.ui().sbtPan->isChecked() && !h.ui().sbtZoomWin->isChecked());
            QVERIFY(!w.ViewCommands().PanActive() && !h.view3d->panMode);
            QCOMPARE(heard.join(""), r.heard);
            // A later end of some other operation hears nothing more.
            w.ViewCommands().EndOperation();
            QCOMPARE(heard.join(""), r.heard);
            QCOMPARE(h.errors, QStringList());
        }
    }

    void theRightClickMenuOpensOverBothViewsWithItsEnabling() {
        Harness h;
        MainWindow& w = h.start();
        const MainWindowUi& ui = h.ui();
        struct Row {
            QAction* action;
            bool idle, panning, in3D;
        };
        const Row rows[] = {
            {ui.mnuDone, false, true, false},       {ui.mnuCancel, false, true, false},
            {ui.mnuPan, true, false, true},         {ui.mnuAutozoom, true, false, true},
            {ui.mnuZoomWindow, true, false, false}, {ui.mnuZoomIn, true, false, true},
            {ui.mnuZoomOut, true, false, true},
        };
        emit w.View2D().Widget().customContextMenuRequested(QPoint(20, 20));
        QVERIFY(ui.LocalPopUp->isVisible());
        for (const Row& r : rows) QCOMPARE(r.action->isEnabled(), r.idle);
        ui.LocalPopUp->hide();
        w.ViewCommands().Pan();
        w.ViewCommands().ShowPopup(QPoint(10, 10));
        for (const Row& r : rows) QCOMPARE(r.action->isEnabled(), r.panning);
        ui.LocalPopUp->hide();
        w.ViewCommands().Cancel();
        w.LifeCycle().SetView3D(true);
        emit h.view3d->widget()->customContextMenuRequested(QPoint(20, 20));
        QVERIFY(ui.LocalPopUp->isVisible());
        for (const Row& r : rows) QCOMPARE(r.action->isEnabled(), r.in3D);
        ui.LocalPopUp->hide();
    }

    // Over the view the cursor is the cross, the hand while a pan runs (also
    // when the mouse leaves), and the cross again when the pan is over.
    void theViewShowsTheCrossAndThePanHand() {
        Harness h;
        MainWindow& w = h.start();
        QWidget* view = &w.View2D().Widget();
        const auto cross = ScreenCursor(2).pixmap().cacheKey();
        const auto hand = ScreenCursor(1).pixmap().cacheKey();
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), view->mapToGlobal(QPointF(5, 5)));
        QEvent leave(QEvent::Leave);
        const auto move = [&](bool in) {
            view->setAttribute(Qt::WA_UnderMouse, in);
            QApplication::sendEvent(view, in ? static_cast<QEvent*>(&enter) : &leave);
        };
        move(true);
        QCOMPARE(view->cursor().pixmap().cacheKey(), cross);
        w.ViewCommands().Pan();
        move(false);
        QCOMPARE(view->cursor().pixmap().cacheKey(), hand);
        move(true);
        w.ViewCommands().Cancel();
        QCOMPARE(view->cursor().pixmap().cacheKey(), cross);
        move(false);
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

    // The end of a command gives the window back and leaves the read-outs
    // alone; the snap page shows and takes the snap in force; the pages'
    // close buttons go back to the drawing.
    void readoutsSnapBoxesAndCloseButtons() {
        Harness h;
        MainWindow& w = h.start();
        const MainWindowUi& ui = h.ui();
        w.ViewCommands().InfoLinea(MakePoint2D(0, 0), MakePoint2D(0, -1));
        QCOMPARE(ui.nol_stxAngoloLinea->text(), QString("270"));
        QCOMPARE(ui.nol_stxLineaDeltaY->text(), QString("-1"));
        w.ViewCommands().InfoDistanza(MakePoint2D(1, 2), MakePoint2D(4, 6));
        const std::pair<QLineEdit*, const char*> distance[] = {
            {ui.txtDistX1, "1"}, {ui.txtDistY1, "2"}, {ui.txtDistX2, "4"},  {ui.txtDistY2, "6"},
            {ui.txtDistDx, "3"}, {ui.txtDistDy, "4"}, {ui.txtDistLen, "5"}, {ui.txtDistAngle, "53.13"},
        };
        for (const auto& [edit, text] : distance) QCOMPARE(edit->text(), QString(text));
        w.LifeCycle().AbilitaPnl(false);
        w.View2D().SetObjectSnapActive(true);
        w.State().ActiveCommand = 15;
        w.ViewCommands().EndOperation();
        QVERIFY(ui.pnlTbr1->isEnabled() && !w.View2D().ObjectSnapActive());
        QCOMPARE(w.State().ActiveCommand, 15);
        QCOMPARE(ui.txtDistY1->text(), QString("2"));

        GridValues grid = w.Settings().Grid();
        grid.XSnap = 7.5;
        w.Settings().SetGrid(grid);
        w.LifeCycle().VisPagine({page::kSnap});
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
            QCOMPARE(w.Settings().Grid().XSnap, s.x);
            QCOMPARE(w.Settings().Grid().YSnap, s.y);
        }

        for (QToolButton* close : {ui.SpeedButton9}) {
            w.LifeCycle().VisPagine({page::kLineInfo});
            w.LifeCycle().Messaggio("busy");
            close->click();
            QCOMPARE(ui.PageControl1->currentIndex(), page::kDistance);
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
            bool panning;
            QString textAfter;
            int asked;
        };
        const Row rows[] = {
            {MakePoint2D(0, 0), {"new"}, false, "new", 1},
            {MakePoint2D(0, 0), {}, false, "new", 1},  // Cancel keeps the text
            {MakePoint2D(250, 250), {"far"}, false, "new", 0},
            {MakePoint2D(0, 0), {"busy"}, true, "new", 0},  // within a command the double-click is the command's
        };
        for (const Row& r : rows) {
            const QString before = QString::fromStdString(text->Text());
            h.dialogs.textPrompts.clear();
            h.dialogs.texts = r.answers;
            if (r.panning) w.ViewCommands().Pan();
            w.View2D().Program().SetCurrentPoint(r.at);
            w.ViewCommands().DoubleClicked();
            QCOMPARE(QString::fromStdString(text->Text()), r.textAfter);
            QCOMPARE(h.dialogs.textPrompts.size(), r.asked);
            if (r.asked) QVERIFY(h.dialogs.textPrompts.front().endsWith("|" + before));  // shows the text it edits
        }
    }

    // The tree on its page follows the drawing (its captions and nodes are
    // the tree's own test's), each node with the picture of its kind: the
    // drawing 0, a layer 1, a line 3, a circle 6.
    void theEntityTreeFollowsTheDrawing() {
        Harness h;
        MainWindow& w = h.start();
        QTreeWidget* tree = h.ui().TreeGeo;
        QVERIFY(tree->isVisibleTo(h.ui().pages[page::kLayer]));
        w.LocalCad().AddObject2D(-1, std::make_unique<TLine2D>(-1, MakePoint2D(0, 0), MakePoint2D(1, 1)));
        w.LocalCad().AddObject2D(-1, std::make_unique<TCerchio2D>(-1, MakePoint2D(0, 0), MakePoint2D(1, 0)));
        QTRY_COMPARE(tree->topLevelItemCount(), 1);
        QCOMPARE(tree->topLevelItem(0)->child(0)->child(0)->text(0), QString("Line"));
        const QTreeWidgetItem* root = tree->topLevelItem(0);
        const QTreeWidgetItem* nodes[] = {root, root->child(0), root->child(0)->child(0), root->child(0)->child(1)};
        const int images[] = {0, 1, 3, 6};
        QList<QImage> pictures;
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(nodes[i]->data(0, EntityTreeView::ImageRole).toInt(), images[i]);
            const QImage picture = nodes[i]->icon(0).pixmap(16, 16).toImage();
            QVERIFY2(!picture.isNull() && !pictures.contains(picture), qPrintable(nodes[i]->text(0)));
            pictures << picture;
        }
        w.LocalCad().ClearObjects();
        QTRY_COMPARE(tree->topLevelItemCount(), 0);
    }
};

QTEST_MAIN(WindowViewTest)
#include "WindowViewTest.moc"

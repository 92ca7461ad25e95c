// What the real main window locks while something runs: a simulation playing,
// a relief being built, a command of the view; and what the end of a command
// or Esc gives back. One row per situation, reached the way a person reaches
// it, with the state of every File command checked in the menu and on the
// tool bar alike.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>

#include "engine/gui/NcPage.h"
#include "engine/gui/NcPageController.h"
#include "kernel/entities/EntityModule.h"
#include "kernel/program/TQVPrg2D.h"
#include "shell/gui/MainLifeCycle.h"
#include "shell/gui/NcPageWiring.h"
#include "shell/gui/ViewHandlers.h"
#include "tests/shell/gui/NcPageRoad.h"
#include "tests/shell/gui/WizardRig.h"

using namespace calvoro;
using namespace calvoro::testing;

namespace {

// The File commands as a person meets them: the menu item and the tool bar's
// button, which must always agree.
struct FileCommand {
    const char* menu;
    const char* button;
};
constexpr FileCommand kOpen{"mnuOpen", "sbtOpen"};
constexpr FileCommand kSave{"mnuSave", "sbtSave"};
constexpr FileCommand kNew{"mnuNew", "sbtNew"};
// The zooms: the view bar's button and the view's right-click menu.
constexpr FileCommand kZoomIn{"mnuZoomIn", "sbtZoomIn"};
constexpr FileCommand kZoomOut{"mnuZoomOut", "sbtZoomBack"};
constexpr FileCommand kAutozoom{"mnuAutozoom", "sbtAutozoom"};

// "on" in the menu and on the tool bar, "off" in both, or what is wrong.
QString Shown(QWidget& window, const FileCommand& command) {
    auto* action = window.findChild<QAction*>(command.menu);
    auto* button = window.findChild<QToolButton*>(command.button);
    if (!action || !button) return "missing";
    if (action->isEnabled() != button->isEnabled()) return "menu and button disagree";
    return action->isEnabled() ? "on" : "off";
}

bool Enabled(QWidget& window, const FileCommand& command) {
    return Shown(window, command) == "on";
}

// Every command given off, in the menu and on the tool bar alike.
#define VERIFY_LOCKED(window, ...)                                           \
    for (const FileCommand& command : {__VA_ARGS__})                       \
        QVERIFY2(Shown(window, command) == "off", qPrintable(QString(command.menu) + ": " + Shown(window, command)))

// The window with a large picture open and its relief being built.
struct Building : Rig {
    Building() : Rig(false) {
        QVERIFY(wiring().LoadPicture(WriteDome(file("large.bmp"), 6000, 4000)));
        QTest::mouseClick(p().sbtNextB1, Qt::LeftButton);
        QTest::mouseClick(p().sbtNextB2, Qt::LeftButton);
    }
    void cancelWork() {
        if (wiring().Working()) QTest::mouseClick(wiring().CancelButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!wiring().Working(), 60000);
    }
};

}  // namespace

class WindowLocksTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InitializeEntityModule(); }

    // sbtIsoPlay on the NC page: Open, Save and New are locked in the File
    // menu as on the tool bar until the simulation stops.
    void playLocksTheFileCommandsInTheMenuToo() {
        Rig rig(false);
        // The NC page reached through the wizard, a long program typed over
        // the computed one so that Play runs a while.
        rig.dialogs.filesToSave = {QString::fromStdString(rig.file("ramp.nc").string())};
        WalkToNcPage(rig.w(), rig.ramp);
        std::string program = "%\r\nG0 X0 Y0 Z5\r\n";
        for (int i = 0; i < 3000; ++i) program += "G1 X" + std::to_string(i % 100) + " Y1 Z-1 F100\r\n";
        NcPageWiring& nc = rig.w().NcPages();
        nc.Controller().setProgram(program);
        QVERIFY(Enabled(rig.w(), kOpen));
        QTest::mouseClick(nc.Page().sbtIsoPlay, Qt::LeftButton);
        QVERIFY(nc.Controller().playing());
        VERIFY_LOCKED(rig.w(), kOpen, kSave, kNew);
        // Triggered anyway (a shortcut), it opens nothing under the simulation.
        rig.dialogs.fileToOpen = QString::fromStdString(rig.file("other.bmp").string());
        rig.ui().mnuOpen->trigger();
        QCOMPARE(rig.w().State().settings.FOpen, rig.ramp.string());
        QTest::mouseClick(nc.Page().sbtIsoStop, Qt::LeftButton);
        QTRY_VERIFY(!nc.Controller().playing());
        QVERIFY(Enabled(rig.w(), kOpen) && Enabled(rig.w(), kNew));
        QCOMPARE(rig.h.errors, QStringList());
    }

    // A Draw command chosen while the relief is built, then left by the view
    // bar's Cancel, Esc in the view or its own end: the File commands stay
    // locked until the build is over.
    void theEndOfACommandKeepsTheBuildsLocks_data() {
        QTest::addColumn<QString>("end");
        QTest::newRow("btnCancel") << "btnCancel";
        QTest::newRow("Esc in the view") << "Esc";
        QTest::newRow("the command's own end") << "end";
    }
    void theEndOfACommandKeepsTheBuildsLocks() {
        QFETCH(QString, end);
        Building rig;
        QVERIFY(rig.wiring().Working());
        VERIFY_LOCKED(rig.w(), kOpen, kSave, kNew);
        rig.w().findChild<QAction*>("mnuLine")->trigger();
        QVERIFY(rig.w().View2D().Program().OperationRunning());
        if (end == "btnCancel")
            QTest::mouseClick(rig.ui().btnCancel, Qt::LeftButton);
        else if (end == "Esc")
            QTest::keyClick(&rig.w().View2D().Widget(), Qt::Key_Escape);
        else
            rig.w().ViewCommands().EndOperation();
        // Esc also stops the build; the others leave it running.
        if (end != "Esc") {
            QVERIFY(rig.wiring().Working());
            VERIFY_LOCKED(rig.w(), kOpen, kSave, kNew);
            QVERIFY(!rig.ui().pnlCmd->isEnabled());
        }
        rig.cancelWork();
        QVERIFY(Enabled(rig.w(), kOpen) && Enabled(rig.w(), kNew) && rig.ui().pnlCmd->isEnabled());
        // The job's steps the command took away show again: the user is not
        // left with an empty panel.
        QVERIFY(rig.ui().pnlCmd->isVisible());
        QVERIFY(rig.page() >= page::kFirstStep && rig.page() <= page::kLastStep);
        QVERIFY(rig.ui().PageControl1->currentWidget()->isVisible());
    }

    // Esc while the relief is built cancels the build, as its Cancel button does.
    void escCancelsTheBuildAsItsCancelButtonDoes() {
        Building rig;
        QVERIFY(rig.wiring().Working());
        QApplication::setActiveWindow(rig.ui().form);
        QTest::keyClick(rig.ui().form, Qt::Key_Escape);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.wiring().Working(), 60000);
        QVERIFY(!rig.wizard().relief() && rig.page() == page::kReference);
        QVERIFY(Enabled(rig.w(), kOpen));
    }

    // Trim and Break hide the job's steps while they pick; when the command
    // ends, by its own end as by Esc, the step the job stands on shows again.
    void theJobsStepsShowAgainWhenACommandEnds_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("end");
        QTest::newRow("Trim, its end") << "mnuTrim" << "end";
        QTest::newRow("Break, its end") << "mnuBreak" << "end";
        QTest::newRow("Trim, Esc") << "mnuTrim" << "Esc";
    }
    void theJobsStepsShowAgainWhenACommandEnds() {
        QFETCH(QString, command);
        QFETCH(QString, end);
        Rig rig;
        QCOMPARE(rig.page(), page::kSize);
        rig.w().findChild<QAction*>(command)->trigger();
        QVERIFY(!rig.ui().PageControl1->isVisible());
        if (end == "Esc")
            QTest::keyClick(&rig.w().View2D().Widget(), Qt::Key_Escape);
        else
            rig.w().View2D().Program().PostCommandEvent(kCommandCancel);
        QVERIFY(!rig.w().View2D().Program().OperationRunning());
        QVERIFY(rig.ui().PageControl1->isVisible());
        QCOMPARE(rig.page(), page::kSize);
    }

    // sbtPan: while the pan runs the zooms wait, on the view bar as in the
    // right-click menu; Esc gives them back.
    void theZoomsWaitWhileAPanRuns() {
        Harness h;
        MainWindow& w = h.start();
        for (const FileCommand& command : {kZoomIn, kZoomOut, kAutozoom})
            QVERIFY2(Enabled(w, command), command.menu);
        QTest::mouseClick(h.ui().sbtPan, Qt::LeftButton);
        VERIFY_LOCKED(w, kZoomIn, kZoomOut, kAutozoom);
        QTest::keyClick(h.view2d(), Qt::Key_Escape);
        for (const FileCommand& command : {kZoomIn, kZoomOut, kAutozoom})
            QVERIFY2(Enabled(w, command), command.menu);
        // The button zooms through its action, once.
        const double width = h.viewWidth();
        QTest::mouseClick(h.ui().sbtZoomIn, Qt::LeftButton);
        QVERIFY(h.viewWidth() < width);
        QCOMPARE(h.errors, QStringList());
    }

    // Pan in the 3D view: its prompt says Esc puts the view back; the view
    // bar's Cancel does the same.
    void cancellingAPanIn3DPutsTheViewBack_data() {
        QTest::addColumn<QString>("end");
        QTest::newRow("btnCancel") << "btnCancel";
        QTest::newRow("Esc") << "Esc";
    }
    void cancellingAPanIn3DPutsTheViewBack() {
        QFETCH(QString, end);
        Harness h;
        h.start();
        h.window->LifeCycle().SetView3D(true);
        QTest::mouseClick(h.ui().sbtPan, Qt::LeftButton);
        QVERIFY(h.view3d->panMode);
        QCOMPARE(h.ui().pnlStatus2->text(), Lang("1202"));
        QApplication::setActiveWindow(h.ui().form);
        if (end == "btnCancel")
            QTest::mouseClick(h.ui().btnCancel, Qt::LeftButton);
        else
            QTest::keyClick(h.ui().form, Qt::Key_Escape);
        QVERIFY(!h.view3d->panMode && !h.ui().sbtPan->isChecked());
        QCOMPARE(h.view3d->pansCancelled, 1);
    }
};

QTEST_MAIN(WindowLocksTest)
#include "WindowLocksTest.moc"

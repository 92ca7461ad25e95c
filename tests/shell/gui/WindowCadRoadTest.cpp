// The roads a person takes to the layer, grid and snap pages of the real
// window, and what the drawing commands leave behind on the way to a DXF file.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QStackedWidget>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

#include "kernel/drawing/QVCmp2D.h"
#include "kernel/entities/EntityModule.h"
#include "kernel/gui/ViewportWidget.h"
#include "shell/gui/LayerPanel.h"
#include "shell/gui/NcPageWiring.h"
#include "tests/shell/gui/WindowHarness.h"

using namespace calvoro;
using namespace calvoro::testing;

class WindowCadRoadTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InitializeEntityModule(); }

    void eachPageCommandShowsItsPageWithATab_data() {
        QTest::addColumn<QString>("control");  // a tool button is clicked, a menu item triggered
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("shown");  // a control of the page that the person then sees
        QTest::newRow("tool bar: Layers") << "sbtLayer" << page::kLayer << "LayersList";
        QTest::newRow("Draw > Layers") << "mnuLayer" << page::kLayer << "TreeGeo";
        QTest::newRow("Settings > Grid page") << "mnuGridPage" << page::kGridSet << "nol_cboGridX";
        QTest::newRow("Settings > Snap page") << "mnuSnapPage" << page::kSnap << "nol_cboXSnap";
    }
    void eachPageCommandShowsItsPageWithATab() {
        QFETCH(QString, control);
        QFETCH(int, page);
        QFETCH(QString, shown);
        Harness h;
        MainWindow& window = h.start();
        if (auto* button = window.findChild<QToolButton*>(control)) {
            QVERIFY(button->isVisible());
            QTest::mouseClick(button, Qt::LeftButton);
        } else {
            auto* action = window.findChild<QAction*>(control);
            QVERIFY(action && action->isEnabled());
            action->trigger();
        }
        QCOMPARE(h.ui().PageControl1->currentIndex(), page);
        QVERIFY(h.ui().PageControl1->isVisible());
        QVERIFY(window.findChild<QWidget*>(shown)->isVisible());
        QCOMPARE(h.ui().tabPages->count(), 1);
        QCOMPARE(h.ui().tabPages->tabData(0).toInt(), page);
        QVERIFY(!h.ui().tabPages->tabText(0).isEmpty());
        QCOMPARE(h.errors, QStringList());
    }

    void theLayerPageOpensAtTheCurrentLayer() {
        Harness h;
        MainWindow& window = h.start();
        h.dialogs.fileToOpen = QString::fromStdString(h.install.picture().string());
        QTest::mouseClick(h.ui().sbtOpen, Qt::LeftButton);
        auto* layers = window.findChild<LayerPanel*>();
        for (int current : {int(window.LocalCad().CurrentLayer()), 5}) {
            window.LocalCad().SetCurrentLayer(current);
            QTest::mouseClick(window.findChild<QToolButton*>("sbtLayer"), Qt::LeftButton);
            QCOMPARE(layers->LayersList->currentRow(), current);
            QCOMPARE(layers->txtLayerNome->text(), QString("Layer_%1").arg(current));
            layers->LayersList->setCurrentRow(9);
            QTest::mouseClick(layers->SpeedButton12, Qt::LeftButton);
        }
    }

    // Leaving a drawing command with Esc or Cancel gives the job's step back
    // when the command's page took it away; with no job the page stays.
    void leavingACommandGivesTheJobStepBack_data() {
        QTest::addColumn<bool>("job");
        QTest::addColumn<QString>("command");  // a Draw menu item
        QTest::addColumn<QString>("leave");    // "Esc" on the view, or a button
        QTest::newRow("fillet page, Esc") << true << "mnuFillet" << "Esc";
        QTest::newRow("polyline page, Cancel") << true << "mnuPolyline" << "btnCancel";
        QTest::newRow("trim hides the panel, Esc") << true << "mnuTrim" << "Esc";
        QTest::newRow("no job: the fillet page stays") << false << "mnuFillet" << "Esc";
    }
    void leavingACommandGivesTheJobStepBack() {
        QFETCH(bool, job);
        QFETCH(QString, command);
        QFETCH(QString, leave);
        Harness h;
        MainWindow& window = h.start();
        const MainWindowUi& ui = h.ui();
        if (job) {
            h.dialogs.fileToOpen = QString::fromStdString(h.install.picture().string());
            QTest::mouseClick(ui.sbtOpen, Qt::LeftButton);
        }
        const int step = ui.PageControl1->currentIndex();
        window.findChild<QAction*>(command)->trigger();
        const bool commandPageShown = ui.PageControl1->isVisible();
        const int commandPage = ui.PageControl1->currentIndex();
        if (job) QVERIFY(!commandPageShown || commandPage != step);
        if (leave == "Esc")
            QTest::keyClick(window.findChild<ViewportWidget*>(), Qt::Key_Escape);
        else
            QTest::mouseClick(window.findChild<QToolButton*>(leave), Qt::LeftButton);
        QCOMPARE(ui.PageControl1->isVisible(), job || commandPageShown);
        QCOMPARE(ui.PageControl1->currentIndex(), job ? step : commandPage);
        QCOMPARE(h.errors, QStringList());
    }

    // Closing a page opened beside the work gives back what showed before it:
    // the job's step with its page, or nothing.
    void closingAnAsidePageGivesBackWhatShowedBefore_data() {
        QTest::addColumn<bool>("job");
        QTest::addColumn<QStringList>("opened");  // in order
        QTest::addColumn<QString>("close");
        QTest::newRow("job step, layers") << true << QStringList{"sbtLayer"} << "SpeedButton12";
        QTest::newRow("job step, snap") << true << QStringList{"mnuSnapPage"} << "SpeedButton11";
        QTest::newRow("job step, grid") << true << QStringList{"mnuGridPage"} << "sbtCloseGridPage";
        QTest::newRow("job step, layers then snap") << true << QStringList{"mnuLayer", "mnuSnapPage"}
                                                    << "SpeedButton11";
        QTest::newRow("nothing shown, layers") << false << QStringList{"sbtLayer"} << "SpeedButton12";
    }
    void closingAnAsidePageGivesBackWhatShowedBefore() {
        QFETCH(bool, job);
        QFETCH(QStringList, opened);
        QFETCH(QString, close);
        Harness h;
        MainWindow& window = h.start();
        const MainWindowUi& ui = h.ui();
        if (job) {
            h.dialogs.fileToOpen = QString::fromStdString(h.install.picture().string());
            QTest::mouseClick(ui.sbtOpen, Qt::LeftButton);
        }
        const int before = ui.PageControl1->currentIndex();
        const bool shownBefore = ui.PageControl1->isVisible();
        QCOMPARE(shownBefore, job);
        for (const QString& name : opened) {
            if (auto* button = window.findChild<QToolButton*>(name))
                QTest::mouseClick(button, Qt::LeftButton);
            else
                window.findChild<QAction*>(name)->trigger();
        }
        QTest::mouseClick(window.findChild<QToolButton*>(close), Qt::LeftButton);
        QCOMPARE(ui.PageControl1->isVisible(), shownBefore);
        if (job) QCOMPARE(ui.PageControl1->currentIndex(), before);
        QVERIFY(!ui.tabPages->isVisible());
        QCOMPARE(h.errors, QStringList());
    }
};

QTEST_MAIN(WindowCadRoadTest)
#include "WindowCadRoadTest.moc"

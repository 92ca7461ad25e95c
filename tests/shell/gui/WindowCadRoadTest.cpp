// The roads a person takes to the layer, grid and snap pages of the real
// window, and what the drawing commands leave behind on the way to a DXF file.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QStackedWidget>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

#include "kernel/entities/EntityModule.h"
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
        QTest::newRow("tool bar: Layers") << "sbtLayer" << kPageLayer << "LayersList";
        QTest::newRow("Draw > Layers") << "mnuLayer" << kPageLayer << "TreeGeo";
        QTest::newRow("Settings > Grid page") << "mnuGridPage" << kPageGridSet << "nol_cboGridX";
        QTest::newRow("Settings > Snap page") << "mnuSnapPage" << kPageSnap << "nol_cboXSnap";
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
};

QTEST_MAIN(WindowCadRoadTest)
#include "WindowCadRoadTest.moc"

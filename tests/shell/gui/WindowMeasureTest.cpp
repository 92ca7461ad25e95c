// The measuring read-outs of the real window: the line page following the
// Line command's rubber line, and Draw > Measure distance, which picks two
// points and leaves the drawing as it was.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>
#include <cmath>

#include "kernel/drawing/QVCmp2D.h"
#include "kernel/entities/EntityModule.h"
#include "kernel/program/TQVPrg2D.h"
#include "tests/shell/gui/WindowHarness.h"

using namespace calvoro;
using namespace calvoro::testing;

namespace {

QPoint PixelOf(Harness& h, double x, double y) {
    const TPixelPoint p = h.viewport().WorldToPixel(MakePoint2D(x, y));
    return {p.X, p.Y};
}

double ValueOf(QWidget* readout) {
    if (auto* label = qobject_cast<QLabel*>(readout)) return label->text().toDouble();
    return static_cast<QLineEdit*>(readout)->text().toDouble();
}

}  // namespace

class WindowMeasureTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InitializeEntityModule(); }

    void readoutsFollowThePickedPoints_data() {
        QTest::addColumn<QString>("command");  // a Draw menu item
        QTest::addColumn<QPointF>("to");       // from (0, 0), in drawing units
        QTest::addColumn<QString>("end");      // "click" fixes the second point, "Esc" leaves after a move
        QTest::addColumn<int>("page");
        QTest::addColumn<QStringList>("readouts");  // delta X, delta Y, length, angle
        QTest::addColumn<QList<double>>("values");
        QTest::addColumn<int>("added");  // entities the drawing gains
        const QStringList line{"nol_stxLineaDeltaX", "nol_stxLineaDeltaY", "nol_stxLungLinea", "nol_stxAngoloLinea"};
        const QStringList distance{"txtDistDx", "txtDistDy", "txtDistLen", "txtDistAngle"};
        QTest::newRow("line, rubber straight down")
            << "mnuLine" << QPointF(0, -10) << "Esc" << page::kLineInfo << line << QList<double>{0, -10, 10, 270} << 0;
        QTest::newRow("line, placed") << "mnuLine" << QPointF(-30, 40) << "click" << page::kLineInfo << line
                                      << QList<double>{-30, 40, 50, 126.87} << 1;
        QTest::newRow("distance, two points")
            << "mnuMeasure" << QPointF(-10, 0) << "click" << page::kDistance << distance << QList<double>{-10, 0, 10, 180} << 0;
        QTest::newRow("distance, Esc after a move")
            << "mnuMeasure" << QPointF(20, -20) << "Esc" << page::kDistance << distance << QList<double>{20, -20, 28.284, 315} << 0;
    }
    void readoutsFollowThePickedPoints() {
        QFETCH(QString, command);
        QFETCH(QPointF, to);
        QFETCH(QString, end);
        QFETCH(int, page);
        QFETCH(QStringList, readouts);
        QFETCH(QList<double>, values);
        QFETCH(int, added);
        Harness h;
        MainWindow& window = h.start();
        const MainWindowUi& ui = h.ui();
        QTest::mouseClick(ui.sbmSnap, Qt::LeftButton);  // whole drawing units under the cursor
        QVERIFY(h.window->View2D().Program().UseSnap());
        const int before = window.LocalCad().ObjectCount();
        window.findChild<QAction*>(command)->trigger();
        const QPoint a = PixelOf(h, 0, 0);
        QTest::mouseMove(h.view2d(), a);
        QTest::mouseClick(h.view2d(), Qt::LeftButton, {}, a);
        const QPoint b = PixelOf(h, to.x(), to.y());
        QMouseEvent move(QEvent::MouseMove, b, h.view2d()->mapToGlobal(b), Qt::NoButton, {}, {});
        QApplication::sendEvent(h.view2d(), &move);
        if (end == "click")
            QTest::mouseClick(h.view2d(), Qt::LeftButton, {}, b);
        else
            QTest::keyClick(h.view2d(), Qt::Key_Escape);
        QVERIFY(!h.window->View2D().Program().OperationRunning());
        QVERIFY(ui.PageControl1->isVisible());
        QCOMPARE(ui.PageControl1->currentIndex(), page);
        for (int i = 0; i < readouts.size(); ++i)
            QVERIFY2(std::fabs(ValueOf(window.findChild<QWidget*>(readouts[i])) - values[i]) < 0.01,
                     qPrintable(readouts[i]));
        QCOMPARE(window.LocalCad().ObjectCount(), before + added);
        if (command == "mnuMeasure") {
            // The page is shared with the picture-editing step: its form stands under the read-outs.
            QVERIFY(window.findChild<QWidget*>("sbtFlipH")->y() > ui.txtDistAngle->y());
            // Its close button gives back what showed before: nothing here.
            auto* close = window.findChild<QToolButton*>("sbtCloseDistance");
            QVERIFY(close->isVisible());
            QTest::mouseClick(close, Qt::LeftButton);
            QVERIFY(!ui.PageControl1->isVisible());
        }
        QCOMPARE(h.errors, QStringList());
    }
};

QTEST_MAIN(WindowMeasureTest)
#include "WindowMeasureTest.moc"

// The cursor read-out on the main window's status panel: the unit in use, and
// the relief depth only while a Z point is picked and only inside the relief.
#include <QLabel>
#include <QMainWindow>
#include <QMouseEvent>
#include <QTest>

#include "kernel/drawing/QVCmp2D.h"
#include "kernel/gui/ViewportWidget.h"
#include "kernel/view/TQVViewport2D.h"
#include "shell/gui/View2DHost.h"

#include "shell/app/MainState.h"
#include "shell/wizard/Job.h"
#include "shell/app/ViewReadout.h"
#include "shell/app/WorkBox.h"
#include "shell/gui/MainWindowUi.h"
#include "shell/gui/ViewHandlers.h"

using namespace calvoro;

namespace {

void Send(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButtons buttons, Qt::KeyboardModifiers keys) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), button, buttons, keys);
    QApplication::sendEvent(widget, &event);
}

double Width(const View2DHost& host) {
    const TRect2D& r = host.Viewport().VisualRect();
    return r.Right - r.Left;
}

}  // namespace

class ViewHandlersTest : public QObject {
    Q_OBJECT
private slots:
    void statusPanelShowsTheReadout() {
        QMainWindow window;
        MainWindowUi ui;
        BuildMainWindowUi(&window, ui);
        MainState state;
        Job job;
        Picture picture;
        picture.allocate(4, 4, PixelFormat::Grey8);
        ImageInfo info;
        info.PixelWidth = 4;
        info.PixelHeight = 4;
        info.Scale = 1;
        info.SizeX = 3;
        info.SizeY = 3;
        job.newPicture(std::move(picture), "four.bmp", false, info);
        job.setHeightMap(std::make_shared<HeightMap>(4, 4, -1.5f), job.reliefStamp());
        state.job = &job;
        ViewHandlers handlers(ui, state);
        struct Row {
            int unit, command;
            double x, y;
            QString text;
        };
        const Row rows[] = {
            {0, 0, 1.0, 2.0, "X:  1.000 Y:  2.000"},
            {1, kCommandZNoCutPick, 2.0, 2.0, "X: 2.0000 Y: 2.0000 Z: -1.5000"},
        };
        for (const Row& r : rows) {
            state.settings.Unit = r.unit;
            state.ActiveCommand = r.command;
            handlers.CursorMoved(MakePoint2D(r.x, r.y));
            QCOMPARE(ui.nol_pnlStatus1->text(), r.text);
        }
        // The last column of the picture has no depth to show.
        state.settings.Unit = 0;
        handlers.CursorMoved(MakePoint2D(3.0, 2.0));
        QVERIFY(ui.nol_pnlStatus1->text().startsWith("X:  3.000 Y:  2.000 "));
        QVERIFY(!ui.nol_pnlStatus1->text().contains("Z:"));
    }

    // The view itself: a Ctrl-drag zooms out once on its 20th pixel to the
    // right and in on its 20th to the left; a Shift-drag moves the drawing
    // with the mouse without zooming; the read-out follows the cursor.
    void dragsZoomAndPanTheView() {
        TQVCmp2D drawing;
        QWidget container;
        container.resize(400, 300);
        int readouts = 0;
        View2DHost host(drawing, &container, [&](const TPoint2D&) { ++readouts; });
        container.show();
        QWidget* view = &host.Widget();
        const double start = Width(host);
        const auto ctrl = Qt::ControlModifier;
        Send(view, QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton, ctrl);
        struct Row {
            int x;
            double widthFactor;  // > 1 zoomed out, < 1 zoomed in
        };
        double before = start;
        for (const Row r : {Row{119, 1.0}, Row{120, 2.0}, Row{101, 1.0}, Row{100, 0.5}}) {
            Send(view, QEvent::MouseMove, {r.x, 100}, Qt::LeftButton, ctrl);
            const double now = Width(host);
            if (r.widthFactor == 1.0) QCOMPARE(now, before);
            else QVERIFY2(r.widthFactor > 1.0 ? now > before : now < before, qPrintable(QString::number(r.x)));
            before = now;
        }
        Send(view, QEvent::MouseButtonRelease, {100, 100}, Qt::NoButton, ctrl);
        QVERIFY(readouts >= 4);

        const TRect2D was = host.Viewport().VisualRect();
        const TPoint2D grabbed = host.Viewport().ScreenToWorld(MakePoint2D(200, 150));
        view->setCursor(Qt::CrossCursor);
        Send(view, QEvent::MouseButtonPress, {200, 150}, Qt::LeftButton, Qt::ShiftModifier);
        QVERIFY(view->cursor().shape() != Qt::CrossCursor);
        Send(view, QEvent::MouseMove, {240, 130}, Qt::LeftButton, Qt::ShiftModifier);
        const TPoint2D under = host.Viewport().ScreenToWorld(MakePoint2D(240, 130));
        QVERIFY(std::abs(under.X - grabbed.X) < 1e-6 * Width(host));
        QVERIFY(std::abs(under.Y - grabbed.Y) < 1e-6 * Width(host));
        QCOMPARE(Width(host), was.Right - was.Left);
        Send(view, QEvent::MouseButtonRelease, {240, 130}, Qt::NoButton, Qt::ShiftModifier);
        QCOMPARE(view->cursor().shape(), Qt::CrossCursor);  // the view's own cursor is back
    }

    // The direction of a measured line, east 0 and counter-clockwise, never
    // negative and never 360.
    void measuresLinesWithTheirDirection() {
        struct Row {
            TPoint2D from, to;
            double dx, dy, length, angle;
        };
        const Row rows[] = {
            {MakePoint2D(0, 0), MakePoint2D(0, -1), 0, -1, 1, 270},
            {MakePoint2D(0, 0), MakePoint2D(3, 4), 3, 4, 5, 53.13010235415598},
            {MakePoint2D(1, 1), MakePoint2D(0, 1), -1, 0, 1, 180},
            {MakePoint2D(0, 0), MakePoint2D(1, -1e-300), 1, -1e-300, 1, 0},
            {MakePoint2D(2, 2), MakePoint2D(2, 2), 0, 0, 0, 0},
            // A point in homogeneous form counts by its cartesian place.
            {TPoint2D{4, 0, 2}, MakePoint2D(2, 5), 0, 5, 5, 90},
        };
        for (const Row& r : rows) {
            const SegmentMeasure m = MeasureSegment(r.from, r.to);
            QCOMPARE(m.dx, r.dx);
            QCOMPARE(m.dy, r.dy);
            QCOMPARE(m.length, r.length);
            QCOMPARE(m.angle, r.angle);
            QVERIFY(m.angle >= 0.0 && m.angle < 360.0);
        }
    }

    // The NC program's 2D view shows the work box with a twentieth of its
    // width spare on every side.
    void autozoomWindowOfTheWorkBox() {
        WorkBox box;
        box.CentreX = 50;
        box.CentreY = 20;
        box.SizeX = 100;
        box.SizeY = 40;
        const TRect2D r = WorkBoxWindow(box);
        QCOMPARE(r.Left, -5.0);
        QCOMPARE(r.Right, 105.0);
        QCOMPARE(r.Bottom, -5.0);
        QCOMPARE(r.Top, 45.0);
    }
};

QTEST_MAIN(ViewHandlersTest)
#include "ViewHandlersTest.moc"

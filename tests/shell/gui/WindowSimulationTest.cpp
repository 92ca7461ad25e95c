// The NC simulation in the 2D view of the real main window, and the prompts of
// the 2D view's zoom window and pan on the status line: one row per control,
// reached the way a person reaches it, with its effect checked on the view's
// pixels, its overlay or the status line.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>
#include <functional>

#include "engine/gui/NcPage.h"
#include "engine/gui/NcPageController.h"
#include "kernel/drawing/QVCmp2D.h"
#include "kernel/entities/EntityModule.h"
#include "kernel/gui/QImageViewSurface.h"
#include "kernel/gui/ViewportWidget.h"
#include "kernel/view/TQVViewport2D.h"
#include "shell/gui/MainLifeCycle.h"
#include "shell/gui/NcPageWiring.h"
#include "shell/gui/View2DHost.h"
#include "tests/shell/gui/NcPageRoad.h"
#include "tests/shell/gui/WindowHarness.h"

using namespace calvoro;
using namespace calvoro::testing;

namespace {

// Moves of every kind the simulation draws: a rapid, a feed, arcs by centre
// and by radius, a drilling cycle.
const char* const kProgram =
    "%\r\n"
    "G0 X20 Y20 Z5\r\n"
    "G1 X120 Y20 Z-1 F300\r\n"
    "G0 X120 Y120\r\n"
    "G2 X220 Y120 I170 J120\r\n"
    "G3 X120 Y120 R50\r\n"
    "G81 X150 Y60 Z-2 R2 F100\r\n"
    "G80\r\n";

// As the window shows them, 0xRRGGBB.
constexpr QRgb kCyan = 0x00FFFF;
constexpr QRgb kYellow = 0xFFFF00;

// On the NC page, reached by the wizard for a picture as large as the moves,
// with the program above typed over the computed one.
struct Window : Harness {
    Window() {
        fs::copy_file(SourceData() / "Tool.db", install.root() / "Tool.db");
        start();
        window->resize(1100, 800);
        QTest::qWait(20);
        dialogs.filesToSave = {QString::fromStdString((install.root() / "work.nc").string())};
        WalkToNcPage(*window, WriteRamp(install.root() / "work.bmp", 240, 140, 25));
        page().Controller().setProgram(kProgram);
    }
    NcPageWiring& page() { return window->NcPages(); }
    NcPage& nc() { return page().Page(); }
    // The colour the window shows at a world point.
    QRgb shown(double x, double y) {
        const TPixelPoint p = viewport().WorldToPixel(MakePoint2D(x, y));
        return screen().pixel(p.X, p.Y) & 0xFFFFFF;
    }
    int items(OverlayShape shape) {
        int count = 0;
        for (const OverlayItem& item : viewport().Overlay().Items()) count += item.Shape == shape;
        return count;
    }
    const QImage& screen() { return window->View2D().Widget().ScreenImage(); }
    const QImage& offscreen() { return dynamic_cast<QImageViewSurface&>(viewport().OffscreenSurface()).Image(); }
    QString status() { return ui().pnlStatus2->text(); }
};

}  // namespace

class WindowSimulationTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InitializeEntityModule(); }

    // sbtIsoStep, on the NC page: each Step draws its move over the drawing
    // in the view's 2D image, whichever view is shown, and marks the cutter.
    void stepDrawsEachMoveInThe2DView() {
        Window w;
        QVERIFY(w.nc().sbtIsoStep->isEnabled());
        for (int i = 0; i < 3; ++i) w.nc().sbtIsoStep->click();  // %, the rapid, the feed
        QCOMPARE(int(w.viewport().Overlay().Count()), 1);  // the rapid only sets the start point
        QCOMPARE(w.shown(70, 20), kCyan);
        QCOMPARE(*w.viewport().OverlayMarker(), MakePoint2D(120, 20));
        QVERIFY(w.errors.isEmpty());
    }

    // sbtIsoPlay and sbtIsoRev, on the NC page with the 2D view shown (sbtShow
    // up): Play draws every move in the page's colours, Rewind takes them away.
    void playDrawsEveryMoveAndRewindClearsThem() {
        Window w;
        w.window->LifeCycle().SetView3D(false);
        TQVCmp2D& cad = w.window->LocalCad();
        const TColor layerColour = cad.Layers().LayerByIndex(cad.CurrentLayer()).Pen().Color;
        const int objects = cad.ObjectCount();
        w.nc().sbtIsoPlay->click();
        QTRY_VERIFY(!w.page().Controller().playing());
        // Feed, rapid and the cycle's approach; two arcs; the hole.
        QCOMPARE(QList<int>({w.items(OverlayShape::Line), w.items(OverlayShape::Arc), w.items(OverlayShape::Point)}),
                 QList<int>({3, 2, 1}));
        QCOMPARE(w.shown(70, 20), kCyan);     // the feed
        QCOMPARE(w.shown(120, 70), kYellow);  // the rapid
        QCOMPARE(w.shown(170, 170), kCyan);   // the top of both arcs
        QCOMPARE(*w.viewport().OverlayMarker(), MakePoint2D(150, 60));
        // The moves are no part of the drawing, and its layers keep their pens.
        QCOMPARE(cad.ObjectCount(), objects);
        QCOMPARE(cad.Layers().LayerByIndex(cad.CurrentLayer()).Pen().Color, layerColour);

        // A new mapping draws them all again.
        w.viewport().ZoomWindow(MakeRect2D(0, 0, 250, 200));
        QCOMPARE(w.shown(120, 70), kYellow);

        // The marker lies on the screen image alone: a copy that cuts through
        // it keeps it whole, and taking it away gives back every pixel.
        QVERIFY(w.viewport().OverlayMarkerShown());
        QVERIFY(w.screen() != w.offscreen());
        const TPixelPoint mark = w.viewport().WorldToPixel(MakePoint2D(150, 60));
        w.viewport().CopyBitmapToScreen(TPixelRect{mark.X - 2, mark.Y - 3, mark.X + 40, mark.Y + 40}, false);
        w.viewport().SetOverlayMarker(std::nullopt);
        QVERIFY(w.screen() == w.offscreen());

        w.nc().sbtIsoRev->click();
        QVERIFY(w.viewport().Overlay().Empty() && !w.viewport().OverlayMarker().has_value());
        QVERIFY(w.shown(70, 20) != kCyan);
        QVERIFY(w.errors.isEmpty());
    }

    // actZoomWindow and actPan, on the 2D view's tool bar: each prompts on the
    // status line while it runs, and the line shows its text again after.
    void zoomWindowAndPanPromptAndAZoomWindowIsDragged() {
        Window w;
        w.window->LifeCycle().SetView3D(false);
        w.window->LifeCycle().Messaggio("before");
        const QPoint a(100, 100), b(300, 250);
        const TPoint2D from = CartesianPoint(w.viewport().ScreenToWorld(MakePoint2D(a.x(), a.y())));
        const TPoint2D to = CartesianPoint(w.viewport().ScreenToWorld(MakePoint2D(b.x(), b.y())));

        w.window->findChild<QAction*>("actZoomWindow")->trigger();
        QCOMPARE(w.status(), Lang("1200"));
        QTest::mousePress(w.view2d(), Qt::LeftButton, {}, a);
        QCOMPARE(w.status(), Lang("1201"));
        QTest::mouseMove(w.view2d(), b);
        QTest::mouseRelease(w.view2d(), Qt::LeftButton, {}, b);
        QCOMPARE(w.status(), QString("before"));
        const TRect2D r = w.viewport().VisualRect();
        QVERIFY2(r.Left <= std::min(from.X, to.X) + 1e-6 && r.Right >= std::max(from.X, to.X) - 1e-6,
                 "the dragged window is shown");
        QVERIFY(r.Right - r.Left < 300);

        w.window->findChild<QAction*>("actPan")->trigger();
        QCOMPARE(w.status(), Lang("1202"));
        QTest::keyClick(w.view2d(), Qt::Key_Escape);
        QCOMPARE(w.status(), QString("before"));
        QVERIFY(w.errors.isEmpty());
    }
};

int main(int argc, char** argv) {
    Application app(argc, argv);
    WindowSimulationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "WindowSimulationTest.moc"

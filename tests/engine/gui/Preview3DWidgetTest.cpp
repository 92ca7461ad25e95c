// The 3D view drawn for real through OpenGL (under Xvfb): a small relief,
// the surface modes, the mouse and the standard views.
#include <QElapsedTimer>
#include <QImage>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <functional>
#include <memory>

#include "engine/gui/Preview3DController.h"
#include "engine/gui/Preview3DWidget.h"
#include "engine/preview/ReliefMesh.h"

namespace calvoro {

class Preview3DWidgetTest : public QObject {
    Q_OBJECT

private:
    const QColor background_{128, 128, 128};

    // A page of its own showing a relief zoomed to fit and seen from above.
    struct Shown {
        QWidget page;
        Preview3DController controller{&page};
        Shown(std::shared_ptr<const HeightMap> map, const QColor& background) {
            page.resize(240, 200);
            controller.setBackground(background);
            controller.setRelief(std::move(map), ReliefValues{});
        }
        bool show(StandardView view) {
            controller.zoomToExtents();
            controller.standardView(view);
            page.show();
            return QTest::qWaitForWindowExposed(&page);
        }
        // The picture once the relief asked for last has been built.
        QImage image() {
            if (!WaitForRelief(controller)) return {};
            return controller.widget()->grabFramebuffer();
        }
    };

    // The relief is built on a thread of its own: lets the event loop run
    // until it is in the view (at most half a minute).
    static bool WaitForRelief(Preview3DController& controller) {
        QElapsedTimer waited;
        waited.start();
        while (controller.reliefBuilding() && waited.elapsed() < 30000) QTest::qWait(5);
        return !controller.reliefBuilding();
    }

    static std::shared_ptr<HeightMap> Relief(const std::function<float(int x, int y)>& z) {
        auto map = std::make_shared<HeightMap>(21, 21);
        for (int x = 0; x <= 20; ++x)
            for (int y = 0; y <= 20; ++y) map->at(x, y) = z(x, y);
        return map;
    }
    static std::shared_ptr<HeightMap> Dome() {
        return Relief(
            [](int x, int y) { return -0.025f * static_cast<float>((x - 10) * (x - 10) + (y - 10) * (y - 10)); });
    }

    static int CountDifferent(const QImage& image, const QColor& colour) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y).rgb() != colour.rgb();
        return count;
    }

private slots:
    void drawsASmallReliefWithoutGlErrors() {
        Shown shown(Dome(), background_);
        Preview3DController& controller = shown.controller;
        controller.setWorkBox({0, 0, -5}, {20, 20, 0});
        controller.setAxesScale(5.0);
        ToolRecord tool;
        tool.toolType = ToolType::Spherical;
        tool.diameter = 3.0f;
        tool.passDepth = 8.0f;
        controller.setCutter(tool, 4.0);
        controller.moveCutter(10, 10, 4);
        const PathNode path[] = {{0, 0, 2, 1, 1, 0}, {0, 10, 2, 1, 1, 0}, {0, 10, 1, 0, 1, 1}, {20, 10, 1, 0, 1, 1}};
        controller.appendPath(path);
        QVERIFY(shown.show(StandardView::Iso));

        const QImage image = shown.image();
        QCOMPARE(controller.widget()->lastGlError(), 0u);
        const QColor centre = image.pixelColor(image.width() / 2, image.height() / 2);
        QVERIFY2(centre.rgb() != background_.rgb(), "the relief does not cover the centre of the view");
        // The relief's colour: deep parts are blue, never NaN black.
        QVERIFY(centre.blue() > centre.red());

        // The machining-time line shows until the first press in the view.
        controller.showHudText("Machining time 0:12:34");
        QVERIFY(shown.image() != image);

        // Orbiting by a real left drag changes the picture.
        QWidget* view = controller.widget();
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(100, 100), view->mapToGlobal(QPointF(100, 100)),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view, &press);
        QMouseEvent move(QEvent::MouseMove, QPointF(160, 100), view->mapToGlobal(QPointF(160, 100)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view, &move);
        const QImage turned = shown.image();
        QVERIFY(turned != image);
        controller.standardView(StandardView::Iso);
        QCOMPARE(shown.image(), image);  // and the text is gone

        controller.standardView(StandardView::Top);
        QVERIFY(shown.image() != turned);
        QCOMPARE(controller.widget()->lastGlError(), 0u);
    }

    // A large relief is built while the window goes on answering; the view
    // keeps the relief it had, with a progress bar, until the new one is
    // ready, and then draws no more cells than the screen can show. A newer
    // relief given during a build replaces the older one.
    void buildsALargeReliefWhileTheWindowAnswers() {
        Shown shown(Dome(), background_);
        Preview3DController& controller = shown.controller;
        Preview3DWidget& view = *controller.widget();
        controller.setAxesVisible(false);
        QVERIFY(shown.show(StandardView::Top));
        QVERIFY(CountDifferent(shown.image(), background_) > 0);
        const long long domeCells = view.reliefCellsDrawn();
        QCOMPARE(domeCells, 20LL * 20LL);

        auto large = std::make_shared<HeightMap>(4000, 3000);
        for (int x = 0; x < 4000; ++x)
            for (int y = 0; y < 3000; ++y) large->at(x, y) = -0.001f * static_cast<float>((x * 7 + y * 13) % 5000);
        QSignalSpy progress(&controller, &Preview3DController::reliefProgress);
        controller.setRelief(large, ReliefValues{});
        QVERIFY(controller.reliefBuilding());
        QVERIFY(view.buildProgress() >= 0.0);
        const auto* bar = view.findChild<QWidget*>("ReliefProgressBar");
        QVERIFY(bar && bar->isVisible());
        QVERIFY(view.hasRelief());  // the dome, drawn meanwhile

        // The longest the event loop is held while the relief is built and shown.
        QElapsedTimer clock;
        clock.start();
        qint64 last = 0, longest = 0;
        while (controller.reliefBuilding() && clock.elapsed() < 60000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            longest = std::max(longest, clock.elapsed() - last);
            last = clock.elapsed();
        }
        QVERIFY(!controller.reliefBuilding());
        controller.zoomToExtents();
        const QImage image = shown.image();
        longest = std::max(longest, clock.elapsed() - last);
        QVERIFY2(longest < 1000, qPrintable(QString("the window was held %1 ms").arg(longest)));
        QCOMPARE(view.buildProgress(), -1.0);
        QVERIFY(!bar->isVisible());
        QCOMPARE(progress.last().at(0).toInt(), -1);
        QVERIFY(view.reliefCellsDrawn() > domeCells);
        QVERIFY(view.reliefCellsDrawn() <= kReliefMaximumCells);
        QVERIFY(image.pixelColor(image.width() / 2, image.height() / 2).rgb() != background_.rgb());
        QCOMPARE(view.lastGlError(), 0u);

        controller.setRelief(large, ReliefValues{});
        controller.setRelief(Dome(), ReliefValues{});
        controller.zoomToExtents();
        QVERIFY(CountDifferent(shown.image(), background_) > 0);
        QCOMPARE(view.reliefCellsDrawn(), domeCells);
    }

    void surfaceModeNoneKeepsBoxAndAxes() {
        Shown shown(Dome(), background_);
        shown.controller.setWorkBox({0, 0, -5}, {20, 20, 0});
        QVERIFY(shown.show(StandardView::Top));
        const int shaded = CountDifferent(shown.image(), background_);

        shown.controller.setSurfaceMode(SurfaceMode::Wire);
        const int wired = CountDifferent(shown.image(), background_);
        QVERIFY(wired < shaded);

        shown.controller.setSurfaceMode(SurfaceMode::None);
        const QImage none = shown.image();
        QCOMPARE(none.pixelColor(none.width() / 2, none.height() / 2).rgb(), background_.rgb());
        const int left = CountDifferent(none, background_);
        QVERIFY(left > 0);  // box and axes
        QVERIFY(left < wired);
        QCOMPARE(shown.controller.widget()->lastGlError(), 0u);
    }

    // The wheel zooms by 1.5 a notch, half notches add up, and the work box
    // brings the whole relief back after any zoom.
    void wheelZoomsByNotchesAndTheBoxFitsAgain() {
        Shown shown(Dome(), background_);
        Preview3DController& controller = shown.controller;
        controller.setWorkBox({0, 0, -5}, {20, 20, 0});
        controller.zoomToExtents();
        const double fitted = controller.camera().sceneScale();
        struct Row {
            int angleDelta;
            double factor;  // of the fitted scale, after this row
        };
        const Row rows[] = {{120, 1.5}, {60, 1.5}, {60, 2.25}, {-240, 1.0}};
        for (const Row& r : rows) {
            QWheelEvent wheel(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, r.angleDelta), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(controller.widget(), &wheel);
            QVERIFY(std::abs(controller.camera().sceneScale() - fitted * r.factor) < 1e-9 * fitted);
        }
        controller.zoomBy(0.5);
        controller.zoomToExtents();
        QCOMPARE(controller.camera().sceneScale(), fitted);
    }

    // The pan command drags the view; left with Esc or Cancel, the camera is
    // where it was before the pan, and a drag no longer pans.
    void aCancelledPanPutsTheCameraBack() {
        Shown shown(Dome(), background_);
        Preview3DController& controller = shown.controller;
        controller.setWorkBox({0, 0, -5}, {20, 20, 0});
        controller.zoomToExtents();
        const Vec3 before = controller.camera().target();
        controller.setPanMode(true);
        controller.mousePress(10, 10);
        controller.mouseMove(60, 40, true, false, false);
        QVERIFY(controller.camera().target().x != before.x || controller.camera().target().y != before.y);
        controller.cancelPan();
        QCOMPARE(controller.camera().target().x, before.x);
        QCOMPARE(controller.camera().target().y, before.y);
        controller.mousePress(10, 10);
        controller.mouseMove(60, 40, true, false, false);
        QCOMPARE(controller.camera().target().x, before.x);
    }

    void noCutZoneLeavesTheFlatPartOpenAndAnUnusableToleranceIsReported() {
        Shown shown(Relief([](int x, int) { return x < 10 ? 0.0f : -3.0f; }), background_);  // left half uncut
        Preview3DController& controller = shown.controller;
        controller.setAxesVisible(false);
        QVERIFY(shown.show(StandardView::Top));
        const auto leftAndRight = [&] {
            const QImage image = shown.image();
            return std::pair(image.pixelColor(image.width() / 2 - 30, image.height() / 2).rgb(),
                             image.pixelColor(image.width() / 2 + 30, image.height() / 2).rgb());
        };
        QVERIFY(leftAndRight().first != background_.rgb());
        controller.setNoCutZone(true, 0.0f, "0.1");
        QCOMPARE(leftAndRight().first, background_.rgb());
        QVERIFY(leftAndRight().second != background_.rgb());
        controller.setNoCutZone(false, 0.0f, "0.1");
        QVERIFY(leftAndRight().first != background_.rgb());

        // A tolerance that is no number is reported only when the zone is on, and leaves no holes.
        QSignalSpy problems(&controller, &Preview3DController::problem);
        controller.setNoCutZone(false, 0.0f, "not a number");
        QCOMPARE(problems.count(), 0);
        controller.setNoCutZone(true, 0.0f, "not a number");
        QCOMPARE(problems.count(), 1);
        QVERIFY(!controller.reliefDrawing().noCutZone);
        QVERIFY(leftAndRight().first != background_.rgb());
        controller.setNoCutZone(true, -1.0f, " 0.5 ");
        QVERIFY(controller.reliefDrawing().noCutZone);
        QCOMPARE(controller.reliefDrawing().noCutTolerance, 0.5f);
    }
};

}  // namespace calvoro

QTEST_MAIN(calvoro::Preview3DWidgetTest)
#include "Preview3DWidgetTest.moc"

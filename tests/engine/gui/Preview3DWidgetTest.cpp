// The 3D view drawn for real through OpenGL (under Xvfb): a small relief,
// the surface modes, the mouse and the standard views.
#include <QImage>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include "engine/gui/Preview3DController.h"
#include "engine/gui/Preview3DWidget.h"

namespace calvoro {

class Preview3DWidgetTest : public QObject {
    Q_OBJECT

private:
    const QColor background_{128, 128, 128};

    static std::shared_ptr<const HeightMap> Dome() {
        auto map = std::make_shared<HeightMap>(21, 21);
        for (int x = 0; x <= 20; ++x)
            for (int y = 0; y <= 20; ++y)
                map->at(x, y) = -0.025f * static_cast<float>((x - 10) * (x - 10) + (y - 10) * (y - 10));
        return map;
    }

    static int CountDifferent(const QImage& image, const QColor& colour) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y).rgb() != colour.rgb();
        return count;
    }

    static void Save(const QImage& image, const char* name) {
        const QByteArray folder = qgetenv("CALVORO_SCREENSHOT_DIR");
        if (!folder.isEmpty()) image.save(QString::fromLocal8Bit(folder) + "/" + name);
    }

private slots:
    void drawsASmallReliefWithoutGlErrors() {
        QWidget page;
        page.resize(240, 200);
        Preview3DController controller(&page);
        controller.setBackground(background_);
        ReliefValues values;
        controller.setRelief(Dome(), values);
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
        controller.zoomToExtents();
        controller.standardView(StandardView::Iso);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));

        const QImage image = controller.widget()->grabFramebuffer();
        Save(image, "preview3d-iso.png");
        QCOMPARE(controller.widget()->lastGlError(), 0u);
        const QColor centre = image.pixelColor(image.width() / 2, image.height() / 2);
        QVERIFY2(centre.rgb() != background_.rgb(), "the relief does not cover the centre of the view");
        // The relief's colour: deep parts are blue, never NaN black.
        QVERIFY(centre.blue() > centre.red());

        // The machining-time line shows until the first press in the view.
        controller.showHudText("Machining time 0:12:34");
        const QImage withText = controller.widget()->grabFramebuffer();
        Save(withText, "preview3d-hud.png");
        QVERIFY(withText != image);

        // Orbiting by a real left drag changes the picture.
        QWidget* view = controller.widget();
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(100, 100), view->mapToGlobal(QPointF(100, 100)),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view, &press);
        QMouseEvent move(QEvent::MouseMove, QPointF(160, 100), view->mapToGlobal(QPointF(160, 100)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view, &move);
        const QImage turned = controller.widget()->grabFramebuffer();
        QVERIFY(turned != image);
        controller.standardView(StandardView::Iso);
        QCOMPARE(controller.widget()->grabFramebuffer(), image);  // and the text is gone

        controller.standardView(StandardView::Top);
        const QImage top = controller.widget()->grabFramebuffer();
        Save(top, "preview3d-top.png");
        QVERIFY(top != turned);
        QCOMPARE(controller.widget()->lastGlError(), 0u);
    }

    void surfaceModeNoneKeepsBoxAndAxes() {
        QWidget page;
        page.resize(240, 200);
        Preview3DController controller(&page);
        controller.setBackground(background_);
        controller.setRelief(Dome(), ReliefValues{});
        controller.setWorkBox({0, 0, -5}, {20, 20, 0});
        controller.zoomToExtents();
        controller.standardView(StandardView::Top);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        const int shaded = CountDifferent(controller.widget()->grabFramebuffer(), background_);

        controller.setSurfaceMode(SurfaceMode::Wire);
        const QImage wire = controller.widget()->grabFramebuffer();
        Save(wire, "preview3d-wire.png");
        const int wired = CountDifferent(wire, background_);
        QVERIFY(wired < shaded);

        controller.setSurfaceMode(SurfaceMode::None);
        const QImage none = controller.widget()->grabFramebuffer();
        const QColor centre = none.pixelColor(none.width() / 2, none.height() / 2);
        QCOMPARE(centre.rgb(), background_.rgb());
        const int left = CountDifferent(none, background_);
        QVERIFY(left > 0);  // box and axes
        QVERIFY(left < wired);
        QCOMPARE(controller.widget()->lastGlError(), 0u);
    }

    void noCutZoneLeavesTheFlatPartOpen() {
        QWidget page;
        page.resize(200, 200);
        Preview3DController controller(&page);
        controller.setBackground(background_);
        controller.setAxesVisible(false);
        auto map = std::make_shared<HeightMap>(21, 21);
        for (int x = 0; x <= 20; ++x)
            for (int y = 0; y <= 20; ++y) map->at(x, y) = x < 10 ? 0.0f : -3.0f;  // left half uncut
        controller.setRelief(map, ReliefValues{});
        controller.zoomToExtents();
        controller.standardView(StandardView::Top);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        const auto leftAndRight = [&] {
            const QImage image = controller.widget()->grabFramebuffer();
            return std::pair(image.pixelColor(image.width() / 2 - 30, image.height() / 2).rgb(),
                             image.pixelColor(image.width() / 2 + 30, image.height() / 2).rgb());
        };
        QVERIFY(leftAndRight().first != background_.rgb());
        controller.setNoCutZone(true, 0.0f, "0.1");
        QCOMPARE(leftAndRight().first, background_.rgb());
        QVERIFY(leftAndRight().second != background_.rgb());
        controller.setNoCutZone(false, 0.0f, "0.1");
        QVERIFY(leftAndRight().first != background_.rgb());
    }

    void unusableToleranceIsReportedAndLeavesNoHoles() {
        QWidget page;
        page.resize(120, 100);
        Preview3DController controller(&page);
        QSignalSpy problems(&controller, &Preview3DController::problem);
        controller.setNoCutZone(false, 0.0f, "not a number");
        QCOMPARE(problems.count(), 0);
        controller.setNoCutZone(true, 0.0f, "not a number");
        QCOMPARE(problems.count(), 1);
        QVERIFY(!controller.reliefDrawing().noCutZone);
        controller.setNoCutZone(true, -1.0f, " 0.5 ");
        QVERIFY(controller.reliefDrawing().noCutZone);
        QCOMPARE(controller.reliefDrawing().noCutTolerance, 0.5f);
    }
};

}  // namespace calvoro

QTEST_MAIN(calvoro::Preview3DWidgetTest)
#include "Preview3DWidgetTest.moc"

// The viewport on real images and its window: XOR overlays restore the
// screen bit for bit, Invalidate wipes them, a window expose is not a
// repaint of the view, and the window's input reaches the program in order.
#include "kernel/drawing/QVCmp2D.h"
#include "kernel/entities/EntityModule.h"
#include "kernel/entities/TLine2D.h"
#include "kernel/gui/QImageViewSurface.h"
#include "kernel/gui/ViewportWidget.h"
#include "kernel/program/TQVPrg2D.h"
#include "kernel/tasks/QV2DTasks.h"
#include "kernel/view/TQVViewport2D.h"

#include <QtTest>

#include <stdexcept>
#include <string>
#include <vector>

using namespace calvoro;

namespace {

std::vector<int> gEvents;

struct RecorderState : TCADState {
    static const StateClass Class;
    RecorderState(TCADPrg& p, ParamRef param, const StateClass*& next) : TCADState(p, std::move(param), next) {}
    const StateClass& ClassType() const override { return Class; }
    bool HandleEvent(int event, TMouseButton, const StateClass*&, std::uint16_t, TShiftState) override {
        if (event != CADEvent::MouseMove) gEvents.push_back(event);
        return false;
    }
};
const StateClass RecorderState::Class{"RecorderState", &CreateState<RecorderState>};

QImage ScreenOf(TQVViewport& view) {
    return static_cast<QImageViewSurface&>(view.ScreenSurface()).Image().copy();
}

}  // namespace

class ViewportWidgetTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InitializeEntityModule(); }

    void xorOverlaysRestoreTheScreenAndInvalidateWipesThem() {
        TQVCmp2D drawing;
        TQVViewport2D view(std::make_unique<QImageViewSurface>(), std::make_unique<QImageViewSurface>());
        view.SetCADCmp2D(&drawing);
        view.Resize(160, 120);
        view.ZoomWindow(MakeRect2D(0, 0, 160, 120));
        drawing.AddObject2D(-1, std::make_unique<TLine2D>(-1, MakePoint2D(5, 5), MakePoint2D(150, 100)));
        TLine2D band(-1, MakePoint2D(10, 100), MakePoint2D(140, 7));
        int paints = 0;
        view.SetOnPaint([&](TQVViewport&) { ++paints; });
        view.Repaint();
        const QImage clean = ScreenOf(view);
        for (const bool controlPoints : {false, true}) {
            view.DrawRubberObject2D(band, controlPoints);
            QVERIFY(ScreenOf(view) != clean);
            view.DrawRubberObject2D(band, controlPoints);
            QCOMPARE(ScreenOf(view), clean);
        }
        view.DrawRubberObject2D(band, true);
        paints = 0;
        view.Invalidate();
        QCOMPARE(ScreenOf(view), clean);
        QCOMPARE(paints, 1);
    }

    void aTasksMarksComeAndGoInPairs() {
        TQVCmp2D drawing;
        TQVViewport2D view(std::make_unique<QImageViewSurface>(), std::make_unique<QImageViewSurface>());
        view.SetCADCmp2D(&drawing);
        view.Resize(160, 120);
        view.ZoomWindow(MakeRect2D(0, 0, 160, 120));
        TQVPrg2D program;
        program.SetViewport(&view);
        view.Repaint();
        const QImage clean = ScreenOf(view);
        program.StartOperation(TQV2D_Select1Object::Class, std::make_unique<TQVD2D_SelectObjectsParam>(4, nullptr));
        for (int x = 20; x <= 100; x += 7) view.DeliverMouseMove(0, x, 60);
        // Only the last square (4 pixels around (97, 60), pen 2 wide) differs.
        const QImage shown = ScreenOf(view);
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                if (shown.pixel(x, y) != clean.pixel(x, y)) {
                    QVERIFY2(std::abs(x - 97) <= 6 && std::abs(y - 60) <= 6, "a mark left behind");
                }
            }
        }
        program.SetOnIdle([&](TCADPrg&) {});
        program.PostCommandEvent(kCommandCancel);
        QCOMPARE(ScreenOf(view), clean);
    }

    void theWindowDeliversADoubleClickAsDoubleClickThenPress() {
        ViewportWidget widget;
        widget.resize(200, 150);
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        TQVPrg2D program;
        program.SetViewport(&widget.Viewport());
        program.StartOperation(RecorderState::Class);
        gEvents.clear();
        QTest::mouseClick(&widget, Qt::LeftButton, {}, QPoint(50, 40));
        QTest::mouseDClick(&widget, Qt::LeftButton, {}, QPoint(50, 40));
        QTest::mouseClick(&widget, Qt::MiddleButton, {}, QPoint(50, 40));
        QTest::keyClick(&widget, Qt::Key_Escape);
        const std::vector<int> expected{CADEvent::MouseDown, CADEvent::MouseUp, CADEvent::DoubleClick,
                                        CADEvent::MouseDown, CADEvent::KeyDown, CADEvent::KeyUp};
        QCOMPARE(gEvents, expected);
    }

    void anExposeIsNotARepaintOfTheView() {
        ViewportWidget widget;
        widget.resize(120, 90);
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        int paints = 0;
        widget.Viewport().SetOnPaint([&](TQVViewport&) { ++paints; });
        widget.repaint();
        widget.hide();
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        QCOMPARE(paints, 0);
    }

    void aFailingHandlerIsReportedAndStaysOutOfQt() {
        ViewportWidget widget;
        widget.resize(120, 90);
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        std::vector<std::string> errors;
        widget.SetOnError([&](const std::string& m) { errors.push_back(m); });
        widget.Viewport().SetOnMouseDown2D([](TQVViewport2D&, TMouseButton, TShiftState, int, int, double, double) {
            throw std::runtime_error("handler failed");
        });
        QTest::mousePress(&widget, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(errors, std::vector<std::string>{"handler failed"});
    }
};

QTEST_MAIN(ViewportWidgetTest)
#include "ViewportWidgetTest.moc"

// The CAD command panels in the real main window, reached the way a person
// reaches them: the Draw menu's items (which are also the drop-down menus of
// the linked buttons), the linked buttons themselves, the command pages and
// the snap button; the effect is checked on the button, the 2D program, the
// drawing or the page. What the tasks do to the drawing is pinned by the
// kernel's own tests; here each control must reach its task.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <cmath>
#include <numbers>

#include "kernel/drawing/QVCmp2D.h"
#include "kernel/editing/EditStates.h"
#include "kernel/editing/PickCommands.h"
#include "kernel/entities/EntityModule.h"
#include "kernel/entities/TArco2D.h"
#include "kernel/entities/TCerchio2D.h"
#include "kernel/entities/TLine2D.h"
#include "kernel/entities/TPolyline2D.h"
#include "kernel/gui/ViewportWidget.h"
#include "kernel/model/GraphicObjIterator.h"
#include "kernel/program/TQVPrg2D.h"
#include "kernel/view/TQVViewport2D.h"
#include "shell/app/CommandTable.h"
#include "shell/gui/CommandPanels.h"
#include "shell/gui/View2DHost.h"
#include "tests/shell/gui/WindowHarness.h"

using namespace calvoro;
using namespace calvoro::testing;

namespace {

template <class T = QWidget>
T* Find(MainWindow& w, const char* name) {
    T* found = w.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) qFatal("no control %s", name);
    return found;
}

void Trigger(MainWindow& w, const char* menuItem) { Find<QAction>(w, menuItem)->trigger(); }

void Send(QWidget* view, QEvent::Type type, QPoint at) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent event(type, QPointF(at), view->mapToGlobal(QPointF(at)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(view, &event);
}

// Clicks at world points, with the mouse moved to each first.
void ClickAt(MainWindow& w, std::initializer_list<std::pair<double, double>> points) {
    QWidget* view = &w.View2D().Widget();
    for (auto [x, y] : points) {
        const TPoint2D p = w.View2D().Viewport().WorldToScreen(MakePoint2D(x, y));
        const QPoint at(static_cast<int>(std::lround(p.X)), static_cast<int>(std::lround(p.Y)));
        for (QEvent::Type type : {QEvent::MouseMove, QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
            Send(view, type, at);
    }
}

template <class T>
std::vector<T*> All(MainWindow& w) {
    std::vector<T*> found;
    auto it = w.LocalCad().ObjectListIterator();
    for (TGraphicObject* o = it->First(); o != nullptr; o = it->Next())
        if (&static_cast<TObject2D*>(o)->ClassType() == &T::Class) found.push_back(static_cast<T*>(o));
    return found;
}

template <class T>
int CountOf(MainWindow& w) { return static_cast<int>(All<T>(w).size()); }

// Whether a line of the drawing runs from (x1, y1) to (x2, y2), either way.
bool HasLine(MainWindow& w, double x1, double y1, double x2, double y2, int layer = -1) {
    const auto at = [](TLine2D* l, int i, double x, double y) {
        const TPoint2D p = CartesianPoint(l->Points().Get(i));
        return std::abs(p.X - x) < 1e-9 && std::abs(p.Y - y) < 1e-9;
    };
    for (TLine2D* l : All<TLine2D>(w))
        if (((at(l, 0, x1, y1) && at(l, 1, x2, y2)) || (at(l, 1, x1, y1) && at(l, 0, x2, y2))) &&
            (layer < 0 || l->Layer() == layer))
            return true;
    return false;
}

TCADState* Running(MainWindow& w) { return w.View2D().Program().CurrentState(); }
QString StateName(MainWindow& w) {
    return Running(w) ? QString::fromStdString(std::string(Running(w)->ClassType().Name)) : "";
}
const StateClass* AfterState(MainWindow& w) {
    return Running(w) && Running(w)->Param() ? Running(w)->Param()->AfterState : nullptr;
}
TQVD2D_SelectObjectsParam* PickParam(MainWindow& w) {
    return Running(w) ? dynamic_cast<TQVD2D_SelectObjectsParam*>(Running(w)->Param()) : nullptr;
}

// Records the user events the running task receives.
std::vector<int> gEvents;
class SpyState : public TCADState {
public:
    static const StateClass Class;
    SpyState(TCADPrg& program, ParamRef param, const StateClass*& next) : TCADState(program, std::move(param), next) {}
    const StateClass& ClassType() const override { return Class; }
    bool HandleEvent(int event, TMouseButton, const StateClass*&, std::uint16_t key, TShiftState) override {
        if (event == CADEvent::UserCommand) gEvents.push_back(key);
        return false;
    }
};
const StateClass SpyState::Class{"SpyState", &CreateState<SpyState>};

}  // namespace

class WindowPanelsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InitializeEntityModule(); }

    // How a person reaches each control: the Draw menu item that shows its
    // page (or, for the tool bar, nothing at all). The tests below check
    // what each one does.
    void everyControlIsReachedFromTheDrawMenu() {
        Harness h;
        MainWindow& w = h.start();
        const std::pair<const char*, const char*> rows[] = {
            {"", "lsbArc lsbModify lsbXform lsbDelete lsbLine lsbPoint sbmSnap"},
            {"mnuCircleCtDia", "txtDiamArco"},
            {"mnuArcPolar", "txtDiamArcoPolare rseArcoPolareSa rseArcoPolareEa"},
            {"mnuPolyline", "sbtPolyOk sbtClosePoly"},
            {"mnuFillet", "txtRaccordo"},
            {"mnuArcTangent", "rbtTanTo1 rbtTanTo2"},
            {"mnuDeleteSmall", "txtSmallX sbtDelSmall stxReportSmall"},
            {"mnuLinePolar", "txtLinePolLen txtLinePolAngle"},
            {"mnuLineTangentAngle", "txtLenTanAng txtLinTanAngle"},
            {"mnuPointGrid", "txtPtGridDx"},
            {"mnuTranslate", "txtTransDx txtTransDy rbtTransMove rbtTransCopy txtTransRepeat sbtTranslateOk"},
            {"mnuRotate", "txtRotateAngle rbtRotateMove rbtRotateCopy txtRotateRepeat sbtRotateOk"},
            {"mnuScale", "rbtScaleUniform rbtScaleXy txtScaleX txtScaleRepeat"},
            {"mnuOffset", "txtOffsetDist sbtOffsetOk sbtFlipOffset"},
        };
        for (const auto& [menu, controls] : rows) {
            if (*menu) Trigger(w, menu);
            for (const QString& name : QString(controls).split(' '))
                QVERIFY2(Find(w, qPrintable(name))->isVisible(), qPrintable(name));
        }
        // Every command is an item of the Draw menu and of its button's drop-down menu.
        for (const CommandRow& row : CommandRows())
            QVERIFY2(Find<QToolButton>(w, ButtonName(row.Group))->menu()->actions().contains(Find<QAction>(w, row.MenuName)),
                     row.MenuName);
    }

    // Every item of the Draw menu gives its linked button the command's glyph
    // and hint; the button then repeats it. Commands without work of their
    // own start nothing.
    void everyCommandGivesItsButtonItsGlyphAndHint() {
        Harness h;
        MainWindow& w = h.start();
        for (const CommandRow& row : CommandRows()) {
            w.View2D().Program().StopOperation();
            Trigger(w, row.MenuName);
            auto* button = Find<QToolButton>(w, ButtonName(row.Group));
            QCOMPARE(button->property("glyph").toInt(), row.Glyph);
            const QString hint =
                *row.Hint ? Lang(row.Hint) : QString::fromStdString(LangMainHint(ButtonName(row.Group)));
            QVERIFY2(!hint.isEmpty() && button->toolTip() == hint, row.MenuName);
            if (!row.Works) QVERIFY2(!w.View2D().Program().OperationRunning(), row.MenuName);
        }
        Trigger(w, "mnuTrim");
        w.View2D().Program().StopOperation();
        Find<QToolButton>(w, "lsbModify")->click();
        QCOMPARE(AfterState(w), &TMyRaccordo::Class);
        Trigger(w, "mnuExtend");  // changes the button, leaves the running pick alone
        QCOMPARE(AfterState(w), &TMyRaccordo::Class);
        QCOMPARE(Find<QToolButton>(w, "lsbModify")->property("glyph").toInt(), RowOf(CadCommand::Extend).Glyph);
        QCOMPARE(h.errors, QStringList());
    }

    // The picking commands: task, after-state, command code, whether each
    // pick is highlighted and whether the object snap goes off.
    void pickingCommandsStartTheirTask() {
        Harness h;
        MainWindow& w = h.start();
        struct Row {
            const char *menu, *task;
            const StateClass* after;
            int code;
            bool highlight, clearsObjectSnap = true;
        };
        const char* const two = "TCAD2DSeleziona2Ogg";
        const char* const one = "TQV2D_Select1Object";
        const Row rows[] = {
            {"mnuTrim", two, &TMyRaccordo::Class, kCommandTrim, true},
            {"mnuBreak", two, &TMyBreak::Class, kCommandBreak, true},
            {"mnuMoveNode", one, &TCAD2DEditSelectedPrimitive::Class, kCommandMoveNode, false},
            {"mnuLineTangent2Arc", two, &TMyLineaTan2A::Class, kCommandLineTangent2Arc, true},
            {"mnuLinePerp", one, &TMyLineaPer::Class, kCommandLinePerp, true, false},
            {"mnuDelete", one, &TDeletePicked::Class, kCommandDelete, true},
            {"mnuExplode", one, &TExplodePicked::Class, kNoCommand, true},
            {"mnuCopy", one, &TCopyPicked::Class, kNoCommand, true},
            {"mnuFillet", two, &TMyArcoTan2::Class, kNoCommand, true},
            {"mnuChangeLayer", one, &TChangeLayerPicked::Class, kNoCommand, true},
        };
        for (const Row& r : rows) {
            w.View2D().SetObjectSnapActive(true);
            w.State().ActiveCommand = 0;
            Trigger(w, r.menu);
            QCOMPARE(StateName(w), QString(r.task));
            QCOMPARE(AfterState(w), r.after);
            QCOMPARE(w.State().ActiveCommand, r.code);
            QVERIFY(PickParam(w) != nullptr);
            QCOMPARE(bool(PickParam(w)->OnSelected), r.highlight);
            QCOMPARE(w.View2D().ObjectSnapActive(), !r.clearsObjectSnap);
        }
        // The fillet takes its radius from its page; move node picks primitives only.
        Find<QLineEdit>(w, "txtRaccordo")->setText("2.5");
        Trigger(w, "mnuFillet");
        auto* fillet = dynamic_cast<TEditPickParam*>(PickParam(w));
        QVERIFY(fillet && fillet->Fillet.Radius == 2.5 && fillet->Fillet.TrimObjects);
        Trigger(w, "mnuMoveNode");
        QCOMPARE(PickParam(w)->FilterClass, &TPrimitive2D::Class);
        // The tangent arc: one object only highlights, two build the arc of the page's radius.
        Trigger(w, "mnuArcTangent");
        Find<QRadioButton>(w, "rbtTanTo1")->click();
        QVERIFY(Find<QGroupBox>(w, "grpArcTan")->isHidden());
        QCOMPARE(AfterState(w), &TMyArcoTan1::Class);
        Find<QRadioButton>(w, "rbtTanTo2")->click();
        QVERIFY(Find<QGroupBox>(w, "grpArcTan")->isVisible());
        Find<QLineEdit>(w, "txtArcTanRadius")->setText("3");
        Find<QCheckBox>(w, "chkArcTanTrim")->setChecked(false);
        Find<QRadioButton>(w, "rbtTanTo2")->click();
        auto* arc = dynamic_cast<TEditPickParam*>(PickParam(w));
        QVERIFY(arc && arc->Fillet.Radius == 3 && !arc->Fillet.TrimObjects);
        QCOMPARE(AfterState(w), &TMyArcoTan2::Class);
        QCOMPARE(h.errors, QStringList());
    }

    // What a person draws with the mouse from the panels; a value typed on a
    // page takes effect for the next click.
    void drawsFromThePanels() {
        Harness h;
        MainWindow& w = h.start();
        QApplication::setActiveWindow(&w);
        w.View2D().SetSnap(true);  // every click lands on a grid point
        Trigger(w, "mnuLine");
        ClickAt(w, {{10, 10}, {50, 10}});
        Find<QToolButton>(w, "lsbLine")->click();  // the button repeats the line
        ClickAt(w, {{60, 20}, {60, 60}});
        QVERIFY(HasLine(w, 10, 10, 50, 10) && HasLine(w, 60, 20, 60, 60));

        Trigger(w, "mnuCircleCtPt");
        ClickAt(w, {{100, 100}, {120, 100}});
        Find<QLineEdit>(w, "txtDiamArco")->setText("20");
        Trigger(w, "mnuCircleCtDia");
        QVERIFY(QApplication::focusWidget() == Find(w, "txtDiamArco"));  // ready for another diameter
        ClickAt(w, {{200, 200}});
        QCOMPARE(CountOf<TCerchio2D>(w), 2);

        Find<QLineEdit>(w, "txtDiamArcoPolare")->setText("10");
        Find<QDoubleSpinBox>(w, "rseArcoPolareSa")->setValue(0);
        Trigger(w, "mnuArcPolar");
        Find<QDoubleSpinBox>(w, "rseArcoPolareEa")->setValue(90);
        ClickAt(w, {{150, 50}});
        QCOMPARE(CountOf<TArco2D>(w), 1);
        const TArcData data = All<TArco2D>(w)[0]->GetArcData();
        QVERIFY(std::abs(data.Radius - 5) < 1e-9 && std::abs(data.EndAngle - std::numbers::pi / 2) < 1e-9);
        Trigger(w, "mnuArcCtPtSaEa");
        QCOMPARE(StateName(w), QString("TQV2D_DrawArc3"));  // its clicks: the placing tests of the kernel

        Trigger(w, "mnuLinePolar");
        Find<QLineEdit>(w, "txtLinePolLen")->setText("3");
        QTest::keyClick(Find<QLineEdit>(w, "txtLinePolLen"), Qt::Key_0);  // typed: 30
        Find<QLineEdit>(w, "txtLinePolAngle")->setText("9");
        QTest::keyClick(Find<QLineEdit>(w, "txtLinePolAngle"), Qt::Key_0);  // typed: 90
        ClickAt(w, {{250, 20}});
        QVERIFY(HasLine(w, 250, 20, 250, 50));

        Trigger(w, "mnuPolyline");
        ClickAt(w, {{0, 150}, {20, 170}, {40, 150}});
        Find<QPushButton>(w, "sbtPolyOk")->click();
        Find<QToolButton>(w, "lsbLine")->click();
        ClickAt(w, {{0, 200}, {20, 220}, {40, 200}});
        Find<QPushButton>(w, "sbtClosePoly")->click();
        std::vector<int> counts;
        for (TPolyline2D* p : All<TPolyline2D>(w)) counts.push_back(p->Points().Count());
        QCOMPARE(counts, (std::vector<int>{3, 4}));
        QCOMPARE(h.errors, QStringList());
    }

    // Limit 1: 0.9 is under it, 1.0 is not.
    void deletesSmallEntitiesAndReportsHowMany() {
        Harness h;
        MainWindow& w = h.start();
        w.LocalCad().AddObject2D(-1, std::make_unique<TLine2D>(-1, MakePoint2D(0, 0), MakePoint2D(0.5, 0.9)));
        w.LocalCad().AddObject2D(-1, std::make_unique<TLine2D>(-1, MakePoint2D(0, 0), MakePoint2D(0.5, 1.0)));
        Trigger(w, "mnuDeleteSmall");
        Find<QLineEdit>(w, "txtSmallX")->setText("1");
        Find<QPushButton>(w, "sbtDelSmall")->click();
        QCOMPARE(w.LocalCad().ObjectCount(), 1);
        QCOMPARE(Find<QLabel>(w, "stxReportSmall")->text(), "1 " + Lang("411"));
    }

    // A picked polyline exploded into its lines; one of them copied, moved to
    // the current layer and deleted.
    void explodesCopiesAndDeletesThePickedEntity() {
        Harness h;
        MainWindow& w = h.start();
        w.View2D().SetSnap(true);
        const std::vector<TPoint2D> points = {MakePoint2D(10, 10), MakePoint2D(50, 10), MakePoint2D(50, 50),
                                              MakePoint2D(10, 50)};
        w.LocalCad().AddObject2D(-1, std::make_unique<TPolyline2D>(-1, points));
        Trigger(w, "mnuExplode");
        ClickAt(w, {{30, 10}});
        QCOMPARE(CountOf<TLine2D>(w), 3);
        QCOMPARE(CountOf<TPolyline2D>(w), 0);
        Trigger(w, "mnuCopy");
        ClickAt(w, {{50, 30}, {50, 30}, {80, 40}});  // the right-hand side, from, to
        QVERIFY(HasLine(w, 80, 20, 80, 60));
        w.LocalCad().SetCurrentLayer(5);
        Trigger(w, "mnuChangeLayer");
        ClickAt(w, {{80, 40}});
        QVERIFY(HasLine(w, 80, 20, 80, 60, 5));
        Trigger(w, "mnuDelete");
        QCOMPARE(w.State().ActiveCommand, kCommandDelete);
        ClickAt(w, {{80, 40}});
        QCOMPARE(CountOf<TLine2D>(w), 3);
        QCOMPARE(h.errors, QStringList());
    }

    void snapButtonSwitchesSnapAndItsRightButtonShowsTheGrid() {
        Harness h;
        MainWindow& w = h.start();
        auto* snap = Find<QToolButton>(w, "sbmSnap");
        for (bool expected : {true, false}) {
            snap->click();
            QCOMPARE(w.View2D().Program().UseSnap(), expected);
            QCOMPARE(w.State().UseSnap, expected);
            QCOMPARE(snap->isChecked(), expected);
        }
        emit snap->customContextMenuRequested(QPoint(2, 2));
        QCOMPARE(h.dialogs.gridShown.size(), 1);
        QVERIFY(h.dialogs.gridShown[0].startsWith("10"));
    }

    // The transform pages hand their events to the running task and keep the
    // copy flag and repeat count; the scale page switches between one factor
    // and two.
    void transformPagesPostTheirEvents() {
        Harness h;
        MainWindow& w = h.start();
        CommandPanels& panels = w.Commands();
        Trigger(w, "mnuTranslate");
        w.View2D().Program().StartOperation(SpyState::Class);
        gEvents.clear();
        for (const char* choice : {"rbtTransCopy", "rbtTransMove", "rbtRotateCopy", "rbtRotateMove"}) {
            Find<QRadioButton>(w, choice)->click();
            QCOMPARE(panels.CopyFlag(), QByteArray(choice).endsWith("Copy"));
        }
        for (const char* repeat : {"txtTransRepeat", "txtRotateRepeat", "txtScaleRepeat"}) {
            Find<QLineEdit>(w, repeat)->setText("3");
            Find<QLineEdit>(w, repeat)->setText("");  // retyping is no error
            QCOMPARE(panels.RepeatCount(), 3);
            Find<QLineEdit>(w, repeat)->setText("1");
        }
        // Set by the program, without the focus: no event.
        for (const char* edit : {"txtTransDx", "txtTransDy", "txtRotateAngle", "txtScaleX"})
            Find<QLineEdit>(w, edit)->setText("7");
        QVERIFY(gEvents.empty());
        for (const char* button : {"sbtTranslateOk", "sbtRotateOk", "sbtPolyOk"}) Find<QPushButton>(w, button)->click();
        Find<QPushButton>(w, "sbtClosePoly")->click();
        // Done as a person reaches it: the Draw menu opens over the running task.
        emit Find<QMenu>(w, "mnuCad")->aboutToShow();
        Find<QAction>(w, "mnuDone")->trigger();
        emit Find<QLineEdit>(w, "txtRotateAngle")->returnPressed();
        QCOMPARE(gEvents, (std::vector<int>{1, 1, 1, 3, 1, 1}));

        Trigger(w, "mnuScale");
        Find<QLineEdit>(w, "txtScaleX")->setText("2");
        QCOMPARE(Find<QLineEdit>(w, "txtScaleY")->text(), QString("2"));
        Find<QRadioButton>(w, "rbtScaleXy")->click();
        QVERIFY(!Find<QLineEdit>(w, "txtScaleY")->isHidden() && !Find<QLabel>(w, "lblScaleY")->isHidden());
        Find<QLineEdit>(w, "txtScaleX")->setText("4");
        QCOMPARE(Find<QLineEdit>(w, "txtScaleY")->text(), QString("2"));
        Find<QRadioButton>(w, "rbtScaleUniform")->click();
        QVERIFY(Find<QLineEdit>(w, "txtScaleY")->isHidden() && Find<QLabel>(w, "lblScaleY")->isHidden());

        Trigger(w, "mnuOffset");
        Find<QLineEdit>(w, "txtOffsetDist")->setText("1.5");
        QCOMPARE(panels.OffsetDistance(), 1.5f);
        for (const char* inert : {"sbtOffsetOk", "sbtFlipOffset"}) Find<QPushButton>(w, inert)->click();
        QCOMPARE(w.LocalCad().ObjectCount(), 0);
    }
};

QTEST_MAIN(WindowPanelsTest)
#include "WindowPanelsTest.moc"

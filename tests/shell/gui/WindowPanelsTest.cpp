// The CAD command panels in the real main window, reached the way a person
// reaches them: the Draw menu's items (which are also the drop-down menus of
// the linked buttons), the linked buttons themselves, the command pages and
// the snap button; the effect is checked on the button, the 2D program, the
// drawing or the page.
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
#include <QTabBar>
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
#include "kernel/tasks/PlacingTasks.h"
#include "kernel/view/TQVViewport2D.h"
#include "shell/app/CommandTable.h"
#include "shell/gui/CommandPanels.h"
#include "shell/gui/MainLifeCycle.h"
#include "shell/gui/PageTabStyle.h"
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

void Trigger(MainWindow& w, const char* menuItem) {
    Find<QAction>(w, menuItem)->trigger();
}

// The pixel of a world point in the 2D view.
QPoint PixelOf(MainWindow& w, double x, double y) {
    const TPoint2D p = w.View2D().Viewport().WorldToScreen(MakePoint2D(x, y));
    return QPoint(static_cast<int>(std::lround(p.X)), static_cast<int>(std::lround(p.Y)));
}

void Send(QWidget* view, QEvent::Type type, QPoint at) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent event(type, QPointF(at), view->mapToGlobal(QPointF(at)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(view, &event);
}

// A click at a world point, with the mouse moved there first.
void ClickAt(MainWindow& w, double x, double y) {
    QWidget* view = &w.View2D().Widget();
    const QPoint at = PixelOf(w, x, y);
    Send(view, QEvent::MouseMove, at);
    Send(view, QEvent::MouseButtonPress, at);
    Send(view, QEvent::MouseButtonRelease, at);
}

std::vector<TObject2D*> Objects(MainWindow& w) {
    std::vector<TObject2D*> objects;
    auto it = w.LocalCad().ObjectListIterator();
    for (TGraphicObject* o = it->First(); o != nullptr; o = it->Next()) objects.push_back(static_cast<TObject2D*>(o));
    return objects;
}

template <class T>
int CountOf(MainWindow& w) {
    int n = 0;
    for (TObject2D* o : Objects(w)) n += &o->ClassType() == &T::Class;
    return n;
}

QString StateName(MainWindow& w) {
    TCADState* state = w.View2D().Program().CurrentState();
    return state ? QString::fromLatin1(state->ClassType().Name.data(), int(state->ClassType().Name.size())) : "";
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

const StateClass* AfterState(MainWindow& w) {
    TCADState* state = w.View2D().Program().CurrentState();
    return state && state->Param() ? state->Param()->AfterState : nullptr;
}

TQVD2D_SelectObjectsParam* PickParam(MainWindow& w) {
    TCADState* state = w.View2D().Program().CurrentState();
    return state ? dynamic_cast<TQVD2D_SelectObjectsParam*>(state->Param()) : nullptr;
}

bool HasEndAt(TLine2D* line, double x, double y) {
    for (int i = 0; i < 2; ++i) {
        const TPoint2D p = CartesianPoint(line->Points().Get(i));
        if (std::abs(p.X - x) < 1e-9 && std::abs(p.Y - y) < 1e-9) return true;
    }
    return false;
}

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
        struct Row {
            const char* control;
            const char* reachedBy;  // a Draw menu item; empty: always in sight
        };
        const Row rows[] = {
            {"lsbArc", ""},
            {"lsbModify", ""},
            {"lsbXform", ""},
            {"lsbDelete", ""},
            {"lsbLine", ""},
            {"lsbPoint", ""},
            {"sbmSnap", ""},
            {"txtDiamArco", "mnuCircleCtDia"},
            {"txtDiamArcoPolare", "mnuArcPolar"},
            {"rseArcoPolareSa", "mnuArcPolar"},
            {"rseArcoPolareEa", "mnuArcPolar"},
            {"sbtPolyOk", "mnuPolyline"},
            {"sbtClosePoly", "mnuPolyline"},
            {"txtRaccordo", "mnuFillet"},
            {"rbtTanTo1", "mnuArcTangent"},
            {"rbtTanTo2", "mnuArcTangent"},
            {"txtSmallX", "mnuDeleteSmall"},
            {"sbtDelSmall", "mnuDeleteSmall"},
            {"stxReportSmall", "mnuDeleteSmall"},
            {"txtLinePolLen", "mnuLinePolar"},
            {"txtLinePolAngle", "mnuLinePolar"},
            {"txtLenTanAng", "mnuLineTangentAngle"},
            {"txtLinTanAngle", "mnuLineTangentAngle"},
            {"txtPtGridDx", "mnuPointGrid"},
            {"txtTransDx", "mnuTranslate"},
            {"txtTransDy", "mnuTranslate"},
            {"rbtTransMove", "mnuTranslate"},
            {"rbtTransCopy", "mnuTranslate"},
            {"txtTransRepeat", "mnuTranslate"},
            {"sbtTranslateOk", "mnuTranslate"},
            {"txtRotateAngle", "mnuRotate"},
            {"rbtRotateMove", "mnuRotate"},
            {"rbtRotateCopy", "mnuRotate"},
            {"txtRotateRepeat", "mnuRotate"},
            {"sbtRotateOk", "mnuRotate"},
            {"rbtScaleUniform", "mnuScale"},
            {"rbtScaleXy", "mnuScale"},
            {"txtScaleX", "mnuScale"},
            {"txtScaleRepeat", "mnuScale"},
            {"txtOffsetDist", "mnuOffset"},
            {"sbtOffsetOk", "mnuOffset"},
            {"sbtFlipOffset", "mnuOffset"},
        };
        for (const Row& r : rows) {
            if (*r.reachedBy) Trigger(w, r.reachedBy);
            QVERIFY2(Find(w, r.control)->isVisible(), r.control);
        }
        // The tangent arc's radius shows with the two-object arc.
        Trigger(w, "mnuArcTangent");
        Find<QRadioButton>(w, "rbtTanTo2")->click();
        for (const char* control : {"grpArcTan", "txtArcTanRadius", "chkArcTanTrim"})
            QVERIFY2(Find(w, control)->isVisible(), control);
        // The work panel's tabs are drawn as the program's own frames.
        QVERIFY(dynamic_cast<PageTabStyle*>(Find<QTabBar>(w, "tabPages")->style()) != nullptr);
        // Every command is an item of the Draw menu and of its button's drop-down menu.
        for (const CommandRow& row : CommandRows()) {
            QAction* item = Find<QAction>(w, row.MenuName);
            QVERIFY(Find<QToolButton>(w, ButtonName(row.Group))->menu()->actions().contains(item));
            QVERIFY(!item->text().isEmpty());
        }
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
            QVERIFY2(!hint.isEmpty(), row.MenuName);
            QCOMPARE(button->toolTip(), hint);
            if (!row.Works) QVERIFY2(!w.View2D().Program().OperationRunning(), row.MenuName);
        }
        Trigger(w, "mnuTrim");
        w.View2D().Program().StopOperation();
        Find<QToolButton>(w, "lsbModify")->click();
        QCOMPARE(AfterState(w), &TMyRaccordo::Class);
        Trigger(w, "mnuExtend");  // changes the button, leaves the running pick alone
        QCOMPARE(AfterState(w), &TMyRaccordo::Class);
        QCOMPARE(Find<QToolButton>(w, "lsbModify")->property("glyph").toInt(), 8);
        QCOMPARE(h.errors, QStringList());
    }

    // The picking commands: task, after-state, command code, aperture,
    // whether each pick is highlighted and whether the object snap goes off.
    void pickingCommandsStartTheirTask() {
        Harness h;
        MainWindow& w = h.start();
        struct Row {
            const char* menu;
            const char* task;
            const StateClass* after;
            int code;
            bool highlight;
            bool clearsObjectSnap = true;
        };
        const Row rows[] = {
            {"mnuTrim", "TCAD2DSeleziona2Ogg", &TMyRaccordo::Class, kCommandTrim, true},
            {"mnuBreak", "TCAD2DSeleziona2Ogg", &TMyBreak::Class, kCommandBreak, true},
            {"mnuMoveNode", "TQV2D_Select1Object", &TCAD2DEditSelectedPrimitive::Class, kCommandMoveNode, false},
            {"mnuLineTangent2Arc", "TCAD2DSeleziona2Ogg", &TMyLineaTan2A::Class, kCommandLineTangent2Arc, true},
            {"mnuLinePerp", "TQV2D_Select1Object", &TMyLineaPer::Class, kCommandLinePerp, true, false},
            {"mnuDelete", "TQV2D_Select1Object", &TDeletePicked::Class, kCommandDelete, true},
            {"mnuExplode", "TQV2D_Select1Object", &TExplodePicked::Class, kNoCommand, true},
            {"mnuCopy", "TQV2D_Select1Object", &TCopyPicked::Class, kNoCommand, true},
            {"mnuFillet", "TCAD2DSeleziona2Ogg", &TMyArcoTan2::Class, kNoCommand, true},
            {"mnuChangeLayer", "TQV2D_Select1Object", &TChangeLayerPicked::Class, kNoCommand, true},
        };
        for (const Row& r : rows) {
            w.View2D().SetObjectSnapActive(true);
            w.State().ActiveCommand = 0;
            Trigger(w, r.menu);
            QCOMPARE(StateName(w), QString(r.task));
            QCOMPARE(AfterState(w), r.after);
            QCOMPARE(w.State().ActiveCommand, r.code);
            QVERIFY(PickParam(w) != nullptr);
            QCOMPARE(int(PickParam(w)->Aperture), 5);
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
        QVERIFY(w.LifeCycle().Pages().Visible(38));
        Find<QRadioButton>(w, "rbtTanTo1")->click();
        QVERIFY(Find<QGroupBox>(w, "grpArcTan")->isHidden());
        QCOMPARE(AfterState(w), &TMyArcoTan1::Class);
        Find<QRadioButton>(w, "rbtTanTo2")->click();
        QVERIFY(!Find<QGroupBox>(w, "grpArcTan")->isHidden());
        Find<QLineEdit>(w, "txtArcTanRadius")->setText("3");
        Find<QCheckBox>(w, "chkArcTanTrim")->setChecked(false);
        Find<QRadioButton>(w, "rbtTanTo2")->click();
        auto* arc = dynamic_cast<TEditPickParam*>(PickParam(w));
        QVERIFY(arc && arc->Fillet.Radius == 3 && !arc->Fillet.TrimObjects);
        QCOMPARE(AfterState(w), &TMyArcoTan2::Class);
        QCOMPARE(h.errors, QStringList());
    }

    // What a person does with the mouse: a line, circles and polylines from
    // the panels, then the two lines trimmed to their corner and the circle
    // broken where a line crosses it.
    void drawsFromThePanelsThenTrimsAndBreaks() {
        Harness h;
        MainWindow& w = h.start();
        QApplication::setActiveWindow(&w);
        w.View2D().SetSnap(true);  // every click lands on a grid point
        Trigger(w, "mnuLine");
        ClickAt(w, 10, 10);
        ClickAt(w, 50, 10);
        Find<QToolButton>(w, "lsbLine")->click();  // the button repeats the line
        ClickAt(w, 60, 20);
        ClickAt(w, 60, 60);
        QCOMPARE(CountOf<TLine2D>(w), 2);

        Trigger(w, "mnuCircleCtPt");
        ClickAt(w, 100, 100);
        ClickAt(w, 120, 100);
        Find<QLineEdit>(w, "txtDiamArco")->setText("20");
        Trigger(w, "mnuCircleCtDia");
        QVERIFY(w.LifeCycle().Pages().Visible(4));
        QVERIFY(QApplication::focusWidget() == Find(w, "txtDiamArco"));  // ready for another diameter
        ClickAt(w, 200, 200);
        QCOMPARE(CountOf<TCerchio2D>(w), 2);

        // An arc and a line of the sizes on their pages, dropped by a click;
        // a new value on the page takes effect for the next click.
        Find<QLineEdit>(w, "txtDiamArcoPolare")->setText("10");
        Find<QDoubleSpinBox>(w, "rseArcoPolareSa")->setValue(0);
        Trigger(w, "mnuArcPolar");
        Find<QDoubleSpinBox>(w, "rseArcoPolareEa")->setValue(90);
        ClickAt(w, 150, 50);
        QCOMPARE(CountOf<TArco2D>(w), 1);
        for (TObject2D* o : Objects(w))
            if (auto* arc = dynamic_cast<TArco2D*>(o)) {
                const TArcData data = arc->GetArcData();
                QVERIFY(std::abs(data.Radius - 5) < 1e-9 && std::abs(data.EndAngle - std::numbers::pi / 2) < 1e-9);
                w.LocalCad().DeleteObject(arc->ID());
                break;
            }
        Trigger(w, "mnuArcCtPtSaEa");
        QCOMPARE(StateName(w), QString("TQV2D_DrawArc3"));  // its clicks: the placing tests of the kernel
        Trigger(w, "mnuLinePolar");
        auto* length = Find<QLineEdit>(w, "txtLinePolLen");
        length->setText("3");
        QTest::keyClick(length, Qt::Key_0);  // typed: 30
        Find<QLineEdit>(w, "txtLinePolAngle")->setText("90");
        QTest::keyClick(Find<QLineEdit>(w, "txtLinePolAngle"), Qt::Key_Backspace);
        QTest::keyClick(Find<QLineEdit>(w, "txtLinePolAngle"), Qt::Key_0);  // typed: 90 again
        ClickAt(w, 250, 20);
        bool upright = false;
        for (TObject2D* o : Objects(w))
            if (auto* l = dynamic_cast<TLine2D*>(o))
                upright = upright || (HasEndAt(l, 250, 20) && HasEndAt(l, 250, 50));
        QVERIFY(upright);
        w.LocalCad().DeleteObject(Objects(w).back()->ID());

        Trigger(w, "mnuPolyline");
        QVERIFY(w.LifeCycle().Pages().Visible(26));
        for (auto [x, y] : {std::pair{0, 150}, {20, 170}, {40, 150}}) ClickAt(w, x, y);
        Find<QPushButton>(w, "sbtPolyOk")->click();
        Find<QToolButton>(w, "lsbLine")->click();
        for (auto [x, y] : {std::pair{0, 200}, {20, 220}, {40, 200}}) ClickAt(w, x, y);
        Find<QPushButton>(w, "sbtClosePoly")->click();
        std::vector<int> counts;
        for (TObject2D* o : Objects(w))
            if (auto* p = dynamic_cast<TPolyline2D*>(o)) counts.push_back(p->Points().Count());
        QCOMPARE(counts, (std::vector<int>{3, 4}));

        Trigger(w, "mnuTrim");
        ClickAt(w, 30, 10);
        ClickAt(w, 60, 40);
        std::vector<TLine2D*> lines;
        for (TObject2D* o : Objects(w))
            if (auto* l = dynamic_cast<TLine2D*>(o)) lines.push_back(l);
        QCOMPARE(int(lines.size()), 2);
        for (TLine2D* l : lines) QVERIFY(HasEndAt(l, 60, 10));

        Trigger(w, "mnuLine");
        ClickAt(w, 70, 100);
        ClickAt(w, 130, 100);
        Trigger(w, "mnuBreak");
        ClickAt(w, 100, 120);
        ClickAt(w, 75, 100);
        QCOMPARE(CountOf<TCerchio2D>(w), 1);
        QCOMPARE(CountOf<TArco2D>(w), 2);
        QCOMPARE(h.errors, QStringList());
    }

    void deletesSmallEntitiesAndReportsHowMany() {
        Harness h;
        MainWindow& w = h.start();
        w.LocalCad().AddObject2D(-1, std::make_unique<TLine2D>(-1, MakePoint2D(0, 0), MakePoint2D(0.5, 0.9)));
        w.LocalCad().AddObject2D(-1, std::make_unique<TLine2D>(-1, MakePoint2D(0, 0), MakePoint2D(0.5, 1.0)));
        Trigger(w, "mnuDeleteSmall");
        QVERIFY(w.LifeCycle().Pages().Visible(28));
        Find<QLineEdit>(w, "txtSmallX")->setText("1");
        Find<QPushButton>(w, "sbtDelSmall")->click();
        QCOMPARE(w.LocalCad().ObjectCount(), 1);
        QCOMPARE(Find<QLabel>(w, "stxReportSmall")->text(), "1 " + Lang("411"));
    }

    void explodesAndCopiesThePickedEntity() {
        Harness h;
        MainWindow& w = h.start();
        w.View2D().SetSnap(true);
        const std::vector<TPoint2D> points = {MakePoint2D(10, 10), MakePoint2D(50, 10), MakePoint2D(50, 50),
                                              MakePoint2D(10, 50)};
        w.LocalCad().AddObject2D(-1, std::make_unique<TPolyline2D>(-1, points));
        Trigger(w, "mnuExplode");
        ClickAt(w, 30, 10);
        QCOMPARE(CountOf<TLine2D>(w), 3);
        QCOMPARE(CountOf<TPolyline2D>(w), 0);
        Trigger(w, "mnuCopy");
        ClickAt(w, 50, 30);  // the right-hand side
        ClickAt(w, 50, 30);  // from
        ClickAt(w, 80, 40);  // to
        QCOMPARE(CountOf<TLine2D>(w), 4);
        bool moved = false;
        for (TObject2D* o : Objects(w))
            if (auto* l = dynamic_cast<TLine2D*>(o)) moved = moved || (HasEndAt(l, 80, 20) && HasEndAt(l, 80, 60));
        QVERIFY(moved);
        w.LocalCad().SetCurrentLayer(5);
        Trigger(w, "mnuChangeLayer");
        ClickAt(w, 80, 40);
        bool onLayer5 = false;
        for (TObject2D* o : Objects(w))
            if (auto* l = dynamic_cast<TLine2D*>(o)) onLayer5 = onLayer5 || (l->Layer() == 5 && HasEndAt(l, 80, 20));
        QVERIFY(onLayer5);
        Trigger(w, "mnuDelete");
        QCOMPARE(w.State().ActiveCommand, kCommandDelete);
        ClickAt(w, 80, 40);
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
        QVERIFY(w.LifeCycle().Pages().Visible(40));
        w.View2D().Program().StartOperation(SpyState::Class);
        gEvents.clear();
        Find<QRadioButton>(w, "rbtTransCopy")->click();
        QVERIFY(panels.CopyFlag());
        Find<QRadioButton>(w, "rbtTransMove")->click();
        QVERIFY(!panels.CopyFlag());
        Find<QRadioButton>(w, "rbtRotateCopy")->click();
        QVERIFY(panels.CopyFlag());
        Find<QRadioButton>(w, "rbtRotateMove")->click();
        QVERIFY(!panels.CopyFlag());
        for (const char* repeat : {"txtTransRepeat", "txtRotateRepeat", "txtScaleRepeat"}) {
            Find<QLineEdit>(w, repeat)->setText("3");
            QCOMPARE(panels.RepeatCount(), 3);
            Find<QLineEdit>(w, repeat)->setText("");  // retyping is no error
            QCOMPARE(panels.RepeatCount(), 3);
            Find<QLineEdit>(w, repeat)->setText("1");
        }
        struct Row {
            const char* edit;
            int event;
        };
        w.activateWindow();
        for (const Row r : {Row{"txtTransDx", 6}, {"txtTransDy", 6}, {"txtRotateAngle", 4}, {"txtScaleX", 5}}) {
            auto* edit = Find<QLineEdit>(w, r.edit);
            edit->setText("7");  // without the focus: the program set it
            QVERIFY(gEvents.empty());
        }
        for (const char* button : {"sbtTranslateOk", "sbtRotateOk", "sbtPolyOk"}) Find<QPushButton>(w, button)->click();
        Find<QPushButton>(w, "sbtClosePoly")->click();
        Find<QAction>(w, "mnuDone")->trigger();
        emit Find<QLineEdit>(w, "txtRotateAngle")->returnPressed();
        QCOMPARE(gEvents, (std::vector<int>{1, 1, 1, 3, 1, 1}));

        Trigger(w, "mnuScale");
        QVERIFY(w.LifeCycle().Pages().Visible(10));
        Find<QLineEdit>(w, "txtScaleX")->setText("2");
        QCOMPARE(Find<QLineEdit>(w, "txtScaleY")->text(), QString("2"));
        Find<QRadioButton>(w, "rbtScaleXy")->click();
        QCOMPARE(Find<QLabel>(w, "lblScaleX")->text(), Lang("311"));
        QVERIFY(!Find<QLineEdit>(w, "txtScaleY")->isHidden() && !Find<QLabel>(w, "lblScaleY")->isHidden());
        Find<QLineEdit>(w, "txtScaleX")->setText("4");
        QCOMPARE(Find<QLineEdit>(w, "txtScaleY")->text(), QString("2"));
        Find<QRadioButton>(w, "rbtScaleUniform")->click();
        QCOMPARE(Find<QLabel>(w, "lblScaleX")->text(), Lang("310"));
        QVERIFY(Find<QLineEdit>(w, "txtScaleY")->isHidden() && Find<QLabel>(w, "lblScaleY")->isHidden());

        Trigger(w, "mnuOffset");
        QVERIFY(w.LifeCycle().Pages().Visible(18));
        Find<QLineEdit>(w, "txtOffsetDist")->setText("1.5");
        QCOMPARE(panels.OffsetDistance(), 1.5f);
        for (const char* inert : {"sbtOffsetOk", "sbtFlipOffset"}) Find<QPushButton>(w, inert)->click();
        QCOMPARE(w.LocalCad().ObjectCount(), 0);
    }

    // The pages of the commands that are chosen but do no work yet: each
    // shows its page, whose values change nothing.
    void inertCommandsShowTheirPagesOnly() {
        Harness h;
        MainWindow& w = h.start();
        struct Row {
            const char* menu;
            int page;
            const char* edit;
        };
        for (const Row r : {Row{"mnuLineTangentAngle", 37, "txtLenTanAng"},
                            {"mnuLineTangentAngle", 37, "txtLinTanAngle"},
                            {"mnuPointGrid", 41, "txtPtGridDx"},
                            {"mnuRotate", 39, "txtRotateAngle"}}) {
            Trigger(w, r.menu);
            QVERIFY2(w.LifeCycle().Pages().Visible(r.page), r.menu);
            Find<QLineEdit>(w, r.edit)->setText("12");
            QVERIFY(!w.View2D().Program().OperationRunning());
        }
        QCOMPARE(w.LocalCad().ObjectCount(), 0);
        QCOMPARE(h.errors, QStringList());
    }
};

QTEST_MAIN(WindowPanelsTest)
#include "WindowPanelsTest.moc"

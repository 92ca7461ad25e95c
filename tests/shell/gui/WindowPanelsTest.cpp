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
#include <QTest>
#include <QToolButton>

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

}  // namespace

class WindowPanelsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InitializeEntityModule(); }

    void drawsALineACircleAndAPolylineFromThePanels() {
        Harness h;
        MainWindow& w = h.start();
        w.View2D().SetSnap(true);  // every click lands on a grid point
        Trigger(w, "mnuLine");
        ClickAt(w, 10, 10);
        ClickAt(w, 50, 10);
        QCOMPARE(CountOf<TLine2D>(w), 1);
        QCOMPARE(h.errors, QStringList());
    }
};

QTEST_MAIN(WindowPanelsTest)
#include "WindowPanelsTest.moc"

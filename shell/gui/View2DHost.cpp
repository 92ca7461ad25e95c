// The 2D view of the main window.
#include "shell/gui/View2DHost.h"

#include "kernel/drawing/QVCmp2D.h"
#include "kernel/entities/TPunto2D.h"
#include "kernel/gui/ViewportWidget.h"
#include "kernel/program/TQVPrg2D.h"
#include "kernel/tasks/QV2DTasks.h"
#include "kernel/view/TQVViewport2D.h"
#include "shell/gui/Application.h"
#include "shell/gui/ScreenCursors.h"

#include <QAction>
#include <QToolBar>
#include <QVBoxLayout>

namespace calvoro {

namespace {

// A placed point takes the drawing's next free ID.
constexpr std::int32_t kPlacedPointId = -1;

QAction* AddAction(QToolBar* bar, const char* name, const QString& text, bool checkable = false) {
    QAction* action = bar->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    action->setCheckable(checkable);
    return action;
}

}  // namespace

View2DHost::View2DHost(TQVCmp2D& drawing, QWidget* container, CursorEvent cursor)
    : QObject(container), drawing_(drawing), program_(std::make_unique<TQVPrg2D>(this)), cursor_(std::move(cursor)) {
    auto* layout = new QVBoxLayout(container);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* bar = new QToolBar(container);
    bar->setObjectName(QStringLiteral("tbrView2D"));
    layout->addWidget(bar);
    widget_ = new ViewportWidget(container);
    widget_->setObjectName(QStringLiteral("VistaGrafica"));
    layout->addWidget(widget_, 1);

    // The main view's look: grey background, navy grid over the objects every
    // 10 units, axes, square pixels, millimetres.
    TQVViewport2D& view = Viewport();
    view.SetCADCmp2D(&drawing_);
    view.SetBackGroundColor(clGray);
    view.SetGridColor(clNavy);
    view.SetGridOnTop(true);
    view.SetGridDeltaX(10.0);
    view.SetGridDeltaY(10.0);
    view.SetShowGrid(true);
    view.SetShowAssi(true);
    view.SetIsMM(true);
    view.SetControlPointsColor(clBlack);
    view.SetAspectRatio(1.0);
    view.ZoomWindow(MakeRect2D(-10.0, -10.0, 290.0, 290.0));

    program_->SetXSnap(10.0);
    program_->SetYSnap(10.0);
    program_->SetViewport(&view);
    program_->SetOnError([this](const std::string& m) { ShowError(m); });
    widget_->SetOnError([this](const std::string& m) { ShowError(m); });
    widget_->SetOnWheel([this](int steps, int, int) {
        for (int i = 0; i < std::abs(steps); ++i) steps > 0 ? Viewport().ZoomIn() : Viewport().ZoomOut();
    });
    // Ctrl with the left button zooms in steps as the mouse travels, Shift
    // with the left button drags the drawing along; the read-out follows the
    // snapped point.
    view.SetOnMouseDown2D([this](TQVViewport2D&, TMouseButton button, TShiftState shift, int x, int y, double, double) {
        if (program_->OperationRunning()) return;
        const bool wasPanning = drag_.PanDragging();
        if (drag_.MouseDown(button, shift, x, y) && !wasPanning) {
            hadCursorBeforePan_ = widget_->testAttribute(Qt::WA_SetCursor);
            cursorBeforePan_ = widget_->cursor();
            widget_->setCursor(ScreenCursor(1));
        }
    });
    view.SetOnMouseUp2D([this](TQVViewport2D&, TMouseButton, TShiftState, int, int, double, double) {
        if (!drag_.PanDragging()) return;
        drag_.EndPan();
        if (hadCursorBeforePan_) widget_->setCursor(cursorBeforePan_);
        else widget_->unsetCursor();
    });
    view.SetOnMouseMove2D([this](TQVViewport2D& sender, TShiftState shift, int x, int y, double, double) {
        if (cursor_) cursor_(program_->GetSnappedPoint());
        const ViewDrag::Step step = drag_.MouseMove(shift, x, y);
        RunGuarded([&] {
            switch (step.action) {
            case ViewDrag::Action::Pan: {
                const TPoint2D to = sender.ScreenToWorld(MakePoint2D(step.toX, step.toY));
                const TPoint2D from = sender.ScreenToWorld(MakePoint2D(step.fromX, step.fromY));
                sender.PanView(from.X - to.X, from.Y - to.Y);
                break;
            }
            case ViewDrag::Action::ZoomIn: sender.ZoomIn(); break;
            case ViewDrag::Action::ZoomOut: sender.ZoomOut(); break;
            case ViewDrag::Action::None: break;
            }
        });
    });

    connect(AddAction(bar, "actZoomWindow", tr("Zoom window")), &QAction::triggered, this,
            &View2DHost::StartZoomWindow);
    connect(AddAction(bar, "actPan", tr("Pan")), &QAction::triggered, this, &View2DHost::StartPan);
    connect(AddAction(bar, "actZoomAll", tr("Zoom all")), &QAction::triggered, this, &View2DHost::ZoomToDrawing);
    QAction* grid = AddAction(bar, "actGrid", tr("Grid"), true);
    grid->setChecked(true);
    connect(grid, &QAction::toggled, this, &View2DHost::SetGridShown);
    connect(AddAction(bar, "actSnap", tr("Snap"), true), &QAction::toggled, this, &View2DHost::SetSnap);
    connect(AddAction(bar, "actPoint", tr("Point")), &QAction::triggered, this, &View2DHost::StartPlacePoint);
}

View2DHost::~View2DHost() {
    // The program leaves the viewport while both still exist.
    program_.reset();
}

TQVViewport2D& View2DHost::Viewport() const {
    return widget_->Viewport();
}

void View2DHost::ShowError(const std::string& message) {
    Application::reportError(QString::fromStdString(message));
}

void View2DHost::StartZoomWindow() {
    RunGuarded([this] { program_->PauseTask(TCADPrgZoomArea::Class); });
    widget_->setFocus();
}

void View2DHost::StartPan() {
    RunGuarded([this] { program_->PauseTask(TCADPrgRealTimePan::Class); });
    widget_->setFocus();
}

void View2DHost::ZoomToDrawing() {
    RunGuarded([this] { Viewport().ZoomToDrawing(); });
}

void View2DHost::SetGridShown(bool shown) {
    RunGuarded([this, shown] { Viewport().SetShowGrid(shown); });
}

void View2DHost::SetAxesShown(bool shown) {
    RunGuarded([this, shown] { Viewport().SetShowAssi(shown); });
}

void View2DHost::SetSnap(bool on) {
    program_->SetUseSnap(on);
}

void View2DHost::StartPlacePoint() {
    RunGuarded([this] {
        auto point = std::make_unique<TPunto2D>(kPlacedPointId, MakePoint2D(0.0, 0.0));
        program_->StartOperation(TQV2D_DrawSizedPrimitive::Class,
                                 std::make_unique<TQV2D_DrawSizedPrimitiveParam>(nullptr, std::move(point), 0, false));
    });
    widget_->setFocus();
}

void View2DHost::SetViewCursor(ViewCursor shape) {
    widget_->setCursor(ScreenCursor(static_cast<int>(shape)));
}

}  // namespace calvoro

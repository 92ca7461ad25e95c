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
#include <QMetaMethod>
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
    // The strip takes the window's colour, never the drawing's background.
    bar->setAutoFillBackground(true);
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
    StartWindow(true);

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

    // The design texts; the language file gives the ones shown.
    connect(AddAction(bar, "actZoomWindow", QStringLiteral("Zoom window")), &QAction::triggered, this,
            &View2DHost::StartZoomWindow);
    connect(AddAction(bar, "actPan", QStringLiteral("Pan")), &QAction::triggered, this, &View2DHost::StartPan);
    connect(AddAction(bar, "actZoomAll", QStringLiteral("Zoom all")), &QAction::triggered, this,
            &View2DHost::ZoomToDrawing);
    gridAction_ = AddAction(bar, "actGrid", QStringLiteral("Grid"), true);
    gridAction_->setChecked(true);
    // Without a keeper of the state (a view on its own) the buttons act on the view directly.
    connect(gridAction_, &QAction::triggered, this, [this](bool on) {
        if (isSignalConnected(QMetaMethod::fromSignal(&View2DHost::gridClicked)))
            emit gridClicked(on);
        else
            SetGridShown(on);
    });
    snapAction_ = AddAction(bar, "actSnap", QStringLiteral("Snap"), true);
    connect(snapAction_, &QAction::triggered, this, [this](bool on) {
        if (isSignalConnected(QMetaMethod::fromSignal(&View2DHost::snapClicked)))
            emit snapClicked(on);
        else
            SetSnap(on);
    });
    connect(AddAction(bar, "actPoint", QStringLiteral("Point")), &QAction::triggered, this,
            &View2DHost::StartPlacePoint);
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
    gridAction_->setChecked(shown);
    RunGuarded([this, shown] { Viewport().SetShowGrid(shown); });
}

void View2DHost::SetAxesShown(bool shown) {
    RunGuarded([this, shown] { Viewport().SetShowAssi(shown); });
}

void View2DHost::SetSnap(bool on) {
    snapAction_->setChecked(on);
    program_->SetUseSnap(on);
}

void View2DHost::SetColors(TColor background, TColor grid) {
    RunGuarded([&] {
        Viewport().SetBackGroundColor(background);
        Viewport().SetGridColor(grid);
    });
}

void View2DHost::SetUnits(bool mm, const std::string& scaleLabel) {
    RunGuarded([&] {
        TQVViewport2D& view = Viewport();
        if (view.IsMM() == mm && view.UnitLabel() == scaleLabel) return;
        view.SetIsMM(mm);
        view.SetUnitLabel(scaleLabel);
        view.Repaint();
    });
}

void View2DHost::ApplyGrid(const GridValues& values) {
    RunGuarded([&] {
        TQVViewport2D& view = Viewport();
        view.SetGridDeltaX(values.GridDeltaX);
        view.SetGridDeltaY(values.GridDeltaY);
        view.SetGridSubX(values.GridSubX);
        view.SetGridSubY(values.GridSubY);
    });
    program_->SetXSnap(values.XSnap);
    program_->SetYSnap(values.YSnap);
    SetSnap(values.UseSnap);
    SetGridShown(values.ShowGrid);
}

void View2DHost::StartWindow(bool mm) {
    RunGuarded([mm, this] {
        Viewport().ZoomWindow(mm ? MakeRect2D(-10.0, -10.0, 290.0, 290.0) : MakeRect2D(-0.4, -0.4, 11.5, 11.5));
    });
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

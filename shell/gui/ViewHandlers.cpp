// The main window's answers to its views.
#include "shell/gui/ViewHandlers.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QShortcut>
#include <QToolBar>
#include <QToolButton>

#include "kernel/drawing/QVCmp2D.h"
#include "kernel/entities/TJustifiedVectText2D.h"
#include "kernel/entities/TPunto2D.h"
#include "kernel/geometry/Matrix2D.h"
#include "kernel/gui/ViewportWidget.h"
#include "kernel/program/TQVPrg2D.h"
#include "kernel/tasks/QV2DTasks.h"
#include "kernel/view/TQVViewport2D.h"
#include "shell/app/MainState.h"
#include "shell/wizard/Job.h"
#include "shell/app/Settings.h"
#include "shell/app/ViewReadout.h"
#include "shell/app/WorkBox.h"
#include "shell/gui/Application.h"
#include "shell/gui/DialogServices.h"
#include "shell/gui/GridCombos.h"
#include "shell/gui/CommandActions.h"
#include "shell/gui/MainLifeCycle.h"
#include "shell/gui/MainWindowUi.h"
#include "shell/gui/PictureSlot.h"
#include "shell/gui/ScreenCursors.h"
#include "shell/gui/View2DHost.h"
#include "shell/gui/View3D.h"
#include "shell/lang/UnitLang.h"

namespace calvoro {

namespace {

constexpr double kZoomIn3D = 1.5;
constexpr double kZoomOut3D = 0.5;
// How near a double-click must come to a text, in pixels.
constexpr int kTextAperture = 5;
// The picture page, where the measuring and grid pages return to.
constexpr int kCrossCursor = 2;

QString Lang(const char* number) {
    return QString::fromStdString(LangString(number));
}

}  // namespace

ViewHandlers::ViewHandlers(MainWindowUi& ui, MainState& state) : ui_(ui), state_(state) {}

bool ViewHandlers::PanActive() const {
    return state_.ActiveCommand.PanActive();
}

ViewHandlers::~ViewHandlers() {
    // The program outlives nothing it was given here.
    if (view2d_) {
        TQVPrg2D& program = view2d_->Program();
        program.SetOnDescriptionChanged({});
        program.SetOnEndOperation({});
    }
}

void ViewHandlers::Attach(View2DHost& view2d, View3D& view3d, MainLifeCycle& life, TQVCmp2D& cad,
                          DialogServices& dialogs, GridHost& grid) {
    view2d_ = &view2d;
    view3d_ = &view3d;
    life_ = &life;
    cad_ = &cad;
    dialogs_ = &dialogs;
    // Done and Cancel need a running task; a zoom window is the 2D view's.
    const auto running = [this] { return view2d_->Program().OperationRunning(); };
    life.Actions().SetAvailability(Lockable::Done, running);
    life.Actions().SetAvailability(Lockable::CancelTask, running);
    life.Actions().SetAvailability(Lockable::ZoomWindow, [this] { return !state_.View3D; });

    const std::pair<QToolButton*, QAction*> commands[] = {
        {ui_.sbtZoomIn, ui_.mnuZoomIn}, {ui_.sbtZoomBack, ui_.mnuZoomOut},  {ui_.sbtZoomWin, ui_.mnuZoomWindow},
        {ui_.sbtPan, ui_.mnuPan},       {ui_.sbtAutozoom, ui_.mnuAutozoom}, {ui_.btnCancel, ui_.mnuCancel},
    };
    void (ViewHandlers::*handlers[])() = {&ViewHandlers::ZoomIn, &ViewHandlers::ZoomOut,  &ViewHandlers::ZoomWindow,
                                          &ViewHandlers::Pan,    &ViewHandlers::Autozoom, &ViewHandlers::Cancel};
    for (std::size_t i = 0; i < std::size(commands); ++i) {
        const auto handler = handlers[i];
        connect(commands[i].first, &QToolButton::clicked, this, [this, handler] { (this->*handler)(); });
        connect(commands[i].second, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    }
    connect(ui_.mnuDone, &QAction::triggered, this, &ViewHandlers::Done);
    // The view strip's zoom and pan are the same commands as the tool bar's,
    // so their end is handled the same way.
    const std::pair<const char*, void (ViewHandlers::*)()> strip[] = {
        {"actZoomWindow", &ViewHandlers::ZoomWindow}, {"actPan", &ViewHandlers::Pan},
        {"actZoomAll", &ViewHandlers::Autozoom}};
    for (const auto& [name, handler] : strip) {
        QAction* action = ui_.pnlVistaGrafica->findChild<QAction*>(QString::fromLatin1(name));
        if (!action) continue;
        QObject::disconnect(action, &QAction::triggered, &view2d, nullptr);
        connect(action, &QAction::triggered, this, [this, handler = handler] { (this->*handler)(); });
    }
    connect(ui_.LocalPopUp, &QMenu::aboutToShow, this, &ViewHandlers::PopupOpening);
    // Done also stands in the Draw menu.
    if (ui_.mnuCad)
        connect(ui_.mnuCad, &QMenu::aboutToShow, this,
                [this] { life_->Actions().Refresh(); });
    for (QWidget* view : {static_cast<QWidget*>(&view2d.Widget()), view3d.widget()}) {
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(view, &QWidget::customContextMenuRequested, this,
                [this, view](const QPoint& at) { ShowPopup(view->mapToGlobal(at)); });
    }
    // Esc cancels the running operation wherever the focus is in the window;
    // Enter accepts it only from the view, so the edits keep their own Enter.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), ui_.form);
    connect(escape, &QShortcut::activated, this, &ViewHandlers::KeyEscape);
    view2d.Widget().installEventFilter(this);

    TQVPrg2D& program = view2d.Program();
    program.SetOnDescriptionChanged([this](TCADState& sender) { DescriptionChanged(sender.Description()); });
    program.SetOnEndOperation([this](TCADPrg&, const StateClass*, TCADPrgParam*) { EndOperation(); });

    snap_ = std::make_unique<GridCoupling>(grid);
    ShowSnap();
    // The grid dialog may have changed the snap since the page was last seen.
    ui_.pages[page::kSnap]->installEventFilter(this);
    BindGridPair(this, *snap_, ui_.nol_cboXSnap, ui_.nol_cboYSnap, ui_.chkSnap, GridField::XSnap);
    connect(ui_.SpeedButton9, &QToolButton::clicked, this, &ViewHandlers::ClosePage);
    // The snap page is opened beside the work and gives it back when closed.
    connect(ui_.SpeedButton11, &QToolButton::clicked, this, [this] { life_->CloseAside(); });
}

void ViewHandlers::ShowSnap() {
    const GridValues values = snap_->Values();
    ShowSpacing(ui_.nol_cboXSnap, values.XSnap);
    ShowSpacing(ui_.nol_cboYSnap, values.YSnap);
}

void ViewHandlers::CursorMoved(const TPoint2D& point) {
    std::string text = CursorText(point.X, point.Y, state_.settings.Unit);
    if (state_.ActiveCommand.Is(kCommandZNoCutPick) && state_.job)
        text += DepthAt(point.X, point.Y, state_.job->reliefValues(), state_.job->info(),
                        state_.job->heightMap().get(), state_.settings.Unit, LangString("752"))
                    .text;
    if (ui_.nol_pnlStatus1 != nullptr) ui_.nol_pnlStatus1->setText(QString::fromStdString(text));
}

void ViewHandlers::ZoomIn() {
    if (state_.View3D) {
        view3d_->zoomBy(kZoomIn3D);
        return;
    }
    RunGuarded([this] { view2d_->Viewport().ZoomIn(); });
}

void ViewHandlers::ZoomOut() {
    if (state_.View3D) {
        view3d_->zoomBy(kZoomOut3D);
        return;
    }
    RunGuarded([this] { view2d_->Viewport().ZoomOut(); });
}

void ViewHandlers::ZoomWindow() {
    // The 3D view has no zoom window: the button only comes up again.
    if (state_.View3D) {
        ui_.sbtZoomWin->setChecked(false);
        return;
    }
    state_.ActiveCommand.Start(kCommandZoomWindow);
    ui_.sbtZoomWin->setChecked(true);
    view2d_->StartZoomWindow();
    FollowViewTask();
}

void ViewHandlers::Pan() {
    state_.ActiveCommand.Start(kCommandPan);
    state_.ActiveCommand.SetPanActive(true);
    ui_.sbtPan->setChecked(true);
    view2d_->SetViewCursor(ViewCursor::Pan);
    if (state_.View3D) view3d_->setPanMode(true);
    view2d_->StartPan();
    FollowViewTask();
}

void ViewHandlers::Autozoom() {
    if (state_.View3D) {
        view3d_->zoomToWorkBox();
        return;
    }
    RunGuarded([this] {
        if (ncView2D_ && state_.job)
            view2d_->Viewport().ZoomWindow(
                WorkBoxWindow(ComputeWorkBox(state_.job->info(), state_.job->reliefValues())));
        else
            view2d_->ZoomToDrawing();
    });
}

void ViewHandlers::RestoreViewCursor() {
    // The view's own cursor is the cross, shown while the mouse is over it.
    QWidget& view = view2d_->Widget();
    if (view.underMouse())
        view.setCursor(ScreenCursor(kCrossCursor));
    else
        view.unsetCursor();
}

void ViewHandlers::EndPan() {
    RestoreViewCursor();
    ui_.sbtPan->setChecked(false);
    state_.ActiveCommand.SetPanActive(false);
    view3d_->setPanMode(false);
}

void ViewHandlers::LeavePan() {
    if (!state_.ActiveCommand.PanActive()) return;
    if (state_.View3D) view3d_->cancelPan();
    EndPan();
}

void ViewHandlers::ZncCancelled() {
    state_.ActiveCommand.Clear();
    if (zncCancelled_) zncCancelled_();
}

void ViewHandlers::Cancel() {
    if (state_.ActiveCommand.Is(kCommandPan)) LeavePan();
    if (state_.ActiveCommand.Is(kCommandZNoCutPick)) ZncCancelled();
    state_.ActiveCommand.Start(kCommandCancelled);
    RunGuarded([this] {
        view2d_->Program().PostCommandEvent(kCommandCancel);
        view2d_->Program().StopOperation();
    });
    FollowViewTask();
    if (commandLeft_) commandLeft_();
}

void ViewHandlers::Done() {
    RunGuarded([this] { view2d_->Program().PostCommandEvent(kCommandAccept); });
}

void ViewHandlers::KeyEscape() {
    if (cancelWork_) cancelWork_();
    if (state_.ActiveCommand.Is(kCommandPan)) LeavePan();
    // The pick is over before the program is told, so its end finds no pick
    // left to finish.
    if (state_.ActiveCommand.Is(kCommandZNoCutPick)) ZncCancelled();
    RunGuarded([this] {
        view2d_->Program().PostCommandEvent(kCommandCancel);
        view2d_->Program().StopOperation();
    });
    FollowViewTask();
    if (commandLeft_) commandLeft_();
}

void ViewHandlers::KeyEnter() {
    Done();
}

bool ViewHandlers::ViewTaskRunning() const {
    const TQVPrg2D& program = view2d_->Program();
    if (program.OperationSuspended()) return true;
    if (!program.OperationRunning()) return false;
    const StateClass* operation = program.OperationClass();
    return operation == &TCADPrgZoomArea::Class || operation == &TCADPrgRealTimePan::Class;
}

void ViewHandlers::FollowViewTask() {
    life_->SetLock(LockReason::ViewTask, ViewTaskRunning());
}

void ViewHandlers::PopupOpening() {
    // The window's locks decide the items, from the task running now.
    FollowViewTask();
    life_->Actions().Refresh();
}

void ViewHandlers::ShowPopup(const QPoint& globalPosition) {
    // popup() rather than exec(): the window's event loop stays the only one.
    ui_.LocalPopUp->popup(globalPosition);
}

void ViewHandlers::DescriptionChanged(const std::string& text) {
    // The running task's prompt takes the status line; when the task is done
    // the line shows again what it showed before, unless something else has
    // written there meanwhile.
    const QString prompt = QString::fromStdString(text);
    const bool ours = !promptShown_.isEmpty() && ui_.pnlStatus2->text() == promptShown_;
    if (prompt.isEmpty()) {
        if (ours) life_->Messaggio(statusBeforePrompt_);
        promptShown_.clear();
        return;
    }
    if (!ours) statusBeforePrompt_ = ui_.pnlStatus2->text();
    life_->Messaggio(prompt);
    promptShown_ = prompt;
}

void ViewHandlers::EndOperation() {
    // The program still counts the ending operation as running: whatever it
    // was, no view task runs after it (a paused command resumes).
    life_->SetLock(LockReason::ViewTask, false);
    RunningCommand& command = state_.ActiveCommand;
    if (command.DrawingCommand() || command.FromPanels()) {
        // Only what a CAD task took is given back; a computation or a
        // simulation keeps its locks.
        life_->AbilitaPnl(true);
        view2d_->SetObjectSnapActive(false);
        RestoreViewCursor();
        // As after Esc: the job's steps show again where the command hid them.
        if (commandLeft_) commandLeft_();
    } else if (command.Is(kCommandPan)) {
        EndPan();
        command.Clear();
    } else if (command.Is(kCommandZoomWindow)) {
        ui_.sbtZoomWin->setChecked(false);
    } else if (command.Is(kCommandZNoCutPick)) {
        command.Clear();
        // The pick leaves its point in the drawing; a pick left early leaves none.
        auto* point = dynamic_cast<TPunto2D*>(cad_->FindObject(kZncPointId));
        if (point == nullptr || point->Points().Count() < 1) {
            ZncCancelled();
            return;
        }
        const TPoint2D at = CartesianPoint(PointTimesMatrix2D(point->Points().Points()[0], point->GetObjectMatrix()));
        if (zncPicked_) zncPicked_(at.X, at.Y);
    }
}

void ViewHandlers::OnSelectedObj(TObject2D* object) {
    if (object == nullptr) return;
    RunGuarded([this, object] { view2d_->Viewport().DrawRubberObject2D(*object, true); });
}

void ViewHandlers::DoubleClicked() {
    TQVPrg2D& program = view2d_->Program();
    // A double-click within a running command is that command's.
    if (program.OperationRunning()) return;
    int hitCode = 0;
    auto* text = dynamic_cast<TJustifiedVectText2D*>(
        view2d_->Viewport().HitObjectAt(program.GetCurrentPoint(), kTextAperture, hitCode, true));
    if (text == nullptr) return;
    QString value = QString::fromStdString(text->Text());
    if (!dialogs_->getText(ui_.form, Lang("1080"), Lang("1081"), value)) return;
    RunGuarded([&] {
        text->SetVectText(value.toStdString());
        cad_->RepaintViewports();
    });
}

void ViewHandlers::InfoLinea(const TPoint2D& p1, const TPoint2D& p2) {
    const SegmentMeasure m = MeasureSegment(p1, p2);
    const auto show = [this](QLabel* label, double value) {
        label->setText(QString::fromStdString(FormatDisplayNumber(static_cast<float>(value), state_.settings.Unit)));
    };
    show(ui_.nol_stxLineaDeltaX, m.dx);
    show(ui_.nol_stxLineaDeltaY, m.dy);
    show(ui_.nol_stxLungLinea, m.length);
    show(ui_.nol_stxAngoloLinea, m.angle);
}

void ViewHandlers::InfoDistanza(const TPoint2D& p1, const TPoint2D& p2) {
    const SegmentMeasure m = MeasureSegment(p1, p2);
    const TPoint2D a = CartesianPoint(p1);
    const TPoint2D b = CartesianPoint(p2);
    const auto show = [this](QLineEdit* edit, double value) {
        edit->setText(QString::fromStdString(FormatDisplayNumber(static_cast<float>(value), state_.settings.Unit)));
    };
    show(ui_.txtDistX1, a.X);
    show(ui_.txtDistY1, a.Y);
    show(ui_.txtDistX2, b.X);
    show(ui_.txtDistY2, b.Y);
    show(ui_.txtDistDx, m.dx);
    show(ui_.txtDistDy, m.dy);
    show(ui_.txtDistLen, m.length);
    show(ui_.txtDistAngle, m.angle);
}

void ViewHandlers::ClosePage() {
    life_->VisPagina(page::kDistance);
    life_->Messaggio(QString());
}

void ViewHandlers::SetZncPickHooks(std::function<void(double x, double y)> picked, std::function<void()> cancelled) {
    zncPicked_ = std::move(picked);
    zncCancelled_ = std::move(cancelled);
}

bool ViewHandlers::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_.pages[page::kSnap] && event->type() == QEvent::Show) ShowSnap();
    if (view2d_ && watched == &view2d_->Widget()) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                KeyEnter();
                return true;
            }
            if (key == Qt::Key_Escape) {
                KeyEscape();
                return true;
            }
        } else if (event->type() == QEvent::Enter || event->type() == QEvent::Leave) {
            // The pan keeps its hand over the view and beyond.
            if (!PanActive()) RestoreViewCursor();
        } else if (event->type() == QEvent::MouseButtonDblClick) {
            // After the view has taken the click, so the current point is the one clicked.
            QMetaObject::invokeMethod(this, &ViewHandlers::DoubleClicked, Qt::QueuedConnection);
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace calvoro

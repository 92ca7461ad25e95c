// The main window's answers to its views: the cursor read-out on the status
// panel (with the relief depth under the cursor while a Z point is picked),
// the zoom and pan buttons and their twins in the views' right-click menu for
// the 2D and the 3D view, Esc and Enter, the cancel button, the reactions to
// the interaction program's operations, the measuring read-outs, the
// highlighting of picked objects, the double-click text edit and the snap
// boxes beside the view.
#pragma once

#include <QObject>
#include <QPoint>
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "kernel/geometry/Point2D.h"
#include "shell/app/CommandCodes.h"
#include "shell/app/GridCoupling.h"

namespace calvoro {

class DialogServices;
class MainLifeCycle;
class TObject2D;
class TQVCmp2D;
class View2DHost;
class View3D;
struct MainState;
struct MainWindowUi;

class ViewHandlers : public QObject {
    Q_OBJECT
public:
    ViewHandlers(MainWindowUi& ui, MainState& state);
    ~ViewHandlers() override;

    // Connects the buttons, the menu, the keys, the views and the
    // interaction program's events. `grid` is where the snap values live.
    void Attach(View2DHost& view2d, View3D& view3d, MainLifeCycle& life, TQVCmp2D& cad, DialogServices& dialogs,
                GridHost& grid);

    // The snapped point under the cursor moved.
    void CursorMoved(const TPoint2D& point);

    // The zoom and pan commands, in the view shown.
    void ZoomIn();      // sbtZoomIn, mnuZoomIn
    void ZoomOut();     // sbtZoomBack, mnuZoomOut
    void ZoomWindow();  // sbtZoomWin, mnuZoomWindow
    void Pan();         // sbtPan, mnuPan
    void Autozoom();    // sbtAutozoom, mnuAutozoom
    void Cancel();      // btnCancel, mnuCancel
    void Done();        // mnuDone
    void KeyEscape();
    void KeyEnter();
    // The right-click menu is about to open over the view.
    void PopupOpening();
    void ShowPopup(const QPoint& globalPosition);

    // The interaction program's events: the prompt of the running task goes
    // to the status line; the end of an operation is told apart by the
    // command that started it. Neither touches the measuring read-outs.
    void DescriptionChanged(const std::string& text);
    void EndOperation();

    // The select tasks call it for every object picked.
    void OnSelectedObj(TObject2D* object);
    // A double-click at the current point: a vector text under it is edited.
    void DoubleClicked();

    void InfoLinea(const TPoint2D& p1, const TPoint2D& p2);
    void InfoDistanza(const TPoint2D& p1, const TPoint2D& p2);
    // SpeedButton9: the picture page again, no status text.
    void ClosePage();

    // The end of the Z no-cut pick: `picked` with the point placed, or
    // `cancelled` when the pick was left without one.
    void SetZncPickHooks(std::function<void(double x, double y)> picked, std::function<void()> cancelled);
    // Esc, Cancel or its own end has left whatever command of the panels ran.
    void SetCommandLeftHook(std::function<void()> left) { commandLeft_ = std::move(left); }
    // Esc stops a running computation, as its Cancel button does.
    void SetCancelWorkHook(std::function<void()> cancel) { cancelWork_ = std::move(cancel); }
    // While the NC program is shown in the 2D view, the autozoom shows the
    // work box rather than the drawing.
    void SetNcView2D(bool on) { ncView2D_ = on; }
    bool PanActive() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void EndPan();
    // Esc or Cancel during the pan from its button: the 3D view goes back.
    void LeavePan();
    void RestoreViewCursor();
    void ShowSnap();
    void ZncCancelled();
    bool ViewTaskRunning() const;
    // The zooms wait while a view task runs; told at every start and end.
    void FollowViewTask();

    MainWindowUi& ui_;
    MainState& state_;
    View2DHost* view2d_ = nullptr;
    View3D* view3d_ = nullptr;
    MainLifeCycle* life_ = nullptr;
    TQVCmp2D* cad_ = nullptr;
    DialogServices* dialogs_ = nullptr;
    std::unique_ptr<GridCoupling> snap_;
    std::function<void(double, double)> zncPicked_;
    std::function<void()> zncCancelled_;
    std::function<void()> commandLeft_;
    std::function<void()> cancelWork_;
    bool ncView2D_ = false;
    QString promptShown_;         // the prompt the status line shows, if any
    QString statusBeforePrompt_;  // what it showed before the prompt
};

}  // namespace calvoro

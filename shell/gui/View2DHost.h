// The 2D view of the main window: the viewport window, its interaction
// program and the host side of the kernel's coupling (object snap switches,
// crop read-out, cursors). It installs itself into a container widget that
// the main window provides, so that the window keeps no view code of its own.
// Besides the mouse (wheel zoom, pan, zoom window, snapped points) it offers
// the actions a tool bar shows.
#pragma once

#include "kernel/draw/Color.h"
#include "kernel/geometry/Point2D.h"
#include "kernel/program/KernelHost.h"
#include "shell/app/GridCoupling.h"
#include "shell/app/ViewReadout.h"

#include <QCursor>
#include <QObject>

#include <functional>
#include <memory>
#include <string>

class QAction;
class QToolBar;
class QWidget;

namespace calvoro {

class TQVCmp2D;
class TQVPrg2D;
class TQVViewport2D;
class ViewportWidget;

class View2DHost : public QObject, public KernelHost {
    Q_OBJECT
public:
    // Where the snapped point under the cursor goes (the status read-out).
    using CursorEvent = std::function<void(const TPoint2D& point)>;

    // Lays a tool bar and the viewport window into container (which gets a
    // layout) and shows the drawing.
    View2DHost(TQVCmp2D& drawing, QWidget* container, CursorEvent cursor = {});
    ~View2DHost() override;

    ViewportWidget& Widget() const { return *widget_; }
    TQVViewport2D& Viewport() const;
    TQVPrg2D& Program() const { return *program_; }

    void StartZoomWindow();
    void StartPan();
    void ZoomToDrawing();
    void SetGridShown(bool shown);
    void SetAxesShown(bool shown);
    void SetSnap(bool on);
    // What the settings give the view: its colours, the unit of the scale
    // bar, and the grid and snap values with their switches. The strip's Grid
    // and Snap buttons only show the state; a click on them is reported
    // through gridClicked and snapClicked to whoever keeps that state.
    void SetColors(TColor background, TColor grid);
    void SetUnits(bool mm, const std::string& scaleLabel);
    void ApplyGrid(const GridValues& values);
    // The window the view starts with: a sheet of 280 mm or of 11 inches.
    void StartWindow(bool mm);
    // Places a point entity at the snapped position of the next click.
    void StartPlacePoint();

    // The crop's rectangle task: both corners on every move of the second
    // (complete false) and once more when it is picked (complete true).
    using CutRectangleEvent = std::function<void(const TPoint2D& corner1, const TPoint2D& corner2, bool complete)>;
    void SetCutRectangleHandler(CutRectangleEvent handler) { cutRectangle_ = std::move(handler); }
    // A click has started another rectangle: the one picked before no longer counts.
    void SetCutRestartHandler(std::function<void()> handler) { cutRestart_ = std::move(handler); }

    // KernelHost.
    void SetCutRectangleReady(bool ready) override {
        if (!ready && cutRestart_) cutRestart_();
    }
    void InfoCut(const TPoint2D& corner1, const TPoint2D& corner2) override {
        cutCorner1_ = corner1;
        cutCorner2_ = corner2;
        if (cutRectangle_) cutRectangle_(cutCorner1_, cutCorner2_, false);
    }
    void EnableCutSelection() override {
        if (cutRectangle_) cutRectangle_(cutCorner1_, cutCorner2_, true);
    }
    bool ObjectSnapActive() const override { return objectSnapActive_; }
    void SetObjectSnapActive(bool active) override { objectSnapActive_ = active; }
    void SetViewCursor(ViewCursor shape) override;

signals:
    void gridClicked(bool shown);
    void snapClicked(bool on);

private:
    void ShowError(const std::string& message);

    TQVCmp2D& drawing_;
    ViewportWidget* widget_ = nullptr;
    std::unique_ptr<TQVPrg2D> program_;
    CursorEvent cursor_;
    ViewDrag drag_;
    // The view's own cursor while a Shift-drag shows the pan cursor.
    bool hadCursorBeforePan_ = false;
    QCursor cursorBeforePan_;
    bool objectSnapActive_ = false;
    QAction* gridAction_ = nullptr;
    QAction* snapAction_ = nullptr;
    CutRectangleEvent cutRectangle_;
    std::function<void()> cutRestart_;
    TPoint2D cutCorner1_, cutCorner2_;
};

}  // namespace calvoro

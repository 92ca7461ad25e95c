// The interaction program of a 2D viewport: turns pixels into world points,
// keeps the current point the tasks read, snaps points to the grid and to the
// characteristic points of objects, lets the host filter mouse input, and
// draws an optional full-size cursor cross in XOR.
#pragma once

#include "kernel/program/KernelHost.h"
#include "kernel/program/TCADPrg.h"

namespace calvoro {

class TQVViewport2D;

class TQVPrg2D : public TCADPrg {
public:
    using MouseButtonFilterEvent = std::function<void(TQVPrg2D& sender, TCADState* state, int x, int y,
                                                      TPoint2D& currentPoint, TMouseButton button)>;
    using MouseMoveFilterEvent =
        std::function<void(TQVPrg2D& sender, TCADState* state, int x, int y, TPoint2D& currentPoint)>;
    using SnapFilterEvent =
        std::function<void(TQVPrg2D& sender, TCADState* state, TPoint2D& point, const TPoint2D& referencePoint)>;

    // The host answers the object snap switches and takes the cursor shapes;
    // none means no object snap. Grid snap spacings start at 10.
    explicit TQVPrg2D(KernelHost* host = nullptr);
    ~TQVPrg2D() override;

    KernelHost* Host() const { return host_; }
    void SetHost(KernelHost* host) { host_ = host; }
    TQVViewport2D* Viewport2D() const;
    void SetViewport2D(TQVViewport2D* viewport);

    TPoint2D GetCurrentPoint() const override { return currentPoint_; }
    // Stored made cartesian.
    void SetCurrentPoint(const TPoint2D& p) override;
    // The current point snapped to the grid (with UseSnap), then to objects
    // (with the host's object snap), then through SnapFilter.
    TPoint2D GetSnappedPoint();
    // Moves p to a characteristic point of the object under it, by the host's
    // object snap mode, and sets the cursor shape.
    void ObjectSnap(TPoint2D& p);
    const TPoint2D& ReferencePoint() const { return referencePoint_; }
    void SetReferencePoint(const TPoint2D& p) { referencePoint_ = p; }
    const TPoint2D& CursorPoint() const { return cursorPoint_; }

    // The cross is an XOR pair: drawn where it is not shown, erased where it is.
    void DrawCursor() override;
    void EraseCursor() override;
    void CursorWiped() override { crossShown_ = false; }
    void DrawCursorCross(const TPoint2D& p);

    void SetMouseButtonFilter(MouseButtonFilterEvent filter) { mouseButtonFilter_ = std::move(filter); }
    void SetMouseMoveFilter(MouseMoveFilterEvent filter) { mouseMoveFilter_ = std::move(filter); }
    void SetSnapFilter(SnapFilterEvent filter) { snapFilter_ = std::move(filter); }

protected:
    bool MouseMoveHandler(TShiftState shift, int& x, int& y) override;
    bool MouseDownHandler(TMouseButton button, TShiftState shift, int& x, int& y) override;
    bool MouseUpHandler(TMouseButton button, TShiftState shift, int& x, int& y) override;

private:
    bool CanDrawCursor() const;
    void SetCursorShape(ViewCursor shape);

    KernelHost* host_;
    TPoint2D currentPoint_;
    TPoint2D cursorPoint_{0.0, 0.0, 1.0};
    TPoint2D referencePoint_{100000000.0, 100000000.0, 1.0};
    bool crossShown_ = false;
    MouseButtonFilterEvent mouseButtonFilter_;
    MouseMoveFilterEvent mouseMoveFilter_;
    SnapFilterEvent snapFilter_;
};

}  // namespace calvoro

// The viewport core: shows a drawing in a window of pixels. It keeps the world
// box it shows (the visual rect) and the matrices between world and pixels,
// draws grid, axes and objects into an offscreen image and copies that image
// to the screen image, on which rubber bands and marks are drawn in XOR. Over
// the drawing lies an overlay of marks that are no part of it (the moves of a
// simulated program), drawn after the drawing at every redraw. The window
// around it (kernel/gui) only paints the screen image and forwards its size
// and input; a window expose never counts as a repaint of the view.
//
// TQVViewport2D adds the drawing of 2D objects, picking and 2D mouse events.
#pragma once

#include "kernel/draw/Canvas.h"
#include "kernel/draw/Color.h"
#include "kernel/draw/DecorativeCanvas.h"
#include "kernel/drawing/DrawingViewport.h"
#include "kernel/geometry/Matrix2D.h"
#include "kernel/geometry/PixelTypes.h"
#include "kernel/geometry/Rect2D.h"
#include "kernel/view/ViewOverlay.h"
#include "kernel/view/ViewSurface.h"
#include "kernel/view/ViewportInputHook.h"

#include <string>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace calvoro {

class TQVCmp;
class TGraphicObject;
class TGraphicObjList;
class TObject2D;

class TQVViewport : public DrawingViewport {
public:
    using NotifyEvent = std::function<void(TQVViewport& sender)>;
    // Clears the area (world units) of the offscreen canvas in place of the
    // viewport's own fill with the background colour.
    using ClearCanvasEvent =
        std::function<void(TQVViewport& sender, Canvas& canvas, TColor background, const TRect2D& area)>;
    // Told after pixels of the screen image changed, so the window shows them.
    using ScreenChangedEvent = std::function<void(const TPixelRect& area)>;

    // Both surfaces are resized with the view; the view starts 50 x 50.
    TQVViewport(std::unique_ptr<ViewSurface> offscreen, std::unique_ptr<ViewSurface> screen);
    ~TQVViewport() override;
    TQVViewport(const TQVViewport&) = delete;
    TQVViewport& operator=(const TQVViewport&) = delete;

    TQVCmp* CADCmp() const { return drawing_; }
    // Leaves the old drawing's viewports and joins the new one's.
    virtual void SetCADCmp(TQVCmp* drawing);

    // Mapping between world units and pixels.
    const TRect2D& VisualRect() const { return visualRect_; }
    TMatrix2D GetViewMatrix() const;
    TMatrix2D GetInverseViewMatrix() const;
    // The world size of one pixel: (|inverse[0][0]|, |inverse[1][1]|, 1).
    TPoint2D GetPixelSize() const;
    // The world width of that many pixels.
    double GetAperture(int pixels) const { return GetPixelSize().X * pixels; }
    TPoint2D ScreenToWorld(const TPoint2D& p) const;
    // Made cartesian.
    TPoint2D WorldToScreen(const TPoint2D& p) const;
    TPixelPoint WorldToPixel(const TPoint2D& p) const;
    virtual TMatrix2D BuildViewTransform(TRect2D& visual, const TPixelRect& client, double aspectRatio);
    virtual TMatrix2D BuildMapping(const TRect2D& world, const TPixelRect& pixels, int mode);
    TPixelRect ClientRect() const { return TPixelRect{0, 0, width_, height_}; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    // Zoom and pan. A window with no width or height is refused; corners in
    // any order are accepted.
    void ZoomWindow(const TRect2D& rect);
    void UpdateViewportTransform();
    void ZoomIn();
    void ZoomOut();
    void PanView(double deltaX, double deltaY);
    // Real scale on a device whose pixels measure mmPerPixelX by mmPerPixelY
    // millimetres, times fx and fy; nothing unless fx and fy are both non-zero.
    void ZoomToRealScale(double mmPerPixelX, double mmPerPixelY, double fx, double fy);
    virtual void ZoomToDrawing() = 0;
    // Draws the drawing into another canvas: zoomMode 1 fits the drawing, 2
    // uses the device's real scale, any other keeps the view; the view is
    // given back afterwards.
    void CopyDrawingToCanvas(Canvas& canvas, int mapMode, double fx, double fy, int zoomMode, double mmPerPixelX,
                             double mmPerPixelY);
    virtual void DrawToCanvas(const TRect2D& world, const TPixelRect& pixels, int mode, Canvas& canvas) = 0;

    // Drawing. RedrawArea draws everything in the world area anew (nothing
    // while the redraw lock holds); Repaint redraws the visual rect;
    // Invalidate shows the offscreen image again, wiping the XOR overlays.
    void RedrawArea(const TRect2D& area);
    void Repaint() override;
    void Invalidate() override;
    void Paint();
    void LockRedraw();
    void UnlockRedraw();
    bool RedrawLocked() const { return redrawLocked_; }
    // Copies rect of the offscreen image to the screen image and, when
    // notifyPaint, fires OnPaint (never from inside OnPaint).
    void CopyBitmapToScreen(const TPixelRect& rect, bool notifyPaint);
    // The copy alone: plain, or leaving background pixels out when transparent.
    void CopyBitmapRect(const TPixelRect& rect);
    // The window's new size (0 allowed): the images follow, the visual rect is
    // mapped again, OnResize fires.
    void Resize(int width, int height);

    // What DrawingViewport asks.
    void DrawObjectOffscreen(TObject2D& object) override;
    void DrawingDestroyed() override;

    Canvas& OffscreenCanvas() { return offscreen_->GetCanvas(); }
    Canvas& ScreenCanvas() { return screen_->GetCanvas(); }
    ViewSurface& OffscreenSurface() { return *offscreen_; }
    ViewSurface& ScreenSurface() { return *screen_; }
    // Pen mode XOR, solid, width 2, colour RubberPenColor xor BackGroundColor.
    const PenAttributes& RubberPen() const { return rubberPen_; }

    // The overlay. Each new item is drawn at once on both images, over what
    // is there, without redrawing anything else (nothing while the redraw
    // lock holds); every redraw draws them all again after the drawing, the
    // grid and the axes. The window hears of the appended pixels at
    // FlushOverlay, once for a whole batch. The marker (the cutter's place)
    // lies on the screen image only, in XOR with the rubber pen, and is shown
    // again after every copy of the offscreen image; appending hides it until
    // the next flush. ClearOverlay takes items and marker away and redraws
    // when items were shown.
    const ViewOverlay& Overlay() const { return overlay_; }
    void AddOverlayLine(const TPoint2D& from, const TPoint2D& to, TColor color);
    // Counter-clockwise from fromAngle to toAngle (radians); equal angles give
    // the whole circle.
    void AddOverlayArc(const TPoint2D& centre, double radius, double fromAngle, double toAngle, TColor color);
    // A cross of 21 pixels, as a point entity shows.
    void AddOverlayPoint(const TPoint2D& at, TColor color);
    void SetOverlayMarker(std::optional<TPoint2D> at);
    const std::optional<TPoint2D>& OverlayMarker() const { return markerAt_; }
    bool OverlayMarkerShown() const { return markerShown_; }
    void FlushOverlay();
    void ClearOverlay();

    // Grid and axes, drawn by RedrawArea.
    void DrawGrid(const TRect2D& area, Canvas& canvas);
    void DrawAxes(const TRect2D& area, Canvas& canvas);

    // Properties. The setters of what the picture shows redraw only on a change.
    int DrawMode() const { return drawMode_; }
    void SetDrawMode(int mode) { drawMode_ = mode; }
    double AspectRatio() const { return aspectRatio_; }
    void SetAspectRatio(double ratio) { aspectRatio_ = ratio; }
    TColor RubberPenColor() const { return rubberPenColor_; }
    void SetRubberPenColor(TColor color);
    TColor BackGroundColor() const { return backGroundColor_; }
    void SetBackGroundColor(TColor color);
    TColor GridColor() const { return gridColor_; }
    void SetGridColor(TColor color);
    TColor ControlPointsColor() const { return controlPointsColor_; }
    void SetControlPointsColor(TColor color) { controlPointsColor_ = color; }
    int ControlPointsWidth() const { return controlPointsWidth_; }
    void SetControlPointsWidth(int width) { controlPointsWidth_ = width; }
    bool ShowControlPoints() const { return showControlPoints_; }
    void SetShowControlPoints(bool show) { showControlPoints_ = show; }
    bool ShowGrid() const { return showGrid_; }
    void SetShowGrid(bool show);
    bool ShowAssi() const { return showAssi_; }
    void SetShowAssi(bool show);
    bool IsMM() const { return isMM_; }
    void SetIsMM(bool mm) { isMM_ = mm; }
    // The unit written under the scale bar, in the user's language; empty
    // for the view's own "mm" or "Inch".
    const std::string& UnitLabel() const { return unitLabel_; }
    void SetUnitLabel(std::string label) { unitLabel_ = std::move(label); }
    bool GridOnTop() const { return gridOnTop_; }
    void SetGridOnTop(bool onTop) { gridOnTop_ = onTop; }
    bool IsTransparent() const { return isTransparent_; }
    void SetIsTransparent(bool transparent);
    double GridDeltaX() const { return gridDeltaX_; }
    void SetGridDeltaX(double delta);
    double GridDeltaY() const { return gridDeltaY_; }
    void SetGridDeltaY(double delta);
    double GridSubX() const { return gridSubX_; }
    void SetGridSubX(double sub);
    double GridSubY() const { return gridSubY_; }
    void SetGridSubY(double sub);
    int CopingFrequency() const { return copingFrequency_; }
    void SetCopingFrequency(int frequency) { copingFrequency_ = frequency; }
    // Kept for the settings that carry it: the view always paints in line.
    bool UsePaintingThread() const { return usePaintingThread_; }
    void SetUsePaintingThread(bool use) { usePaintingThread_ = use; }
    // When set, drawn and picked instead of the drawing's objects (not owned).
    TGraphicObjList* DisplayList() const { return displayList_; }
    void SetDisplayList(TGraphicObjList* list) { displayList_ = list; }

    // Events.
    void SetOnClearCanvas(ClearCanvasEvent handler);
    void SetOnPaint(NotifyEvent handler) { onPaint_ = std::move(handler); }
    const NotifyEvent& OnPaint() const { return onPaint_; }
    void SetOnResize(NotifyEvent handler) { onResize_ = std::move(handler); }
    void SetOnBeginRedraw(NotifyEvent handler) { onBeginRedraw_ = std::move(handler); }
    void SetOnEndRedraw(NotifyEvent handler) { onEndRedraw_ = std::move(handler); }
    void SetOnViewMappingChanged(NotifyEvent handler) { onViewMappingChanged_ = std::move(handler); }
    void SetOnMouseEnter(NotifyEvent handler) { onMouseEnter_ = std::move(handler); }
    void SetOnMouseLeave(NotifyEvent handler) { onMouseLeave_ = std::move(handler); }
    void SetOnScreenChanged(ScreenChangedEvent handler) { onScreenChanged_ = std::move(handler); }
    // Tells the window that pixels of the screen image changed.
    void ScreenChanged(const TPixelRect& area);

    // Input. The window calls the Deliver methods; each hands the input to the
    // hook first (the interaction program) and then, unless the hook already
    // fired the 2D event, to the viewport's own handlers.
    ViewportInputHook* InputHook() const { return inputHook_; }
    void SetInputHook(ViewportInputHook* hook) { inputHook_ = hook; }
    bool ProgramDelivered() const { return programDelivered_; }
    void DeliverMouseMove(TShiftState shift, int x, int y);
    void DeliverMouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void DeliverMouseUp(TMouseButton button, TShiftState shift, int x, int y);
    void DeliverDoubleClick(TMouseButton button, TShiftState shift, int x, int y);
    void DeliverKeyDown(std::uint16_t key, TShiftState shift);
    void DeliverKeyUp(std::uint16_t key, TShiftState shift);
    void MouseEnter();
    void MouseLeave();

protected:
    virtual void DrawObject(TObject2D& object, Canvas& canvas, const TRect2D& clipRect) = 0;
    virtual void MouseMove(TShiftState /*shift*/, int /*x*/, int /*y*/) {}
    virtual void MouseDown(TMouseButton /*button*/, TShiftState /*shift*/, int /*x*/, int /*y*/) {}
    virtual void MouseUp(TMouseButton /*button*/, TShiftState /*shift*/, int /*x*/, int /*y*/) {}
    // The pixel box of a world area, widened by one pixel to the right and bottom.
    TPixelRect AreaToPixels(const TRect2D& area) const;
    TRect2D ClientClip() const;
    void FirePaint();
    // The overlay's marker on the screen image; whatever draws there with a
    // pen that replaces pixels takes it away first and shows it again after.
    void ShowMarker();
    void HideMarker();

private:
    // The object pass of a redraw: every object of the display list or the
    // drawing, with screen copies every CopingFrequency objects. False when
    // the pass could not run.
    bool DrawObjectPass(Canvas& canvas, const TRect2D& clip);
    void DrawGridLevel(TDecorativeCanvas& canvas, const TRect2D& area, double sx, double sy);
    void AddOverlayItem(const OverlayItem& item);
    // The marker in XOR on the screen image, only within clip.
    void XorMarker(const TPixelRect& clip);
    void UpdateRubberPen();
    // Runs a delivery with the program-delivered flag set from the hook's answer.
    template <class HookCall, class OwnCall>
    void Deliver(HookCall hookCall, OwnCall ownCall);

    mutable std::recursive_mutex lock_;
    TQVCmp* drawing_ = nullptr;
    int drawMode_ = 0;
    TRect2D visualRect_ = MakeRect2D(0.0, 0.0, 100.0, 100.0);
    TMatrix2D viewMatrix_;
    TMatrix2D inverseViewMatrix_;
    double aspectRatio_ = 0.0;
    TColor rubberPenColor_ = clRed;
    TColor backGroundColor_ = 0xC0C0C0;
    TColor gridColor_ = 0x808080;
    TColor controlPointsColor_ = 0;
    PenAttributes rubberPen_;
    std::unique_ptr<ViewSurface> offscreen_;
    std::unique_ptr<ViewSurface> screen_;
    int width_ = 50;
    int height_ = 50;
    int copingFrequency_ = 0;
    bool showControlPoints_ = false;
    bool showGrid_ = false;
    bool showAssi_ = false;
    bool isMM_ = false;
    std::string unitLabel_;
    bool redrawLocked_ = false;
    int controlPointsWidth_ = 6;
    double gridDeltaX_ = 0.0;
    double gridDeltaY_ = 0.0;
    double gridSubX_ = 0.0;
    double gridSubY_ = 0.0;
    bool gridOnTop_ = false;
    bool isTransparent_ = false;
    bool usePaintingThread_ = false;
    bool inPaint_ = false;
    bool programDelivered_ = false;
    TGraphicObjList* displayList_ = nullptr;
    ViewOverlay overlay_;
    TPixelRect overlayDirty_;  // pixels appended since the last flush
    std::optional<TPoint2D> markerAt_;
    bool markerShown_ = false;  // drawn on the screen image, at markerPixel_
    TPixelPoint markerPixel_;
    ViewportInputHook* inputHook_ = nullptr;
    ClearCanvasEvent onClearCanvas_;
    NotifyEvent onPaint_;
    NotifyEvent onResize_;
    NotifyEvent onBeginRedraw_;
    NotifyEvent onEndRedraw_;
    NotifyEvent onViewMappingChanged_;
    NotifyEvent onMouseEnter_;
    NotifyEvent onMouseLeave_;
    ScreenChangedEvent onScreenChanged_;
};

}  // namespace calvoro

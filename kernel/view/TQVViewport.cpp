// The viewport core.
#include "kernel/view/TQVViewport.h"

#include "kernel/drawing/QVCmp.h"
#include "kernel/entities/TObject2D.h"
#include "kernel/geometry/PixelConversion.h"
#include "kernel/geometry/ViewMapping.h"
#include "kernel/model/GraphicObjList.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace calvoro {

namespace {

// A guard that restores a flag when it leaves scope, also on an exception.
class FlagGuard {
public:
    FlagGuard(bool& flag, bool value) : flag_(flag), saved_(flag) { flag_ = value; }
    ~FlagGuard() { flag_ = saved_; }
    FlagGuard(const FlagGuard&) = delete;
    FlagGuard& operator=(const FlagGuard&) = delete;

private:
    bool& flag_;
    bool saved_;
};

// Fixed-point text with "." whatever the locale.
std::string FixedText(double value, int decimals) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return std::string(buffer, result.ptr);
}

bool IsFiniteRect(const TRect2D& r) {
    return std::isfinite(r.Left) && std::isfinite(r.Right) && std::isfinite(r.Bottom) && std::isfinite(r.Top);
}

}  // namespace

TQVViewport::TQVViewport(std::unique_ptr<ViewSurface> offscreen, std::unique_ptr<ViewSurface> screen)
    : offscreen_(std::move(offscreen)), screen_(std::move(screen)) {
    offscreen_->Resize(width_, height_);
    screen_->Resize(width_, height_);
    UpdateRubberPen();
}

TQVViewport::~TQVViewport() {
    if (inputHook_ != nullptr) inputHook_->ViewportDestroyed();
    if (drawing_ != nullptr) drawing_->RemoveViewport(this);
}

void TQVViewport::SetCADCmp(TQVCmp* drawing) {
    if (drawing == drawing_) return;
    if (drawing_ != nullptr) drawing_->RemoveViewport(this);
    drawing_ = drawing;
    if (drawing_ != nullptr) drawing_->AddViewport(this);
}

void TQVViewport::DrawingDestroyed() {
    drawing_ = nullptr;
}

TMatrix2D TQVViewport::GetViewMatrix() const {
    std::lock_guard guard(lock_);
    return viewMatrix_;
}

TMatrix2D TQVViewport::GetInverseViewMatrix() const {
    std::lock_guard guard(lock_);
    return inverseViewMatrix_;
}

TPoint2D TQVViewport::GetPixelSize() const {
    const TMatrix2D inverse = GetInverseViewMatrix();
    return TPoint2D{std::fabs(inverse.M[0][0]), std::fabs(inverse.M[1][1]), 1.0};
}

TPoint2D TQVViewport::ScreenToWorld(const TPoint2D& p) const {
    return PointTimesMatrix2D(p, GetInverseViewMatrix());
}

TPoint2D TQVViewport::WorldToScreen(const TPoint2D& p) const {
    return CartesianPoint(PointTimesMatrix2D(p, GetViewMatrix()));
}

TPixelPoint TQVViewport::WorldToPixel(const TPoint2D& p) const {
    return Point2DToPoint(WorldToScreen(p));
}

TMatrix2D TQVViewport::BuildViewTransform(TRect2D& /*visual*/, const TPixelRect& /*client*/, double /*aspect*/) {
    return IdentityMatrix2D;
}

TMatrix2D TQVViewport::BuildMapping(const TRect2D& /*world*/, const TPixelRect& /*pixels*/, int /*mode*/) {
    return GetViewMatrix();
}

void TQVViewport::ZoomWindow(const TRect2D& rect) {
    const TRect2D r = ReorderRect2D(rect);
    if (r.Right == r.Left || r.Top == r.Bottom || !IsFiniteRect(r)) return;
    {
        std::lock_guard guard(lock_);
        visualRect_ = r;
    }
    UpdateViewportTransform();
}

void TQVViewport::UpdateViewportTransform() {
    // A window without pixels (collapsed, minimised, not yet laid out) has
    // nothing to map: the rect and matrices stay as they were, so the view
    // comes back unchanged when the window gets its size again.
    if (ClientRect().IsEmpty()) return;
    {
        std::lock_guard guard(lock_);
        viewMatrix_ = BuildViewTransform(visualRect_, ClientRect(), aspectRatio_);
        inverseViewMatrix_ = InvertMatrix2D(viewMatrix_);
    }
    if (onViewMappingChanged_) onViewMappingChanged_(*this);
    Repaint();
}

void TQVViewport::ZoomIn() {
    const TRect2D r = visualRect_;
    const double qx = (r.Right - r.Left) / 4.0;
    const double qy = (r.Top - r.Bottom) / 4.0;
    ZoomWindow(MakeRect2D(r.Left + qx, r.Bottom + qy, r.Right - qx, r.Top - qy));
}

void TQVViewport::ZoomOut() {
    const TRect2D r = visualRect_;
    const double qx = (r.Right - r.Left) / 4.0;
    const double qy = (r.Top - r.Bottom) / 4.0;
    ZoomWindow(MakeRect2D(r.Left - qx, r.Bottom - qy, r.Right + qx, r.Top + qy));
}

void TQVViewport::PanView(double deltaX, double deltaY) {
    const TRect2D r = visualRect_;
    ZoomWindow(MakeRect2D(r.Left + deltaX, r.Bottom + deltaY, r.Right + deltaX, r.Top + deltaY));
}

void TQVViewport::ZoomToRealScale(double mmPerPixelX, double mmPerPixelY, double fx, double fy) {
    if (fx == 0.0 || fy == 0.0) return;
    TRect2D r = visualRect_;
    r.Right = r.Left + width_ * mmPerPixelX * fx;
    r.Top = r.Bottom + height_ * mmPerPixelY * fy;
    ZoomWindow(r);
}

void TQVViewport::CopyDrawingToCanvas(Canvas& canvas, int mapMode, double fx, double fy, int zoomMode,
                                      double mmPerPixelX, double mmPerPixelY) {
    if (drawing_ == nullptr) return;
    const TRect2D savedRect = visualRect_;
    const double savedAspect = aspectRatio_;
    LockRedraw();
    aspectRatio_ = 0.0;
    if (zoomMode == 1) {
        ZoomToDrawing();
    } else if (zoomMode == 2) {
        ZoomToRealScale(mmPerPixelX, mmPerPixelY, fx, fy);
    }
    aspectRatio_ = savedAspect;
    DrawToCanvas(visualRect_, ClientRect(), mapMode, canvas);
    ZoomWindow(savedRect);
    UnlockRedraw();
}

TPixelRect TQVViewport::AreaToPixels(const TRect2D& area) const {
    const TPixelPoint a = WorldToPixel(area.FirstCorner());
    const TPixelPoint b = WorldToPixel(area.SecondCorner());
    return TPixelRect{std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X) + 1, std::max(a.Y, b.Y) + 1};
}

TRect2D TQVViewport::ClientClip() const {
    return RectToRect2D(ClientRect());
}

void TQVViewport::RedrawArea(const TRect2D& area) {
    if (redrawLocked_ || ClientRect().IsEmpty()) return;
    Canvas& canvas = offscreen_->GetCanvas();
    canvas.ResetClipRect();
    if (onClearCanvas_) {
        onClearCanvas_(*this, canvas, backGroundColor_, area);
    } else {
        canvas.SetBrush(BrushAttributes{backGroundColor_, TBrushStyle::bsSolid});
        canvas.FillRect(AreaToPixels(area));
    }
    if (onBeginRedraw_) onBeginRedraw_(*this);
    {
        std::lock_guard guard(lock_);
        canvas.SetClipRect(ClientRect());
        if (showGrid_ && !gridOnTop_) DrawGrid(area, canvas);
        if (showAssi_) DrawAxes(visualRect_, canvas);
        if (DrawObjectPass(canvas, ClientClip())) {
            if (showGrid_ && gridOnTop_) DrawGrid(area, canvas);
            if (showAssi_) DrawAxes(visualRect_, canvas);
        }
        overlay_.DrawAll(canvas, viewMatrix_, ClientRect());
    }
    overlayDirty_ = TPixelRect{};
    CopyBitmapToScreen(ClientRect(), true);
    // After a new mapping the marker belongs somewhere else.
    if (markerShown_ && WorldToPixel(*markerAt_) != markerPixel_) HideMarker();
    ShowMarker();
    if (onEndRedraw_) onEndRedraw_(*this);
}

bool TQVViewport::DrawObjectPass(Canvas& canvas, const TRect2D& clip) {
    if (drawMode_ == 1) return false;
    std::unique_ptr<TGraphicObjIterator> iterator;
    if (displayList_ != nullptr) {
        if (displayList_->ExclusiveHeld()) return false;
        iterator = displayList_->GetIterator();
    } else if (drawing_ != nullptr && !drawing_->HasExclusiveIterators()) {
        iterator = drawing_->ObjectListIterator();
    } else {
        return false;
    }
    int drawn = 0;
    for (TGraphicObject* object = iterator->First(); object != nullptr; object = iterator->Next()) {
        if (auto* object2D = dynamic_cast<TObject2D*>(object)) DrawObject(*object2D, canvas, clip);
        if (copingFrequency_ > 0 && ++drawn % copingFrequency_ == 0) CopyBitmapToScreen(ClientRect(), false);
    }
    return true;
}

void TQVViewport::Repaint() {
    RedrawArea(visualRect_);
}

void TQVViewport::Invalidate() {
    Paint();
}

void TQVViewport::Paint() {
    CopyBitmapToScreen(ClientRect(), true);
}

void TQVViewport::LockRedraw() {
    redrawLocked_ = true;
}

void TQVViewport::UnlockRedraw() {
    redrawLocked_ = false;
    Repaint();
}

void TQVViewport::CopyBitmapToScreen(const TPixelRect& rect, bool notifyPaint) {
    if (ClientRect().IsEmpty()) return;
    CopyBitmapRect(rect);
    ScreenChanged(rect);
    if (notifyPaint) FirePaint();
}

void TQVViewport::CopyBitmapRect(const TPixelRect& rect) {
    // The marker lies on the screen image alone: it is taken away where the
    // copy lands (a transparent copy keeps the pixels under it) and drawn
    // there again afterwards.
    const bool marked = markerShown_ && !IntersectPixelRects(ViewOverlay::MarkerBox(markerPixel_), rect).IsEmpty();
    if (marked) XorMarker(rect);
    if (isTransparent_) {
        screen_->CopyRectTransparent(*offscreen_, rect, backGroundColor_);
    } else {
        screen_->CopyRect(*offscreen_, rect);
    }
    if (marked) XorMarker(rect);
}

void TQVViewport::AddOverlayLine(const TPoint2D& from, const TPoint2D& to, TColor color) {
    AddOverlayItem(OverlayItem::Line(CartesianPoint(from), CartesianPoint(to), color));
}

void TQVViewport::AddOverlayArc(const TPoint2D& centre, double radius, double fromAngle, double toAngle, TColor color) {
    AddOverlayItem(OverlayItem::Arc(CartesianPoint(centre), radius, fromAngle, toAngle, color));
}

void TQVViewport::AddOverlayPoint(const TPoint2D& at, TColor color) {
    AddOverlayItem(OverlayItem::Point(CartesianPoint(at), color));
}

void TQVViewport::AddOverlayItem(const OverlayItem& item) {
    overlay_.Append(item);
    if (redrawLocked_ || ClientRect().IsEmpty()) return;
    // A pen that copies would spoil the XOR marker under it.
    HideMarker();
    const TMatrix2D matrix = GetViewMatrix();
    const TPixelRect client = ClientRect();
    for (ViewSurface* surface : {offscreen_.get(), screen_.get()}) {
        Canvas& canvas = surface->GetCanvas();
        if (!(canvas.ClipRect() == client)) canvas.SetClipRect(client);
        const TPixelRect drawn = overlay_.DrawItem(item, canvas, matrix, client);
        overlayDirty_ = UnitePixelRects(overlayDirty_, drawn);
    }
}

void TQVViewport::FlushOverlay() {
    ShowMarker();
    if (overlayDirty_.IsEmpty()) return;
    const TPixelRect dirty = overlayDirty_;
    overlayDirty_ = TPixelRect{};
    ScreenChanged(dirty);
}

void TQVViewport::ClearOverlay() {
    HideMarker();
    markerAt_.reset();
    overlayDirty_ = TPixelRect{};
    if (overlay_.Empty()) return;
    overlay_.Clear();
    Repaint();
}

void TQVViewport::SetOverlayMarker(std::optional<TPoint2D> at) {
    if (at) at = CartesianPoint(*at);
    if (at == markerAt_) return;
    HideMarker();
    markerAt_ = at;
    ShowMarker();
}

void TQVViewport::XorMarker(const TPixelRect& clip) {
    Canvas& canvas = screen_->GetCanvas();
    canvas.SetClipRect(IntersectPixelRects(clip, ClientRect()));
    PenAttributes pen = rubberPen_;
    pen.Width = 1;
    canvas.SetPen(pen);
    ViewOverlay::DrawMarker(canvas, markerPixel_);
    canvas.SetClipRect(ClientRect());
}

void TQVViewport::ShowMarker() {
    if (markerShown_ || !markerAt_ || redrawLocked_ || ClientRect().IsEmpty()) return;
    // A marker far outside the window is not drawn (nor are its pixels
    // rounded from coordinates no window holds).
    const TPoint2D at = WorldToScreen(*markerAt_);
    const double reach = ViewOverlay::kMarkerRadius + 1.0;
    if (!(at.X >= -reach && at.X <= width_ + reach && at.Y >= -reach && at.Y <= height_ + reach)) return;
    markerPixel_ = Point2DToPoint(at);
    XorMarker(ClientRect());
    markerShown_ = true;
    ScreenChanged(IntersectPixelRects(ViewOverlay::MarkerBox(markerPixel_), ClientRect()));
}

void TQVViewport::HideMarker() {
    if (!markerShown_) return;
    XorMarker(ClientRect());
    markerShown_ = false;
    ScreenChanged(IntersectPixelRects(ViewOverlay::MarkerBox(markerPixel_), ClientRect()));
}

void TQVViewport::FirePaint() {
    if (inPaint_ || !onPaint_) return;
    FlagGuard guard(inPaint_, true);
    onPaint_(*this);
}

void TQVViewport::ScreenChanged(const TPixelRect& area) {
    if (onScreenChanged_) onScreenChanged_(area);
}

void TQVViewport::Resize(int width, int height) {
    // The screen image's pixels, the marker among them, are gone.
    markerShown_ = false;
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    offscreen_->Resize(width_, height_);
    screen_->Resize(width_, height_);
    ZoomWindow(visualRect_);
    if (onResize_) onResize_(*this);
}

void TQVViewport::DrawObjectOffscreen(TObject2D& object) {
    if (ClientRect().IsEmpty()) return;
    Canvas& canvas = offscreen_->GetCanvas();
    canvas.SetClipRect(ClientRect());
    DrawObject(object, canvas, ClientClip());
}

void TQVViewport::DrawGrid(const TRect2D& area, Canvas& canvas) {
    if (gridDeltaX_ <= 0.0 || gridDeltaY_ <= 0.0) return;
    TDecorativeCanvas grid(canvas);
    canvas.SetBackgroundMode(BackgroundMode::Transparent);
    canvas.SetPen(PenAttributes{gridColor_, TPenStyle::psSolid, TPenMode::pmCopy, 1});
    canvas.SetBrush(BrushAttributes{backGroundColor_, TBrushStyle::bsSolid});
    if (gridSubX_ > 0.0 && gridSubY_ > 0.0) {
        grid.DecorativePen().SetPattern("10000");
        DrawGridLevel(grid, area, gridDeltaX_ / gridSubX_, gridDeltaY_ / gridSubY_);
        grid.DecorativePen().ClearPattern();
    }
    grid.DecorativePen().SetPattern("100");
    DrawGridLevel(grid, area, gridDeltaX_, gridDeltaY_);
}

void TQVViewport::DrawGridLevel(TDecorativeCanvas& canvas, const TRect2D& area, double sx, double sy) {
    const double x0 = std::nearbyint(area.Left / sx) * sx;
    const double y0 = std::nearbyint(area.Bottom / sy) * sy;
    const TPoint2D a = WorldToScreen(MakePoint2D(x0, y0));
    const TPoint2D b = WorldToScreen(MakePoint2D(x0 + sx, y0 + sy));
    // A level whose lines would lie 10 pixels apart or closer is left out.
    if (!(b.X - a.X > 10.0 && a.Y - b.Y > 10.0)) return;
    for (int i = 0;; ++i) {
        const double y = y0 + i * sy;
        if (y > area.Top) break;
        const TPixelPoint from = WorldToPixel(MakePoint2D(area.Left, y));
        const TPixelPoint to = WorldToPixel(MakePoint2D(area.Right, y));
        canvas.MoveTo(from.X, from.Y);
        canvas.LineTo(to.X, to.Y);
    }
    for (int i = 0;; ++i) {
        const double x = x0 + i * sx;
        if (x > area.Right) break;
        const TPixelPoint from = WorldToPixel(MakePoint2D(x, area.Top));
        const TPixelPoint to = WorldToPixel(MakePoint2D(x, area.Bottom));
        canvas.MoveTo(from.X, from.Y);
        canvas.LineTo(to.X, to.Y);
    }
}

void TQVViewport::DrawAxes(const TRect2D& area, Canvas& canvas) {
    canvas.SetPen(PenAttributes{gridColor_, TPenStyle::psSolid, TPenMode::pmCopy, 2});
    canvas.SetBrush(BrushAttributes{backGroundColor_, TBrushStyle::bsSolid});
    // The axes through the world origin. The origin may lie millions of pixels
    // away at a deep zoom: the lines are cut to the window before drawing so
    // that no pixel coordinate has to hold more than the window's size.
    const TPixelPoint origin = WorldToPixel(MakePoint2D(0.0, 0.0));
    const int margin = 4;
    if (origin.Y >= -margin && origin.Y <= height_ + margin) {
        const TPixelPoint l = WorldToPixel(MakePoint2D(area.Left, 0.0));
        const TPixelPoint r = WorldToPixel(MakePoint2D(area.Right, 0.0));
        canvas.MoveTo(std::clamp(l.X, -margin, width_ + margin), origin.Y);
        canvas.LineTo(std::clamp(r.X, -margin, width_ + margin), origin.Y);
    }
    if (origin.X >= -margin && origin.X <= width_ + margin) {
        const TPixelPoint b = WorldToPixel(MakePoint2D(0.0, area.Bottom));
        const TPixelPoint t = WorldToPixel(MakePoint2D(0.0, area.Top));
        canvas.MoveTo(origin.X, std::clamp(b.Y, -margin, height_ + margin));
        canvas.LineTo(origin.X, std::clamp(t.Y, -margin, height_ + margin));
    }

    canvas.SetPen(PenAttributes{clYellow, TPenStyle::psSolid, TPenMode::pmCopy, 1});
    const double w = area.Right - area.Left;
    const double h = area.Top - area.Bottom;
    const double dx = w / 100.0 * 3.0;
    const double dy = h / 100.0 * 3.0;
    const TPixelPoint o = WorldToPixel(MakePoint2D(area.Left + dx, area.Bottom + dy));
    auto line = [&canvas](TPixelPoint from, TPixelPoint to) {
        canvas.MoveTo(from.X, from.Y);
        canvas.LineTo(to.X, to.Y);
    };
    auto path = [&canvas](std::initializer_list<TPixelPoint> points) {
        canvas.Polyline(std::span<const TPixelPoint>(points.begin(), points.size()));
    };
    // X arrow and letter.
    TPixelPoint e = WorldToPixel(MakePoint2D(area.Left + 4.0 * dy, area.Bottom + dy));
    line(o, e);
    path({e, {e.X - 15, e.Y - 5}, {e.X - 15, e.Y + 4}, e});
    line({e.X + 10, e.Y - 10}, {e.X + 20, e.Y + 10});
    line({e.X + 10, e.Y + 9}, {e.X + 20, e.Y - 10});
    // Y arrow and letter.
    e = WorldToPixel(MakePoint2D(area.Left + dx, area.Bottom + 4.0 * dy));
    line(o, e);
    path({e, {e.X - 5, e.Y + 17}, {e.X + 5, e.Y + 17}, e});
    path({{e.X, e.Y - 10}, {e.X, e.Y - 19}, {e.X - 5, e.Y - 28}});
    line({e.X, e.Y - 19}, {e.X + 5, e.Y - 28});
    // Scale bar with its length in world units.
    const TPixelPoint s = WorldToPixel(MakePoint2D(area.Left + 0.85 * w, area.Bottom + dy));
    const TPixelPoint t = WorldToPixel(MakePoint2D(area.Left + 0.95 * w, area.Bottom + dy));
    line(s, t);
    line({s.X, s.Y - 4}, {s.X, s.Y + 4});
    line({t.X, t.Y - 4}, {t.X, t.Y + 4});
    const double m00 = GetViewMatrix().M[0][0];
    const double length = m00 != 0.0 ? (t.X - s.X) / m00 : 0.0;
    const std::string number = FixedText(length, isMM_ ? 3 : 4);
    const std::string unit = !unitLabel_.empty() ? unitLabel_ : isMM_ ? "mm" : "Inch";
    FontDescription font = canvas.Font();
    font.Color = clYellow;
    canvas.SetFont(font);
    canvas.SetBackgroundMode(BackgroundMode::Transparent);
    const int centre = (s.X + t.X) / 2;
    canvas.TextOut(centre - canvas.TextExtent(unit).X / 2, s.Y + 1, unit);
    canvas.TextOut(centre - canvas.TextExtent(number).X / 2, s.Y - 15, number);
}

void TQVViewport::UpdateRubberPen() {
    rubberPen_ = PenAttributes{ColorToRGB(rubberPenColor_) ^ ColorToRGB(backGroundColor_), TPenStyle::psSolid,
                               TPenMode::pmXor, 2};
}

void TQVViewport::SetRubberPenColor(TColor color) {
    if (color == rubberPenColor_) return;
    rubberPenColor_ = color;
    UpdateRubberPen();
}

void TQVViewport::SetBackGroundColor(TColor color) {
    if (color == backGroundColor_) return;
    backGroundColor_ = color;
    UpdateRubberPen();
    Repaint();
}

void TQVViewport::SetGridColor(TColor color) {
    if (color == gridColor_) return;
    gridColor_ = color;
    Repaint();
}

void TQVViewport::SetShowGrid(bool show) {
    if (show == showGrid_) return;
    showGrid_ = show;
    Repaint();
}

void TQVViewport::SetShowAssi(bool show) {
    if (show == showAssi_) return;
    showAssi_ = show;
    Repaint();
}

void TQVViewport::SetIsTransparent(bool transparent) {
    if (transparent == isTransparent_) return;
    isTransparent_ = transparent;
    Repaint();
}

void TQVViewport::SetGridDeltaX(double delta) {
    if (delta == gridDeltaX_) return;
    gridDeltaX_ = delta;
    Repaint();
}

void TQVViewport::SetGridDeltaY(double delta) {
    if (delta == gridDeltaY_) return;
    gridDeltaY_ = delta;
    Repaint();
}

void TQVViewport::SetGridSubX(double sub) {
    if (sub == gridSubX_) return;
    gridSubX_ = sub;
    Repaint();
}

void TQVViewport::SetGridSubY(double sub) {
    if (sub == gridSubY_) return;
    gridSubY_ = sub;
    Repaint();
}

void TQVViewport::SetOnClearCanvas(ClearCanvasEvent handler) {
    onClearCanvas_ = std::move(handler);
    Repaint();
}

template <class HookCall, class OwnCall>
void TQVViewport::Deliver(HookCall hookCall, OwnCall ownCall) {
    const bool fireOwn = inputHook_ == nullptr || hookCall(*inputHook_);
    FlagGuard guard(programDelivered_, !fireOwn);
    ownCall();
}

void TQVViewport::DeliverMouseMove(TShiftState shift, int x, int y) {
    Deliver([&](ViewportInputHook& hook) { return hook.HookMouseMove(shift, x, y); }, [&] { MouseMove(shift, x, y); });
}

void TQVViewport::DeliverMouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    Deliver([&](ViewportInputHook& hook) { return hook.HookMouseDown(button, shift, x, y); },
            [&] { MouseDown(button, shift, x, y); });
}

void TQVViewport::DeliverMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    Deliver([&](ViewportInputHook& hook) { return hook.HookMouseUp(button, shift, x, y); },
            [&] { MouseUp(button, shift, x, y); });
}

void TQVViewport::DeliverDoubleClick(TMouseButton button, TShiftState shift, int x, int y) {
    if (inputHook_ != nullptr) {
        int hx = x;
        int hy = y;
        inputHook_->HookDoubleClick(button, shift, hx, hy);
    }
    DeliverMouseDown(button, shift | Shift::Double, x, y);
}

void TQVViewport::DeliverKeyDown(std::uint16_t key, TShiftState shift) {
    if (inputHook_ != nullptr) inputHook_->HookKeyDown(key, shift);
}

void TQVViewport::DeliverKeyUp(std::uint16_t key, TShiftState shift) {
    if (inputHook_ != nullptr) inputHook_->HookKeyUp(key, shift);
}

void TQVViewport::MouseEnter() {
    if (onMouseEnter_) onMouseEnter_(*this);
}

void TQVViewport::MouseLeave() {
    if (onMouseLeave_) onMouseLeave_(*this);
}

}  // namespace calvoro

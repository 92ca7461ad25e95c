// The marks over a view's drawing.
#include "kernel/view/ViewOverlay.h"

#include "kernel/draw/DecorativeCanvas.h"
#include "kernel/draw/TransformedDrawing.h"
#include "kernel/geometry/Clipping.h"
#include "kernel/geometry/PixelConversion.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace calvoro {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
// How far a chord may stray from its arc, and the most chords one arc gets
// (at a deep zoom an arc may be millions of pixels round).
constexpr double kChordTolerance = 0.25;
constexpr int kMostChords = 4096;
// Half the size of the cross that marks a point, as the point entity draws it.
constexpr int kPointCross = 10;

TPoint2D ToPixels(double x, double y, const TMatrix2D& m) {
    return CartesianPoint(PointTimesMatrix2D(MakePoint2D(x, y), m));
}

bool Inside(const TPoint2D& p, const TPixelRect& clip, double margin) {
    return p.X >= clip.Left - margin && p.X <= clip.Right + margin && p.Y >= clip.Top - margin &&
           p.Y <= clip.Bottom + margin;
}

void UsePen(Canvas& canvas, TColor color) {
    const PenAttributes pen{color, TPenStyle::psSolid, TPenMode::pmCopy, 1};
    if (!(canvas.Pen() == pen)) canvas.SetPen(pen);
}

// The pixels a stroke between two pixels may set, inside clip.
TPixelRect StrokeBox(TPixelPoint a, TPixelPoint b, const TPixelRect& clip) {
    return IntersectPixelRects(
        TPixelRect{std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X) + 1, std::max(a.Y, b.Y) + 1}, clip);
}

// The larger of the two scales of the mapping: the pixels one world unit
// may span.
double PixelScale(const TMatrix2D& m) {
    return std::max(std::hypot(m.M[0][0], m.M[0][1]), std::hypot(m.M[1][0], m.M[1][1]));
}

}  // namespace

TPixelRect UnitePixelRects(const TPixelRect& a, const TPixelRect& b) {
    if (a.IsEmpty()) return b;
    if (b.IsEmpty()) return a;
    return TPixelRect{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                      std::max(a.Bottom, b.Bottom)};
}

TPixelRect IntersectPixelRects(const TPixelRect& a, const TPixelRect& b) {
    const TPixelRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
                       std::min(a.Bottom, b.Bottom)};
    return r.IsEmpty() ? TPixelRect{} : r;
}

OverlayItem OverlayItem::Line(const TPoint2D& from, const TPoint2D& to, TColor color) {
    OverlayItem item;
    item.Shape = OverlayShape::Line;
    item.Color = color;
    item.X = static_cast<float>(from.X);
    item.Y = static_cast<float>(from.Y);
    item.EndX = static_cast<float>(to.X);
    item.EndY = static_cast<float>(to.Y);
    return item;
}

OverlayItem OverlayItem::Arc(const TPoint2D& centre, double radius, double fromAngle, double toAngle, TColor color) {
    OverlayItem item;
    item.Shape = OverlayShape::Arc;
    item.Color = color;
    item.X = static_cast<float>(centre.X);
    item.Y = static_cast<float>(centre.Y);
    item.Radius = static_cast<float>(std::fabs(radius));
    item.FromAngle = static_cast<float>(fromAngle);
    item.ToAngle = static_cast<float>(toAngle);
    return item;
}

OverlayItem OverlayItem::Point(const TPoint2D& at, TColor color) {
    OverlayItem item;
    item.Shape = OverlayShape::Point;
    item.Color = color;
    item.X = static_cast<float>(at.X);
    item.Y = static_cast<float>(at.Y);
    return item;
}

void ViewOverlay::Clear() {
    items_.clear();
    items_.shrink_to_fit();
}

TPixelRect ViewOverlay::DrawItem(const OverlayItem& item, Canvas& canvas, const TMatrix2D& matrix,
                                 const TPixelRect& clip) {
    if (clip.IsEmpty()) return {};
    switch (item.Shape) {
        case OverlayShape::Line:
            return DrawLine(item, canvas, matrix, clip);
        case OverlayShape::Arc:
            return DrawArc(item, canvas, matrix, clip);
        case OverlayShape::Point:
            return DrawPoint(item, canvas, matrix, clip);
    }
    return {};
}

void ViewOverlay::DrawAll(Canvas& canvas, const TMatrix2D& matrix, const TPixelRect& clip) {
    for (const OverlayItem& item : items_) DrawItem(item, canvas, matrix, clip);
}

TPixelRect ViewOverlay::DrawLine(const OverlayItem& item, Canvas& canvas, const TMatrix2D& matrix,
                                 const TPixelRect& clip) {
    TPoint2D a = ToPixels(item.X, item.Y, matrix);
    TPoint2D b = ToPixels(item.EndX, item.EndY, matrix);
    // Cut to the clip box before rounding, so that no pixel coordinate grows
    // beyond what the window holds, however deep the zoom.
    if (!Inside(a, clip, 0.0) || !Inside(b, clip, 0.0)) {
        if (!std::isfinite(a.X) || !std::isfinite(a.Y) || !std::isfinite(b.X) || !std::isfinite(b.Y)) return {};
        if ((ClipSegmentToRect2D(RectToRect2D(clip), a, b) & kClipRejected) != 0) return {};
    }
    const TPixelPoint from = Point2DToPoint(a);
    const TPixelPoint to = Point2DToPoint(b);
    UsePen(canvas, item.Color);
    canvas.MoveTo(from.X, from.Y);
    canvas.LineTo(to.X, to.Y);
    return StrokeBox(from, to, clip);
}

TPixelRect ViewOverlay::DrawArc(const OverlayItem& item, Canvas& canvas, const TMatrix2D& matrix,
                                const TPixelRect& clip) {
    const TPoint2D centre = ToPixels(item.X, item.Y, matrix);
    const double radius = static_cast<double>(item.Radius) * PixelScale(matrix);
    if (!std::isfinite(centre.X) || !std::isfinite(centre.Y) || !std::isfinite(radius)) return {};
    // A circle wholly outside the box draws nothing.
    if (centre.X + radius < clip.Left - 1 || centre.X - radius > clip.Right + 1 || centre.Y + radius < clip.Top - 1 ||
        centre.Y - radius > clip.Bottom + 1)
        return {};
    double sweep = static_cast<double>(item.ToAngle) - static_cast<double>(item.FromAngle);
    sweep = std::fmod(sweep, kTwoPi);
    if (sweep <= 0.0) sweep += kTwoPi;
    double chords = 4.0;
    if (radius > kChordTolerance) {
        const double step = 2.0 * std::acos(1.0 - kChordTolerance / radius);
        chords = std::clamp(std::ceil(sweep / step), 4.0, static_cast<double>(kMostChords));
    }
    const int count = static_cast<int>(chords);
    arcPoints_.resize(static_cast<std::size_t>(count) + 1);
    for (int i = 0; i <= count; ++i) {
        const double t = static_cast<double>(item.FromAngle) + sweep * i / count;
        arcPoints_[static_cast<std::size_t>(i)] = MakePoint2D(item.X + static_cast<double>(item.Radius) * std::cos(t),
                                                              item.Y + static_cast<double>(item.Radius) * std::sin(t));
    }
    const TRect2D box =
        MakeRect2D(item.X - item.Radius, item.Y - item.Radius, item.X + item.Radius, item.Y + item.Radius);
    UsePen(canvas, item.Color);
    TDecorativeCanvas decorative(canvas);
    DrawPolyline2D(decorative, RectToRect2D(clip), box, arcPoints_, 0, count, false, matrix);
    const TPixelRect circle{
        static_cast<int>(std::floor(centre.X - radius)) - 1, static_cast<int>(std::floor(centre.Y - radius)) - 1,
        static_cast<int>(std::ceil(centre.X + radius)) + 2, static_cast<int>(std::ceil(centre.Y + radius)) + 2};
    return IntersectPixelRects(circle, clip);
}

TPixelRect ViewOverlay::DrawPoint(const OverlayItem& item, Canvas& canvas, const TMatrix2D& matrix,
                                  const TPixelRect& clip) {
    const TPoint2D at = ToPixels(item.X, item.Y, matrix);
    if (!std::isfinite(at.X) || !std::isfinite(at.Y) || !Inside(at, clip, kPointCross)) return {};
    const TPixelPoint c = Point2DToPoint(at);
    UsePen(canvas, item.Color);
    canvas.MoveTo(c.X - kPointCross, c.Y);
    canvas.LineTo(c.X + kPointCross, c.Y);
    canvas.MoveTo(c.X, c.Y - kPointCross);
    canvas.LineTo(c.X, c.Y + kPointCross);
    return IntersectPixelRects(
        TPixelRect{c.X - kPointCross, c.Y - kPointCross, c.X + kPointCross + 1, c.Y + kPointCross + 1}, clip);
}

void ViewOverlay::DrawMarker(Canvas& canvas, TPixelPoint c) {
    // The circle as one closed run (its last pixel is its first), the cross
    // as four strokes that stop short of the circle and of each other.
    constexpr int kSides = 24;
    TPixelPoint circle[kSides + 1];
    for (int i = 0; i <= kSides; ++i) {
        const double t = kTwoPi * (i % kSides) / kSides;
        circle[i] = TPixelPoint{c.X + static_cast<int>(std::lround(kMarkerRadius * std::cos(t))),
                                c.Y + static_cast<int>(std::lround(kMarkerRadius * std::sin(t)))};
    }
    canvas.Polyline(circle);
    constexpr int inner = 1;
    constexpr int outer = kMarkerRadius - 2;
    canvas.MoveTo(c.X - outer, c.Y);
    canvas.LineTo(c.X - inner, c.Y);
    canvas.MoveTo(c.X + outer, c.Y);
    canvas.LineTo(c.X + inner, c.Y);
    canvas.MoveTo(c.X, c.Y - outer);
    canvas.LineTo(c.X, c.Y - inner);
    canvas.MoveTo(c.X, c.Y + outer);
    canvas.LineTo(c.X, c.Y + inner);
}

TPixelRect ViewOverlay::MarkerBox(TPixelPoint c) {
    return TPixelRect{c.X - kMarkerRadius - 1, c.Y - kMarkerRadius - 1, c.X + kMarkerRadius + 2,
                      c.Y + kMarkerRadius + 2};
}

}  // namespace calvoro

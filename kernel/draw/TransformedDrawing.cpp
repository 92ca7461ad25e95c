// Drawing through a transform with clipping.
#include "kernel/draw/TransformedDrawing.h"

#include "kernel/geometry/Clipping.h"
#include "kernel/geometry/PixelConversion.h"
#include "kernel/geometry/Transform2D.h"

#include <vector>

namespace calvoro {

namespace {

bool IsValidRange(std::span<const TPoint2D> points, int first, int last) {
    return !points.empty() && first >= 0 && first <= last && static_cast<std::size_t>(last) < points.size();
}

bool IsWhollyInside(const TRect2D& clip, const TRect2D& box, const TMatrix2D& m) {
    return IsBoxInBox2D(TransformRect2DCorners(box, m), clip);
}

TPixelPoint ToPixel(const TPoint2D& p, const TMatrix2D& m) {
    return Point2DToPoint(PointTimesMatrix2D(p, m));
}

// The pixel points of one polygon-clipping pass: each edge clipped against one
// pair of box edges contributes its start, and its end when the end moved.
using ClipFunction = int (*)(const TRect2D&, TPoint2D&, TPoint2D&);

void AddClippedEdge(std::vector<TPixelPoint>& out, const TRect2D& clip, TPoint2D p0, TPoint2D p1,
                    ClipFunction clipEdge) {
    const int code = clipEdge(clip, p0, p1);
    if ((code & kClipRejected) != 0) return;
    out.push_back(Point2DToPoint(p0));
    if ((code & kClipEndMoved) != 0) out.push_back(Point2DToPoint(p1));
}

}  // namespace

void DrawPolyline2D(TDecorativeCanvas& canvas, const TRect2D& clip, const TRect2D& box,
                    std::span<const TPoint2D> points, int first, int last, bool closed, const TMatrix2D& m) {
    if (!IsValidRange(points, first, last)) return;
    std::vector<TPixelPoint> run;
    run.reserve(static_cast<std::size_t>(last - first) + 2);
    if (IsWhollyInside(clip, box, m)) {
        for (int i = first; i <= last; ++i) run.push_back(ToPixel(points[static_cast<std::size_t>(i)], m));
        if (closed) run.push_back(run.front());
        canvas.Polyline(run);
        return;
    }
    // Each visible stretch is drawn as one polyline; a stretch ends where a
    // segment leaves the box.
    const int end = closed ? last + 1 : last;
    int lastCode = kClipRejected;
    TPoint2D lastEnd;
    for (int i = first + 1; i <= end; ++i) {
        TPoint2D p0 = PointTimesMatrix2D(points[static_cast<std::size_t>(i - 1)], m);
        TPoint2D p1 = PointTimesMatrix2D(points[static_cast<std::size_t>(i > last ? first : i)], m);
        lastCode = ClipSegmentToRect2D(clip, p0, p1);
        lastEnd = p1;
        if ((lastCode & kClipRejected) == 0) run.push_back(Point2DToPoint(p0));
        if ((lastCode & kClipEndMoved) != 0) {
            run.push_back(Point2DToPoint(p1));
            if (run.size() >= 2) canvas.Polyline(run);
            run.clear();
        }
    }
    if ((lastCode & kClipRejected) == 0) run.push_back(Point2DToPoint(lastEnd));
    if (run.size() >= 2) canvas.Polyline(run);
}

void DrawPolygon2D(TDecorativeCanvas& canvas, const TRect2D& clip, const TRect2D& box, std::span<const TPoint2D> points,
                   int first, int last, const TMatrix2D& m) {
    if (!IsValidRange(points, first, last)) return;
    std::vector<TPixelPoint> outline;
    outline.reserve(static_cast<std::size_t>(last - first) + 2);
    if (IsWhollyInside(clip, box, m)) {
        for (int i = first; i <= last; ++i) outline.push_back(ToPixel(points[static_cast<std::size_t>(i)], m));
        canvas.Target().Polygon(outline);
        return;
    }
    // First pass: against the left and right edges, in world points mapped to pixels.
    for (int i = first; i <= last; ++i) {
        const int next = i == last ? first : i + 1;
        AddClippedEdge(outline, clip, PointTimesMatrix2D(points[static_cast<std::size_t>(i)], m),
                       PointTimesMatrix2D(points[static_cast<std::size_t>(next)], m), &ClipSegmentToRectX2D);
    }
    if (outline.empty()) return;
    outline.push_back(outline.front());
    // Second pass: against the bottom and top edges, on the rounded pixels.
    std::vector<TPixelPoint> clipped;
    clipped.reserve(outline.size() * 2);
    for (std::size_t i = 0; i + 1 < outline.size(); ++i) {
        AddClippedEdge(clipped, clip, PointToPoint2D(outline[i]), PointToPoint2D(outline[i + 1]),
                       &ClipSegmentToRectY2D);
    }
    if (!clipped.empty()) canvas.Target().Polygon(clipped);
}

bool DrawLine2D(TDecorativeCanvas& canvas, const TRect2D& clip, const TPoint2D& p1, const TPoint2D& p2,
                const TMatrix2D& m) {
    TRect2D box;
    box.SetFirstCorner(p1);
    box.SetSecondCorner(p2);
    TPoint2D a = PointTimesMatrix2D(p1, m);
    TPoint2D b = PointTimesMatrix2D(p2, m);
    if (!IsWhollyInside(clip, ReorderRect2D(box), m)) {
        if ((ClipSegmentToRect2D(clip, a, b) & kClipRejected) != 0) return false;
    }
    const TPixelPoint from = Point2DToPoint(a), to = Point2DToPoint(b);
    canvas.MoveTo(from.X, from.Y);
    canvas.LineTo(to.X, to.Y);
    return true;
}

bool DrawPoint2D(TDecorativeCanvas& canvas, const TRect2D& clip, const TPoint2D& p, const TMatrix2D& m) {
    constexpr double Margin = 0.001;  // world units
    const TPoint2D at = CartesianPoint(p);
    const TRect2D box = MakeRect2D(at.X - Margin, at.Y - Margin, at.X + Margin, at.Y + Margin);
    if (IsWhollyInside(clip, box, m)) {
        const TPixelPoint centre = ToPixel(p, m);
        canvas.MoveTo(centre.X - 10, centre.Y);
        canvas.LineTo(centre.X + 10, centre.Y);
        canvas.MoveTo(centre.X, centre.Y - 10);
        canvas.LineTo(centre.X, centre.Y + 10);
        return true;
    }
    TPoint2D a = PointTimesMatrix2D(p, m), b = a;
    return (ClipSegmentToRect2D(clip, a, b) & kClipRejected) == 0;
}

void DrawRect2D(TDecorativeCanvas& canvas, const TRect2D& clip, const TRect2D& r, const TMatrix2D& m) {
    const TRect2D c = CartesianRect2D(r);
    const TPoint2D frame[] = {MakePoint2D(c.Left, c.Bottom), MakePoint2D(c.Left, c.Top), MakePoint2D(c.Right, c.Top),
                              MakePoint2D(c.Right, c.Bottom), MakePoint2D(c.Left, c.Bottom)};
    DrawPolyline2D(canvas, clip, r, frame, 0, 4, false, m);
}

void DrawBoundingBox2D(TDecorativeCanvas& canvas, const TRect2D& clip, const TRect2D& r) {
    DrawRect2D(canvas, clip, r, IdentityMatrix2D);
}

void DrawControlPoint(TDecorativeCanvas& canvas, int x, int y, int width) {
    Canvas& target = canvas.Target();
    target.SetBrush(BrushAttributes{clSilver, TBrushStyle::bsSolid});
    PenAttributes pen = target.Pen();
    pen.Style = TPenStyle::psSolid;
    target.SetPen(pen);
    const int half = width / 2;
    target.Rectangle(TPixelRect{x - half, y - half, x + half, y + half});
}

}  // namespace calvoro

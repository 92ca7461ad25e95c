// Marks drawn over a view's drawing that are no part of it: the moves of a
// simulated NC program as lines, arcs and points. A viewport keeps one
// (TQVViewport::Overlay): it draws each new item at once, draws them all again
// after every redraw of the drawing, and keeps them until they are cleared.
// Items are kept small (single precision, like the simulation's points) so
// that a long program can leave hundreds of thousands of them.
#pragma once

#include "kernel/draw/Canvas.h"
#include "kernel/draw/Color.h"
#include "kernel/geometry/Matrix2D.h"
#include "kernel/geometry/PixelTypes.h"
#include "kernel/geometry/Point2D.h"

#include <cstdint>
#include <vector>

namespace calvoro {

enum class OverlayShape : std::uint8_t { Line, Arc, Point };

struct OverlayItem {
    OverlayShape Shape = OverlayShape::Line;
    TColor Color = clBlack;
    float X = 0.0f, Y = 0.0f;        // line start, arc centre, the point
    float EndX = 0.0f, EndY = 0.0f;  // line end
    float Radius = 0.0f;             // arc
    // Arc, in radians: counter-clockwise from FromAngle to ToAngle; equal
    // angles give the whole circle.
    float FromAngle = 0.0f, ToAngle = 0.0f;

    static OverlayItem Line(const TPoint2D& from, const TPoint2D& to, TColor color);
    static OverlayItem Arc(const TPoint2D& centre, double radius, double fromAngle, double toAngle, TColor color);
    static OverlayItem Point(const TPoint2D& at, TColor color);
};

class ViewOverlay {
public:
    const std::vector<OverlayItem>& Items() const { return items_; }
    std::size_t Count() const { return items_.size(); }
    bool Empty() const { return items_.empty(); }
    void Append(const OverlayItem& item) { items_.push_back(item); }
    void Clear();

    // One item with a one-pixel pen of its colour, through matrix (world to
    // pixels), clipped to clip; arcs as chords no more than a quarter pixel
    // from the circle. Returns the box of the pixels it may have changed,
    // empty when nothing of the item lies in clip. The canvas keeps the pen.
    TPixelRect DrawItem(const OverlayItem& item, Canvas& canvas, const TMatrix2D& matrix, const TPixelRect& clip);
    // Every item, in the order they came.
    void DrawAll(Canvas& canvas, const TMatrix2D& matrix, const TPixelRect& clip);

    // The cutter's mark centred on a pixel: a circle of kMarkerRadius pixels
    // with a short cross, with the canvas's pen as it stands; drawn twice at
    // the same place with an XOR pen it gives every pixel back, also when
    // each drawing is clipped to the same box.
    static constexpr int kMarkerRadius = 6;
    static void DrawMarker(Canvas& canvas, TPixelPoint centre);
    static TPixelRect MarkerBox(TPixelPoint centre);

private:
    TPixelRect DrawLine(const OverlayItem& item, Canvas& canvas, const TMatrix2D& matrix, const TPixelRect& clip);
    TPixelRect DrawArc(const OverlayItem& item, Canvas& canvas, const TMatrix2D& matrix, const TPixelRect& clip);
    TPixelRect DrawPoint(const OverlayItem& item, Canvas& canvas, const TMatrix2D& matrix, const TPixelRect& clip);

    std::vector<OverlayItem> items_;
    std::vector<TPoint2D> arcPoints_;  // kept between arcs to spare the allocations
};

// The smallest box holding both; an empty box adds nothing.
TPixelRect UnitePixelRects(const TPixelRect& a, const TPixelRect& b);
TPixelRect IntersectPixelRects(const TPixelRect& a, const TPixelRect& b);

}  // namespace calvoro

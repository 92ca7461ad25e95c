// The viewport of a 2D drawing: draws its objects with their layers' pens or
// with the XOR rubber pen, renders the drawing into any canvas, zooms to the
// drawing, picks the object under a point and fires mouse events that carry
// world coordinates.
#pragma once

#include "kernel/view/TQVViewport.h"

#include <vector>

namespace calvoro {

class TGraphicObjIterator;
class TQVCmp2D;
struct TGraphicObjectClass;

class TQVViewport2D : public TQVViewport {
public:
    using MouseMove2DEvent =
        std::function<void(TQVViewport2D& sender, TShiftState shift, int x, int y, double wx, double wy)>;
    using MouseButton2DEvent = std::function<void(TQVViewport2D& sender, TMouseButton button, TShiftState shift, int x,
                                                  int y, double wx, double wy)>;

    TQVViewport2D(std::unique_ptr<ViewSurface> offscreen, std::unique_ptr<ViewSurface> screen);

    TQVCmp2D* CADCmp2D() const { return drawing2D_; }
    void SetCADCmp2D(TQVCmp2D* drawing);
    // Only a 2D drawing (or none) can be shown here: anything else is refused
    // with std::bad_cast.
    void SetCADCmp(TQVCmp* drawing) override;
    void DrawingDestroyed() override;

    // The visual rect onto the client rect, corrected by the aspect ratio.
    TMatrix2D BuildViewTransform(TRect2D& visual, const TPixelRect& client, double aspectRatio) override;
    // Mode 0 fits without aspect correction, 1 with AspectRatio, any other
    // gives the current view matrix.
    TMatrix2D BuildMapping(const TRect2D& world, const TPixelRect& pixels, int mode) override;

    // The object with its layer's pen (or blue without UseLayerColor), and its
    // control points when ShowControlPoints.
    void DrawObject(TObject2D& object, Canvas& canvas, const TRect2D& clipRect) override;
    // The object with the rubber pen (XOR): a second call erases it.
    void DrawObjectWithRubberPen(TObject2D& object, Canvas& canvas, const TRect2D& clipRect);
    // On the offscreen and the screen image.
    void DrawSingleObject2D(TObject2D& object, bool withControlPoints);
    // On the screen image only, with the rubber pen.
    void DrawRubberObject2D(TObject2D& object, bool withControlPoints);
    void DrawToCanvas(const TRect2D& world, const TPixelRect& pixels, int mode, Canvas& canvas) override;
    // The drawing's box with a margin of a twentieth of its larger side. An
    // empty drawing, or one whose objects are all hidden, is only repainted; a
    // drawing that is a single point is centred in the current view.
    void ZoomToDrawing() override;

    // The object nearest to p within aperture pixels, preferring higher hit
    // codes (control point indices above outlines); ties go to the later
    // object, unless firstFound takes the first acceptable one. Objects on
    // hidden or inactive layers, outside the pick filter, out of view or drawn
    // without their layer's pen are never picked. None while the drawing's
    // lists are walked elsewhere (hitCode untouched then).
    TObject2D* HitObjectAt(const TPoint2D& p, int aperture, int& hitCode, bool firstFound);
    TPoint2D WorldToObjectPoint(const TObject2D& object, const TPoint2D& p) const;
    const TGraphicObjectClass& PickFilter() const { return *pickFilter_; }
    void SetPickFilter(const TGraphicObjectClass& filter) { pickFilter_ = &filter; }

    void SetOnMouseMove2D(MouseMove2DEvent handler) { onMouseMove2D_ = std::move(handler); }
    void SetOnMouseDown2D(MouseButton2DEvent handler) { onMouseDown2D_ = std::move(handler); }
    void SetOnMouseUp2D(MouseButton2DEvent handler) { onMouseUp2D_ = std::move(handler); }
    const MouseMove2DEvent& OnMouseMove2D() const { return onMouseMove2D_; }
    const MouseButton2DEvent& OnMouseDown2D() const { return onMouseDown2D_; }
    const MouseButton2DEvent& OnMouseUp2D() const { return onMouseUp2D_; }

protected:
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    // Where each object of the picked list can be hit at all: its box and its
    // control points, before growing by the aperture. Kept between picks while
    // neither the list nor any object's geometry has changed, so that a pick
    // looks closely only at the few objects near the point instead of walking
    // every object of a large drawing.
    struct PickEntry {
        TObject2D* Object;
        TRect2D Reach;
        bool Everywhere;  // an object whose reach cannot be told in advance
    };
    struct PickIndex {
        const void* List = nullptr;
        std::uint64_t ListRevision = 0;
        std::uint64_t GeometryRevision = 0;
        std::vector<PickEntry> Entries;
    };
    // The index of the list walked by the iterator, built anew when stale.
    const std::vector<PickEntry>& PickEntries(TGraphicObjIterator& iterator, const void* list,
                                              std::uint64_t listRevision);
    void DrawControlPointsOf(TObject2D& object, Canvas& canvas, const PenAttributes& pen, TColor brush);

    const TGraphicObjectClass* pickFilter_;
    PickIndex pickIndex_;
    TQVCmp2D* drawing2D_ = nullptr;
    MouseMove2DEvent onMouseMove2D_;
    MouseButton2DEvent onMouseDown2D_;
    MouseButton2DEvent onMouseUp2D_;
};

}  // namespace calvoro

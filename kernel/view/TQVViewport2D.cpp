// The 2D viewport.
#include "kernel/view/TQVViewport2D.h"

#include "kernel/drawing/QVCmp2D.h"
#include "kernel/entities/TObject2D.h"
#include "kernel/entities/TPrimitive2D.h"
#include "kernel/entities/TPrimitive2DHandler.h"
#include "kernel/geometry/Picking.h"
#include "kernel/geometry/PixelConversion.h"
#include "kernel/geometry/ViewMapping.h"
#include "kernel/model/GraphicObjList.h"

#include <algorithm>
#include <cmath>
#include <typeinfo>

namespace calvoro {

TQVViewport2D::TQVViewport2D(std::unique_ptr<ViewSurface> offscreen, std::unique_ptr<ViewSurface> screen)
    : TQVViewport(std::move(offscreen), std::move(screen)), pickFilter_(&TObject2D::Class) {}

void TQVViewport2D::SetCADCmp2D(TQVCmp2D* drawing) {
    if (drawing == drawing2D_) return;
    TQVViewport::SetCADCmp(drawing);
    drawing2D_ = drawing;
    pickIndex_ = PickIndex{};
}

void TQVViewport2D::DrawingDestroyed() {
    TQVViewport::DrawingDestroyed();
    drawing2D_ = nullptr;
    pickIndex_ = PickIndex{};
}

void TQVViewport2D::SetCADCmp(TQVCmp* drawing) {
    if (drawing == nullptr) {
        SetCADCmp2D(nullptr);
        return;
    }
    auto* drawing2D = dynamic_cast<TQVCmp2D*>(drawing);
    if (drawing2D == nullptr) throw std::bad_cast();
    SetCADCmp2D(drawing2D);
}

TMatrix2D TQVViewport2D::BuildViewTransform(TRect2D& visual, const TPixelRect& client, double aspectRatio) {
    return WorldToScreenMatrix2D(visual, client, aspectRatio);
}

TMatrix2D TQVViewport2D::BuildMapping(const TRect2D& world, const TPixelRect& pixels, int mode) {
    TRect2D box = world;
    switch (mode) {
        case 0:
            return WorldToScreenMatrix2D(box, pixels, 0.0);
        case 1:
            return WorldToScreenMatrix2D(box, pixels, AspectRatio());
        default:
            return GetViewMatrix();
    }
}

void TQVViewport2D::DrawControlPointsOf(TObject2D& object, Canvas& canvas, const PenAttributes& pen, TColor brush) {
    PenAttributes thin = pen;
    thin.Width = 1;
    canvas.SetPen(thin);
    canvas.SetBrush(BrushAttributes{brush, TBrushStyle::bsSolid});
    TDecorativeCanvas decorative(canvas);
    object.DrawControlPoints(GetViewMatrix(), decorative, ControlPointsWidth());
}

void TQVViewport2D::DrawObject(TObject2D& object, Canvas& canvas, const TRect2D& clipRect) {
    if (!object.IsVisible(VisualRect())) return;
    TDecorativeCanvas decorative(canvas);
    if (object.UseLayerColor()) {
        if (drawing2D_ != nullptr && !drawing2D_->Layers().SetCanvasForLayer(object.Layer(), decorative)) return;
        object.Draw(GetViewMatrix(), decorative, DrawMode(), clipRect);
        if (ShowControlPoints()) {
            DrawControlPointsOf(object, canvas,
                                PenAttributes{RubberPenColor(), TPenStyle::psSolid, TPenMode::pmCopy, 1},
                                ControlPointsColor());
        }
    } else {
        canvas.SetPen(PenAttributes{clBlue, TPenStyle::psSolid, TPenMode::pmCopy, 1});
        object.Draw(GetViewMatrix(), decorative, DrawMode(), clipRect);
    }
}

void TQVViewport2D::DrawObjectWithRubberPen(TObject2D& object, Canvas& canvas, const TRect2D& clipRect) {
    if (!object.IsVisible(VisualRect())) return;
    canvas.SetPen(RubberPen());
    canvas.SetBrush(BrushAttributes{RubberPen().Color, TBrushStyle::bsSolid});
    TDecorativeCanvas decorative(canvas);
    object.Draw(GetViewMatrix(), decorative, DrawMode(), clipRect);
    if (ShowControlPoints()) DrawControlPointsOf(object, canvas, RubberPen(), RubberPen().Color);
}

void TQVViewport2D::DrawSingleObject2D(TObject2D& object, bool withControlPoints) {
    if (ClientRect().IsEmpty()) return;
    const bool saved = ShowControlPoints();
    SetShowControlPoints(saved || withControlPoints);
    HideMarker();
    try {
        OffscreenCanvas().SetClipRect(ClientRect());
        DrawObject(object, OffscreenCanvas(), ClientClip());
        ScreenCanvas().SetClipRect(ClientRect());
        DrawObject(object, ScreenCanvas(), ClientClip());
    } catch (...) {
        SetShowControlPoints(saved);
        ShowMarker();
        throw;
    }
    SetShowControlPoints(saved);
    ShowMarker();
    ScreenChanged(ClientRect());
}

void TQVViewport2D::DrawRubberObject2D(TObject2D& object, bool withControlPoints) {
    if (ClientRect().IsEmpty()) return;
    const bool saved = ShowControlPoints();
    SetShowControlPoints(saved || withControlPoints);
    try {
        ScreenCanvas().SetClipRect(ClientRect());
        DrawObjectWithRubberPen(object, ScreenCanvas(), ClientClip());
    } catch (...) {
        SetShowControlPoints(saved);
        throw;
    }
    SetShowControlPoints(saved);
    ScreenChanged(ClientRect());
}

void TQVViewport2D::DrawToCanvas(const TRect2D& world, const TPixelRect& pixels, int mode, Canvas& canvas) {
    if (drawing2D_ == nullptr) return;
    // A list held by an exclusive walk elsewhere cannot be read now.
    if (DisplayList() != nullptr ? DisplayList()->ExclusiveHeld() : drawing2D_->HasExclusiveIterators()) return;
    const TMatrix2D matrix = BuildMapping(world, pixels, mode);
    TDecorativeCanvas decorative(canvas);
    const bool saved = ShowControlPoints();
    SetShowControlPoints(false);
    canvas.SetClipRect(ClientRect());
    const TRect2D clip = ClientClip();
    std::unique_ptr<TGraphicObjIterator> iterator =
        DisplayList() != nullptr ? DisplayList()->GetIterator() : drawing2D_->ObjectListIterator();
    for (TGraphicObject* object = iterator->First(); object != nullptr; object = iterator->Next()) {
        auto* object2D = dynamic_cast<TObject2D*>(object);
        if (object2D == nullptr || !object2D->IsVisible(world)) continue;
        drawing2D_->Layers().SetCanvasForLayer(object2D->Layer(), decorative);
        object2D->Draw(matrix, decorative, DrawMode(), clip);
    }
    SetShowControlPoints(saved);
}

void TQVViewport2D::ZoomToDrawing() {
    if (drawing2D_ == nullptr || drawing2D_->ObjectCount() == 0) {
        Repaint();
        return;
    }
    TRect2D box =
        MakeRect2D(TQVCmp2D::kNoBoxExtent, TQVCmp2D::kNoBoxExtent, -TQVCmp2D::kNoBoxExtent, -TQVCmp2D::kNoBoxExtent);
    drawing2D_->GetDrawingBox(box);
    box = CartesianRect2D(box);
    // Nothing visible: the box is still the inverted start box, and zooming to
    // it would throw the drawing far out of sight.
    if (box.Left > box.Right || box.Bottom > box.Top) {
        Repaint();
        return;
    }
    const double width = box.Right - box.Left;
    const double height = box.Top - box.Bottom;
    const double margin = std::max(std::fabs(width) / 20.0, std::fabs(height) / 20.0);
    if (margin == 0.0) {
        // A single point: the view keeps its size and centres on it.
        const TRect2D view = VisualRect();
        const double halfW = (view.Right - view.Left) / 2.0;
        const double halfH = (view.Top - view.Bottom) / 2.0;
        ZoomWindow(MakeRect2D(box.Left - halfW, box.Bottom - halfH, box.Left + halfW, box.Bottom + halfH));
        return;
    }
    ZoomWindow(MakeRect2D(box.Left - margin, box.Bottom - margin, box.Right + margin, box.Top + margin));
}

namespace {

// The box of the control points as the pick tests them: through the object's
// matrix, made cartesian.
TRect2D ControlPointReach(const TPrimitive2D& primitive) {
    const bool transformed = primitive.HasTransform();
    const TMatrix2D m = primitive.GetObjectMatrix();
    TRect2D reach = CartesianRect2D(primitive.Box());
    reach = ReorderRect2D(reach);
    for (const TPoint2D& point : primitive.Points().Points()) {
        const TPoint2D p = CartesianPoint(transformed ? PointTimesMatrix2D(point, m) : point);
        reach.Left = std::min(reach.Left, p.X);
        reach.Right = std::max(reach.Right, p.X);
        reach.Bottom = std::min(reach.Bottom, p.Y);
        reach.Top = std::max(reach.Top, p.Y);
    }
    return reach;
}

bool Reaches(const TRect2D& reach, const TPoint2D& p, double aperture) {
    // A little more than the aperture, so that rounding never leaves out an
    // object the full test would hit.
    const double margin = aperture * (1.0 + 1e-9) + 1e-9 * (std::fabs(p.X) + std::fabs(p.Y) + 1.0);
    return p.X >= reach.Left - margin && p.X <= reach.Right + margin && p.Y >= reach.Bottom - margin &&
           p.Y <= reach.Top + margin;
}

}  // namespace

const std::vector<TQVViewport2D::PickEntry>& TQVViewport2D::PickEntries(TGraphicObjIterator& iterator, const void* list,
                                                                        std::uint64_t listRevision) {
    const std::uint64_t geometry = TGraphicObject::GeometryRevision();
    if (pickIndex_.List == list && pickIndex_.ListRevision == listRevision && pickIndex_.GeometryRevision == geometry) {
        return pickIndex_.Entries;
    }
    pickIndex_.Entries.clear();
    for (TGraphicObject* object = iterator.First(); object != nullptr; object = iterator.Next()) {
        if (!object->InheritsFrom(TObject2D::Class)) continue;
        auto* object2D = static_cast<TObject2D*>(object);
        PickEntry entry{object2D, ReorderRect2D(CartesianRect2D(object2D->Box())), false};
        // Outside its grown box an object is hit only at a control point,
        // which the primitives' handler finds; any other handler may answer
        // anywhere.
        if (object2D->Handler()) {
            if (dynamic_cast<const TPrimitive2DHandler*>(object2D->Handler().get()) != nullptr &&
                object2D->InheritsFrom(TPrimitive2D::Class)) {
                entry.Reach = ControlPointReach(static_cast<const TPrimitive2D&>(*object2D));
            } else {
                entry.Everywhere = true;
            }
        }
        pickIndex_.Entries.push_back(entry);
    }
    // Working out the reach recalculates nothing, so the revisions read at
    // the start still describe what the index holds.
    pickIndex_.List = list;
    pickIndex_.ListRevision = listRevision;
    pickIndex_.GeometryRevision = geometry;
    return pickIndex_.Entries;
}

TObject2D* TQVViewport2D::HitObjectAt(const TPoint2D& p, int aperture, int& hitCode, bool firstFound) {
    if (DisplayList() == nullptr && drawing2D_ == nullptr) return nullptr;
    if (DisplayList() != nullptr ? DisplayList()->HasIterators() : drawing2D_->HasIterators()) return nullptr;
    std::unique_ptr<TExclusiveGraphicObjIterator> iterator =
        DisplayList() != nullptr ? DisplayList()->GetExclusiveIterator() : drawing2D_->ObjectListExclusiveIterator();
    const void* list = DisplayList() != nullptr ? static_cast<const void*>(DisplayList()) : drawing2D_;
    const std::uint64_t listRevision =
        DisplayList() != nullptr ? DisplayList()->Revision() : drawing2D_->ObjectListRevision();
    const std::vector<PickEntry>& entries = PickEntries(*iterator, list, listRevision);

    const double apertureDistance = GetPixelSize().X * aperture;
    double best = apertureDistance;
    hitCode = kHitMiss;
    TObject2D* result = nullptr;
    const TRect2D view = VisualRect();
    // In list order, so that ties go to the later object.
    for (const PickEntry& entry : entries) {
        if (!entry.Everywhere && !Reaches(entry.Reach, p, apertureDistance)) continue;
        TObject2D* object2D = entry.Object;
        if (drawing2D_ != nullptr) {
            const TLayer& layer = drawing2D_->Layers().LayerByIndex(object2D->Layer());
            if (!layer.Active() || !layer.Visible()) continue;
        }
        if (!object2D->InheritsFrom(*pickFilter_) || !object2D->IsVisible(view) || !object2D->UseLayerColor()) continue;
        double distance = kNoDistance;
        const int code = object2D->HitTest(p, distance, apertureDistance);
        if (code >= hitCode && distance <= best) {
            result = object2D;
            hitCode = code;
            best = distance;
            if (firstFound) break;
        }
    }
    return result;
}

TPoint2D TQVViewport2D::WorldToObjectPoint(const TObject2D& object, const TPoint2D& p) const {
    return object.HasTransform() ? PointTimesMatrix2D(p, InvertMatrix2D(object.GetObjectMatrix())) : p;
}

void TQVViewport2D::MouseMove(TShiftState shift, int x, int y) {
    if (ProgramDelivered() || !onMouseMove2D_) return;
    const TPoint2D w = CartesianPoint(ScreenToWorld(MakePoint2D(x, y)));
    onMouseMove2D_(*this, shift, x, y, w.X, w.Y);
}

void TQVViewport2D::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (ProgramDelivered() || !onMouseDown2D_) return;
    const TPoint2D w = CartesianPoint(ScreenToWorld(MakePoint2D(x, y)));
    onMouseDown2D_(*this, button, shift, x, y, w.X, w.Y);
}

void TQVViewport2D::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (ProgramDelivered() || !onMouseUp2D_) return;
    const TPoint2D w = CartesianPoint(ScreenToWorld(MakePoint2D(x, y)));
    onMouseUp2D_(*this, button, shift, x, y, w.X, w.Y);
}

}  // namespace calvoro

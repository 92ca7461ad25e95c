// The base of every object a 2D drawing holds. It adds to the graphic object
// a box in world units, a two-stage transform, a shared control-point handler,
// the draw and pick contract the viewport relies on, and the object matrix in
// the stream record.
//
// The transform has two stages: ModelMatrix is the stored ("frozen") one and
// TempMatrix the one that editing sets and accumulates; the object matrix is
// ModelMatrix x TempMatrix, the model transform applying first. A stage equal
// to the identity is never kept.
#pragma once

#include "kernel/entities/TObject2DHandler.h"
#include "kernel/geometry/Matrix2D.h"
#include "kernel/geometry/Rect2D.h"
#include "kernel/model/GraphicObject.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace calvoro {

class TDecorativeCanvas;

class TObject2D : public TGraphicObject {
public:
    static const TGraphicObjectClass Class;

    explicit TObject2D(std::int32_t id);
    // Reads the header and the object matrix, which becomes the ModelMatrix.
    TObject2D(BinaryReader& reader, const VersionTag& version);
    ~TObject2D() override = default;

    // A complete copy with the object's own class: the same ID and layer, and
    // everything Assign copies.
    virtual std::unique_ptr<TObject2D> Clone() const = 0;

    // Writes the header and the object matrix. Writing freezes the transform:
    // afterwards the object matrix lives in ModelMatrix and TempMatrix is empty.
    void SaveToStream(BinaryWriter& writer) override;
    // The graphic object's switches; from another 2D object also its object
    // matrix (as ModelMatrix), its box and its handler.
    void Assign(const TGraphicObject& source) override;

    // ModelMatrix x TempMatrix; the identity when neither is set.
    virtual TMatrix2D GetObjectMatrix() const;
    // TempMatrix := m (none for the identity), then RecalcBox.
    virtual void SetObjectMatrix(const TMatrix2D& m);
    virtual bool HasTransform() const;
    // TempMatrix x m becomes the TempMatrix (m alone when there is none).
    virtual void ApplyTransform(const TMatrix2D& m);
    // The object matrix becomes the ModelMatrix and TempMatrix is dropped.
    virtual void FreezeTransform();
    // Both stages dropped, then RecalcBox.
    void ClearTransforms();
    // A world point in the object's own coordinates (through the inverse of
    // the object matrix; a singular matrix maps everything to the origin).
    TPoint2D WorldToObject(const TPoint2D& p) const;

    // Matrix maps world coordinates to pixels, Canvas is the viewport's canvas,
    // Mode is handed on to nested objects unchanged and ClipRect is the pixel
    // box to clip to.
    virtual void Draw(const TMatrix2D& matrix, TDecorativeCanvas& canvas, int mode, const TRect2D& clipRect) = 0;
    // Visible, and the box touches or overlaps r.
    virtual bool IsVisible(const TRect2D& r) const;
    // The box (when DrawBoundingBox is set and the pen does not XOR), then
    // the handler's control points.
    virtual void DrawControlPoints(const TMatrix2D& matrix, TDecorativeCanvas& canvas, int width);
    // kHitMiss (Distance kNoDistance) for a disabled object or a point outside
    // the box grown by the aperture; kHitNearBox (Distance = Aperture) inside
    // it; a control point index when the handler finds one, which wins.
    // Descendants refine kHitNearBox with their outline.
    virtual int HitTest(const TPoint2D& point, double& distance, double aperture);

    const TRect2D& Box() const { return box_; }
    const std::optional<TMatrix2D>& ModelMatrix() const { return modelMatrix_; }
    const std::optional<TMatrix2D>& TempMatrix() const { return tempMatrix_; }
    bool DrawBoundingBox() const { return drawBoundingBox_; }
    void SetDrawBoundingBox(bool draw) { drawBoundingBox_ = draw; }
    const std::shared_ptr<TObject2DHandler>& Handler() const { return handler_; }
    void SetHandler(std::shared_ptr<TObject2DHandler> handler) { handler_ = std::move(handler); }

protected:
    void SetBox(const TRect2D& box) { box_ = box; }
    // The matrix that carries the object's own coordinates to pixels.
    TMatrix2D DrawingMatrix(const TMatrix2D& matrix) const {
        return HasTransform() ? MultiplyMatrix2D(GetObjectMatrix(), matrix) : matrix;
    }

private:
    static std::optional<TMatrix2D> Stored(const TMatrix2D& m);

    std::optional<TMatrix2D> modelMatrix_;
    std::optional<TMatrix2D> tempMatrix_;
    bool drawBoundingBox_ = false;
    TRect2D box_{0.0, 0.0, 1.0, 0.0, 0.0, 1.0};
    std::shared_ptr<TObject2DHandler> handler_;
};

// Clones of the classes that have an empty constructor for the purpose: an
// object of the same class with the same ID, assigned from the source.
template <class T>
std::unique_ptr<TObject2D> CloneByAssign(const T& source, std::unique_ptr<T> empty) {
    empty->Assign(source);
    empty->SetLayer(source.Layer());
    return empty;
}

}  // namespace calvoro

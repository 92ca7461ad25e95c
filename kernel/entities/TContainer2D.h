// A 2D object that owns other 2D objects and draws, picks and streams them as
// one, through its own transform. Nested objects keep their IDs.
#pragma once

#include "kernel/entities/TObject2D.h"
#include "kernel/model/GraphicObjList.h"

#include <memory>

namespace calvoro {

class TGraphicObjIterator;

class TContainer2D : public TObject2D {
public:
    static const TGraphicObjectClass Class;
    // How deep containers may nest in a stream; a deeper record is refused.
    static constexpr int MaxNestingDepth = 64;

    // An empty container.
    explicit TContainer2D(std::int32_t id);
    // Reads the object record, then the nested objects, each with its class index.
    TContainer2D(BinaryReader& reader, const VersionTag& version);

    const TGraphicObjectClass& ClassType() const override { return Class; }
    std::unique_ptr<TObject2D> Clone() const override;

    TGraphicObjList& Objects() { return objects_; }
    const TGraphicObjList& Objects() const { return objects_; }

    // The union of the children's boxes, carried by the object matrix; an
    // empty container has the box (0, 0)-(0, 0).
    void UpdateBox() override;
    void SaveToStream(BinaryWriter& writer) override;
    // The 2D object part, then a copy of every child with its own class. A
    // source list held by an exclusive iterator is refused before anything
    // changes.
    void Assign(const TGraphicObject& source) override;
    // Every child through the container's transform, each starting from the
    // pen and brush the canvas had when the container began.
    void Draw(const TMatrix2D& matrix, TDecorativeCanvas& canvas, int mode, const TRect2D& clipRect) override;
    // From kHitNearBox on, the ID of the nearest child that is hit (a child
    // result of kHitInside or more), with its distance; the best distance
    // starts at twice the aperture.
    int HitTest(const TPoint2D& point, double& distance, double aperture) override;
    void DrawControlPoints(const TMatrix2D& matrix, TDecorativeCanvas& canvas, int width) override;

    // Links the block instances inside (nested source blocks included) to the
    // source blocks that `blocks` walks; raises ECADListObjNotFound when one
    // is missing.
    void RelinkBlockSources(TGraphicObjIterator& blocks);

private:
    TGraphicObjList objects_;
};

}  // namespace calvoro

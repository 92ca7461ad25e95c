// A block instance: draws a source block through its own transform. An
// instance read from a stream knows only the name of its source until the
// drawing links it (UpdateReference); until then it draws and picks nothing.
#pragma once

#include "kernel/entities/BlockName.h"
#include "kernel/entities/TObject2D.h"

namespace calvoro {

class TGraphicObjIterator;
class TSourceBlock2D;

class TBlock2D : public TObject2D {
public:
    static const TGraphicObjectClass Class;

    // An instance of `source`; the insertion point is in the instance's own
    // coordinates, which its object matrix carries to the world.
    TBlock2D(std::int32_t id, TSourceBlock2D& source, const TPoint2D& insertionPoint);
    // The object record, the source name and the insertion point; not linked.
    TBlock2D(BinaryReader& reader, const VersionTag& version);
    ~TBlock2D() override;

    const TGraphicObjectClass& ClassType() const override { return Class; }
    std::unique_ptr<TObject2D> Clone() const override;

    // The source's box (recalculated first) carried by the object matrix;
    // without a source the box stays.
    void UpdateBox() override;
    void SaveToStream(BinaryWriter& writer) override;
    // From another instance: its source (counted), source name and insertion point.
    void Assign(const TGraphicObject& source) override;
    void Draw(const TMatrix2D& matrix, TDecorativeCanvas& canvas, int mode, const TRect2D& clipRect) override;
    // kHitOutline near the insertion point, else the source's own pick of the
    // point taken into the source's coordinates (with the aperture and the
    // distance in those); kHitMiss without a source or when disabled.
    int HitTest(const TPoint2D& point, double& distance, double aperture) override;
    // The base drawing, then a control-point square at the insertion point.
    void DrawControlPoints(const TMatrix2D& matrix, TDecorativeCanvas& canvas, int width) override;

    // Links the instance to the first source block that `blocks` walks whose
    // name matches SourceName on all 13 bytes. None raises
    // ECADListObjNotFound and leaves the link as it was.
    void UpdateReference(TGraphicObjIterator& blocks);

    TSourceBlock2D* SourceBlock() const { return source_; }
    const TBlockName& SourceName() const { return sourceName_; }
    const TPoint2D& InsertionPoint() const { return insertionPoint_; }

private:
    friend class TSourceBlock2D;
    explicit TBlock2D(std::int32_t id);
    // Counts the old source down and the new one up.
    void LinkTo(TSourceBlock2D* source);

    TSourceBlock2D* source_ = nullptr;
    TBlockName sourceName_{};
    TPoint2D insertionPoint_{};
};

}  // namespace calvoro

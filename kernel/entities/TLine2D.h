// The segment entity: control points 0 (start) and 1 (end).
#pragma once

#include "kernel/entities/TPrimitive2D.h"

namespace calvoro {

class TLine2D : public TPrimitive2D {
public:
    static const TGraphicObjectClass Class;

    TLine2D(std::int32_t id, const TPoint2D& p1, const TPoint2D& p2);
    // Refuses a record that does not hold exactly two points.
    TLine2D(BinaryReader& reader, const VersionTag& version);

    const TGraphicObjectClass& ClassType() const override { return Class; }
    std::unique_ptr<TObject2D> Clone() const override;
    // From another line: its two points.
    void Assign(const TGraphicObject& source) override;
    void Draw(const TMatrix2D& matrix, TDecorativeCanvas& canvas, int mode, const TRect2D& clipRect) override;
    // kHitOutline within the aperture of the segment, else kHitNearBox.
    int HitTest(const TPoint2D& point, double& distance, double aperture) override;

protected:
    bool AcceptsPointsOf(const TGraphicObject& source) const override;

private:
    explicit TLine2D(std::int32_t id) : TPrimitive2D(id, 0) {}
};

}  // namespace calvoro

// The point entity: one control point, drawn as a cross.
#pragma once

#include "kernel/entities/TPrimitive2D.h"

namespace calvoro {

class TPunto2D : public TPrimitive2D {
public:
    static const TGraphicObjectClass Class;

    TPunto2D(std::int32_t id, const TPoint2D& p);
    // Refuses a record that does not hold exactly one point.
    TPunto2D(BinaryReader& reader, const VersionTag& version);

    const TGraphicObjectClass& ClassType() const override { return Class; }
    std::unique_ptr<TObject2D> Clone() const override;
    // From another point entity: its point.
    void Assign(const TGraphicObject& source) override;
    void Draw(const TMatrix2D& matrix, TDecorativeCanvas& canvas, int mode, const TRect2D& clipRect) override;
    // A lone point has no segment: kHitNearBox unless its control point is hit.
    int HitTest(const TPoint2D& point, double& distance, double aperture) override;

protected:
    bool AcceptsPointsOf(const TGraphicObject& source) const override;

private:
    explicit TPunto2D(std::int32_t id) : TPrimitive2D(id, 0) {}
};

}  // namespace calvoro

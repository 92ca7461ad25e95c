// The open polyline entity: its control points are its profile.
#pragma once

#include "kernel/entities/TOutline2D.h"

#include <span>

namespace calvoro {

class TPolyline2D : public TOutline2D {
public:
    static const TGraphicObjectClass Class;

    TPolyline2D(std::int32_t id, std::span<const TPoint2D> points);
    TPolyline2D(BinaryReader& reader, const VersionTag& version);

    const TGraphicObjectClass& ClassType() const override { return Class; }
    std::unique_ptr<TObject2D> Clone() const override;
    // From a line, polyline or polygon: all its points; stays growable.
    void Assign(const TGraphicObject& source) override;
    void Draw(const TMatrix2D& matrix, TDecorativeCanvas& canvas, int mode, const TRect2D& clipRect) override;
    // kHitOutline within the aperture of a segment (the polyline is open),
    // else kHitNearBox.
    int HitTest(const TPoint2D& point, double& distance, double aperture) override;

    TPointsSet2D& GetProfilePoints() override { return Points(); }
    int GetNPts() override { return Points().Count(); }

protected:
    explicit TPolyline2D(std::int32_t id) : TOutline2D(id, 0) {}
    bool AcceptsPointsOf(const TGraphicObject& source) const override;
};

}  // namespace calvoro

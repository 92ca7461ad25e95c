// The closed polygon entity: the polyline's points, closed and filled with the
// canvas brush.
#pragma once

#include "kernel/entities/TPolyline2D.h"

namespace calvoro {

class TPolygon2D : public TPolyline2D {
public:
    static const TGraphicObjectClass Class;

    using TPolyline2D::TPolyline2D;

    const TGraphicObjectClass& ClassType() const override { return Class; }
    std::unique_ptr<TObject2D> Clone() const override;
    void Draw(const TMatrix2D& matrix, TDecorativeCanvas& canvas, int mode, const TRect2D& clipRect) override;
    // The open polyline's test first; then the closed polygon: kHitOutline
    // near its border (the closing edge included), kHitInside inside it,
    // else kHitNearBox.
    int HitTest(const TPoint2D& point, double& distance, double aperture) override;
    bool IsClosed() override { return true; }
};

}  // namespace calvoro

// The filled rectangle: a frame drawn as a polygon filled with the canvas brush.
#pragma once

#include "kernel/entities/TFrame2D.h"

namespace calvoro {

class TRectangle2D : public TFrame2D {
public:
    static const TGraphicObjectClass Class;

    using TFrame2D::TFrame2D;

    const TGraphicObjectClass& ClassType() const override { return Class; }
    std::unique_ptr<TObject2D> Clone() const override;
    // The frame's test, then inside the outline kHitInside.
    int HitTest(const TPoint2D& point, double& distance, double aperture) override;

protected:
    bool FillsProfile() const override { return true; }
};

}  // namespace calvoro

// The filled ellipse: an ellipse drawn as a polygon filled with the canvas brush.
#pragma once

#include "kernel/entities/TEllipse2D.h"

namespace calvoro {

class TFilledEllipse2D : public TEllipse2D {
public:
    static const TGraphicObjectClass Class;

    using TEllipse2D::TEllipse2D;

    const TGraphicObjectClass& ClassType() const override { return Class; }
    std::unique_ptr<TObject2D> Clone() const override;
    // The ellipse's test, then inside the outline kHitInside.
    int HitTest(const TPoint2D& point, double& distance, double aperture) override;

protected:
    bool FillsProfile() const override { return true; }
};

}  // namespace calvoro

// The filled circle: a circle drawn as a polygon filled with the canvas brush.
// Its pick is the circle's: the outline, not the area.
#pragma once

#include "kernel/entities/TCerchio2D.h"

namespace calvoro {

class TFilledCerchio2D : public TCerchio2D {
public:
    static const TGraphicObjectClass Class;

    using TCerchio2D::TCerchio2D;

    const TGraphicObjectClass& ClassType() const override { return Class; }
    std::unique_ptr<TObject2D> Clone() const override;

protected:
    bool FillsProfile() const override { return true; }
};

}  // namespace calvoro

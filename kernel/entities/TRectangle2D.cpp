// The filled rectangle.
#include "kernel/entities/TRectangle2D.h"

namespace calvoro {

const TGraphicObjectClass TRectangle2D::Class{"TRectangle2D", &TFrame2D::Class, &ConstructFromStream<TRectangle2D>};

std::unique_ptr<TObject2D> TRectangle2D::Clone() const {
    return CloneByAssign(*this, std::unique_ptr<TRectangle2D>(new TRectangle2D(ID())));
}

int TRectangle2D::HitTest(const TPoint2D& point, double& distance, double aperture) {
    return HitFilledProfile(point, distance, aperture);
}

}  // namespace calvoro

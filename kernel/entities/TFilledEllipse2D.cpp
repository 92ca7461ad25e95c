// The filled ellipse.
#include "kernel/entities/TFilledEllipse2D.h"

namespace calvoro {

const TGraphicObjectClass TFilledEllipse2D::Class{"TFilledEllipse2D", &TEllipse2D::Class,
                                                  &ConstructFromStream<TFilledEllipse2D>};

std::unique_ptr<TObject2D> TFilledEllipse2D::Clone() const {
    return CloneByAssign(*this, std::unique_ptr<TFilledEllipse2D>(new TFilledEllipse2D(ID())));
}

int TFilledEllipse2D::HitTest(const TPoint2D& point, double& distance, double aperture) {
    return HitFilledProfile(point, distance, aperture);
}

}  // namespace calvoro

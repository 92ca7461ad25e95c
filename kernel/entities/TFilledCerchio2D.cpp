// The filled circle.
#include "kernel/entities/TFilledCerchio2D.h"

namespace calvoro {

const TGraphicObjectClass TFilledCerchio2D::Class{"TFilledCerchio2D", &TCerchio2D::Class,
                                                  &ConstructFromStream<TFilledCerchio2D>};

std::unique_ptr<TObject2D> TFilledCerchio2D::Clone() const {
    return CloneByAssign(*this, std::unique_ptr<TFilledCerchio2D>(new TFilledCerchio2D(ID())));
}

}  // namespace calvoro

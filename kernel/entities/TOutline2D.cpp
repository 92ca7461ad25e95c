// Outlines: whether a profile closes on itself.
#include "kernel/entities/TOutline2D.h"

#include "kernel/geometry/PlaneGeometry.h"

namespace calvoro {

const TGraphicObjectClass TOutline2D::Class{"TOutline2D", &TPrimitive2D::Class, nullptr};

bool TOutline2D::IsClosed() {
    const ProfileUse use(*this);
    if (!HasProfilePoints()) return false;
    const TPointsSet2D& profile = GetProfilePoints();
    const int count = profile.Count();
    return count > 2 && IsSamePoint2D(profile.Get(count - 1), profile.Get(0));
}

}  // namespace calvoro

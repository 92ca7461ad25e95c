// A primitive with a profile: the polyline that stands for the entity when it
// is drawn, hit or exported. A polyline's profile is its control points; a
// curve computes its profile from them and may keep it only while it is used,
// so every reader brackets its reading with a ProfileUse.
#pragma once

#include "kernel/entities/TPrimitive2D.h"

namespace calvoro {

class TOutline2D : public TPrimitive2D {
public:
    static const TGraphicObjectClass Class;

    using TPrimitive2D::TPrimitive2D;

    // The profile; only within a Begin/EndUseProfilePoints bracket.
    virtual TPointsSet2D& GetProfilePoints() = 0;
    virtual int GetNPts() = 0;
    // More than two profile points and the last one on the first (within
    // the geometric tolerance). An outline without a profile is open.
    virtual bool IsClosed();
    virtual void BeginUseProfilePoints() {}
    virtual void EndUseProfilePoints() {}
    // Whether GetProfilePoints has a profile to give now.
    virtual bool HasProfilePoints() const { return true; }
};

// Begin/EndUseProfilePoints for the length of a scope.
class ProfileUse {
public:
    explicit ProfileUse(TOutline2D& outline) : outline_(outline) { outline_.BeginUseProfilePoints(); }
    ~ProfileUse() { outline_.EndUseProfilePoints(); }
    ProfileUse(const ProfileUse&) = delete;
    ProfileUse& operator=(const ProfileUse&) = delete;

private:
    TOutline2D& outline_;
};

}  // namespace calvoro

// The circle entity: control point 0 is the centre, 1 a point on the circle.
// Linearised clockwise from the right-hand end of its horizontal diameter.
#pragma once

#include "kernel/entities/TCurve2D.h"

namespace calvoro {

class TCerchio2D : public TCurve2D {
public:
    static const TGraphicObjectClass Class;

    TCerchio2D(std::int32_t id, const TPoint2D& centre, const TPoint2D& onCircle);
    // Refuses a record that does not hold exactly two points.
    TCerchio2D(BinaryReader& reader, const VersionTag& version);

    const TGraphicObjectClass& ClassType() const override { return Class; }
    std::unique_ptr<TObject2D> Clone() const override;
    // From an ellipse, a frame, an arc or a circle: points 0 and 1 (so the
    // first corner of a frame or ellipse becomes the centre).
    void Assign(const TGraphicObject& source) override;

protected:
    explicit TCerchio2D(std::int32_t id) : TCurve2D(id, 0, DefaultSegmentCount) {}
    bool AcceptsPointsOf(const TGraphicObject& source) const override;
    void BuildCurvePoints(TRect2D& box) override;
};

}  // namespace calvoro

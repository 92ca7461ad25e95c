// The closed ellipse entity: control points 0 and 1 are corners of its
// bounding box. Linearised clockwise from the right-hand end of its X axis.
#pragma once

#include "kernel/entities/TCurve2D.h"

namespace calvoro {

class TEllipse2D : public TCurve2D {
public:
    static const TGraphicObjectClass Class;

    // The ellipse inscribed in the box with corners p1 and p2.
    TEllipse2D(std::int32_t id, const TPoint2D& p1, const TPoint2D& p2);
    // Refuses a record that does not hold exactly two points.
    TEllipse2D(BinaryReader& reader, const VersionTag& version);

    const TGraphicObjectClass& ClassType() const override { return Class; }
    std::unique_ptr<TObject2D> Clone() const override;
    // From an ellipse, a frame or an arc: points 0 and 1.
    void Assign(const TGraphicObject& source) override;

protected:
    explicit TEllipse2D(std::int32_t id) : TCurve2D(id, 0, DefaultSegmentCount) {}
    bool AcceptsPointsOf(const TGraphicObject& source) const override;
    void BuildCurvePoints(TRect2D& box) override;
};

}  // namespace calvoro

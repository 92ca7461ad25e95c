// The frame entity: an axis-aligned rectangle outline given by two opposite
// corners (control points 0 and 1), linearised as five points.
#pragma once

#include "kernel/entities/TCurve2D.h"

namespace calvoro {

class TFrame2D : public TCurve2D {
public:
    static const TGraphicObjectClass Class;

    TFrame2D(std::int32_t id, const TPoint2D& p1, const TPoint2D& p2);
    // Refuses a record that does not hold exactly two points.
    TFrame2D(BinaryReader& reader, const VersionTag& version);

    const TGraphicObjectClass& ClassType() const override { return Class; }
    std::unique_ptr<TObject2D> Clone() const override;
    // From a frame, an ellipse or an open ellipse: points 0 and 1.
    void Assign(const TGraphicObject& source) override;

protected:
    explicit TFrame2D(std::int32_t id) : TCurve2D(id, 0, DefaultSegmentCount) {}
    bool AcceptsPointsOf(const TGraphicObject& source) const override;
    void BuildCurvePoints(TRect2D& box) override;
};

}  // namespace calvoro

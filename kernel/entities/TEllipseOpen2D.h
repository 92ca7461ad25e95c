// The open ellipse: an elliptic arc. Control points 0 and 1 are corners of
// the full ellipse's box, 2 and 3 its start and end points; the angles follow
// points 2 and 3. Its box is the full ellipse's. The record after the curve's
// adds u8 Direction.
#pragma once

#include "kernel/entities/CurveParameters.h"
#include "kernel/entities/TCurve2D.h"

namespace calvoro {

class TEllipseOpen2D : public TCurve2D {
public:
    static const TGraphicObjectClass Class;

    // Refuses a record with neither 2 nor 4 points; a record with two gets
    // both ends at angle 0. Any Direction byte other than 0 reads as 1.
    TEllipseOpen2D(BinaryReader& reader, const VersionTag& version);

    const TGraphicObjectClass& ClassType() const override { return Class; }
    std::unique_ptr<TObject2D> Clone() const override;
    void SaveToStream(BinaryWriter& writer) override;
    // From an open ellipse: angles, Direction and points 0 .. 3. From an
    // ellipse or a frame: points 0 and 1, both ends at the origin.
    void Assign(const TGraphicObject& source) override;

    double StartAngle() const { return ends_.StartAngle; }
    double EndAngle() const { return ends_.EndAngle; }
    std::uint8_t Direction() const { return ends_.Direction; }

protected:
    explicit TEllipseOpen2D(std::int32_t id) : TCurve2D(id, 0, DefaultSegmentCount) {}
    bool AcceptsPointsOf(const TGraphicObject& source) const override;
    void BuildCurvePoints(TRect2D& box) override;

private:
    TArcEnds ends_;
};

}  // namespace calvoro

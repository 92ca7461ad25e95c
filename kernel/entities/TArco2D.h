// The circular arc entity. Control point 0 is the centre, 1 a point at the
// radius, 2 the start point and 3 the end point; the angles follow points 2
// and 3. The record after the curve's adds u8 Direction.
#pragma once

#include "kernel/entities/CurveParameters.h"
#include "kernel/entities/TCurve2D.h"

namespace calvoro {

// An arc in world coordinates, always counter-clockwise from start to end.
struct TArcData {
    TPoint2D Centre;
    double Radius = 0.0;
    double StartAngle = 0.0;
    double EndAngle = 0.0;
    double Sweep = 0.0;
    TPoint2D StartPoint;
    TPoint2D EndPoint;
};

class TArco2D : public TCurve2D {
public:
    static const TGraphicObjectClass Class;

    // The counter-clockwise arc of centre p1 through p2 from startAngle to
    // endAngle (radians).
    TArco2D(std::int32_t id, const TPoint2D& p1, const TPoint2D& p2, double startAngle, double endAngle);
    // Refuses a record with neither 2 nor 4 points; a record with two gets
    // both ends at angle 0. Any Direction byte other than 0 reads as 1.
    TArco2D(BinaryReader& reader, const VersionTag& version);

    const TGraphicObjectClass& ClassType() const override { return Class; }
    std::unique_ptr<TObject2D> Clone() const override;
    void SaveToStream(BinaryWriter& writer) override;
    // From an arc: angles, Direction and all four points, so that a copy
    // keeps its ends. From an ellipse or a frame: points 0 and 1, both ends
    // at the origin.
    void Assign(const TGraphicObject& source) override;

    double StartAngle() const { return ends_.StartAngle; }
    double EndAngle() const { return ends_.EndAngle; }
    std::uint8_t Direction() const { return ends_.Direction; }
    // Moves the start (end) point to that angle on the circle, measured
    // counter-clockwise whatever the Direction.
    void SetStartAngle(double angle);
    void SetEndAngle(double angle);

    // The arc as the world sees it, through the object matrix: a mirroring
    // matrix (or a clockwise arc) swaps start and end, so that the result
    // always runs counter-clockwise.
    TArcData GetArcData() const;
    // The point at fraction f of the sweep from the start; f within 1e-14 of
    // 0 or 1 gives the exact start or end point.
    TPoint2D ArcPointAt(double f) const;

protected:
    explicit TArco2D(std::int32_t id) : TCurve2D(id, 0, DefaultSegmentCount) {}
    bool AcceptsPointsOf(const TGraphicObject& source) const override;
    void BuildCurvePoints(TRect2D& box) override;

private:
    void PutEnd(int index, double angle);

    TArcEnds ends_;
};

}  // namespace calvoro

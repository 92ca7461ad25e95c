// The base of the drawing entities whose geometry is a list of control points.
// The points set tells the primitive of every change, which recomputes its box
// and passes the change on (RecalcBox). The record after the 2D object part:
//   u16 count N, N points (X, Y, W as doubles), u8 Growable.
#pragma once

#include "kernel/entities/TObject2D.h"
#include "kernel/geometry/PointsSet2D.h"

#include <memory>
#include <span>

namespace calvoro {

class TPrimitive2D : public TObject2D {
public:
    static const TGraphicObjectClass Class;

    // An empty points set of that capacity, growable; the shared handler
    // shows and picks the control points.
    TPrimitive2D(std::int32_t id, int capacity);
    // The record, with no control-point handler: a primitive read from a
    // stream shows no control squares and is picked by its outline alone.
    TPrimitive2D(BinaryReader& reader, const VersionTag& version);

    TPointsSet2D& Points() { return *points_; }
    const TPointsSet2D& Points() const { return *points_; }

    // The box of the control points carried by the object matrix; all zero
    // without points.
    void UpdateBox() override;
    void SaveToStream(BinaryWriter& writer) override;
    // The 2D object part; then, from a primitive whose points this class
    // takes (AcceptsPointsOf), the points are emptied for the subclass to
    // copy what it takes. A primitive of a class it does not take leaves the
    // points as they are.
    void Assign(const TGraphicObject& source) override;

protected:
    // Whether Assign takes the control points of `source`; no class does here.
    virtual bool AcceptsPointsOf(const TGraphicObject& /*source*/) const { return false; }

    // Puts the points without notifying, sets Growable, then RecalcBox.
    void PlacePoints(std::span<const TPoint2D> points, bool growable);
    // Copies points first .. last of the source primitive (none when last <
    // first) and sets Growable.
    void TakePoints(const TGraphicObject& source, int first, int last, bool growable);
    // The pick of the entities drawn as a polyline through their control
    // points: the 2D object's test, refined from kHitNearBox by the open
    // polyline of the points (HitOpenPolyline).
    int HitControlPolyline(const TPoint2D& point, double& distance, double aperture);
    // kHitOutline when a segment of the open polyline (carried by the object
    // matrix) lies within the aperture, else kHitNearBox; Distance becomes the
    // smaller of the aperture and the best segment distance.
    int HitOpenPolyline(std::span<const TPoint2D> points, const TPoint2D& point, double& distance,
                        double aperture) const;
    // The closed, filled polygon of the points: kHitOutline when its border
    // lies nearer than the aperture, kHitInside inside it, else kHitNearBox;
    // Distance as above.
    int HitFilledPolygon(std::span<const TPoint2D> points, const TPoint2D& point, double& distance,
                         double aperture) const;
    // Refuses a record whose point count is none of the allowed ones: a
    // fixed-size entity with the wrong number of points cannot be drawn.
    void RequirePointCount(std::initializer_list<int> allowed) const;

private:
    void WirePoints();

    std::unique_ptr<TPointsSet2D> points_;
};

}  // namespace calvoro

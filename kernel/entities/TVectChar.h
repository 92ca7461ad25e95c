// One glyph of a vector font: a few polylines in glyph units (the baseline at
// Y = 0, a capital about one unit high) and the box that holds them.
#pragma once

#include "kernel/geometry/PointsSet2D.h"
#include "kernel/geometry/Rect2D.h"

#include <memory>
#include <span>
#include <vector>

namespace calvoro {

class TVectChar {
public:
    // polylineCount empty polylines.
    explicit TVectChar(int polylineCount = 0);

    int PolylineCount() const { return static_cast<int>(polylines_.size()); }
    TPointsSet2D& Polyline(int index);
    const TPointsSet2D& Polyline(int index) const;
    // A new polyline holding the points, at the end.
    TPointsSet2D& AddPolyline(std::span<const TPoint2D> points);

    // The union of the all-zero box with every polyline's box, so that the
    // origin always lies inside the glyph's box.
    void UpdateExtension();
    const TRect2D& Extension() const { return extension_; }

private:
    std::vector<std::unique_ptr<TPointsSet2D>> polylines_;
    TRect2D extension_ = MakeRect2D(0.0, 0.0, 0.0, 0.0);
};

}  // namespace calvoro

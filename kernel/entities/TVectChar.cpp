// Glyph polylines and their box.
#include "kernel/entities/TVectChar.h"

#include "kernel/model/CADCoreExceptions.h"

namespace calvoro {

TVectChar::TVectChar(int polylineCount) {
    for (int i = 0; i < polylineCount; ++i) polylines_.push_back(std::make_unique<TPointsSet2D>(0));
}

TPointsSet2D& TVectChar::Polyline(int index) {
    if (index < 0 || index >= PolylineCount()) throw ECADOutOfBound("TVectChar.Polyline: Index out of bound");
    return *polylines_[static_cast<std::size_t>(index)];
}

const TPointsSet2D& TVectChar::Polyline(int index) const {
    return const_cast<TVectChar*>(this)->Polyline(index);
}

TPointsSet2D& TVectChar::AddPolyline(std::span<const TPoint2D> points) {
    auto polyline = std::make_unique<TPointsSet2D>(static_cast<int>(points.size()));
    polyline->AddPoints(points);
    polylines_.push_back(std::move(polyline));
    return *polylines_.back();
}

void TVectChar::UpdateExtension() {
    TRect2D box = MakeRect2D(0.0, 0.0, 0.0, 0.0);
    for (const auto& polyline : polylines_) {
        if (polyline->Count() > 0) box = UnionRect2D(box, polyline->GetBox());
    }
    extension_ = box;
}

}  // namespace calvoro

// Primitives: control points, their record and their box.
#include "kernel/entities/TPrimitive2D.h"

#include "kernel/entities/TPrimitive2DHandler.h"
#include "kernel/geometry/Picking.h"
#include "kernel/geometry/Transform2D.h"
#include "kernel/model/BinaryReader.h"
#include "kernel/model/BinaryWriter.h"
#include "kernel/model/CADCoreExceptions.h"

#include <algorithm>
#include <string>

namespace calvoro {

const TGraphicObjectClass TPrimitive2D::Class{"TPrimitive2D", &TObject2D::Class, nullptr};

TPrimitive2D::TPrimitive2D(std::int32_t id, int capacity)
    : TObject2D(id), points_(std::make_unique<TPointsSet2D>(capacity)) {
    WirePoints();
    SetHandler(TPrimitive2DHandler::Shared());
}

TPrimitive2D::TPrimitive2D(BinaryReader& reader, const VersionTag& version) : TObject2D(reader, version) {
    const std::uint16_t count = reader.readUInt16();
    reader.requireAvailable(count, 24, "TPrimitive2D points");
    points_ = std::make_unique<TPointsSet2D>(count);
    for (int i = 0; i < count; ++i) {
        TPoint2D p;
        p.X = reader.readFloat64();
        p.Y = reader.readFloat64();
        p.W = reader.readFloat64();
        points_->Put(i, p);
    }
    points_->SetGrowable(reader.readBool());
    WirePoints();
}

void TPrimitive2D::WirePoints() {
    points_->SetOnChange([this](TPointsSet2D&) { RecalcBox(); });
}

void TPrimitive2D::UpdateBox() {
    SetBox(points_->Count() > 0 ? TransformBoundingBox2D(points_->GetBox(), GetObjectMatrix())
                                : MakeRect2D(0.0, 0.0, 0.0, 0.0));
}

void TPrimitive2D::SaveToStream(BinaryWriter& writer) {
    TObject2D::SaveToStream(writer);
    writer.writeUInt16(static_cast<std::uint16_t>(points_->Count()));
    for (const TPoint2D& p : points_->Points()) {
        writer.writeFloat64(p.X);
        writer.writeFloat64(p.Y);
        writer.writeFloat64(p.W);
    }
    writer.writeBool(points_->Growable());
}

void TPrimitive2D::Assign(const TGraphicObject& source) {
    if (&source == this) return;
    TObject2D::Assign(source);
    if (source.InheritsFrom(TPrimitive2D::Class) && AcceptsPointsOf(source)) {
        points_->Clear();  // the subclass copies what it takes
    } else {
        // The points stay; the box follows the matrix just taken over.
        RecalcBox();
    }
}

void TPrimitive2D::PlacePoints(std::span<const TPoint2D> points, bool growable) {
    points_->DisableEvents(true);
    for (std::size_t i = 0; i < points.size(); ++i) points_->Put(static_cast<int>(i), points[i]);
    points_->DisableEvents(false);
    points_->SetGrowable(growable);
    RecalcBox();
}

void TPrimitive2D::TakePoints(const TGraphicObject& source, int first, int last, bool growable) {
    const auto& other = dynamic_cast<const TPrimitive2D&>(source);
    last = std::min(last, other.points_->Count() - 1);
    points_->SetGrowable(growable);
    if (last >= first) {
        points_->CopyPoints(*other.points_, first, last);  // notifies: the box follows
    } else {
        RecalcBox();
    }
}

int TPrimitive2D::HitControlPolyline(const TPoint2D& point, double& distance, double aperture) {
    const int result = TObject2D::HitTest(point, distance, aperture);
    if (result != kHitNearBox) return result;
    return HitOpenPolyline(points_->Points(), point, distance, aperture);
}

int TPrimitive2D::HitOpenPolyline(std::span<const TPoint2D> points, const TPoint2D& point, double& distance,
                                  double aperture) const {
    double d = kNoDistance;
    const int code = HitPolyline2D(points, point, aperture, false, GetObjectMatrix(), d);
    distance = std::min(aperture, d);
    return code == kHitOutline ? kHitOutline : kHitNearBox;
}

int TPrimitive2D::HitFilledPolygon(std::span<const TPoint2D> points, const TPoint2D& point, double& distance,
                                   double aperture) const {
    double d = kNoDistance;
    const int code = HitPolygon2D(points, point, aperture, GetObjectMatrix(), d);
    distance = std::min(aperture, d);
    return std::max(kHitNearBox, code);
}

void TPrimitive2D::RequirePointCount(std::initializer_list<int> allowed) const {
    const int count = points_->Count();
    if (std::find(allowed.begin(), allowed.end(), count) != allowed.end()) return;
    throw ECADFileNotValid(std::string(ClassName()) + ".CreateFromStream: " + std::to_string(count) +
                           " control points do not make one.");
}

}  // namespace calvoro

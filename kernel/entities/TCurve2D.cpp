// Curves: the profile cache, its drawing and its pick.
#include "kernel/entities/TCurve2D.h"

#include "kernel/draw/DecorativeCanvas.h"
#include "kernel/draw/TransformedDrawing.h"
#include "kernel/geometry/PixelConversion.h"
#include "kernel/geometry/Transform2D.h"
#include "kernel/model/BinaryReader.h"
#include "kernel/model/BinaryWriter.h"
#include "kernel/model/CADCoreExceptions.h"

#include <algorithm>

namespace calvoro {

const TGraphicObjectClass TCurve2D::Class{"TCurve2D", &TOutline2D::Class, nullptr};

namespace {
constexpr const char* NoProfile = "TCurve2D: Call BeginUseProfilePoints before accessing the curve points.";
}

TCurve2D::TCurve2D(std::int32_t id, int capacity, std::uint16_t segmentCount)
    : TOutline2D(id, capacity), segmentCount_(std::min(segmentCount, MaxSegmentCount)) {}

TCurve2D::TCurve2D(BinaryReader& reader, const VersionTag& version) : TOutline2D(reader, version) {
    segmentCount_ = std::min(reader.readUInt16(), MaxSegmentCount);
    keepProfile_ = reader.readUInt8() != 0 ? 1 : 0;
}

void TCurve2D::ChangeKeepProfile(std::uint8_t keep) {
    keep = keep != 0 ? 1 : 0;
    if (keep == keepProfile_) return;
    keepProfile_ = keep;
    if (keep == 0) {
        // A profile kept so far would otherwise outlive every bracket.
        profile_.reset();
        profileUseCount_ = 0;
    }
}

void TCurve2D::SetKeepProfile(std::uint8_t keep) {
    if ((keep != 0 ? 1 : 0) == keepProfile_) return;
    ChangeKeepProfile(keep);
    RecalcBox();
}

void TCurve2D::SetSegmentCount(std::uint16_t count) {
    segmentCount_ = std::min(count, MaxSegmentCount);
}

TPointsSet2D& TCurve2D::GetProfilePoints() {
    if (!profile_) throw ECADCoreException(NoProfile);
    return *profile_;
}

int TCurve2D::GetNPts() {
    if (!profile_) throw ECADCoreException(NoProfile);
    return profile_->Count();
}

void TCurve2D::BeginUseProfilePoints() {
    if (keepProfile_ != 0) return;
    TRect2D box = MakeRect2D(0.0, 0.0, 0.0, 0.0);
    BuildCurvePoints(box);
    SetBox(box);
}

void TCurve2D::EndUseProfilePoints() {
    if (keepProfile_ == 0) ReleaseProfile();
}

void TCurve2D::ReleaseProfile() {
    if (--profileUseCount_ <= 0) {
        profile_.reset();
        profileUseCount_ = 0;
    }
}

void TCurve2D::SetProfile(std::span<const TPoint2D> points, int capacity, TRect2D& box) {
    if (profile_) {
        profile_->Clear();
    } else {
        profile_ = std::make_unique<TPointsSet2D>(capacity);
    }
    ++profileUseCount_;
    profile_->SetGrowable(true);
    profile_->AddPoints(points);
    box = TransformBoundingBox2D(profile_->GetBox(), GetObjectMatrix());
}

void TCurve2D::UpdateBox() {
    if (Points().Count() == 0) return;
    TRect2D box = MakeRect2D(0.0, 0.0, 0.0, 0.0);
    if (keepProfile_ == 0) {
        BuildCurvePoints(box);
        SetBox(box);
        ReleaseProfile();
    } else {
        ReleaseProfile();
        BuildCurvePoints(box);
        SetBox(box);
    }
}

void TCurve2D::SaveToStream(BinaryWriter& writer) {
    TOutline2D::SaveToStream(writer);
    writer.writeUInt16(segmentCount_);
    writer.writeUInt8(keepProfile_);
}

void TCurve2D::Assign(const TGraphicObject& source) {
    if (&source == this) return;
    // The curve settings first, so that the box the points bring is built
    // with them.
    if (const auto* other = dynamic_cast<const TCurve2D*>(&source)) {
        segmentCount_ = other->segmentCount_;
        ChangeKeepProfile(other->keepProfile_);
    }
    TOutline2D::Assign(source);
}

void TCurve2D::Draw(const TMatrix2D& matrix, TDecorativeCanvas& canvas, int /*mode*/, const TRect2D& /*clipRect*/) {
    const ProfileUse use(*this);
    if (!profile_) return;
    const TRect2D clip = RectToRect2D(canvas.Target().ClipRect());
    if (FillsProfile()) {
        profile_->DrawAsPolygon(canvas, clip, profile_->GetBox(), DrawingMatrix(matrix));
    } else {
        profile_->DrawAsPolyline(canvas, clip, profile_->GetBox(), DrawingMatrix(matrix));
    }
}

int TCurve2D::HitTest(const TPoint2D& point, double& distance, double aperture) {
    const int result = TObject2D::HitTest(point, distance, aperture);
    if (result != kHitNearBox) return result;
    const ProfileUse use(*this);
    if (!profile_) return result;
    return HitOpenPolyline(profile_->Points(), point, distance, aperture);
}

int TCurve2D::HitFilledProfile(const TPoint2D& point, double& distance, double aperture) {
    const int result = TCurve2D::HitTest(point, distance, aperture);
    if (result != kHitNearBox) return result;
    const ProfileUse use(*this);
    if (!profile_) return result;
    return HitFilledPolygon(profile_->Points(), point, distance, aperture);
}

}  // namespace calvoro

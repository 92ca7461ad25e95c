// The 2D object base: transforms, box tests, the base pick and the matrix record.
#include "kernel/entities/TObject2D.h"

#include "kernel/draw/DecorativeCanvas.h"
#include "kernel/draw/TransformedDrawing.h"
#include "kernel/geometry/PixelConversion.h"
#include "kernel/geometry/Transform2D.h"
#include "kernel/model/BinaryReader.h"
#include "kernel/model/BinaryWriter.h"

#include <algorithm>

namespace calvoro {

const TGraphicObjectClass TObject2D::Class{"TObject2D", &TGraphicObject::Class, nullptr};

namespace {

TMatrix2D ReadMatrix(BinaryReader& reader) {
    TMatrix2D m;
    for (auto& row : m.M) {
        for (double& entry : row) entry = reader.readFloat64();
    }
    return m;
}

void WriteMatrix(BinaryWriter& writer, const TMatrix2D& m) {
    for (const auto& row : m.M) {
        for (const double entry : row) writer.writeFloat64(entry);
    }
}

}  // namespace

TObject2D::TObject2D(std::int32_t id) : TGraphicObject(id) {}

TObject2D::TObject2D(BinaryReader& reader, const VersionTag& version)
    : TGraphicObject(reader, version), modelMatrix_(Stored(ReadMatrix(reader))) {}

std::optional<TMatrix2D> TObject2D::Stored(const TMatrix2D& m) {
    if (SameMatrix2D(m, IdentityMatrix2D)) return std::nullopt;
    return m;
}

void TObject2D::SaveToStream(BinaryWriter& writer) {
    TGraphicObject::SaveToStream(writer);
    FreezeTransform();
    WriteMatrix(writer, GetObjectMatrix());
}

void TObject2D::Assign(const TGraphicObject& source) {
    if (&source == this) return;
    TGraphicObject::Assign(source);
    const auto* other = dynamic_cast<const TObject2D*>(&source);
    if (other == nullptr) return;
    modelMatrix_ = Stored(other->GetObjectMatrix());
    tempMatrix_.reset();
    box_ = other->box_;
    if (other->handler_ != handler_) handler_ = other->handler_;
}

TMatrix2D TObject2D::GetObjectMatrix() const {
    const TMatrix2D temp = tempMatrix_.value_or(IdentityMatrix2D);
    return modelMatrix_ ? MultiplyMatrix2D(*modelMatrix_, temp) : temp;
}

void TObject2D::SetObjectMatrix(const TMatrix2D& m) {
    tempMatrix_ = Stored(m);
    RecalcBox();
}

bool TObject2D::HasTransform() const {
    return modelMatrix_.has_value() || tempMatrix_.has_value();
}

void TObject2D::ApplyTransform(const TMatrix2D& m) {
    SetObjectMatrix(tempMatrix_ ? MultiplyMatrix2D(*tempMatrix_, m) : m);
}

void TObject2D::FreezeTransform() {
    modelMatrix_ = Stored(GetObjectMatrix());
    tempMatrix_.reset();
}

void TObject2D::ClearTransforms() {
    modelMatrix_.reset();
    SetObjectMatrix(IdentityMatrix2D);
}

TPoint2D TObject2D::WorldToObject(const TPoint2D& p) const {
    return PointTimesMatrix2D(p, InvertMatrix2D(GetObjectMatrix()));
}

bool TObject2D::IsVisible(const TRect2D& r) const {
    return Visible() && box_.Left <= r.Right && box_.Right >= r.Left && box_.Bottom <= r.Top && box_.Top >= r.Bottom;
}

void TObject2D::DrawControlPoints(const TMatrix2D& matrix, TDecorativeCanvas& canvas, int width) {
    if (drawBoundingBox_ && canvas.Target().Pen().Mode != TPenMode::pmXor) {
        DrawBoundingBox2D(canvas, RectToRect2D(canvas.Target().ClipRect()), TransformBoundingBox2D(box_, matrix));
    }
    if (handler_) handler_->DrawControlPoints(*this, matrix, width, canvas);
}

int TObject2D::HitTest(const TPoint2D& point, double& distance, double aperture) {
    distance = kNoDistance;
    if (!Enabled()) return kHitMiss;
    int result = kHitMiss;
    if (IsPointInRect2D(EnlargeRect2D(box_, aperture), point)) {
        distance = aperture;
        result = kHitNearBox;
    }
    if (handler_) result = std::max(result, handler_->HitControlPoints(*this, point, distance, aperture));
    return result;
}

}  // namespace calvoro

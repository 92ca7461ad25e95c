// A picture stretched into a box.
#include "kernel/entities/TBitmap2D.h"

#include <utility>

#include "kernel/draw/Canvas.h"
#include "kernel/draw/DecorativeCanvas.h"
#include "kernel/entities/TFrame2D.h"
#include "kernel/geometry/PixelConversion.h"
#include "kernel/model/BinaryReader.h"
#include "kernel/model/BinaryWriter.h"
#include "kernel/model/VersionTag.h"

#include <algorithm>

namespace calvoro {

namespace {
// Streams before this version end the record with the picture.
const VersionTag kTrailingFieldsVersion{"KRN422"};
}  // namespace

const TGraphicObjectClass TBitmap2D::Class{"TBitmap2D", &TPrimitive2D::Class, &ConstructFromStream<TBitmap2D>};

TBitmap2D::TBitmap2D(std::int32_t id) : TPrimitive2D(id, 2), copyMode_(calvoro::CopyMode::SrcCopy) {}

TBitmap2D::TBitmap2D(std::int32_t id, const TPoint2D& p1, const TPoint2D& p2, BmpImage bitmap)
    : TPrimitive2D(id, 2), bitmap_(std::move(bitmap)), copyMode_(calvoro::CopyMode::SrcCopy) {
    const TPoint2D corners[] = {p1, p2};
    PlacePoints(corners, false);
}

TBitmap2D::TBitmap2D(BinaryReader& reader, const VersionTag& version)
    : TPrimitive2D(reader, version), copyMode_(calvoro::CopyMode::SrcCopy) {
    RequirePointCount({2});
    bitmap_ = BmpImage::Read(reader);
    if (version >= kTrailingFieldsVersion) {
        reserved_[0] = reader.readFloat64();
        reserved_[1] = reader.readFloat64();
        copyMode_ = reader.readUInt32();
    }
}

std::unique_ptr<TObject2D> TBitmap2D::Clone() const {
    return CloneByAssign(*this, std::unique_ptr<TBitmap2D>(new TBitmap2D(ID())));
}

void TBitmap2D::SaveToStream(BinaryWriter& writer) {
    TPrimitive2D::SaveToStream(writer);
    bitmap_.Write(writer);
    writer.writeFloat64(reserved_[0]);
    writer.writeFloat64(reserved_[1]);
    writer.writeUInt32(copyMode_);
}

bool TBitmap2D::AcceptsPointsOf(const TGraphicObject& source) const {
    return source.InheritsFrom(TBitmap2D::Class) || source.InheritsFrom(TFrame2D::Class);
}

void TBitmap2D::Assign(const TGraphicObject& source) {
    if (&source == this) return;
    TPrimitive2D::Assign(source);
    if (const auto* other = dynamic_cast<const TBitmap2D*>(&source)) {
        reserved_ = other->reserved_;
        copyMode_ = other->copyMode_;
        bitmap_ = other->bitmap_;
    }
    if (AcceptsPointsOf(source)) TakePoints(source, 0, 1, false);
}

void TBitmap2D::Draw(const TMatrix2D& matrix, TDecorativeCanvas& canvas, int /*mode*/, const TRect2D& /*clipRect*/) {
    const RasterImage* pixels = bitmap_.Pixels();
    if (pixels == nullptr) return;
    // The corners the picture's top-left and bottom-right pixels go to: the
    // canvas mirrors a picture whose rectangle runs right to left or bottom
    // to top, which keeps it upright on a view with Y upwards.
    const TPoint2D p0 = CartesianPoint(Points().Get(0));
    const TPoint2D p1 = CartesianPoint(Points().Get(1));
    const TMatrix2D m = DrawingMatrix(matrix);
    const TPixelPoint topLeft =
        Point2DToPoint(PointTimesMatrix2D(MakePoint2D(std::min(p0.X, p1.X), std::max(p0.Y, p1.Y)), m));
    const TPixelPoint bottomRight =
        Point2DToPoint(PointTimesMatrix2D(MakePoint2D(std::max(p0.X, p1.X), std::min(p0.Y, p1.Y)), m));
    canvas.Target().StretchDraw(TPixelRect{topLeft.X, topLeft.Y, bottomRight.X, bottomRight.Y}, *pixels, copyMode_);
}

}  // namespace calvoro

// Text in a box, drawn with a system font.
#include "kernel/entities/TText2D.h"

#include "kernel/draw/DecorativeCanvas.h"
#include "kernel/draw/TransformedDrawing.h"
#include "kernel/entities/TFrame2D.h"
#include "kernel/entities/TextRecord.h"
#include "kernel/geometry/Picking.h"
#include "kernel/geometry/PixelConversion.h"
#include "kernel/geometry/PlaneGeometry.h"
#include "kernel/geometry/Transform2D.h"
#include "kernel/model/BinaryReader.h"
#include "kernel/model/BinaryWriter.h"

namespace calvoro {

const TGraphicObjectClass TText2D::Class{"TText2D", &TPrimitive2D::Class, &ConstructFromStream<TText2D>};

TText2D::TText2D(std::int32_t id) : TPrimitive2D(id, 2) {}

TText2D::TText2D(std::int32_t id, const TPoint2D& p1, const TPoint2D& p2, double height, std::string text)
    : TPrimitive2D(id, 2), text_(std::move(text)), height_(height) {
    const TPoint2D corners[] = {p1, p2};
    PlacePoints(corners, false);
}

TText2D::TText2D(BinaryReader& reader, const VersionTag& version) : TPrimitive2D(reader, version) {
    RequirePointCount({2});
    text_ = ReadTextField(reader, "TText2D");
    extFont_->LoadFromStream(reader);
    drawTextFlags_ = reader.readUInt32();
    drawBox_ = reader.readUInt8();
    height_ = reader.readFloat64();
}

std::unique_ptr<TObject2D> TText2D::Clone() const {
    return CloneByAssign(*this, std::unique_ptr<TText2D>(new TText2D(ID())));
}

void TText2D::SaveToStream(BinaryWriter& writer) {
    TPrimitive2D::SaveToStream(writer);
    WriteTextField(writer, text_);
    extFont_->SaveToStream(writer);
    writer.writeUInt32(drawTextFlags_);
    writer.writeUInt8(drawBox_);
    writer.writeFloat64(height_);
}

bool TText2D::AcceptsPointsOf(const TGraphicObject& source) const {
    return source.InheritsFrom(TText2D::Class) || source.InheritsFrom(TFrame2D::Class);
}

void TText2D::Assign(const TGraphicObject& source) {
    if (&source == this) return;
    TPrimitive2D::Assign(source);
    if (const auto* other = dynamic_cast<const TText2D*>(&source)) {
        text_ = other->text_;
        height_ = other->height_;
        drawBox_ = other->drawBox_;
        autoSize_ = other->autoSize_;
        drawTextFlags_ = other->drawTextFlags_;
        extFont_->Assign(*other->extFont_);
    }
    if (AcceptsPointsOf(source)) TakePoints(source, 0, 1, false);
}

void TText2D::Draw(const TMatrix2D& matrix, TDecorativeCanvas& canvas, int /*mode*/, const TRect2D& /*clipRect*/) {
    const TRect2D heightInPixels = TransformRect2DCorners(MakeRect2D(0.0, 0.0, 0.0, height_), matrix);
    const int pixelHeight = RoundToPixel(PointDistance2D(heightInPixels.FirstCorner(), heightInPixels.SecondCorner()));
    if (pixelHeight < 1) return;
    Canvas& target = canvas.Target();
    TPixelRect rect = Rect2DToRect(TransformRect2DCorners(Box(), matrix));
    extFont_->SetCanvas(&target);
    extFont_->SetHeight(pixelHeight);
    if (autoSize_ != 0) FitBoxToText(matrix, target, rect);
    const bool rubberBand = target.Pen().Mode == TPenMode::pmXor;
    if (!rubberBand) target.DrawText(rect, text_, drawTextFlags_);
    if (drawBox_ != 0 || rubberBand) DrawRect2D(canvas, RectToRect2D(target.ClipRect()), Box(), matrix);
    extFont_->SetCanvas(nullptr);
}

void TText2D::FitBoxToText(const TMatrix2D& matrix, Canvas& canvas, TPixelRect& rect) {
    // The measured rectangle is also the one the text is then drawn into.
    canvas.DrawText(rect, text_, drawTextFlags_ | TextFormat::CalcRect);
    const TMatrix2D toObject = InvertMatrix2D(DrawingMatrix(matrix));
    const TRect2D world = TransformBoundingBox2D(RectToRect2D(rect), toObject);
    TPointsSet2D& points = Points();
    points.DisableEvents(true);
    points.Put(0, world.FirstCorner());
    points.Put(1, world.SecondCorner());
    points.DisableEvents(false);
    RecalcBox();
}

int TText2D::HitTest(const TPoint2D& point, double& distance, double aperture) {
    const int result = TObject2D::HitTest(point, distance, aperture);
    return result == kHitNearBox ? kHitInside : result;
}

}  // namespace calvoro

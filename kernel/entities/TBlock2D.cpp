// Block instances: a source block drawn and picked through the instance's transform.
#include "kernel/entities/TBlock2D.h"

#include "kernel/draw/TransformedDrawing.h"
#include "kernel/entities/TSourceBlock2D.h"
#include "kernel/geometry/PixelConversion.h"
#include "kernel/geometry/Transform2D.h"
#include "kernel/model/BinaryReader.h"
#include "kernel/model/BinaryWriter.h"
#include "kernel/model/CADCoreExceptions.h"
#include "kernel/model/GraphicObjIterator.h"

namespace calvoro {

const TGraphicObjectClass TBlock2D::Class{"TBlock2D", &TObject2D::Class, &ConstructFromStream<TBlock2D>};

namespace {

// Marks a source as drawing or picking for the length of one call.
class BusyScope {
public:
    explicit BusyScope(bool& busy) : busy_(busy) { busy_ = true; }
    ~BusyScope() { busy_ = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& busy_;
};

}  // namespace

TBlock2D::TBlock2D(std::int32_t id) : TObject2D(id) {}

TBlock2D::TBlock2D(std::int32_t id, TSourceBlock2D& source, const TPoint2D& insertionPoint)
    : TObject2D(id), sourceName_(source.Name()), insertionPoint_(insertionPoint) {
    LinkTo(&source);
    RecalcBox();
}

TBlock2D::TBlock2D(BinaryReader& reader, const VersionTag& version) : TObject2D(reader, version) {
    sourceName_ = ReadBlockName(reader);
    insertionPoint_.X = reader.readFloat64();
    insertionPoint_.Y = reader.readFloat64();
    insertionPoint_.W = reader.readFloat64();
}

TBlock2D::~TBlock2D() {
    LinkTo(nullptr);
}

std::unique_ptr<TObject2D> TBlock2D::Clone() const {
    return CloneByAssign(*this, std::unique_ptr<TBlock2D>(new TBlock2D(ID())));
}

void TBlock2D::LinkTo(TSourceBlock2D* source) {
    if (source == source_) return;
    if (source_ != nullptr) source_->CountDown(*this);
    source_ = source;
    if (source_ != nullptr) source_->CountUp(*this);
}

void TBlock2D::UpdateBox() {
    if (source_ == nullptr) return;
    source_->RecalcBox();
    SetBox(HasTransform() ? TransformBoundingBox2D(source_->Box(), GetObjectMatrix()) : source_->Box());
}

void TBlock2D::SaveToStream(BinaryWriter& writer) {
    TObject2D::SaveToStream(writer);
    WriteBlockName(writer, sourceName_);
    writer.writeFloat64(insertionPoint_.X);
    writer.writeFloat64(insertionPoint_.Y);
    writer.writeFloat64(insertionPoint_.W);
}

void TBlock2D::Assign(const TGraphicObject& source) {
    if (&source == this) return;
    TObject2D::Assign(source);
    const auto* other = dynamic_cast<const TBlock2D*>(&source);
    if (other == nullptr) return;
    LinkTo(other->source_);
    // An instance not yet linked passes on the name it will be linked by.
    sourceName_ = other->source_ != nullptr ? other->source_->Name() : other->sourceName_;
    insertionPoint_ = other->insertionPoint_;
    RecalcBox();
}

void TBlock2D::Draw(const TMatrix2D& matrix, TDecorativeCanvas& canvas, int mode, const TRect2D& clipRect) {
    if (source_ == nullptr || source_->busy_) return;
    const BusyScope busy(source_->busy_);
    source_->Draw(DrawingMatrix(matrix), canvas, mode, clipRect);
}

int TBlock2D::HitTest(const TPoint2D& point, double& distance, double aperture) {
    distance = kNoDistance;
    if (source_ == nullptr || !Enabled()) return kHitMiss;
    const int result = TObject2D::HitTest(point, distance, aperture);
    // The instance's box is grown by the aperture in world units, the source
    // is asked with the aperture in its own: a scaled-up instance is picked
    // near its members even where its grown box is missed.
    if (result == kHitNearBox) {
        double d = kNoDistance;
        if (IsNearPoint2D(point, PointTimesMatrix2D(insertionPoint_, GetObjectMatrix()), aperture, d)) {
            distance = d;
            return kHitOutline;
        }
    }
    if (source_->busy_) return result;
    const BusyScope busy(source_->busy_);
    return source_->HitTest(WorldToObject(point), distance, aperture);
}

void TBlock2D::DrawControlPoints(const TMatrix2D& matrix, TDecorativeCanvas& canvas, int width) {
    TObject2D::DrawControlPoints(matrix, canvas, width);
    const TPixelPoint p = Point2DToPoint(PointTimesMatrix2D(insertionPoint_, DrawingMatrix(matrix)));
    DrawControlPoint(canvas, p.X, p.Y, width);
}

void TBlock2D::UpdateReference(TGraphicObjIterator& blocks) {
    for (TGraphicObject* object = blocks.First(); object != nullptr; object = blocks.Next()) {
        auto* source = dynamic_cast<TSourceBlock2D*>(object);
        if (source != nullptr && source->Name() == sourceName_) {
            LinkTo(source);
            RecalcBox();
            return;
        }
    }
    throw ECADListObjNotFound("TBlock2D.UpdateReference: Source block not found");
}

}  // namespace calvoro

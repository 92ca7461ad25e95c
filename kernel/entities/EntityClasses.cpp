// The entity class table.
#include "kernel/entities/EntityClasses.h"

#include "kernel/entities/TArco2D.h"
#include "kernel/entities/TBSpline2D.h"
#include "kernel/entities/TBitmap2D.h"
#include "kernel/entities/TBlock2D.h"
#include "kernel/entities/TCerchio2D.h"
#include "kernel/entities/TContainer2D.h"
#include "kernel/entities/TEllipse2D.h"
#include "kernel/entities/TEllipseOpen2D.h"
#include "kernel/entities/TFilledCerchio2D.h"
#include "kernel/entities/TFilledEllipse2D.h"
#include "kernel/entities/TFrame2D.h"
#include "kernel/entities/TJustifiedVectText2D.h"
#include "kernel/entities/TLine2D.h"
#include "kernel/entities/TPolygon2D.h"
#include "kernel/entities/TPolyline2D.h"
#include "kernel/entities/TPunto2D.h"
#include "kernel/entities/TQVBSpline2D.h"
#include "kernel/entities/TRectangle2D.h"
#include "kernel/entities/TSourceBlock2D.h"
#include "kernel/entities/TText2D.h"
#include "kernel/model/ClassRegistry.h"

#include <mutex>

namespace calvoro {

namespace {

struct ClassEntry {
    unsigned Index;
    const TGraphicObjectClass* Class;
};

const ClassEntry EntityClassTable[] = {
    {EntityClassIndex::Container, &TContainer2D::Class},
    {EntityClassIndex::SourceBlock, &TSourceBlock2D::Class},
    {EntityClassIndex::Block, &TBlock2D::Class},
    {EntityClassIndex::Line, &TLine2D::Class},
    {EntityClassIndex::Polyline, &TPolyline2D::Class},
    {EntityClassIndex::Polygon, &TPolygon2D::Class},
    {EntityClassIndex::Rectangle, &TRectangle2D::Class},
    {EntityClassIndex::EllipseOpen, &TEllipseOpen2D::Class},
    {EntityClassIndex::Ellipse, &TEllipse2D::Class},
    {EntityClassIndex::FilledEllipse, &TFilledEllipse2D::Class},
    {EntityClassIndex::Frame, &TFrame2D::Class},
    {EntityClassIndex::BSpline, &TBSpline2D::Class},
    {EntityClassIndex::Point, &TPunto2D::Class},
    {EntityClassIndex::Circle, &TCerchio2D::Class},
    {EntityClassIndex::Arc, &TArco2D::Class},
    {EntityClassIndex::FilledCircle, &TFilledCerchio2D::Class},
    {EntityClassIndex::Text, &TText2D::Class},
    {EntityClassIndex::Bitmap, &TBitmap2D::Class},
    {EntityClassIndex::JustifiedVectText, &TJustifiedVectText2D::Class},
    {EntityClassIndex::RationalBSpline, &TQVBSpline2D::Class},
};

}  // namespace

void RegisterEntityClasses(ClassRegistry& registry) {
    registry.Clear();
    for (const ClassEntry& entry : EntityClassTable) registry.Register(entry.Index, *entry.Class);
}

void RegisterKernelClasses() {
    static std::once_flag once;
    std::call_once(once, [] { RegisterEntityClasses(ClassRegistry::Global()); });
}

}  // namespace calvoro

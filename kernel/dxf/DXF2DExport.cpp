// The sections of a DXF file and the entity writers.
#include "kernel/dxf/DXF2DExport.h"

#include "kernel/drawing/QVCmp2D.h"
#include "kernel/dxf/DXFNames.h"
#include "kernel/entities/BlockName.h"
#include "kernel/entities/CurveParameters.h"
#include "kernel/entities/TArco2D.h"
#include "kernel/entities/TBlock2D.h"
#include "kernel/entities/TCerchio2D.h"
#include "kernel/entities/TContainer2D.h"
#include "kernel/entities/TFrame2D.h"
#include "kernel/entities/TJustifiedVectText2D.h"
#include "kernel/entities/TLine2D.h"
#include "kernel/entities/TPolygon2D.h"
#include "kernel/entities/TPunto2D.h"
#include "kernel/entities/TSourceBlock2D.h"
#include "kernel/geometry/PlaneGeometry.h"
#include "kernel/model/CADCoreExceptions.h"
#include "kernel/platform/AtomicFile.h"

#include <cmath>

namespace calvoro {

namespace {

TPoint2D Through(const TPoint2D& p, const TMatrix2D& m) {
    return CartesianPoint(PointTimesMatrix2D(p, m));
}

double Determinant(const TMatrix2D& m) {
    return m.M[0][0] * m.M[1][1] - m.M[0][1] * m.M[1][0];
}

// Degrees of the direction (x, y), folded into 0 .. 360.
double DirectionInDegrees(double x, double y) {
    double degrees = RadiansToDegrees(std::atan2(y, x));
    if (degrees < 0.0) degrees += 360.0;
    return degrees;
}

// The plain colours and their DXF numbers.
struct ColorNumber {
    TColor Color;
    int Number;
};
constexpr ColorNumber kColorNumbers[] = {{0x000000, 7}, {0xFFFFFF, 7}, {0x0000FF, 1}, {0x00FF00, 3}, {0x00FFFF, 2},
                                         {0xFF0000, 5}, {0xFF00FF, 6}, {0xFFFF00, 4}, {0x808080, 8}, {0xC0C0C0, 9}};

}  // namespace

int ColorToDXFIndex(TColor color, bool active) {
    int number = 7;
    for (const ColorNumber& entry : kColorNumbers) {
        if (entry.Color == color) number = entry.Number;
    }
    return active ? number : -number;
}

TDXF2DExport::TDXF2DExport(std::filesystem::path fileName, TQVCmp2D* drawing)
    : fileName_(std::move(fileName)), drawing_(drawing) {}

void TDXF2DExport::WriteDXF() {
    WriteFileAtomically(fileName_, DXFText());
}

std::string TDXF2DExport::DXFText() {
    writer_ = TDXFWrite();
    usedLayers_.reset();
    if (drawing_ != nullptr) {
        NameLayersAndBlocks();
        MarkUsedLayers();
        WriteDXFHeader();
        WriteDXFTables();
        WriteDXFBlocks();
        WriteDXFEntities();
    }
    writer_.WriteGroup(0, "EOF");
    return writer_.Text();
}

void TDXF2DExport::NameLayersAndBlocks() {
    std::vector<std::string> layers;
    for (int index = 0; index < TLayers::Count; ++index) {
        layers.push_back(drawing_->Layers().LayerByIndex(static_cast<std::uint8_t>(index)).Name());
    }
    layerNames_ = DXFFileNames(layers);

    std::vector<const TSourceBlock2D*> sources;
    std::vector<std::string> names;
    const auto blocks = drawing_->SourceBlockIterator();
    for (TGraphicObject* object = blocks->First(); object != nullptr; object = blocks->Next()) {
        if (auto* block = dynamic_cast<TSourceBlock2D*>(object)) {
            sources.push_back(block);
            names.emplace_back(BlockNameText(block->Name()));
        }
    }
    const std::vector<std::string> given = DXFFileNames(names);
    blockNames_.clear();
    for (std::size_t i = 0; i < sources.size(); ++i) blockNames_.emplace(sources[i], given[i]);
}

void TDXF2DExport::MarkUsedLayers() {
    const auto objects = drawing_->ObjectListIterator();
    for (TGraphicObject* object = objects->First(); object != nullptr; object = objects->Next()) {
        auto* object2D = dynamic_cast<TObject2D*>(object);
        if (object2D != nullptr && object2D->MustSave()) MarkLayersOf(*object2D);
    }
    // Block definitions and their members name their layers too.
    const auto blocks = drawing_->SourceBlockIterator();
    for (TGraphicObject* block = blocks->First(); block != nullptr; block = blocks->Next()) {
        if (auto* block2D = dynamic_cast<TObject2D*>(block)) MarkLayersOf(*block2D);
    }
}

// Every layer an entity of the object names in the file: its own and, for a
// group or a block definition, its members' at any depth.
void TDXF2DExport::MarkLayersOf(TObject2D& object) {
    usedLayers_.set(object.Layer());
    auto* container = dynamic_cast<TContainer2D*>(&object);
    if (container == nullptr) return;
    const auto members = container->Objects().GetIterator();
    for (TGraphicObject* member = members->First(); member != nullptr; member = members->Next()) {
        if (auto* member2D = dynamic_cast<TObject2D*>(member)) MarkLayersOf(*member2D);
    }
}

void TDXF2DExport::WriteDXFHeader() {
    TRect2D box = MakeRect2D(0.0, 0.0, 0.0, 0.0);
    drawing_->GetDrawingBox(box);
    // No visible object leaves the inverted start box: the extent is then empty.
    if (box.Left > box.Right || box.Bottom > box.Top) box = MakeRect2D(0.0, 0.0, 0.0, 0.0);
    writer_.BeginSection(TDXFSection::Header);
    writer_.WriteGroup(9, "$ACADVER");
    writer_.WriteGroup(1, "AC1009");
    writer_.WriteGroup(9, "$ANGDIR");
    writer_.WriteGroup(70, 0);
    writer_.WriteGroup(9, "$EXTMAX");
    writer_.WriteGroup(10, box.Right);
    writer_.WriteGroup(20, box.Top);
    writer_.WriteGroup(30, 0.0);
    writer_.WriteGroup(9, "$EXTMIN");
    writer_.WriteGroup(10, box.Left);
    writer_.WriteGroup(20, box.Bottom);
    writer_.WriteGroup(30, 0.0);
    writer_.WriteGroup(9, "$CECOLOR");
    writer_.WriteGroup(62, 256);
    writer_.WriteGroup(9, "$CELTYPE");
    writer_.WriteGroup(6, "BYLAYER");
    writer_.EndSection();
}

void TDXF2DExport::WriteDXFTables() {
    writer_.BeginSection(TDXFSection::Tables);
    writer_.WriteGroup(0, "TABLE");
    writer_.WriteGroup(2, "LTYPE");
    writer_.WriteGroup(70, 1);
    writer_.WriteGroup(0, "LTYPE");
    writer_.WriteGroup(2, "CONTINUOUS");
    writer_.WriteGroup(70, 64);
    writer_.WriteGroup(3, "Solid line");
    writer_.WriteGroup(72, 65);
    writer_.WriteGroup(73, 0);
    writer_.WriteGroup(40, 0.0);
    writer_.WriteGroup(0, "ENDTAB");
    writer_.WriteGroup(0, "TABLE");
    writer_.WriteGroup(2, "LAYER");
    writer_.WriteGroup(70, 256);
    for (int index = 0; index < TLayers::Count; ++index) {
        const TLayer& layer = drawing_->Layers().LayerByIndex(static_cast<std::uint8_t>(index));
        if (!layer.Modified() && !usedLayers_.test(static_cast<std::size_t>(index))) continue;
        writer_.WriteGroup(0, "LAYER");
        writer_.WriteGroup(2, layerNames_[static_cast<std::size_t>(index)]);
        writer_.WriteGroup(70, 64);
        writer_.WriteGroup(62, ColorToDXFIndex(layer.Pen().Color, layer.Active()));
        writer_.WriteGroup(6, "CONTINUOUS");
    }
    writer_.WriteGroup(0, "ENDTAB");
    writer_.EndSection();
}

void TDXF2DExport::WriteDXFBlocks() {
    writer_.BeginSection(TDXFSection::Blocks);
    const auto blocks = drawing_->SourceBlockIterator();
    for (TGraphicObject* object = blocks->First(); object != nullptr; object = blocks->Next()) {
        if (auto* block = dynamic_cast<TSourceBlock2D*>(object)) WriteBlockDefinition(*block, blockNames_.at(block));
    }
    writer_.EndSection();
}

void TDXF2DExport::WriteBlockDefinition(TSourceBlock2D& block, const std::string& name) {
    BeginEntity("BLOCK", block);
    writer_.WriteGroup(2, name);
    writer_.WriteGroup(70, 0);
    WritePoint(10, MakePoint2D(0.0, 0.0));
    writer_.WriteGroup(3, name);
    const TMatrix2D blockMatrix = block.GetObjectMatrix();
    const auto members = block.Objects().GetIterator();
    for (TGraphicObject* member = members->First(); member != nullptr; member = members->Next()) {
        if (auto* member2D = dynamic_cast<TObject2D*>(member)) WriteDXFEntity(*member2D, blockMatrix);
    }
    BeginEntity("ENDBLK", block);
}

TDXF2DExport TDXF2DExport::Scratch() {
    TDXF2DExport scratch({}, nullptr);
    scratch.layerNames_.assign(TLayers::Count, "0");
    return scratch;
}

bool TDXF2DExport::CanWriteBlock(TSourceBlock2D& block) {
    TDXF2DExport scratch = Scratch();
    try {
        scratch.WriteBlockDefinition(block, "0");
    } catch (const ECADCoreException&) {
        return false;
    }
    return true;
}

bool TDXF2DExport::CanWriteObject(TObject2D& object) {
    TDXF2DExport scratch = Scratch();
    try {
        scratch.WriteDXFEntity(object, IdentityMatrix2D);
        // The header's extent takes in the box, as GetDrawingBox finds it.
        object.RecalcBox();
        scratch.WritePoint(10, object.Box().FirstCorner());
        scratch.WritePoint(10, object.Box().SecondCorner());
    } catch (const ECADCoreException&) {
        return false;
    }
    return true;
}

void TDXF2DExport::WriteDXFEntities() {
    writer_.BeginSection(TDXFSection::Entities);
    const auto objects = drawing_->ObjectListIterator();
    for (TGraphicObject* object = objects->First(); object != nullptr; object = objects->Next()) {
        auto* object2D = dynamic_cast<TObject2D*>(object);
        if (object2D == nullptr || !object2D->MustSave()) continue;
        if (!drawing_->Layers().LayerByIndex(object2D->Layer()).Storable()) continue;
        WriteDXFEntity(*object2D, IdentityMatrix2D);
    }
    writer_.EndSection();
}

void TDXF2DExport::BeginEntity(const char* name, const TObject2D& object) {
    writer_.WriteGroup(0, name);
    writer_.WriteGroup(8, layerNames_[object.Layer()]);
}

void TDXF2DExport::WritePoint(int code, const TPoint2D& p) {
    writer_.WriteGroup(static_cast<std::uint16_t>(code), p.X);
    writer_.WriteGroup(static_cast<std::uint16_t>(code + 10), p.Y);
    writer_.WriteGroup(static_cast<std::uint16_t>(code + 20), 0.0);
}

void TDXF2DExport::WritePolyline(const TObject2D& object, std::span<const TPoint2D> points, const TMatrix2D& m,
                                 bool closed) {
    BeginEntity("POLYLINE", object);
    writer_.WriteGroup(66, 1);
    WritePoint(10, MakePoint2D(0.0, 0.0));
    if (closed) writer_.WriteGroup(70, 1);
    for (const TPoint2D& p : points) {
        BeginEntity("VERTEX", object);
        WritePoint(10, Through(p, m));
    }
    writer_.WriteGroup(0, "SEQEND");
}

void TDXF2DExport::WriteDXFEntity(TObject2D& object, const TMatrix2D& parent) {
    const TMatrix2D m = MultiplyMatrix2D(object.GetObjectMatrix(), parent);
    if (auto* point = dynamic_cast<TPunto2D*>(&object)) {
        BeginEntity("POINT", object);
        WritePoint(10, Through(point->Points().Get(0), m));
    } else if (auto* line = dynamic_cast<TLine2D*>(&object)) {
        BeginEntity("LINE", object);
        WritePoint(10, Through(line->Points().Get(0), m));
        WritePoint(11, Through(line->Points().Get(1), m));
    } else if (auto* arc = dynamic_cast<TArco2D*>(&object)) {
        const TCircleParameters circle = CircleParameters(arc->Points());
        const TPoint2D centre = Through(MakePoint2D(circle.CX, circle.CY), m);
        // The drawn ends, carried through the transform; DXF arcs run
        // counter-clockwise, so a clockwise arc or a mirror swaps them.
        const double ySign = arc->Direction() != 0 ? 1.0 : -1.0;
        const auto end = [&](double angle) {
            return Through(
                MakePoint2D(circle.CX + circle.R * std::cos(angle), circle.CY + ySign * circle.R * std::sin(angle)), m);
        };
        TPoint2D start = end(arc->StartAngle());
        TPoint2D finish = end(arc->EndAngle());
        if ((arc->Direction() == 0) != (Determinant(m) < 0.0)) std::swap(start, finish);
        BeginEntity("ARC", object);
        WritePoint(10, centre);
        writer_.WriteGroup(40, PointDistance2D(centre, Through(arc->Points().Get(1), m)));
        writer_.WriteGroup(50, DirectionInDegrees(start.X - centre.X, start.Y - centre.Y));
        writer_.WriteGroup(51, DirectionInDegrees(finish.X - centre.X, finish.Y - centre.Y));
    } else if (auto* circle = dynamic_cast<TCerchio2D*>(&object)) {
        const TPoint2D centre = Through(circle->Points().Get(0), m);
        BeginEntity("CIRCLE", object);
        WritePoint(10, centre);
        writer_.WriteGroup(40, PointDistance2D(centre, Through(circle->Points().Get(1), m)));
    } else if (auto* frame = dynamic_cast<TFrame2D*>(&object)) {
        const TPoint2D p0 = CartesianPoint(frame->Points().Get(0));
        const TPoint2D p1 = CartesianPoint(frame->Points().Get(1));
        const TPoint2D corners[] = {p0, MakePoint2D(p0.X, p1.Y), p1, MakePoint2D(p1.X, p0.Y), p0};
        WritePolyline(object, corners, m, false);
    } else if (auto* outline = dynamic_cast<TOutline2D*>(&object)) {
        const ProfileUse use(*outline);
        if (!outline->HasProfilePoints()) return;
        // A polygon's points do not repeat the first one: the flag closes it.
        WritePolyline(object, outline->GetProfilePoints().Points(), m, dynamic_cast<TPolygon2D*>(&object) != nullptr);
    } else if (auto* text = dynamic_cast<TJustifiedVectText2D*>(&object)) {
        const TRect2D placed = text->PlacedBox();
        const double baseline = placed.Top - text->Height();
        const TPoint2D origin = Through(MakePoint2D(0.0, 0.0), m);
        const TPoint2D xAxis = Through(MakePoint2D(1.0, 0.0), m);
        const TPoint2D up = Through(MakePoint2D(0.0, text->Height()), m);
        BeginEntity("TEXT", object);
        writer_.WriteGroup(1, text->Text());
        writer_.WriteGroup(40, PointDistance2D(origin, up));
        WritePoint(10, Through(MakePoint2D(placed.Left, baseline), m));
        writer_.WriteGroup(50, DirectionInDegrees(xAxis.X - origin.X, xAxis.Y - origin.Y));
        if (text->HJustification() == THJustification::Right) {
            WritePoint(11, Through(MakePoint2D(placed.Right, baseline), m));
            writer_.WriteGroup(72, 2);
        } else if (text->HJustification() == THJustification::Centre) {
            WritePoint(11, Through(MakePoint2D((placed.Left + placed.Right) / 2.0, baseline), m));
            writer_.WriteGroup(72, 1);
        }
    } else if (auto* instance = dynamic_cast<TBlock2D*>(&object)) {
        BeginEntity("INSERT", object);
        // An instance not linked to a block of the drawing keeps its name safe.
        const auto named = blockNames_.find(instance->SourceBlock());
        writer_.WriteGroup(
            2, named != blockNames_.end() ? named->second : DXFSafeName(BlockNameText(instance->SourceName())));
        writer_.WriteGroup(10, m.M[2][0]);
        writer_.WriteGroup(20, m.M[2][1]);
        writer_.WriteGroup(30, 0.0);
        const double a = m.M[0][0], b = m.M[0][1], c = m.M[1][0], d = m.M[1][1];
        if (b == 0.0 && c == 0.0) {
            writer_.WriteGroup(41, a);
            writer_.WriteGroup(42, d);
        } else {
            // Scales and rotation of a turned instance: the first row gives
            // the X scale and the angle, the determinant the Y scale.
            const double scaleX = std::hypot(a, b);
            writer_.WriteGroup(41, scaleX);
            writer_.WriteGroup(42, Determinant(m) / scaleX);
            writer_.WriteGroup(50, DirectionInDegrees(a, b));
        }
    } else if (auto* container = dynamic_cast<TContainer2D*>(&object)) {
        if (dynamic_cast<TSourceBlock2D*>(&object) != nullptr) return;  // definitions belong to BLOCKS
        const auto members = container->Objects().GetIterator();
        for (TGraphicObject* member = members->First(); member != nullptr; member = members->Next()) {
            if (auto* member2D = dynamic_cast<TObject2D*>(member)) WriteDXFEntity(*member2D, m);
        }
    }
}

}  // namespace calvoro

// libFuzzer entry for the block library: whatever bytes "Library.blk" holds,
// it loads or is refused with a reason, every block it keeps (a refused
// library keeps those read before) stands for finite points only, and a
// drawing that carries those blocks always exports to DXF: a block the export
// could not write is left out when the library loads.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>

#include "kernel/drawing/QVCmp2D.h"
#include "kernel/dxf/DXF2DExport.h"
#include "kernel/entities/EntityModule.h"
#include "kernel/entities/TContainer2D.h"
#include "kernel/entities/TJustifiedVectText2D.h"
#include "kernel/entities/TLine2D.h"
#include "kernel/entities/TPrimitive2D.h"
#include "kernel/entities/TSourceBlock2D.h"
#include "kernel/model/BinaryReader.h"

namespace {

bool Finite(calvoro::TObject2D& object) {
    for (const auto& row : object.GetObjectMatrix().M)
        for (double value : row)
            if (!std::isfinite(value)) return false;
    if (auto* primitive = dynamic_cast<calvoro::TPrimitive2D*>(&object))
        for (const calvoro::TPoint2D& p : primitive->Points().Points())
            if (!std::isfinite(p.X / p.W) || !std::isfinite(p.Y / p.W)) return false;  // a weight of 0 too
    if (auto* text = dynamic_cast<calvoro::TJustifiedVectText2D*>(&object))
        if (!std::isfinite(text->Height()) || !std::isfinite(text->InterLine()) || !std::isfinite(text->CharSpacing()))
            return false;
    if (auto* container = dynamic_cast<calvoro::TContainer2D*>(&object)) {
        const auto members = container->Objects().GetIterator();
        for (calvoro::TGraphicObject* member = members->First(); member != nullptr; member = members->Next())
            if (auto* member2D = dynamic_cast<calvoro::TObject2D*>(member); member2D && !Finite(*member2D))
                return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    calvoro::InitializeEntityModule();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    calvoro::TQVCmp2D drawing;
    drawing.SetMessageHandler([](const std::string&) {});
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    calvoro::BinaryReader reader(bytes);
    try {
        drawing.LoadLibrary(reader);
    } catch (const std::exception&) {
        // Refused with a reason, which start-up shows; the blocks read before stay.
    }
    const auto blocks = drawing.SourceBlockIterator();
    for (calvoro::TGraphicObject* block = blocks->First(); block != nullptr; block = blocks->Next())
        if (auto* block2D = dynamic_cast<calvoro::TObject2D*>(block); block2D && !Finite(*block2D)) __builtin_trap();
    drawing.AddObject2D(-1, std::make_unique<calvoro::TLine2D>(-1, calvoro::MakePoint2D(0, 0),
                                                               calvoro::MakePoint2D(5, 5)));
    try {
        calvoro::TDXF2DExport("unused.dxf", &drawing).DXFText();
    } catch (const std::exception&) {
        __builtin_trap();
    }
    return 0;
}

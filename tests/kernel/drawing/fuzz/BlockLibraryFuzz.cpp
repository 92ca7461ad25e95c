// libFuzzer entry for the block library: whatever bytes "Library.blk" holds,
// it loads or is refused with a reason, every block it keeps (a refused
// library keeps those read before) stands for finite points only, and a
// drawing that carries those blocks always exports to DXF: a block the export
// could not write is left out when the library loads.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>

#include "kernel/drawing/QVCmp2D.h"
#include "kernel/dxf/DXF2DExport.h"
#include "kernel/entities/EntityModule.h"
#include "kernel/entities/TLine2D.h"
#include "kernel/entities/TSourceBlock2D.h"
#include "kernel/model/BinaryReader.h"
#include "tests/kernel/drawing/fuzz/FiniteObject.h"

using calvoro::fuzz::Finite;

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

// libFuzzer entry for the drawing's object stream: the first six bytes are
// the version tag of the file around the stream, the rest the stream. Whatever
// they hold, the load ends or is refused with a reason, every object the
// drawing keeps (those read before a refusal too) stands for finite points
// only, and the drawing always exports to DXF: an object that could not be
// drawn or written is reported and left out when it is read.
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
#include "kernel/model/VersionTag.h"
#include "tests/kernel/drawing/fuzz/FiniteObject.h"

using calvoro::fuzz::Finite;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    calvoro::InitializeEntityModule();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kTagSize = calvoro::VersionTag::Size;
    if (size < kTagSize) return 0;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    calvoro::TQVCmp2D drawing;
    drawing.SetMessageHandler([](const std::string&) {});
    // The block the seed's instances name, so that instances link and are drawn.
    auto mark = std::make_unique<calvoro::TSourceBlock2D>(-1, calvoro::MakeBlockName("Mark"));
    mark->Objects().Add(std::make_unique<calvoro::TLine2D>(0, calvoro::MakePoint2D(-1, 0), calvoro::MakePoint2D(1, 0)));
    drawing.AddSourceBlock(-1, std::move(mark));
    const calvoro::VersionTag version(std::string_view(bytes).substr(0, kTagSize));
    const std::string stream = bytes.substr(kTagSize);
    calvoro::BinaryReader reader(stream);
    try {
        drawing.LoadObjectsFromStream(reader, version);
    } catch (const std::exception&) {
        // Refused with a reason; the objects read before stay.
    }
    const auto objects = drawing.ObjectListIterator();
    for (calvoro::TGraphicObject* object = objects->First(); object != nullptr; object = objects->Next())
        if (auto* object2D = dynamic_cast<calvoro::TObject2D*>(object); object2D && !Finite(*object2D))
            __builtin_trap();
    try {
        calvoro::TDXF2DExport("unused.dxf", &drawing).DXFText();
    } catch (const std::exception&) {
        __builtin_trap();
    }
    return 0;
}

// The class registry and the class-indexed object records.
#include "kernel/model/ClassRegistry.h"

#include "kernel/model/BinaryReader.h"
#include "kernel/model/BinaryWriter.h"
#include "kernel/model/CADCoreExceptions.h"
#include "kernel/model/GraphicObject.h"

#include <string>

namespace calvoro {

namespace {
constexpr const char* OutOfBoundIndex = "CADCoreRegisterClass: Out of bound registration index";
}

void ClassRegistry::Register(unsigned index, const TGraphicObjectClass& objectClass) {
    if (index >= SlotCount) throw ECADOutOfBound(OutOfBoundIndex);
    if (slots_[index] != nullptr) {
        throw ECADObjClassNotFound("CADCoreRegisterClass: Index " + std::to_string(index) + " already allocated by " +
                                   std::string(slots_[index]->Name));
    }
    slots_[index] = &objectClass;
}

std::uint16_t ClassRegistry::FindClassIndex(std::string_view className) const {
    for (unsigned index = 0; index < SlotCount; ++index) {
        if (slots_[index] != nullptr && slots_[index]->Name == className) return static_cast<std::uint16_t>(index);
    }
    throw ECADObjClassNotFound("CADCoreFindClassIndex: " + std::string(className) + " graphic class not found");
}

const TGraphicObjectClass& ClassRegistry::FindClassByName(std::string_view className) const {
    return *slots_[FindClassIndex(className)];
}

const TGraphicObjectClass& ClassRegistry::FindClassByIndex(unsigned index) const {
    if (index >= SlotCount) throw ECADOutOfBound(OutOfBoundIndex);
    if (slots_[index] == nullptr) throw ECADObjClassNotFound("CADCoreFindClassByIndex: Index not registered");
    return *slots_[index];
}

void ClassRegistry::Clear() {
    slots_.fill(nullptr);
}

ClassRegistry& ClassRegistry::Global() {
    static ClassRegistry registry;
    return registry;
}

void CADCoreRegisterClass(unsigned index, const TGraphicObjectClass& objectClass) {
    ClassRegistry::Global().Register(index, objectClass);
}
std::uint16_t CADCoreFindClassIndex(std::string_view className) {
    return ClassRegistry::Global().FindClassIndex(className);
}
const TGraphicObjectClass& CADCoreFindClassByName(std::string_view className) {
    return ClassRegistry::Global().FindClassByName(className);
}
const TGraphicObjectClass& CADCoreFindClassByIndex(unsigned index) {
    return ClassRegistry::Global().FindClassByIndex(index);
}
void CADCoreClearClasses() {
    ClassRegistry::Global().Clear();
}

void WriteObjectWithClassIndex(BinaryWriter& writer, TGraphicObject& object) {
    writer.writeUInt16(CADCoreFindClassIndex(object.ClassName()));
    object.SaveToStream(writer);
}

std::unique_ptr<TGraphicObject> ReadObjectWithClassIndex(BinaryReader& reader, const VersionTag& version) {
    const TGraphicObjectClass& objectClass = CADCoreFindClassByIndex(reader.readUInt16());
    if (objectClass.CreateFromStream == nullptr) {
        throw ECADObjClassNotFound("CADCoreFindClassByIndex: " + std::string(objectClass.Name) +
                                   " cannot be read from a stream");
    }
    return objectClass.CreateFromStream(reader, version);
}

}  // namespace calvoro

// The class registry: the table that turns the class index stored before each
// object record into the class that reads it, and a class name back into its
// index when the object is written. Slots 0..511 are usable. The program fills
// the process-wide table once at start; tests clear and fill it as they need.
#pragma once

#include "kernel/model/GraphicObjectClass.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

namespace calvoro {

class BinaryWriter;

class ClassRegistry {
public:
    static constexpr unsigned SlotCount = 512;

    void Register(unsigned index, const TGraphicObjectClass& objectClass);
    std::uint16_t FindClassIndex(std::string_view className) const;
    const TGraphicObjectClass& FindClassByName(std::string_view className) const;
    const TGraphicObjectClass& FindClassByIndex(unsigned index) const;
    void Clear();

    // The table the program's streams use.
    static ClassRegistry& Global();

private:
    std::array<const TGraphicObjectClass*, SlotCount> slots_{};
};

// The routines of the process-wide table.
void CADCoreRegisterClass(unsigned index, const TGraphicObjectClass& objectClass);
std::uint16_t CADCoreFindClassIndex(std::string_view className);
const TGraphicObjectClass& CADCoreFindClassByName(std::string_view className);
const TGraphicObjectClass& CADCoreFindClassByIndex(unsigned index);
void CADCoreClearClasses();

// An object as lists and containers store it: the 2-byte class index of its
// class, then its own record.
void WriteObjectWithClassIndex(BinaryWriter& writer, TGraphicObject& object);
std::unique_ptr<TGraphicObject> ReadObjectWithClassIndex(BinaryReader& reader, const VersionTag& version);

}  // namespace calvoro

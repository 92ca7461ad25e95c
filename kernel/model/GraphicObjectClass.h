// A class reference of the object model: what the class registry holds for each
// class that can be stored, and what a pick filter compares with. Each class of
// the object model has one static instance, linked to its parent's.
#pragma once

#include <memory>
#include <string_view>

namespace calvoro {

class BinaryReader;
class TGraphicObject;
class VersionTag;

struct TGraphicObjectClass {
    // Builds an object of the class from its stream record.
    using StreamConstructor = std::unique_ptr<TGraphicObject> (*)(BinaryReader& reader, const VersionTag& version);

    std::string_view Name;                         // as stored class names are looked up: "TLine2D"
    const TGraphicObjectClass* Parent = nullptr;   // none for the root class
    StreamConstructor CreateFromStream = nullptr;  // none for classes that are never stored

    // True for the class itself and for every class derived from `ancestor`.
    bool InheritsFrom(const TGraphicObjectClass& ancestor) const {
        for (const TGraphicObjectClass* c = this; c != nullptr; c = c->Parent) {
            if (c == &ancestor) return true;
        }
        return false;
    }
};

// The stream constructor of a class whose constructor takes (reader, version).
template <class T>
std::unique_ptr<TGraphicObject> ConstructFromStream(BinaryReader& reader, const VersionTag& version) {
    return std::make_unique<T>(reader, version);
}

}  // namespace calvoro

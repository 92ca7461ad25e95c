// A small concrete graphic object for the model tests: it counts how many of
// its kind are alive, and can be pinned so that it refuses to be freed, as a
// source block does while instances use it.
#pragma once

#include "kernel/model/BinaryReader.h"
#include "kernel/model/CADCoreExceptions.h"
#include "kernel/model/GraphicObject.h"
#include "kernel/model/VersionTag.h"

#include <memory>

namespace calvoro::test {

class ProbeObject : public TGraphicObject {
public:
    static const TGraphicObjectClass Class;
    static inline int alive = 0;

    explicit ProbeObject(std::int32_t id) : TGraphicObject(id) { ++alive; }
    ProbeObject(BinaryReader& reader, const VersionTag& version) : TGraphicObject(reader, version) {
        payload = reader.readInt32();
        ++alive;
    }
    ~ProbeObject() override {
        --alive;
        if (holds != nullptr) --holds->pins;  // lets go of what it uses
    }

    const TGraphicObjectClass& ClassType() const override { return Class; }
    void UpdateBox() override { ++boxUpdates; }
    void SaveToStream(BinaryWriter& writer) override {
        TGraphicObject::SaveToStream(writer);
        writer.writeInt32(payload);
    }
    void CheckDeletable() const override {
        if (pins > 0) throw ECADSourceBlockIsReferenced("ProbeObject.Destroy: pinned");
    }

    // Makes this object use `other`, which then refuses to go before it.
    void Use(ProbeObject& other) {
        holds = &other;
        ++other.pins;
    }

    std::int32_t payload = 0;
    int boxUpdates = 0;
    int pins = 0;
    ProbeObject* holds = nullptr;
};

inline const TGraphicObjectClass ProbeObject::Class{"ProbeObject", &TGraphicObject::Class,
                                                    &ConstructFromStream<ProbeObject>};

inline std::unique_ptr<ProbeObject> MakeProbe(std::int32_t id) {
    return std::make_unique<ProbeObject>(id);
}

}  // namespace calvoro::test

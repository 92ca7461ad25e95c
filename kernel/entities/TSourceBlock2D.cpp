// Source blocks: named definitions that know their instances.
#include "kernel/entities/TSourceBlock2D.h"

#include "kernel/entities/TBlock2D.h"
#include "kernel/model/BinaryReader.h"
#include "kernel/model/BinaryWriter.h"
#include "kernel/model/CADCoreExceptions.h"

#include <algorithm>

namespace calvoro {

const TGraphicObjectClass TSourceBlock2D::Class{"TSourceBlock2D", &TContainer2D::Class,
                                                &ConstructFromStream<TSourceBlock2D>};

TSourceBlock2D::TSourceBlock2D(std::int32_t id, const TBlockName& name) : TContainer2D(id), name_(name) {}

TSourceBlock2D::TSourceBlock2D(BinaryReader& reader, const VersionTag& version) : TContainer2D(reader, version) {
    // The block's own MustSave byte follows the header's flag and wins.
    SetMustSave(reader.readBool());
    fromLibrary_ = reader.readBool();
    name_ = ReadBlockName(reader);
}

TSourceBlock2D::~TSourceBlock2D() {
    // Only the owning list frees a referenced source (when it goes itself);
    // its instances then draw nothing until they are linked again.
    for (TBlock2D* instance : instances_) instance->source_ = nullptr;
}

std::unique_ptr<TObject2D> TSourceBlock2D::Clone() const {
    return CloneByAssign(*this, std::make_unique<TSourceBlock2D>(ID(), name_));
}

void TSourceBlock2D::SaveToStream(BinaryWriter& writer) {
    TContainer2D::SaveToStream(writer);
    writer.writeBool(MustSave());
    writer.writeBool(fromLibrary_);
    WriteBlockName(writer, name_);
}

void TSourceBlock2D::Assign(const TGraphicObject& source) {
    if (&source == this) return;
    TContainer2D::Assign(source);
    if (const auto* other = dynamic_cast<const TSourceBlock2D*>(&source)) {
        SetMustSave(other->MustSave());
        name_ = other->name_;
        fromLibrary_ = other->fromLibrary_;
    }
}

void TSourceBlock2D::CheckDeletable() const {
    if (!instances_.empty()) {
        throw ECADSourceBlockIsReferenced(
            "TSourceBlock2D.Destroy: This source block is referenced and cannot be deleted");
    }
}

void TSourceBlock2D::CountUp(TBlock2D& instance) {
    instances_.push_back(&instance);
}

void TSourceBlock2D::CountDown(TBlock2D& instance) {
    const auto found = std::find(instances_.begin(), instances_.end(), &instance);
    if (found != instances_.end()) instances_.erase(found);
}

}  // namespace calvoro

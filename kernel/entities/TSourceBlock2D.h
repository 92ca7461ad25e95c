// A named block definition, kept in the drawing's source-block list and drawn
// wherever a block instance (TBlock2D) refers to it. The source knows its
// instances: it refuses to be deleted while any refers to it, and should it go
// anyway (with the list that owns it) it cuts them loose, so that no instance
// is ever left pointing at a freed source.
#pragma once

#include "kernel/entities/BlockName.h"
#include "kernel/entities/TContainer2D.h"

#include <cstddef>
#include <vector>

namespace calvoro {

class TBlock2D;

class TSourceBlock2D : public TContainer2D {
public:
    static const TGraphicObjectClass Class;

    // An empty block definition.
    TSourceBlock2D(std::int32_t id, const TBlockName& name);
    // The container record, then MustSave, FromLibrary and the name.
    TSourceBlock2D(BinaryReader& reader, const VersionTag& version);
    ~TSourceBlock2D() override;

    const TGraphicObjectClass& ClassType() const override { return Class; }
    std::unique_ptr<TObject2D> Clone() const override;

    void SaveToStream(BinaryWriter& writer) override;
    // The container part, MustSave, the name and FromLibrary; the copy has
    // no instances of its own.
    void Assign(const TGraphicObject& source) override;
    // Refuses with ECADSourceBlockIsReferenced while instances refer to it.
    void CheckDeletable() const override;

    // The number of instances that refer to this source.
    std::size_t ReferenceCount() const { return instances_.size(); }
    const TBlockName& Name() const { return name_; }
    void SetName(const TBlockName& name) { name_ = name; }
    // The block came from the block library.
    bool FromLibrary() const { return fromLibrary_; }
    void SetFromLibrary(bool fromLibrary) { fromLibrary_ = fromLibrary; }

private:
    friend class TBlock2D;
    void CountUp(TBlock2D& instance);
    void CountDown(TBlock2D& instance);

    TBlockName name_{};
    bool fromLibrary_ = false;
    std::vector<TBlock2D*> instances_;
    // Set while the source draws or picks, so that a source that comes back
    // to itself through its instances stops instead of recursing for ever.
    bool busy_ = false;
};

}  // namespace calvoro

// The root of the kernel's object model: every object a drawing holds is a
// TGraphicObject. It carries the ID, layer and switches that every object has,
// and their 6-byte stream header; descendants add their geometry and append
// their own record after the header.
#pragma once

#include "kernel/model/GraphicObjectClass.h"

#include <cstdint>
#include <functional>
#include <string_view>
#include <utility>

namespace calvoro {

class BinaryWriter;
class TQVCmp;  // the drawing that holds an object

class TGraphicObject {
public:
    using ChangeEvent = std::function<void(TGraphicObject& sender)>;

    static const TGraphicObjectClass Class;

    explicit TGraphicObject(std::int32_t id);
    // Reads the stream header; the version does not matter at this level.
    TGraphicObject(BinaryReader& reader, const VersionTag& version);
    virtual ~TGraphicObject() = default;
    TGraphicObject(const TGraphicObject&) = delete;
    TGraphicObject& operator=(const TGraphicObject&) = delete;

    // The most derived class of the object: its name is what streams store.
    virtual const TGraphicObjectClass& ClassType() const = 0;
    std::string_view ClassName() const { return ClassType().Name; }
    bool InheritsFrom(const TGraphicObjectClass& ancestor) const { return ClassType().InheritsFrom(ancestor); }

    // Each class computes its own box.
    virtual void UpdateBox() = 0;
    // Writes the header; descendants append their record. Not const: some
    // objects settle their state when they are written.
    virtual void SaveToStream(BinaryWriter& writer);
    // Copies Visible, Enabled and MustSave (not ID, Layer or UseLayerColor).
    virtual void Assign(const TGraphicObject& source);
    // UpdateBox, then OnChange when one is set.
    void RecalcBox();
    // Changes whenever any object anywhere recalculates its box, so that a
    // reader that keeps object boxes can tell that they still hold.
    static std::uint64_t GeometryRevision();

    // Raises the kernel exception that explains why the object must not be
    // freed now (a source block still in use); the lists ask before they free
    // an object, so that no destructor ever has to refuse.
    virtual void CheckDeletable() const {}

    std::int32_t ID() const { return id_; }
    void SetID(std::int32_t id) { id_ = id; }
    std::uint8_t Layer() const { return layer_; }
    void SetLayer(std::uint8_t layer) { layer_ = layer; }
    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    bool MustSave() const { return mustSave_; }
    void SetMustSave(bool mustSave) { mustSave_ = mustSave; }
    // Cleared, the viewport draws the object with its own pen instead of its layer's.
    bool UseLayerColor() const { return useLayerColor_; }
    void SetUseLayerColor(bool use) { useLayerColor_ = use; }
    // The handle of the object's node in the entity tree, 0 for none.
    std::uintptr_t TreeItem() const { return treeItem_; }
    void SetTreeItem(std::uintptr_t item) { treeItem_ = item; }
    TQVCmp* Owner() const { return owner_; }
    void SetOwner(TQVCmp* owner) { owner_ = owner; }
    const ChangeEvent& OnChange() const { return onChange_; }
    void SetOnChange(ChangeEvent handler) { onChange_ = std::move(handler); }

    // Bits of the header's flag byte.
    static constexpr std::uint8_t VisibleFlag = 1;
    static constexpr std::uint8_t EnabledFlag = 2;
    static constexpr std::uint8_t NotSavedFlag = 4;

private:
    std::int32_t id_;
    std::uintptr_t treeItem_ = 0;
    std::uint8_t layer_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    bool mustSave_ = true;
    bool useLayerColor_ = true;
    ChangeEvent onChange_;
    TQVCmp* owner_ = nullptr;
};

}  // namespace calvoro

// One of the 256 layers of a drawing: the pen and brush its objects are drawn
// with, a dash pattern, a name and four switches, and the record that streams
// them. Modified marks a layer whose pen, brush or name was set by hand, so
// that a new default layer colour leaves it alone.
#pragma once

#include "kernel/draw/CanvasStyles.h"
#include "kernel/draw/DecorativeCanvas.h"
#include "kernel/draw/DecorativePen.h"
#include "kernel/model/BinaryReader.h"
#include "kernel/model/BinaryWriter.h"
#include "kernel/model/VersionTag.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace calvoro {

class TLayer {
public:
    static constexpr std::size_t MaxNameLength = 31;

    // Black solid pen, white solid brush, no pattern, named "Layer_<id>";
    // active, visible, storable, transparent.
    explicit TLayer(std::uint8_t id);

    std::uint8_t ID() const { return id_; }

    const PenAttributes& Pen() const { return pen_; }
    void SetPen(const PenAttributes& pen);  // marks the layer modified
    const BrushAttributes& Brush() const { return brush_; }
    void SetBrush(const BrushAttributes& brush);  // marks the layer modified
    TDecorativePen& DecorativePen() { return decorativePen_; }
    const TDecorativePen& DecorativePen() const { return decorativePen_; }

    const std::string& Name() const { return name_; }
    // Cut to 31 characters; a different name marks the layer modified.
    void SetLayerName(std::string_view name);

    bool Active() const { return active_; }
    void SetActive(bool active) { active_ = active; }
    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }
    // Text, hatches and dashes of the layer fill their gaps with the brush colour.
    bool Opaque() const { return opaque_; }
    void SetOpaque(bool opaque) { opaque_ = opaque; }
    bool Modified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }
    // Objects on a layer that is not storable are left out when a drawing is written.
    bool Storable() const { return storable_; }
    void SetStorable(bool storable) { storable_ = storable; }

    // The handle of the layer's node in the entity tree, 0 for none.
    std::uintptr_t TreeNode() const { return treeNode_; }
    void SetTreeNode(std::uintptr_t node) { treeNode_ = node; }

    // A visible layer gives the canvas its pen, brush, font colour, background
    // mode and dash pattern; returns whether the layer is visible (an invisible
    // one touches nothing).
    bool SetCanvas(TDecorativeCanvas& canvas) const;

    void SaveToStream(BinaryWriter& writer) const;
    // Reads the record as the file of that version wrote it. A record cut short
    // or holding a pattern that cannot be one raises ECADFileNotValid; a style
    // or mode this program does not know reads as solid pen, copy mode, solid
    // brush.
    void LoadFromStream(BinaryReader& reader, const VersionTag& version);

    // The pen colour of a new default, which spares a layer that was modified.
    void SetDefaultPenColor(TColor color);

private:
    PenAttributes pen_;
    BrushAttributes brush_;
    TDecorativePen decorativePen_;
    std::string name_;
    bool active_ = true;
    bool visible_ = true;
    bool opaque_ = false;
    bool modified_ = false;
    bool storable_ = true;
    std::uint8_t id_;
    std::uintptr_t treeNode_ = 0;
};

}  // namespace calvoro

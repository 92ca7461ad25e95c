// The font table, its lookups and the default glyph.
#include "kernel/entities/VectFontTable.h"

#include "kernel/model/CADCoreExceptions.h"

#include <string>

namespace calvoro {

VectFontTable::VectFontTable() {
    const TPoint2D stroke[] = {MakePoint2D(0.0, 0.0), MakePoint2D(0.0, 0.8)};
    defaultGlyph_ = std::make_unique<TVectChar>();
    defaultGlyph_->AddPolyline(stroke);
    defaultGlyph_->UpdateExtension();
}

void VectFontTable::Register(unsigned index, std::shared_ptr<const TVectFont> font) {
    if (index >= kSlotCount) throw ECADOutOfBound("VectFontTable.Register: Out of bound font index");
    if (slots_[index]) {
        throw ECADObjClassNotFound("VectFontTable.Register: Font index " + std::to_string(index) +
                                   " already allocated");
    }
    slots_[index] = std::move(font);
}

std::uint16_t VectFontTable::FindFontIndex(const TVectFont* font) const {
    for (unsigned index = 0; index < kSlotCount; ++index) {
        if (slots_[index].get() == font) return static_cast<std::uint16_t>(index);
    }
    throw ECADObjClassNotFound("CADCoreFindFontIndex: Font not found");
}

std::shared_ptr<const TVectFont> VectFontTable::FindFontByIndex(unsigned index) const {
    index &= 0xFFFF;
    if (index < kSlotCount && slots_[index]) return slots_[index];
    if (!defaultFont_) throw ECADObjClassNotFound("CADCoreFindFontByIndex: Font not registered");
    return defaultFont_;
}

std::shared_ptr<const TVectFont> VectFontTable::FirstRegisteredFont() const {
    for (const auto& slot : slots_) {
        if (slot) return slot;
    }
    return nullptr;
}

void VectFontTable::Reset() {
    for (auto& slot : slots_) slot.reset();
    defaultFont_.reset();
}

VectFontTable& VectFontTable::Global() {
    static VectFontTable table;
    return table;
}

}  // namespace calvoro

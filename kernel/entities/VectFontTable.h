// The process-wide table of 513 vector-font slots: vector texts store the
// index of their font's slot. The program ships no font, so the table starts
// empty and texts without a font show their box only.
#pragma once

#include "kernel/entities/TVectFont.h"

#include <array>
#include <cstdint>
#include <memory>

namespace calvoro {

class VectFontTable {
public:
    static constexpr unsigned kSlotCount = 513;

    VectFontTable();

    // Enters a font at a slot. An index outside the table is refused with
    // ECADOutOfBound, a taken slot with ECADObjClassNotFound.
    void Register(unsigned index, std::shared_ptr<const TVectFont> font);
    // The first slot holding the font. A font of none finds the first empty
    // slot: a text without a font is stored with that index, which reads back
    // as the default font (FindFontByIndex). None found raises
    // ECADObjClassNotFound "CADCoreFindFontIndex: Font not found".
    std::uint16_t FindFontIndex(const TVectFont* font) const;
    // Slot `index` (taken as 16 bits), or the default font when the slot is
    // empty or lies past the table; without a default font ECADObjClassNotFound
    // "CADCoreFindFontByIndex: Font not registered".
    std::shared_ptr<const TVectFont> FindFontByIndex(unsigned index) const;
    // The font of the lowest slot that holds one, or none.
    std::shared_ptr<const TVectFont> FirstRegisteredFont() const;

    const std::shared_ptr<const TVectFont>& DefaultFont() const { return defaultFont_; }
    void SetDefaultFont(std::shared_ptr<const TVectFont> font) { defaultFont_ = std::move(font); }
    // What stands in for a character the font has no glyph for: one stroke
    // from (0, 0) to (0, 0.8).
    const TVectChar& DefaultGlyph() const { return *defaultGlyph_; }

    // Every slot empty and no default font, as at start.
    void Reset();

    // The table vector texts use.
    static VectFontTable& Global();

private:
    std::array<std::shared_ptr<const TVectFont>, kSlotCount> slots_;
    std::shared_ptr<const TVectFont> defaultFont_;
    std::unique_ptr<TVectChar> defaultGlyph_;
};

}  // namespace calvoro

// A vector font: one glyph slot for each of the 256 character codes (text is
// stored as bytes). Fonts are entered in the font table (VectFontTable).
#pragma once

#include "kernel/entities/TVectChar.h"

#include <array>
#include <cstdint>
#include <memory>

namespace calvoro {

class TVectFont {
public:
    static constexpr int kGlyphCount = 256;

    // The glyph of a character code, or none when the font has no glyph for it.
    const TVectChar* GetChar(std::uint8_t code) const { return glyphs_[code].get(); }
    // Stores the glyph (its extension updated) and returns it; none empties the slot.
    TVectChar* SetChar(std::uint8_t code, std::unique_ptr<TVectChar> glyph);

private:
    std::array<std::unique_ptr<TVectChar>, kGlyphCount> glyphs_;
};

}  // namespace calvoro

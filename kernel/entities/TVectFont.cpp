// The glyphs of a vector font.
#include "kernel/entities/TVectFont.h"

namespace calvoro {

TVectChar* TVectFont::SetChar(std::uint8_t code, std::unique_ptr<TVectChar> glyph) {
    if (glyph) glyph->UpdateExtension();
    glyphs_[code] = std::move(glyph);
    return glyphs_[code].get();
}

}  // namespace calvoro

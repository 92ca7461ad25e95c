// The grey level of a colour pixel and the 256-level grey palette. The relief
// builder and the grey conversion use the same GreyLevel, so the relief of a
// colour picture equals the relief of its grey version exactly.
#pragma once

#include <array>
#include <cstdint>

namespace calvoro {

// Round(0.299 R + 0.587 G + 0.114 B) with halves to even. The sum is taken as
// an exact fraction of 1000: for levels 0..255 this gives the same result as
// the floating-point sum rounded to single precision first (a tie is exactly
// representable, and every other sum lies at least 0.001 from a half), which
// the tests check for all 2^24 colours.
constexpr std::uint8_t GreyLevel(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    const int thousandths = 299 * red + 587 * green + 114 * blue;
    const int whole = thousandths / 1000;
    const int rest = thousandths % 1000;
    return static_cast<std::uint8_t>(whole + ((rest > 500 || (rest == 500 && whole % 2 != 0)) ? 1 : 0));
}

struct PaletteEntry {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t flags = 0;
};

using GreyPalette = std::array<PaletteEntry, 256>;

// Entry i is red = green = blue = i, flags 0: the palette of every Grey8
// picture, written into 8-bit BMP files and used to show grey pictures.
constexpr GreyPalette MakeGreyPalette() {
    GreyPalette palette{};
    for (int i = 0; i < 256; ++i) {
        const auto level = static_cast<std::uint8_t>(i);
        palette[i] = PaletteEntry{level, level, level, 0};
    }
    return palette;
}

}  // namespace calvoro

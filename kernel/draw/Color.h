// Colours as the kernel's records store them: a signed 32-bit value, 0x00BBGGRR
// for a plain colour. Negative values name a system colour (the low byte is
// its index); ColorToRGB gives each a fixed plain colour, since this program
// keeps no system palette.
#pragma once

#include <cstdint>

namespace calvoro {

using TColor = std::int32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;

constexpr TColor RGBColor(int red, int green, int blue) {
    return static_cast<TColor>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr int RedOf(TColor c) {
    return c & 0xFF;
}
constexpr int GreenOf(TColor c) {
    return (c >> 8) & 0xFF;
}
constexpr int BlueOf(TColor c) {
    return (c >> 16) & 0xFF;
}

// The plain 0x00BBGGRR colour of any colour value.
constexpr TColor ColorToRGB(TColor color) {
    if (color >= 0) return color & 0xFFFFFF;
    switch (color & 0xFF) {
        case 5:   // window background
        case 14:  // highlighted text
        case 20:  // button highlight
            return clWhite;
        case 1:   // desktop
        case 13:  // selection
            return RGBColor(0, 120, 215);
        case 4:   // menu
        case 15:  // button face
            return RGBColor(240, 240, 240);
        case 16:  // button shadow
        case 17:  // disabled text
            return clGray;
        case 22:  // 3D light
            return RGBColor(227, 227, 227);
        default:  // window text, button text and the rest of the text colours
            return clBlack;
    }
}

}  // namespace calvoro

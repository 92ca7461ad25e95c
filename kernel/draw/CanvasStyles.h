// The drawing state of a Canvas: pen, brush, font and background mode. The
// style and mode ordinals are the ones the kernel's layer records store, so
// their order must never change.
#pragma once

#include "kernel/draw/Color.h"

#include <cstdint>
#include <string>

namespace calvoro {

enum class TPenStyle : std::uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
inline constexpr int PenStyleCount = 7;

// How a pen's colour P combines with the pixel D it covers.
enum class TPenMode : std::uint8_t {
    pmBlack,        // 0
    pmWhite,        // all ones
    pmNop,          // D
    pmNot,          // not D
    pmCopy,         // P
    pmNotCopy,      // not P
    pmMergePenNot,  // P or not D
    pmMaskPenNot,   // P and not D
    pmMergeNotPen,  // not P or D
    pmMaskNotPen,   // not P and D
    pmMerge,        // P or D
    pmNotMerge,     // not (P or D)
    pmMask,         // P and D
    pmNotMask,      // not (P and D)
    pmXor,          // P xor D: drawing twice restores the pixels
    pmNotXor,       // not (P xor D)
};
inline constexpr int PenModeCount = 16;

enum class TBrushStyle : std::uint8_t {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,  // lines falling from top left to bottom right
    bsBDiagonal,  // lines rising from bottom left to top right
    bsCross,
    bsDiagCross,
};
inline constexpr int BrushStyleCount = 8;

// Whether the gaps of text, dashed lines and hatched brushes are filled with
// the brush colour (opaque) or left alone (transparent).
enum class BackgroundMode : std::uint8_t { Transparent, Opaque };

struct PenAttributes {
    TColor Color = clBlack;
    TPenStyle Style = TPenStyle::psSolid;
    TPenMode Mode = TPenMode::pmCopy;
    int Width = 1;  // pixels; 0 and 1 both draw one pixel wide

    friend bool operator==(const PenAttributes&, const PenAttributes&) = default;
};

struct BrushAttributes {
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::bsSolid;

    friend bool operator==(const BrushAttributes&, const BrushAttributes&) = default;
};

struct FontDescription {
    std::string Name;  // empty: the system's sans-serif face
    int Height = -11;  // pixels; negative: character height, positive: cell height
    int Weight = 400;  // 100 .. 900, 700 bold
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    int Escapement = 0;  // text direction, tenths of a degree counter-clockwise
    TColor Color = clBlack;

    friend bool operator==(const FontDescription&, const FontDescription&) = default;
};

}  // namespace calvoro

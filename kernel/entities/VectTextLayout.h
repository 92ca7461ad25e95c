// How vector text is measured and placed, in world units: the extension of a
// text (its box before placement, with the first line's top at Y = H), and its
// placement inside the frame that the entity's two control points span. Lines
// end at CR; widths come from the glyph boxes.
#pragma once

#include "kernel/entities/VectFontTable.h"
#include "kernel/geometry/Rect2D.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace calvoro {

inline constexpr std::uint8_t kCarriageReturn = 13;
inline constexpr std::uint8_t kLineFeed = 10;

// Text justification values as records store them.
enum class THJustification : std::uint8_t { Left = 0, Right = 1, Centre = 2 };
enum class TVJustification : std::uint8_t { Top = 0, Bottom = 1, Middle = 2 };

// Box of the text for a glyph height H (world units per glyph unit), character
// spacing S and interline L (both glyph units): Left 0, Right the widest line,
// Top H, Bottom below the last line. A space measures 0.5 + S; a character
// without a glyph measures like the default glyph.
TRect2D VectTextExtension(const TVectFont& font, std::string_view text, double height, double charSpacing,
                          double interLine);

// The lines of a text as it is drawn: split at CR, an LF right after a CR dropped.
std::vector<std::string_view> SplitVectTextLines(std::string_view text);

// How far below its top a line reaches, in glyph units: 1 minus the lowest
// glyph bottom of the line, 0 for a line without glyphs.
double VectLineHeight(const TVectFont& font, std::string_view line);

// The extension moved into the frame (ordered first): left, right or centred
// across; top or bottom aligned, or with its reference at the frame's middle
// (the extension's height is not subtracted there, so middle-justified text
// sits above the middle).
TRect2D PlaceVectText(const TRect2D& extension, const TRect2D& frame, THJustification horizontal,
                      TVJustification vertical);

}  // namespace calvoro

// Measuring and placing vector text.
#include "kernel/entities/VectTextLayout.h"

#include <algorithm>

namespace calvoro {

namespace {
constexpr std::uint8_t kSpace = 32;
}

TRect2D VectTextExtension(const TVectFont& font, std::string_view text, double height, double charSpacing,
                          double interLine) {
    const TVectChar& defaultGlyph = VectFontTable::Global().DefaultGlyph();
    double width = 0.0;
    double penX = 0.0;
    double lineHeight = 0.0;
    double bottom = 1.0;
    for (const char c : text) {
        const auto code = static_cast<std::uint8_t>(c);
        if (code == kCarriageReturn) {  // ends the line whatever the font holds, as drawing does
            width = std::max(width, penX - charSpacing);
            bottom -= interLine + lineHeight;
            penX = 0.0;
            lineHeight = 0.0;
        } else if (const TVectChar* glyph = font.GetChar(code)) {
            penX += glyph->Extension().Right + charSpacing;
            lineHeight = std::max(lineHeight, 1.0 - glyph->Extension().Bottom);
        } else if (code == kSpace) {
            penX += 0.5 + charSpacing;
        } else {
            penX += defaultGlyph.Extension().Right + charSpacing;
        }
    }
    width = std::max(width, penX - charSpacing);
    bottom -= lineHeight;
    return MakeRect2D(0.0, bottom * height, width * height, height);
}

std::vector<std::string_view> SplitVectTextLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(static_cast<char>(kCarriageReturn), start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            return lines;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
        if (start < text.size() && static_cast<std::uint8_t>(text[start]) == kLineFeed) ++start;
    }
}

double VectLineHeight(const TVectFont& font, std::string_view line) {
    double lineHeight = 0.0;
    for (const char c : line) {
        if (const TVectChar* glyph = font.GetChar(static_cast<std::uint8_t>(c))) {
            lineHeight = std::max(lineHeight, 1.0 - glyph->Extension().Bottom);
        }
    }
    return lineHeight;
}

TRect2D PlaceVectText(const TRect2D& extension, const TRect2D& frame, THJustification horizontal,
                      TVJustification vertical) {
    const TRect2D f = ReorderRect2D(frame);
    const double width = extension.Right - extension.Left;
    double xOffset = f.Left;
    if (horizontal == THJustification::Right) xOffset = f.Right - width;
    if (horizontal == THJustification::Centre) xOffset = (f.Left + f.Right - width) / 2.0;
    double yOffset = f.Top - extension.Top;
    if (vertical == TVJustification::Bottom) yOffset = f.Bottom - extension.Bottom;
    if (vertical == TVJustification::Middle) yOffset = (f.Top + f.Bottom) / 2.0;
    return MakeRect2D(extension.Left + xOffset, extension.Bottom + yOffset, extension.Right + xOffset,
                      extension.Top + yOffset);
}

}  // namespace calvoro

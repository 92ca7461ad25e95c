// The font of the text entity: a logical font record (the 60 bytes text
// records store) and, while text is drawn, its selection into a canvas. The
// record is the whole persistent state; the canvas gets a font built from it
// and its own font back when the text entity lets go of it.
#pragma once

#include "kernel/draw/CanvasStyles.h"

#include <array>
#include <cstdint>

namespace calvoro {

class BinaryReader;
class BinaryWriter;
class Canvas;

// A logical font as records store it: five 32-bit integers, eight bytes and a
// 32-byte face name, 60 bytes in all.
struct TLogFont {
    std::int32_t Height = 0;  // pixels; negative: character height, positive: cell height
    std::int32_t Width = 0;
    std::int32_t Escapement = 0;  // tenths of a degree, counter-clockwise
    std::int32_t Orientation = 0;
    std::int32_t Weight = 0;  // 100 .. 900, 400 normal, 700 bold
    std::uint8_t Italic = 0;
    std::uint8_t Underline = 0;
    std::uint8_t StrikeOut = 0;
    std::uint8_t CharSet = 0;
    std::uint8_t OutPrecision = 0;
    std::uint8_t ClipPrecision = 0;
    std::uint8_t Quality = 0;
    std::uint8_t PitchAndFamily = 0;
    std::array<char, 32> FaceName{};  // zero-terminated

    static constexpr std::size_t RecordSize = 60;

    friend bool operator==(const TLogFont&, const TLogFont&) = default;
};

class TExtendedFont {
public:
    // The default record: characters 11 pixels high, face "Small Font".
    TExtendedFont();
    // Gives an attached canvas its own font back.
    ~TExtendedFont();
    TExtendedFont(const TExtendedFont&) = delete;
    TExtendedFont& operator=(const TExtendedFont&) = delete;

    const TLogFont& LogFont() const { return logFont_; }
    // The height kept in the record's 16 bits, taken as unsigned (a negative
    // height wraps), so a text reads back with the bytes it was saved with;
    // an attached canvas follows.
    void SetHeight(int height);
    // Copies the whole record; an attached canvas follows.
    void Assign(const TExtendedFont& other);

    // Selects the font into the canvas (none: gives the canvas attached so far
    // its own font back). The canvas keeps its font colour.
    void SetCanvas(Canvas* canvas);
    Canvas* AttachedCanvas() const { return canvas_; }
    // The canvas font the record stands for, in the given colour.
    FontDescription ToFontDescription(TColor color) const;

    void SaveToStream(BinaryWriter& writer) const;
    void LoadFromStream(BinaryReader& reader);

private:
    void Rebuild();

    TLogFont logFont_;
    Canvas* canvas_ = nullptr;
    FontDescription canvasOwnFont_;
};

}  // namespace calvoro

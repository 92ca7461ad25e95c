// Text encodings of the files users bring from older installations. Language
// files may be UTF-8 or Windows-1252 (the single-byte code page of Western
// European text); inside the program every text is UTF-8, and a file is
// written back in the encoding it was read in.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace calvoro {

enum class TextEncoding { Utf8, Windows1252 };

// Strict UTF-8: no overlong forms, no surrogates, nothing beyond U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

// Every byte has a character: the five bytes the code page leaves unassigned
// map to the C1 controls of the same value, so the conversion back restores
// them exactly.
std::string Windows1252ToUtf8(std::string_view bytes);

// Empty optional when the text is not valid UTF-8 or holds a character that
// Windows-1252 cannot spell.
std::optional<std::string> Utf8ToWindows1252(std::string_view utf8);

// The same for text that must be written whatever it holds (an NC program):
// every character the code page cannot spell, and every malformed byte,
// becomes `replacement`.
std::string Utf8ToWindows1252Replacing(std::string_view utf8, char replacement = '?');

struct DecodedText {
    std::string text;  // UTF-8, without a byte order mark
    TextEncoding encoding = TextEncoding::Utf8;
    bool byteOrderMark = false;  // the file began with the UTF-8 byte order mark
};

// Bytes that are valid UTF-8 (with or without a byte order mark) are UTF-8;
// anything else is read as Windows-1252.
DecodedText DecodeText(std::string_view bytes);

// The reverse of DecodeText. Throws std::invalid_argument when the text cannot
// be spelled in the encoding asked for.
std::string EncodeText(std::string_view utf8, TextEncoding encoding, bool byteOrderMark = false);

}  // namespace calvoro

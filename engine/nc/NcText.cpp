#include "engine/nc/NcText.h"

#include <algorithm>
#include <optional>

namespace calvoro {

namespace {

bool IsAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The length of the well-formed UTF-8 character at `pos`, 0 when the bytes
// there are none.
std::size_t CharacterLength(std::string_view bytes, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(bytes[pos]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if (pos + length > bytes.size() || !IsValidUtf8(bytes.substr(pos, length))) return 0;
    return length;
}

// Every malformed byte becomes "?".
std::string RepairedUtf8(std::string_view bytes) {
    if (IsValidUtf8(bytes)) return std::string(bytes);
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t length = CharacterLength(bytes, pos);
        out.append(length ? bytes.substr(pos, length) : std::string_view("?"));
        pos += length ? length : 1;
    }
    return out;
}

const char* EncodingName(TextEncoding encoding) {
    return encoding == TextEncoding::Windows1252 ? "Windows-1252" : "UTF-8";
}

}  // namespace

std::string NcProgramBytes(std::string utf8, TextEncoding encoding) {
    if (IsAscii(utf8)) return utf8;
    return encoding == TextEncoding::Windows1252 ? Utf8ToWindows1252Replacing(utf8) : RepairedUtf8(utf8);
}

std::string NcTextToShow(std::string_view bytes, TextEncoding encoding) {
    if (IsAscii(bytes)) return std::string(bytes);
    return encoding == TextEncoding::Windows1252 ? Windows1252ToUtf8(bytes) : RepairedUtf8(bytes);
}

std::string EncodeEditedNcText(std::string_view utf8, TextEncoding encoding) {
    if (IsAscii(utf8)) return std::string(utf8);
    if (encoding == TextEncoding::Utf8) {
        if (IsValidUtf8(utf8)) return std::string(utf8);
    } else if (std::optional<std::string> bytes = Utf8ToWindows1252(utf8)) {
        return std::move(*bytes);
    }
    // Find the first character that cannot be written, to name it.
    int line = 1;
    for (std::size_t pos = 0; pos < utf8.size();) {
        if (utf8[pos] == '\n') ++line;
        const std::size_t length = CharacterLength(utf8, pos);
        const std::string_view character = utf8.substr(pos, std::max<std::size_t>(length, 1));
        if (length == 0 || (encoding == TextEncoding::Windows1252 && !Utf8ToWindows1252(character)))
            throw NcTextError("Line " + std::to_string(line) + " holds the character \"" +
                              (length ? std::string(character) : std::string("?")) +
                              "\", which the post-processor's encoding (" + EncodingName(encoding) +
                              ") cannot hold. The NC file was not written.");
        pos += length;
    }
    throw NcTextError("The NC program cannot be written in the post-processor's encoding.");
}

std::string NcSearchBytes(std::string_view utf8, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf8 || IsAscii(utf8)) return std::string(utf8);
    return Utf8ToWindows1252(utf8).value_or(std::string());
}

}  // namespace calvoro

#include "kernel/platform/TextEncoding.h"

#include <array>
#include <cstdint>
#include <stdexcept>

namespace calvoro {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Code points of the bytes 0x80 to 0x9F; the rest of the upper half is Latin-1.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Decodes one character at `pos`; advances `pos`. Empty optional on a
// malformed sequence.
std::optional<char32_t> NextCodePoint(std::string_view bytes, std::size_t& pos) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(bytes[i]); };
    const std::uint8_t lead = byte(pos);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    int length = 0;
    char32_t code = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, code = lead & 0x07, minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    if (pos + length > bytes.size()) return std::nullopt;
    for (int i = 1; i < length; ++i) {
        const std::uint8_t next = byte(pos + i);
        if ((next & 0xC0) != 0x80) return std::nullopt;
        code = (code << 6) | (next & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return std::nullopt;
    pos += length;
    return code;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
    std::size_t pos = 0;
    while (pos < bytes.size())
        if (!NextCodePoint(bytes, pos)) return false;
    return true;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (const char c : bytes) {
        const auto byte = static_cast<std::uint8_t>(c);
        if (byte < 0x80)
            out += c;
        else if (byte < 0xA0)
            AppendUtf8(out, kHighControls[byte - 0x80]);
        else
            AppendUtf8(out, byte);
    }
    return out;
}

namespace {

// The code page's byte for a character; empty when it has none.
std::optional<char> Windows1252Byte(char32_t code) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<char>(code);
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == code) return static_cast<char>(0x80 + i);
    return std::nullopt;
}

}  // namespace

std::optional<std::string> Utf8ToWindows1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::optional<char32_t> code = NextCodePoint(utf8, pos);
        if (!code) return std::nullopt;
        const std::optional<char> byte = Windows1252Byte(*code);
        if (!byte) return std::nullopt;
        out += *byte;
    }
    return out;
}

std::string Utf8ToWindows1252Replacing(std::string_view utf8, char replacement) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t start = pos;
        const std::optional<char32_t> code = NextCodePoint(utf8, pos);
        if (!code) {
            out += replacement;
            pos = start + 1;
            continue;
        }
        out += Windows1252Byte(*code).value_or(replacement);
    }
    return out;
}

DecodedText DecodeText(std::string_view bytes) {
    DecodedText decoded;
    if (bytes.starts_with(kByteOrderMark) && IsValidUtf8(bytes)) {
        decoded.byteOrderMark = true;
        decoded.text = std::string(bytes.substr(kByteOrderMark.size()));
    } else if (IsValidUtf8(bytes)) {
        decoded.text = std::string(bytes);
    } else {
        decoded.encoding = TextEncoding::Windows1252;
        decoded.text = Windows1252ToUtf8(bytes);
    }
    return decoded;
}

std::string EncodeText(std::string_view utf8, TextEncoding encoding, bool byteOrderMark) {
    if (encoding == TextEncoding::Windows1252) {
        std::optional<std::string> bytes = Utf8ToWindows1252(utf8);
        if (!bytes) throw std::invalid_argument("The text holds characters that Windows-1252 cannot store.");
        return std::move(*bytes);
    }
    if (!IsValidUtf8(utf8)) throw std::invalid_argument("The text is not valid UTF-8.");
    std::string out;
    if (byteOrderMark) out += kByteOrderMark;
    out += utf8;
    return out;
}

}  // namespace calvoro

#include "kernel/platform/IniFile.h"

#include <charconv>
#include <system_error>

#include "kernel/platform/AtomicFile.h"
#include "kernel/platform/NumberReading.h"

namespace calvoro {

namespace {

IniFileDocument ReadDocument(const std::filesystem::path& fileName) {
    std::error_code error;
    if (!std::filesystem::exists(fileName, error)) return {};
    return IniFileDocument::Parse(ReadWholeFile(fileName));
}

bool IsQuote(char c) {
    return c == '"' || c == '\'';
}

// Quotes a value whose blanks at either end or surrounding quotes would be
// lost on the way back in.
std::string QuoteForWriting(std::string_view value) {
    const bool blankAtEnd = !value.empty() && (TrimIniBlanks(value).size() != value.size());
    std::string text;
    if (blankAtEnd || UnquoteIniValue(value).size() != value.size()) {
        text.reserve(value.size() + 2);
        text.append(1, '"').append(value).append(1, '"');
    } else {
        text.assign(value);
    }
    return text;
}

}  // namespace

std::string_view UnquoteIniValue(std::string_view value) {
    if (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

std::optional<std::int32_t> ParseIniInteger(std::string_view text) {
    text = TrimIniBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.starts_with('$') || text.starts_with('x') || text.starts_with('X')) {
        base = 16;
        text.remove_prefix(1);
    } else if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) return std::nullopt;
    std::uint64_t magnitude = 0;
    for (const char c : text) {
        int digit = 0;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        magnitude = magnitude * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
        if (magnitude > 0xFFFFFFFFu) return std::nullopt;
    }
    if (base == 10 && magnitude > (negative ? 2147483648u : 2147483647u)) return std::nullopt;
    // Hexadecimal fills all 32 bits: "$FF000005" is a negative number.
    std::uint32_t bits = static_cast<std::uint32_t>(magnitude);
    if (negative) bits = 0u - bits;
    return static_cast<std::int32_t>(bits);
}

std::optional<double> ParseIniFloat(std::string_view text) {
    return ReadNumber(text);
}

std::string FormatIniFloat(double value) {
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, error == std::errc() ? end : buffer);
}

IniFile::IniFile(std::filesystem::path fileName) : fileName_(std::move(fileName)), document_(ReadDocument(fileName_)) {}

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const {
    const std::optional<std::string_view> value = document_.FindValue(section, key);
    return std::string(value ? UnquoteIniValue(*value) : defaultValue);
}

std::int32_t IniFile::ReadInteger(std::string_view section, std::string_view key, std::int32_t defaultValue) const {
    const std::optional<std::string_view> value = document_.FindValue(section, key);
    if (!value) return defaultValue;
    return ParseIniInteger(UnquoteIniValue(*value)).value_or(defaultValue);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

double IniFile::ReadFloat(std::string_view section, std::string_view key, double defaultValue) const {
    const std::optional<std::string_view> value = document_.FindValue(section, key);
    if (!value) return defaultValue;
    return ParseIniFloat(UnquoteIniValue(*value)).value_or(defaultValue);
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    IniFileDocument current = ReadDocument(fileName_);
    current.SetValue(section, key, QuoteForWriting(value));
    WriteFileAtomically(fileName_, current.Serialize());
    document_ = std::move(current);
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void IniFile::WriteFloat(std::string_view section, std::string_view key, double value) {
    WriteString(section, key, FormatIniFloat(value));
}

bool IniFile::SectionExists(std::string_view section) const {
    return document_.SectionExists(section);
}

bool IniFile::ValueExists(std::string_view section, std::string_view key) const {
    return document_.FindValue(section, key).has_value();
}

std::vector<std::string> IniFile::ReadSections() const {
    return document_.SectionNames();
}

std::vector<std::string> IniFile::ReadSection(std::string_view section) const {
    return document_.KeyNames(section);
}

}  // namespace calvoro

#include "kernel/platform/NumberReading.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace calvoro {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool HasSign(std::string_view text) {
    return text.starts_with('+') || text.starts_with('-');
}

// The count of digits from pos on; pos moves past them.
std::size_t SkipDigits(std::string_view text, std::size_t& pos) {
    const std::size_t start = pos;
    while (pos < text.size() && IsDigit(text[pos])) ++pos;
    return pos - start;
}

}  // namespace

std::optional<double> ReadNumber(std::string_view text) {
    text = TrimBlanks(text);
    // The grammar is checked here first, so that from_chars never reads a
    // prefix or a word such as "inf".
    std::size_t pos = HasSign(text) ? 1 : 0;
    std::size_t mantissaDigits = SkipDigits(text, pos);
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        mantissaDigits += SkipDigits(text, pos);
    }
    if (mantissaDigits == 0) return std::nullopt;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
        if (SkipDigits(text, pos) == 0) return std::nullopt;
    }
    if (pos != text.size()) return std::nullopt;

    if (text.starts_with('+')) text.remove_prefix(1);  // from_chars takes no "+"
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<float> ReadSingleNumber(std::string_view text) {
    const std::optional<double> value = ReadNumber(text);
    if (!value || std::fabs(*value) > double(std::numeric_limits<float>::max())) return std::nullopt;
    return static_cast<float>(*value);
}

std::optional<std::int32_t> ReadWholeNumber(std::string_view text) {
    text = TrimBlanks(text);
    std::size_t pos = HasSign(text) ? 1 : 0;
    if (SkipDigits(text, pos) == 0 || pos != text.size()) return std::nullopt;
    if (text.starts_with('+')) text.remove_prefix(1);
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace calvoro

#include "shell/wizard/NumberText.h"

#include <array>
#include <charconv>
#include <cmath>

namespace calvoro {

std::optional<double> ParseEditNumber(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    int digits = 0;
    int points = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9')
            ++digits;
        else if (c == '.')
            ++points;
        else if (!(c == '-' && i == 0))
            return std::nullopt;
    }
    if (digits == 0 || points > 1) return std::nullopt;
    // from_chars takes no leading "+" or trailing point; both are cut here.
    if (text.back() == '.') text.remove_suffix(1);
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::string formatta(double value, bool inches) {
    std::array<char, 400> buffer{};
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, inches ? 4 : 3);
    return std::string(buffer.data(), result.ptr);
}

std::string ShortestNumberText(float value) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

}  // namespace calvoro

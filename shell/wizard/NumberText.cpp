#include "shell/wizard/NumberText.h"

#include <array>
#include <charconv>
#include <cmath>

#include "kernel/platform/NumberReading.h"

namespace calvoro {

std::optional<double> ParseEditNumber(std::string_view text) {
    return ReadNumber(text);
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

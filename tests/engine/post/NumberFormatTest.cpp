// The number formats of definitions: strict parsing, and the exact fixed and
// integer texts the word writers put into programs.
#include "engine/post/NumberFormat.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>

using namespace calvoro;

namespace {

NumberFormat Fixed(int width, int precision) {
    return {NumberFormat::Kind::Fixed, width, precision};
}

TEST(NumberFormatTest, FixedFormatsRoundHalfAwayFromZeroAndCutZerosOnRequest) {
    struct Case {
        double value;
        NumberFormat format;
        bool delZero;
        const char* expected;
    } const cases[] = {
        {1.5, Fixed(1, 3), true, "1.5"},
        {2.0, Fixed(1, 3), true, "2."},
        {2.0, Fixed(1, 3), false, "2.000"},
        {-0.0001f, Fixed(1, 3), false, "-0.000"},  // a small negative keeps its sign
        {-0.0001f, Fixed(1, 3), true, "-0."},
        {-0.0, Fixed(1, 3), true, "0."},        // an exact negative zero has none
        {10.0, Fixed(1, 0), true, "10"},        // no point: nothing to cut
        {0.0625, Fixed(1, 3), false, "0.063"},  // exact ties at common pixel pitches
        {-2.5, Fixed(1, 0), false, "-3"},
        {0.0005f, Fixed(1, 3), false, "0.001"},  // the float lies just above the tie
        {0.1f, Fixed(1, 3), false, "0.100"},
        {123456.789f, Fixed(1, 3), false, "123456.789"},
        {12.3456f, Fixed(8, 2), false, "   12.35"},
        {1.5, Fixed(8, 3), true, "   1.5"},
        {1.0, Fixed(1, -1), false, "1.00"},                  // no precision: two decimals
        {0.1, Fixed(1, 18), false, "0.100000000000000006"},  // the double's exact digits
        {3.0e38f, Fixed(1, 1), false, "300000000549775575777803994281145270272.0"},
        {3.0e38f, Fixed(1, 1), true, "300000000549775575777803994281145270272."},
        {std::numeric_limits<double>::denorm_min(), Fixed(1, 2), false, "0.00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatFixed(c.value, c.format, c.delZero), c.expected)
            << c.value << " with " << c.format.text() << (c.delZero ? " and DelZero" : "");
    EXPECT_THROW(FormatFixed(std::nan(""), Fixed(1, 3)), std::invalid_argument);
    EXPECT_THROW(FormatFixed(-INFINITY, Fixed(1, 3)), std::invalid_argument);
}

// Reference: the exact decimal expansion of the value (the library gives it
// when asked for enough digits), rounded half away from zero on the digits.
std::string ReferenceFixed(double value, int decimals) {
    char buffer[512];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed, 200);
    EXPECT_EQ(error, std::errc());
    std::string digits(buffer, end);
    const std::size_t point = digits.find('.');
    const bool up = digits[point + 1 + static_cast<std::size_t>(decimals)] >= '5';
    std::string kept = digits.substr(0, point) + digits.substr(point + 1, static_cast<std::size_t>(decimals));
    if (up) {
        int i = static_cast<int>(kept.size()) - 1;
        while (i >= 0 && kept[static_cast<std::size_t>(i)] == '9') kept[static_cast<std::size_t>(i--)] = '0';
        if (i < 0)
            kept.insert(0, "1");
        else
            ++kept[static_cast<std::size_t>(i)];
    }
    std::string result = kept.substr(0, kept.size() - static_cast<std::size_t>(decimals));
    if (decimals > 0) result += "." + kept.substr(kept.size() - static_cast<std::size_t>(decimals));
    if (std::signbit(value) && value != 0) result.insert(0, "-");
    return result;
}

TEST(NumberFormatTest, MatchesTheExactDecimalExpansionForRandomFloats) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<std::uint32_t> bits(0, 0xffffffffu);
    int checked = 0;
    while (checked < 20000) {
        const std::uint32_t pattern = bits(random);
        float value;
        std::memcpy(&value, &pattern, sizeof value);
        if (!std::isfinite(value) || std::fabs(value) > 1e12f || std::fabs(value) < 1e-12f) continue;
        const int decimals = static_cast<int>(pattern % 7);
        ASSERT_EQ(FormatFixed(value, Fixed(1, decimals)), ReferenceFixed(value, decimals)) << value;
        ++checked;
    }
    // Ties: every multiple of 1/64 below 4 at 1 to 5 decimals.
    for (int k = -256; k <= 256; ++k)
        for (int decimals = 1; decimals <= 5; ++decimals)
            ASSERT_EQ(FormatFixed(k / 64.0, Fixed(1, decimals)), ReferenceFixed(k / 64.0, decimals)) << k;
}

}  // namespace

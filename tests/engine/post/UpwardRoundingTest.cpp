// The Z of a cutting move is written no lower than computed: rounded toward
// +infinity (or -infinity under a negative axis scale) at the written decimals;
// the written programs read back above the relief (WrittenProgramTest).
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/post/NumberFormat.h"

namespace calvoro {
namespace {

TEST(UpwardRoundingTest, RoundsTowardTheChosenInfinityWheneverAnythingIsLeft) {
    const NumberFormat three{NumberFormat::Kind::Fixed, 1, 3};
    const struct {
        double value;
        Rounding rounding;
        const char* text;
    } cases[] = {
        {-1.2346, Rounding::Upward, "-1.234"}, {-1.2346, Rounding::HalfAwayFromZero, "-1.235"},
        {1.2341, Rounding::Upward, "1.235"},   {1.234, Rounding::Upward, "1.234"},
        {-0.0004, Rounding::Upward, "-0.000"}, {1e-30, Rounding::Upward, "0.001"},
        {-1e-30, Rounding::Upward, "-0.000"},  {-1.2341, Rounding::Downward, "-1.235"},
        {1.2349, Rounding::Downward, "1.234"}, {1e-30, Rounding::Downward, "0.000"},
        {-2.0, Rounding::Upward, "-2.000"},    {0.0625, Rounding::Upward, "0.063"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatFixed(c.value, three, false, c.rounding), c.text) << c.value;
}

// The exact decimal expansion of a double (every double is a finite decimal),
// rounded toward +infinity or -infinity at `decimals` by digit arithmetic: the
// reference the writer is held to, sharing none of its code.
std::string ExactDirected(double value, int decimals, bool up) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const bool negative = (bits >> 63) != 0;
    const int biased = static_cast<int>((bits >> 52) & 0x7ff);
    std::uint64_t mantissa = bits & ((1ull << 52) - 1);
    int exponent = -1074;
    if (biased != 0) {
        mantissa |= 1ull << 52;
        exponent = biased - 1075;
    }
    // Digits of mantissa (least significant first), then times 2^exponent.
    std::vector<int> digits;  // little-endian decimal digits of an integer
    for (std::uint64_t m = mantissa; m != 0; m /= 10) digits.push_back(static_cast<int>(m % 10));
    if (digits.empty()) digits.push_back(0);
    int fraction = 0;  // digits[0 .. fraction) are decimals
    auto times = [&](int factor) {
        int carry = 0;
        for (int& d : digits) {
            const int product = d * factor + carry;
            d = product % 10;
            carry = product / 10;
        }
        for (; carry != 0; carry /= 10) digits.push_back(carry % 10);
    };
    for (int k = 0; k < exponent; ++k) times(2);
    for (int k = 0; k < -exponent; ++k) {  // divide by 2 = times 5, one more decimal
        times(5);
        ++fraction;
    }
    while (static_cast<int>(digits.size()) <= fraction) digits.push_back(0);
    // Cut to `decimals`; anything cut away moves the magnitude one unit up
    // when rounding away from zero.
    bool rest = false;
    const int cut = fraction - decimals;
    if (cut > 0) {
        rest = std::any_of(digits.begin(), digits.begin() + cut, [](int d) { return d != 0; });
        digits.erase(digits.begin(), digits.begin() + cut);
    } else {
        digits.insert(digits.begin(), static_cast<std::size_t>(-cut), 0);
    }
    const bool isZero = std::all_of(digits.begin(), digits.end(), [](int d) { return d == 0; });
    if (rest && up != negative) {
        int carry = 1;
        for (int& d : digits) {
            d += carry;
            carry = d / 10;
            d %= 10;
            if (carry == 0) break;
        }
        if (carry != 0) digits.push_back(carry);
    }
    std::string text;
    for (int k = static_cast<int>(digits.size()) - 1; k >= 0; --k) {
        text += static_cast<char>('0' + digits[static_cast<std::size_t>(k)]);
        if (k == decimals && decimals > 0) text += '.';
    }
    const std::size_t whole = text.find_first_not_of('0');
    const std::size_t firstKept = std::min(whole, text.size() - static_cast<std::size_t>(decimals) - (decimals > 0 ? 2 : 1));
    text.erase(0, firstKept);
    // A negative value keeps its sign even when it rounds to zero; an exact
    // zero of either sign is written as 0.
    if (negative && !(isZero && !rest)) text.insert(text.begin(), '-');
    return text;
}

TEST(UpwardRoundingTest, ExactValuesStayAndOnlyValuesBetweenUnitsMove) {
    std::vector<double> values = {0.0,    -0.0,  1.0,     -1.0,   2.5,    -2.5,   0.125,  -0.125, 0.0625,
                                  -0.0625, 1e-300, -1e-300, 4.9e-324, -4.9e-324, 1e-30, -1e-30, 0.001, -0.001,
                                  0.0005, -0.0005, 2.284,  -2.284, 100.0,  -100.0, 1024.5, 123456.75};
    // Float Z values just around whole units and around zero, as the tool
    // path hands them over.
    for (float f : {0.0f, 1.0f, -1.0f, 0.5f, -2.25f, 7.0f})
        for (int step = -3; step <= 3; ++step) {
            float v = f;
            for (int k = 0; k < std::abs(step); ++k) v = std::nextafter(v, step < 0 ? -10.0f : 10.0f);
            values.push_back(static_cast<double>(v));
        }
    for (int decimals : {0, 1, 2, 3, 4, 6})
        for (double value : values)
            for (bool up : {true, false}) {
                const NumberFormat format{NumberFormat::Kind::Fixed, 1, decimals};
                EXPECT_EQ(FormatFixed(value, format, false, up ? Rounding::Upward : Rounding::Downward),
                          ExactDirected(value, decimals, up))
                    << value << " at " << decimals << (up ? " upward" : " downward");
            }
}

}  // namespace
}  // namespace calvoro

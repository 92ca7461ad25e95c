#include "engine/post/NumberFormat.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace calvoro {

namespace {

using UInt128 = unsigned __int128;

constexpr std::array<std::uint64_t, 20> PowersOfTen = {1ull,
                                                       10ull,
                                                       100ull,
                                                       1000ull,
                                                       10000ull,
                                                       100000ull,
                                                       1000000ull,
                                                       10000000ull,
                                                       100000000ull,
                                                       1000000000ull,
                                                       10000000000ull,
                                                       100000000000ull,
                                                       1000000000000ull,
                                                       10000000000000ull,
                                                       100000000000000ull,
                                                       1000000000000000ull,
                                                       10000000000000000ull,
                                                       100000000000000000ull,
                                                       1000000000000000000ull,
                                                       10000000000000000000ull};

constexpr char DigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Writes the decimal digits of value so that they end at end; returns where
// they begin.
char* WriteDigits(std::uint64_t value, char* end) {
    while (value >= 100) {
        const std::uint64_t pair = value % 100;
        value /= 100;
        end -= 2;
        std::memcpy(end, DigitPairs + 2 * pair, 2);
    }
    if (value >= 10) {
        end -= 2;
        std::memcpy(end, DigitPairs + 2 * value, 2);
    } else {
        *--end = static_cast<char>('0' + value);
    }
    return end;
}

char* WriteDigits(UInt128 value, char* end) {
    constexpr std::uint64_t Chunk = 10000000000000000000ull;  // 19 digits
    while (value > UINT64_MAX) {
        char* chunkEnd = end;
        end = WriteDigits(static_cast<std::uint64_t>(value % Chunk), end);
        while (chunkEnd - end < 19) *--end = '0';
        value /= Chunk;
    }
    return WriteDigits(static_cast<std::uint64_t>(value), end);
}

// The text [begin, end) of buffer, padded with blanks on the left to width as
// measured by untrimmedLength, before the DelZero cut (which a control program
// applied to the padded text).
std::string_view Padded(char* begin, const char* end, std::size_t untrimmedLength, int width) {
    if (static_cast<std::size_t>(width) > untrimmedLength) {
        const std::size_t padding = static_cast<std::size_t>(width) - untrimmedLength;
        begin -= padding;
        std::memset(begin, ' ', padding);
    }
    return {begin, static_cast<std::size_t>(end - begin)};
}

}  // namespace

std::optional<NumberFormat> NumberFormat::Parse(std::string_view text, Kind kind) {
    const std::size_t point = text.find('.');
    const std::string_view widthText = text.substr(0, point);
    const std::string_view precisionText =
        point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    if (widthText.empty() && point == std::string_view::npos) return std::nullopt;
    if (point != std::string_view::npos && precisionText.empty()) return std::nullopt;

    auto readNumber = [](std::string_view digits, int limit, int& result) {
        if (digits.empty()) return true;
        if (digits.size() > 3) return false;
        for (char c : digits)
            if (c < '0' || c > '9') return false;
        result = 0;
        for (char c : digits) result = result * 10 + (c - '0');
        return result <= limit;
    };
    NumberFormat format;
    format.kind = kind;
    if (!readNumber(widthText, MaxWidth, format.width)) return std::nullopt;
    if (point != std::string_view::npos && !readNumber(precisionText, MaxPrecision, format.precision))
        return std::nullopt;
    return format;
}

std::string NumberFormat::text() const {
    std::string result = "%";
    result += std::to_string(width);
    if (precision >= 0) {
        result += '.';
        result += std::to_string(precision);
    }
    result += kind == Kind::Fixed ? 'f' : 'd';
    return result;
}

std::string_view WriteFixed(NumberBuffer& buffer, double value, const NumberFormat& format, bool delZero,
                            Rounding rounding) {
    // value = mantissa * 2^exponent, taken from the bits without the maths
    // library: every double is such a dyadic fraction, so value * 10^decimals
    // is mantissa * 10^decimals / 2^-exponent and the rounding is exact integer
    // work.
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const auto biased = static_cast<int>((bits >> 52) & 0x7ff);
    if (biased == 0x7ff) throw std::invalid_argument("A number to write is not finite");
    std::uint64_t mantissa = bits & ((1ull << 52) - 1);
    int exponent = -1074;
    if (biased != 0) {
        mantissa |= 1ull << 52;
        exponent = biased - 1075;
    }
    const bool negative = (bits >> 63) != 0 && mantissa != 0;  // an exact -0.0 has no sign
    if (mantissa != 0) {
        const int zeros = std::countr_zero(mantissa);
        mantissa >>= zeros;
        exponent += zeros;
    }
    const int decimals = format.decimals();
    // How a remainder below one unit of the last decimal goes: half away from
    // zero, or away from zero (up for positives, down for negatives) whenever
    // any is left, or never.
    const bool awayWhenAny = rounding != Rounding::HalfAwayFromZero && (rounding == Rounding::Upward) != negative;
    const bool halfAway = rounding == Rounding::HalfAwayFromZero;
    const std::uint64_t power = PowersOfTen[static_cast<std::size_t>(decimals)];
    char* const end = buffer.data() + buffer.size();

    UInt128 scaled = 0;  // round-half-away(|value| * 10^decimals)
    if (exponent >= 0) {
        if (static_cast<int>(std::bit_width(mantissa)) + exponent > 67) {
            // Beyond 2^67 the value is a whole number far outside any machine;
            // the library's exact conversion writes it, after room for padding.
            char* const begin = buffer.data() + NumberFormat::MaxWidth;
            char* digits = begin;
            if (negative) *digits++ = '-';
            const auto [digitsEnd, error] =
                std::to_chars(digits, end, std::fabs(value), std::chars_format::fixed, decimals);
            if (error != std::errc()) throw std::invalid_argument("A number to write is out of range");
            const auto length = static_cast<std::size_t>(digitsEnd - begin);
            const char* textEnd = digitsEnd;
            if (delZero && decimals > 0)
                while (textEnd[-1] == '0') --textEnd;  // stops at the point
            return Padded(begin, textEnd, length, format.width);
        }
        scaled = (static_cast<UInt128>(mantissa) << exponent) * power;
    } else if (const int shift = -exponent; shift < 64 && mantissa <= UINT64_MAX / power) {
        // Coordinates of every size a machine has: 64 bits are enough.
        const std::uint64_t product = mantissa * power;
        std::uint64_t rounded = product >> shift;
        const std::uint64_t rest = product & ((1ull << shift) - 1);
        if (halfAway ? rest >= (1ull << (shift - 1)) : awayWhenAny && rest != 0) ++rounded;
        scaled = rounded;
    } else {
        const UInt128 product = static_cast<UInt128>(mantissa) * power;  // below 2^113
        if (shift < 114) {
            scaled = product >> shift;
            const UInt128 remainder = product - (scaled << shift);
            if (halfAway ? remainder >= (static_cast<UInt128>(1) << (shift - 1)) : awayWhenAny && remainder != 0)
                ++scaled;
        } else if (awayWhenAny && mantissa != 0) {
            scaled = 1;  // a sliver away from zero still needs a whole unit; zero itself does not
        }
        // Otherwise below half a unit of the last decimal: zero.
    }

    // Written from the right: decimals, point, whole digits, sign.
    char* begin = end;
    if (scaled <= UINT64_MAX) {
        auto rest = static_cast<std::uint64_t>(scaled);
        int left = decimals;
        for (; left >= 2; left -= 2) {
            begin -= 2;
            std::memcpy(begin, DigitPairs + 2 * (rest % 100), 2);
            rest /= 100;
        }
        if (left == 1) {
            *--begin = static_cast<char>('0' + rest % 10);
            rest /= 10;
        }
        if (decimals > 0) *--begin = '.';
        begin = WriteDigits(rest, begin);
    } else {
        begin = WriteDigits(scaled, end);  // at least 20 digits, more than the decimals
        if (decimals > 0) {
            char* const point = end - decimals - 1;
            std::memmove(begin - 1, begin, static_cast<std::size_t>(point - begin + 1));
            *point = '.';
            --begin;
        }
    }
    if (negative) *--begin = '-';
    const auto untrimmed = static_cast<std::size_t>(end - begin);
    const char* textEnd = end;
    if (delZero && decimals > 0)
        while (textEnd[-1] == '0') --textEnd;  // stops at the point
    return Padded(begin, textEnd, untrimmed, format.width);
}

std::string_view WriteInteger(NumberBuffer& buffer, std::int64_t value, const NumberFormat& format) {
    const std::uint64_t magnitude =
        value < 0 ? static_cast<std::uint64_t>(-(value + 1)) + 1 : static_cast<std::uint64_t>(value);
    char* const end = buffer.data() + buffer.size();
    char* begin = WriteDigits(magnitude, end);
    while (end - begin < format.precision) *--begin = '0';
    if (value < 0) *--begin = '-';
    const auto length = static_cast<std::size_t>(end - begin);
    return Padded(begin, end, length, format.width);
}

void AppendFixed(std::string& out, double value, const NumberFormat& format, bool delZero) {
    NumberBuffer buffer;
    out += WriteFixed(buffer, value, format, delZero);
}

void AppendInteger(std::string& out, std::int64_t value, const NumberFormat& format) {
    NumberBuffer buffer;
    out += WriteInteger(buffer, value, format);
}

std::string FormatFixed(double value, const NumberFormat& format, bool delZero, Rounding rounding) {
    NumberBuffer buffer;
    return std::string(WriteFixed(buffer, value, format, delZero, rounding));
}

}  // namespace calvoro

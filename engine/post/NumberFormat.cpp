#include "engine/post/NumberFormat.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
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

// Decimal digits of an unsigned 128-bit number, at least minDigits of them.
// Returns the number of characters written at the end of buffer.
std::size_t WriteDigits(UInt128 value, int minDigits, char* bufferEnd) {
    char* p = bufferEnd;
    int count = 0;
    while (value >= 10000000000000000000ull) {  // peel off 19 digits at a time
        std::uint64_t low = static_cast<std::uint64_t>(value % 10000000000000000000ull);
        value /= 10000000000000000000ull;
        for (int i = 0; i < 19; ++i) {
            *--p = static_cast<char>('0' + low % 10);
            low /= 10;
        }
        count += 19;
    }
    auto small = static_cast<std::uint64_t>(value);
    do {
        *--p = static_cast<char>('0' + small % 10);
        small /= 10;
        ++count;
    } while (small != 0);
    while (count < minDigits) {
        *--p = '0';
        ++count;
    }
    return static_cast<std::size_t>(count);
}

void PadToWidth(std::string& out, std::size_t start, int width) {
    const std::size_t length = out.size() - start;
    if (static_cast<std::size_t>(width) > length) out.insert(start, static_cast<std::size_t>(width) - length, ' ');
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
    std::string result = "%" + std::to_string(width);
    if (precision >= 0) result += "." + std::to_string(precision);
    result += kind == Kind::Fixed ? "f" : "d";
    return result;
}

void AppendFixed(std::string& out, double value, const NumberFormat& format) {
    if (!std::isfinite(value)) throw std::invalid_argument("A number to write is not finite");
    const int decimals = format.decimals();
    const std::size_t start = out.size();

    // value = mantissa * 2^exponent with an odd mantissa (or zero): every
    // float and double is such a dyadic fraction, so value * 10^decimals is
    // mantissa * 10^decimals / 2^-exponent and the rounding is exact integer work.
    const bool negative = std::signbit(value) && value != 0.0;
    std::uint64_t mantissa = 0;
    int exponent = 0;
    if (value != 0.0) {
        int binaryExponent = 0;
        const double fraction = std::frexp(std::fabs(value), &binaryExponent);
        mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
        exponent = binaryExponent - 53;
        const int zeros = std::countr_zero(mantissa);
        mantissa >>= zeros;
        exponent += zeros;
    }

    const int mantissaBits = static_cast<int>(std::bit_width(mantissa));
    if (exponent >= 0 && mantissaBits + exponent > 127) {
        // Beyond 2^127 the value is a whole number far outside any machine;
        // the library's exact conversion does it.
        std::array<char, 400> buffer;
        auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                                          std::chars_format::fixed, decimals);
        if (error != std::errc()) throw std::invalid_argument("A number to write is out of range");
        if (negative) out += '-';
        out.append(buffer.data(), end);
        PadToWidth(out, start, format.width);
        return;
    }

    UInt128 scaled;  // round-half-away(|value| * 10^decimals)
    bool wholeNumber = false;
    if (exponent >= 0) {
        scaled = static_cast<UInt128>(mantissa) << exponent;
        wholeNumber = true;
    } else {
        const int shift = -exponent;
        const UInt128 product = static_cast<UInt128>(mantissa) * PowersOfTen[static_cast<std::size_t>(decimals)];
        if (shift >= 120) {
            // product < 2^113, so it is below half of 2^shift: rounds to zero
            scaled = 0;
        } else {
            scaled = product >> shift;
            const UInt128 remainder = product - (scaled << shift);
            if (remainder >= (static_cast<UInt128>(1) << (shift - 1))) ++scaled;
        }
    }

    std::array<char, 64> digits;
    char* digitsEnd = digits.data() + digits.size();
    if (negative) out += '-';
    if (wholeNumber) {
        const std::size_t count = WriteDigits(scaled, 1, digitsEnd);
        out.append(digitsEnd - count, count);
        if (decimals > 0) {
            out += '.';
            out.append(static_cast<std::size_t>(decimals), '0');
        }
    } else {
        const std::size_t count = WriteDigits(scaled, decimals + 1, digitsEnd);
        const std::size_t whole = count - static_cast<std::size_t>(decimals);
        out.append(digitsEnd - count, whole);
        if (decimals > 0) {
            out += '.';
            out.append(digitsEnd - decimals, static_cast<std::size_t>(decimals));
        }
    }
    PadToWidth(out, start, format.width);
}

void AppendInteger(std::string& out, std::int64_t value, const NumberFormat& format) {
    const std::size_t start = out.size();
    const UInt128 magnitude = value < 0 ? static_cast<UInt128>(-(value + 1)) + 1 : static_cast<UInt128>(value);
    std::array<char, 64> digits;
    char* digitsEnd = digits.data() + digits.size();
    const std::size_t count = WriteDigits(magnitude, std::max(format.precision, 1), digitsEnd);
    if (value < 0) out += '-';
    out.append(digitsEnd - count, count);
    PadToWidth(out, start, format.width);
}

void CutTrailingZeros(std::string& text, std::size_t from) {
    const std::size_t point = text.find('.', from);
    if (point == std::string::npos) return;
    std::size_t end = text.size();
    while (end > point + 1 && text[end - 1] == '0') --end;
    text.resize(end);
}

std::string FormatFixed(double value, const NumberFormat& format, bool delZero) {
    std::string text;
    AppendFixed(text, value, format);
    if (delZero) CutTrailingZeros(text);
    return text;
}

}  // namespace calvoro

// The number formats of a post-processor definition ("1.3" for three decimals,
// "1.0" for a whole tool number) and the formatter that writes numbers with
// them. The text is our own: no locale, no printf, "." as the decimal point, and
// the same bytes for the same value on every machine. A value exactly half way
// between two results rounds away from zero (0.125 with two decimals gives
// 0.13, -0.125 gives -0.13), so a mirrored path writes mirrored numbers.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace calvoro {

struct NumberFormat {
    enum class Kind { Fixed, Integer };

    // The largest width and precision a definition may ask for; anything larger
    // is a typing error, not a real control's need.
    static constexpr int MaxWidth = 40;
    static constexpr int MaxPrecision = 18;

    Kind kind = Kind::Fixed;
    int width = 0;       // the text is padded with blanks on the left up to this width
    int precision = -1;  // decimals (Fixed) or least digits (Integer); -1 when not given

    // Reads "width[.precision]" made of digits only ("1.3", "8", ".4").
    // Anything else (signs, letters, "%", blanks, too large) gives no format.
    static std::optional<NumberFormat> Parse(std::string_view text, Kind kind);

    // "%1.3f" / "%1.0d": the format as users know it from definitions.
    std::string text() const;

    // Decimals of a fixed format: two when the definition gave none.
    int decimals() const { return precision < 0 ? 2 : precision; }

    friend bool operator==(const NumberFormat&, const NumberFormat&) = default;
};

// The longest text of one number: a double's 309 whole digits, 18 decimals,
// the sign, the point and the widest padding.
inline constexpr std::size_t MaxNumberTextLength = 400;
using NumberBuffer = std::array<char, MaxNumberTextLength>;

// Writes value in a fixed format into buffer and returns the text (a view into
// buffer). Throws std::invalid_argument for NaN or infinity (an NC word must
// never carry one). A negative value that rounds to zero keeps its sign
// ("-0.000"); an exact -0.0 is written as 0. With delZero the "0" characters
// at the end of the decimals are cut, the point stays ("2.000" -> "2.", "10"
// stays "10").
//
// Upward and Downward round toward +infinity and -infinity instead: the Z of a
// cutting move is written no lower than computed, whatever the decimals. A
// value the decimals hold exactly (0 and -0 among them) is written as it is.
enum class Rounding { HalfAwayFromZero, Upward, Downward };
std::string_view WriteFixed(NumberBuffer& buffer, double value, const NumberFormat& format, bool delZero = false,
                            Rounding rounding = Rounding::HalfAwayFromZero);

// An integer format: at least `precision` digits (zeros in front), always at
// least one digit, the sign before the zeros.
std::string_view WriteInteger(NumberBuffer& buffer, std::int64_t value, const NumberFormat& format);

void AppendFixed(std::string& out, double value, const NumberFormat& format, bool delZero = false);
void AppendInteger(std::string& out, std::int64_t value, const NumberFormat& format);

// AppendFixed to a new string.
std::string FormatFixed(double value, const NumberFormat& format, bool delZero = false,
                        Rounding rounding = Rounding::HalfAwayFromZero);

}  // namespace calvoro

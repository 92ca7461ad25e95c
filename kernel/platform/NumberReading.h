// Numbers as a person types them and as the settings file stores them. Every
// edit, form field and stored value that holds a number reads it here, so
// "2,5" or "1.2.3" is refused the same way in the wizard, the tool form, the
// CAD pages and the settings file, whatever the machine's locale.
//
// A number is: blanks (spaces, tabs), an optional "+" or "-", digits with at
// most one "." (at least one digit, on either side of it: "5.", ".5"), an
// optional exponent ("e" or "E", an optional sign, digits), blanks. The whole
// text is read or none of it: there is no prefix reading, so "1.2.3" is no
// 1.2. "." is the only decimal separator; "," is no separator of any kind.
// "inf", "nan", hexadecimal and values beyond the type's range are refused.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace calvoro {

// The value of the text as a double; empty when the text is no number.
std::optional<double> ReadNumber(std::string_view text);

// The same grammar for single-precision fields: a value beyond the float
// range is refused rather than read as infinity.
std::optional<float> ReadSingleNumber(std::string_view text);

// A whole number: blanks, an optional sign, decimal digits, blanks; it must
// fit 32 bits. "1e1" and "5.0" are no whole numbers.
std::optional<std::int32_t> ReadWholeNumber(std::string_view text);

}  // namespace calvoro

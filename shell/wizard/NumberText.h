// Numbers as the wizard's edits hold them: parsed and formatted with "." as
// the decimal separator whatever the locale, so a job typed on one machine
// means the same on every other.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace calvoro {

// The value of an edit's text: optional blanks, an optional "-", digits with at
// most one ".", optional blanks. The program writes " 254." into its own edits,
// so a trailing point is a number too. Empty for anything else ("", "-", ".",
// "1e5", "nan") and for values too large to be finite.
std::optional<double> ParseEditNumber(std::string_view text);

// A value for a size or origin edit: three decimals in millimetres, four in
// inches.
std::string formatta(double value, bool inches);

// The shortest text that reads back as the same float ("1000", "0.3").
std::string ShortestNumberText(float value);

}  // namespace calvoro

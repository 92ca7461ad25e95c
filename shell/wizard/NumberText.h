// Numbers as the wizard's edits hold them: parsed and formatted with "." as
// the decimal separator whatever the locale, so a job typed on one machine
// means the same on every other.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace calvoro {

// The value of an edit's text, read as every typed number is (ReadNumber):
// the program writes " 254." into its own edits, so blanks and a trailing
// point are taken. Empty for anything else ("", "-", ".", "2,5", "1.2.3",
// "nan") and for values too large to be finite.
std::optional<double> ParseEditNumber(std::string_view text);

// A value for a size or origin edit: three decimals in millimetres, four in
// inches.
std::string formatta(double value, bool inches);

// The shortest text that reads back as the same float ("1000", "0.3").
std::string ShortestNumberText(float value);

}  // namespace calvoro

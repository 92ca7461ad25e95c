// What the NC page's small tool table shows for the current cutter, and how
// cutter numbers are written in the tool form: the labels a type needs, each
// as the number of its caption message and the field text after it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/tools/ToolRecord.h"

namespace calvoro {

// The text fields of the tool form, as typed.
struct ToolFieldTexts {
    std::string name;
    std::string number;
    std::string speed;
    std::string feedRate;
    std::string diameter;
    std::string cornerRadius;
    std::string taperAngle;
    std::string flatDiameter;
    ToolType type = ToolType::Flat;
};

struct ToolTableLine {
    std::string_view message;  // number of the caption message
    std::string value;
    bool operator==(const ToolTableLine&) const = default;
};

struct ToolTableTexts {
    std::string name;
    ToolTableLine number, speed, feedRate, diameter;
    // Shown by the cutter shapes that have them; empty for the others.
    std::optional<ToolTableLine> shapeValue;  // corner radius or taper angle
    std::optional<ToolTableLine> flatValue;   // the conical shapes' tip
};

ToolTableTexts MakeToolTableTexts(const ToolFieldTexts& fields);

// A cutter value as the form shows it: three decimals in millimetres, four in
// inches, without trailing zeros or a trailing point ("2.5", "10", "0.0625").
std::string FormatToolNumber(double value, bool inches = false);

}  // namespace calvoro

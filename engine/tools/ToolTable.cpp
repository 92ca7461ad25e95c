#include "engine/tools/ToolTable.h"

#include "engine/post/NumberFormat.h"

namespace calvoro {

ToolTableTexts MakeToolTableTexts(const ToolFieldTexts& fields) {
    ToolTableTexts table;
    table.name = fields.name;
    table.number = {"707", fields.number};
    table.speed = {"708", fields.speed};
    table.feedRate = {"709", fields.feedRate};
    table.diameter = {"711", fields.diameter};
    switch (fields.type) {
        case ToolType::BullNose:
        case ToolType::Spherical:
            table.shapeValue = ToolTableLine{"712", fields.cornerRadius};
            break;
        case ToolType::ConicalFlat:
            table.shapeValue = ToolTableLine{"713", fields.taperAngle};
            table.flatValue = ToolTableLine{"714", fields.flatDiameter};
            break;
        case ToolType::ConicalSpherical:
            table.shapeValue = ToolTableLine{"713", fields.taperAngle};
            table.flatValue = ToolTableLine{"712", fields.flatDiameter};
            break;
        default:
            break;
    }
    return table;
}

std::string FormatToolNumber(double value, bool inches) {
    std::string text = FormatFixed(value, NumberFormat{NumberFormat::Kind::Fixed, 0, inches ? 4 : 3}, true);
    if (!text.empty() && text.back() == '.') text.pop_back();
    if (text == "-0") text = "0";
    return text;
}

}  // namespace calvoro

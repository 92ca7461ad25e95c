// The NC page's tool table for each cutter shape, and cutter numbers as the
// tool form writes them.
#include <gtest/gtest.h>

#include "engine/tools/ToolTable.h"

using namespace calvoro;

namespace {

TEST(ToolTable, ShowsTheShapeValuesOnlyForTheShapesThatHaveThem) {
    ToolFieldTexts fields{"Ball 6", "3", "12000", "800", "6", "3", "15", "1", ToolType::Flat};
    struct Case {
        ToolType type;
        std::optional<ToolTableLine> shape, flat;
    };
    const Case cases[] = {
        {ToolType::Flat, {}, {}},
        {ToolType::Drill, {}, {}},
        {ToolType::Undefined, {}, {}},
        {ToolType::BullNose, ToolTableLine{"712", "3"}, {}},
        {ToolType::Spherical, ToolTableLine{"712", "3"}, {}},
        {ToolType::ConicalFlat, ToolTableLine{"713", "15"}, ToolTableLine{"714", "1"}},
        {ToolType::ConicalSpherical, ToolTableLine{"713", "15"}, ToolTableLine{"712", "1"}},
    };
    for (const Case& c : cases) {
        fields.type = c.type;
        const ToolTableTexts table = MakeToolTableTexts(fields);
        EXPECT_EQ(table.shapeValue, c.shape) << int(c.type);
        EXPECT_EQ(table.flatValue, c.flat) << int(c.type);
        EXPECT_EQ(table.name, "Ball 6");
        EXPECT_EQ(table.number, (ToolTableLine{"707", "3"}));
        EXPECT_EQ(table.speed, (ToolTableLine{"708", "12000"}));
        EXPECT_EQ(table.feedRate, (ToolTableLine{"709", "800"}));
        EXPECT_EQ(table.diameter, (ToolTableLine{"711", "6"}));
    }
}

TEST(FormatToolNumber, ShowsThreeOrFourDecimalsWithoutTrailingZeros) {
    struct Case {
        double value;
        bool inches;
        const char* text;
    };
    const Case cases[] = {{5, false, "5"}, {2.5, false, "2.5"}, {2.0625, false, "2.063"}, {0.0625, true, "0.0625"},
                          {1000, false, "1000"}, {0, false, "0"}, {-0.0001, false, "0"}};
    for (const Case& c : cases) EXPECT_EQ(FormatToolNumber(c.value, c.inches), c.text) << c.value;
}

}  // namespace

// The Z of a cutting move is written no lower than computed: rounded toward
// +infinity (or -infinity under a negative axis scale) at the written decimals;
// the written programs read back above the relief (WrittenProgramTest).
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace calvoro

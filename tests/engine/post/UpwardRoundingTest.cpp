// The Z of a cutting move is written no lower than computed: rounded toward
// +infinity (or -infinity under a negative axis scale) at the written decimals.
#include <gtest/gtest.h>

#include "engine/post/NcWordWriter.h"
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
        {-1.2346, Rounding::Upward, "-1.234"},   {-1.2346, Rounding::HalfAwayFromZero, "-1.235"},
        {1.2341, Rounding::Upward, "1.235"},     {1.234, Rounding::Upward, "1.234"},
        {-0.0004, Rounding::Upward, "-0.000"},   {1e-30, Rounding::Upward, "0.001"},
        {-1e-30, Rounding::Upward, "-0.000"},    {-1.2341, Rounding::Downward, "-1.235"},
        {1.2349, Rounding::Downward, "1.234"},   {1e-30, Rounding::Downward, "0.000"},
        {-2.0, Rounding::Upward, "-2.000"},      {0.0625, Rounding::Upward, "0.063"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatFixed(c.value, three, false, c.rounding), c.text) << c.value;
}

TEST(UpwardRoundingTest, OnlyTheZOfCuttingMovesIsRaised) {
    PostSettings settings;
    settings.outputSeq = false;
    NcWordWriter writer(settings);
    std::string text;
    writer.WriteNcMove(text, 0, "-2", 1.0004f, 2.0004f, -1.0006f);
    writer.WriteNcMove(text, 1, "300", 1.0004f, 2.0004f, -1.0006f);
    writer.WriteNcMove(text, 1, "300", 1.0004f, 2.0004f, -1.0014f);
    settings.axis(Axis::Z).scale = -1.0f;
    settings.axisScaling = true;
    NcWordWriter flipped(settings);
    flipped.WriteNcMove(text, 1, "300", 0, 0, -1.0006f);
    EXPECT_EQ(text,
              "G0 X1. Y2. Z-1.001\r\n"  // a rapid rounds to the nearest
              "G1 Z-1. F300\r\n"
              "Z-1.001\r\n"
              "G1 X0. Y0. Z1. F300\r\n");  // 1.0006 rounded down: toward the work's +Z
}

}  // namespace
}  // namespace calvoro

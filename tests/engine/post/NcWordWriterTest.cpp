// The word writers: move lines in the ISO and SBO forms under every modal and
// layout switch, block numbers, feed and number words.
#include "engine/post/NcWordWriter.h"
#include "tests/support/PostDefinitions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

using namespace calvoro;

namespace {

struct Move {
    int kind;
    const char* feed;
    float x, y, z;
};

// The lines the moves write, "|" after each move's (so a move that writes
// nothing shows as an empty field).
std::string Written(NcWordWriter& writer, const std::vector<Move>& moves) {
    std::string text;
    for (const auto& m : moves) {
        writer.WriteNcMove(text, m.kind, m.feed, m.x, m.y, m.z);
        text += '|';
    }
    return text;
}

// A comma-separated definition with three decimals, kept trailing zeros and
// a command letter for each kind.
void ScaleXAndZ(PostSettings& s) {
    s.axis(Axis::X).scale = 2.0f;
    s.axis(Axis::Z).scale = 0.5f;
    s.axisScaling = true;
}

TEST(NcWordWriterTest, MovesWriteTheirLinesUnderEverySwitch) {
    struct Case {
        const char* name;
        std::function<void(PostSettings&)> adjust;
        std::vector<Move> moves;
        const char* expected;
    };
    const std::vector<Move> modal = {{1, "500", 1, 2, 3}, {1, "500", 1, 5, 3}, {1, "800", 1, 5, 4}, {0, "-2", 1, 5, 4}};
    const std::vector<Move> twoRapids = {{0, "-2", 10, 20, 2}, {0, "-2", 11, 20, 2}};
    // clang-format off
    const Case cases[] = {
        // Every word of the third move stands already: no line and no block number used up.
        {"the worked example", [](PostSettings&) {},
         {{0, "-2", 10, 20, 2}, {1, "1000", 10, 25, -1}, {1, "1000", 10, 25, -1}, {0, "-2", 10, 25, 2}},
         "N1 G0 X10. Y20. Z2.\r\n|N3 G1 Y25. Z-1. F1000\r\n||N5 G0 Z2.\r\n|"},
        {"all modal", [](PostSettings&) {}, modal,
         "N1 G1 X1. Y2. Z3. F500\r\n|N3 Y5.\r\n|N5 Z4. F800\r\n||"},
        {"nothing modal", [](PostSettings& s) { s.xyzModal = s.gModal = s.fModal = false; }, modal,
         "N1 G1 X1. Y2. Z3. F500\r\n|N3 G1 X1. Y5. Z3. F500\r\n|N5 G1 X1. Y5. Z4. F800\r\n|N7 G0 X1. Y5. Z4.\r\n|"},
        {"G not modal", [](PostSettings& s) { s.gModal = false; }, modal,
         "N1 G1 X1. Y2. Z3. F500\r\n|N3 G1 Y5.\r\n|N5 G1 Z4. F800\r\n||"},
        {"axes not modal", [](PostSettings& s) { s.xyzModal = false; }, modal,
         "N1 G1 X1. Y2. Z3. F500\r\n|N3 X1. Y5. Z3.\r\n|N5 X1. Y5. Z4. F800\r\n|N7 G0 X1. Y5. Z4.\r\n|"},
        {"no blanks", [](PostSettings& s) { s.separator = ""; }, twoRapids, "N1G0X10.Y20.Z2.\r\n|N3X11.\r\n|"},
        // Without block numbers the line starts with its first word, no blank.
        {"no block numbers", [](PostSettings& s) { s.outputSeq = false; }, twoRapids, "G0 X10. Y20. Z2.\r\n|X11.\r\n|"},
        {"no blanks, no block numbers", [](PostSettings& s) { s.separator = "", s.outputSeq = false; }, twoRapids,
         "G0X10.Y20.Z2.\r\n|X11.\r\n|"},
        {"no block numbers, G not modal", [](PostSettings& s) { s.outputSeq = s.gModal = false; }, twoRapids,
         "G0 X10. Y20. Z2.\r\n|G0 X11.\r\n|"},
        {"scaled axes", ScaleXAndZ, {{0, "-2", 10, 10, 10}}, "N1 G0 X20. Y10. Z5.\r\n|"},
        // The command follows the axes that move: 3 all, 2 X and Y at the same Z, else the axis alone.
        {"SBO", test::SboDialect, {{0, "-2", 10, 20, 5}, {0, "-2", 30, 40, 5}, {1, "900", 30, 40, -1}, {1, "900", 35, 40, -1}, {1, "900", 35, 40, -1}, {1, "900", 36, 41, -2}},
         "J3,10.000,20.000,5.000\r\n|J2,30.000,40.000\r\n|MZ,-1.000\r\n|MX,35.000\r\n||M3,36.000,41.000,-2.000\r\n|"},
        {"SBO scaled", [](PostSettings& s) { test::SboDialect(s), ScaleXAndZ(s); }, {{0, "-2", 10, 20, 4}, {0, "-2", 15, 20, 4}, {0, "-2", 20, 30, 4}},
         "J3,20.000,20.000,2.000\r\n|JX,30.000\r\n|J2,40.000,30.000\r\n|"},
        // With blanks the comma texts carry the blank, so the single axis words
        // that follow never equal them and are always written.
        {"SBO with blanks", [](PostSettings& s) { test::SboDialect(s), s.separator = " "; }, {{0, "-2", 1, 2, 3}, {0, "-2", 4, 2, 3}},
         "J3, 1.000, 2.000, 3.000\r\n|J X,4.000 Y,2.000\r\n|"},
    };
    // clang-format on
    for (const auto& c : cases) {
        PostSettings settings;
        c.adjust(settings);
        NcWordWriter writer(settings);
        const std::string expected = c.expected;
        EXPECT_EQ(Written(writer, c.moves), expected) << c.name;
        // A new program starts with every word written.
        writer.ResetProgram();
        EXPECT_EQ(Written(writer, {c.moves[0]}), expected.substr(0, expected.find('|') + 1)) << c.name;
    }
}

TEST(NcWordWriterTest, BlockNumbersWrapAndNeverOverflow) {
    struct Case {
        std::int32_t start, increment, max;
        std::vector<std::string> expected;
    } const cases[] = {
        {1, 5, 10, {"N1", "N6", "N1", "N6", "N1"}},
        {1, 0, 3, {"N1", "N2", "N3", "N1", "N2"}},  // an increment below one counts as one
        {1, -5, 3, {"N1", "N2", "N3", "N1", "N2"}},
        {2147483600, 40, 2147483647, {"N2147483600", "N2147483640", "N2147483600", "N2147483640", "N2147483600"}},
        {5, 1, 2, {"N5", "N5", "N5", "N5", "N5"}},  // a start above the maximum repeats
    };
    for (const auto& c : cases) {
        PostSettings settings;
        settings.seqStart = c.start;
        settings.seqInc = c.increment;
        settings.seqMax = c.max;
        NcWordWriter writer(settings);
        std::vector<std::string> numbers;
        for (int i = 0; i < 5; ++i) numbers.push_back(writer.FormatBlockNumber());
        EXPECT_EQ(numbers, c.expected) << c.start << " " << c.increment << " " << c.max;
    }
    PostSettings off;
    off.outputSeq = false;
    NcWordWriter writer(off);
    EXPECT_EQ(writer.FormatBlockNumber(), "");
    EXPECT_EQ(writer.blockCounter(), 1);
}

}  // namespace

#include "engine/post/NcWordWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace calvoro;

namespace {

struct Move {
    int kind;
    const char* feed;
    float x, y, z;
};

// The lines each move writes, one entry per move ("" when it writes none).
std::vector<std::string> WriteMoves(NcWordWriter& writer, const std::vector<Move>& moves) {
    std::vector<std::string> lines;
    for (const auto& m : moves) {
        std::string out;
        writer.WriteNcMove(out, m.kind, m.feed, m.x, m.y, m.z);
        lines.push_back(out);
    }
    return lines;
}

TEST(NcWordWriterTest, WritesTheWorkedExampleByteForByte) {
    NcWordWriter writer{PostSettings{}};
    const auto lines = WriteMoves(writer, {{0, "-2", 10, 20, 2}, {1, "1000", 10, 25, -1}, {1, "1000", 10, 25, -1}});
    EXPECT_EQ(lines[0], "N1 G0 X10. Y20. Z2.\r\n");
    EXPECT_EQ(lines[1], "N3 G1 Y25. Z-1. F1000\r\n");
    EXPECT_EQ(lines[2], "");  // every word suppressed: no line, no block number used
    EXPECT_EQ(writer.blockCounter(), 5);
}

TEST(NcWordWriterTest, ModalSwitchesSuppressOnlyTheirOwnWords) {
    struct Case {
        bool xyzModal, gModal, fModal;
        std::vector<std::string> expected;
    };
    const std::vector<Move> moves = {{1, "500", 1, 2, 3}, {1, "500", 1, 5, 3}, {1, "800", 1, 5, 4}, {0, "-2", 1, 5, 4}};
    const Case cases[] = {
        {true, true, true, {"N1 G1 X1. Y2. Z3. F500\r\n", "N3 Y5.\r\n", "N5 Z4. F800\r\n", ""}},
        {false,
         false,
         false,
         {"N1 G1 X1. Y2. Z3. F500\r\n", "N3 G1 X1. Y5. Z3. F500\r\n", "N5 G1 X1. Y5. Z4. F800\r\n",
          "N7 G0 X1. Y5. Z4.\r\n"}},
        {true, false, true, {"N1 G1 X1. Y2. Z3. F500\r\n", "N3 G1 Y5.\r\n", "N5 G1 Z4. F800\r\n", ""}},
        {false,
         true,
         true,
         {"N1 G1 X1. Y2. Z3. F500\r\n", "N3 X1. Y5. Z3.\r\n", "N5 X1. Y5. Z4. F800\r\n", "N7 G0 X1. Y5. Z4.\r\n"}},
    };
    for (const auto& c : cases) {
        PostSettings settings;
        settings.xyzModal = c.xyzModal;
        settings.gModal = c.gModal;
        settings.fModal = c.fModal;
        NcWordWriter writer(settings);
        EXPECT_EQ(WriteMoves(writer, moves), c.expected) << c.xyzModal << c.gModal << c.fModal;
    }
}

TEST(NcWordWriterTest, SeparatorAndBlockNumbersShapeTheLineStart) {
    struct Case {
        bool spaces, blocks, gModal;
        const char* first;
        const char* second;
    } const cases[] = {
        {true, true, true, "N1 G0 X10. Y20. Z2.\r\n", "N3 X11.\r\n"},
        {false, true, true, "N1G0X10.Y20.Z2.\r\n", "N3X11.\r\n"},
        {true, false, true, "G0 X10. Y20. Z2.\r\n", "X11.\r\n"},  // no leading blank
        {false, false, true, "G0X10.Y20.Z2.\r\n", "X11.\r\n"},
        {true, false, false, "G0 X10. Y20. Z2.\r\n", "G0 X11.\r\n"},
    };
    for (const auto& c : cases) {
        PostSettings settings;
        settings.separator = c.spaces ? " " : "";
        settings.outputSeq = c.blocks;
        settings.gModal = c.gModal;
        NcWordWriter writer(settings);
        const auto lines = WriteMoves(writer, {{0, "-2", 10, 20, 2}, {0, "-2", 11, 20, 2}});
        EXPECT_EQ(lines[0], c.first);
        EXPECT_EQ(lines[1], c.second);
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

TEST(NcWordWriterTest, ResetStartsAProgramWithEveryWordWritten) {
    NcWordWriter writer{PostSettings{}};
    std::string out;
    writer.WriteNcMove(out, 1, "100", 1, 2, 3);
    out.clear();
    writer.ResetProgram();
    writer.WriteNcMove(out, 1, "100", 1, 2, 3);
    EXPECT_EQ(out, "N1 G1 X1. Y2. Z3. F100\r\n");
}

TEST(NcWordWriterTest, FeedWordsUseTheTypedTextAndTheRapidText) {
    PostSettings settings;
    settings.feedRapid = "FMAX";
    NcWordWriter writer(settings);
    EXPECT_EQ(writer.FormatFeedWord("1200.50"), " F1200.50");
    EXPECT_EQ(writer.FormatFeedWord("-2"), " FMAX");
    EXPECT_EQ(writer.lastFeedText(), "1200.50");  // a rapid leaves the memory alone
    EXPECT_EQ(writer.FormatFeedWord("1200.50"), "");
    EXPECT_EQ(writer.FormatFeedWord("300"), " F300");
    settings.feedRapid.clear();
    NcWordWriter plain(settings);
    EXPECT_EQ(plain.FormatFeedWord("-2"), "");
}

TEST(NcWordWriterTest, NumberWordsFollowTheirFormats) {
    PostSettings settings;
    settings.unitsFlag = 1;
    NcWordWriter writer(settings);
    EXPECT_EQ(writer.FormatToolWord(0), " T0");
    EXPECT_EQ(writer.FormatToolWord(12), " T12");
    EXPECT_EQ(writer.FormatPlainNumber(1.5f), " 1.5");
    EXPECT_EQ(writer.FormatSeparatedNumber(0.03125f), " 0.0313");  // four decimals in inches
    settings.unitsFlag = 0;
    settings.delZero = false;
    settings.toolFormat = NumberFormat{NumberFormat::Kind::Integer, 1, 2};
    NcWordWriter millimetres(settings);
    EXPECT_EQ(millimetres.FormatSeparatedNumber(0.03125f), " 0.031");
    EXPECT_EQ(millimetres.FormatToolWord(3), " T03");
}

TEST(NcWordWriterTest, AxisScaleAppliesToItsOwnAxisOnly) {
    PostSettings settings;
    settings.axis(Axis::X).scale = 2.0f;
    settings.axisScaling = true;
    NcWordWriter writer(settings);
    std::string out;
    writer.WriteNcMove(out, 0, "-2", 10, 10, 10);
    EXPECT_EQ(out, "N1 G0 X20. Y10. Z10.\r\n");
    EXPECT_EQ(writer.FormatPlainNumber(10), " 10.");  // plain numbers are never scaled
}

PostSettings SboSettings() {
    PostSettings settings;
    settings.dialect = PostDialect::Sbo;
    settings.outputSeq = false;
    settings.separator = "";
    settings.gModal = false;
    settings.gWords = {"J", "M", "", ""};
    settings.sboXyPrefix = "2,";
    settings.sboXyzPrefix = "3,";
    for (auto& axis : settings.axes) {
        axis.prefix += ",";
        axis.format.precision = 3;
    }
    settings.delZero = false;
    return settings;
}

TEST(NcWordWriterTest, SboFormPicksTheCommandByTheAxesThatMove) {
    NcWordWriter writer(SboSettings());
    const auto lines = WriteMoves(writer, {
                                              {0, "-2", 10, 20, 5},    // all three new
                                              {0, "-2", 30, 40, 5},    // X and Y at the same Z
                                              {1, "900", 30, 40, -1},  // Z alone
                                              {1, "900", 35, 40, -1},  // X alone
                                              {1, "900", 35, 40, -1},  // nothing
                                              {1, "900", 36, 41, -2},  // all three
                                          });
    const std::vector<std::string> expected = {
        "J3,10.000,20.000,5.000\r\n", "J2,30.000,40.000\r\n", "MZ,-1.000\r\n", "MX,35.000\r\n", "",
        "M3,36.000,41.000,-2.000\r\n"};
    EXPECT_EQ(lines, expected);
}

TEST(NcWordWriterTest, SboCommaFormsAreScaledLikeTheAxisWords) {
    PostSettings settings = SboSettings();
    settings.axis(Axis::X).scale = 2.0f;
    settings.axis(Axis::Z).scale = 0.5f;
    settings.axisScaling = true;
    NcWordWriter writer(settings);
    const auto lines = WriteMoves(writer, {{0, "-2", 10, 20, 4}, {0, "-2", 15, 20, 4}, {0, "-2", 20, 30, 4}});
    EXPECT_EQ(lines[0], "J3,20.000,20.000,2.000\r\n");
    EXPECT_EQ(lines[1], "JX,30.000\r\n");
    EXPECT_EQ(lines[2], "J2,40.000,30.000\r\n");
}

TEST(NcWordWriterTest, SboMemoryHoldsTheSeparatedTexts) {
    // With blanks between words the comma texts carry the blank, so the single
    // axis words that follow never equal them and are always written.
    PostSettings settings = SboSettings();
    settings.separator = " ";
    NcWordWriter writer(settings);
    std::string out;
    writer.WriteNcMove(out, 0, "-2", 1, 2, 3);
    writer.WriteNcMove(out, 0, "-2", 4, 2, 3);
    EXPECT_EQ(out, "J3, 1.000, 2.000, 3.000\r\nJ X,4.000 Y,2.000\r\n");
    EXPECT_EQ(writer.lastAxisText(Axis::X), " 4.000");
}

TEST(NcWordWriterTest, RefusesUnknownKindsAndCoordinatesThatAreNotNumbers) {
    NcWordWriter writer{PostSettings{}};
    std::string out;
    EXPECT_THROW(writer.WriteNcMove(out, 4, "100", 1, 2, 3), std::out_of_range);
    EXPECT_THROW(writer.WriteNcMove(out, 1, "100", 1, std::numeric_limits<float>::quiet_NaN(), 3),
                 std::invalid_argument);
    EXPECT_THROW(writer.WriteNcMove(out, 1, "100", 1, 2, INFINITY), std::invalid_argument);
    EXPECT_EQ(out, "");
}

}  // namespace

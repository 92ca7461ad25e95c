// The post-processor: number formats against the exact decimal expansion, NC
// moves and block numbers under every switch, the keywords of the head and
// tail templates, and reading a definition's keys.
#include "engine/nc/NcProgram.h"
#include "engine/post/NcWordWriter.h"
#include "engine/post/NumberFormat.h"
#include "engine/post/PostLoader.h"
#include "engine/post/PostTemplate.h"
#include "tests/support/PostDefinitions.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <random>
#include <vector>

using namespace calvoro;
namespace fs = std::filesystem;

namespace {

NumberFormat Fixed(int width, int precision) {
    return {NumberFormat::Kind::Fixed, width, precision};
}

TEST(NumberFormatTest, FixedFormatsRoundHalfAwayFromZeroAndCutZerosOnRequest) {
    struct Case {
        double value;
        NumberFormat format;
        bool delZero;
        const char* expected;
    } const cases[] = {
        {1.5, Fixed(1, 3), true, "1.5"},
        {2.0, Fixed(1, 3), true, "2."},
        {2.0, Fixed(1, 3), false, "2.000"},
        {-0.0001f, Fixed(1, 3), false, "-0.000"},  // a small negative keeps its sign
        {-0.0001f, Fixed(1, 3), true, "-0."},
        {-0.0, Fixed(1, 3), true, "0."},        // an exact negative zero has none
        {10.0, Fixed(1, 0), true, "10"},        // no point: nothing to cut
        {0.0625, Fixed(1, 3), false, "0.063"},  // exact ties at common pixel pitches
        {-2.5, Fixed(1, 0), false, "-3"},
        {0.0005f, Fixed(1, 3), false, "0.001"},  // the float lies just above the tie
        {0.1f, Fixed(1, 3), false, "0.100"},
        {123456.789f, Fixed(1, 3), false, "123456.789"},
        {12.3456f, Fixed(8, 2), false, "   12.35"},
        {1.5, Fixed(8, 3), true, "   1.5"},
        {1.0, Fixed(1, -1), false, "1.00"},                  // no precision: two decimals
        {0.1, Fixed(1, 18), false, "0.100000000000000006"},  // the double's exact digits
        {3.0e38f, Fixed(1, 1), false, "300000000549775575777803994281145270272.0"},
        {3.0e38f, Fixed(1, 1), true, "300000000549775575777803994281145270272."},
        {std::numeric_limits<double>::denorm_min(), Fixed(1, 2), false, "0.00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatFixed(c.value, c.format, c.delZero), c.expected)
            << c.value << " with " << c.format.text() << (c.delZero ? " and DelZero" : "");
    EXPECT_THROW(FormatFixed(std::nan(""), Fixed(1, 3)), std::invalid_argument);
    EXPECT_THROW(FormatFixed(-INFINITY, Fixed(1, 3)), std::invalid_argument);
}

// Reference: the exact decimal expansion of the value (the library gives it
// when asked for enough digits), rounded half away from zero on the digits.
std::string ReferenceFixed(double value, int decimals) {
    char buffer[512];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed, 200);
    EXPECT_EQ(error, std::errc());
    std::string digits(buffer, end);
    const std::size_t point = digits.find('.');
    const bool up = digits[point + 1 + static_cast<std::size_t>(decimals)] >= '5';
    std::string kept = digits.substr(0, point) + digits.substr(point + 1, static_cast<std::size_t>(decimals));
    if (up) {
        int i = static_cast<int>(kept.size()) - 1;
        while (i >= 0 && kept[static_cast<std::size_t>(i)] == '9') kept[static_cast<std::size_t>(i--)] = '0';
        if (i < 0)
            kept.insert(0, "1");
        else
            ++kept[static_cast<std::size_t>(i)];
    }
    std::string result = kept.substr(0, kept.size() - static_cast<std::size_t>(decimals));
    if (decimals > 0) result += "." + kept.substr(kept.size() - static_cast<std::size_t>(decimals));
    if (std::signbit(value) && value != 0) result.insert(0, "-");
    return result;
}

TEST(NumberFormatTest, MatchesTheExactDecimalExpansionForRandomFloats) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<std::uint32_t> bits(0, 0xffffffffu);
    int checked = 0;
    while (checked < 20000) {
        const std::uint32_t pattern = bits(random);
        float value;
        std::memcpy(&value, &pattern, sizeof value);
        if (!std::isfinite(value) || std::fabs(value) > 1e12f || std::fabs(value) < 1e-12f) continue;
        const int decimals = static_cast<int>(pattern % 7);
        ASSERT_EQ(FormatFixed(value, Fixed(1, decimals)), ReferenceFixed(value, decimals)) << value;
        ++checked;
    }
    // Ties: every multiple of 1/64 below 4 at 1 to 5 decimals.
    for (int k = -256; k <= 256; ++k)
        for (int decimals = 1; decimals <= 5; ++decimals)
            ASSERT_EQ(FormatFixed(k / 64.0, Fixed(1, decimals)), ReferenceFixed(k / 64.0, decimals)) << k;
}

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

std::string Expand(std::string_view text, NcWordWriter& writer, TemplatePoint point = {12.5, -4}) {
    return ExpandPostTemplate(text, point, writer, test::JobValues());
}

TEST(PostTemplateTest, KeywordsGiveTheirWordsAndOtherTextStaysAsItIs) {
    const std::pair<const char*, const char*> cases[] = {
        {"%[n][progn]", "%N1O0001"},  // keyword values carry their own separators
        {"[tool] M6", " T3 M6"},
        {"[speed] [spindle_on]", "S18000 M3"},
        {"[spindle_off][coolant_on][coolant_off]", "M5M8M9"},
        {"G43 [offlen]", "G43 H3"},
        {"[toolname]", "(BALL  6MM  ROUGH)"},
        {"[progname]", "(RELIEF.NC)"},
        {"G0[xrapid][yrapid][zrapid]", "G0 X12.5 Y-4. Z5."},
        {"[x][y]", " X12.5 Y-4."},
        {"[depth]/[ref_height]", " -1./ 5."},
        {"G1[feedplunge] [feed]", "G1 F300  F1000"},
        {"[N][Tool][unknown][]", ""},             // keywords are case-sensitive; others are empty
        {"G0 [x", "G0 [x"},                       // an unclosed bracket loses nothing
        {"M3[spindle_off] (a [b", "M3M5 (a [b"},  // nor after a keyword
        {"a]b[progn]", "a]bO0001"},               // a closing bracket before the first opening one is text
        {"a]b[c]", "a]b"},
        {"[[n]]", "]"},  // the keyword is "[n", up to the first closing bracket
    };
    for (const auto& [text, expected] : cases) {
        NcWordWriter writer{PostSettings{}};
        EXPECT_EQ(Expand(text, writer), expected) << text;
    }
}

class PostLoaderTest : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(folder_ / "pst"); }

    // Writes pst/<name>.pst and loads it as the current definition.
    PostLoadResult Load(const std::string& text, PostSettings current = {}, const std::string& name = "test") {
        WriteFileAtomically(folder_ / "pst" / (name + ".pst"), text);
        current.postName = name;
        return LoadPostProcessor(folder_.path(), current);
    }

    test::TempFolder folder_{"pst"};
};

TEST_F(PostLoaderTest, ReadsTheKeysInAnyCaseWithBooleansAsIntegersAndTextBlocksWithGaps) {
    const PostLoadResult result = Load(
        "[block numbering]\r\noutputseq=1\r\nPREF=\"B\"\r\nSeqStart=$10\r\n"
        "[DEFAULT]\r\nXYZModal=-3\r\nGModal=True\r\nFModal=0\r\nDelZero=1\r\nSpaces=0\r\nfile_extension=tap\r\n"
        "EndComment=\r\nSimulate=0\r\n[ArcDef]\r\nIPref=CX\r\nArcOutput=2\r\n[Tool]\r\nTofflen=D\r\n"
        "[Feed]\r\nRapid=FMAX\r\n[GCode]\r\nRapid=G00\r\nXILSuffix_CW=CW\r\n[ShopBot]\r\nSBO_XYZPref=M3,\r\n"
        "[Cycle_2]\r\nExploded=0\r\nCycle_def=G81\r\n"
        "[Start_of_file]\r\n5=five\r\n1=one\r\n2=two\r\n3=\r\n31=ignored\r\n[Post Comment]\r\n10=ten\r\n11=eleven\r\n"
        "[End_of_file]\r\n30=\"  M30  \"\r\n[Tool_change]\r\n1=M6\r\n");
    EXPECT_TRUE(result.problems.empty());
    const PostSettings& s = result.settings;
    EXPECT_TRUE(s.outputSeq);
    EXPECT_EQ(s.seqPrefix, "B");
    EXPECT_EQ(s.seqStart, 16);
    EXPECT_TRUE(s.xyzModal);
    EXPECT_FALSE(s.gModal);  // "True" is no integer: the file default
    EXPECT_FALSE(s.fModal);
    EXPECT_TRUE(s.delZero);
    EXPECT_EQ(s.separator, "");
    EXPECT_EQ(s.fileExtension, "TAP");
    EXPECT_EQ(s.endComment, "");  // present and empty is not missing
    EXPECT_FALSE(s.simulate);
    EXPECT_EQ(s.iPrefix, "CX");
    EXPECT_EQ(s.arcOutput, 2);
    EXPECT_EQ(s.toolLengthOffsetPrefix, "D");
    EXPECT_EQ(s.feedRapid, "FMAX");
    EXPECT_EQ(s.gWords[0], "G00");
    EXPECT_EQ(s.xilSuffixClockwise, "CW");
    EXPECT_EQ(s.sboXyzPrefix, "M3,");
    EXPECT_FALSE(s.cycles[1].exploded);
    EXPECT_EQ(s.cycles[1].cycleDef, "G81");
    EXPECT_TRUE(s.cycles[0].exploded);
    EXPECT_EQ(s.startOfFile, "one\r\ntwo\r\nfive\r\n");
    EXPECT_EQ(s.postComment, "ten\r\n");
    EXPECT_EQ(s.endOfFile, "  M30  \r\n");  // quotes keep the blanks
    EXPECT_EQ(s.toolChange, "M6\r\n");
}

// Every CR of a program text is part of a CR LF, every LF too, and no other
// control character than a tab is in it.
bool OnlyWholeLineEnds(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) return false;
        if (byte == '\n' && (i == 0 || text[i - 1] != '\r')) return false;
        if ((byte < 0x20 && byte != '\r' && byte != '\n' && byte != '\t') || byte == 0x7f) return false;
    }
    return true;
}

std::string ProgramOf(const PostSettings& post) {
    MoveList moves;
    moves.feedPlaneZ = 5;
    moves.moves = {{MoveKind::Rapid, 1, 2, 5}, {MoveKind::Plunge, 1, 2, -1}, {MoveKind::Feed, 3, 2, -1.5}};
    return GenerateNcProgram(moves, post, test::JobValues()).text;
}

TEST_F(PostLoaderTest, AValueWithAControlCharacterIsReportedAndNeverReachesTheProgram) {
    const std::string shipped = ReadWholeFile(test::ShippedData() / "pst" / "Fanuc_mm.pst");
    std::string crCrLf;
    for (char c : shipped) crCrLf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const struct {
        const char* name;
        std::string text;
        const char* problem;  // empty: none
        std::function<bool(const PostSettings&)> holds;
    } cases[] = {
        {"a lone CR in the Z prefix", "[Z Axis]\r\nPref=\rn\r\nFormat=1.2\r\n", "[Z Axis] Pref",
         [](const PostSettings& s) { return s.axes[2].prefix == "Z" && s.axes[2].format.precision == 2; }},
        {"a control character in the block prefix", "[Block Numbering]\r\nOutputSeq=1\r\nPref=N\x01\r\nSeqInc=5\r\n",
         "[Block Numbering] Pref",
         [](const PostSettings& s) { return s.seqPrefix == "N" && s.outputSeq && s.seqInc == 5; }},
        {"an escape in a head line", "[Start_of_file]\r\n1=%\r\n2=G21\x1bG90\r\n3=G17\r\n", "[Start_of_file] 2",
         [](const PostSettings& s) { return s.startOfFile == "%\r\nG17\r\n"; }},
        {"a vertical tab after a number", "[Block Numbering]\r\nSeqInc=4\x0b\r\n[GCode]\r\nLinear=G01\r\n",
         "[Block Numbering] SeqInc", [](const PostSettings& s) { return s.seqInc == 1 && s.gWords[1] == "G01"; }},
        {"a DEL in the comment start", "[Default]\r\nStartComment=(\x7f\r\nDialect=ISO\r\n", "[Default] StartComment",
         [](const PostSettings& s) { return s.startComment == "("; }},
        {"a tab between words stays", "[Start_of_file]\r\n1=G90\tG17\r\n", "",
         [](const PostSettings& s) { return s.startOfFile == "G90\tG17\r\n"; }},
        {"CR CR LF line ends", crCrLf, "",
         [&](const PostSettings& s) {
             return s.outputSeq && ProgramOf(s) == ProgramOf(Load(shipped, {}, "shipped").settings);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PostLoadResult result = Load(c.text);
        if (*c.problem == '\0') {
            EXPECT_TRUE(result.problems.empty()) << result.problems.front();
        } else {
            EXPECT_EQ(result.problems.size(), 1u);
            if (!result.problems.empty()) {
                EXPECT_EQ(result.problems.front().rfind(c.problem, 0), 0u) << result.problems.front();
            }
        }
        EXPECT_TRUE(c.holds(result.settings));
        const std::string program = ProgramOf(result.settings);
        EXPECT_TRUE(OnlyWholeLineEnds(program)) << program;
    }
}

}  // namespace

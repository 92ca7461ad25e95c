// NC programs: lines read back into moves in every dialect, the program of a
// move list as its definition spells it, refusals that keep the previous
// file, and moves that read back as written, also through every shipped
// definition.
//
// Post-processor definitions as users write them: saved in Windows-1252, with
// a bracket left open on a head line, with an absurd axis scale, or named
// like a file that is none.
#include "engine/nc/NcProgram.h"
#include "engine/nc/NcReader.h"
#include "engine/post/PostLoader.h"
#include "engine/post/PostTemplate.h"
#include "kernel/platform/AtomicFile.h"
#include "tests/support/PostDefinitions.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

using namespace calvoro;
namespace fs = std::filesystem;

namespace {

// One line and what the reader holds after it.
struct Step {
    std::string line;
    bool result;
    int kind;
    float x, y, i, j, r, cycleR;
    const char* zText;
};

TEST(NcReaderTest, LinesGiveKindCoordinatesAndArcWords) {
    struct Case {
        const char* name;
        std::function<void(PostSettings&)> adjust;
        std::vector<Step> steps;
    };
    const auto iso = [](PostSettings&) {};
    // clang-format off
    const Case cases[] = {
        {"ISO", iso, {
            {"G1 X10 Y5 (G0 X99)", true, 1, 10, 5, 0, 0, 0, 0, "2"},  // the comment is never read
            {"G28 X0 Y0", false, 1, 10, 5, 0, 0, 0, 0, "2"},
            {"X1 G28 Y2", true, 1, 1, 5, 0, 0, 0, 0, "2"},
            {"G2 X10 Y0 I5 J0 R7", true, 2, 10, 0, 5, 0, 7, 0, "2"},
            {"G3 X1 R", true, 3, 1, 0, 5, 0, 7, 0, "2"},  // a failed R keeps R
            {"X20", true, 3, 20, 0, 5, 0, 0, 0, "2"},     // modal arc; R back to 0
            {"G17 G1 X1 Z-.25", true, 1, 1, 0, 5, 0, 0, 0, "-.25"},
            {"G83 X1 Y1 R2", true, 83, 1, 1, 5, 0, 0, 2, "-.25"},
            {"G80", false, 83, 1, 1, 5, 0, 0, 2, "-.25"},  // other G numbers are ignored
            {"N10 G0 X-.5 Y3.", true, 0, -0.5f, 3, 5, 0, 0, 2, "-.25"},
            {"X- Y1.2.3 Z7", true, 0, -0.5f, 3, 5, 0, 0, 2, "7"},
            {"x5 y6 g1", false, 0, -0.5f, 3, 5, 0, 0, 2, "7"},  // lower case is no word
            {"X+5 Y 6", false, 0, -0.5f, 3, 5, 0, 0, 2, "7"},   // plus sign and blank end numbers
            {"G99999999999 X2", true, 0, 2, 3, 5, 0, 0, 2, "7"},
            {"N5 G1Y4Z-1", true, 1, 2, 4, 5, 0, 0, 2, "-1"},
            {"X1e5", true, 1, 1, 4, 5, 0, 0, 2, "-1"},  // "e5" is no part of the number
            {"X99999999999999999999999999999999999999999", false, 1, 1, 4, 5, 0, 0, 2, "-1"},
            {"G1 X3 (" + std::string(300, '-') + " X5 Y7)", true, 1, 3, 4, 5, 0, 0, 2, "-1"}}},  // however long
        {"HEI", [](PostSettings& s) { s.dialect = PostDialect::Hei, s.feedRapid = "FMAX"; }, {
            {"CC X+10 Y+5", false, 0, 0, 0, 0, 0, 0, 0, "2"},  // a plus sign ends a number
            {"CC X10 Y5", false, 0, 0, 0, 10, 5, 0, 0, "2"},
            {"C X20 Y5 DR-", true, 2, 20, 5, 10, 5, 0, 0, "2"},
            {"C X0 Y5 DR+", true, 3, 0, 5, 10, 5, 0, 0, "2"},
            {"X1", true, 3, 1, 5, 10, 5, 0, 0, "2"},
            {"7 L X10.000 Y20.000 Z2.000 FMAX", true, 0, 10, 20, 10, 5, 0, 0, "2.000"},
            {"8 L Z-1.000 F300", true, 1, 10, 20, 10, 5, 0, 0, "-1.000"}}},
        // An empty comment opener or rapid text means none, never "found everywhere".
        {"no comments, no rapid text", [](PostSettings& s) { s.startComment = s.feedRapid = ""; }, {
            {"G1 X3 Y4", true, 1, 3, 4, 0, 0, 0, 0, "2"}}},
        {"rapid text", [](PostSettings& s) { s.feedRapid = "F9999"; }, {
            {"G1 X3 F9999", true, 0, 3, 0, 0, 0, 0, 0, "2"},
            {"G2 X4 F9999", true, 2, 4, 0, 0, 0, 0, 0, "2"}}},  // arcs stay arcs
    };
    // clang-format on
    for (const Case& c : cases) {
        PostSettings settings;
        c.adjust(settings);
        NcReader reader(settings);
        reader.ResetIsoRun("2");
        IsoMove move;
        for (const auto& s : c.steps) {
            SCOPED_TRACE(std::string(c.name) + ": " + s.line.substr(0, 40));
            EXPECT_EQ(reader.ParseIsoLine(s.line, move), s.result);
            EXPECT_EQ(move.kind, s.kind);
            EXPECT_EQ(reader.isoModalKind, s.kind);
            EXPECT_EQ(std::vector<float>({move.x, move.y, move.i, move.j, move.r, move.cycleR}),
                      std::vector<float>({s.x, s.y, s.i, s.j, s.r, s.cycleR}));
            EXPECT_EQ(reader.isoZText, s.zText);
        }
    }
}

using enum MoveKind;

// One pass of two polylines: the second is reached by a retract.
MoveList TwoPolylines() {
    MoveList list;
    list.feedPlaneZ = 5;
    list.passCount = 1;
    list.moves = {{Rapid, 10, 20, 5},   {Plunge, 10, 20, -1}, {Feed, 15, 20, -1},
                  {Feed, 15, 25, -1.5}, {Rapid, 15, 25, 5},   {Rapid, 40, 20, 5},
                  {Plunge, 40, 20, -2}, {Feed, 40, 30, -2},   {Rapid, 40, 30, 5}};
    return list;
}

TEST(NcProgramTest, WritesHeadMovesAndTailAsTheDefinitionSpellsThem) {
    PostSettings settings;  // blocks on with increment 2, everything modal, DelZero
    settings.startOfFile = "%\r\n[n][progn] [progname]\r\n[n] G0[xrapid][yrapid][zrapid]\r\n";
    settings.endOfFile = "[n] M30\r\n%\r\n";
    settings.refHeight = 99;  // the list's feed plane is the reference height
    const NcProgram program = GenerateNcProgram(TwoPolylines(), settings, test::JobValues());
    EXPECT_EQ(program.text,
              "%\r\n"
              "N1O0001 (RELIEF.NC)\r\n"
              "N3 G0 X10. Y20. Z5.\r\n"  // the first rapid adds nothing to the head's position
              "N5 G1 Z-1. F300\r\n"
              "N7 X15. F1000\r\n"  // the feed word again after the plunge
              "N9 Y25. Z-1.5\r\n"
              "N11 G0 Z5.\r\n"
              "N13 X40. Y20.\r\n"
              "N15 G1 Z-2. F300\r\n"
              "N17 Y30. F1000\r\n"
              "N19 G0 Z5.\r\n"
              "N21 M30\r\n"
              "%\r\n");
    // 2 x 6 (first plunge) + 5 + sqrt(25.25) + 2 x sqrt(625 + 25 + 49) (retract and plunge) + 10
    EXPECT_NEAR(program.machiningLength, 12 + 5 + std::sqrt(25.25) + 2 * std::sqrt(699.0) + 10, 1e-9);
    EXPECT_EQ(program.machiningSeconds, 5);  // 84.9 units at 1000 per minute
    const std::vector<NcPathNode> nodes = PathNodes(TwoPolylines());
    ASSERT_EQ(nodes.size(), 9u);
    EXPECT_TRUE(nodes[0].rapid && !nodes[1].rapid);
    EXPECT_EQ(nodes[3].z, -1.5f);
}

TEST(NcProgramTest, RefusesAnEmptyPathAndRatesThatAreNoPositiveNumbersAndLeavesThePreviousFile) {
    EXPECT_THROW(GenerateNcProgram(MoveList{}, {}, test::JobValues()), NcProgramError);
    MoveList rapidsOnly;
    rapidsOnly.moves = {{Rapid, 0, 0, 5}, {Rapid, 0, 0, 9}};
    EXPECT_THROW(GenerateNcProgram(rapidsOnly, {}, test::JobValues()), NcProgramError);
    for (const char* bad : {"0", "0.000", "", "-5", "1.2.3", "abc", "1e-400", "nan", ".", "100,5"}) {
        EXPECT_THROW(GenerateNcProgram(TwoPolylines(), {}, test::JobValues(bad, "300")), NcProgramError) << bad;
        EXPECT_THROW(GenerateNcProgram(TwoPolylines(), {}, test::JobValues("300", bad)), NcProgramError) << bad;
    }
    EXPECT_NO_THROW(GenerateNcProgram(TwoPolylines(), {}, test::JobValues("0.5", "12.")));
    // A rate reads as every typed number does: a large feed's shortest text
    // has an exponent.
    EXPECT_NO_THROW(GenerateNcProgram(TwoPolylines(), {}, test::JobValues("1e+20", " 100")));

    const test::TempFolder folder;
    const fs::path file = folder / "job.nc";
    SaveNcProgram(file, "old program\r\n");
    try {
        SaveNcProgram(file, GenerateNcProgram(TwoPolylines(), {}, test::JobValues("0", "300")).text);
    } catch (const NcProgramError& e) {
        EXPECT_NE(std::string(e.what()).find("\"0\""), std::string::npos) << e.what();
    }
    EXPECT_EQ(ReadWholeFile(file), "old program\r\n");
    const NcProgram program = GenerateNcProgram(TwoPolylines(), {}, test::JobValues());
    SaveNcProgram(file, program.text);
    EXPECT_EQ(ReadWholeFile(file), program.text);
    EXPECT_THROW(SaveNcProgram(file.parent_path() / "no such folder" / "x.nc", "x"), FileWriteError);
    fs::remove(file);
}

void CheckRoundTrip(const PostSettings& settings) {
    NcWordWriter writer(settings);
    NcReader reader(settings);
    reader.ResetIsoRun("0");
    IsoMove read;
    std::mt19937 random(7);
    std::uniform_real_distribution<float> coordinate(-120.0f, 120.0f);
    std::uniform_int_distribution<int> choice(0, 3);
    float x = 0, y = 0, z = 0;
    // Half a unit of the last decimal written, and the float's own rounding.
    const auto tolerance = [&](Axis axis, float value) {
        return 0.5 * std::pow(10.0, -settings.axis(axis).format.decimals()) + 1e-5 * std::fabs(value) + 1e-6;
    };
    for (int n = 0; n < 3000; ++n) {
        // Coordinates often repeat, so that modal suppression leaves words out.
        if (choice(random) != 0) x = coordinate(random);
        if (choice(random) != 0) y = coordinate(random);
        if (choice(random) == 0) z = coordinate(random) / 10;
        const int kind = choice(random) == 0 ? 0 : 1;
        const char* feed = kind == 0 ? "-2" : (choice(random) == 0 ? "300" : "1200");

        std::string line;
        writer.WriteNcMove(line, kind, feed, x, y, z);
        if (!line.empty()) {
            ASSERT_EQ(line.substr(line.size() - 2), "\r\n");
            ASSERT_EQ(line.find('\n'), line.size() - 1) << "one line per move";
            reader.ParseIsoLine(std::string_view(line).substr(0, line.size() - 2), read);
            ASSERT_EQ(read.kind, kind) << line;
        }
        // A move without a line is one whose words all stand already.
        float readZ = NAN;
        std::from_chars(reader.isoZText.data(), reader.isoZText.data() + reader.isoZText.size(), readZ);
        const float scaledX = settings.axisScaling ? x * settings.axis(Axis::X).scale : x;
        ASSERT_NEAR(read.x, scaledX, tolerance(Axis::X, scaledX)) << line;
        ASSERT_NEAR(read.y, y, tolerance(Axis::Y, y)) << line;
        // A cutting move's Z is rounded upward: up to a whole unit.
        ASSERT_NEAR(readZ, z, (kind == 0 ? 1 : 2) * tolerance(Axis::Z, z)) << line;
    }
}

TEST(NcRoundTripTest, WrittenMovesReadBackAsTheSameKindAndPoint) {
    const std::pair<const char*, std::function<void(PostSettings&)>> variants[] = {
        {"initial values", [](PostSettings&) {}},
        {"no block numbers", [](PostSettings& s) { s.outputSeq = false; }},
        {"no blanks", [](PostSettings& s) { s.separator.clear(); }},
        {"no blanks, no block numbers", [](PostSettings& s) { s.separator.clear(), s.outputSeq = false; }},
        {"trailing zeros kept", [](PostSettings& s) { s.delZero = false; }},
        {"nothing modal", [](PostSettings& s) { s.xyzModal = s.gModal = s.fModal = false; }},
        {"four, one and two decimals",
         [](PostSettings& s) {
             s.axis(Axis::X).format.precision = 4;
             s.axis(Axis::Y).format.precision = 1;
             s.axis(Axis::Z).format = {NumberFormat::Kind::Fixed, 0, 2};
         }},
        {"X scaled", [](PostSettings& s) { s.axis(Axis::X).scale = 2.5f, s.axisScaling = true; }},
        {"rapid text", [](PostSettings& s) { s.feedRapid = "F9999"; }},
        {"CSH dialect", [](PostSettings& s) { s.dialect = PostDialect::Csh; }},
        {"HEI dialect", test::HeidenhainDialect},
    };
    for (const auto& [name, adjust] : variants) {
        SCOPED_TRACE(name);
        PostSettings settings;
        adjust(settings);
        CheckRoundTrip(settings);
    }
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "the text ends without CR LF";
        if (end == std::string::npos) break;
        lines.push_back(text.substr(start, end - start));
        EXPECT_EQ(lines.back().find_first_of("\r\n"), std::string::npos) << "a bare line end";
        start = end + 2;
    }
    return lines;
}

// A zig-zag over two passes with moves that repeat coordinates.
MoveList SampleMoves() {
    MoveList list;
    list.feedPlaneZ = 3;
    list.passCount = 2;
    for (double dz : {1.0, 0.0}) {
        list.moves.push_back({MoveKind::Rapid, 0.5, 0.25, 3});
        list.moves.push_back({MoveKind::Plunge, 0.5, 0.25, -1.25 + dz});
        for (int row = 0; row < 4; ++row) {
            const double y = 0.25 + row * 0.75;
            if (row > 0) list.moves.push_back({MoveKind::Feed, row % 2 ? 30.125 : 0.5, y, -1.5 + dz});
            list.moves.push_back({MoveKind::Feed, row % 2 ? 12.0 : 18.5, y, -2.0625 + dz});
            list.moves.push_back({MoveKind::Feed, row % 2 ? 0.5 : 30.125, y, -1.5 + dz});
        }
        list.moves.push_back({MoveKind::Rapid, 0.5, 2.5, 3});
    }
    return list;
}

// The program the definition writes of SampleMoves, line by line.
std::vector<std::string> SampleProgram(const PostSettings& settings) {
    NcJobValues job = test::JobValues("1200", "400");
    job.ncFileName = "sample." + settings.fileExtension;
    return SplitLines(GenerateNcProgram(SampleMoves(), settings, job).text);
}

struct State {
    int kind;
    double x, y, z;
};

// The positions the reader passes through, after every line that moves.
std::vector<State> ReadBack(const PostSettings& settings, const std::vector<std::string>& lines) {
    std::vector<State> states;
    if (settings.dialect == PostDialect::Sbo) {
        // The reader knows no SBO commands (the simulation is off for them);
        // the test reads them itself: J or M, then 3,x,y,z / 2,x,y / X,x / Y,y / Z,z.
        const std::map<char, std::vector<double State::*>> axes = {{'3', {&State::x, &State::y, &State::z}},
                                                                   {'2', {&State::x, &State::y}},
                                                                   {'X', {&State::x}},
                                                                   {'Y', {&State::y}},
                                                                   {'Z', {&State::z}}};
        State s{0, 0, 0, 0};
        for (const auto& line : lines) {
            if (line.size() < 3 || (line[0] != 'J' && line[0] != 'M') || line[2] != ',' || !axes.count(line[1]))
                continue;
            s.kind = line[0] == 'J' ? 0 : 1;
            std::size_t at = 3;
            for (double State::*axis : axes.at(line[1])) {
                const std::size_t comma = std::min(line.find(',', at), line.size());
                s.*axis = NAN;
                std::from_chars(line.data() + at, line.data() + comma, s.*axis);
                at = comma + 1;
            }
            states.push_back(s);
        }
        return states;
    }
    NcReader reader(settings);
    reader.ResetIsoRun("3");
    IsoMove move;
    for (const auto& line : lines) {
        if (!reader.ParseIsoLine(line, move)) continue;
        double z = NAN;
        std::from_chars(reader.isoZText.data(), reader.isoZText.data() + reader.isoZText.size(), z);
        states.push_back({move.kind, move.x, move.y, z});
    }
    return states;
}

TEST(ShippedPostTest, EveryProgramReadsBackToItsMoves) {
    for (const auto& name : test::ShippedPostNames()) {
        SCOPED_TRACE(name);
        const PostSettings settings = test::LoadShippedPost(name);
        const std::vector<std::string> lines = SampleProgram(settings);
        ASSERT_GT(lines.size(), 10u);
        const std::vector<State> states = ReadBack(settings, lines);

        // The moves are passed through in order (head lines may add positions
        // of their own before them).
        const double tolerance = 0.5 * std::pow(10.0, -settings.axis(Axis::X).format.decimals()) + 1e-6;
        const auto at = [&](const State& s, const Move& m) {
            return std::fabs(s.x - m.x) <= tolerance && std::fabs(s.y - m.y) <= tolerance &&
                   std::fabs(s.z - m.z) <= tolerance;
        };
        std::size_t next = 0;
        for (const Move& m : SampleMoves().moves) {
            // A move to where the cutter already is writes no line.
            if (next > 0 && at(states[next - 1], m)) continue;
            while (next < states.size() && !(states[next].kind == NcMoveKind(m.kind) && at(states[next], m))) ++next;
            ASSERT_LT(next, states.size()) << "move to " << m.x << " " << m.y << " " << m.z << " not read back";
            ++next;
        }
    }
}

MoveList OneCut(double size = 10) {
    MoveList list;
    list.feedPlaneZ = 5;
    list.passCount = 1;
    list.moves = {{Rapid, 0, 0, 5}, {Plunge, 0, 0, -1}, {Feed, size, size, -1}, {Rapid, size, size, 5}};
    return list;
}

NcJobValues Job(std::string toolName = "Ball") {
    NcJobValues job;
    job.toolName = std::move(toolName);
    job.ncFileName = "relief.nc";
    return job;
}

// Loads a definition written with these bytes; the problems it reports go to
// `problems`.
PostSettings Load(const test::TempFolder& folder, const std::string& bytes, std::vector<std::string>* problems = {}) {
    const auto file = folder / "machine.pst";
    WriteFileAtomically(file, bytes);
    PostLoadResult result = LoadPostFile(file, PostSettings{});
    if (problems) *problems = result.problems;
    return result.settings;
}

bool Mentions(const std::vector<std::string>& problems, const std::string& text) {
    for (const std::string& problem : problems)
        if (problem.find(text) != std::string::npos) return true;
    return false;
}

// The program keeps the definition's encoding byte for byte, and the tool
// and file names (UTF-8 inside the program) are spelt in that encoding too.
TEST(PostDefinitionHardening, TheNcFileIsWrittenInTheEncodingOfItsDefinition) {
    test::TempFolder folder;
    const std::string head = "[Start_of_file]\r\n1=(Fr\xE4sprogramm \x80 [toolname])\r\n";
    const struct {
        const char* name;
        std::string definition;
        std::string toolName;
        std::string expectedHead;
    } cases[] = {
        {"Windows-1252", head, "Kugelfr\xC3\xA4ser \xE2\x82\xAC", "(Fr\xE4sprogramm \x80 (KUGELFR\xE4SER \x80))\r\n"},
        {"Windows-1252, a name it cannot spell", head, "\xD0\x96 1", "(Fr\xE4sprogramm \x80 (? 1))\r\n"},
        {"UTF-8", "[Start_of_file]\r\n1=(Fr\xC3\xA4sprogramm [toolname])\r\n", "Kugelfr\xC3\xA4ser",
         "(Fr\xC3\xA4sprogramm (KUGELFR\xC3\xA4SER))\r\n"},
    };
    for (const auto& c : cases) {
        const PostSettings settings = Load(folder, c.definition);
        const auto file = folder / "relief.nc";
        const NcProgram program = GenerateNcProgram(OneCut(), settings, Job(c.toolName));
        EXPECT_EQ(program.text.substr(0, c.expectedHead.size()), c.expectedHead) << c.name;  // held so
        SaveNcProgram(file, program.text);
        EXPECT_EQ(ReadWholeFile(file).substr(0, c.expectedHead.size()), c.expectedHead) << c.name;
    }
}

TEST(PostDefinitionHardening, AKeywordNeverSpansALineBreak) {
    test::TempFolder folder;
    std::vector<std::string> problems;
    const PostSettings settings = Load(
        folder, "[Block Numbering]\r\nOutputSeq=1\r\nSeqInc=1\r\n[Start_of_file]\r\n1=(typo [n\r\n2=[n] G21 G90\r\n",
        &problems);
    EXPECT_TRUE(Mentions(problems, "[Start_of_file] 1 \"(typo [n\" opens a keyword"))
        << ::testing::PrintToString(problems);
    EXPECT_EQ(problems.size(), 1u);
    const std::string text = GenerateNcProgram(OneCut(), settings, Job()).text;
    EXPECT_EQ(text.substr(0, 20), "(typo [n\r\nN1 G21 G90") << text;

    // The expansion alone, line ends of either kind.
    const struct {
        const char* text;
        const char* expanded;
    } expansions[] = {
        {"a [n\r\n[n] b", "a [n\r\nN1 b"},
        {"a [n\n[n] b", "a [n\nN1 b"},
        {"[n] [ [n]", "N1 "},  // on one line the first "[" opens the keyword " [n"
        {"x [", "x ["},
        {"[[n]\r\n]", "\r\n]"},  // "[n" is no keyword; the lone "]" stays
    };
    for (const auto& e : expansions) {
        NcWordWriter words(settings);
        EXPECT_EQ(ExpandPostTemplate(e.text, {}, words, Job()), e.expanded) << e.text;
    }
}

TEST(PostDefinitionHardening, AxisScalesThatCannotBeWrittenAreReportedAtLoad) {
    test::TempFolder folder;
    const struct {
        const char* scale;
        bool reported;
    } cases[] = {{"3.4e38", true}, {"-2e6", true}, {"1e39", true}, {"0", true},
                 {"25.4", false},  {"-1", false},  {"1e6", false}};
    for (const auto& c : cases) {
        std::vector<std::string> problems;
        const PostSettings settings = Load(folder, std::string("[X Axis]\r\nScale=") + c.scale + "\r\n", &problems);
        EXPECT_EQ(Mentions(problems, "[X Axis] Scale"), c.reported) << c.scale;
        if (c.reported) {
            EXPECT_EQ(settings.axis(Axis::X).scale, 1.0f) << c.scale;
        }
        EXPECT_NO_THROW(GenerateNcProgram(OneCut(), settings, Job())) << c.scale;
    }
    // Coordinates far out of range still give the program's own refusal.
    const PostSettings settings = Load(folder, "[X Axis]\r\nScale=1e6\r\n");
    EXPECT_THROW(GenerateNcProgram(OneCut(1e35), settings, Job()), NcProgramError);
}

TEST(PostDefinitionHardening, APipeIsReportedNamingTheFile) {
    test::TempFolder folder;
    ASSERT_EQ(::mkfifo((folder / "pipe.pst").c_str(), 0600), 0);
    const PostLoadResult result = LoadPostFile(folder / "pipe.pst", PostSettings{});
    EXPECT_FALSE(result.found);
    EXPECT_TRUE(Mentions(result.problems, "Pst not found: the post-processor definition \"" +
                                              (folder / "pipe.pst").string() + "\" cannot be read: it is a pipe"))
        << ::testing::PrintToString(result.problems);
}

}  // namespace

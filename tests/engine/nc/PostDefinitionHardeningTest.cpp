// Post-processor definitions as users write them: saved in Windows-1252, with
// a bracket left open on a head line, with an absurd axis scale, or named
// like a file that is none.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "engine/nc/NcProgram.h"
#include "engine/post/PostLoader.h"
#include "engine/post/PostTemplate.h"
#include "kernel/platform/AtomicFile.h"
#include "tests/support/TempFolder.h"

using namespace calvoro;

namespace {

using enum MoveKind;

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
        SaveNcProgram(file, GenerateNcProgram(OneCut(), settings, Job(c.toolName)).text, settings.encoding);
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

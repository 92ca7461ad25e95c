#include "engine/post/PostTemplate.h"

#include <gtest/gtest.h>

using namespace calvoro;

namespace {

NcJobValues Job() {
    NcJobValues job;
    job.toolNumber = 3;
    job.toolName = "Ball (6mm) rough";
    job.spindleSpeedText = "18000";
    job.feedText = "1200";
    job.plungeText = "300";
    job.ncFileName = "logo.nc";
    return job;
}

std::string Expand(std::string_view text, NcWordWriter& writer, TemplatePoint point = {12.5, -4}) {
    return ExpandPostTemplate(text, point, writer, Job());
}

TEST(PostTemplateTest, KeywordsGiveTheirWordsAndOtherTextStaysAsItIs) {
    const std::pair<const char*, const char*> cases[] = {
        {"%[n][progn]", "%N1O0001"},  // keyword values carry their own separators
        {"[tool] M6", " T3 M6"},
        {"[speed] [spindle_on]", "S18000 M3"},
        {"[spindle_off][coolant_on][coolant_off]", "M5M8M9"},
        {"G43 [offlen]", "G43 H3"},
        {"[toolname]", "(BALL  6MM  ROUGH)"},
        {"[progname]", "(LOGO.NC)"},
        {"G0[xrapid][yrapid][zrapid]", "G0 X12.5 Y-4. Z5."},
        {"[x][y]", " X12.5 Y-4."},
        {"[depth]/[ref_height]", " -1./ 5."},
        {"G1[feedplunge] [feed]", "G1 F300  F1200"},
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

TEST(PostTemplateTest, DropsTheLeadingBlankOfAWordAtALineStartWithoutBlockNumbers) {
    PostSettings settings;
    settings.outputSeq = false;
    NcWordWriter writer(settings);
    EXPECT_EQ(Expand("M6\r\n[tool]\r\n[x]", writer), "M6\r\nT3\r\nX12.5");
    EXPECT_EQ(Expand("[tool]", writer), " T3");  // nothing before it: the rule needs a line feed
    NcWordWriter numbered{PostSettings{}};
    EXPECT_EQ(Expand("M6\r\n[tool]", numbered), "M6\r\n T3");
}

TEST(PostTemplateTest, KeywordWordsShareTheProgramsModalMemory) {
    NcWordWriter writer{PostSettings{}};
    EXPECT_EQ(Expand("[n] G0[x][y]\r\n", writer), "N1 G0 X12.5 Y-4.\r\n");
    std::string out;
    writer.WriteNcMove(out, 0, "-2", 12.5f, -4, 2);
    EXPECT_EQ(out, "N3 G0 Z2.\r\n");  // X and Y stand already; the head's G0 is text, not memory
    EXPECT_EQ(Expand("[feed]", writer), " F1200");
    EXPECT_EQ(Expand("[feed]", writer), "");
}

TEST(PostTemplateTest, CommentTextBlanksDelimitersInsideTheName) {
    PostSettings settings;
    EXPECT_EQ(CommentText("x)G0 Z-50(.nc", settings), "(X G0 Z-50 .NC)");
    EXPECT_EQ(CommentText("two\r\nlines", settings), "(TWO  LINES)");
    EXPECT_EQ(CommentText("caf\xe9", settings), "(CAF\xe9)");  // only ASCII letters change case
    settings.startComment = ";";
    settings.endComment = "";
    EXPECT_EQ(CommentText("a;b", settings), ";A B");
    settings.startComment = " (";  // a delimiter that begins with a blank must not hang
    settings.endComment = "()";
    EXPECT_EQ(CommentText("a (b()c", settings), " (A (B )C()");
    settings.startComment = "a ";  // blanking can make a new occurrence just before
    settings.endComment = "";
    EXPECT_EQ(CommentText("aa ", settings), "A    ");
}

}  // namespace

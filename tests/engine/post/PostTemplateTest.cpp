#include "engine/post/PostTemplate.h"
#include "tests/support/PostDefinitions.h"

#include <gtest/gtest.h>

using namespace calvoro;

namespace {

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

}  // namespace

// Reading NC lines back into moves in every dialect, line after line through
// one reader so that modal kinds carry over.
#include "engine/nc/NcReader.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace calvoro;

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

}  // namespace

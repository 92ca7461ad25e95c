#include "engine/nc/NcReader.h"

#include <gtest/gtest.h>

#include <vector>

using namespace calvoro;

namespace {

PostSettings Dialect(PostDialect dialect) {
    PostSettings settings;
    settings.dialect = dialect;
    return settings;
}

// One line and what the reader holds after it (lines of one case are read in
// order by one reader, so modal kinds carry over).
struct Step {
    const char* line;
    bool result;
    int kind;
    float x, y, i, j, r, cycleR;
    const char* zText;
};

void ReadSteps(const PostSettings& settings, const std::vector<Step>& steps) {
    NcReader reader(settings);
    reader.ResetIsoRun("2");
    IsoMove move;
    for (const auto& s : steps) {
        SCOPED_TRACE(s.line);
        EXPECT_EQ(reader.ParseIsoLine(s.line, move), s.result);
        EXPECT_EQ(move.kind, s.kind);
        EXPECT_FLOAT_EQ(move.x, s.x);
        EXPECT_FLOAT_EQ(move.y, s.y);
        EXPECT_FLOAT_EQ(move.i, s.i);
        EXPECT_FLOAT_EQ(move.j, s.j);
        EXPECT_FLOAT_EQ(move.r, s.r);
        EXPECT_FLOAT_EQ(move.cycleR, s.cycleR);
        EXPECT_EQ(reader.isoZText, s.zText);
    }
}

TEST(NcReaderTest, IsoLinesGiveKindCoordinatesAndArcWords) {
    ReadSteps(Dialect(PostDialect::Iso),
              {
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
              });
}

TEST(NcReaderTest, HeiLinesUseLinearCentreAndDirectionWords) {
    PostSettings settings = Dialect(PostDialect::Hei);
    settings.feedRapid = "FMAX";
    ReadSteps(settings, {
                            {"CC X+10 Y+5", false, 0, 0, 0, 0, 0, 0, 0, "2"},  // a plus sign ends a number
                            {"CC X10 Y5", false, 0, 0, 0, 10, 5, 0, 0, "2"},
                            {"C X20 Y5 DR-", true, 2, 20, 5, 10, 5, 0, 0, "2"},
                            {"C X0 Y5 DR+", true, 3, 0, 5, 10, 5, 0, 0, "2"},
                            {"X1", true, 3, 1, 5, 10, 5, 0, 0, "2"},
                            {"7 L X10.000 Y20.000 Z2.000 FMAX", true, 0, 10, 20, 10, 5, 0, 0, "2.000"},
                            {"8 L Z-1.000 F300", true, 1, 10, 20, 10, 5, 0, 0, "-1.000"},
                        });
}

TEST(NcReaderTest, XilAndSboReadOnlyPlainAxisWords) {
    for (PostDialect dialect : {PostDialect::Xil, PostDialect::Sbo}) {
        PostSettings settings = Dialect(dialect);
        settings.startComment = "'";
        NcReader reader(settings);
        IsoMove move;
        move.kind = 7;  // whatever the caller passes stays
        EXPECT_TRUE(reader.ParseIsoLine("G1 X4 Y5 'X9", move));
        EXPECT_EQ(move.kind, 7);
        EXPECT_FLOAT_EQ(move.x, 4);
        EXPECT_FALSE(reader.ParseIsoLine("M3,1.000,2.000,3.000", move));
        EXPECT_FALSE(reader.ParseIsoLine("MX,1.000", move));  // the comma ends the number
    }
}

TEST(NcReaderTest, ACommentIsCutToTheEndOfAnyLongLine) {
    NcReader reader(Dialect(PostDialect::Iso));
    IsoMove move;
    const std::string line = "G1 X1 (" + std::string(300, '-') + " X5 Y7)";
    EXPECT_TRUE(reader.ParseIsoLine(line, move));
    EXPECT_FLOAT_EQ(move.x, 1);
    EXPECT_FLOAT_EQ(move.y, 0);
}

TEST(NcReaderTest, EmptyCommentOpenerAndRapidTextMatchNothing) {
    PostSettings settings = Dialect(PostDialect::Iso);
    settings.startComment = "";
    settings.feedRapid = "";
    NcReader reader(settings);
    IsoMove move;
    EXPECT_TRUE(reader.ParseIsoLine("G1 X3 Y4", move));
    EXPECT_EQ(move.kind, 1);
    EXPECT_FLOAT_EQ(move.x, 3);
}

TEST(NcReaderTest, RapidTextTurnsAFeedLineIntoARapid) {
    PostSettings settings = Dialect(PostDialect::Iso);
    settings.feedRapid = "F9999";
    NcReader reader(settings);
    IsoMove move;
    EXPECT_TRUE(reader.ParseIsoLine("G1 X3 F9999", move));
    EXPECT_EQ(move.kind, 0);
    EXPECT_EQ(reader.isoModalKind, 0);
    EXPECT_TRUE(reader.ParseIsoLine("G2 X3 F9999", move));  // arcs stay arcs
    EXPECT_EQ(move.kind, 2);
}

TEST(NcReaderTest, ResetClearsTheModalKindOfThePreviousRun) {
    NcReader reader(Dialect(PostDialect::Iso));
    IsoMove move;
    reader.ParseIsoLine("G2 X1 Y1 I0 J0", move);
    reader.isoMinX = 1;
    reader.isoCentreI = 4;
    reader.ResetIsoRun("5.5");
    IsoMove next;
    EXPECT_TRUE(reader.ParseIsoLine("X2 Y2", next));
    EXPECT_EQ(next.kind, 0);
    EXPECT_EQ(reader.isoZText, "5.5");
    EXPECT_EQ(reader.isoMinX, 9999);
    EXPECT_EQ(reader.isoMaxY, -9999);
    EXPECT_EQ(reader.isoCentreI, 0);
}

}  // namespace

// Writing the NC program of a move list: the text as the definition spells it,
// refusals before anything is written, machining length and time.
#include "engine/nc/NcProgram.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/nc/MachiningTime.h"
#include "kernel/platform/AtomicFile.h"
#include "tests/support/TempFolder.h"

using namespace calvoro;
namespace fs = std::filesystem;

namespace {

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

NcJobValues Job(const char* feed = "1000", const char* plunge = "300") {
    NcJobValues job;
    job.feedText = feed;
    job.plungeText = plunge;
    job.ncFileName = "relief.nc";
    return job;
}

TEST(NcProgramTest, WritesHeadMovesAndTailAsTheDefinitionSpellsThem) {
    PostSettings settings;  // blocks on with increment 2, everything modal, DelZero
    settings.startOfFile = "%\r\n[n][progn] [progname]\r\n[n] G0[xrapid][yrapid][zrapid]\r\n";
    settings.endOfFile = "[n] M30\r\n%\r\n";
    settings.refHeight = 99;  // the list's feed plane is the reference height
    const NcProgram program = GenerateNcProgram(TwoPolylines(), settings, Job());
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

TEST(NcProgramTest, EqualFeedAndPlungeTextsPutTheFeedWordOnThePlungeOnly) {
    PostSettings settings;
    EXPECT_EQ(GenerateNcProgram(TwoPolylines(), settings, Job("800", "800")).text,
              "N1 G0 X10. Y20. Z5.\r\nN3 G1 Z-1. F800\r\nN5 X15.\r\nN7 Y25. Z-1.5\r\nN9 G0 Z5.\r\nN11 X40. Y20.\r\n"
              "N13 G1 Z-2.\r\nN15 Y30.\r\nN17 G0 Z5.\r\n");
    settings.fModal = false;
    const std::string everyLine = GenerateNcProgram(TwoPolylines(), settings, Job("800", "800")).text;
    EXPECT_NE(everyLine.find("N5 X15. F800\r\n"), std::string::npos) << everyLine;
}

TEST(NcProgramTest, RefusesAnEmptyPathAndRatesThatAreNoPositiveNumbersAndLeavesThePreviousFile) {
    EXPECT_THROW(GenerateNcProgram(MoveList{}, {}, Job()), NcProgramError);
    MoveList rapidsOnly;
    rapidsOnly.moves = {{Rapid, 0, 0, 5}, {Rapid, 0, 0, 9}};
    EXPECT_THROW(GenerateNcProgram(rapidsOnly, {}, Job()), NcProgramError);
    for (const char* bad : {"0", "0.000", "", "-5", "1.2.3", "abc", "1e3", " 100", ".", "100,5"}) {
        EXPECT_THROW(GenerateNcProgram(TwoPolylines(), {}, Job(bad, "300")), NcProgramError) << bad;
        EXPECT_THROW(GenerateNcProgram(TwoPolylines(), {}, Job("300", bad)), NcProgramError) << bad;
    }
    EXPECT_NO_THROW(GenerateNcProgram(TwoPolylines(), {}, Job("0.5", "12.")));

    const test::TempFolder folder;
    const fs::path file = folder / "job.nc";
    SaveNcProgram(file, "old program\r\n");
    try {
        SaveNcProgram(file, GenerateNcProgram(TwoPolylines(), {}, Job("0", "300")).text);
    } catch (const NcProgramError& e) {
        EXPECT_NE(std::string(e.what()).find("\"0\""), std::string::npos) << e.what();
    }
    EXPECT_EQ(ReadWholeFile(file), "old program\r\n");
    const NcProgram program = GenerateNcProgram(TwoPolylines(), {}, Job());
    SaveNcProgram(file, program.text);
    EXPECT_EQ(ReadWholeFile(file), program.text);
    EXPECT_THROW(SaveNcProgram(file.parent_path() / "no such folder" / "x.nc", "x"), FileWriteError);
    fs::remove(file);
}

TEST(NcProgramTest, CoordinatesAreWrittenAsSingles) {
    MoveList list;
    list.feedPlaneZ = 2;
    list.moves = {{Rapid, 0.1, 0, 2}, {Plunge, 0.1, 0, 1.0000001}, {Feed, 16777217.0, 0, 1}};
    PostSettings settings;
    settings.delZero = false;
    const std::string text = GenerateNcProgram(list, settings, Job()).text;
    EXPECT_NE(text.find("Z1.001 F300"), std::string::npos) << text;    // a cutting Z is never written lower
    EXPECT_NE(text.find("X16777216.000"), std::string::npos) << text;  // the float value
    EXPECT_EQ(PathNodes(list)[0].x, 0.1f);
}

TEST(MachiningTimeTest, SecondsRoundHalfToEvenAndTheTextHasHoursMinutesAndSeconds) {
    EXPECT_EQ(MachiningSeconds(1000, 1000), 60);
    EXPECT_EQ(MachiningSeconds(2.5, 60), 2);
    EXPECT_EQ(MachiningSeconds(3.5, 60), 4);
    EXPECT_EQ(MachiningSeconds(100, 0), 0);
    EXPECT_EQ(MachiningSeconds(1e300, 1e-300), std::numeric_limits<std::int64_t>::max());
    const std::pair<std::int64_t, const char*> cases[] = {
        {0, " 0h, 00m, 00s"},       {59, " 0h, 00m, 59s"}, {3725, " 1h, 02m, 05s"},
        {100000, " 27h, 46m, 40s"}, {-5, " 0h, 00m, 00s"},
    };
    for (const auto& [seconds, text] : cases) EXPECT_EQ(FormatMachiningTime(seconds), text) << seconds;
}

TEST(MachiningTimeTest, LengthOfMillionsOfShortMovesDoesNotDrift) {
    MoveList list;
    list.moves = {{Rapid, 0, 0, 1}, {Plunge, 0, 0, 0}};
    for (int i = 0; i < 1000000; ++i) list.moves.push_back({Feed, i % 2 == 0 ? 0.1 : 0.0, 0, 0});
    EXPECT_NEAR(MachiningLength(list), 2.0 + 1000000 * static_cast<double>(0.1f), 1e-6);
}

}  // namespace

// Writing the NC program of a move list: the text as the definition spells it,
// refusals before anything is written, machining length and time.
#include "engine/nc/NcProgram.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/nc/MachiningTime.h"
#include "kernel/platform/AtomicFile.h"
#include "tests/support/PostDefinitions.h"
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
    for (const char* bad : {"0", "0.000", "", "-5", "1.2.3", "abc", "1e3", " 100", ".", "100,5"}) {
        EXPECT_THROW(GenerateNcProgram(TwoPolylines(), {}, test::JobValues(bad, "300")), NcProgramError) << bad;
        EXPECT_THROW(GenerateNcProgram(TwoPolylines(), {}, test::JobValues("300", bad)), NcProgramError) << bad;
    }
    EXPECT_NO_THROW(GenerateNcProgram(TwoPolylines(), {}, test::JobValues("0.5", "12.")));

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

}  // namespace

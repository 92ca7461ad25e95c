// Reading post-processor definitions: file defaults, reports of what is
// missing or replaced, and the keys of the definition table.
#include "engine/post/PostLoader.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "kernel/platform/AtomicFile.h"
#include "tests/support/TempFolder.h"

using namespace calvoro;
namespace fs = std::filesystem;

namespace {

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

// What a definition without keys yields wherever the file defaults and the
// values in force before any load differ.
void ExpectFileDefaults(const PostSettings& s) {
    EXPECT_FALSE(s.outputSeq);
    EXPECT_EQ(s.seqInc, 1);
    EXPECT_FALSE(s.xyzModal);
    EXPECT_FALSE(s.gModal);
    EXPECT_TRUE(s.fModal);
    EXPECT_FALSE(s.delZero);
    EXPECT_EQ(s.separator, " ");
    EXPECT_EQ(s.toolFormat.text(), "%1.1d");
    EXPECT_EQ(s.axis(Axis::Z).format.text(), "%1.3f");
    EXPECT_EQ(s.axis(Axis::Y).prefix, "Y");
    EXPECT_EQ(s.gWords[3], "G3");
    EXPECT_EQ(s.fileExtension, "NC");
    EXPECT_EQ(s.startComment, "(");
    EXPECT_FALSE(s.axisScaling);
    EXPECT_TRUE(s.cycles[2].exploded);
    EXPECT_TRUE(s.simulate);
    EXPECT_EQ(s.startOfFile, "");
}

TEST_F(PostLoaderTest, MissingOrUnreadableDefinitionIsReportedAndGivesTheFileDefaults) {
    fs::create_directories(folder_ / "pst" / "folder.pst");  // a name that is no file
    WriteFileAtomically(folder_ / "outside.pst", "[Default]\r\nDialect=HEI\r\n");
    for (const char* name : {"nowhere", "folder", "../outside"}) {  // never looked up outside the pst folder
        SCOPED_TRACE(name);
        PostSettings current;
        current.postName = name;
        current.dialect = PostDialect::Sbo;
        current.refHeight = 7.5f;
        const PostLoadResult result = LoadPostProcessor(folder_.path(), current);
        EXPECT_FALSE(result.found);
        ASSERT_EQ(result.problems.size(), 1u);
        EXPECT_EQ(result.problems[0].rfind("Pst not found: ", 0), 0u) << result.problems[0];
        ExpectFileDefaults(result.settings);
        EXPECT_EQ(result.settings.dialect, PostDialect::Iso);
        EXPECT_EQ(result.settings.postName, name);  // what no file holds comes from the current settings
        EXPECT_EQ(result.settings.refHeight, 7.5f);
    }
    EXPECT_NE(LoadPostProcessor(folder_.path(), {}).problems[0].find("fanuc_mm.pst"), std::string::npos);
}

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

}  // namespace

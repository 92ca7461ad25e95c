#include "kernel/platform/IniFile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>

#include "kernel/platform/AtomicFile.h"

namespace fs = std::filesystem;
using namespace calvoro;

namespace {

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("calvoro_ini_" + std::to_string(::getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        file_ = folder_ / "Calvoro.ini";
    }
    void TearDown() override {
        fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(folder_);
    }
    fs::path folder_;
    fs::path file_;
};

TEST(IniNumberTest, ReadsIntegersLikeStrToIntDef) {
    struct Case {
        const char* text;
        std::optional<std::int32_t> value;
    };
    const Case cases[] = {
        {"0", 0},
        {"42", 42},
        {"-7", -7},
        {"+7", 7},
        {" 12 ", 12},
        {"$808080", 0x808080},
        {"$FF000005", -16777211},  // a system colour index
        {"0x10", 16},
        {"-$10", -16},
        {"$FFFFFFFF", -1},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", std::nullopt},
        {"$100000000", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"$", std::nullopt},
        {"1.5", std::nullopt},
        {"12abc", std::nullopt},
        {"1 2", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseIniInteger(c.text), c.value) << c.text;
}

TEST(IniNumberTest, ReadsFloatsWithADotWhateverTheLocale) {
    struct Case {
        const char* text;
        std::optional<double> value;
    };
    const Case cases[] = {
        {"10", 10.0},
        {"2.5", 2.5},
        {"-0.025", -0.025},
        {"+1", 1.0},
        {".5", 0.5},
        {"5.", 5.0},
        {"1e3", 1000.0},
        {"1.5E-2", 0.015},
        {" 3 ", 3.0},
        {"2,5", std::nullopt},
        {"", std::nullopt},
        {".", std::nullopt},
        {"1e", std::nullopt},
        {"inf", std::nullopt},
        {"nan", std::nullopt},
        {"1e999", std::nullopt},
        {"0x10", std::nullopt},
        {"1.2.3", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseIniFloat(c.text), c.value) << c.text;
}

TEST(IniNumberTest, WritesTheShortestFloatThatReadsBack) {
    EXPECT_EQ(FormatIniFloat(10.0), "10");
    EXPECT_EQ(FormatIniFloat(2.5), "2.5");
    EXPECT_EQ(FormatIniFloat(0.1), "0.1");
    EXPECT_EQ(FormatIniFloat(-0.025), "-0.025");
    for (const double value : {1.0 / 3.0, 1e-7, 123456789.123, -2.0e20})
        EXPECT_EQ(ParseIniFloat(FormatIniFloat(value)), value);
}

TEST_F(IniFileTest, AMissingFileReadsAsDefaults) {
    const IniFile ini(file_);
    EXPECT_EQ(ini.ReadString("Default", "Language", "english"), "english");
    EXPECT_EQ(ini.ReadInteger("Default", "Unit", 0), 0);
    EXPECT_TRUE(ini.ReadBool("Default", "SGrid", true));
    EXPECT_EQ(ini.ReadFloat("Default", "GridX", 10.0), 10.0);
    EXPECT_FALSE(fs::exists(file_));
}

TEST_F(IniFileTest, ReadsByTheProfileRules) {
    WriteFileAtomically(file_,
                        "; settings\r\n"
                        "orphan=before any section\r\n"
                        "[Default]\r\n"
                        "  Unit = 7  \r\n"
                        "unit=3\r\n"
                        "SGrid=0\r\n"
                        "SAxis=5\r\n"
                        "GridX=junk\r\n"
                        "FOpen=\"/home/me/my picture.bmp\"\r\n"
                        "Quote='a\"\r\n"
                        "Empty=\r\n"
                        "[default]\r\n"
                        "Pst=Heidenhain\r\n"
                        "[Color]\r\n"
                        "Form=$FF000005\r\n");
    const IniFile ini(file_);
    EXPECT_EQ(ini.ReadInteger("DEFAULT", "UNIT", 0), 7);  // case-insensitive, first key wins
    EXPECT_FALSE(ini.ReadBool("default", "SGrid", true));
    EXPECT_TRUE(ini.ReadBool("default", "SAxis", false));  // any non-zero integer
    EXPECT_EQ(ini.ReadFloat("Default", "GridX", 10.0), 10.0);
    EXPECT_EQ(ini.ReadString("Default", "FOpen", ""), "/home/me/my picture.bmp");
    EXPECT_EQ(ini.ReadString("Default", "Quote", ""), "'a\"");            // quotes that do not pair stay
    EXPECT_EQ(ini.ReadString("Default", "Empty", "x"), "");               // present but empty is not missing
    EXPECT_EQ(ini.ReadString("Default", "Pst", "Fanuc_mm"), "Fanuc_mm");  // the second [default] is hidden
    EXPECT_EQ(ini.ReadString("", "orphan", "none"), "none");
    EXPECT_EQ(ini.ReadInteger("Color", "Form", 0), -16777211);
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Default", "Color"}));
    EXPECT_EQ(ini.ReadSection("default"),
              (std::vector<std::string>{"Unit", "SGrid", "SAxis", "GridX", "FOpen", "Quote", "Empty"}));
    EXPECT_TRUE(ini.ValueExists("COLOR", "form"));
    EXPECT_FALSE(ini.ValueExists("Color", "Grid"));
}

TEST_F(IniFileTest, WritesInPlaceAndKeepsEverythingElse) {
    const std::string before =
        "; Calvoro settings, edited by hand\r\n"
        "[Color]\r\n"
        "Form=$FF000005\r\n"
        "\r\n"
        "[Default]\r\n"
        "Unit = 0\r\n"
        "; depths I like\r\n"
        "ZWhite=0.5\r\n"
        "MyOwnKey=kept\r\n"
        "\r\n"
        "[Extra]\r\n"
        "a=b\r\n";
    WriteFileAtomically(file_, before);
    IniFile ini(file_);
    ini.WriteInteger("default", "unit", 1);
    ini.WriteBool("Default", "SGrid", false);
    ini.WriteFloat("Default", "GridX", 2.5);
    ini.WriteString("Color", "Grid", "8388608");
    ini.WriteString("Tool", "Last", "3");
    EXPECT_EQ(ReadWholeFile(file_),
              "; Calvoro settings, edited by hand\r\n"
              "[Color]\r\n"
              "Form=$FF000005\r\n"
              "Grid=8388608\r\n"
              "\r\n"
              "[Default]\r\n"
              "Unit = 1\r\n"
              "; depths I like\r\n"
              "ZWhite=0.5\r\n"
              "MyOwnKey=kept\r\n"
              "SGrid=0\r\n"
              "GridX=2.5\r\n"
              "\r\n"
              "[Extra]\r\n"
              "a=b\r\n"
              "[Tool]\r\n"
              "Last=3\r\n");
    EXPECT_EQ(ini.ReadInteger("Default", "Unit", 0), 1);
    EXPECT_EQ(fs::directory_iterator(folder_)->path(), file_);  // no temporary left behind
}

TEST_F(IniFileTest, AFileWithLfLineEndsKeepsThem) {
    WriteFileAtomically(file_, "[Default]\nUnit=0\n");
    IniFile(file_).WriteInteger("Default", "Unit", 1);
    EXPECT_EQ(ReadWholeFile(file_), "[Default]\nUnit=1\n");
}

TEST_F(IniFileTest, ANewFileHasCrLfLineEnds) {
    IniFile ini(file_);
    ini.WriteString("Default", "Language", "english");
    EXPECT_EQ(ReadWholeFile(file_), "[Default]\r\nLanguage=english\r\n");
}

TEST_F(IniFileTest, ValuesComeBackAsTheyWereWritten) {
    IniFile ini(file_);
    const std::string values[] = {"", " padded ", "\"quoted\"", "'single'", "a=b;c", "C:\\cnc\\out", "\xC3\xA0 la"};
    for (const std::string& value : values) {
        ini.WriteString("Default", "Value", value);
        EXPECT_EQ(IniFile(file_).ReadString("Default", "Value", "?"), value);
    }
}

TEST_F(IniFileTest, AWriteKeepsChangesMadeToTheFileMeanwhile) {
    IniFile ini(file_);
    ini.WriteString("Default", "Pst", "Fanuc_mm");
    WriteFileAtomically(file_, ReadWholeFile(file_) + "ZBlack=-3\r\n");
    ini.WriteString("Default", "Tool", "2");
    const IniFile again(file_);
    EXPECT_EQ(again.ReadString("Default", "ZBlack", ""), "-3");
    EXPECT_EQ(again.ReadString("Default", "Tool", ""), "2");
}

TEST_F(IniFileTest, RefusesWhatTheFormatCannotHold) {
    IniFile ini(file_);
    EXPECT_THROW(ini.WriteString("Default", "Key", "two\r\nlines"), std::invalid_argument);
    EXPECT_THROW(ini.WriteString("Default", "a=b", "x"), std::invalid_argument);
    EXPECT_THROW(ini.WriteString("a]b", "Key", "x"), std::invalid_argument);
    EXPECT_THROW(ini.WriteString("", "Key", "x"), std::invalid_argument);
    EXPECT_THROW(ini.WriteString("Default", " ", "x"), std::invalid_argument);
    EXPECT_FALSE(fs::exists(file_));
}

TEST_F(IniFileTest, AFailedWriteLeavesTheFileAsItWas) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes everywhere";
    WriteFileAtomically(file_, "[Default]\r\nUnit=0\r\n");
    IniFile ini(file_);
    fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_THROW(ini.WriteInteger("Default", "Unit", 1), FileWriteError);
    fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add);
    EXPECT_EQ(ReadWholeFile(file_), "[Default]\r\nUnit=0\r\n");
    EXPECT_EQ(ini.ReadInteger("Default", "Unit", 9), 0);
}

TEST_F(IniFileTest, AFailedWriteIsReportedAndChangesNothingInMemory) {
    const fs::path inside = folder_ / "gone" / "Calvoro.ini";
    fs::create_directories(inside.parent_path());
    WriteFileAtomically(inside, "[Default]\r\nUnit=0\r\n");
    IniFile ini(inside);
    fs::remove_all(inside.parent_path());
    WriteFileAtomically(inside.parent_path(), "now a file, so nothing can be created in it");
    EXPECT_THROW(ini.WriteInteger("Default", "Unit", 1), FileWriteError);
    EXPECT_EQ(ini.ReadInteger("Default", "Unit", 9), 0);
}

TEST_F(IniFileTest, AnUnreadableFileIsAnErrorNotAnEmptyFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "root reads everything";
    WriteFileAtomically(file_, "[Default]\r\nUnit=1\r\n");
    fs::permissions(file_, fs::perms::none);
    // Reading it as empty would let the next write replace the user's settings.
    EXPECT_THROW(IniFile{file_}, std::runtime_error);
}

}  // namespace

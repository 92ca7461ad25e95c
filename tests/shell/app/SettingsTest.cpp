// The settings file as the program reads and writes it, the units switch and
// the display number format.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "kernel/platform/AtomicFile.h"
#include "kernel/platform/IniFile.h"
#include "shell/app/Settings.h"
#include "tests/support/TempFolder.h"

namespace calvoro {
namespace {

using test::TempFolder;

Settings ReadText(const TempFolder& folder, const std::string& text) {
    WriteFileAtomically(folder / "Calvoro.ini", text);
    return ReadSettings(IniFile(folder / "Calvoro.ini"));
}

TEST(Settings, ValuesAreReadByTheFileRules) {
    const TempFolder folder;
    struct Case {
        const char* line;  // in [Default] unless it starts a section itself
        std::function<bool(const Settings&)> holds;
    };
    const Case cases[] = {
        {"Unit=7", [](const Settings& s) { return s.Unit == 7 && !UnitSwitch(s.Unit).isMM; }},
        {"SGrid=-1", [](const Settings& s) { return s.SGrid; }},
        {"SGrid=0", [](const Settings& s) { return !s.SGrid; }},
        {"SGrid=yes", [](const Settings& s) { return s.SGrid; }},  // junk: the default
        {"GridX=1,5", [](const Settings& s) { return s.GridX == 10.0; }},
        {"GridX=2.5", [](const Settings& s) { return s.GridX == 2.5; }},
        {"ZWHITE=1.5", [](const Settings& s) { return s.ZWhite == "1.5"; }},
        {"Tool=3", [](const Settings& s) { return s.Tool == 3; }},
        {"FOpen=/home/u/pic.bmp", [](const Settings& s) { return s.FOpen == "/home/u/pic.bmp"; }},
        {"[color]\r\nform=$FF000005", [](const Settings& s) { return s.Form == -16777211; }},
        {"[Color]\r\nBackGround=$808080", [](const Settings& s) { return s.BackGround == 0x808080; }},
        {"[Color]\r\nGrid=-16777201", [](const Settings& s) { return s.Grid == -16777201; }},
    };
    for (const Case& c : cases) {
        const std::string line = c.line;
        const std::string text = line.starts_with('[') ? line + "\r\n" : "[Default]\r\n" + line + "\r\n";
        EXPECT_TRUE(c.holds(ReadText(folder, text))) << c.line;
    }
}

TEST(Settings, WritingKeepsTheJobDefaultsCommentsAndUnknownKeys) {
    const TempFolder folder;
    const std::string before =
        "; my settings\r\n[Default]\r\nZWhite=3.25 ; by hand\r\nUnit=1\r\nMine=kept\r\n";
    Settings s = ReadText(folder, before);
    s.ZWhite = "99";  // never written back
    s.Unit = 7;
    s.Form = -16777211;
    s.GridX = 2.5;
    s.FOpen = "/p/a.bmp";
    IniFile file(folder / "Calvoro.ini");
    WriteSettings(file, s);
    const std::string after = ReadWholeFile(folder / "Calvoro.ini");
    EXPECT_EQ(after.find("; my settings\r\n[Default]\r\nZWhite=3.25 ; by hand\r\nUnit=7\r\nMine=kept\r\n"), 0u)
        << after;
    s.ZWhite = "3.25 ; by hand";
    EXPECT_EQ(ReadSettings(IniFile(folder / "Calvoro.ini")), s);
    EXPECT_NE(after.find("[Color]\r\nForm=-16777211\r\nBackGround=8421504\r\nDefLayers=65280\r\nGrid=8388608\r\n"),
              std::string::npos);
}

// Line ends that other editors leave: whatever the file holds, what was read
// is written back at quit, and every key after the odd line survives.
TEST(Settings, ValuesReadFromOddLineEndsAreWrittenBack) {
    const TempFolder folder;
    const struct {
        const char* name;
        std::string text;
    } cases[] = {
        {"CR CR LF", "[Default]\r\r\nFOpen=/p/a.bmp\r\r\nNcPath=/p/nc\r\r\nMine=kept\r\r\n"},
        {"a CR alone inside a value", "[Default]\r\nFOpen=/p/a.bmp\rNcPath=/p/nc\r\nMine=kept\r\n"},
        {"CRs before the end of the file", "[Default]\r\nFOpen=/p/a.bmp\r\nNcPath=/p/nc\r\nMine=kept\r\r"},
        {"CR alone as line end", "[Default]\rFOpen=/p/a.bmp\rNcPath=/p/nc\rMine=kept\r"},
        {"LF with CRs", "[Default]\nFOpen=/p/a.bmp\r\r\r\nNcPath=/p/nc\nMine=kept\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Settings s = ReadText(folder, c.text);
        EXPECT_EQ(s.FOpen, "/p/a.bmp");
        EXPECT_EQ(s.NcPath, "/p/nc");
        s.Unit = 1;
        IniFile file(folder / "Calvoro.ini");
        ASSERT_NO_THROW(WriteSettings(file, s));
        const IniFile again(folder / "Calvoro.ini");
        EXPECT_EQ(ReadSettings(again), s);
        EXPECT_EQ(again.ReadString("Default", "Mine", ""), "kept");
    }
}

TEST(Settings, AMissingFileGivesTheDefaultsWrittenInTheirOrderAndNoOthers) {
    const TempFolder folder;
    IniFile file(folder / "Calvoro.ini");
    EXPECT_EQ(ReadSettings(file), Settings{});
    WriteSettings(file, Settings{});
    EXPECT_EQ(file.ReadSection("Color"), (std::vector<std::string>{"Form", "BackGround", "DefLayers", "Grid"}));
    EXPECT_EQ(file.ReadSection("Default"),
              (std::vector<std::string>{"Unit", "SGrid", "SAxis", "GridX", "GridY", "SnapX", "SnapY", "FOpen",
                                        "NcPath", "Language", "Pst", "Tool"}));
    EXPECT_EQ(ReadSettings(file), Settings{});
}

TEST(Settings, AReadOnlyFileIsRefusedAndLeftAsItWas) {
    const TempFolder folder;
    const std::string text = "[Default]\r\nUnit=1\r\n";
    WriteFileAtomically(folder / "Calvoro.ini", text);
    std::filesystem::permissions(folder / "Calvoro.ini", std::filesystem::perms::owner_read);
    IniFile file(folder / "Calvoro.ini");
    EXPECT_THROW(WriteSettings(file, Settings{}), FileWriteError);
    std::filesystem::permissions(folder / "Calvoro.ini", std::filesystem::perms::owner_all);
    EXPECT_EQ(ReadWholeFile(folder / "Calvoro.ini"), text);
}

TEST(Settings, LiveBesideTheProgramOnlyWhenItsFolderCanBeWritten) {
    EXPECT_EQ(SettingsFilePath("/opt/calvoro", "/home/u/.config/Calvoro", true), "/opt/calvoro/Calvoro.ini");
    EXPECT_EQ(SettingsFilePath("/opt/calvoro", "/home/u/.config/Calvoro", false),
              "/home/u/.config/Calvoro/Calvoro.ini");
}

TEST(Settings, TheUsersFileIsSeededOnceFromTheShippedOne) {
    const TempFolder folder;
    const auto shipped = folder / "program" / "Calvoro.ini";
    const auto user = folder / "config" / "sub" / "Calvoro.ini";
    EXPECT_FALSE(SeedSettingsFile(user, shipped));  // nothing shipped: nothing to copy
    std::filesystem::create_directories(shipped.parent_path());
    WriteFileAtomically(shipped, "[Default]\r\nUnit=1\r\n");
    EXPECT_TRUE(SeedSettingsFile(user, shipped));
    EXPECT_EQ(ReadWholeFile(user), "[Default]\r\nUnit=1\r\n");
    WriteFileAtomically(user, "[Default]\r\nUnit=0\r\n");
    EXPECT_FALSE(SeedSettingsFile(user, shipped));  // the user's own settings stay
    EXPECT_EQ(ReadWholeFile(user), "[Default]\r\nUnit=0\r\n");
}

TEST(Settings, DisplayNumbersFollowTheUnitsDecimals) {
    struct Case {
        float value;
        std::int32_t unit;
        const char* shown;
    };
    const Case cases[] = {
        {12.5f, 0, "12.5"},   {10.0f, 0, "10"},     {0.0f, 0, "0"},       {-0.0004f, 0, "-0"},
        {0.00004f, 1, "0"},   {12.3456f, 7, "12.3456"}, {2.0005f, 0, "2"}, {-3.25f, 1, "-3.25"},
        {100.0f, 0, "100"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatDisplayNumber(c.value, c.unit), c.shown) << c.value << " " << c.unit;
}

}  // namespace
}  // namespace calvoro

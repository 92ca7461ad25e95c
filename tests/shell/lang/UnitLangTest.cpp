#include "shell/lang/UnitLang.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "kernel/platform/AtomicFile.h"
#include "shell/app/AppInfo.h"

namespace fs = std::filesystem;
using namespace calvoro;

namespace {

class UnitLangTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("calvoro_lang_" + std::to_string(::getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_ / "language");
        previousFolder_ = ProgramFolder();
        SetProgramFolder(folder_);
        SetLanguageFile(nullptr);
        SetLanguageName("");
        MessageTable().fill("");
    }
    void TearDown() override {
        SetLanguageFile(nullptr);
        SetProgramFolder(previousFolder_);
        fs::remove_all(folder_);
    }
    void WriteLanguage(const std::string& fileName, const std::string& text) {
        WriteFileAtomically(folder_ / "language" / fileName, text);
    }
    void Use(const std::string& text) { SetLanguageFile(std::make_unique<MemIniFile>(MemIniFile::FromBytes(text))); }

    fs::path folder_;
    fs::path previousFolder_;
};

TEST(ExpandLangLineBreaksTest, FollowsTheJoiningRule) {
    struct Case {
        const char* value;
        const char* text;
    };
    const Case cases[] = {
        {"", ""},
        {"No breaks", "No breaks"},
        {"A*|*B", "A\nB"},
        {"A*|*B*|*C", "A\nB\nC"},
        {"A*|**|*B", "A\n\nB"},  // an empty line inside is kept
        {"A*|*", "A\n"},
        {"*|*", "\n"},
        {"*|*A", "\nA"},        // one leading break ...
        {"*|**|**|*A", "\nA"},  // ... however many separators lead
        {"*|*A*|*B", "A\nB"},   // a leading break is absorbed when a later segment follows
        {"A*|B|*C", "A*|B|*C"},
    };
    for (const Case& c : cases) EXPECT_EQ(ExpandLangLineBreaks(c.value), c.text) << c.value;
}

TEST_F(UnitLangTest, WithoutAFileEveryTextIsEmpty) {
    EXPECT_EQ(LangString("451"), "");
    EXPECT_EQ(LangMainHint("sbtOpen"), "");
    EXPECT_EQ(LangMainText("twGeo00"), "");
    EXPECT_EQ(ReadLangText("frmMain", "frmMain.Caption"), "");
}

TEST_F(UnitLangTest, ReadsTextsFromTheirSections) {
    Use("[String]\r\n451=Do you really want to quit?*|*Unsaved work is lost.\r\n"
        "[frmMain]\r\nsbtOpen.Hint=Open|Open a picture\r\ntwGeo00=Drawing\r\n"
        "[frmTool]\r\n451=not a message\r\n");
    EXPECT_EQ(LangString("451"), "Do you really want to quit?\nUnsaved work is lost.");
    EXPECT_EQ(LangString("452"), "");
    EXPECT_EQ(LangMainHint("SBTOPEN"), "Open|Open a picture");
    EXPECT_EQ(LangMainText("twgeo00"), "Drawing");
    EXPECT_EQ(ReadLangText("FRMTOOL", "451"), "not a message");
}

TEST_F(UnitLangTest, LoadsALanguageFileBesideTheProgram) {
    WriteLanguage("english.lng", "[String]\r\n450=Calvoro\r\n");
    std::unique_ptr<MemIniFile> file = LoadLanguageFile("language/english");
    ASSERT_TRUE(file);
    EXPECT_EQ(LanguageFileName(), folder_ / "language" / "english.lng");
    EXPECT_EQ(file->ReadString("String", "450", ""), "Calvoro");
}

TEST_F(UnitLangTest, FindsAFileWhoseNameDiffersInCase) {
    WriteLanguage("Italiano.lng", "[String]\r\n450=Calvoro\r\n");
    EXPECT_TRUE(LoadLanguageFile("language/italiano"));
    EXPECT_EQ(LanguageFileName(), folder_ / "language" / "Italiano.lng");
}

TEST_F(UnitLangTest, AMissingFileGivesNoneAndNamesTheFile) {
    EXPECT_FALSE(LoadLanguageFile("language/klingon"));
    EXPECT_EQ(LanguageFileName(), folder_ / "language" / "klingon.lng");
    EXPECT_EQ(LanguageFileNotFoundText(),
              "Language file not found!\n" + (folder_ / "language" / "klingon.lng").string());
}

TEST_F(UnitLangTest, ANameCannotReachOutsideTheLanguageFolder) {
    WriteFileAtomically(folder_ / "secret.lng", "[String]\r\n1=x\r\n");
    for (const char* name : {"language/../secret", "/etc/passwd", "language/./english", ""})
        EXPECT_FALSE(LoadLanguageFile(name)) << name;
}

TEST_F(UnitLangTest, TheMessageTableTakesOnlyItsListedEntries) {
    Use("[String]\r\n406=Bolt circle\r\n422=Settings\r\n0=zero\r\n1=one\r\n12=twelve\r\n");
    auto& table = MessageTable();
    table[14] = "kept";
    LoadMessageStrings();
    EXPECT_EQ(table[42], "Bolt circle");
    EXPECT_EQ(table[13], "Settings");
    EXPECT_EQ(table[14], "kept");  // not a listed entry: untouched
    for (std::size_t entry = 0; entry <= 12; ++entry) EXPECT_EQ(table[entry], "") << entry;
    EXPECT_EQ(table[20], "");  // listed, but the file has no "470"
}

TEST_F(UnitLangTest, AChangeToAMissingLanguageKeepsTheOneInUse) {
    WriteLanguage("english.lng", "[String]\r\n451=Quit?\r\n406=Bolt circle\r\n");
    std::string error;
    ASSERT_TRUE(SwitchLanguage("english", error));
    EXPECT_EQ(error, "");

    EXPECT_FALSE(SwitchLanguage("italiano", error));
    EXPECT_EQ(error, "Language file not found!\n" + (folder_ / "language" / "italiano.lng").string());
    EXPECT_EQ(LanguageName(), "english");  // the settings keep a language that exists
    EXPECT_EQ(LangString("451"), "Quit?");
    EXPECT_EQ(MessageTable()[42], "Bolt circle");
}

TEST_F(UnitLangTest, AChangeOfLanguageReplacesFileNameAndMessages) {
    WriteLanguage("english.lng", "[String]\r\n406=Bolt circle\r\n");
    WriteLanguage("italiano.lng", "[String]\r\n406=Foratura circolare\r\n");
    std::string error;
    ASSERT_TRUE(SwitchLanguage("english", error));
    ASSERT_TRUE(SwitchLanguage("italiano", error));
    EXPECT_EQ(LanguageName(), "italiano");
    EXPECT_EQ(MessageTable()[42], "Foratura circolare");
}

TEST_F(UnitLangTest, AnUnreadableLanguageIsReportedAndKeepsTheOneInUse) {
    if (::geteuid() == 0) GTEST_SKIP() << "root reads everything";
    WriteLanguage("english.lng", "[String]\r\n451=Quit?\r\n");
    WriteLanguage("locked.lng", "[String]\r\n451=?\r\n");
    fs::permissions(folder_ / "language" / "locked.lng", fs::perms::none);
    std::string error;
    ASSERT_TRUE(SwitchLanguage("english", error));
    EXPECT_FALSE(SwitchLanguage("locked", error));
    EXPECT_NE(error.find("locked.lng"), std::string::npos);
    EXPECT_EQ(LangString("451"), "Quit?");
}

TEST_F(UnitLangTest, AtStartAMissingLanguageFallsBackToEnglish) {
    WriteLanguage("english.lng", "[String]\r\n406=Bolt circle\r\n");
    const std::string error = OpenStartLanguage("deutsch");
    EXPECT_EQ(error, "Language file not found!\n" + (folder_ / "language" / "deutsch.lng").string());
    EXPECT_EQ(LanguageName(), "english");
    EXPECT_EQ(MessageTable()[42], "Bolt circle");
}

TEST_F(UnitLangTest, AtStartAFoundLanguageIsUsedWithoutError) {
    WriteLanguage("english.lng", "[String]\r\n406=Bolt circle\r\n");
    WriteLanguage("italiano.lng", "[String]\r\n406=Foratura circolare\r\n");
    EXPECT_EQ(OpenStartLanguage("italiano"), "");
    EXPECT_EQ(LanguageName(), "italiano");
    EXPECT_EQ(LangString("406"), "Foratura circolare");
}

TEST_F(UnitLangTest, AtStartWithoutAnyFileNothingIsLoaded) {
    // The missing English file is reported by the translation of the main window.
    EXPECT_EQ(OpenStartLanguage("english"), "");
    EXPECT_EQ(LanguageFile(), nullptr);
    EXPECT_EQ(LanguageFileName(), folder_ / "language" / "english.lng");

    EXPECT_NE(OpenStartLanguage("deutsch"), "");
    EXPECT_EQ(LanguageFile(), nullptr);
    EXPECT_EQ(LanguageFileName(), folder_ / "language" / "english.lng");
}

}  // namespace

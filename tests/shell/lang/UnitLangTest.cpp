// The language of the program: the "*|*" line breaks, and changes of language
// that load the new file first and never lose the language in use.
#include "kernel/platform/AtomicFile.h"
#include "shell/app/AppInfo.h"
#include "shell/lang/UnitLang.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace fs = std::filesystem;
using namespace calvoro;

namespace {

TEST(ExpandLangLineBreaksTest, FollowsTheJoiningRule) {
    const char* const cases[][2] = {
        {"No breaks", "No breaks"},
        {"A*|*B*|*C", "A\nB\nC"},
        {"A*|*", "A\n"},
        {"*|*", "\n"},
        {"A*|B|*C", "A*|B|*C"},
        {"A*|**|*B", "A\n\nB"},  // an empty line inside is kept
        {"*|*A", "\nA"},         // one leading break ...
        {"*|**|**|*A", "\nA"},   // ... however many separators lead
        {"*|*A*|*B", "A\nB"},    // a leading break is absorbed when a later segment follows
    };
    for (const auto& c : cases) EXPECT_EQ(ExpandLangLineBreaks(c[0]), c[1]) << c[0];
}

// A program folder of the test's own, with no language loaded.
class UnitLangTest : public ::testing::Test {
protected:
    UnitLangTest() : previousFolder_(ProgramFolder()) {
        SetProgramFolder(folder_.path());
        fs::create_directories(folder_ / "language");
        SetLanguageFile(nullptr);
        SetLanguageName("");
        MessageTable().fill("");
    }
    ~UnitLangTest() override {
        SetLanguageFile(nullptr);
        SetProgramFolder(previousFolder_);
    }
    void WriteLanguage(const std::string& name, const std::string& text) {
        WriteFileAtomically(folder_ / "language" / (name + ".lng"), text);
    }

    test::TempFolder folder_{"lang"};
    fs::path previousFolder_;
};

// A language is looked for in the user's folder first, and the message says
// where: a missing user language names that folder, not only the shipped one.
TEST_F(UnitLangTest, AMissingLanguageNamesTheUsersFolderAndTheShippedOne) {
    SetUserLanguageFolder(folder_ / "user");
    std::string error;
    EXPECT_FALSE(SwitchLanguage("italiano", error));
    SetUserLanguageFolder({});
    EXPECT_EQ(error, "Language file not found!\n" + (folder_ / "user" / "italiano.lng").string() + "\n" +
                         (folder_ / "language" / "italiano.lng").string());
}

TEST_F(UnitLangTest, AChangeOfLanguageLoadsTheNewFileBeforeLettingGoOfTheOldOne) {
    WriteLanguage("english", "[String]\r\n451=Quit?\r\n406=Bolt circle\r\n");
    std::string error;
    ASSERT_TRUE(SwitchLanguage("english", error));
    EXPECT_EQ(error, "");
    EXPECT_FALSE(SwitchLanguage("italiano", error));
    EXPECT_EQ(error, "Language file not found!\n" + (folder_ / "language" / "italiano.lng").string());
    EXPECT_EQ(LanguageName(), "english");  // the settings keep a language that exists
    EXPECT_EQ(LangString("451"), "Quit?");
    EXPECT_EQ(MessageTable()[42], "Bolt circle");

    WriteLanguage("italiano", "[String]\r\n406=Foratura circolare\r\n");
    ASSERT_TRUE(SwitchLanguage("italiano", error));
    EXPECT_EQ(LanguageName(), "italiano");
    EXPECT_EQ(MessageTable()[42], "Foratura circolare");
}

// A file that cannot be opened, or a pipe that would block the program, is
// reported naming the file, and the language in use stays.
TEST_F(UnitLangTest, AnUnreadableLanguageIsReportedAndKeepsTheOneInUse) {
    WriteLanguage("italiano", "[String]\r\n406=Foratura circolare\r\n");
    WriteLanguage("locked", "[String]\r\n451=?\r\n");
    fs::permissions(folder_ / "language" / "locked.lng", fs::perms::none);
    ASSERT_EQ(::mkfifo((folder_ / "language" / "pipe.lng").c_str(), 0600), 0);
    const std::pair<const char*, std::string> cases[] = {
        {"locked", "locked.lng"},
        {"pipe", "The language file \"" + (folder_ / "language" / "pipe.lng").string() +
                     "\" cannot be read: it is a pipe, not a file."},
    };
    std::string error;
    ASSERT_TRUE(SwitchLanguage("italiano", error)) << error;
    for (const auto& [name, message] : cases) {
        if (std::string(name) == "locked" && test::RunningAsRoot()) continue;  // root reads everything
        EXPECT_FALSE(SwitchLanguage(name, error));
        EXPECT_NE(error.find(message), std::string::npos) << error;
        EXPECT_EQ(LanguageName(), "italiano");
    }
}

}  // namespace

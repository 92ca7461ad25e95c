// The language files the user edits: names a new language may have, the
// listing of the shipped and the user's folder, saving that gives back the
// file byte for byte, and deletions that say when they failed.
#include "shell/lang/LanguageStore.h"

#include <gtest/gtest.h>

#include "kernel/platform/AtomicFile.h"
#include "shell/app/AppInfo.h"
#include "shell/lang/UnitLang.h"
#include "tests/support/TempFolder.h"

namespace fs = std::filesystem;
using namespace calvoro;

namespace {

class LanguageStoreTest : public ::testing::Test {
protected:
    LanguageStoreTest() {
        fs::create_directories(shipped_);
        WriteFileAtomically(shipped_ / "english.lng", kEnglish);
    }
    LanguageStore Store() const { return LanguageStore(shipped_, user_); }

    static constexpr const char* kEnglish = "[String]\r\n450=Calvoro\r\n110=File:\xC2\xA0\r\n";
    test::TempFolder folder_;
    fs::path shipped_ = folder_ / "language";
    fs::path user_ = folder_ / "user" / "language";
};

TEST(LanguageStoreNameTest, RefusesEnglishPathsAndNamesNoFileCanHave) {
    const struct {
        const char* name;
        bool accepted;
    } cases[] = {
        {"Italiano", true},
        {"Fran\xC3\xA7"
         "ais",
         true},
        {"pt-BR 2", true},
        {"", false},
        {"english", false},
        {"English", false},
        {"ENGLISH", false},
        {"english ", false},
        {" x", false},
        {"../x", false},
        {"a/b", false},
        {"a\\b", false},
        {".hidden", false},
        {"a..b", false},
        {"x:y", false},
        {"x*", false},
        {"tab\there", false},
        {"q?", false},
    };
    for (const auto& c : cases) EXPECT_EQ(LanguageStore::CheckNewName(c.name).empty(), c.accepted) << c.name;
    EXPECT_NE(LanguageStore::CheckNewName("English").find("reference"), std::string::npos);
}

TEST_F(LanguageStoreTest, ListsBothFoldersOnceSortedWithoutRegardToCase) {
    fs::create_directories(user_);
    for (const char* name : {"zulu.lng", "Deutsch.LNG", "italiano.lng", "notes.txt", "espanol.lng.bak"})
        WriteFileAtomically(shipped_ / name, "[String]\r\n");
    fs::create_directories(shipped_ / "folder.lng");
    for (const char* name : {"Italiano.lng", "abc.lng"}) WriteFileAtomically(user_ / name, "[String]\r\n1=mine\r\n");
    EXPECT_EQ(Store().List(), (std::vector<std::string>{"abc", "Deutsch", "english", "Italiano", "zulu"}));
    EXPECT_EQ(Store().FileOf("ITALIANO"), user_ / "Italiano.lng");  // the user's copy shadows the shipped one
    EXPECT_EQ(Store().FileOf("deutsch"), shipped_ / "Deutsch.LNG");
    EXPECT_EQ(Store().SaveTarget("deutsch"), user_ / "Deutsch.LNG");
    EXPECT_EQ(Store().SaveTarget("Neu"), user_ / "Neu.lng");
    EXPECT_TRUE(Store().FileOf("../language/zulu").empty());
    EXPECT_EQ(LanguageStore(folder_ / "none", {}).List(), std::vector<std::string>());
}

TEST_F(LanguageStoreTest, AnUneditedSaveWritesTheFileBackByteForByte) {
    const char* const files[] = {
        kEnglish,
        "[String]\r\n1=Caf\xE9 cr\xE8me \xE0 la fran\xE7"
        "aise\r\n2=\x80 \x81 \x9F \xFF\r\n",                // Windows-1252
        "\xEF\xBB\xBF[String]\r\n1=\xC3\xA9t\xC3\xA9\r\n",  // UTF-8 with mark
        "[String]\r\n1=no final line end",
        "[String]\r\n\r\n\r\n",
        "\r\n",
        "",
    };
    for (const char* bytes : files) {
        WriteFileAtomically(shipped_ / "fr.lng", bytes);
        fs::remove(user_ / "fr.lng");  // the last round's copy would shadow the new file
        Store().Save("fr", Store().Load("fr"));
        EXPECT_EQ(ReadWholeFile(user_ / "fr.lng"), bytes) << bytes;
        EXPECT_EQ(ReadWholeFile(shipped_ / "fr.lng"), bytes);  // the shipped file is never written
    }
}

TEST_F(LanguageStoreTest, EditedTextKeepsTheEncodingAndGetsCrLf) {
    WriteFileAtomically(shipped_ / "fr.lng", "[String]\r\n1=Caf\xE9\r\n");
    LanguageText text = Store().Load("fr");
    EXPECT_EQ(text.encoding, TextEncoding::Windows1252);
    EXPECT_EQ(text.text, "[String]\n1=Caf\xC3\xA9");
    text.text += "\n2=\xC3\xA0 bient\xC3\xB4t\r\n3=x";  // a pasted CR LF stays one line end
    Store().Save("fr", text);
    EXPECT_EQ(ReadWholeFile(user_ / "fr.lng"), "[String]\r\n1=Caf\xE9\r\n2=\xE0 bient\xF4t\r\n3=x\r\n");

    // A character the code page lacks is refused before anything is written.
    text.text += "\n4=\xD0\x96";
    EXPECT_THROW(Store().Save("fr", text), std::invalid_argument);
    EXPECT_EQ(ReadWholeFile(user_ / "fr.lng"), "[String]\r\n1=Caf\xE9\r\n2=\xE0 bient\xF4t\r\n3=x\r\n");
}

TEST_F(LanguageStoreTest, EnglishIsNeverSavedNorDeleted) {
    for (const char* name : {"english", "English", "ENGLISH"}) {
        EXPECT_THROW(Store().Save(name, Store().Load("english")), std::runtime_error) << name;
        EXPECT_EQ(Store().Delete(name), "Unable to modify or delete the \"english.lng\"");
    }
    EXPECT_THROW(Store().Save("../evil", LanguageText()), std::runtime_error);
    EXPECT_EQ(ReadWholeFile(shipped_ / "english.lng"), kEnglish);
    EXPECT_FALSE(fs::exists(user_));
}

TEST_F(LanguageStoreTest, ASaveThatCannotWriteLeavesTheOldFileAndSaysWhy) {
    WriteFileAtomically(folder_ / "user", "a file where the user's folder should be");
    EXPECT_THROW(Store().Save("fr", Store().Load("english")), FileWriteError);
    EXPECT_EQ(ReadWholeFile(folder_ / "user"), "a file where the user's folder should be");
}

TEST_F(LanguageStoreTest, DeleteReportsWhatStaysAndUncoversTheShippedCopy) {
    fs::create_directories(user_);
    WriteFileAtomically(shipped_ / "fr.lng", "[String]\r\n1=shipped\r\n");
    WriteFileAtomically(user_ / "FR.lng", "[String]\r\n1=mine\r\n");
    EXPECT_EQ(Store().Delete("fr"), "");
    EXPECT_EQ(Store().FileOf("fr"), shipped_ / "fr.lng");
    EXPECT_NE(Store().Delete("klingon").find("was not found"), std::string::npos);

    const LanguageStore failing(shipped_, user_, [](const fs::path&, std::error_code& error) {
        error = std::make_error_code(std::errc::read_only_file_system);
        return false;
    });
    EXPECT_NE(failing.Delete("fr").find("Cannot delete the language file"), std::string::npos);
    EXPECT_TRUE(fs::exists(shipped_ / "fr.lng"));
}

TEST_F(LanguageStoreTest, TheProgramReadsTheUsersCopyOfALanguage) {
    const fs::path previousFolder = ProgramFolder();
    SetProgramFolder(folder_.path());
    SetUserLanguageFolder(user_);
    fs::create_directories(user_);
    WriteFileAtomically(shipped_ / "fr.lng", "[String]\r\n1=shipped\r\n");
    WriteFileAtomically(user_ / "Fr.lng", "[String]\r\n1=mine\r\n");
    const std::unique_ptr<MemIniFile> mine = LoadLanguageFile("language/fr");
    const std::unique_ptr<MemIniFile> english = LoadLanguageFile("language/english");  // only shipped
    SetUserLanguageFolder({});
    SetProgramFolder(previousFolder);
    ASSERT_TRUE(mine && english);
    EXPECT_EQ(mine->ReadString("String", "1", ""), "mine");
    EXPECT_EQ(english->ReadString("String", "450", ""), "Calvoro");
}

}  // namespace

// The language files the user edits: names a new language may have, the
// listing of the shipped and the user's folder, and saving that gives the
// file back byte for byte in its own encoding.
#include "shell/lang/LanguageStore.h"

#include <gtest/gtest.h>

#include "kernel/platform/AtomicFile.h"
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
    for (const char* name : {"Italiano",
                             "Fran\xC3\xA7"
                             "ais",
                             "pt-BR 2"})
        EXPECT_EQ(LanguageStore::CheckNewName(name), "") << name;
    for (const char* name : {"", "english", "English", "ENGLISH", "english ", " x", "../x", "a/b", "a\\b", ".hidden",
                             "a..b", "x:y", "x*", "q?", "tab\there"})
        EXPECT_NE(LanguageStore::CheckNewName(name), "") << name;
}

TEST_F(LanguageStoreTest, ListsBothFoldersOnceSortedAndTheUsersCopyShadowsTheShippedOne) {
    fs::create_directories(user_);
    fs::create_directories(shipped_ / "folder.lng");
    for (const char* name : {"zulu.lng", "Deutsch.LNG", "italiano.lng", "notes.txt", "espanol.lng.bak"})
        WriteFileAtomically(shipped_ / name, "[String]\r\n");
    for (const char* name : {"Italiano.lng", "abc.lng"}) WriteFileAtomically(user_ / name, "[String]\r\n");
    EXPECT_EQ(Store().List(), (std::vector<std::string>{"abc", "Deutsch", "english", "Italiano", "zulu"}));
    EXPECT_EQ(Store().FileOf("ITALIANO"), user_ / "Italiano.lng");  // the user's copy shadows the shipped one
    EXPECT_EQ(Store().SaveTarget("deutsch"), user_ / "Deutsch.LNG");
    EXPECT_EQ(Store().SaveTarget("Neu"), user_ / "Neu.lng");
    EXPECT_TRUE(Store().FileOf("../language/zulu").empty());
    EXPECT_EQ(LanguageStore(folder_ / "none", {}).List(), std::vector<std::string>());
    EXPECT_EQ(Store().Delete("italiano"), "");  // deleting the user's copy uncovers the shipped one
    EXPECT_EQ(Store().FileOf("Italiano"), shipped_ / "italiano.lng");
}

TEST_F(LanguageStoreTest, AnUneditedSaveWritesTheFileBackByteForByte) {
    const char* const files[] = {
        kEnglish,
        "[String]\r\n1=Caf\xE9 cr\xE8me \xE0 la fran\xE7"
        "aise\r\n2=\x80 \x81 \x9F \xFF\r\n",                // Windows-1252
        "\xEF\xBB\xBF[String]\r\n1=\xC3\xA9t\xC3\xA9\r\n",  // UTF-8 with a byte order mark
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
    EXPECT_EQ(text.text, "[String]\n1=Caf\xC3\xA9");
    text.text += "\n2=\xC3\xA0 bient\xC3\xB4t\r\n3=x";  // a pasted CR LF stays one line end
    Store().Save("fr", text);
    const std::string saved = "[String]\r\n1=Caf\xE9\r\n2=\xE0 bient\xF4t\r\n3=x\r\n";
    EXPECT_EQ(ReadWholeFile(user_ / "fr.lng"), saved);

    text.text += "\n4=\xD0\x96";  // a letter the code page lacks: refused before anything is written
    EXPECT_THROW(Store().Save("fr", text), std::invalid_argument);
    EXPECT_EQ(ReadWholeFile(user_ / "fr.lng"), saved);
    EXPECT_EQ(std::distance(fs::directory_iterator(user_), fs::directory_iterator()), 1);  // no temporary file
}

TEST_F(LanguageStoreTest, EnglishAndFoldersAreNeverWrittenNorDeleted) {
    EXPECT_THROW(Store().Save("English", Store().Load("english")), std::runtime_error);
    EXPECT_THROW(Store().Save("../evil", LanguageText()), std::runtime_error);
    EXPECT_EQ(Store().Delete("ENGLISH"), "Unable to modify or delete the \"english.lng\"");
    EXPECT_NE(Store().Delete("klingon").find("was not found"), std::string::npos);
    EXPECT_EQ(ReadWholeFile(shipped_ / "english.lng"), kEnglish);
    EXPECT_FALSE(fs::exists(user_));
    WriteFileAtomically(folder_ / "user", "a file where the user's folder should be");
    EXPECT_THROW(Store().Save("fr", Store().Load("english")), FileWriteError);
}

}  // namespace

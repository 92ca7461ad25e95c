#include "kernel/platform/MemIniFile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "kernel/platform/AtomicFile.h"

namespace fs = std::filesystem;
using namespace calvoro;

namespace {

TEST(MemIniFileTest, ReadsValuesAsTheyStand) {
    const MemIniFile file = MemIniFile::FromBytes(
        "[frmMain]\r\n"
        "  lblX.Caption =  \"Quoted\" text  \r\n"
        "lblY.Caption=a=b\r\n"
        ";lblZ.Caption=commented out\r\n"
        "lblW.Caption\r\n");
    EXPECT_EQ(file.ReadString("frmMain", "lblX.Caption", ""), "\"Quoted\" text");
    EXPECT_EQ(file.ReadString("frmMain", "lblY.Caption", ""), "a=b");
    EXPECT_FALSE(file.ValueExists("frmMain", "lblZ.Caption"));
    EXPECT_FALSE(file.ValueExists("frmMain", "lblW.Caption"));
    EXPECT_EQ(file.ReadString("frmMain", "missing", "design"), "design");
}

TEST(MemIniFileTest, NamesAreCaseInsensitiveAndTheFirstWins) {
    const MemIniFile file =
        MemIniFile::FromBytes("[String]\n451=first\n451=second\n[STRING]\n452=hidden\n[frmMain]\nlblX.Caption=x\n");
    struct Case {
        const char* section;
        const char* key;
        const char* value;
    };
    const Case cases[] = {
        {"String", "451", "first"},       {"string", "451", "first"},       {"String", "452", ""},
        {"FRMMAIN", "LBLX.caption", "x"}, {"frmmain", "lblx.CAPTION", "x"},
    };
    for (const Case& c : cases) EXPECT_EQ(file.ReadString(c.section, c.key, ""), c.value) << c.section << c.key;
    EXPECT_EQ(file.ReadSections(), (std::vector<std::string>{"String", "frmMain"}));
    EXPECT_EQ(file.ReadSection("string"), std::vector<std::string>{"451"});
}

TEST(MemIniFileTest, AWindows1252FileIsReadAndWrittenInItsOwnEncoding) {
    const fs::path path = fs::temp_directory_path() / ("calvoro_lng_" + std::to_string(::getpid()) + ".lng");
    const std::string legacy = "; italiano\r\n[String]\r\n110=Profondit\xE0\r\n";
    WriteFileAtomically(path, legacy);

    MemIniFile file(path);
    EXPECT_EQ(file.Encoding(), TextEncoding::Windows1252);
    EXPECT_EQ(file.ReadString("String", "110", ""), "Profondit\xC3\xA0");
    file.UpdateFile();
    EXPECT_EQ(ReadWholeFile(path), legacy);  // an unedited save is byte for byte the same

    file.WriteString("String", "111", "Qualit\xC3\xA9");
    file.UpdateFile();
    EXPECT_EQ(ReadWholeFile(path), legacy + "111=Qualit\xE9\r\n");

    // A character the code page lacks turns the file into UTF-8 rather than losing it.
    file.WriteString("String", "112", "\xCE\xB1");
    file.UpdateFile();
    const MemIniFile again(path);
    EXPECT_EQ(again.Encoding(), TextEncoding::Utf8);
    EXPECT_EQ(again.ReadString("String", "110", ""), "Profondit\xC3\xA0");
    EXPECT_EQ(again.ReadString("String", "112", ""), "\xCE\xB1");
    fs::remove(path);
}

TEST(MemIniFileTest, AMissingFileIsEmptyAndATextWithoutNameCannotBeSaved) {
    const MemIniFile missing(fs::temp_directory_path() / "calvoro_no_such_language.lng");
    EXPECT_TRUE(missing.ReadSections().empty());
    EXPECT_THROW(MemIniFile::FromBytes("[a]\nb=c\n").UpdateFile(), FileWriteError);
}

}  // namespace

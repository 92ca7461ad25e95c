// Language files held in memory: values as they stand, names without regard to
// case, and the file written back in the encoding it was read in.
#include "kernel/platform/MemIniFile.h"

#include <gtest/gtest.h>

#include "kernel/platform/AtomicFile.h"
#include "tests/support/TempFolder.h"

using namespace calvoro;

namespace {

TEST(MemIniFileTest, AWindows1252FileIsReadAndWrittenInItsOwnEncoding) {
    const test::TempFolder folder("lng");
    const std::filesystem::path path = folder / "italiano.lng";
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

    EXPECT_TRUE(MemIniFile(folder / "missing.lng").ReadSections().empty());
    EXPECT_THROW(MemIniFile::FromBytes("[a]\nb=c\n").UpdateFile(), FileWriteError);  // no file name to save to
}

}  // namespace

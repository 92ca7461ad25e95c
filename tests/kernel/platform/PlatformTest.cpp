// Files and settings: replacing a file only when its write is complete, the
// ini files' reading rules, writing in place without losing anything, and
// Windows-1252 files read and written in their own encoding.
//
// Opening files to read: names that are no regular file are refused with
// their reason before anything is read, and reads give the ranges asked for.
#include "kernel/platform/AtomicFile.h"
#include "kernel/platform/IniFile.h"
#include "kernel/platform/InputFile.h"
#include "kernel/platform/MemIniFile.h"
#include "kernel/platform/NumberReading.h"
#include "tests/support/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <stdexcept>

using namespace calvoro;
using calvoro::test::TempFolder;
using ::testing::HasSubstr;
namespace fs = std::filesystem;

namespace {

// The message of the FileWriteError that writing `file` raises; empty when the write succeeds.
std::string WriteFailure(const std::filesystem::path& file) {
    try {
        WriteFileAtomically(file, "x");
    } catch (const FileWriteError& error) {
        return error.what();
    }
    return {};
}

TEST(AtomicFile, ReplacesTheOldContentsOnlyWhenTheWriteIsComplete) {
    const TempFolder folder("atomic");
    const std::filesystem::path file = folder / "job.nc";
    WriteFileAtomically(file, "old");
    {
        AtomicFileWriter writer(file);
        writer.write("half of a new");
        // no commit: as when an error interrupts the writing
    }
    EXPECT_EQ(ReadWholeFile(file), "old");
    WriteFileAtomically(file, std::string("new\r\n\0bytes", 12));
    EXPECT_EQ(ReadWholeFile(file), std::string("new\r\n\0bytes", 12));
    EXPECT_EQ(folder.FileCount(), 1u);  // no temporary file left behind
}

TEST(AtomicFile, AFailureIsAnErrorThatNamesTheFile) {
    const TempFolder folder("atomic");
    EXPECT_THAT(WriteFailure(folder / "no" / "such" / "file.nc"), HasSubstr("file.nc"));
    EXPECT_THROW(ReadWholeFile(folder / "absent"), std::runtime_error);
    if (test::RunningAsRoot()) GTEST_SKIP() << "root writes everywhere";
    folder.SetWritable(false);
    EXPECT_THAT(WriteFailure(folder / "out.stl"), HasSubstr("out.stl"));
}

class IniFileTest : public ::testing::Test {
protected:
    test::TempFolder folder_{"ini"};
    fs::path file_ = folder_ / "Calvoro.ini";
};

TEST(IniNumberTest, ReadsIntegersLikeStrToIntDef) {
    // Hexadecimal takes all 32 bits: "$FF000005" is a system colour index.
    const std::pair<const char*, std::int32_t> read[] = {{"42", 42},        {"-7", -7},           {"+7", 7},
                                                         {" 12 ", 12},      {"0x10", 16},         {"-$10", -16},
                                                         {"$FFFFFFFF", -1}, {"$808080", 0x808080}};
    EXPECT_EQ(ParseIniInteger("$FF000005"), -16777211);
    EXPECT_EQ(ParseIniInteger("2147483647"), INT32_MAX);
    EXPECT_EQ(ParseIniInteger("-2147483648"), INT32_MIN);
    for (const auto& [text, value] : read) EXPECT_EQ(ParseIniInteger(text), value) << text;
    for (const char* text : {"2147483648", "$100000000", "", "-", "1.5", "12abc", "1 2"})
        EXPECT_EQ(ParseIniInteger(text), std::nullopt) << text;
}

// The signs, exponents and ranges the table of typed numbers (the shell's
// TypedNumbersTest) leaves out, since some of its readers take positive
// numbers only.
TEST(NumberReadingTest, ReadsSignsExponentsAndRangesWhole) {
    const std::pair<const char*, double> read[] = {
        {"-5", -5.0}, {"-.5", -0.5},   {"\t-1.5E+2 ", -150.0},
        {"-0", 0.0},  {"1e-3", 0.001}, {"1.7976931348623157e308", 1.7976931348623157e308}};
    for (const auto& [text, value] : read) EXPECT_EQ(ReadNumber(text), value) << text;
    for (const char* text : {"-", "--5", "-+5", "- 5", "5-", "1e+", "1e1.5", "1.5e308e1", "2e308", "0x1p3", "infinity"})
        EXPECT_EQ(ReadNumber(text), std::nullopt) << text;

    // A single-precision field refuses what a float cannot hold.
    EXPECT_EQ(ReadSingleNumber("-2.5"), -2.5f);
    EXPECT_EQ(ReadSingleNumber("1e38"), 1e38f);
    EXPECT_EQ(ReadSingleNumber("1e39"), std::nullopt);
    EXPECT_EQ(ReadSingleNumber("-1e39"), std::nullopt);

    const std::pair<const char*, std::int32_t> whole[] = {
        {"42", 42}, {"+7", 7}, {" -7\t", -7}, {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN}};
    for (const auto& [text, value] : whole) EXPECT_EQ(ReadWholeNumber(text), value) << text;
    for (const char* text : {"", "-", "+-1", "1e1", "5.0", "5.", "$10", "0x10", "2147483648", "1 2", "2,5"})
        EXPECT_EQ(ReadWholeNumber(text), std::nullopt) << text;
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
    WriteFileAtomically(file_,
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
                        "a=b\r\n");
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
    EXPECT_EQ(folder_.FileCount(), 1u);  // no temporary left behind
}

TEST_F(IniFileTest, AFailedWriteOrReadLosesNothing) {
    const fs::path inside = folder_ / "gone" / "Calvoro.ini";
    fs::create_directories(inside.parent_path());
    WriteFileAtomically(inside, "[Default]\r\nUnit=0\r\n");
    IniFile gone(inside);
    fs::remove_all(inside.parent_path());
    WriteFileAtomically(inside.parent_path(), "now a file, so nothing can be created in it");
    EXPECT_THROW(gone.WriteInteger("Default", "Unit", 1), FileWriteError);
    EXPECT_EQ(gone.ReadInteger("Default", "Unit", 9), 0);  // nor in memory

    if (test::RunningAsRoot()) GTEST_SKIP() << "root reads and writes everywhere";
    WriteFileAtomically(file_, "[Default]\r\nUnit=0\r\n");
    IniFile ini(file_);
    folder_.SetWritable(false);
    EXPECT_THROW(ini.WriteInteger("Default", "Unit", 1), FileWriteError);
    folder_.SetWritable(true);
    EXPECT_EQ(ReadWholeFile(file_), "[Default]\r\nUnit=0\r\n");
    EXPECT_EQ(ini.ReadInteger("Default", "Unit", 9), 0);
    // Reading an unreadable file as empty would let the next write replace the user's settings.
    fs::permissions(file_, fs::perms::none);
    EXPECT_THROW(IniFile{file_}, std::runtime_error);
}

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

TEST(InputFile, NamesThatAreNoRegularFileAreRefusedWithTheirReason) {
    test::TempFolder folder;
    fs::create_directory(folder / "folder");
    ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", folder / "zero");
    WriteFileAtomically(folder / "plain", "x");
    WriteFileAtomically(folder / "locked", "x");
    fs::permissions(folder / "locked", fs::perms::none);
    const std::pair<const char*, const char*> cases[] = {
        {"folder", "it is a folder"},           {"pipe", "it is a pipe, not a file"},
        {"zero", "it is a device, not a file"}, {"absent", "there is no such file"},
        {"plain/inner", "Not a directory"},     {"locked", "permission to read it is denied"}};
    for (const auto& [name, reason] : cases) {
        if (std::string(name) == "locked" && test::RunningAsRoot()) continue;
        try {
            InputFile file(folder / name);
            ADD_FAILURE() << name << " was opened";
        } catch (const InputFileError& error) {
            EXPECT_EQ(error.reason(), reason);
            EXPECT_EQ(std::string(error.what()), "Cannot read \"" + (folder / name).string() + "\": " + reason + ".");
        }
    }
}

TEST(InputFile, ReadsTheRangeAskedForUpToTheEnd) {
    test::TempFolder folder;
    WriteFileAtomically(folder / "digits", "0123456789");
    const InputFile file(folder / "digits");
    EXPECT_EQ(file.size(), 10u);
    const std::tuple<std::uint64_t, std::size_t, const char*> cases[] = {
        {0, 4, "0123"}, {8, 10, "89"}, {10, 1, ""}, {1ull << 40, 1, ""}, {3, 0, ""}};
    for (const auto& [offset, count, expected] : cases) EXPECT_EQ(file.read(offset, count), expected) << offset;
    EXPECT_EQ(file.readAll(), "0123456789");
}

}  // namespace

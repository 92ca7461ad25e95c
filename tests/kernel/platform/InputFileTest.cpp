// Opening files to read: names that are no regular file are refused with
// their reason before anything is read, and reads give the ranges asked for.
#include "kernel/platform/InputFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "kernel/platform/AtomicFile.h"
#include "tests/support/TempFolder.h"

using namespace calvoro;
namespace fs = std::filesystem;

namespace {

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

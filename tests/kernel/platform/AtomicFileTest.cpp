// Atomic writes: the old file survives anything short of a complete write.
#include "kernel/platform/AtomicFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/support/TempFolder.h"

using namespace calvoro;
using calvoro::test::TempFolder;
using ::testing::HasSubstr;

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

}  // namespace

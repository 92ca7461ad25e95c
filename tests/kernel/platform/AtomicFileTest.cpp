#include "kernel/platform/AtomicFile.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using namespace calvoro;

namespace {

class AtomicFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("calvoro_atomic_" + std::to_string(::getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override {
        fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(folder_);
    }
    std::size_t FilesInFolder() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
    }
    fs::path folder_;
};

TEST_F(AtomicFileTest, ReplacesTheOldContentsAndLeavesNoTemporaryFile) {
    const fs::path file = folder_ / "job.nc";
    WriteFileAtomically(file, "old");
    WriteFileAtomically(file, std::string("new\r\n\0bytes", 12));
    EXPECT_EQ(ReadWholeFile(file), std::string("new\r\n\0bytes", 12));
    EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(AtomicFileTest, AnAbandonedWriteKeepsTheOldFile) {
    const fs::path file = folder_ / "Tool.db";
    WriteFileAtomically(file, "keep me");
    {
        AtomicFileWriter writer(file);
        writer.write("half of a new");
        // no commit: as when an error interrupts the writing
    }
    EXPECT_EQ(ReadWholeFile(file), "keep me");
    EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(AtomicFileTest, AFolderThatCannotBeWrittenIsReportedWithTheFileName) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes everywhere";
    fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
    try {
        WriteFileAtomically(folder_ / "out.stl", "x");
        FAIL() << "the write was reported as done";
    } catch (const FileWriteError& error) {
        EXPECT_NE(std::string(error.what()).find("out.stl"), std::string::npos);
    }
}

TEST_F(AtomicFileTest, AMissingFolderIsAnError) {
    EXPECT_THROW(WriteFileAtomically(folder_ / "no" / "such" / "file", "x"), FileWriteError);
    EXPECT_THROW(ReadWholeFile(folder_ / "absent"), std::runtime_error);
}

}  // namespace

// A fresh folder of the tests' own under the system's temporary folder,
// removed with everything in it at the end of the test, whatever permissions
// the test took away meanwhile. The process id keeps test runs of other build
// trees apart; without a name the folder is named after the running test.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstddef>
#include <filesystem>
#include <iterator>
#include <string>
#include <system_error>

namespace calvoro::test {

class TempFolder {
public:
    TempFolder() : TempFolder(CurrentTestName()) {}
    explicit TempFolder(const std::string& name)
        : path_(std::filesystem::temp_directory_path() / ("calvoro_" + name + "_" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;  // what cannot be cleaned up must not end the test run
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }
    // Files and folders in it: a temporary file left behind shows up here.
    std::size_t FileCount() const {
        return static_cast<std::size_t>(
            std::distance(std::filesystem::directory_iterator(path_), std::filesystem::directory_iterator()));
    }
    // When not writable, nothing can be created, renamed or removed in the folder.
    void SetWritable(bool writable) const {
        using std::filesystem::perms;
        std::filesystem::permissions(path_, writable ? perms::owner_all : perms::owner_read | perms::owner_exec);
    }

private:
    static std::string CurrentTestName() {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        return test == nullptr ? std::string("test") : std::string(test->test_suite_name()) + "-" + test->name();
    }

    std::filesystem::path path_;
};

// Permissions do not hold back root, which the test machines may run as.
inline bool RunningAsRoot() {
    return ::geteuid() == 0;
}

}  // namespace calvoro::test

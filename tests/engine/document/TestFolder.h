// A fresh folder in the temporary directory for one test, removed afterwards,
// for tests that write files and check what else is left beside them.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>

namespace calvoro {

class TestFolder {
public:
    TestFolder()
        : path_(std::filesystem::temp_directory_path() /
                ("calvoro-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name()) +
                 "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TestFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    // Files and folders in it: a temporary file left behind shows up here.
    std::size_t entries() const {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(path_), {}));
    }

private:
    std::filesystem::path path_;
};

}  // namespace calvoro

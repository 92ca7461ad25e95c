// Files of the source tree the tests read: the shipped data files and the
// golden files. ctest names the tree in CALVORO_SOURCE_DIR.
//
// Golden and shipped files that the program itself writes are compared byte
// for byte with what it writes now. After a deliberate change of the output,
// run the tests with CALVORO_WRITE_GOLDEN=1 to write them anew, and read the
// difference before committing it.
#pragma once

#include "kernel/platform/AtomicFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace calvoro::test {

inline std::filesystem::path SourceTree() {
    const char* source = std::getenv("CALVORO_SOURCE_DIR");
    return std::filesystem::path(source != nullptr ? source : ".");
}

inline std::filesystem::path ShippedData() {
    return SourceTree() / "data";
}

inline bool ExpectSameAsFile(const std::string& bytes, const std::filesystem::path& file) {
    if (std::getenv("CALVORO_WRITE_GOLDEN") != nullptr) WriteFileAtomically(file, bytes);
    const bool same = std::filesystem::exists(file) && ReadWholeFile(file) == bytes;
    EXPECT_TRUE(same) << file << " is out of date; the program writes:\n" << bytes.substr(0, 4000);
    return same;
}

}  // namespace calvoro::test

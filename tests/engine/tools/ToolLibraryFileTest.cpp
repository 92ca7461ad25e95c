// The tool library file: edits that keep every other record byte for byte,
// a damaged tail that is reported and never read as a tool, failed writes
// that change nothing, and the current cutter's index across moves.
#include "engine/tools/ToolLibraryFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "kernel/platform/AtomicFile.h"
#include "tests/support/TempFolder.h"

namespace fs = std::filesystem;

namespace calvoro {
namespace {

ToolRecord Cutter(int number, std::string name) {
    ToolRecord r;
    r.toolNumber = number;
    r.name = std::move(name);
    return r;
}

std::string Bytes(const ToolRecord& record) {
    const ToolRecordBytes bytes = EncodeToolRecord(record);
    return std::string(bytes.begin(), bytes.end());
}

// Three cutters T1..T3, with a byte past each name (not significant, but kept)
// that tells the records apart byte for byte.
std::string ThreeRecords() {
    std::string bytes;
    for (int i = 0; i < 3; ++i) {
        std::string record = Bytes(Cutter(i + 1, "T" + std::to_string(i + 1)));
        record[60] = static_cast<char>(0xA0 + i);
        bytes += record;
    }
    return bytes;
}

ToolLibraryFile Loaded(const fs::path& file) {
    ToolLibraryFile library(file);
    library.load();
    return library;
}

TEST(ToolLibraryFileTest, AMissingFileIsCreatedEmptyAndTheFirstAddFillsIt) {
    test::TempFolder folder;
    ToolLibraryFile library = Loaded(folder / "Tool.db");
    EXPECT_TRUE(library.empty());
    EXPECT_TRUE(library.damageReport().empty());
    EXPECT_EQ(ReadWholeFile(library.path()), "");
    EXPECT_EQ(library.add(Cutter(4, "Ball")), 0u);
    EXPECT_EQ(ReadWholeFile(library.path()), Bytes(Cutter(4, "Ball")));
}

TEST(ToolLibraryFileTest, EditsKeepEveryOtherRecordByteForByte) {
    test::TempFolder folder;
    const fs::path file = folder / "Tool.db";
    const std::string three = ThreeRecords();
    const auto slice = [&](int i) { return three.substr(i * 92, 92); };
    WriteFileAtomically(file, three);
    const ToolLibraryFile read = Loaded(file);
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(read.record(2).name, "T3");
    EXPECT_EQ(read.storedBytes(1)[60], 0xA1);
    EXPECT_THROW(read.record(3), std::out_of_range);

    const std::pair<std::function<void(ToolLibraryFile&)>, std::string> edits[] = {
        {[](ToolLibraryFile& l) { l.remove(2); }, slice(0) + slice(1)},  // the last row: one record less
        {[](ToolLibraryFile& l) { l.remove(0); }, slice(1) + slice(2)},
        {[](ToolLibraryFile& l) {
             l.swap(0, 2);
             l.swap(1, 1);
         },
         slice(2) + slice(1) + slice(0)},
        {[](ToolLibraryFile& l) { l.modify(1, Cutter(9, "Nine")); }, slice(0) + Bytes(Cutter(9, "Nine")) + slice(2)},
        {[](ToolLibraryFile& l) { EXPECT_EQ(l.add(Cutter(10, "Ten")), 3u); }, three + Bytes(Cutter(10, "Ten"))}};
    for (const auto& [edit, expected] : edits) {
        WriteFileAtomically(file, three);
        ToolLibraryFile library = Loaded(file);
        edit(library);
        EXPECT_EQ(ReadWholeFile(file), expected);
        EXPECT_EQ(Loaded(file).size(), library.size());
    }
    // Deleting the only record leaves an empty file.
    WriteFileAtomically(file, slice(0));
    ToolLibraryFile one = Loaded(file);
    one.remove(0);
    EXPECT_TRUE(fs::exists(file));
    EXPECT_EQ(fs::file_size(file), 0u);
    EXPECT_THROW(one.remove(0), std::out_of_range);
}

TEST(ToolLibraryFileTest, APartialTrailingRecordIsReportedAndNeverReadAsATool) {
    test::TempFolder folder;
    const fs::path file = folder / "Tool.db";
    WriteFileAtomically(file, "abc");
    EXPECT_TRUE(Loaded(file).empty());
    EXPECT_FALSE(Loaded(file).damageReport().empty());

    const std::string three = ThreeRecords();
    WriteFileAtomically(file, three + std::string(40, '\x07'));
    ToolLibraryFile library = Loaded(file);
    EXPECT_EQ(library.size(), 3u);
    EXPECT_NE(library.damageReport().find("40 of 92 bytes"), std::string::npos) << library.damageReport();
    // The next record lands at a whole-record offset, not after the fragment.
    library.add(Cutter(4, "T4"));
    EXPECT_EQ(ReadWholeFile(file), three + Bytes(Cutter(4, "T4")));
    EXPECT_TRUE(library.damageReport().empty());
}

TEST(ToolLibraryFileTest, AFailedWriteLeavesTheLibraryAsItWas) {
    test::TempFolder folder;
    const fs::path file = folder / "Tool.db";
    WriteFileAtomically(file, ThreeRecords());
    ToolLibraryFile library = Loaded(file);
    // Something that cannot be replaced now stands where the file was.
    fs::remove(file);
    fs::create_directories(file / "blocker");
    EXPECT_THROW(library.remove(1), FileWriteError);
    EXPECT_THROW(library.add(Cutter(5, "x")), FileWriteError);
    EXPECT_THROW(library.swap(0, 1), FileWriteError);
    EXPECT_EQ(library.size(), 3u);
    EXPECT_EQ(library.record(0).name, "T1");
    EXPECT_EQ(library.record(1).name, "T2");
    EXPECT_EQ(folder.FileCount(), 1u);
    // A folder where the file should be cannot be read as a library either.
    EXPECT_ANY_THROW(Loaded(file));
}

TEST(CurrentToolIndexTest, FollowsTheSameCutter) {
    // Current index, removed index, index after.
    const std::tuple<int, std::size_t, int> removals[] = {{3, 1, 2}, {3, 3, -1}, {3, 5, 3}, {0, 0, -1}, {-1, 0, -1}};
    for (const auto& [current, removed, after] : removals)
        EXPECT_EQ(CurrentToolIndexAfterRemove(current, removed), after) << current << " " << removed;
    // Current index, the two swapped, index after.
    const std::tuple<int, std::size_t, std::size_t, int> swaps[] = {
        {2, 2, 1, 1}, {1, 2, 1, 2}, {0, 2, 1, 0}, {-1, 0, 1, -1}};
    for (const auto& [current, first, second, after] : swaps)
        EXPECT_EQ(CurrentToolIndexAfterSwap(current, first, second), after) << current;
}

}  // namespace
}  // namespace calvoro

#include "engine/tools/ToolLibraryFile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <iterator>

#include <cstdlib>
#include <filesystem>

#include "kernel/platform/AtomicFile.h"

namespace fs = std::filesystem;

namespace calvoro {
namespace {

ToolRecord Cutter(int number, std::string name, ToolType type = ToolType::Flat, float diameter = 3.0f) {
    ToolRecord r;
    r.toolNumber = number;
    r.name = std::move(name);
    r.toolType = type;
    r.diameter = diameter;
    return r;
}

std::string Bytes(const ToolRecordBytes& record) {
    return std::string(record.begin(), record.end());
}

class ToolLibraryFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("calvoro_tooldb_" + std::to_string(::getpid()) + "_" +
                                               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        file_ = folder_ / "Tool.db";
    }
    void TearDown() override {
        fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(folder_);
    }
    // A library of three cutters written the way the file is specified, with
    // junk after each name so that byte-for-byte preservation is visible.
    std::string WriteThree() {
        std::string bytes;
        for (int i = 0; i < 3; ++i) {
            ToolRecordBytes record = EncodeToolRecord(Cutter(i + 1, "T" + std::to_string(i + 1)));
            record[60] = static_cast<std::uint8_t>(0xA0 + i);  // past the name: not significant, but kept
            bytes += Bytes(record);
        }
        WriteFileAtomically(file_, bytes);
        return bytes;
    }
    fs::path folder_;
    fs::path file_;
};

TEST_F(ToolLibraryFileTest, AMissingFileIsAnEmptyLibraryThatTheFirstAddCreates) {
    ToolLibraryFile library(file_);
    library.load();
    EXPECT_TRUE(library.empty());
    EXPECT_TRUE(library.damageReport().empty());
    EXPECT_FALSE(fs::exists(file_));
    EXPECT_EQ(library.add(Cutter(4, "Ball")), 0u);
    EXPECT_EQ(ReadWholeFile(file_), Bytes(EncodeToolRecord(Cutter(4, "Ball"))));
}

TEST_F(ToolLibraryFileTest, ReadsRecordsInFileOrder) {
    WriteThree();
    ToolLibraryFile library(file_);
    library.load();
    ASSERT_EQ(library.size(), 3u);
    EXPECT_EQ(library.record(2).name, "T3");
    EXPECT_EQ(library.storedBytes(1)[60], 0xA1);
    EXPECT_THROW(library.record(3), std::out_of_range);
}

TEST_F(ToolLibraryFileTest, EditsKeepEveryOtherRecordByteForByte) {
    const std::string original = WriteThree();
    auto slice = [&](int i) { return original.substr(i * 92, 92); };
    ToolLibraryFile library(file_);

    library.load();
    library.remove(2);  // the last row: the file shrinks by one record
    EXPECT_EQ(ReadWholeFile(file_), slice(0) + slice(1));

    WriteThree();
    library.load();
    library.remove(0);
    EXPECT_EQ(ReadWholeFile(file_), slice(1) + slice(2));

    WriteThree();
    library.load();
    library.swap(0, 2);
    EXPECT_EQ(ReadWholeFile(file_), slice(2) + slice(1) + slice(0));
    library.swap(1, 1);
    EXPECT_EQ(ReadWholeFile(file_), slice(2) + slice(1) + slice(0));

    WriteThree();
    library.load();
    library.modify(1, Cutter(9, "Nine", ToolType::Spherical, 6.0f));
    EXPECT_EQ(ReadWholeFile(file_),
              slice(0) + Bytes(EncodeToolRecord(Cutter(9, "Nine", ToolType::Spherical, 6.0f))) + slice(2));
    library.add(Cutter(10, "Ten"));
    EXPECT_EQ(ReadWholeFile(file_).size(), 4u * 92u);
    EXPECT_EQ(library.record(3).name, "Ten");
}

TEST_F(ToolLibraryFileTest, DeletingTheOnlyRecordLeavesAnEmptyFile) {
    WriteFileAtomically(file_, Bytes(EncodeToolRecord(Cutter(1, "Only"))));
    ToolLibraryFile library(file_);
    library.load();
    library.remove(0);
    EXPECT_TRUE(fs::exists(file_));
    EXPECT_EQ(fs::file_size(file_), 0u);
    EXPECT_THROW(library.remove(0), std::out_of_range);
}

TEST_F(ToolLibraryFileTest, APartialTrailingRecordIsReportedAndNeverReadAsATool) {
    const std::string whole = WriteThree();
    WriteFileAtomically(file_, whole + std::string(40, '\x07'));
    ToolLibraryFile library(file_);
    library.load();
    EXPECT_EQ(library.size(), 3u);
    EXPECT_NE(library.damageReport().find("40 of 92 bytes"), std::string::npos) << library.damageReport();

    // The next record lands at a whole-record offset, not after the fragment.
    library.add(Cutter(4, "T4"));
    EXPECT_EQ(ReadWholeFile(file_), whole + Bytes(EncodeToolRecord(Cutter(4, "T4"))));
    EXPECT_TRUE(library.damageReport().empty());
}

TEST_F(ToolLibraryFileTest, AFileShorterThanOneRecordIsAnEmptyDamagedLibrary) {
    WriteFileAtomically(file_, "abc");
    ToolLibraryFile library(file_);
    library.load();
    EXPECT_TRUE(library.empty());
    EXPECT_FALSE(library.damageReport().empty());
}

TEST_F(ToolLibraryFileTest, AFailedWriteLeavesTheLibraryAsItWas) {
    WriteThree();
    ToolLibraryFile library(file_);
    library.load();
    // Something that cannot be replaced now stands where the file was.
    fs::remove(file_);
    fs::create_directories(file_ / "blocker");
    EXPECT_THROW(library.remove(1), FileWriteError);
    EXPECT_THROW(library.add(Cutter(5, "x")), FileWriteError);
    EXPECT_THROW(library.swap(0, 1), FileWriteError);
    EXPECT_EQ(library.size(), 3u);
    EXPECT_EQ(library.record(0).name, "T1");
    EXPECT_EQ(library.record(1).name, "T2");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

TEST_F(ToolLibraryFileTest, AnUnreadableFileIsReported) {
    fs::create_directories(file_);  // a folder where the file should be
    ToolLibraryFile library(file_);
    EXPECT_ANY_THROW(library.load());
}

TEST(CurrentToolIndexTest, FollowsTheSameCutter) {
    struct Case {
        int current;
        std::size_t removed;
        int expected;
    } removals[] = {{3, 1, 2}, {3, 3, -1}, {3, 5, 3}, {0, 0, -1}, {-1, 0, -1}};
    for (const Case& c : removals)
        EXPECT_EQ(CurrentToolIndexAfterRemove(c.current, c.removed), c.expected) << c.current << " " << c.removed;

    struct SwapCase {
        int current;
        std::size_t first, second;
        int expected;
    } swaps[] = {{2, 2, 1, 1}, {1, 2, 1, 2}, {0, 2, 1, 0}, {-1, 0, 1, -1}};
    for (const SwapCase& c : swaps)
        EXPECT_EQ(CurrentToolIndexAfterSwap(c.current, c.first, c.second), c.expected) << c.current;
}

}  // namespace
}  // namespace calvoro

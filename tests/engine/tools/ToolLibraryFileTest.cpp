// Tool records and the tool library: every field at its offset, damaged
// fields made safe, edits that keep every other record byte for byte, a
// failed write that loses nothing, the current tool following its record,
// and the shipped library (see SourceTree.h for writing it anew).
//
// Opening the tool library: a missing file is created empty, a pipe of that
// name is refused at once naming the file (the kinds of names are tested with
// InputFile).
#include "engine/tools/ToolLibraryFile.h"
#include "engine/tools/ToolRecord.h"
#include "tests/support/SourceTree.h"
#include "tests/support/Streams.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <bit>
#include <cstring>
#include <filesystem>
#include <functional>
#include <stdexcept>

namespace fs = std::filesystem;
using namespace calvoro;

namespace calvoro {
namespace {

// A cutter laid out by hand, little-endian at the documented offsets:
// number, speed and type, the five sizes and the two feeds, coolant, name.
ToolRecordBytes HandBuiltRecord() {
    ToolRecordBytes bytes{};
    for (const auto& [at, value] : {std::pair<std::size_t, std::uint32_t>{0, 7}, {4, 18000}, {68, 2}})
        test::PutLe32(bytes, at, value);
    const std::pair<std::size_t, float> floats[] = {{8, 1500.5f}, {12, 300.0f}, {72, 6.0f}, {76, 3.0f},
                                                    {80, 0.0f},   {84, 0.25f},  {88, -1.5f}};
    for (const auto& [at, value] : floats) test::PutLe32(bytes, at, std::bit_cast<std::uint32_t>(value));
    std::memcpy(&bytes[16], "\1\4Ball", 6);
    return bytes;
}

ToolRecord BallRecord() {
    return {7, 18000, 1500.5f, 300.0f, true, "Ball", ToolType::Spherical, 6.0f, 3.0f, 0.0f, 0.25f, -1.5f};
}

TEST(ToolRecordTest, EveryFieldAtItsOffsetLittleEndian) {
    EXPECT_EQ(EncodeToolRecord(BallRecord()), HandBuiltRecord());
    EXPECT_EQ(DecodeToolRecord(HandBuiltRecord()), BallRecord());
    // Negative numbers and name bytes of the Windows-1252 code page (not
    // UTF-8) come back as they were.
    ToolRecord r = BallRecord();
    r.toolNumber = -3;
    r.spindleSpeed = -1;
    r.name = "Fr\xe4ser \xd8 6";
    const ToolRecordBytes bytes = EncodeToolRecord(r);
    EXPECT_EQ(bytes[0], 0xFD);
    EXPECT_EQ(bytes[3], 0xFF);
    EXPECT_EQ(DecodeToolRecord(bytes), r);
}

TEST(ToolRecordTest, DamagedFieldsAreMadeSafeAndOtherSizesRefused) {
    ToolRecordBytes bytes = HandBuiltRecord();
    bytes[17] = 200;  // name length beyond the field
    EXPECT_EQ(DecodeToolRecord(bytes).name.size(), 50u);
    // Low and high byte of the type index, and the type read.
    const std::tuple<std::uint8_t, std::uint8_t, ToolType> types[] = {{0, 0, ToolType::Flat},
                                                                      {5, 0, ToolType::ConicalSpherical},
                                                                      {6, 0, ToolType::Undefined},
                                                                      {7, 0, ToolType::Undefined},
                                                                      {0xFF, 0xFF, ToolType::Undefined}};
    for (const auto& [low, high, type] : types) {
        bytes[68] = low;
        bytes[71] = high;
        EXPECT_EQ(DecodeToolRecord(bytes).toolType, type) << int{low} << "/" << int{high};
    }
    EXPECT_THROW(DecodeToolRecord(std::span(bytes.data(), 91)), std::invalid_argument);
    const std::vector<std::uint8_t> longer(93);
    EXPECT_THROW(DecodeToolRecord(longer), std::invalid_argument);
}

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

std::vector<ToolRecord> ShippedCutters() {
    // Number, name, type, diameter, corner radius, taper angle, tip diameter;
    // every cutter at 18000 rpm, feed 1200, plunge 300, pass depth d / 2.
    const std::tuple<int, const char*, ToolType, float, float, float, float> cutters[] = {
        {1, "Flat 3 mm", ToolType::Flat, 3.0f, 0, 0, 0},
        {2, "Flat 6 mm", ToolType::Flat, 6.0f, 0, 0, 0},
        {3, "Ball 1 mm", ToolType::Spherical, 1.0f, 0.5f, 0, 0},
        {4, "Ball 3 mm", ToolType::Spherical, 3.0f, 1.5f, 0, 0},
        {5, "Ball 6 mm", ToolType::Spherical, 6.0f, 3.0f, 0, 0},
        {6, "Bull-nose 6 mm R1", ToolType::BullNose, 6.0f, 1.0f, 0, 0},
        {7, "V-bit 60 deg, 0.2 mm tip", ToolType::ConicalFlat, 6.0f, 0, 30.0f, 0.2f},
        {8, "Tapered ball 0.5 mm, 10 deg", ToolType::ConicalSpherical, 3.175f, 0, 10.0f, 0.5f}};
    std::vector<ToolRecord> records;
    for (const auto& [number, name, type, diameter, corner, angle, tip] : cutters)
        records.push_back(
            {number, 18000, 1200.0f, 300.0f, false, name, type, diameter, corner, angle, tip, diameter / 2});
    return records;
}

TEST(ShippedToolLibraryTest, DataFileHoldsTheShippedCutters) {
    const std::filesystem::path file = test::ShippedData() / "Tool.db";
    std::string expected;
    for (const ToolRecord& r : ShippedCutters()) {
        const ToolRecordBytes bytes = EncodeToolRecord(r);
        expected.append(bytes.begin(), bytes.end());
    }
    test::ExpectSameAsFile(expected, file);
    ToolLibraryFile library(file);
    library.load();
    ASSERT_EQ(library.size(), ShippedCutters().size());
    EXPECT_TRUE(library.damageReport().empty());
    for (std::size_t i = 0; i < library.size(); ++i) EXPECT_EQ(library.record(i), ShippedCutters()[i]);
}

}  // namespace
}  // namespace calvoro

TEST(ToolLibraryOpen, AMissingLibraryIsCreatedEmptyAtLoad) {
    test::TempFolder folder;
    ToolLibraryFile library(folder / "Tool.db");
    library.load();
    EXPECT_TRUE(library.empty());
    EXPECT_TRUE(library.damageReport().empty());
    ASSERT_TRUE(fs::is_regular_file(library.path()));
    EXPECT_EQ(fs::file_size(library.path()), 0u);
}

TEST(ToolLibraryOpen, ALibraryThatCannotBeCreatedIsEmptyAndSaysWhy) {
    test::TempFolder folder;
    ToolLibraryFile library(folder / "no such folder" / "Tool.db");
    library.load();
    EXPECT_TRUE(library.empty());
    EXPECT_NE(library.damageReport().find("cannot be created"), std::string::npos) << library.damageReport();
}

TEST(ToolLibraryOpen, APipeIsRefusedNamingTheFile) {
    test::TempFolder folder;
    ASSERT_EQ(::mkfifo((folder / "Tool.db").c_str(), 0600), 0);
    ToolLibraryFile library(folder / "Tool.db");
    try {
        library.load();
        ADD_FAILURE() << "the pipe was read";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "The tool library \"" + library.path().string() + "\" cannot be read: it is a pipe, not a file.");
    }
}

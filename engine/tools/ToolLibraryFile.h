// The tool library file "Tool.db": a headerless sequence of 92-byte tool
// records, record i at byte i * 92, in the order of the list the user sees.
//
// The library is held in memory as the records' stored bytes (so a delete or a
// move keeps every other record byte for byte) and every change rewrites the
// whole file through a temporary file: a failed write leaves both the file and
// this object as they were.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/tools/ToolRecord.h"

namespace calvoro {

class ToolLibraryFile {
public:
    explicit ToolLibraryFile(std::filesystem::path path);

    // Reads the file. A missing file is created empty (when it cannot be,
    // the library is empty and damageReport() says why). A trailing partial
    // record is never read as a tool: it is reported by damageReport() and
    // dropped at the next change. Throws std::runtime_error naming the file
    // when it exists but cannot be read: a folder, a pipe, a device, no
    // permission.
    void load();

    const std::filesystem::path& path() const { return path_; }
    std::size_t size() const { return records_.size(); }
    bool empty() const { return records_.empty(); }
    ToolRecord record(std::size_t index) const;
    const ToolRecordBytes& storedBytes(std::size_t index) const;

    // Empty when the last load found the file whole; otherwise a message for
    // the user saying what was wrong and what will happen to it.
    const std::string& damageReport() const { return damageReport_; }

    // Each of these writes the file before it returns; indices out of range
    // throw std::out_of_range.
    void modify(std::size_t index, const ToolRecord& record);
    std::size_t add(const ToolRecord& record);  // returns the new record's index
    void remove(std::size_t index);
    void swap(std::size_t first, std::size_t second);

private:
    void checkIndex(std::size_t index, const char* operation) const;
    void save(const std::vector<ToolRecordBytes>& records);

    std::filesystem::path path_;
    std::vector<ToolRecordBytes> records_;
    std::string damageReport_;
};

// The current cutter is remembered by its index in the library (and kept in
// the settings between runs). These keep that index on the same cutter when
// records move; an index of -1 means "not in the library".
int CurrentToolIndexAfterRemove(int currentIndex, std::size_t removedIndex);
int CurrentToolIndexAfterSwap(int currentIndex, std::size_t first, std::size_t second);

}  // namespace calvoro

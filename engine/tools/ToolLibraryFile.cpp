#include "engine/tools/ToolLibraryFile.h"

#include <algorithm>
#include <stdexcept>
#include <system_error>

#include "kernel/platform/AtomicFile.h"
#include "kernel/platform/InputFile.h"

namespace calvoro {

ToolLibraryFile::ToolLibraryFile(std::filesystem::path path) : path_(std::move(path)) {}

void ToolLibraryFile::load() {
    std::error_code error;
    const bool exists = std::filesystem::exists(path_, error) || std::filesystem::is_symlink(path_, error);
    std::vector<ToolRecordBytes> records;
    std::string report;
    if (!exists) {
        // The library the program starts with: an empty file, so the tool
        // dialog and every later change find it.
        try {
            WriteFileAtomically(path_, {});
        } catch (const FileWriteError& failure) {
            report = "The tool library \"" + path_.string() +
                     "\" does not exist and cannot be created; tools cannot be stored. " + failure.what();
        }
    } else {
        std::string bytes;
        try {
            bytes = ReadWholeFile(path_);
        } catch (const InputFileError& failure) {
            throw std::runtime_error("The tool library \"" + path_.string() + "\" cannot be read: " + failure.reason() +
                                     ".");
        }
        const std::size_t whole = bytes.size() / ToolRecord::kSize;
        records.resize(whole);
        for (std::size_t i = 0; i < whole; ++i)
            std::copy_n(bytes.data() + i * ToolRecord::kSize, ToolRecord::kSize,
                        reinterpret_cast<char*>(records[i].data()));
        if (const std::size_t tail = bytes.size() % ToolRecord::kSize; tail != 0)
            report = "The tool library \"" + path_.string() + "\" ends with a damaged record (" + std::to_string(tail) +
                     " of " + std::to_string(ToolRecord::kSize) +
                     " bytes). It was left out and will be removed when the library is next changed.";
    }
    records_ = std::move(records);
    damageReport_ = std::move(report);
}

ToolRecord ToolLibraryFile::record(std::size_t index) const {
    checkIndex(index, "read");
    return DecodeToolRecord(records_[index]);
}

const ToolRecordBytes& ToolLibraryFile::storedBytes(std::size_t index) const {
    checkIndex(index, "read");
    return records_[index];
}

void ToolLibraryFile::modify(std::size_t index, const ToolRecord& record) {
    checkIndex(index, "change");
    std::vector<ToolRecordBytes> changed = records_;
    changed[index] = EncodeToolRecord(record);
    save(changed);
}

std::size_t ToolLibraryFile::add(const ToolRecord& record) {
    std::vector<ToolRecordBytes> changed = records_;
    changed.push_back(EncodeToolRecord(record));
    save(changed);
    return records_.size() - 1;
}

void ToolLibraryFile::remove(std::size_t index) {
    checkIndex(index, "delete");
    std::vector<ToolRecordBytes> changed = records_;
    changed.erase(changed.begin() + static_cast<std::ptrdiff_t>(index));
    save(changed);
}

void ToolLibraryFile::swap(std::size_t first, std::size_t second) {
    checkIndex(first, "move");
    checkIndex(second, "move");
    if (first == second) return;
    std::vector<ToolRecordBytes> changed = records_;
    std::swap(changed[first], changed[second]);
    save(changed);
}

void ToolLibraryFile::checkIndex(std::size_t index, const char* operation) const {
    if (index >= records_.size())
        throw std::out_of_range("Cannot " + std::string(operation) + " tool " + std::to_string(index + 1) +
                                ": the tool library holds " + std::to_string(records_.size()) + " tools");
}

void ToolLibraryFile::save(const std::vector<ToolRecordBytes>& records) {
    AtomicFileWriter writer(path_);
    for (const ToolRecordBytes& bytes : records) writer.write(bytes.data(), bytes.size());
    writer.commit();
    records_ = records;
    damageReport_.clear();
}

int CurrentToolIndexAfterRemove(int currentIndex, std::size_t removedIndex) {
    if (currentIndex < 0) return currentIndex;
    const auto current = static_cast<std::size_t>(currentIndex);
    if (current == removedIndex) return -1;
    return current > removedIndex ? currentIndex - 1 : currentIndex;
}

int CurrentToolIndexAfterSwap(int currentIndex, std::size_t first, std::size_t second) {
    if (currentIndex < 0) return currentIndex;
    const auto current = static_cast<std::size_t>(currentIndex);
    if (current == first) return static_cast<int>(second);
    if (current == second) return static_cast<int>(first);
    return currentIndex;
}

}  // namespace calvoro

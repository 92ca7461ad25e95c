// Writing a file so that it is never left half written: the bytes go to a
// temporary file in the same folder, which replaces the target only once every
// write has succeeded. A failure leaves the old file as it was.
#pragma once

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace calvoro {

// Raised when a file cannot be written; the message names the file.
class FileWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class AtomicFileWriter {
public:
    explicit AtomicFileWriter(std::filesystem::path target);
    ~AtomicFileWriter();  // removes the temporary file unless commit() ran
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    void write(const void* data, std::size_t size);
    void write(std::string_view bytes) { write(bytes.data(), bytes.size()); }

    // Flushes, closes and renames the temporary file over the target.
    void commit();

    const std::filesystem::path& target() const { return target_; }
    const std::filesystem::path& temporaryPath() const { return temporary_; }

private:
    std::filesystem::path target_;
    std::filesystem::path temporary_;
    std::ofstream out_;
    bool committed_ = false;
};

// The whole file in one call.
void WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes);

// Reads a whole file; throws InputFileError (kernel/platform/InputFile.h), a
// std::runtime_error naming the file, when it cannot: also for a folder, a
// pipe or a device.
std::string ReadWholeFile(const std::filesystem::path& path);

}  // namespace calvoro

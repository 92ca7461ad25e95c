// Opening a file the program is about to read. A name the user picked may
// denote a folder, a pipe or a device as well as a file: those are refused at
// once, before anything is read, so that a pipe without a writer cannot block
// the program and a device such as /dev/zero cannot fill its memory. The
// readers then take only the byte ranges they need.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace calvoro {

// Why a file cannot be read. reason() is a short clause for the readers to
// put into their own messages ("it is a folder"); what() is a whole sentence
// naming the file.
class InputFileError : public std::runtime_error {
public:
    InputFileError(const std::filesystem::path& path, std::string reason);
    const std::string& reason() const { return reason_; }

private:
    std::string reason_;
};

class InputFile {
public:
    // Throws InputFileError when the name is no regular file that can be
    // opened for reading: missing, a folder, a pipe, a socket, a device,
    // forbidden.
    explicit InputFile(std::filesystem::path path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The length of the file when it was opened.
    std::uint64_t size() const { return size_; }

    // Up to count bytes from offset; fewer only where the file ends. Throws
    // InputFileError on a read error.
    std::string read(std::uint64_t offset, std::size_t count) const;
    // The whole file, in one buffer of its size.
    std::string readAll() const;

private:
    std::filesystem::path path_;
    int descriptor_ = -1;
    std::uint64_t size_ = 0;
};

}  // namespace calvoro

#include "kernel/platform/InputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace calvoro {

namespace {

std::string ErrorReason(int error) {
    if (error == ENOENT) return "there is no such file";
    if (error == EACCES || error == EPERM) return "permission to read it is denied";
    if (error == EISDIR) return "it is a folder";
    return std::strerror(error);
}

std::string KindReason(mode_t mode) {
    if (S_ISDIR(mode)) return "it is a folder";
    if (S_ISFIFO(mode)) return "it is a pipe, not a file";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "it is a device, not a file";
    if (S_ISSOCK(mode)) return "it is a socket, not a file";
    return "it is not a regular file";
}

}  // namespace

InputFileError::InputFileError(const std::filesystem::path& path, std::string reason)
    : std::runtime_error("Cannot read \"" + path.string() + "\": " + reason + "."), reason_(std::move(reason)) {}

InputFile::InputFile(std::filesystem::path path) : path_(std::move(path)) {
    // Looked at before it is opened: opening a pipe would wait for a writer,
    // and opening some devices has effects of its own.
    struct stat status {};
    if (::stat(path_.c_str(), &status) != 0) throw InputFileError(path_, ErrorReason(errno));
    if (!S_ISREG(status.st_mode)) throw InputFileError(path_, KindReason(status.st_mode));
    // Not blocking, and checked again, in case the name was swapped meanwhile.
    descriptor_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (descriptor_ < 0) throw InputFileError(path_, ErrorReason(errno));
    if (::fstat(descriptor_, &status) != 0 || !S_ISREG(status.st_mode)) {
        const std::string reason = KindReason(status.st_mode);
        ::close(descriptor_);
        throw InputFileError(path_, reason);
    }
    size_ = static_cast<std::uint64_t>(status.st_size);
}

InputFile::~InputFile() {
    if (descriptor_ >= 0) ::close(descriptor_);
}

std::string InputFile::read(std::uint64_t offset, std::size_t count) const {
    if (offset >= size_) return {};
    // The file may have grown since it was opened; only what it held then is
    // asked for, so a buffer is never larger than the file was.
    if (count > size_ - offset) count = static_cast<std::size_t>(size_ - offset);
    std::string bytes(count, '\0');
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = ::pread(descriptor_, bytes.data() + done, count - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw InputFileError(path_, "reading it failed: " + std::string(std::strerror(errno)));
        if (got == 0) break;  // the file was cut shorter meanwhile
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return bytes;
}

std::string InputFile::readAll() const {
    return read(0, static_cast<std::size_t>(size_));
}

}  // namespace calvoro

#include "kernel/platform/AtomicFile.h"

#include "kernel/platform/InputFile.h"

#include <unistd.h>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <system_error>

namespace calvoro {

namespace {

std::filesystem::path MakeTemporaryName(const std::filesystem::path& target) {
    static std::atomic<unsigned> counter{0};
    std::filesystem::path name = target;
    name += ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(counter++);
    return name;
}

std::string Describe(const std::filesystem::path& path, const char* what) {
    std::string text = std::string(what) + " \"" + path.string() + "\"";
    if (errno != 0) text += ": " + std::string(std::strerror(errno));
    return text;
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::filesystem::path target)
    : target_(std::move(target)), temporary_(MakeTemporaryName(target_)) {
    errno = 0;
    out_.open(temporary_, std::ios::binary | std::ios::trunc);
    if (!out_) throw FileWriteError(Describe(target_, "Cannot create file"));
}

AtomicFileWriter::~AtomicFileWriter() {
    if (!committed_) {
        out_.close();
        std::error_code ignored;
        std::filesystem::remove(temporary_, ignored);
    }
}

void AtomicFileWriter::write(const void* data, std::size_t size) {
    if (committed_) throw FileWriteError("File already written: \"" + target_.string() + "\"");
    errno = 0;
    out_.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out_) throw FileWriteError(Describe(target_, "Cannot write file"));
}

void AtomicFileWriter::commit() {
    if (committed_) return;
    errno = 0;
    out_.flush();
    out_.close();
    if (out_.fail()) throw FileWriteError(Describe(target_, "Cannot write file"));
    std::error_code error;
    std::filesystem::rename(temporary_, target_, error);
    if (error) throw FileWriteError("Cannot replace file \"" + target_.string() + "\": " + error.message());
    committed_ = true;
}

void WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes) {
    AtomicFileWriter writer(target);
    writer.write(bytes);
    writer.commit();
}

std::string ReadWholeFile(const std::filesystem::path& path) {
    return InputFile(path).readAll();
}

}  // namespace calvoro

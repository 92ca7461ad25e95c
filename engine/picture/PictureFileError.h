// Refusals of picture files name the file they are about, so the message box
// the user sees says which file is damaged.
#pragma once

#include <filesystem>
#include <string>
#include <utility>

#include "engine/picture/Picture.h"
#include "kernel/platform/InputFile.h"

namespace calvoro {

// Runs read() and gives a PictureError it throws the file name in front; a
// file that cannot be opened or read becomes a PictureError naming it too.
template <class Read>
auto WithFileName(const std::filesystem::path& fileName, Read&& read) -> decltype(read()) {
    try {
        return std::forward<Read>(read)();
    } catch (const PictureError& error) {
        throw PictureError(fileName.string(), error);
    } catch (const InputFileError& error) {
        throw PictureError(fileName.string(), PictureError("The picture cannot be read: " + error.reason() + ".",
                                                           PictureErrorKind::Unreadable));
    }
}

// The first `most` bytes of a file (fewer when it is shorter). Throws
// InputFileError naming the file when it cannot be read.
std::string ReadFileStart(const std::filesystem::path& fileName, std::size_t most);

}  // namespace calvoro

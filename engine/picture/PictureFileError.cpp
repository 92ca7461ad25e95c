// Reading the start of a picture file.
#include "engine/picture/PictureFileError.h"

#include <fstream>
#include <stdexcept>

namespace calvoro {

std::string ReadFileStart(const std::filesystem::path& fileName, std::size_t most) {
    std::ifstream in(fileName, std::ios::binary);
    if (!in) throw std::runtime_error("Cannot open file \"" + fileName.string() + "\"");
    std::string bytes(most, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(most));
    if (in.bad()) throw std::runtime_error("Cannot read file \"" + fileName.string() + "\"");
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

}  // namespace calvoro

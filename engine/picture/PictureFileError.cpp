// Reading the start of a picture file.
#include "engine/picture/PictureFileError.h"

namespace calvoro {

std::string ReadFileStart(const std::filesystem::path& fileName, std::size_t most) {
    return InputFile(fileName).read(0, most);
}

}  // namespace calvoro

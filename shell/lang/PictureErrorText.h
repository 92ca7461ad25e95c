// A refused picture in the user's language. The engine says why in English;
// the program shows the language file's sentence for that kind of refusal,
// naming the file, with the engine's reason below it as the detail.
#pragma once

#include <filesystem>
#include <string>

#include "engine/picture/Picture.h"

namespace calvoro {

// The message for a picture file that could not be opened; the engine's own
// message when no language file is loaded.
std::string PictureErrorText(const PictureError& error, const std::filesystem::path& fileName);

}  // namespace calvoro

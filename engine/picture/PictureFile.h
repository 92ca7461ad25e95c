// Which reader opens a file, judged by its extension, and the words that
// describe a picture's bit depth.
#pragma once

#include <filesystem>
#include <string>

#include "engine/picture/Picture.h"

namespace calvoro {

enum class PictureLoader { Unknown, Bmp, Jpeg, Document };

// By the extension of the file name (the part after its last "."), in any
// letter case: ".bmp" the BMP reader, ".jpg" and ".jpeg" the JPEG reader,
// ".pxm" the own document; anything else Unknown. A "." in a folder name
// does not count.
PictureLoader ChoosePictureLoader(const std::filesystem::path& fileName);

// "1 bit", "4 bit", "8 bit", "16 bit", "24 bit" or "32 bit"; empty for any
// other count.
std::string BitDepthText(int bitCount);

// Reads a BMP or JPEG file, chosen by its extension, into a new picture; a
// document gives its picture part. Throws PictureError for an unknown
// extension or a file that cannot be read, so the caller can keep the
// picture it has until the new one is complete.
Picture LoadPictureFile(const std::filesystem::path& fileName);

}  // namespace calvoro

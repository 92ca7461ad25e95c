// Reading JPEG files into the picture record through libjpeg: colour, grey,
// CMYK (inverted when the Adobe marker says so) and progressive files all
// become Bgr24. A damaged or cut file is refused with a PictureError.
#pragma once

#include <filesystem>
#include <string_view>

#include "engine/picture/Picture.h"

namespace calvoro {

// The resolution a JFIF header declares, in dots per inch: units 1 (dots per
// inch) as they stand, units 2 (dots per centimetre) times 2.54 rounded
// halves to even, units 0 (an aspect ratio only) and files without a JFIF
// header within their first 50 bytes (an Exif file, for one) give 0, meaning
// none.
struct JpegDensity {
    int dpiX = 0;
    int dpiY = 0;
};

JpegDensity ReadJpegDensity(const std::filesystem::path& fileName);
JpegDensity JpegDensityFromBytes(std::string_view bytes);

// Decodes a whole JPEG file held in memory; dpiX/dpiY from its JFIF header.
Picture DecodeJpeg(std::string_view bytes);
// Reads and decodes a JPEG file; the message of a refusal names the file.
Picture LoadJpegFile(const std::filesystem::path& fileName);

}  // namespace calvoro

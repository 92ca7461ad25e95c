// Reading JPEG files into the picture record through libjpeg: colour, grey,
// CMYK (inverted when the Adobe marker says so) and progressive files all
// become Bgr24. A damaged or cut file is refused with a PictureError, also
// one whose data libjpeg could only decode by guessing.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "engine/picture/Picture.h"

namespace calvoro {

class InputFile;

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
// The size the frame header declares, found by walking the segments in front
// of it; empty when the file does not have the shape of a JPEG file up to its
// frame header (the decoder then says what is wrong).
struct JpegFrameSize {
    int width = 0;
    int height = 0;
};
std::optional<JpegFrameSize> ReadJpegFrameSize(const InputFile& file);

// Reads and decodes a JPEG file; the message of a refusal names the file.
Picture LoadJpegFile(const std::filesystem::path& fileName);

}  // namespace calvoro

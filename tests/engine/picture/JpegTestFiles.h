// Builds JPEG files in memory with libjpeg's compressor for the tests.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace calvoro::test {

enum class JpegKind { Grey, Colour, Cmyk };

struct JpegSpec {
    int width = 16;
    int height = 16;
    JpegKind kind = JpegKind::Colour;
    bool progressive = false;
    bool jfif = true;
    int densityUnit = 1;
    int densityX = 72;
    int densityY = 72;
    bool adobeMarker = true;  // CMYK only; libjpeg then stores the channels as given
    std::string app1;         // an APP1 segment (an Exif block) written first when not empty
    int quality = 100;
    // Red, green, blue (grey: red only; CMYK: cyan, magenta, yellow and black
    // as the file stores them) of the pixel at column x, row r (r = 0 top).
    std::function<std::array<std::uint8_t, 4>(int, int)> pixel;
};

std::string BuildJpeg(const JpegSpec& spec);

}  // namespace calvoro::test

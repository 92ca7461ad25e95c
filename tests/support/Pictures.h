// Pictures for the tests: BMP files built byte by byte and JPEG files made
// with libjpeg's compressor, so that every header size, bit depth, colour kind
// and kind of damage is made in memory; and the bytes of a decoded pixel.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "engine/picture/Picture.h"
#include "tests/support/Refusals.h"

namespace calvoro::test {

using Bytes = std::vector<std::uint8_t>;

struct Rgb {
    std::uint8_t red = 0, green = 0, blue = 0;
};

// The header fields and pixel bytes of a BMP file to build. The members without
// a default value have an empty initialiser, so that a test can name only the
// fields it sets without a missing-initialiser warning.
struct BmpFields {
    int headerSize = 40;
    std::int64_t width = 4;
    std::int64_t height = 3;
    bool topDown = false;  // written as a negative height
    int bitCount = 24;
    std::uint32_t compression = 0;
    int planes = 1;
    std::vector<Rgb> palette{};  // 3-byte entries for the 12-byte header, else 4
    std::uint32_t coloursUsed = 0;
    std::vector<std::uint32_t> masks{};  // in the header from 52 bytes on, after it for 40
    std::int32_t pixelsPerMetreX = 0;
    std::int32_t pixelsPerMetreY = 0;
    std::string pixels{};                        // the pixel bytes as they lie in the file
    std::optional<std::uint32_t> pixelOffset{};  // default: right after the palette
    std::optional<std::uint32_t> fileSize{};     // default: the real length
};

std::string BuildBmp(const BmpFields& bmp);

// A file of plain rows of width x height pixels of `bits` bits each, pixel
// (x, r) having the value value(x, r).
BmpFields PlainBmp(int bits, int width, int height, const std::function<std::uint32_t(int, int)>& value,
                   bool topDown = false);

// Palettes whose entries all differ, and grey ones.
std::vector<Rgb> ColourPalette(int count);
std::vector<Rgb> GreyPalette(int count, bool inverted = false);

enum class JpegKind { Grey, Colour, Cmyk };

struct JpegOptions {
    int width = 16;
    int height = 16;
    JpegKind kind = JpegKind::Colour;
    bool progressive = false;
    bool jfif = true;
    int densityUnit = 1;
    int densityX = 72;
    int densityY = 72;
    bool adobeMarker = true;  // CMYK only; libjpeg then stores the channels as given
    std::string app1{};       // an APP1 segment (an Exif block) written first when not empty
    int restartInRows = 0;    // a restart marker after every so many rows of blocks
    int quality = 100;        // libjpeg's quality, 1 to 100
    // Red, green, blue (grey: red only; CMYK: the four channels as the file
    // stores them) of the pixel at column x, row r (r = 0 top).
    std::function<std::array<std::uint8_t, 4>(int, int)> pixel;
};

std::string BuildJpeg(const JpegOptions& jpeg);

// A picture of random bytes from a fixed seed, so that every run sees the
// same pixels.
inline Picture RandomPicture(int width, int height, PixelFormat format, unsigned seed = 1) {
    Picture picture;
    picture.allocate(width, height, format);
    std::mt19937 random(seed);
    for (auto& byte : picture.pixels) byte = static_cast<std::uint8_t>(random());
    return picture;
}

// The bytes of the pixel at column x, row r.
Bytes PixelAt(const Picture& picture, int x, int r);

}  // namespace calvoro::test

// Builds BMP files byte by byte for the tests, so every header size, bit
// depth and kind of damage can be made in memory.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace calvoro::test {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

struct BmpSpec {
    int headerSize = 40;
    std::int64_t width = 4;
    std::int64_t height = 3;
    bool topDown = false;  // written as a negative height
    int bitCount = 24;
    std::uint32_t compression = 0;
    int planes = 1;
    std::vector<Rgb> palette;  // written with 3-byte entries for the 12-byte header, else 4
    std::uint32_t coloursUsed = 0;
    std::vector<std::uint32_t> masks;  // in the header from 52 bytes on, after it for 40
    std::int32_t pixelsPerMetreX = 0;
    std::int32_t pixelsPerMetreY = 0;
    std::string pixels;                        // the pixel bytes as they lie in the file
    std::optional<std::uint32_t> pixelOffset;  // default: right after the palette
    std::optional<std::uint32_t> fileSize;     // default: the real length
};

std::string BuildBmp(const BmpSpec& spec);

// Plain rows of a picture whose pixel at column x, row r (r = 0 the top row)
// has the value value(x, r): bitCount bits a pixel, most significant first
// below 8 bits, little-endian above; rows padded to 4 bytes, bottom row
// first unless topDown.
std::string PackRows(int width, int height, int bitCount, bool topDown,
                     const std::function<std::uint32_t(int, int)>& value);

// Bytes a valid plain-row file of these dimensions cannot do without: the
// padding of the last row stored may be missing.
std::size_t NeededPixelBytes(int width, int height, int bitCount);

}  // namespace calvoro::test

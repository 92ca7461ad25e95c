// Small BMP files for the tests, built byte by byte, and a decoder of the one
// layout they use (24 bits, bottom-up rows) standing in for the engine's.
#pragma once

#include "kernel/draw/RasterImage.h"
#include "kernel/model/BinaryReader.h"
#include "kernel/model/BinaryWriter.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace calvoro::test {

inline int Bmp24Stride(int width) {
    return (width * 3 + 3) / 4 * 4;
}

// A 24-bit picture filled with one 0x00BBGGRR colour, but for its top-left
// pixel, which is white, so that orientation can be checked.
inline std::string MakeBmp24(int width, int height, std::uint32_t colour) {
    const int stride = Bmp24Stride(width);
    const std::uint32_t pixelBytes = static_cast<std::uint32_t>(stride * height);
    BinaryWriter w;
    w.writeBytes("BM");
    w.writeUInt32(54 + pixelBytes);
    w.writeUInt32(0);
    w.writeUInt32(54);
    w.writeUInt32(40);
    w.writeInt32(width);
    w.writeInt32(height);
    w.writeUInt16(1);
    w.writeUInt16(24);
    w.writeUInt32(0);
    w.writeUInt32(pixelBytes);
    w.writeInt32(2835);
    w.writeInt32(2835);
    w.writeUInt32(0);
    w.writeUInt32(0);
    for (int row = height - 1; row >= 0; --row) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = (row == 0 && x == 0) ? 0xFFFFFF : colour;
            w.writeUInt8(static_cast<std::uint8_t>(c >> 16));  // blue
            w.writeUInt8(static_cast<std::uint8_t>(c >> 8));   // green
            w.writeUInt8(static_cast<std::uint8_t>(c));        // red
        }
        for (int pad = width * 3; pad < stride; ++pad) w.writeUInt8(0);
    }
    return w.takeBytes();
}

// Headers only, with the 12-byte info header of the oldest bitmaps.
inline std::string MakeCoreHeaderBmp(int width, int height) {
    BinaryWriter w;
    w.writeBytes("BM");
    w.writeUInt32(26);
    w.writeUInt32(0);
    w.writeUInt32(26);
    w.writeUInt32(12);
    w.writeUInt16(static_cast<std::uint16_t>(width));
    w.writeUInt16(static_cast<std::uint16_t>(height));
    w.writeUInt16(1);
    w.writeUInt16(24);
    return w.takeBytes();
}

inline RasterImage DecodeTestBmp24(std::string_view file) {
    BinaryReader r(file.data(), file.size());
    r.skip(18);
    const int width = r.readInt32();
    const int height = r.readInt32();
    RasterImage image(width, height);
    const int stride = Bmp24Stride(width);
    for (int row = 0; row < height; ++row) {
        BinaryReader line(file.data() + 54 + static_cast<std::size_t>((height - 1 - row) * stride),
                          static_cast<std::size_t>(width * 3));
        for (int x = 0; x < width; ++x) {
            const std::uint32_t blue = line.readUInt8(), green = line.readUInt8(), red = line.readUInt8();
            image.At(x, row) = 0xFF000000u | (red << 16) | (green << 8) | blue;
        }
    }
    return image;
}

}  // namespace calvoro::test

// BMP files made by the tests.
#include "tests/engine/picture/BmpTestFiles.h"

namespace calvoro::test {

namespace {

void Put16(std::string& out, std::uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

void Set32(std::string& out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

std::string BuildBmp(const BmpSpec& spec) {
    std::string out = "BM";
    Put32(out, 0);  // file size, set below
    Put32(out, 0);
    Put32(out, 0);  // pixel offset, set below
    Put32(out, static_cast<std::uint32_t>(spec.headerSize));
    if (spec.headerSize == 12) {
        Put16(out, static_cast<std::uint32_t>(spec.width));
        Put16(out, static_cast<std::uint32_t>(spec.height));
        Put16(out, static_cast<std::uint32_t>(spec.planes));
        Put16(out, static_cast<std::uint32_t>(spec.bitCount));
    } else {
        Put32(out, static_cast<std::uint32_t>(spec.width));
        Put32(out, static_cast<std::uint32_t>(spec.topDown ? -spec.height : spec.height));
        Put16(out, static_cast<std::uint32_t>(spec.planes));
        Put16(out, static_cast<std::uint32_t>(spec.bitCount));
        Put32(out, spec.compression);
        Put32(out, static_cast<std::uint32_t>(spec.pixels.size()));
        Put32(out, static_cast<std::uint32_t>(spec.pixelsPerMetreX));
        Put32(out, static_cast<std::uint32_t>(spec.pixelsPerMetreY));
        Put32(out, spec.coloursUsed);
        Put32(out, 0);
        std::size_t mask = 0;
        while (out.size() < 14u + spec.headerSize) Put32(out, mask < spec.masks.size() ? spec.masks[mask++] : 0);
        if (spec.headerSize == 40)
            for (std::uint32_t m : spec.masks) Put32(out, m);
    }
    for (const Rgb& entry : spec.palette) {
        out += static_cast<char>(entry.blue);
        out += static_cast<char>(entry.green);
        out += static_cast<char>(entry.red);
        if (spec.headerSize != 12) out += '\0';
    }
    Set32(out, 10, spec.pixelOffset.value_or(static_cast<std::uint32_t>(out.size())));
    out += spec.pixels;
    Set32(out, 2, spec.fileSize.value_or(static_cast<std::uint32_t>(out.size())));
    return out;
}

std::string PackRows(int width, int height, int bitCount, bool topDown,
                     const std::function<std::uint32_t(int, int)>& value) {
    const std::size_t stride = (static_cast<std::size_t>(width) * bitCount + 31) / 32 * 4;
    std::string out(stride * height, '\0');
    for (int i = 0; i < height; ++i) {
        const int r = topDown ? i : height - 1 - i;
        auto* row = reinterpret_cast<std::uint8_t*>(out.data() + stride * i);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t v = value(x, r);
            if (bitCount < 8) {
                const int perByte = 8 / bitCount;
                row[x / perByte] |= static_cast<std::uint8_t>(v << (8 - bitCount * (x % perByte + 1)));
            } else {
                for (int b = 0; b < bitCount / 8; ++b)
                    row[x * (bitCount / 8) + b] = static_cast<std::uint8_t>((v >> (8 * b)) & 0xFF);
            }
        }
    }
    return out;
}

std::size_t NeededPixelBytes(int width, int height, int bitCount) {
    const std::size_t stride = (static_cast<std::size_t>(width) * bitCount + 31) / 32 * 4;
    return stride * (height - 1) + (static_cast<std::size_t>(width) * bitCount + 7) / 8;
}

}  // namespace calvoro::test

// Damaged copies of valid files of every kind: cut at every length and with
// bytes changed one at a time. Each must be read or refused with a
// PictureError; the sanitizers catch any read out of bounds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/picture/BmpCodec.h"
#include "tests/support/Pictures.h"

using namespace calvoro;
using namespace calvoro::test;

namespace {

struct ValidFile {
    const char* name;
    std::string bytes;
    std::size_t shortestReadable;  // a file cut shorter than this must be refused
};

ValidFile Plain(const char* name, int headerSize, int bits, std::uint32_t compression = BmpRgb,
                std::vector<std::uint32_t> masks = {}) {
    BmpFields bmp = PlainBmp(bits, 5, 3, [&](int x, int r) {
        return static_cast<std::uint32_t>((x * 5 + r) % (bits < 8 ? 1 << bits : 251));
    });
    bmp.headerSize = headerSize, bmp.compression = compression, bmp.masks = masks;
    if (bits <= 8) bmp.palette = ColourPalette(1 << bits);
    const std::string bytes = BuildBmp(bmp);
    return {name, bytes, bytes.size() - bmp.pixels.size() + NeededPixelBytes(5, 3, bits)};
}

ValidFile Rle(const char* name, int bits, std::vector<std::uint8_t> stream) {
    BmpFields bmp{.bitCount = bits, .compression = bits == 8 ? BmpRle8 : BmpRle4, .palette = ColourPalette(1 << bits)};
    bmp.pixels.assign(stream.begin(), stream.end());
    const std::string bytes = BuildBmp(bmp);
    return {name, bytes, bytes.size()};
}

const std::vector<ValidFile>& ValidFiles() {
    static const std::vector<ValidFile> files = {
        Plain("1 bit, core header", 12, 1),
        Plain("4 bits", 40, 4),
        Plain("8 bits, V5 header", 124, 8),
        Plain("16 bits 5-6-5 after the header", 40, 16, BmpBitfields, {0xF800, 0x07E0, 0x001F}),
        Plain("16 bits 4-4-4-4, V3 header", 56, 16, BmpBitfields, {0x0F00, 0x00F0, 0x000F, 0xF000}),
        Plain("24 bits, V4 header", 108, 24),
        Plain("32 bits", 40, 32),
        Rle("RLE8", 8, {4, 1, 0, 0, 0, 3, 5, 6, 7, 0, 0, 2, 0, 1, 1, 9, 0, 1}),
        Rle("RLE4", 4, {4, 0x12, 0, 0, 0, 3, 0x45, 0x60, 0, 2, 0, 1, 1, 0xAB, 0, 1}),
    };
    return files;
}

// Decodes and reports whether the bytes were taken; anything but a
// PictureError fails the test.
bool Readable(const std::string& bytes) {
    try {
        const DecodedBmp decoded = DecodeBmp(bytes);
        EXPECT_LE(decoded.bytesUsed, bytes.size());
        EXPECT_EQ(decoded.picture.pixels.size(), decoded.picture.stride() * decoded.picture.height);
        return true;
    } catch (const PictureError& error) {
        EXPECT_GT(std::string(error.what()).size(), 10u);
        return false;
    }
}

}  // namespace

TEST(BmpDamage, EveryCutShortOfThePixelsIsRefused) {
    for (const ValidFile& file : ValidFiles()) {
        SCOPED_TRACE(file.name);
        ASSERT_TRUE(Readable(file.bytes));
        for (std::size_t length = 0; length < file.bytes.size(); ++length)
            EXPECT_EQ(Readable(file.bytes.substr(0, length)), length >= file.shortestReadable) << "cut at " << length;
    }
}

TEST(BmpDamage, ChangedBytesAreReadOrRefusedCleanly) {
    for (const ValidFile& file : ValidFiles()) {
        SCOPED_TRACE(file.name);
        for (std::size_t at = 0; at < file.bytes.size(); ++at)
            for (unsigned flip : {0x01u, 0x80u, 0xFFu, 0x7Fu}) {
                std::string damaged = file.bytes;
                damaged[at] = static_cast<char>(damaged[at] ^ flip);
                Readable(damaged);
            }
    }
}

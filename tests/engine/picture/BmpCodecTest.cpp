// The BMP reader over every header size, bit depth, compression and row order,
// its refusals of malformed files, files cut short or damaged byte by byte,
// and the writer's round trip.
#include "engine/picture/BmpCodec.h"
#include "engine/picture/Resolution.h"
#include "tests/support/Pictures.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace calvoro;
using namespace calvoro::test;

namespace {

// 5-bit channel values and the bytes they must become.
constexpr std::uint32_t FiveBitIn[4] = {0, 1, 16, 31};
constexpr std::uint8_t FiveBitOut[4] = {0, 8, 132, 255};

// The value pixel (x, r) has in a file of `bits` bits per pixel.
std::uint32_t Stored(int bits, int x, int r) {
    if (bits <= 8) return static_cast<std::uint32_t>(x * 7 + r * 3) % (1u << bits);
    if (bits == 16) return FiveBitIn[x % 4] << 10 | FiveBitIn[r % 4] << 5 | FiveBitIn[(x + r) % 4];
    const std::uint32_t bgr =
        std::uint32_t(x * 17 + r) | std::uint32_t(x * 5 + r * 31) % 256 << 8 | std::uint32_t(200 - x) << 16;
    return bits == 32 ? bgr | std::uint32_t(x * r) << 24 : bgr;
}

// The bytes the reader must make of that pixel.
Bytes Expected(int bits, int x, int r) {
    const std::uint32_t v = Stored(bits, x, r);
    if (bits <= 8) {
        const Rgb colour = ColourPalette(1 << bits)[v];
        return {colour.blue, colour.green, colour.red};
    }
    if (bits == 16) return {FiveBitOut[(x + r) % 4], FiveBitOut[r % 4], FiveBitOut[x % 4]};
    Bytes bytes = {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16)};
    if (bits == 32) bytes.push_back(std::uint8_t(v >> 24));
    return bytes;
}

template <class Change>
std::string With(BmpFields bmp, Change change) {
    change(bmp);
    return BuildBmp(bmp);
}

BmpFields Plain24() {
    return PlainBmp(24, 4, 3, [](int x, int r) { return static_cast<std::uint32_t>(x + r); });
}

BmpFields Plain8(std::uint32_t coloursUsed, std::uint32_t index) {
    BmpFields bmp = PlainBmp(8, 4, 2, [=](int x, int) { return x == 3 ? index : 0u; });
    bmp.palette = ColourPalette(static_cast<int>(coloursUsed)), bmp.coloursUsed = coloursUsed;
    return bmp;
}

// An RLE picture whose stream is written escape code by escape code.
std::string RleFile(int bits, int width, int height, const Bytes& stream, std::vector<Rgb> palette = {}) {
    BmpFields bmp{.width = width, .height = height, .bitCount = bits, .compression = bits == 8 ? BmpRle8 : BmpRle4};
    bmp.palette = palette.empty() ? GreyPalette(1 << bits) : palette;
    bmp.pixels.assign(stream.begin(), stream.end());
    return BuildBmp(bmp);
}

}  // namespace

TEST(BmpDecoder, ReadsEveryHeaderSizeBitDepthRowPaddingAndRowOrder) {
    for (int bits : {1, 4, 8, 16, 24, 32})
        for (int headerSize : {12, 40, 52, 56, 108, 124})
            for (bool topDown : {false, true})
                for (int width = 2; width <= 9; ++width) {
                    if (headerSize == 12 && topDown) continue;  // the core header has no sign
                    SCOPED_TRACE(std::to_string(bits) + " bits, header " + std::to_string(headerSize) +
                                 (topDown ? ", top-down" : ", bottom-up") + ", width " + std::to_string(width));
                    BmpFields bmp = PlainBmp(
                        bits, width, 3, [&](int x, int r) { return Stored(bits, x, r); }, topDown);
                    bmp.headerSize = headerSize;
                    if (bits <= 8) bmp.palette = ColourPalette(1 << bits);
                    const DecodedBmp decoded = DecodeBmp(BuildBmp(bmp));
                    const Picture& picture = decoded.picture;
                    ASSERT_EQ(picture.width, width);
                    ASSERT_EQ(picture.height, 3);
                    ASSERT_EQ(picture.format, bits == 32 ? PixelFormat::Bgra32 : PixelFormat::Bgr24);
                    for (int r = 0; r < 3; ++r)
                        for (int x = 0; x < width; ++x)
                            ASSERT_EQ(PixelAt(picture, x, r), Expected(bits, x, r)) << x << ", " << r;
                    EXPECT_EQ(picture.sourceBitCount, bits);
                    EXPECT_EQ(decoded.info.topDown, topDown);
                }
}

TEST(BmpDecoder, DecodesRleRunsAbsoluteRunsJumpsAndLineEnds) {
    const Bytes rle8 = {
        3, 7,              // bottom row: 7 7 7
        0, 3, 1, 2, 3, 0,  // absolute run 1 2 3, padded to a whole word
        0, 0,              // end of line
        2, 9,              // middle row: 9 9, the rest is skipped
        0, 2, 2, 1,        // jump 2 right and 1 up: top row, column 4
        2, 4,              // 4 4
        0, 1,              // end of picture
    };
    const DecodedBmp decoded = DecodeBmp(RleFile(8, 6, 3, rle8));
    EXPECT_EQ(decoded.picture.pixels, (Bytes{0, 0, 0, 0, 4, 4, 9, 9, 0, 0, 0, 0, 7, 7, 7, 1, 2, 3}));
    EXPECT_TRUE(decoded.info.compressed());
    EXPECT_EQ(decoded.bytesUsed, decoded.info.pixelOffset + rle8.size());

    const Bytes rle4 = {
        5, 0x12,                       // bottom row: 1 2 1 2 1
        0, 0,                          // end of line
        0, 5,    0x34, 0x56, 0x70, 0,  // absolute 3 4 5 6 7: three bytes and a pad byte
        1, 0xF0,                       // 15
        0, 1,
    };
    EXPECT_EQ(DecodeBmp(RleFile(4, 6, 2, rle4)).picture.pixels, (Bytes{3, 4, 5, 6, 7, 15, 1, 2, 1, 2, 1, 0}));

    // Skipped pixels take colour 0 of the palette, also when it is no grey
    // while the colours of the runs are.
    const std::vector<Rgb> redThenGrey = {{200, 0, 0}, {90, 90, 90}};
    const Picture skipped = DecodeBmp(RleFile(8, 2, 2, {2, 1, 0, 1}, redThenGrey)).picture;
    ASSERT_EQ(skipped.format, PixelFormat::Bgr24);
    EXPECT_EQ(skipped.pixels, (Bytes{0, 0, 200, 0, 0, 200, 90, 90, 90, 90, 90, 90}));
    const Picture full = DecodeBmp(RleFile(8, 2, 2, {2, 1, 0, 0, 2, 1, 0, 1}, redThenGrey)).picture;
    EXPECT_EQ(full.format, PixelFormat::Grey8);
    EXPECT_EQ(full.pixels, (Bytes{90, 90, 90, 90}));
}

TEST(BmpDecoder, RefusesMalformedFilesWithAClearMessage) {
    struct Case {
        const char* name;
        std::string bytes;
        const char* message;  // part of the refusal
    };
    const auto rle8 = [](Bytes stream) { return RleFile(8, 4, 2, stream); };
    const auto masks16 = [](std::vector<std::uint32_t> masks) {
        return With(Plain24(), [&](BmpFields& s) { s.bitCount = 16, s.compression = BmpBitfields, s.masks = masks; });
    };
    const std::string plain = BuildBmp(Plain24());
    // clang-format off
    const Case cases[] = {
        {"empty", "", "no BMP file"},
        {"no signature", "PK\3\4 and so on", "no BMP file"},
        {"signature only", "BM", "cut short inside its header"},
        {"header cut short", plain.substr(0, 40), "cut short inside its header"},
        {"OS/2 2.x header", With(Plain24(), [](BmpFields& s) { s.headerSize = 64; }), "64-byte header"},
        {"width 0", With(Plain24(), [](BmpFields& s) { s.width = 0; }), "at least 2 pixels"},
        {"height 0", With(Plain24(), [](BmpFields& s) { s.height = 0; }), "at least 2 pixels"},
        {"width 1", With(Plain24(), [](BmpFields& s) { s.width = 1; }), "at least 2 pixels"},
        {"width 2^31", With(Plain24(), [](BmpFields& s) { s.width = 0x80000000LL; }), "at least 2 pixels"},
        {"height -2^31", With(Plain24(), [](BmpFields& s) { s.height = 0x80000000LL; }), "at most 65535"},
        {"width 65536", With(Plain24(), [](BmpFields& s) { s.width = 65536; }), "at most 65535"},
        {"too many pixels", With(Plain24(), [](BmpFields& s) { s.width = s.height = 20000; }), "100 million"},
        {"zero planes", With(Plain24(), [](BmpFields& s) { s.planes = 0; }), "0 planes"},
        {"2 bits", With(Plain24(), [](BmpFields& s) { s.bitCount = 2; }), "2 bits per pixel"},
        {"64 bits", With(Plain24(), [](BmpFields& s) { s.bitCount = 64; }), "64 bits per pixel"},
        {"JPEG inside", With(Plain24(), [](BmpFields& s) { s.compression = BmpJpeg, s.bitCount = 0; }), "BMP files that hold a JPEG picture are not supported."},
        {"PNG inside", With(Plain24(), [](BmpFields& s) { s.compression = BmpPng, s.bitCount = 0; }), "BMP files that hold a PNG picture are not supported."},
        {"unknown compression", With(Plain24(), [](BmpFields& s) { s.compression = 11; }), "compression 11"},
        {"RLE8 on 24 bits", With(Plain24(), [](BmpFields& s) { s.compression = BmpRle8; }), "RLE8 compression for 24"},
        {"RLE top-down", With(Plain8(256, 0), [](BmpFields& s) { s.compression = BmpRle8, s.topDown = true; }), "top-down"},
        {"masks on 8 bits", With(Plain8(256, 0), [](BmpFields& s) { s.compression = BmpBitfields; }), "masks for 8-bit"},
        {"masks cut short", masks16({0xF800, 0x7E0, 0x1F}).substr(0, 60), "cut short inside its colour masks"},
        {"mask with a gap", masks16({0xF00F, 0x07E0, 0x001F}), "one run of bits"},
        {"mask outside the pixel", masks16({0x1F0000, 0x07E0, 0x001F}), "outside its 16-bit"},
        {"masks all empty", masks16({0, 0, 0}), "all empty"},
        {"pixel offset past the end", With(Plain24(), [](BmpFields& s) { s.pixelOffset = 100000; }), "past the end"},
        {"pixel offset in the header", With(Plain24(), [](BmpFields& s) { s.pixelOffset = 30; }), "into its header"},
        {"a large picture without its pixels", With(Plain24(), [](BmpFields& s) { s.width = s.height = 10000; }), "cut short: 36 of 300000000 bytes"},
        {"pixel data cut short", plain.substr(0, 54 + 30), "cut short: 30 of 36 bytes"},
        {"palette missing", With(Plain8(256, 0), [](BmpFields& s) { s.pixelOffset = 54; }), "no palette"},
        {"palette index past the palette", BuildBmp(Plain8(4, 10)), "colour 10 of a palette of 4"},
        {"RLE8 run past a row", rle8({5, 1, 0, 1}), "past the end of a row"},
        {"RLE8 absolute run past a row", rle8({2, 1, 0, 3, 1, 2, 3, 0, 0, 1}), "past the end of a row"},
        {"RLE8 jump past the picture", rle8({0, 2, 5, 0, 0, 1}), "jump goes past"},
        {"RLE8 past the last row", rle8({0, 0, 0, 0, 1, 1, 0, 1}), "past the last row"},
        {"RLE8 without its end mark", rle8({4, 1, 0, 0, 4, 2}), "end-of-picture mark"},
        {"RLE8 absolute run cut short", rle8({0, 4, 1, 2}), "end-of-picture mark"},
        {"RLE8 colour past the palette", RleFile(8, 4, 2, {4, 9, 0, 1}, GreyPalette(8)), "colour 9 of a palette of 8"},
        {"RLE4 run past a row", RleFile(4, 4, 2, {9, 0x11, 0, 1}), "past the end of a row"},
        {"RLE4 jump cut short", RleFile(4, 4, 2, {0, 2, 1}), "end-of-picture mark"},
    };
    // clang-format on
    for (const Case& c : cases) {
        const std::string refusal = MessageOf<PictureError>([&] { DecodeBmp(c.bytes); });
        EXPECT_NE(refusal.find(c.message), std::string::npos) << c.name << ": " << refusal;
    }
}

TEST(BmpEncoder, EveryFormatComesBackPixelForPixelWithItsResolution) {
    for (PixelFormat format : {PixelFormat::Grey8, PixelFormat::Bgr24, PixelFormat::Bgra32})
        for (int width = 2; width <= 6; ++width)
            for (int dpi : {0, 72, 100, 300}) {
                SCOPED_TRACE(std::to_string(BytesPerPixel(format)) + " bytes, width " + std::to_string(width) + ", " +
                             std::to_string(dpi) + " dpi");
                Picture picture;
                picture.allocate(width, 3, format);
                for (std::size_t i = 0; i < picture.pixels.size(); ++i) picture.pixels[i] = std::uint8_t(i * 7 + 3);
                picture.dpiX = picture.dpiY = dpi;
                const std::string bytes = EncodeBmp(picture);
                // A document's record after the picture is left alone.
                const DecodedBmp decoded = DecodeBmp(bytes + std::string(492, '\x5A'));
                EXPECT_EQ(decoded.picture.format, format);
                EXPECT_EQ(decoded.picture.pixels, picture.pixels);
                EXPECT_EQ(decoded.picture.dpiX, dpi);
                EXPECT_EQ(decoded.picture.dpiY, dpi);
                EXPECT_EQ(decoded.info.fileSize, bytes.size());
                EXPECT_EQ(decoded.bytesUsed, bytes.size());
                EXPECT_FALSE(decoded.info.topDown);
                EXPECT_EQ(decoded.info.headerSize, 40);
            }
    for (int dpi = 1; dpi <= 20000; ++dpi) ASSERT_EQ(PixelsPerMetreToDpi(DpiToPixelsPerMetre(dpi)), dpi) << dpi;
    EXPECT_EQ(DpiToPixelsPerMetre(100), 3937);
    EXPECT_EQ(DpiToPixelsPerMetre(0), 0);
    EXPECT_EQ(DpiToPixelsPerMetre(-5), 0);
}

namespace {

struct ValidFile {
    const char* name;
    std::string bytes;
};

ValidFile Plain(const char* name, int headerSize, int bits, std::uint32_t compression = BmpRgb,
                std::vector<std::uint32_t> masks = {}) {
    BmpFields bmp = PlainBmp(bits, 5, 3, [&](int x, int r) {
        return static_cast<std::uint32_t>((x * 5 + r) % (bits < 8 ? 1 << bits : 251));
    });
    bmp.headerSize = headerSize, bmp.compression = compression, bmp.masks = masks;
    if (bits <= 8) bmp.palette = ColourPalette(1 << bits);
    const std::string bytes = BuildBmp(bmp);
    return {name, bytes};
}

ValidFile Rle(const char* name, int bits, std::vector<std::uint8_t> stream) {
    BmpFields bmp{.bitCount = bits, .compression = bits == 8 ? BmpRle8 : BmpRle4, .palette = ColourPalette(1 << bits)};
    bmp.pixels.assign(stream.begin(), stream.end());
    const std::string bytes = BuildBmp(bmp);
    return {name, bytes};
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

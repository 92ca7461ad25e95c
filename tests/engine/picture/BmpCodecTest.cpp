// The BMP reader over every header size, bit depth, compression and row order,
// its refusals of malformed files, and the writer's round trip.
#include <gtest/gtest.h>

#include <string>

#include "engine/picture/BmpCodec.h"
#include "engine/picture/Resolution.h"
#include "tests/engine/picture/PictureTestFiles.h"

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

TEST(BmpDecoder, PalettePicturesGiveTheirGreyThroughThePalette) {
    // A black and white 1-bit picture must span the whole grey range, not
    // levels 0 and 1; an inverted grey palette must give inverted levels; a
    // colour entry no pixel uses does not make the picture a colour one.
    struct Case {
        int bits;
        std::vector<Rgb> palette;
        Bytes indices;  // of a 4 x 2 picture, top row first
        Bytes levels;
    };
    // clang-format off
    const Case cases[] = {
        {1, {{0, 0, 0}, {255, 255, 255}}, {0, 1, 0, 1, 1, 1, 0, 0}, {0, 255, 0, 255, 255, 255, 0, 0}},
        {1, {{255, 255, 255}, {0, 0, 0}}, {0, 1, 0, 1, 1, 1, 0, 0}, {255, 0, 255, 0, 0, 0, 255, 255}},
        {8, GreyPalette(256, true), {0, 1, 2, 200, 255, 9, 9, 9}, {255, 254, 253, 55, 0, 246, 246, 246}},
        {4, {{0, 0, 0}, {128, 128, 128}, {255, 255, 255}, {255, 0, 0}}, {0, 1, 2, 1, 2, 2, 0, 0}, {0, 128, 255, 128, 255, 255, 0, 0}},
    };
    // clang-format on
    for (const Case& c : cases) {
        BmpFields bmp = PlainBmp(c.bits, 4, 2, [&](int x, int r) { return c.indices[4 * r + x]; });
        bmp.palette = c.palette, bmp.coloursUsed = static_cast<std::uint32_t>(c.palette.size());
        const Picture picture = DecodeBmp(BuildBmp(bmp)).picture;
        EXPECT_EQ(picture.format, PixelFormat::Grey8) << c.bits;
        EXPECT_EQ(picture.pixels, c.levels) << c.bits;
    }
}

TEST(BmpDecoder, ColourMasksDecideTheChannels) {
    struct Case {
        const char* name;
        int headerSize, bits;
        std::uint32_t compression;
        std::vector<std::uint32_t> masks;
        std::uint32_t stored;
        Bytes expected;
    };
    // clang-format off
    const Case cases[] = {
        {"5-5-5 without masks gives white for 0x7FFF", 40, 16, BmpRgb, {}, 0x7FFF, {255, 255, 255}},
        {"5-6-5 after a 40-byte header", 40, 16, BmpBitfields, {0xF800, 0x07E0, 0x001F}, 31u << 11 | 32u << 5 | 16u, {132, 130, 255}},
        {"5-6-5 in a 52-byte header", 52, 16, BmpBitfields, {0xF800, 0x07E0, 0x001F}, 63u << 5 | 31u, {255, 255, 0}},
        {"4-4-4-4 after a 40-byte header", 40, 16, BmpAlphaBitfields, {0x0F00, 0x00F0, 0x000F, 0xF000}, 0x1F80, {0, 136, 255}},
        {"red and blue exchanged", 124, 32, BmpBitfields, {0x0000FF, 0x00FF00, 0xFF0000, 0xFF000000}, 0x40302010, {0x30, 0x20, 0x10, 0x40}},
        {"10-bit channels", 56, 32, BmpBitfields, {0x3FF00000, 0x000FFC00, 0x000003FF}, 1023u << 20 | 512u, {128, 0, 255, 0}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BmpFields bmp = PlainBmp(c.bits, 4, 3, [&](int, int) { return c.stored; });
        bmp.headerSize = c.headerSize, bmp.compression = c.compression, bmp.masks = c.masks;
        const Picture picture = DecodeBmp(BuildBmp(bmp)).picture;
        for (int i = 0; i < 12; ++i) ASSERT_EQ(PixelAt(picture, i % 4, i / 4), c.expected);
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
        {"JPEG inside", With(Plain24(), [](BmpFields& s) { s.compression = BmpJpeg; }), "JPEG"},
        {"PNG inside", With(Plain24(), [](BmpFields& s) { s.compression = BmpPng; }), "PNG"},
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
        const std::string refusal = RefusalOf([&] { DecodeBmp(c.bytes); });
        EXPECT_NE(refusal.find(c.message), std::string::npos) << c.name << ": " << refusal;
    }
}

TEST(BmpDecoder, ResolutionAndDeclaredSizeComeFromTheHeaders) {
    // Pixels per metre divided by 39.37007874015748 in extended precision:
    // 7500 is a hair above 190.5 that way, so it gives 191.
    const std::pair<std::int32_t, int> perMetreToDpi[] = {{3937, 100}, {7500, 191}, {2500, 64},   {0, 0},
                                                          {-3937, 0},  {20, 1},     {12500, 318}, {17500, 445}};
    for (const auto& [perMetre, dpi] : perMetreToDpi) {
        BmpFields bmp = Plain24();
        bmp.pixelsPerMetreX = perMetre;
        bmp.pixelsPerMetreY = 3937;
        bmp.fileSize = 12345;  // where a document's record would start
        const std::string headers = BuildBmp(bmp).substr(0, 54);
        EXPECT_EQ(BmpInfoFromBytes(headers).dpiX, dpi) << perMetre;
        EXPECT_EQ(BmpInfoFromBytes(headers).dpiY, 100);
        EXPECT_EQ(BmpFileSizeFromBytes(headers), 12345u);
    }
    EXPECT_EQ(DecodeBmp(With(Plain24(), [](BmpFields& s) { s.headerSize = 12; })).picture.dpiX, 0);
    EXPECT_THROW(BmpFileSizeFromBytes(std::string("BM\1\2")), PictureError);
    EXPECT_THROW(BmpFileSizeFromBytes(std::string("GIF89a and more bytes")), PictureError);
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

TEST(BmpEncoder, WritesAPlainBottomUpFileWithAGreyPaletteForGreyPictures) {
    Picture grey;
    grey.allocate(3, 2, PixelFormat::Grey8);
    grey.pixels = {1, 2, 3, 4, 5, 6};
    const std::string bytes = EncodeBmp(grey);
    const auto u32 = [&](std::size_t at) {
        std::uint32_t value = 0;
        for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
        return value;
    };
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(u32(2), bytes.size());
    EXPECT_EQ(u32(10), 14u + 40u + 1024u);
    EXPECT_EQ(u32(46), 256u);
    for (std::uint32_t i = 0; i < 256; ++i) EXPECT_EQ(u32(54 + 4 * i), i | i << 8 | i << 16);
    // The bottom row is stored first, padded from 3 to 4 bytes.
    EXPECT_EQ(bytes.substr(1078), std::string("\4\5\6\0\1\2\3\0", 8));

    EXPECT_THROW(EncodeBmp(Picture{}), PictureError);
    grey.pixels.pop_back();
    EXPECT_THROW(EncodeBmp(grey), PictureError);
}

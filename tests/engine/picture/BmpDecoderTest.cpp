#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <unistd.h>

#include "engine/picture/BmpCodec.h"
#include "kernel/platform/AtomicFile.h"
#include "tests/engine/picture/BmpTestFiles.h"

using namespace calvoro;
using namespace calvoro::test;

namespace {

using PixelBytes = std::vector<std::uint8_t>;

void ExpectPixels(const Picture& picture, int width, int height, PixelFormat format,
                  const std::function<PixelBytes(int, int)>& expected) {
    ASSERT_EQ(picture.width, width);
    ASSERT_EQ(picture.height, height);
    ASSERT_EQ(picture.format, format);
    ASSERT_EQ(picture.pixels.size(), picture.stride() * height);
    const int size = BytesPerPixel(format);
    for (int r = 0; r < height; ++r)
        for (int x = 0; x < width; ++x) {
            const PixelBytes want = expected(x, r);
            const PixelBytes got(picture.row(r) + x * size, picture.row(r) + (x + 1) * size);
            ASSERT_EQ(got, want) << "pixel " << x << ", row " << r;
        }
}

std::string RefusalOf(const std::string& bytes) {
    try {
        DecodeBmp(bytes);
    } catch (const PictureError& error) {
        return error.what();
    }
    return "(accepted)";
}

std::vector<Rgb> ColourPalette(int count) {
    std::vector<Rgb> palette;
    for (int i = 0; i < count; ++i)
        palette.push_back({static_cast<std::uint8_t>(i * 37 + 1), static_cast<std::uint8_t>(255 - i * 11),
                           static_cast<std::uint8_t>(i * 91 + 7)});
    return palette;
}

// A 5-bit and a 6-bit channel value and the byte each must become.
constexpr std::array<std::array<int, 2>, 4> FiveBitLevels{{{0, 0}, {1, 8}, {16, 132}, {31, 255}}};
constexpr std::array<std::array<int, 2>, 4> SixBitLevels{{{0, 0}, {2, 8}, {32, 130}, {63, 255}}};

struct DepthCase {
    int bitCount;
    std::function<std::uint32_t(int, int)> stored;  // the file's value of pixel x, row r
    PixelFormat format;
    std::function<PixelBytes(int, int)> expected;
};

std::vector<DepthCase> DepthCases() {
    const auto palette2 = ColourPalette(2), palette16 = ColourPalette(16), palette256 = ColourPalette(256);
    const auto viaPalette = [](std::vector<Rgb> palette, std::function<std::uint32_t(int, int)> index) {
        return [palette, index](int x, int r) {
            const Rgb c = palette[index(x, r)];
            return PixelBytes{c.blue, c.green, c.red};
        };
    };
    const auto index1 = [](int x, int r) -> std::uint32_t { return (x + r) % 2; };
    const auto index4 = [](int x, int r) -> std::uint32_t { return (x * 3 + r) % 16; };
    const auto index8 = [](int x, int r) -> std::uint32_t { return (x * 7 + r * 13) % 256; };
    const auto word16 = [](int x, int r) -> std::uint32_t {
        return FiveBitLevels[x % 4][0] << 10 | FiveBitLevels[r % 4][0] << 5 | FiveBitLevels[(x + r) % 4][0];
    };
    const auto bgr = [](int x, int r) {
        return PixelBytes{static_cast<std::uint8_t>(x * 17 + r), static_cast<std::uint8_t>(x * 5 + r * 31),
                          static_cast<std::uint8_t>(200 - x)};
    };
    return {
        {1, index1, PixelFormat::Bgr24, viaPalette(palette2, index1)},
        {4, index4, PixelFormat::Bgr24, viaPalette(palette16, index4)},
        {8, index8, PixelFormat::Bgr24, viaPalette(palette256, index8)},
        {16, word16, PixelFormat::Bgr24,
         [](int x, int r) {
             return PixelBytes{static_cast<std::uint8_t>(FiveBitLevels[(x + r) % 4][1]),
                               static_cast<std::uint8_t>(FiveBitLevels[r % 4][1]),
                               static_cast<std::uint8_t>(FiveBitLevels[x % 4][1])};
         }},
        {24,
         [bgr](int x, int r) {
             const PixelBytes p = bgr(x, r);
             return static_cast<std::uint32_t>(p[0] | p[1] << 8 | p[2] << 16);
         },
         PixelFormat::Bgr24, bgr},
        {32,
         [bgr](int x, int r) {
             const PixelBytes p = bgr(x, r);
             return static_cast<std::uint32_t>(p[0] | p[1] << 8 | p[2] << 16 | (x * r) << 24);
         },
         PixelFormat::Bgra32,
         [bgr](int x, int r) {
             PixelBytes p = bgr(x, r);
             p.push_back(static_cast<std::uint8_t>(x * r));
             return p;
         }},
    };
}

}  // namespace

TEST(BmpDecoder, ReadsEveryHeaderSizeBitDepthRowPaddingAndRowOrder) {
    for (const DepthCase& depth : DepthCases())
        for (int headerSize : {12, 40, 52, 56, 108, 124})
            for (bool topDown : {false, true})
                for (int width = 2; width <= 9; ++width) {
                    if (headerSize == 12 && topDown) continue;  // the core header has no sign
                    SCOPED_TRACE(std::to_string(depth.bitCount) + " bits, header " + std::to_string(headerSize) +
                                 (topDown ? ", top-down" : ", bottom-up") + ", width " + std::to_string(width));
                    const int height = 3;
                    BmpSpec spec;
                    spec.headerSize = headerSize;
                    spec.width = width;
                    spec.height = height;
                    spec.topDown = topDown;
                    spec.bitCount = depth.bitCount;
                    if (depth.bitCount <= 8) spec.palette = ColourPalette(1 << depth.bitCount);
                    spec.pixels = PackRows(width, height, depth.bitCount, topDown, depth.stored);
                    const DecodedBmp decoded = DecodeBmp(BuildBmp(spec));
                    ExpectPixels(decoded.picture, width, height, depth.format, depth.expected);
                    EXPECT_EQ(decoded.picture.sourceBitCount, depth.bitCount);
                    EXPECT_EQ(decoded.info.headerSize, headerSize);
                    EXPECT_EQ(decoded.info.topDown, topDown);
                }
}

TEST(BmpDecoder, PalettePicturesGiveTheirGreyThroughThePalette) {
    // A black and white 1-bit picture must span the whole grey range, not
    // levels 0 and 1; an inverted grey palette must give inverted levels.
    struct Case {
        const char* name;
        int bitCount;
        std::vector<Rgb> palette;
        std::function<std::uint32_t(int, int)> index;
        std::function<std::uint8_t(int, int)> grey;
    };
    std::vector<Rgb> inverted;
    for (int i = 0; i < 256; ++i)
        inverted.push_back({static_cast<std::uint8_t>(255 - i), static_cast<std::uint8_t>(255 - i),
                            static_cast<std::uint8_t>(255 - i)});
    std::vector<Rgb> greyWithUnusedColours = {{0, 0, 0}, {128, 128, 128}, {255, 255, 255}, {255, 0, 0}};
    const std::vector<Case> cases = {
        {"black and white",
         1,
         {{0, 0, 0}, {255, 255, 255}},
         [](int x, int) -> std::uint32_t { return x % 2; },
         [](int x, int) -> std::uint8_t { return x % 2 ? 255 : 0; }},
        {"white and black",
         1,
         {{255, 255, 255}, {0, 0, 0}},
         [](int x, int) -> std::uint32_t { return x % 2; },
         [](int x, int) -> std::uint8_t { return x % 2 ? 0 : 255; }},
        {"inverted grey", 8, inverted, [](int x, int r) -> std::uint32_t { return x * 40 + r; },
         [](int x, int r) -> std::uint8_t { return static_cast<std::uint8_t>(255 - (x * 40 + r)); }},
        {"unused colour entry", 4, greyWithUnusedColours, [](int x, int r) -> std::uint32_t { return (x + r) % 3; },
         [](int x, int r) -> std::uint8_t { return (x + r) % 3 == 0   ? 0
                                                   : (x + r) % 3 == 1 ? 128
                                                                      : 255; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BmpSpec spec;
        spec.width = 6;
        spec.height = 2;
        spec.bitCount = c.bitCount;
        spec.palette = c.palette;
        spec.coloursUsed = static_cast<std::uint32_t>(c.palette.size());
        spec.pixels = PackRows(6, 2, c.bitCount, false, c.index);
        const Picture picture = DecodeBmp(BuildBmp(spec)).picture;
        ExpectPixels(picture, 6, 2, PixelFormat::Grey8, [&](int x, int r) { return PixelBytes{c.grey(x, r)}; });
        EXPECT_EQ(picture.sourceBitCount, c.bitCount);
    }
}

TEST(BmpDecoder, ColourMasksDecideTheChannels) {
    struct Case {
        const char* name;
        int headerSize;
        int bitCount;
        std::uint32_t compression;
        std::vector<std::uint32_t> masks;
        std::uint32_t stored;
        PixelBytes expected;
    };
    const std::vector<Case> cases = {
        {"5-5-5 without masks gives white for 0x7FFF", 40, 16, BmpRgb, {}, 0x7FFF, {255, 255, 255}},
        {"5-6-5 masks after a 40-byte header",
         40,
         16,
         BmpBitfields,
         {0xF800, 0x07E0, 0x001F},
         31u << 11 | 32u << 5 | 16u,
         {132, 130, 255}},
        {"5-6-5 masks inside a 52-byte header",
         52,
         16,
         BmpBitfields,
         {0xF800, 0x07E0, 0x001F},
         0u << 11 | 63u << 5 | 31u,
         {255, 255, 0}},
        {"4-4-4-4 alpha masks after a 40-byte header",
         40,
         16,
         BmpAlphaBitfields,
         {0x0F00, 0x00F0, 0x000F, 0xF000},
         0x1F80,
         {0, 136, 255}},
        {"32 bits with red and blue exchanged",
         124,
         32,
         BmpBitfields,
         {0x0000FF, 0x00FF00, 0xFF0000, 0xFF000000},
         0x40302010,
         {0x30, 0x20, 0x10, 0x40}},
        {"32 bits with 10-bit channels",
         56,
         32,
         BmpBitfields,
         {0x3FF00000, 0x000FFC00, 0x000003FF, 0},
         1023u << 20 | 0u << 10 | 512u,
         {128, 0, 255, 0}},
        {"32 bits in the usual order are copied",
         108,
         32,
         BmpBitfields,
         {0xFF0000, 0xFF00, 0xFF, 0xFF000000},
         0x11223344,
         {0x44, 0x33, 0x22, 0x11}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BmpSpec spec;
        spec.headerSize = c.headerSize;
        spec.width = 3;
        spec.height = 2;
        spec.bitCount = c.bitCount;
        spec.compression = c.compression;
        spec.masks = c.masks;
        spec.pixels = PackRows(3, 2, c.bitCount, false, [&](int, int) { return c.stored; });
        const Picture picture = DecodeBmp(BuildBmp(spec)).picture;
        ExpectPixels(picture, 3, 2, c.bitCount == 32 ? PixelFormat::Bgra32 : PixelFormat::Bgr24,
                     [&](int, int) { return c.expected; });
    }
}

namespace {

// An RLE stream made of the escape codes by hand.
std::string RleFile(int bitCount, int width, int height, const std::vector<std::uint8_t>& stream,
                    std::vector<Rgb> palette = {}) {
    BmpSpec spec;
    spec.width = width;
    spec.height = height;
    spec.bitCount = bitCount;
    spec.compression = bitCount == 8 ? BmpRle8 : BmpRle4;
    spec.palette = palette.empty() ? ColourPalette(bitCount == 8 ? 256 : 16) : palette;
    spec.pixels.assign(stream.begin(), stream.end());
    return BuildBmp(spec);
}

std::vector<Rgb> GreyRamp(int count) {
    std::vector<Rgb> palette;
    for (int i = 0; i < count; ++i)
        palette.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i)});
    return palette;
}

std::vector<std::uint8_t> Levels(const Picture& picture) {
    return picture.pixels;
}

}  // namespace

TEST(BmpDecoder, DecodesRle8RunsAbsoluteRunsJumpsAndLineEnds) {
    const std::vector<std::uint8_t> stream = {
        3, 7,              // bottom row: 7 7 7
        0, 3, 1, 2, 3, 0,  // absolute run 1 2 3, padded to a whole word
        0, 0,              // end of line
        2, 9,              // middle row: 9 9, the rest is skipped
        0, 2, 2, 1,        // jump 2 right and 1 up: top row, column 4
        2, 4,              // 4 4
        0, 1,              // end of picture
    };
    const DecodedBmp decoded = DecodeBmp(RleFile(8, 6, 3, stream, GreyRamp(256)));
    EXPECT_EQ(Levels(decoded.picture), (std::vector<std::uint8_t>{0, 0, 0, 0, 4, 4,  //
                                                                  9, 9, 0, 0, 0, 0,  //
                                                                  7, 7, 7, 1, 2, 3}));
    EXPECT_EQ(decoded.picture.format, PixelFormat::Grey8);
    EXPECT_TRUE(decoded.info.compressed());
    EXPECT_EQ(decoded.bytesUsed, decoded.info.pixelOffset + stream.size());
}

TEST(BmpDecoder, DecodesRle4AlternatingNibblesAndOddAbsoluteRuns) {
    const std::vector<std::uint8_t> stream = {
        5, 0x12,                       // bottom row: 1 2 1 2 1
        0, 0,                          // end of line
        0, 5,    0x34, 0x56, 0x70, 0,  // absolute 3 4 5 6 7: three bytes and a pad byte
        1, 0xF0,                       // 15
        0, 1,
    };
    const DecodedBmp decoded = DecodeBmp(RleFile(4, 6, 2, stream, GreyRamp(16)));
    EXPECT_EQ(Levels(decoded.picture), (std::vector<std::uint8_t>{3, 4, 5, 6, 7, 15,  //
                                                                  1, 2, 1, 2, 1, 0}));
}

namespace {

BmpSpec Plain24(int width = 4, int height = 3) {
    BmpSpec spec;
    spec.width = width;
    spec.height = height;
    spec.pixels = PackRows(width, height, 24, false, [](int x, int r) { return static_cast<std::uint32_t>(x + r); });
    return spec;
}

BmpSpec Plain8(std::uint32_t coloursUsed, std::uint32_t index) {
    BmpSpec spec;
    spec.width = 4;
    spec.height = 2;
    spec.bitCount = 8;
    spec.palette = ColourPalette(static_cast<int>(coloursUsed));
    spec.coloursUsed = coloursUsed;
    spec.pixels = PackRows(4, 2, 8, false, [=](int x, int) { return x == 3 ? index : 0u; });
    return spec;
}

template <class Change>
std::string With(BmpSpec spec, Change change) {
    change(spec);
    return BuildBmp(spec);
}

std::string Cut(std::string bytes, std::size_t length) {
    return bytes.substr(0, length);
}

}  // namespace

TEST(BmpDecoder, RefusesMalformedFilesWithAClearMessage) {
    struct Case {
        const char* name;
        std::string bytes;
        const char* message;  // part of the refusal
    };
    const auto rle8 = [](std::vector<std::uint8_t> stream) { return RleFile(8, 4, 2, stream); };
    const auto rle4 = [](std::vector<std::uint8_t> stream) { return RleFile(4, 4, 2, stream); };
    const std::vector<Case> cases = {
        {"empty", "", "no BMP file"},
        {"no signature", "PK\3\4 and so on", "no BMP file"},
        {"signature only", "BM", "cut short inside its header"},
        {"header cut short", Cut(BuildBmp(Plain24()), 40), "cut short inside its header"},
        {"OS/2 2.x header", With(Plain24(), [](BmpSpec& s) { s.headerSize = 64; }), "64-byte header"},
        {"width 0", With(Plain24(), [](BmpSpec& s) { s.width = 0; }), "at least 2 pixels"},
        {"height 0", With(Plain24(), [](BmpSpec& s) { s.height = 0; }), "at least 2 pixels"},
        {"width 1", With(Plain24(), [](BmpSpec& s) { s.width = 1; }), "at least 2 pixels"},
        {"width 2^31", With(Plain24(), [](BmpSpec& s) { s.width = 0x80000000LL; }), "at least 2 pixels"},
        {"height -2^31", With(Plain24(), [](BmpSpec& s) { s.height = 0x80000000LL; }), "at most 65535"},
        {"width 65536", With(Plain24(), [](BmpSpec& s) { s.width = 65536; }), "at most 65535"},
        {"too many pixels", With(Plain24(), [](BmpSpec& s) { s.width = s.height = 20000; }), "100 million"},
        {"zero planes", With(Plain24(), [](BmpSpec& s) { s.planes = 0; }), "0 planes"},
        {"2 bits", With(Plain24(), [](BmpSpec& s) { s.bitCount = 2; }), "2 bits per pixel"},
        {"64 bits", With(Plain24(), [](BmpSpec& s) { s.bitCount = 64; }), "64 bits per pixel"},
        {"0 bits", With(Plain24(), [](BmpSpec& s) { s.bitCount = 0; }), "0 bits per pixel"},
        {"JPEG inside", With(Plain24(), [](BmpSpec& s) { s.compression = BmpJpeg; }), "JPEG"},
        {"PNG inside", With(Plain24(), [](BmpSpec& s) { s.compression = BmpPng; }), "PNG"},
        {"unknown compression", With(Plain24(), [](BmpSpec& s) { s.compression = 11; }), "compression 11"},
        {"RLE8 on 24 bits", With(Plain24(), [](BmpSpec& s) { s.compression = BmpRle8; }), "RLE8 compression for 24"},
        {"RLE top-down", With(Plain8(256, 0), [](BmpSpec& s) { s.compression = BmpRle8, s.topDown = true; }),
         "top-down"},
        {"masks on 8 bits", With(Plain8(256, 0), [](BmpSpec& s) { s.compression = BmpBitfields; }),
         "colour masks for 8-bit"},
        {"masks cut short",
         Cut(With(Plain24(),
                  [](BmpSpec& s) {
                      s.bitCount = 16, s.compression = BmpBitfields, s.masks = {0xF800, 0x7E0, 0x1F};
                  }),
             60),
         "cut short inside its colour masks"},
        {"mask with a gap",
         With(Plain24(),
              [](BmpSpec& s) {
                  s.bitCount = 16, s.compression = BmpBitfields, s.masks = {0xF00F, 0x07E0, 0x001F};
              }),
         "one run of bits"},
        {"mask outside the pixel",
         With(Plain24(),
              [](BmpSpec& s) {
                  s.bitCount = 16, s.compression = BmpBitfields, s.masks = {0x1F0000, 0x07E0, 0x001F};
              }),
         "outside its 16-bit"},
        {"masks all empty",
         With(Plain24(),
              [](BmpSpec& s) {
                  s.bitCount = 32, s.compression = BmpBitfields, s.masks = {0, 0, 0};
              }),
         "all empty"},
        {"pixel offset past the end", With(Plain24(), [](BmpSpec& s) { s.pixelOffset = 100000; }), "past the end"},
        {"pixel offset in the header", With(Plain24(), [](BmpSpec& s) { s.pixelOffset = 30; }), "into its header"},
        {"a large picture without its pixels", With(Plain24(), [](BmpSpec& s) { s.width = s.height = 10000; }),
         "cut short: 36 of 300000000 bytes"},
        {"pixel data cut short", Cut(BuildBmp(Plain24()), 54 + 30), "cut short: 30 of 36 bytes"},
        {"palette missing", With(Plain8(256, 0), [](BmpSpec& s) { s.pixelOffset = 54; }), "no palette"},
        {"palette index past the palette", BuildBmp(Plain8(4, 10)), "colour 10 of a palette of 4"},
        {"RLE8 run past a row", rle8({5, 1, 0, 1}), "past the end of a row"},
        {"RLE8 absolute run past a row", rle8({2, 1, 0, 3, 1, 2, 3, 0, 0, 1}), "past the end of a row"},
        {"RLE8 jump past the picture", rle8({0, 2, 5, 0, 0, 1}), "jump goes past"},
        {"RLE8 past the last row", rle8({0, 0, 0, 0, 1, 1, 0, 1}), "past the last row"},
        {"RLE8 without its end mark", rle8({4, 1, 0, 0, 4, 2}), "end-of-picture mark"},
        {"RLE8 absolute run cut short", rle8({0, 4, 1, 2}), "end-of-picture mark"},
        {"RLE8 colour past the palette", RleFile(8, 4, 2, {4, 9, 0, 1}, GreyRamp(8)), "colour 9 of a palette of 8"},
        {"RLE4 run past a row", rle4({6, 0x11, 0, 1}), "past the end of a row"},
        {"RLE4 jump cut short", rle4({0, 2, 1}), "end-of-picture mark"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NE(RefusalOf(c.bytes).find(c.message), std::string::npos) << RefusalOf(c.bytes);
    }
}

TEST(BmpDecoder, TakesAShortPaletteAndAMissingLastRowPadding) {
    // Writers may list fewer colours than the bit count allows and may drop
    // the padding after the last row; neither loses a pixel.
    BmpSpec spec = Plain8(3, 2);
    const DecodedBmp decoded = DecodeBmp(BuildBmp(spec));
    EXPECT_EQ(decoded.picture.format, PixelFormat::Bgr24);
    EXPECT_EQ(decoded.picture.row(0)[9], ColourPalette(3)[2].blue);

    spec = Plain24(3, 2);  // rows of 9 bytes padded to 12
    const std::string full = BuildBmp(spec);
    const Picture whole = DecodeBmp(full).picture;
    const DecodedBmp unpadded = DecodeBmp(Cut(full, full.size() - 3));
    EXPECT_EQ(unpadded.picture.pixels, whole.pixels);
    EXPECT_EQ(unpadded.bytesUsed, full.size() - 3);
}

TEST(BmpDecoder, ResolutionFromPixelsPerMetreRoundsHalvesToEven) {
    struct Case {
        std::int32_t pixelsPerMetre;
        int dpi;
    };
    for (const Case c : {Case{3937, 100}, Case{7500, 190}, Case{2500, 64}, Case{12500, 318}, Case{2835, 72}, Case{0, 0},
                         Case{-3937, 0}, Case{1, 0}, Case{20, 1}}) {
        BmpSpec spec = Plain24();
        spec.pixelsPerMetreX = c.pixelsPerMetre;
        spec.pixelsPerMetreY = 3937;
        const BmpInfo info = BmpInfoFromBytes(BuildBmp(spec));
        EXPECT_EQ(info.dpiX, c.dpi) << c.pixelsPerMetre;
        EXPECT_EQ(info.dpiY, 100);
    }
    BmpSpec core = Plain24();
    core.headerSize = 12;
    EXPECT_EQ(DecodeBmp(BuildBmp(core)).picture.dpiX, 0);
}

TEST(BmpDecoder, InfoAndDeclaredSizeComeFromTheHeadersAlone) {
    BmpSpec spec = Plain8(256, 1);
    spec.compression = BmpRle8;
    spec.pixels = {4, 1, 0, 0, 4, 2, 0, 1};
    spec.fileSize = 12345;  // what a document's record offset would be
    const std::string bytes = BuildBmp(spec);
    const BmpInfo info = BmpInfoFromBytes(bytes.substr(0, 54));
    EXPECT_EQ(info.bitCount, 8);
    EXPECT_TRUE(info.compressed());
    EXPECT_EQ(info.width, 4);
    EXPECT_EQ(info.height, 2);
    EXPECT_EQ(BmpFileSizeFromBytes(bytes.substr(0, 14)), 12345u);
    EXPECT_THROW(BmpFileSizeFromBytes(std::string("BM\1\2")), PictureError);
    EXPECT_THROW(BmpFileSizeFromBytes(std::string("GIF89a and more bytes")), PictureError);
}

TEST(BmpDecoder, FileFormsNameTheFileInTheirRefusals) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("calvoro_bmp_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::filesystem::path good = folder / "good.bmp";
    const std::filesystem::path bad = folder / "bad.bmp";
    WriteFileAtomically(good, BuildBmp(Plain24()));
    WriteFileAtomically(bad, Cut(BuildBmp(Plain24()), 60));
    EXPECT_EQ(LoadBmpFile(good).width, 4);
    EXPECT_EQ(ReadBmpInfo(good).bitCount, 24);
    EXPECT_EQ(ReadBmpFileSize(good), std::filesystem::file_size(good));
    try {
        LoadBmpFile(bad);
        ADD_FAILURE() << "a cut file was read";
    } catch (const PictureError& error) {
        EXPECT_NE(std::string(error.what()).find("bad.bmp"), std::string::npos) << error.what();
    }
    EXPECT_THROW(LoadBmpFile(folder / "missing.bmp"), std::runtime_error);
    std::filesystem::remove_all(folder);
}

// Pictures: JPEG files of every kind and cut anywhere, flips and crops, and
// BMP files written whole and read back.
//
// Picture files as users meet them: JPEG data libjpeg could only guess at,
// RLE runs into the row padding, BMPs wrapping other formats, names that are
// no files, and files whose headers rule them out before their bulk is read.
#include "engine/document/JobDocument.h"
#include "engine/picture/BmpCodec.h"
#include "engine/picture/GreyLevel.h"
#include "engine/picture/ImageInfo.h"
#include "engine/picture/JpegDecoder.h"
#include "engine/picture/PictureEdits.h"
#include "engine/picture/PictureFile.h"
#include "kernel/platform/AtomicFile.h"
#include "tests/support/Pictures.h"
#include "tests/support/TempFolder.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

using namespace calvoro;
using namespace calvoro::test;
namespace fs = std::filesystem;

namespace {

using Colour = std::array<std::uint8_t, 4>;

constexpr Colour Red{255, 0, 0, 0}, Green{0, 255, 0, 0}, Blue{0, 0, 255, 0}, White{255, 255, 255, 0}, Black{0, 0, 0, 0};

// Four flat 8 x 8 blocks, so the lossy coding keeps each colour almost exactly.
JpegOptions Quadrants(JpegKind kind, Colour topLeft, Colour topRight, Colour bottomLeft, Colour bottomRight) {
    JpegOptions jpeg;
    jpeg.kind = kind;
    jpeg.pixel = [=](int x, int r) {
        return r < 8 ? (x < 8 ? topLeft : topRight) : (x < 8 ? bottomLeft : bottomRight);
    };
    return jpeg;
}

// The pixel at the centre of each block, top left first, is within 3 of the
// red, green, blue colour wanted.
void ExpectBlocks(const Picture& picture, const std::array<Colour, 4>& want) {
    ASSERT_EQ(picture.format, PixelFormat::Bgr24);
    const int at[4][2] = {{4, 4}, {12, 4}, {4, 12}, {12, 12}};
    for (int i = 0; i < 4; ++i)
        for (int c = 0; c < 3; ++c) {
            const int got = PixelAt(picture, at[i][0], at[i][1])[2 - c];
            EXPECT_LE(std::abs(got - want[i][c]), 3) << "block " << i << ", channel " << c << ": " << got;
        }
}

}  // namespace

TEST(JpegDecoder, ColourGreyAndProgressiveFilesGiveBgr24) {
    for (bool progressive : {false, true}) {
        JpegOptions jpeg = Quadrants(JpegKind::Colour, Red, Green, Blue, White);
        jpeg.progressive = progressive;
        const Picture picture = DecodeJpeg(BuildJpeg(jpeg));
        EXPECT_EQ(picture.width, 16);
        EXPECT_EQ(picture.height, 16);
        EXPECT_EQ(picture.sourceBitCount, 24);
        ExpectBlocks(picture, {Red, Green, Blue, White});
    }
    const Picture grey = DecodeJpeg(BuildJpeg(Quadrants(JpegKind::Grey, {0}, {90}, {180}, {255})));
    ASSERT_EQ(grey.format, PixelFormat::Bgr24);
    for (int r = 0; r < grey.height; ++r)
        for (int x = 0; x < grey.width; ++x) {
            const Bytes p = PixelAt(grey, x, r);
            ASSERT_TRUE(p[0] == p[1] && p[1] == p[2]) << x << ", " << r;
        }
    ExpectBlocks(grey, {Colour{0, 0, 0}, Colour{90, 90, 90}, Colour{180, 180, 180}, White});
}

TEST(JpegDecoder, EveryCutFileIsRefusedAndDamagedOnesAreReadOrRefusedCleanly) {
    JpegOptions jpeg = Quadrants(JpegKind::Colour, Red, Green, Blue, White);
    jpeg.progressive = true;
    const std::string bytes = BuildJpeg(jpeg);
    for (std::size_t length = 0; length < bytes.size(); ++length)
        EXPECT_NE(MessageOf<PictureError>([&] { DecodeJpeg(bytes.substr(0, length)); }), kNoError)
            << "cut at " << length;
    EXPECT_EQ(MessageOf<PictureError>([&] { DecodeJpeg(bytes.substr(0, bytes.size() / 2)); }),
              "The JPEG file is cut short.");

    const std::string baseline = BuildJpeg(Quadrants(JpegKind::Colour, Red, Green, Blue, White));
    for (std::size_t at = 0; at < baseline.size(); at += 3)
        for (unsigned flip : {0x01u, 0xFFu}) {
            std::string damaged = baseline;
            damaged[at] = static_cast<char>(damaged[at] ^ flip);
            try {
                const Picture picture = DecodeJpeg(damaged);
                EXPECT_EQ(picture.pixels.size(), picture.stride() * picture.height);
            } catch (const PictureError&) {
            }
        }
}

namespace {

// Every byte different, so a pixel that lands in the wrong place shows.
Picture Numbered(int width, int height, PixelFormat format) {
    Picture picture;
    picture.allocate(width, height, format);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) picture.pixels[i] = static_cast<std::uint8_t>(i * 13 + 1);
    picture.dpiX = 100;
    picture.dpiY = 50;
    return picture;
}

constexpr PixelFormat AllFormats[] = {PixelFormat::Grey8, PixelFormat::Bgr24, PixelFormat::Bgra32};

}  // namespace

TEST(PictureEdits, FlipsMirrorPixelsAndTwiceGiveThePictureBack) {
    for (PixelFormat format : AllFormats)
        for (int width : {2, 3, 7})
            for (int height : {2, 3, 5}) {
                const Picture before = Numbered(width, height, format);
                Picture across = before, upsideDown = before;
                FlipBitmapHorizontal(across);
                FlipBitmapVertical(upsideDown);
                for (int r = 0; r < height; ++r)
                    for (int x = 0; x < width; ++x) {
                        ASSERT_EQ(PixelAt(across, x, r), PixelAt(before, width - 1 - x, r));
                        ASSERT_EQ(PixelAt(upsideDown, x, r), PixelAt(before, x, height - 1 - r));
                    }
                FlipBitmapHorizontal(across);
                FlipBitmapVertical(upsideDown);
                EXPECT_EQ(across.pixels, before.pixels);
                EXPECT_EQ(upsideDown.pixels, before.pixels);
            }
    // A length that is no whole number of pixels leaves the odd bytes alone.
    std::vector<std::uint8_t> row = {1, 2, 3, 4, 5, 6, 7};
    ReverseScanline(row.data(), row.size(), 3);
    EXPECT_EQ(row, (std::vector<std::uint8_t>{4, 5, 6, 1, 2, 3, 7}));
}

TEST(PictureEdits, CropCopiesTheRectangleAndRefusesOneOutside) {
    const Picture source = Numbered(6, 5, PixelFormat::Bgr24);
    const Picture cropped = CropBitmap(source, 2, 1, 3, 2);
    ASSERT_EQ(cropped.width, 3);
    ASSERT_EQ(cropped.height, 2);
    EXPECT_EQ(cropped.format, PixelFormat::Bgr24);
    EXPECT_EQ(cropped.dpiX, 100);
    for (int r = 0; r < 2; ++r)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(PixelAt(cropped, x, r), PixelAt(source, 2 + x, 1 + r));
    EXPECT_EQ(CropBitmap(source, 0, 0, 6, 5).pixels, source.pixels);
    EXPECT_THROW(CropBitmap(source, 5, 0, 2, 2), PictureError);
    EXPECT_THROW(CropBitmap(source, -1, 0, 2, 2), PictureError);
    EXPECT_THROW(CropBitmap(source, 0, 4, 2, 2), PictureError);
    EXPECT_THROW(CropBitmap(source, 0, 0, 1, 3), PictureError);
}

namespace {

class PictureFiles : public ::testing::Test {
protected:
    void SetUp() override {
        picture_.allocate(3, 2, PixelFormat::Grey8);
        picture_.pixels = {1, 2, 3, 4, 5, 6};
        picture_.dpiX = picture_.dpiY = 200;
    }

    // Writes bytes to folder/name and gives the path.
    fs::path Put(const std::string& name, const std::string& bytes) {
        WriteFileAtomically(folder_ / name, bytes);
        return folder_ / name;
    }

    TempFolder folder_{"picture_files"};
    Picture picture_;
};

}  // namespace

TEST_F(PictureFiles, BmpFilesAreWrittenWholeAndReadBack) {
    const fs::path file = folder_ / "picture.bmp";
    SaveBmpFile(file, picture_);
    EXPECT_EQ(LoadBmpFile(file).pixels, picture_.pixels);
    EXPECT_EQ(ReadBmpInfo(file).dpiX, 200);
    EXPECT_EQ(ReadBmpInfo(file).bitCount, 8);
    EXPECT_EQ(ReadBmpFileSize(file), fs::file_size(file));

    const std::string saved = ReadWholeFile(file);
    EXPECT_THROW(SaveBmpFile(file, Picture{}), PictureError);
    EXPECT_EQ(ReadWholeFile(file), saved);
    EXPECT_EQ(folder_.FileCount(), 1u);

    const fs::path cut = Put("cut.bmp", saved.substr(0, 60)), stub = Put("stub.bmp", "BM\1\2");
    EXPECT_NE(MessageOf<PictureError>([&] { LoadBmpFile(cut); }).find("cut.bmp"), std::string::npos);
    EXPECT_NE(MessageOf<PictureError>([&] { ReadBmpFileSize(stub); }).find("stub.bmp"), std::string::npos);
    EXPECT_THROW(LoadBmpFile(folder_ / "missing.bmp"), std::runtime_error);
}

namespace {

// A colour JPEG with a restart marker after every row of blocks.
std::string JpegWithRestarts(int width, int height) {
    return BuildJpeg({.width = width, .height = height, .restartInRows = 1, .pixel = [](int x, int r) {
                          const auto level = [&](int c) { return std::uint8_t(((x * 3 + c) * 7 + r * 13) % 256); };
                          return std::array<std::uint8_t, 4>{level(0), level(1), level(2), 0};
                      }});
}

TEST(PictureFileHardening, JpegDataDecodedByGuessingIsRefused) {
    const std::string sound = JpegWithRestarts(64, 48);
    const std::size_t sos = sound.find("\xFF\xDA");
    const std::size_t data = sos + 2 + static_cast<unsigned char>(sound[sos + 3]);  // the scan header is short
    std::string garbled = sound, swapped = sound, newerJfif = sound;
    for (std::size_t i = 0; i < 40; ++i) garbled[data + 100 + i] = static_cast<char>(0x5A ^ i);
    std::swap(swapped[swapped.find("\xFF\xD0") + 1], swapped[swapped.find("\xFF\xD1") + 1]);
    newerJfif[11] = 2;  // JFIF version 2.01: nothing about the pixels
    const std::pair<const char*, std::string> cases[] = {
        {"sound", sound},
        {"a newer JFIF version", newerJfif},
        {"garbled scan data", garbled},
        {"restart markers out of order", swapped},
        {"junk before a restart marker", std::string(sound).insert(sound.find("\xFF\xD0"), "junk")},
        {"a marker inside the scan", std::string(sound).insert(data + 50, "\xFF\xC4")},
    };
    TempFolder folder;
    const auto file = folder / "picture.jpg";
    for (std::size_t n = 0; n < std::size(cases); ++n) {
        WriteFileAtomically(file, cases[n].second);
        const std::string refusal = MessageOf<PictureError>([&] { LoadPictureFile(file); });
        EXPECT_EQ(refusal.find("\"" + file.string() + "\": The JPEG file is damaged"), n < 2 ? std::string::npos : 0)
            << cases[n].first << ": " << refusal;
        if (n < 2) {
            EXPECT_EQ(refusal, kNoError) << cases[n].first;
        }
    }
}

std::string Rle(int bits, int width, std::vector<std::uint8_t> stream) {
    BmpFields bmp{.width = width, .height = 2, .bitCount = bits, .compression = bits == 8 ? BmpRle8 : BmpRle4};
    bmp.palette = test::GreyPalette(1 << bits);
    bmp.pixels.assign(stream.begin(), stream.end());
    return BuildBmp(bmp);
}

// Rows are padded to whole 32-bit words: 5 pixels of 8 bits to 8, of 4 bits
// to 8 as well.
TEST(PictureFileHardening, RleRunsMayEndInsideTheRowPadding) {
    const struct {
        const char* name;
        std::string bytes;
        Bytes pixels;  // top row first; empty: refused past a row
    } cases[] = {
        {"RLE8 run to the end of the padding", Rle(8, 5, {8, 1, 0, 0, 5, 2, 0, 1}), {2, 2, 2, 2, 2, 1, 1, 1, 1, 1}},
        {"RLE8 absolute run into the padding",
         Rle(8, 5, {3, 4, 0, 3, 5, 6, 7, 0, 0, 0, 5, 2, 0, 1}),
         {2, 2, 2, 2, 2, 4, 4, 4, 5, 6}},
        {"RLE8 run into the padding of the top row",
         Rle(8, 5, {5, 1, 0, 0, 7, 2, 0, 1}),
         {2, 2, 2, 2, 2, 1, 1, 1, 1, 1}},
        {"RLE4 run into the padding", Rle(4, 5, {8, 0x12, 0, 0, 5, 0x33, 0, 1}), {3, 3, 3, 3, 3, 1, 2, 1, 2, 1}},
        {"RLE8 run past the padding", Rle(8, 5, {9, 1, 0, 1}), {}},
        {"RLE8 two runs past the padding", Rle(8, 5, {6, 1, 3, 1, 0, 1}), {}},
        {"RLE4 run past the padding", Rle(4, 5, {9, 0x12, 0, 1}), {}},
    };
    for (const auto& c : cases) {
        if (c.pixels.empty()) {
            EXPECT_NE(MessageOf<PictureError>([&] { DecodeBmp(c.bytes); }).find("past the end of a row"),
                      std::string::npos)
                << c.name;
            continue;
        }
        const std::string refusal =
            MessageOf<PictureError>([&] { EXPECT_EQ(DecodeBmp(c.bytes).picture.pixels, c.pixels) << c.name; });
        EXPECT_EQ(refusal, kNoError) << c.name;
    }
    // Past the last row is still refused.
    EXPECT_NE(MessageOf<PictureError>([&] {
                  DecodeBmp(Rle(8, 5, {5, 1, 0, 0, 5, 1, 0, 0, 5, 1, 0, 1}));
              }).find("past the last row"),
              std::string::npos);
}

// Names that denote no picture file: every reader of a picture name gives
// the picture error naming the file, at once (the kinds of names are tested
// with InputFile).
TEST(PictureFileHardening, NamesThatAreNoFilesGiveThePictureError) {
    TempFolder folder;
    std::filesystem::create_directory(folder / "folder.bmp");
    ASSERT_EQ(::mkfifo((folder / "pipe.jpg").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", folder / "zero.bmp");
    const std::pair<const char*, const char*> cases[] = {
        {"folder.bmp", "it is a folder"}, {"pipe.jpg", "it is a pipe"}, {"zero.bmp", "it is a device"}};
    for (const auto& [name, reason] : cases) {
        const auto file = folder / name;
        const std::string expected = "\"" + file.string() + "\": The picture cannot be read: " + reason;
        for (const std::function<void()>& read :
             {std::function<void()>([&] { LoadPictureFile(file); }), std::function<void()>([&] { ReadBmpInfo(file); }),
              std::function<void()>([&] { ReadJpegDensity(file); })})
            EXPECT_EQ(MessageOf<PictureError>(read).substr(0, expected.size()), expected);
    }
}

// A file that is mostly a hole reads at the speed of its headers: the
// decoders ask only for the bytes the headers call for, and a header over
// the size limits is refused before anything else is read.
TEST(PictureFileHardening, HeadersAreJudgedBeforeTheRestIsRead) {
    constexpr off_t Tebibyte = off_t{1} << 40;
    TempFolder folder;
    const auto withHole = [&](const char* name, const std::string& bytes) {
        const auto file = folder / name;
        WriteFileAtomically(file, bytes);
        EXPECT_EQ(::truncate(file.c_str(), Tebibyte), 0);
        return file;
    };
    const Picture small = DecodeBmp(BuildBmp(PlainBmp(24, 4, 4, [](int x, int r) { return x * 50u + r; }))).picture;
    BmpFields huge = PlainBmp(24, 4, 4, [](int, int) { return 0u; });
    huge.width = huge.height = 20000;
    std::string hugeJpeg = JpegWithRestarts(16, 16);
    const std::size_t frame = hugeJpeg.find("\xFF\xC0");
    for (std::size_t i = 5; i < 9; ++i) hugeJpeg[frame + i] = '\xFF';  // 65535 x 65535

    EXPECT_NE(
        MessageOf<PictureError>([&] { LoadPictureFile(withHole("huge.bmp", BuildBmp(huge))); }).find("100 million"),
        std::string::npos);
    EXPECT_NE(MessageOf<PictureError>([&] { LoadPictureFile(withHole("huge.jpg", hugeJpeg)); }).find("100 million"),
              std::string::npos);
    EXPECT_EQ(LoadPictureFile(withHole("small.bmp", EncodeBmp(small))).pixels, small.pixels);
    JobRecord record;
    record.postName = "fanuc_mm";
    const LoadedDocument document = ReadDocumentFile(withHole("job.pxm", EncodeDocument(small, record)));
    EXPECT_EQ(document.picture.pixels, small.pixels);
    ASSERT_TRUE(document.record) << document.recordProblem;
    EXPECT_EQ(*document.record, record);
}

}  // namespace

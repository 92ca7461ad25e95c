// Picture files as users meet them: JPEG data libjpeg could only guess at,
// RLE runs into the row padding, BMPs wrapping other formats, names that are
// no files, and files whose headers rule them out before their bulk is read.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "engine/document/JobDocument.h"
#include "engine/picture/BmpCodec.h"
#include "engine/picture/JpegDecoder.h"
#include "engine/picture/PictureFile.h"
#include "kernel/platform/AtomicFile.h"
#include "tests/engine/picture/PictureTestFiles.h"
#include "tests/support/TempFolder.h"

using namespace calvoro;
using namespace calvoro::test;

namespace {

// A colour JPEG with a restart marker after every row of blocks.
std::string JpegWithRestarts(int width, int height) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    info.restart_in_rows = 1;
    jpeg_start_compress(&info, TRUE);
    std::string row(static_cast<std::size_t>(width) * 3, '\0');
    while (info.next_scanline < info.image_height) {
        for (std::size_t i = 0; i < row.size(); ++i)
            row[i] = static_cast<char>((i * 7 + info.next_scanline * 13) % 256);
        auto* rows = reinterpret_cast<JSAMPROW>(row.data());
        jpeg_write_scanlines(&info, &rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string bytes(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return bytes;
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
        const std::string refusal = RefusalOf([&] { LoadPictureFile(file); });
        EXPECT_EQ(refusal.find("\"" + file.string() + "\": The JPEG file is damaged"), n < 2 ? std::string::npos : 0)
            << cases[n].first << ": " << refusal;
        if (n < 2) EXPECT_EQ(refusal, "(accepted)") << cases[n].first;
    }
}

std::string Rle(int bits, int width, std::vector<std::uint8_t> stream) {
    BmpFields bmp{.width = width, .height = 2, .bitCount = bits, .compression = bits == 8 ? BmpRle8 : BmpRle4};
    bmp.palette = GreyPalette(1 << bits);
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
            EXPECT_NE(RefusalOf([&] { DecodeBmp(c.bytes); }).find("past the end of a row"), std::string::npos)
                << c.name;
            continue;
        }
        const std::string refusal =
            RefusalOf([&] { EXPECT_EQ(DecodeBmp(c.bytes).picture.pixels, c.pixels) << c.name; });
        EXPECT_EQ(refusal, "(accepted)") << c.name;
    }
    // Past the last row is still refused.
    EXPECT_NE(RefusalOf([&] {
                  DecodeBmp(Rle(8, 5, {5, 1, 0, 0, 5, 1, 0, 0, 5, 1, 0, 1}));
              }).find("past the last row"),
              std::string::npos);
}

TEST(PictureFileHardening, BmpWrappingJpegOrPngIsNamed) {
    for (const auto& [compression, name] : {std::pair{BmpJpeg, "JPEG"}, std::pair{BmpPng, "PNG"}}) {
        BmpFields bmp{.bitCount = 0, .compression = compression};
        bmp.pixels = "\xFF\xD8\xFF\xE0 or \x89PNG data";
        EXPECT_EQ(RefusalOf([&] { DecodeBmp(BuildBmp(bmp)); }),
                  std::string("BMP files that hold a ") + name + " picture are not supported.");
    }
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
            EXPECT_EQ(RefusalOf(read).substr(0, expected.size()), expected);
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

    EXPECT_NE(RefusalOf([&] { LoadPictureFile(withHole("huge.bmp", BuildBmp(huge))); }).find("100 million"),
              std::string::npos);
    EXPECT_NE(RefusalOf([&] { LoadPictureFile(withHole("huge.jpg", hugeJpeg)); }).find("100 million"),
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

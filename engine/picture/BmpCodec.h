// Reading and writing Windows BMP files. The decoder takes the header sizes 12
// (OS/2 core), 40, 52, 56, 108 and 124; 1, 4, 8, 16, 24 and 32 bits per pixel;
// RLE8, RLE4 and bit fields; bottom-up and top-down rows. Every file becomes a
// Picture of Grey8, Bgr24 or Bgra32:
//   1, 4, 8 bits   through the palette: Grey8 when every colour the pixels use
//                  is a grey, otherwise Bgr24
//   16 bits        Bgr24 (5-5-5, or by the bit masks, scaled so 31 gives 255)
//   24 bits        Bgr24
//   32 bits        Bgra32
// A malformed file is refused with a PictureError naming what is wrong; the
// decoder never reads outside the bytes it was given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "engine/picture/Picture.h"

namespace calvoro {

class InputFile;

// BMP compression codes.
enum BmpCompression : std::uint32_t {
    BmpRgb = 0,
    BmpRle8 = 1,
    BmpRle4 = 2,
    BmpBitfields = 3,
    BmpJpeg = 4,
    BmpPng = 5,
    BmpAlphaBitfields = 6,
};

// What the headers of a BMP file say, checked for consistency.
struct BmpInfo {
    std::uint32_t fileSize = 0;     // bfSize, as the file declares it (not checked)
    std::uint32_t pixelOffset = 0;  // bfOffBits
    int headerSize = 0;             // 12, 40, 52, 56, 108 or 124
    int width = 0;
    int height = 0;  // always positive; see topDown
    bool topDown = false;
    int bitCount = 0;
    std::uint32_t compression = BmpRgb;
    int dpiX = 0;  // from the pixels per metre, 0 = none
    int dpiY = 0;

    bool compressed() const { return compression != BmpRgb; }
};

// The headers of a BMP file on disk or in memory. Throws PictureError when
// they are missing, cut short or inconsistent.
BmpInfo ReadBmpInfo(const std::filesystem::path& fileName);
BmpInfo BmpInfoFromBytes(std::string_view bytes);

// bfSize, the file length a BMP declares at offset 2: where the job record of
// a document starts. Throws PictureError when the bytes are no BMP file.
std::uint32_t ReadBmpFileSize(const std::filesystem::path& fileName);
std::uint32_t BmpFileSizeFromBytes(std::string_view bytes);

struct DecodedBmp {
    Picture picture;
    BmpInfo info;
    // Bytes from the start of the buffer up to the last one the picture
    // needed (headers, palette and pixel data, RLE up to its end mark).
    std::size_t bytesUsed = 0;
};

// Decodes a BMP that starts at bytes[0]; bytes after it are ignored.
DecodedBmp DecodeBmp(std::string_view bytes);
// Reads and decodes a BMP file; the message of a refusal names the file.
Picture LoadBmpFile(const std::filesystem::path& fileName);

// The bytes from the start of the file up to where the pixel data described
// by the headers must end (plain rows), or the longest RLE stream the picture
// can have.
std::uint64_t BmpExtent(const BmpInfo& info);
// The headers of the file, checked, and then the bytes up to BmpExtent (fewer
// when the file is shorter): all a decoder needs.
std::string ReadBmpBytes(const InputFile& file);

// A complete BMP file of the picture: 40-byte header, bottom-up rows without
// compression, 8 bits with the grey palette for Grey8, else 24 or 32 bits; the
// resolution is kept as pixels per metre and bfSize is the length.
std::string EncodeBmp(const Picture& picture);
// Writes the picture as a BMP file through a temporary file, so a failure
// leaves an existing file as it was.
void SaveBmpFile(const std::filesystem::path& fileName, const Picture& picture);

}  // namespace calvoro

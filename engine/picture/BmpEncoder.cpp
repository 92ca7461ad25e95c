// The BMP encoder: the plainest file every reader takes, so a saved document
// opens as a picture anywhere.
#include <cstring>
#include <limits>
#include <string>

#include "engine/picture/BmpCodec.h"
#include "engine/picture/GreyLevel.h"
#include "engine/picture/Resolution.h"
#include "kernel/platform/AtomicFile.h"

namespace calvoro {

namespace {

void PutU16(std::string& out, std::size_t at, std::uint32_t value) {
    out[at] = static_cast<char>(value & 0xFF);
    out[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

void PutU32(std::string& out, std::size_t at, std::uint32_t value) {
    PutU16(out, at, value & 0xFFFF);
    PutU16(out, at + 2, value >> 16);
}

}  // namespace

std::string EncodeBmp(const Picture& picture) {
    if (picture.empty()) throw PictureError("An empty picture cannot be written as BMP.");
    if (picture.pixels.size() != picture.stride() * static_cast<std::size_t>(picture.height))
        throw PictureError("The picture's pixels do not match its size.");
    const int bits = BytesPerPixel(picture.format) * 8;
    const bool grey = picture.format == PixelFormat::Grey8;
    const std::size_t paletteBytes = grey ? 256 * 4 : 0;
    const std::size_t stride = (static_cast<std::size_t>(picture.width) * bits + 31) / 32 * 4;
    const std::size_t imageBytes = stride * static_cast<std::size_t>(picture.height);
    const std::size_t pixelOffset = 14 + 40 + paletteBytes;
    const std::size_t fileSize = pixelOffset + imageBytes;
    if (fileSize > std::numeric_limits<std::uint32_t>::max())
        throw PictureError("The picture is too large for a BMP file.");

    std::string out(fileSize, '\0');
    out[0] = 'B';
    out[1] = 'M';
    PutU32(out, 2, static_cast<std::uint32_t>(fileSize));
    PutU32(out, 10, static_cast<std::uint32_t>(pixelOffset));
    PutU32(out, 14, 40);
    PutU32(out, 18, static_cast<std::uint32_t>(picture.width));
    PutU32(out, 22, static_cast<std::uint32_t>(picture.height));  // positive: bottom-up
    PutU16(out, 26, 1);
    PutU16(out, 28, static_cast<std::uint32_t>(bits));
    PutU32(out, 30, BmpRgb);
    PutU32(out, 34, static_cast<std::uint32_t>(imageBytes));
    PutU32(out, 38, static_cast<std::uint32_t>(DpiToPixelsPerMetre(picture.dpiX)));
    PutU32(out, 42, static_cast<std::uint32_t>(DpiToPixelsPerMetre(picture.dpiY)));
    PutU32(out, 46, grey ? 256 : 0);
    if (grey) {
        const GreyPalette palette = MakeGreyPalette();
        for (std::size_t i = 0; i < palette.size(); ++i) {
            out[54 + 4 * i] = static_cast<char>(palette[i].blue);
            out[54 + 4 * i + 1] = static_cast<char>(palette[i].green);
            out[54 + 4 * i + 2] = static_cast<char>(palette[i].red);
        }
    }
    for (int i = 0; i < picture.height; ++i)
        std::memcpy(out.data() + pixelOffset + stride * i, picture.row(picture.height - 1 - i), picture.stride());
    return out;
}

void SaveBmpFile(const std::filesystem::path& fileName, const Picture& picture) {
    WriteFileAtomically(fileName, EncodeBmp(picture));
}

}  // namespace calvoro

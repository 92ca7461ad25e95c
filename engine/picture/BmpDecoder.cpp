// The BMP decoder: headers, palette, plain rows, bit fields and RLE, every
// offset and count checked against the bytes at hand before it is used.
#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <string>
#include <vector>

#include "engine/picture/BmpCodec.h"
#include "engine/picture/GreyLevel.h"
#include "engine/picture/LargeBuffer.h"
#include "engine/picture/PictureFileError.h"
#include "engine/picture/Resolution.h"
#include "kernel/platform/AtomicFile.h"
#include "kernel/platform/InputFile.h"

namespace calvoro {

namespace {

constexpr std::size_t FileHeaderSize = 14;
constexpr std::size_t LargestHeaders = FileHeaderSize + 124 + 16;

std::uint16_t ReadU16(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(bytes[at]) | static_cast<std::uint8_t>(bytes[at + 1])
                                                                                 << 8);
}

std::uint32_t ReadU32(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint32_t>(ReadU16(bytes, at)) | static_cast<std::uint32_t>(ReadU16(bytes, at + 2)) << 16;
}

std::int32_t ReadI32(std::string_view bytes, std::size_t at) {
    return static_cast<std::int32_t>(ReadU32(bytes, at));
}

std::string Number(long long value) {
    return std::to_string(value);
}

// One colour channel described by a bit mask: where it sits in the pixel and
// how its values scale to 0..255.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::vector<std::uint8_t> toByte;  // indexed by (pixel & mask) >> shift

    explicit Channel(std::uint32_t m = 0) : mask(m) {
        if (mask == 0) return;
        shift = std::countr_zero(mask);
        const std::uint32_t top = mask >> shift;
        toByte.resize(static_cast<std::size_t>(top) + 1);
        for (std::uint32_t v = 0; v <= top; ++v)
            toByte[v] = static_cast<std::uint8_t>((static_cast<std::uint64_t>(v) * 255 + top / 2) / top);
    }
    std::uint8_t operator()(std::uint32_t pixel) const { return mask == 0 ? 0 : toByte[(pixel & mask) >> shift]; }
};

// Everything the headers say, beyond the public BmpInfo.
struct BmpLayout {
    BmpInfo info;
    std::size_t paletteOffset = 0;  // the palette follows the headers and any separate masks
    std::size_t paletteEntrySize = 4;
    std::uint32_t paletteEntries = 0;      // entries the header declares, at most 2^bitCount
    std::array<std::uint32_t, 4> masks{};  // red, green, blue, alpha
};

void CheckMasks(const BmpLayout& layout) {
    const int bits = layout.info.bitCount;
    for (std::uint32_t mask : layout.masks) {
        if (mask == 0) continue;
        if (bits < 32 && (mask >> bits) != 0)
            throw PictureError("A BMP colour mask has bits outside its " + Number(bits) + "-bit pixels.");
        const std::uint32_t shifted = mask >> std::countr_zero(mask);
        if ((shifted & (shifted + 1)) != 0) throw PictureError("A BMP colour mask is not one run of bits.");
        if (std::popcount(mask) > 16) throw PictureError("A BMP colour mask is wider than 16 bits.");
    }
    if (layout.masks[0] == 0 && layout.masks[1] == 0 && layout.masks[2] == 0)
        throw PictureError("The BMP colour masks are all empty.");
}

BmpLayout ParseHeaders(std::string_view bytes) {
    if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M')
        throw PictureError("This is no BMP file: it does not start with \"BM\".", PictureErrorKind::NotPicture);
    if (bytes.size() < FileHeaderSize + 4) throw PictureError("The BMP file is cut short inside its header.");
    BmpLayout layout;
    BmpInfo& info = layout.info;
    info.fileSize = ReadU32(bytes, 2);
    info.pixelOffset = ReadU32(bytes, 10);
    const std::uint32_t headerSize = ReadU32(bytes, 14);
    if (headerSize != 12 && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 &&
        headerSize != 124)
        throw PictureError("BMP files with a " + Number(headerSize) + "-byte header are not supported.",
                           PictureErrorKind::Unsupported);
    info.headerSize = static_cast<int>(headerSize);
    if (bytes.size() < FileHeaderSize + headerSize) throw PictureError("The BMP file is cut short inside its header.");

    long long width = 0;
    long long height = 0;
    int planes = 0;
    std::int32_t pixelsPerMetreX = 0;
    std::int32_t pixelsPerMetreY = 0;
    std::uint32_t coloursUsed = 0;
    if (headerSize == 12) {
        width = ReadU16(bytes, 18);
        height = ReadU16(bytes, 20);
        planes = ReadU16(bytes, 22);
        info.bitCount = ReadU16(bytes, 24);
        layout.paletteEntrySize = 3;
    } else {
        width = ReadI32(bytes, 18);
        height = ReadI32(bytes, 22);
        planes = ReadU16(bytes, 26);
        info.bitCount = ReadU16(bytes, 28);
        info.compression = ReadU32(bytes, 30);
        pixelsPerMetreX = ReadI32(bytes, 38);
        pixelsPerMetreY = ReadI32(bytes, 42);
        coloursUsed = ReadU32(bytes, 46);
    }
    if (height < 0) {
        info.topDown = true;
        height = -height;
    }
    // A BMP wrapping a JPEG or PNG stream gives no bit count of its own, so
    // the compression is named before the bit count is judged.
    if (info.compression == BmpJpeg)
        throw PictureError("BMP files that hold a JPEG picture are not supported.", PictureErrorKind::Unsupported);
    if (info.compression == BmpPng)
        throw PictureError("BMP files that hold a PNG picture are not supported.", PictureErrorKind::Unsupported);
    if (planes != 1) throw PictureError("The BMP header gives " + Number(planes) + " planes instead of 1.");
    CheckPictureSize(width, height);
    info.width = static_cast<int>(width);
    info.height = static_cast<int>(height);
    const int bits = info.bitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        throw PictureError("BMP files with " + Number(bits) + " bits per pixel are not supported.",
                           PictureErrorKind::Unsupported);

    switch (info.compression) {
        case BmpRgb:
            break;
        case BmpRle8:
        case BmpRle4:
            if (bits != (info.compression == BmpRle8 ? 8 : 4))
                throw PictureError("The BMP header names RLE" + std::string(info.compression == BmpRle8 ? "8" : "4") +
                                   " compression for " + Number(bits) + "-bit pixels.");
            if (info.topDown) throw PictureError("The BMP header names RLE compression for top-down rows.");
            break;
        case BmpBitfields:
        case BmpAlphaBitfields:
            if (bits != 16 && bits != 32)
                throw PictureError("The BMP header names colour masks for " + Number(bits) + "-bit pixels.");
            break;
        default:
            throw PictureError("BMP compression " + Number(info.compression) + " is not supported.",
                               PictureErrorKind::Unsupported);
    }

    std::size_t headersEnd = FileHeaderSize + headerSize;
    if (info.compression == BmpBitfields || info.compression == BmpAlphaBitfields) {
        // Header 40 keeps its masks after the header; larger headers hold
        // red, green and blue, and from 56 bytes on alpha as well.
        const std::size_t masksAt = FileHeaderSize + 40;
        int count = headerSize >= 56 ? 4 : 3;
        if (headerSize == 40) {
            count = info.compression == BmpAlphaBitfields ? 4 : 3;
            headersEnd += 4 * static_cast<std::size_t>(count);
        }
        if (bytes.size() < masksAt + 4 * static_cast<std::size_t>(count))
            throw PictureError("The BMP file is cut short inside its colour masks.");
        for (int i = 0; i < count; ++i) layout.masks[i] = ReadU32(bytes, masksAt + 4 * i);
        CheckMasks(layout);
    } else if (bits == 16) {
        layout.masks = {0x7C00, 0x03E0, 0x001F, 0};
    } else if (bits == 32) {
        layout.masks = {0xFF0000, 0xFF00, 0xFF, 0};
    }

    layout.paletteOffset = headersEnd;
    if (bits <= 8) {
        const std::uint32_t most = 1u << bits;
        layout.paletteEntries = coloursUsed == 0 || coloursUsed > most ? most : coloursUsed;
    }
    info.dpiX = PixelsPerMetreToDpi(pixelsPerMetreX);
    info.dpiY = PixelsPerMetreToDpi(pixelsPerMetreY);
    return layout;
}

// Palette pictures are decoded to their indices first, so that the colours
// they really use decide between Grey8 and Bgr24.
class IndexedPixels {
public:
    IndexedPixels(int width, int height) { indices_.allocate(width, height, PixelFormat::Grey8); }

    std::uint8_t* row(int r) { return indices_.row(r); }
    void markUsed(std::uint8_t index) { used_[index] = true; }
    void markRowUsed(int r) {
        const std::uint8_t* p = indices_.row(r);
        for (int x = 0; x < indices_.width; ++x) used_[p[x]] = true;
    }

    // The picture through the palette; throws when a pixel's index lies past it.
    Picture finish(const std::vector<PaletteEntry>& palette) {
        bool grey = true;
        for (std::size_t i = 0; i < used_.size(); ++i) {
            if (!used_[i]) continue;
            if (i >= palette.size())
                throw PictureError("A BMP pixel uses colour " + Number(static_cast<long long>(i)) +
                                   " of a palette of " + Number(static_cast<long long>(palette.size())) + " colours.");
            grey = grey && palette[i].red == palette[i].green && palette[i].green == palette[i].blue;
        }
        if (grey) {
            std::array<std::uint8_t, 256> level{};
            for (std::size_t i = 0; i < palette.size(); ++i) level[i] = palette[i].red;
            for (std::uint8_t& p : indices_.pixels) p = level[p];
            return std::move(indices_);
        }
        Picture colour;
        colour.allocate(indices_.width, indices_.height, PixelFormat::Bgr24);
        const std::uint8_t* from = indices_.pixels.data();
        std::uint8_t* to = colour.pixels.data();
        for (std::size_t n = indices_.pixels.size(); n > 0; --n, ++from, to += 3) {
            const PaletteEntry& entry = palette[*from];
            to[0] = entry.blue;
            to[1] = entry.green;
            to[2] = entry.red;
        }
        return colour;
    }

private:
    Picture indices_;
    std::array<bool, 256> used_{};
};

std::vector<PaletteEntry> ReadPalette(std::string_view bytes, const BmpLayout& layout) {
    const std::size_t available = (layout.info.pixelOffset - layout.paletteOffset) / layout.paletteEntrySize;
    const std::size_t count = std::min<std::size_t>(layout.paletteEntries, available);
    if (count == 0)
        throw PictureError("The BMP file has no palette for its " + Number(layout.info.bitCount) + "-bit pixels.");
    std::vector<PaletteEntry> palette(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = layout.paletteOffset + i * layout.paletteEntrySize;
        palette[i].blue = static_cast<std::uint8_t>(bytes[at]);
        palette[i].green = static_cast<std::uint8_t>(bytes[at + 1]);
        palette[i].red = static_cast<std::uint8_t>(bytes[at + 2]);
    }
    return palette;
}

// Plain rows take stride bytes each, but the padding after the last row
// stored may be missing. Checked before anything is allocated, so a short file
// that claims a huge picture costs nothing.
struct RowLayout {
    std::size_t rowBytes = 0;
    std::size_t stride = 0;
    std::size_t needed = 0;
    std::size_t end = 0;  // offset just past the pixel data used
};

RowLayout CheckRowsPresent(std::string_view bytes, const BmpInfo& info) {
    RowLayout rows;
    rows.rowBytes = (static_cast<std::size_t>(info.width) * info.bitCount + 7) / 8;
    rows.stride = (static_cast<std::size_t>(info.width) * info.bitCount + 31) / 32 * 4;
    rows.needed = rows.stride * (info.height - 1) + rows.rowBytes;
    const std::size_t available = bytes.size() - info.pixelOffset;
    if (available < rows.needed)
        throw PictureError("The BMP pixel data is cut short: " + Number(static_cast<long long>(available)) + " of " +
                           Number(static_cast<long long>(rows.needed)) + " bytes.");
    rows.end = info.pixelOffset + std::min(available, rows.stride * info.height);
    return rows;
}

// 24-bit rows, and 32-bit rows in the usual channel order, are the picture's
// own rows.
bool PlainCopy(const BmpLayout& layout) {
    const auto& masks = layout.masks;
    return layout.info.bitCount == 24 || (layout.info.bitCount == 32 && masks[0] == 0xFF0000 && masks[1] == 0xFF00 &&
                                          masks[2] == 0xFF && (masks[3] == 0 || masks[3] == 0xFF000000u));
}

// The common case runs at memory speed: each row is appended once to fresh
// memory, top row first, with nothing zeroed before.
std::size_t CopyRows(std::string_view bytes, const BmpInfo& info, const RowLayout& rows, Picture& out) {
    out.width = info.width;
    out.height = info.height;
    out.format = info.bitCount == 32 ? PixelFormat::Bgra32 : PixelFormat::Bgr24;
    ReserveLargeBuffer(out.pixels, rows.rowBytes * info.height);
    const char* start = bytes.data() + info.pixelOffset;
    for (int r = 0; r < info.height; ++r) {
        const auto* in =
            reinterpret_cast<const std::uint8_t*>(start + rows.stride * (info.topDown ? r : info.height - 1 - r));
        out.pixels.insert(out.pixels.end(), in, in + rows.rowBytes);
    }
    return rows.end;
}

// Plain rows of palette indices or of masked colours.
std::size_t DecodeRows(std::string_view bytes, const BmpLayout& layout, const RowLayout& rows, Picture& out,
                       IndexedPixels* indexed) {
    const BmpInfo& info = layout.info;
    const int width = info.width;
    const int height = info.height;
    const int bits = info.bitCount;
    const std::size_t stride = rows.stride;
    const Channel red(layout.masks[0]), green(layout.masks[1]), blue(layout.masks[2]), alpha(layout.masks[3]);

    for (int i = 0; i < height; ++i) {
        const int r = info.topDown ? i : height - 1 - i;
        const auto* in = reinterpret_cast<const std::uint8_t*>(bytes.data()) + info.pixelOffset + stride * i;
        if (indexed) {
            std::uint8_t* to = indexed->row(r);
            if (bits == 8) {
                std::memcpy(to, in, static_cast<std::size_t>(width));
            } else {
                const int perByte = 8 / bits;
                const int mask = (1 << bits) - 1;
                for (int x = 0; x < width; ++x) {
                    const int shift = 8 - bits * (x % perByte + 1);
                    to[x] = static_cast<std::uint8_t>((in[x / perByte] >> shift) & mask);
                }
            }
            indexed->markRowUsed(r);
        } else {
            std::uint8_t* to = out.row(r);
            const int size = bits / 8;
            for (int x = 0; x < width; ++x, in += size, to += BytesPerPixel(out.format)) {
                std::uint32_t pixel = in[0] | static_cast<std::uint32_t>(in[1]) << 8;
                if (size == 4)
                    pixel |= static_cast<std::uint32_t>(in[2]) << 16 | static_cast<std::uint32_t>(in[3]) << 24;
                to[0] = blue(pixel);
                to[1] = green(pixel);
                to[2] = red(pixel);
                if (size == 4) to[3] = alpha(pixel);
            }
        }
    }
    return rows.end;
}

// RLE8 and RLE4 streams, always bottom-up. Pixels the stream skips keep
// colour 0. A run may reach into the padding that rounds a row up to whole
// 32-bit words, as common encoders write it; the pixels past the width are
// dropped. Returns the offset just past the end-of-picture mark.
std::size_t DecodeRle(std::string_view bytes, const BmpLayout& layout, IndexedPixels& indexed) {
    const BmpInfo& info = layout.info;
    const bool four = info.compression == BmpRle4;
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const std::size_t end = bytes.size();
    std::size_t at = info.pixelOffset;
    long long x = 0;
    long long y = 0;  // counted from the bottom row
    // Every pixel is written at most once (runs and jumps only move on), so
    // counting them tells whether any were skipped.
    long long written = 0;
    const long long paddedWidth =
        static_cast<long long>((static_cast<std::size_t>(info.width) * info.bitCount + 31) / 32 * 32 / info.bitCount);
    const auto need = [&](std::size_t count) {
        if (end - at < count) throw PictureError("The BMP RLE data ends before its end-of-picture mark.");
    };
    // Where a run of count pixels goes, and how many of them lie inside the
    // picture.
    struct Run {
        std::uint8_t* to;
        int shown;
    };
    const auto place = [&](long long count) -> Run {
        if (y >= info.height) throw PictureError("The BMP RLE data runs past the last row of the picture.");
        if (x + count > paddedWidth) throw PictureError("A BMP RLE run goes past the end of a row.");
        const long long shown = std::max(0LL, std::min<long long>(count, info.width - x));
        std::uint8_t* to = indexed.row(static_cast<int>(info.height - 1 - y)) + std::min<long long>(x, info.width);
        x += count;
        written += shown;
        return {to, static_cast<int>(shown)};
    };
    for (;;) {
        need(2);
        const int count = data[at];
        const int value = data[at + 1];
        at += 2;
        if (count > 0) {
            const Run run = place(count);
            if (run.shown == 0) continue;
            if (four) {
                const auto even = static_cast<std::uint8_t>(value >> 4);
                const auto odd = static_cast<std::uint8_t>(value & 15);
                for (int k = 0; k < run.shown; ++k) run.to[k] = k % 2 == 0 ? even : odd;
                indexed.markUsed(even);
                if (run.shown > 1) indexed.markUsed(odd);
            } else {
                std::memset(run.to, value, static_cast<std::size_t>(run.shown));
                indexed.markUsed(static_cast<std::uint8_t>(value));
            }
        } else if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            // Skipped pixels show colour 0, which then decides Grey8 or Bgr24
            // like every colour the runs use.
            if (written < static_cast<long long>(info.width) * info.height) indexed.markUsed(0);
            return at;
        } else if (value == 2) {
            need(2);
            x += data[at];
            y += data[at + 1];
            at += 2;
            if (x > info.width || y > info.height)
                throw PictureError("A BMP RLE jump goes past the edge of the picture.");
        } else {
            const std::size_t stored = four ? (static_cast<std::size_t>(value) + 1) / 2 : value;
            need(stored + stored % 2);  // absolute runs are padded to a whole word
            const Run run = place(value);
            for (int k = 0; k < run.shown; ++k) {
                std::uint8_t index =
                    four ? static_cast<std::uint8_t>(k % 2 == 0 ? data[at + k / 2] >> 4 : data[at + k / 2] & 15)
                         : data[at + k];
                run.to[k] = index;
                indexed.markUsed(index);
            }
            at += stored + stored % 2;
        }
    }
}

}  // namespace

BmpInfo BmpInfoFromBytes(std::string_view bytes) {
    return ParseHeaders(bytes).info;
}

BmpInfo ReadBmpInfo(const std::filesystem::path& fileName) {
    return WithFileName(fileName, [&] { return BmpInfoFromBytes(ReadFileStart(fileName, LargestHeaders)); });
}

std::uint32_t BmpFileSizeFromBytes(std::string_view bytes) {
    if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M')
        throw PictureError("This is no BMP file: it does not start with \"BM\".", PictureErrorKind::NotPicture);
    if (bytes.size() < FileHeaderSize) throw PictureError("The BMP file is cut short inside its header.");
    return ReadU32(bytes, 2);
}

std::uint32_t ReadBmpFileSize(const std::filesystem::path& fileName) {
    return WithFileName(fileName, [&] { return BmpFileSizeFromBytes(ReadFileStart(fileName, FileHeaderSize)); });
}

DecodedBmp DecodeBmp(std::string_view bytes) {
    const BmpLayout layout = ParseHeaders(bytes);
    const BmpInfo& info = layout.info;
    if (info.pixelOffset < layout.paletteOffset)
        throw PictureError("The BMP pixel data offset " + Number(info.pixelOffset) + " points into its header.");
    if (info.pixelOffset > bytes.size())
        throw PictureError("The BMP pixel data offset " + Number(info.pixelOffset) + " lies past the end of the " +
                           Number(static_cast<long long>(bytes.size())) + "-byte file.");

    DecodedBmp result;
    result.info = info;
    const bool rle = info.compression == BmpRle8 || info.compression == BmpRle4;
    const RowLayout rows = rle ? RowLayout{} : CheckRowsPresent(bytes, info);
    if (info.bitCount <= 8) {
        const std::vector<PaletteEntry> palette = ReadPalette(bytes, layout);
        IndexedPixels indexed(info.width, info.height);
        result.bytesUsed =
            rle ? DecodeRle(bytes, layout, indexed) : DecodeRows(bytes, layout, rows, result.picture, &indexed);
        result.picture = indexed.finish(palette);
    } else if (PlainCopy(layout)) {
        result.bytesUsed = CopyRows(bytes, info, rows, result.picture);
    } else {
        result.picture.allocate(info.width, info.height,
                                info.bitCount == 32 ? PixelFormat::Bgra32 : PixelFormat::Bgr24);
        result.bytesUsed = DecodeRows(bytes, layout, rows, result.picture, nullptr);
    }
    result.picture.dpiX = info.dpiX;
    result.picture.dpiY = info.dpiY;
    result.picture.sourceBitCount = info.bitCount;
    return result;
}

std::uint64_t BmpExtent(const BmpInfo& info) {
    const auto pixels = static_cast<std::uint64_t>(info.width) * static_cast<std::uint64_t>(info.height);
    if (info.compression == BmpRle8 || info.compression == BmpRle4) {
        // The longest stream that moves on with every code: a one-pixel jump
        // (four bytes) for every pixel, an end of row for every row, the end
        // mark.
        return info.pixelOffset + 4 * pixels + 2 * static_cast<std::uint64_t>(info.height) + 2;
    }
    const std::uint64_t stride = (static_cast<std::uint64_t>(info.width) * info.bitCount + 31) / 32 * 4;
    return info.pixelOffset + stride * static_cast<std::uint64_t>(info.height);
}

std::string ReadBmpBytes(const InputFile& file) {
    // The headers are judged first, so a picture over the size limits or a
    // file with a long tail costs no more than its headers to refuse or read.
    const BmpInfo info = BmpInfoFromBytes(file.read(0, LargestHeaders));
    return file.read(0, static_cast<std::size_t>(std::min(BmpExtent(info), file.size())));
}

Picture LoadBmpFile(const std::filesystem::path& fileName) {
    return WithFileName(fileName, [&] { return DecodeBmp(ReadBmpBytes(InputFile(fileName))).picture; });
}

}  // namespace calvoro

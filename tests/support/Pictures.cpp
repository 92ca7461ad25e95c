// Picture files and helpers made by the tests.
#include "tests/support/Pictures.h"

#include <cstdlib>

#include <jpeglib.h>

namespace calvoro::test {

namespace {

// value as `bytes` little-endian bytes.
std::string Le(std::uint32_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
    return out;
}

std::size_t Stride(int width, int bitCount) {
    return (static_cast<std::size_t>(width) * bitCount + 31) / 32 * 4;
}

// Plain rows of a picture whose pixel at column x, row r (r = 0 the top row)
// has the value value(x, r): bitCount bits a pixel, most significant first
// below 8 bits, little-endian above; rows padded to 4 bytes, bottom row
// first unless topDown.
std::string PackRows(int width, int height, int bitCount, bool topDown,
                     const std::function<std::uint32_t(int, int)>& value) {
    const std::size_t stride = Stride(width, bitCount);
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

}  // namespace

std::string BuildBmp(const BmpFields& bmp) {
    const auto u32 = [](auto value) { return Le(static_cast<std::uint32_t>(value), 4); };
    const auto u16 = [](auto value) { return Le(static_cast<std::uint32_t>(value), 2); };
    // File size and pixel offset are set at the end.
    std::string out = "BM" + u32(0) + u32(0) + u32(0) + u32(bmp.headerSize);
    if (bmp.headerSize == 12) {
        out += u16(bmp.width) + u16(bmp.height) + u16(bmp.planes) + u16(bmp.bitCount);
    } else {
        out += u32(bmp.width) + u32(bmp.topDown ? -bmp.height : bmp.height) + u16(bmp.planes) + u16(bmp.bitCount) +
               u32(bmp.compression) + u32(bmp.pixels.size()) + u32(bmp.pixelsPerMetreX) + u32(bmp.pixelsPerMetreY) +
               u32(bmp.coloursUsed) + u32(0);
        std::size_t mask = 0;
        while (out.size() < 14u + bmp.headerSize) out += u32(mask < bmp.masks.size() ? bmp.masks[mask++] : 0);
        if (bmp.headerSize == 40)
            for (std::uint32_t m : bmp.masks) out += u32(m);
    }
    for (const Rgb& entry : bmp.palette)
        out += Le(entry.blue | entry.green << 8 | entry.red << 16, bmp.headerSize == 12 ? 3 : 4);
    out.replace(10, 4, u32(bmp.pixelOffset.value_or(out.size())));
    out += bmp.pixels;
    out.replace(2, 4, u32(bmp.fileSize.value_or(out.size())));
    return out;
}

BmpFields PlainBmp(int bits, int width, int height, const std::function<std::uint32_t(int, int)>& value, bool topDown) {
    BmpFields bmp;
    bmp.width = width, bmp.height = height, bmp.topDown = topDown, bmp.bitCount = bits;
    bmp.pixels = PackRows(width, height, bits, topDown, value);
    return bmp;
}

std::vector<Rgb> ColourPalette(int count) {
    std::vector<Rgb> palette;
    for (int i = 0; i < count; ++i)
        palette.push_back({std::uint8_t(i * 37 + 1), std::uint8_t(255 - i * 11), std::uint8_t(i * 91 + 7)});
    return palette;
}

std::vector<Rgb> GreyPalette(int count, bool inverted) {
    std::vector<Rgb> palette;
    for (int i = 0; i < count; ++i) {
        const auto level = std::uint8_t(inverted ? 255 - i : i);
        palette.push_back({level, level, level});
    }
    return palette;
}

std::string BuildJpeg(const JpegOptions& jpeg) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(jpeg.width);
    info.image_height = static_cast<JDIMENSION>(jpeg.height);
    const int components = jpeg.kind == JpegKind::Grey ? 1 : jpeg.kind == JpegKind::Colour ? 3 : 4;
    info.input_components = components;
    info.in_color_space = jpeg.kind == JpegKind::Grey     ? JCS_GRAYSCALE
                          : jpeg.kind == JpegKind::Colour ? JCS_RGB
                                                          : JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, jpeg.quality, TRUE);
    for (int c = 0; c < components; ++c) info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
    info.write_JFIF_header = jpeg.jfif && jpeg.app1.empty() ? TRUE : FALSE;
    info.density_unit = static_cast<UINT8>(jpeg.densityUnit);
    info.X_density = static_cast<UINT16>(jpeg.densityX);
    info.Y_density = static_cast<UINT16>(jpeg.densityY);
    if (jpeg.kind == JpegKind::Cmyk) info.write_Adobe_marker = jpeg.adobeMarker ? TRUE : FALSE;
    if (jpeg.progressive) jpeg_simple_progression(&info);
    info.restart_in_rows = jpeg.restartInRows;
    jpeg_start_compress(&info, TRUE);
    if (!jpeg.app1.empty())
        jpeg_write_marker(&info, JPEG_APP0 + 1, reinterpret_cast<const JOCTET*>(jpeg.app1.data()),
                          static_cast<unsigned>(jpeg.app1.size()));
    std::vector<unsigned char> row(static_cast<std::size_t>(jpeg.width) * components);
    while (info.next_scanline < info.image_height) {
        for (int x = 0; x < jpeg.width; ++x) {
            const auto p = jpeg.pixel(x, static_cast<int>(info.next_scanline));
            for (int c = 0; c < components; ++c) row[static_cast<std::size_t>(x) * components + c] = p[c];
        }
        JSAMPROW rows = row.data();
        jpeg_write_scanlines(&info, &rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string bytes(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return bytes;
}

Bytes PixelAt(const Picture& picture, int x, int r) {
    const int size = BytesPerPixel(picture.format);
    return {picture.row(r) + x * size, picture.row(r) + (x + 1) * size};
}

}  // namespace calvoro::test

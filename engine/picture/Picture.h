// The picture record shared by the whole engine: what a loaded BMP or JPEG
// becomes, what the picture edits change and what the height map is built
// from. Rows are stored top row first, tightly packed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace calvoro {

enum class PixelFormat : std::uint8_t {
    Grey8,   // one byte per pixel, the grey level itself (grey palette)
    Bgr24,   // blue, green, red
    Bgra32,  // blue, green, red, alpha (alpha unused)
};

inline constexpr int BytesPerPixel(PixelFormat format) {
    return format == PixelFormat::Grey8 ? 1 : format == PixelFormat::Bgr24 ? 3 : 4;
}

struct Picture {
    int width = 0;
    int height = 0;
    PixelFormat format = PixelFormat::Grey8;
    std::vector<std::uint8_t> pixels;  // height rows of width * BytesPerPixel(format) bytes
    int dpiX = 0;                      // resolution the file declared, 0 = none
    int dpiY = 0;

    bool empty() const { return width <= 0 || height <= 0; }
    std::size_t stride() const { return static_cast<std::size_t>(width) * BytesPerPixel(format); }
    // Row r, r = 0 being the top row of the picture.
    std::uint8_t* row(int r) { return pixels.data() + static_cast<std::size_t>(r) * stride(); }
    const std::uint8_t* row(int r) const { return pixels.data() + static_cast<std::size_t>(r) * stride(); }

    // Sets size and format and allocates zeroed pixels.
    void allocate(int w, int h, PixelFormat f) {
        width = w;
        height = h;
        format = f;
        pixels.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * BytesPerPixel(f), 0);
    }
};

}  // namespace calvoro

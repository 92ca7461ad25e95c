// A picture in memory as the canvas stretches it into a rectangle: 32-bit
// pixels 0xAARRGGBB (alpha unused), top row first, rows tightly packed. The
// layout is the one of the GUI's RGB32 images, so handing it over costs a copy
// at most.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace calvoro {

struct RasterImage {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Pixels;

    RasterImage() = default;
    RasterImage(int width, int height, std::uint32_t fill = 0xFF000000)
        : Width(width),
          Height(height),
          Pixels(static_cast<std::size_t>(width > 0 ? width : 0) * static_cast<std::size_t>(height > 0 ? height : 0),
                 fill) {}

    bool IsEmpty() const { return Width <= 0 || Height <= 0; }
    std::uint32_t& At(int x, int y) { return Pixels[static_cast<std::size_t>(y) * Width + x]; }
    std::uint32_t At(int x, int y) const { return Pixels[static_cast<std::size_t>(y) * Width + x]; }
};

}  // namespace calvoro

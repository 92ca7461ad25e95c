#include "engine/picture/PictureRaster.h"

#include "engine/picture/BmpCodec.h"
#include "kernel/entities/BmpImage.h"

namespace calvoro {

RasterImage ToRaster(const Picture& picture) {
    if (picture.empty()) return {};
    RasterImage raster(picture.width, picture.height);
    const int step = BytesPerPixel(picture.format);
    for (int r = 0; r < picture.height; ++r) {
        const std::uint8_t* source = picture.row(r);
        std::uint32_t* target = raster.Pixels.data() + static_cast<std::size_t>(r) * picture.width;
        for (int x = 0; x < picture.width; ++x, source += step) {
            const std::uint32_t blue = source[0];
            const std::uint32_t green = picture.format == PixelFormat::Grey8 ? blue : source[1];
            const std::uint32_t red = picture.format == PixelFormat::Grey8 ? blue : source[2];
            target[x] = 0xFF000000u | (red << 16) | (green << 8) | blue;
        }
    }
    return raster;
}

void InstallPictureDecoder() {
    SetBmpRasterDecoder([](std::string_view bmpFile) { return ToRaster(DecodeBmp(bmpFile).picture); });
}

}  // namespace calvoro

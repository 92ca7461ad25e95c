// Work size of a picture.
#include "engine/picture/ImageInfo.h"

#include <algorithm>
#include <utility>

#include "engine/picture/Picture.h"

namespace calvoro {

ImageInfo ComputeImageScale(ImageInfo info, int pixelWidth, int pixelHeight, int imageDpi, bool inches) {
    CheckPictureSize(pixelWidth, pixelHeight);
    info.PixelWidth = pixelWidth;
    info.PixelHeight = pixelHeight;
    // Each size is stored in single precision before it is turned into
    // millimetres, and so is the product.
    if (imageDpi > 0) {
        info.SizeX = static_cast<float>(static_cast<long double>(pixelWidth - 1) / imageDpi);
        info.SizeY = static_cast<float>(static_cast<long double>(pixelHeight - 1) / imageDpi);
        if (!inches) {
            info.SizeX = static_cast<float>(info.SizeX * 25.4L);
            info.SizeY = static_cast<float>(info.SizeY * 25.4L);
        }
    } else {
        info.SizeX = static_cast<float>(pixelWidth - 1);
        info.SizeY = static_cast<float>(pixelHeight - 1);
    }
    info.Scale = static_cast<float>(static_cast<long double>(info.SizeX) / (pixelWidth - 1));
    return info;
}

ImageInfo RotatedImageInfo(const ImageInfo& info) {
    ImageInfo turned = info;
    std::swap(turned.SizeX, turned.SizeY);
    std::swap(turned.PixelWidth, turned.PixelHeight);
    return turned;
}

ShadingResolution ChooseShadingResolution(int pixelWidth, int pixelHeight) {
    const int larger = std::max(pixelWidth, pixelHeight);
    if (larger <= 500) return ShadingResolution::Fine;
    if (larger <= 1000) return ShadingResolution::Medium;
    return ShadingResolution::Coarse;
}

}  // namespace calvoro

// Picture edits on the picture record.
#include "engine/picture/PictureEdits.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "engine/picture/GreyLevel.h"

namespace calvoro {

void FlipBitmapVertical(Picture& picture) {
    const std::size_t stride = picture.stride();
    std::vector<std::uint8_t> buffer(stride);
    for (int i = 0; i < picture.height / 2; ++i) {
        std::uint8_t* upper = picture.row(i);
        std::uint8_t* lower = picture.row(picture.height - 1 - i);
        std::memcpy(buffer.data(), upper, stride);
        std::memcpy(upper, lower, stride);
        std::memcpy(lower, buffer.data(), stride);
    }
}

void ReverseScanline(std::uint8_t* row, std::size_t length, int bytesPerPixel) {
    const std::size_t size = static_cast<std::size_t>(bytesPerPixel);
    const std::size_t count = length / size;
    for (std::size_t k = 0; k < count / 2; ++k)
        std::swap_ranges(row + k * size, row + (k + 1) * size, row + (count - 1 - k) * size);
}

void FlipBitmapHorizontal(Picture& picture) {
    for (int r = 0; r < picture.height; ++r)
        ReverseScanline(picture.row(r), picture.stride(), BytesPerPixel(picture.format));
}

void RotateBitmap90(Picture& picture) {
    Picture turned;
    turned.allocate(picture.height, picture.width, picture.format);
    const std::size_t size = static_cast<std::size_t>(BytesPerPixel(picture.format));
    for (int r = 0; r < turned.height; ++r) {
        std::uint8_t* to = turned.row(r);
        const std::size_t fromColumn = static_cast<std::size_t>(picture.width - 1 - r) * size;
        for (int c = 0; c < turned.width; ++c, to += size) std::memcpy(to, picture.row(c) + fromColumn, size);
    }
    turned.dpiX = picture.dpiY;
    turned.dpiY = picture.dpiX;
    turned.sourceBitCount = picture.sourceBitCount;
    picture = std::move(turned);
}

Picture CropBitmap(const Picture& source, int left, int top, int width, int height) {
    if (left < 0 || top < 0 || width < MinPictureSide || height < MinPictureSide || left > source.width - width ||
        top > source.height - height)
        throw PictureError("The crop rectangle (" + std::to_string(width) + " x " + std::to_string(height) +
                           " pixels at " + std::to_string(left) + ", " + std::to_string(top) +
                           ") does not lie inside the picture.");
    Picture cropped;
    cropped.allocate(width, height, source.format);
    const std::size_t size = static_cast<std::size_t>(BytesPerPixel(source.format));
    for (int r = 0; r < height; ++r)
        std::memcpy(cropped.row(r), source.row(top + r) + static_cast<std::size_t>(left) * size, cropped.stride());
    cropped.dpiX = source.dpiX;
    cropped.dpiY = source.dpiY;
    cropped.sourceBitCount = source.sourceBitCount;
    return cropped;
}

CropPlan ComputeCrop(const ImageInfo& image, const CutInfo& cut) {
    return ComputeCrop(image, cut, image.Scale, image.Scale);
}

CropPlan ComputeCrop(const ImageInfo& image, const CutInfo& cut, double pixelWidth, double pixelHeight) {
    const double scale = pixelWidth;
    const double scaleY = pixelHeight;
    if (!(scale > 0) || !std::isfinite(scale) || !(scaleY > 0) || !std::isfinite(scaleY) ||
        image.PixelWidth < MinPictureSide ||
        image.PixelHeight < MinPictureSide)
        throw PictureError("The picture has no usable scale to crop it by.");
    for (float value : {cut.X0, cut.Y0, cut.SizeX, cut.SizeY})
        if (!std::isfinite(value)) throw PictureError("The crop rectangle holds no usable numbers.");

    // Pixel edges as doubles: a rectangle far outside must not overflow.
    const double left = std::nearbyint(cut.X0 / scale);
    const double top = image.PixelHeight - 1 - std::nearbyint(cut.Y0 / scaleY);
    const double right = left + cut.PixelWidth;
    const double bottom = top + cut.PixelHeight;
    const double keptLeft = std::max(left, 0.0);
    const double keptTop = std::max(top, 0.0);
    const double keptRight = std::min(right, static_cast<double>(image.PixelWidth));
    const double keptBottom = std::min(bottom, static_cast<double>(image.PixelHeight));
    if (keptRight - keptLeft < MinPictureSide || keptBottom - keptTop < MinPictureSide)
        throw PictureError("The picked rectangle covers less than 2 x 2 pixels of the picture.");

    CropPlan plan;
    plan.pixels = {static_cast<int>(keptLeft), static_cast<int>(keptTop), static_cast<int>(keptRight - keptLeft),
                   static_cast<int>(keptBottom - keptTop)};
    const double sizeX = cut.SizeX - (keptLeft - left + right - keptRight) * scale;
    const double sizeY = cut.SizeY - (keptTop - top + bottom - keptBottom) * scaleY;
    if (!(sizeX > 0) || !(sizeY > 0)) throw PictureError("The picked rectangle has no size.");
    plan.image.X0 = 0;
    plan.image.Y0 = 0;
    plan.image.SizeX = static_cast<float>(sizeX);
    plan.image.SizeY = static_cast<float>(sizeY);
    plan.image.Scale = static_cast<float>(static_cast<double>(plan.image.SizeX) / (plan.pixels.width - 1));
    plan.image.PixelWidth = plan.pixels.width;
    plan.image.PixelHeight = plan.pixels.height;
    return plan;
}

void MakeGrayBitmap8(Picture& picture) {
    if (picture.format != PixelFormat::Grey8) {
        Picture grey;
        grey.allocate(picture.width, picture.height, PixelFormat::Grey8);
        const std::size_t size = static_cast<std::size_t>(BytesPerPixel(picture.format));
        const std::uint8_t* from = picture.pixels.data();
        for (std::uint8_t& level : grey.pixels) {
            level = GreyLevel(from[2], from[1], from[0]);
            from += size;
        }
        grey.dpiX = picture.dpiX;
        grey.dpiY = picture.dpiY;
        picture = std::move(grey);
    }
    picture.sourceBitCount = 8;
}

Picture MakeNegative(const Picture& source) {
    Picture negative = source;
    if (source.format == PixelFormat::Bgra32) {
        for (std::size_t i = 3; i < negative.pixels.size(); i += 4) negative.pixels[i] = 100;
        return negative;
    }
    for (std::uint8_t& byte : negative.pixels) byte ^= 0xFF;
    return negative;
}

}  // namespace calvoro

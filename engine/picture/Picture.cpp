// Size limits of the picture record.
#include "engine/picture/Picture.h"

#include <string>

#include "engine/picture/LargeBuffer.h"

namespace calvoro {

void Picture::allocate(int w, int h, PixelFormat f) {
    width = w;
    height = h;
    format = f;
    const std::size_t size = static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * BytesPerPixel(f);
    ReserveLargeBuffer(pixels, size);
    pixels.resize(size);
}

void CheckPictureSize(long long width, long long height) {
    const std::string size = std::to_string(width) + " x " + std::to_string(height) + " pixels";
    if (width < MinPictureSide || height < MinPictureSide)
        throw PictureError("The picture is " + size + "; a picture needs at least " + std::to_string(MinPictureSide) +
                               " pixels in each direction.",
                           PictureErrorKind::Size);
    if (width > MaxPictureSide || height > MaxPictureSide)
        throw PictureError("The picture is " + size + "; a picture may have at most " + std::to_string(MaxPictureSide) +
                               " pixels in each direction.",
                           PictureErrorKind::Size);
    if (width * height > MaxPicturePixels)
        throw PictureError("The picture is " + size + "; a picture may have at most " +
                               std::to_string(MaxPicturePixels / 1'000'000) + " million pixels.",
                           PictureErrorKind::Size);
}

}  // namespace calvoro

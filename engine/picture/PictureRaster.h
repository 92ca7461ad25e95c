// The bridge between the engine's picture record and the kernel's painting
// image: a picture entity in the drawing keeps BMP bytes and asks the decoder
// installed here for pixels when it is first painted.
#pragma once

#include "engine/picture/Picture.h"
#include "kernel/draw/RasterImage.h"

namespace calvoro {

// The picture as 0xAARRGGBB pixels, top row first (alpha set opaque).
RasterImage ToRaster(const Picture& picture);

// Installs the engine's BMP decoder for every picture entity of the kernel.
// Called once at program start.
void InstallPictureDecoder();

}  // namespace calvoro

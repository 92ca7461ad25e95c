// libFuzzer entry for the JPEG decoder and the JFIF density reader.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/picture/JpegDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    calvoro::JpegDensityFromBytes(bytes);
    try {
        const calvoro::Picture picture = calvoro::DecodeJpeg(bytes);
        if (picture.pixels.size() != picture.stride() * picture.height) __builtin_trap();
    } catch (const calvoro::PictureError&) {
    }
    return 0;
}

// libFuzzer entry for the BMP decoder: any bytes must be read or refused with
// a PictureError, never crash or read outside the buffer.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/picture/BmpCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        // Large pictures are the unit tests' business; here they would only
        // slow the search down.
        const calvoro::BmpInfo info = calvoro::BmpInfoFromBytes(bytes);
        if (static_cast<long long>(info.width) * info.height > (1 << 20)) return 0;
        const calvoro::DecodedBmp decoded = calvoro::DecodeBmp(bytes);
        if (decoded.bytesUsed > size ||
            decoded.picture.pixels.size() != decoded.picture.stride() * decoded.picture.height)
            __builtin_trap();
        // What was read must be written and read back unchanged.
        const calvoro::DecodedBmp again = calvoro::DecodeBmp(calvoro::EncodeBmp(decoded.picture));
        if (again.picture.pixels != decoded.picture.pixels) __builtin_trap();
    } catch (const calvoro::PictureError&) {
    }
    return 0;
}

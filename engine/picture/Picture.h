// The picture record shared by the whole engine: what a loaded BMP or JPEG
// becomes, what the picture edits change and what the height map is built
// from. Rows are stored top row first, tightly packed. The decoders turn every
// file into one of three formats, so nothing downstream meets 1-, 4- or 16-bit
// pixels or palettes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
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
    int sourceBitCount = 0;  // bits per pixel of the file it was read from (shown as "8 bit"), 0 = unknown

    bool empty() const { return width <= 0 || height <= 0; }
    std::size_t stride() const { return static_cast<std::size_t>(width) * BytesPerPixel(format); }
    // Row r, r = 0 being the top row of the picture.
    std::uint8_t* row(int r) { return pixels.data() + static_cast<std::size_t>(r) * stride(); }
    const std::uint8_t* row(int r) const { return pixels.data() + static_cast<std::size_t>(r) * stride(); }

    // Sets size and format and allocates zeroed pixels.
    void allocate(int w, int h, PixelFormat f);
};

// What kind of refusal a PictureError is, so that the program can say it in
// the user's language and keep the English message as its detail.
enum class PictureErrorKind { Damaged, Unsupported, Size, Unreadable, NotPicture };

// Raised for a picture file that cannot be read or a picture that cannot be
// used; the message is meant for the user.
class PictureError : public std::runtime_error {
public:
    explicit PictureError(const std::string& message, PictureErrorKind kind = PictureErrorKind::Damaged)
        : std::runtime_error(message), kind_(kind), reason_(message) {}
    // The same refusal, its message naming the file it is about.
    PictureError(const std::string& fileName, const PictureError& refusal)
        : std::runtime_error("\"" + fileName + "\": " + refusal.reason_),
          kind_(refusal.kind_),
          reason_(refusal.reason_),
          fileName_(fileName) {}

    PictureErrorKind kind() const { return kind_; }
    // The message without the file name, and the file (empty when none).
    const std::string& reason() const { return reason_; }
    const std::string& fileName() const { return fileName_; }

private:
    PictureErrorKind kind_;
    std::string reason_;
    std::string fileName_;
};

// Limits of every picture the program takes: the work size divides by
// width - 1 and height - 1, the height map counts columns in 16 bits, and the
// pixel cap keeps a hostile header from asking for gigabytes.
inline constexpr int MinPictureSide = 2;
inline constexpr int MaxPictureSide = 65535;
inline constexpr long long MaxPicturePixels = 100'000'000;

// Throws PictureError with a message naming the size when a picture of
// width x height pixels breaks the limits above.
void CheckPictureSize(long long width, long long height);

}  // namespace calvoro

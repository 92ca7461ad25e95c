// The pictures shipped in data/sample/, where the open dialog starts on a
// first run and which the tutorial uses, are made here: a blurred text logo
// (JPEG), a dome and a stepped relief (BMP). The BMPs are compared byte for
// byte with what the code writes now; the JPEG, whose bytes belong to the
// JPEG library's version, must decode to the logo and stay small.
// CALVORO_WRITE_GOLDEN=1 writes all three anew.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <string>

#include "engine/picture/BmpCodec.h"
#include "engine/picture/JpegDecoder.h"
#include "engine/picture/Picture.h"
#include "kernel/platform/AtomicFile.h"
#include "tests/support/Pictures.h"
#include "tests/support/SourceTree.h"

namespace calvoro::test {
namespace {

constexpr int kDpi = 100;

std::filesystem::path SampleFolder() {
    return ShippedData() / "sample";
}

Picture GreyPicture(int width, int height) {
    Picture picture;
    picture.allocate(width, height, PixelFormat::Grey8);
    picture.dpiX = picture.dpiY = kDpi;
    return picture;
}

// Five by seven letters, one row a string, "#" inked.
const std::array<std::array<const char*, 7>, 7> kLetters = {{
    {" ### ", "#   #", "#    ", "#    ", "#    ", "#   #", " ### "},  // C
    {" ### ", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"},  // A
    {"#    ", "#    ", "#    ", "#    ", "#    ", "#    ", "#####"},  // L
    {"#   #", "#   #", "#   #", "#   #", "#   #", " # # ", "  #  "},  // V
    {" ### ", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "},  // O
    {"#### ", "#   #", "#   #", "#### ", "# #  ", "#  # ", "#   #"},  // R
    {" ### ", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "},  // O
}};

// The three passes of a box blur come close to a Gaussian one.
void Blur(Picture& picture, int radius) {
    for (int pass = 0; pass < 3; ++pass) {
        Picture out = picture;
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x) {
                int sum = 0, count = 0;
                for (int dy = -radius; dy <= radius; ++dy)
                    for (int dx = -radius; dx <= radius; ++dx) {
                        const int sx = x + dx, sy = y + dy;
                        if (sx < 0 || sy < 0 || sx >= picture.width || sy >= picture.height) continue;
                        sum += picture.row(sy)[sx];
                        ++count;
                    }
                out.row(y)[x] = static_cast<std::uint8_t>((sum + count / 2) / count);
            }
        picture = std::move(out);
    }
}

// Dark letters on white: the text is cut into the work, its edges sloping.
Picture Logo() {
    constexpr int cell = 7, gap = 2 * cell, margin = 24;
    const int width = 2 * margin + 7 * 5 * cell + 6 * gap;
    const int height = 2 * margin + 7 * cell;
    Picture picture = GreyPicture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) picture.row(y)[x] = 255;
    for (int letter = 0; letter < 7; ++letter)
        for (int r = 0; r < 7; ++r)
            for (int c = 0; c < 5; ++c) {
                if (kLetters[static_cast<std::size_t>(letter)][static_cast<std::size_t>(r)][c] != '#') continue;
                const int left = margin + letter * (5 * cell + gap) + c * cell;
                for (int y = margin + r * cell; y < margin + (r + 1) * cell; ++y)
                    for (int x = left; x < left + cell; ++x) picture.row(y)[x] = 30;
            }
    Blur(picture, 2);
    return picture;
}

std::string LogoJpeg(const Picture& logo) {
    JpegOptions jpeg;
    jpeg.width = logo.width;
    jpeg.height = logo.height;
    jpeg.kind = JpegKind::Grey;
    jpeg.densityX = jpeg.densityY = kDpi;
    jpeg.quality = 90;
    jpeg.pixel = [&logo](int x, int r) { return std::array<std::uint8_t, 4>{logo.row(r)[x], 0, 0, 0}; };
    return BuildJpeg(jpeg);
}

// A half sphere: white at its top, black around it.
Picture Dome() {
    constexpr int size = 161;
    constexpr double radius = 72.0;
    Picture picture = GreyPicture(size, size);
    const double centre = (size - 1) / 2.0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double r = std::hypot(x - centre, y - centre) / radius;
            const double height = r < 1.0 ? std::sqrt(1.0 - r * r) : 0.0;
            picture.row(y)[x] = static_cast<std::uint8_t>(std::lround(255.0 * height));
        }
    return picture;
}

// Five terraces, the highest in the middle.
Picture Steps() {
    constexpr int width = 200, height = 120, step = 12;
    Picture picture = GreyPicture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int edge = std::min(std::min(x, width - 1 - x), std::min(y, height - 1 - y));
            picture.row(y)[x] = static_cast<std::uint8_t>(std::min(edge / step, 4) * 255 / 4);
        }
    return picture;
}

TEST(SamplePictures, TheShippedBitmapsAreTheOnesTheCodeMakes) {
    EXPECT_TRUE(ExpectSameAsFile(EncodeBmp(Dome()), SampleFolder() / "dome.bmp"));
    EXPECT_TRUE(ExpectSameAsFile(EncodeBmp(Steps()), SampleFolder() / "steps.bmp"));
}

TEST(SamplePictures, TheShippedLogoDecodesToTheBlurredText) {
    const Picture logo = Logo();
    const std::filesystem::path file = SampleFolder() / "logo.jpg";
    if (std::getenv("CALVORO_WRITE_GOLDEN") != nullptr) WriteFileAtomically(file, LogoJpeg(logo));
    const std::string bytes = ReadWholeFile(file);
    EXPECT_LT(bytes.size(), 40u * 1024u);
    const Picture decoded = DecodeJpeg(bytes);
    ASSERT_EQ(decoded.width, logo.width);
    ASSERT_EQ(decoded.height, logo.height);
    EXPECT_EQ(decoded.dpiX, kDpi);
    ASSERT_EQ(decoded.format, PixelFormat::Bgr24);
    long total = 0;
    int worst = 0;
    for (int y = 0; y < logo.height; ++y)
        for (int x = 0; x < logo.width; ++x) {
            // Every picture the decoder gives is Bgr24; a grey one has its three channels equal.
            const int difference = std::abs(int(decoded.row(y)[3 * x]) - int(logo.row(y)[x]));
            total += difference;
            worst = std::max(worst, difference);
        }
    EXPECT_LT(double(total) / (logo.width * logo.height), 1.5);
    EXPECT_LT(worst, 24);
}

}  // namespace
}  // namespace calvoro::test

// The picture a picture entity holds, kept as the bytes of a Windows BMP file:
// that is how the entity's record stores it, so a picture read from a stream
// is written back byte for byte. The kernel reads only the file header (the
// BMP's own length, which is all a stream needs) and the size of the picture.
// Turning the bytes into pixels for painting is the engine's business: the
// program installs a decoder at start-up (SetBmpRasterDecoder), and the image
// is decoded once, when it is first painted.
#pragma once

#include "kernel/draw/RasterImage.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace calvoro {

class BinaryReader;
class BinaryWriter;

// Turns a whole BMP file into pixels; throws when it cannot.
using BmpRasterDecoder = std::function<RasterImage(std::string_view bmpFile)>;

// The decoder every BmpImage uses from now on; none leaves pictures unpainted.
void SetBmpRasterDecoder(BmpRasterDecoder decoder);

class BmpImage {
public:
    // The smallest BMP file: the two headers of a picture of no pixels.
    BmpImage();
    // A whole BMP file; ECADFileNotValid when its headers are not a BMP's or
    // its declared length differs from the bytes given.
    static BmpImage FromFile(std::string bytes);
    // The same, with the pixels already at hand, so that they need not be
    // decoded again.
    static BmpImage FromFile(std::string bytes, RasterImage pixels);
    // A BMP file embedded in a stream: its length is the one its file header
    // declares, checked against the stream before anything is taken.
    static BmpImage Read(BinaryReader& reader);
    void Write(BinaryWriter& writer) const;

    const std::string& FileBytes() const { return bytes_; }
    // The picture's size from its info header; a negative height (top-down
    // rows) is given as positive.
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool IsEmpty() const { return width_ <= 0 || height_ <= 0; }

    // The pixels for painting, or none when the picture is empty, no decoder
    // is installed or the decoder refused the file (DecodeError then says why).
    const RasterImage* Pixels() const;
    const std::string& DecodeError() const { return decoded_->Error; }

private:
    explicit BmpImage(std::string bytes);

    std::string bytes_;
    int width_ = 0;
    int height_ = 0;
    struct DecodedPixels {
        bool Tried = false;
        RasterImage Pixels;
        std::string Error;
    };
    // Shared between copies: decoding is a function of the bytes, which never
    // change once the image is made.
    std::shared_ptr<DecodedPixels> decoded_ = std::make_shared<DecodedPixels>();
};

}  // namespace calvoro

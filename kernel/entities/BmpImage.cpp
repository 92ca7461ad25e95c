// BMP file bytes, their headers and their pixels.
#include "kernel/entities/BmpImage.h"

#include "kernel/model/BinaryReader.h"
#include "kernel/model/BinaryWriter.h"
#include "kernel/model/CADCoreExceptions.h"

#include <cstdint>
#include <cstdlib>
#include <exception>
#include <utility>

namespace calvoro {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;  // the oldest info header, 16-bit sizes
constexpr std::uint32_t kInfoHeaderSize = 40;

BmpRasterDecoder& Decoder() {
    static BmpRasterDecoder decoder;
    return decoder;
}

[[noreturn]] void Refuse(const std::string& text) {
    throw ECADFileNotValid("TBitmap2D.LoadFromStream: " + text);
}

// The bitmap file length its header declares, after checking the signature.
std::uint32_t DeclaredLength(std::string_view fileHeader) {
    if (fileHeader.size() < kFileHeaderSize || fileHeader[0] != 'B' || fileHeader[1] != 'M') {
        Refuse("Bitmap file header not found");
    }
    BinaryReader reader(fileHeader.substr(2, 4));
    return reader.readUInt32();
}

std::string EmptyBmpFile() {
    BinaryWriter writer;
    writer.writeBytes("BM");
    writer.writeUInt32(kFileHeaderSize + kInfoHeaderSize);
    writer.writeUInt32(0);  // reserved
    writer.writeUInt32(kFileHeaderSize + kInfoHeaderSize);
    writer.writeUInt32(kInfoHeaderSize);
    writer.writeInt32(0);   // width
    writer.writeInt32(0);   // height
    writer.writeUInt16(1);  // planes
    writer.writeUInt16(24);
    for (int field = 0; field < 6; ++field) writer.writeUInt32(0);  // compression .. colours used
    return writer.takeBytes();
}

}  // namespace

void SetBmpRasterDecoder(BmpRasterDecoder decoder) {
    Decoder() = std::move(decoder);
}

BmpImage::BmpImage() : BmpImage(EmptyBmpFile()) {}

BmpImage::BmpImage(std::string bytes) : bytes_(std::move(bytes)) {
    if (DeclaredLength(bytes_) != bytes_.size()) Refuse("Bitmap length differs from its header");
    if (bytes_.size() < kFileHeaderSize + kCoreHeaderSize) Refuse("Bitmap info header cut short");
    BinaryReader reader(bytes_);
    reader.skip(kFileHeaderSize);
    const std::uint32_t infoSize = reader.readUInt32();
    if (infoSize < kCoreHeaderSize || infoSize > bytes_.size() - kFileHeaderSize) {
        Refuse("Bitmap info header of " + std::to_string(infoSize) + " bytes not valid");
    }
    std::int64_t width = 0, height = 0;
    if (infoSize == kCoreHeaderSize) {
        width = reader.readUInt16();
        height = reader.readUInt16();
    } else {
        if (infoSize < 16) Refuse("Bitmap info header of " + std::to_string(infoSize) + " bytes not valid");
        width = reader.readInt32();
        height = reader.readInt32();
    }
    if (width < 0) Refuse("Bitmap width is negative");
    width_ = static_cast<int>(width);
    height_ = static_cast<int>(std::llabs(height));
}

BmpImage BmpImage::FromFile(std::string bytes) {
    if (bytes.size() < kFileHeaderSize) Refuse("Bitmap file header not found");
    return BmpImage(std::move(bytes));
}

BmpImage BmpImage::FromFile(std::string bytes, RasterImage pixels) {
    BmpImage image = FromFile(std::move(bytes));
    image.decoded_->Tried = true;
    image.decoded_->Pixels = std::move(pixels);
    return image;
}

BmpImage BmpImage::Read(BinaryReader& reader) {
    std::string bytes = reader.readBytes(kFileHeaderSize);
    const std::uint32_t length = DeclaredLength(bytes);
    if (length < kFileHeaderSize + kCoreHeaderSize) Refuse("Bitmap length " + std::to_string(length) + " too small");
    reader.requireAvailable(length - kFileHeaderSize, 1, "Bitmap");
    bytes += reader.readBytes(length - kFileHeaderSize);
    return BmpImage(std::move(bytes));
}

void BmpImage::Write(BinaryWriter& writer) const {
    writer.writeBytes(bytes_);
}

const RasterImage* BmpImage::Pixels() const {
    if (IsEmpty()) return nullptr;
    if (!decoded_->Tried) {
        decoded_->Tried = true;
        if (const BmpRasterDecoder& decode = Decoder()) {
            try {
                decoded_->Pixels = decode(bytes_);
            } catch (const std::exception& error) {
                // Painting goes on without the picture, whose bytes stay as
                // they came, so nothing is lost; the reason is kept for the
                // caller that wants to tell the user.
                decoded_->Pixels = RasterImage();
                decoded_->Error = error.what();
            }
        }
    }
    return decoded_->Pixels.IsEmpty() ? nullptr : &decoded_->Pixels;
}

}  // namespace calvoro

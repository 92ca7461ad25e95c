// Choosing the reader of a picture file.
#include "engine/picture/PictureFile.h"

#include "engine/picture/BmpCodec.h"
#include "engine/picture/JpegDecoder.h"

namespace calvoro {

PictureLoader ChoosePictureLoader(const std::filesystem::path& fileName) {
    const std::string name = fileName.filename().string();
    const std::size_t dot = name.rfind('.');
    std::string extension = dot == std::string::npos ? std::string() : name.substr(dot);
    for (char& c : extension)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (extension == ".PXM") return PictureLoader::Document;
    if (extension == ".BMP") return PictureLoader::Bmp;
    if (extension == ".JPG" || extension == ".JPEG") return PictureLoader::Jpeg;
    return PictureLoader::Unknown;
}

std::string BitDepthText(int bitCount) {
    switch (bitCount) {
        case 1:
        case 4:
        case 8:
        case 16:
        case 24:
        case 32:
            return std::to_string(bitCount) + " bit";
        default:
            return {};
    }
}

Picture LoadPictureFile(const std::filesystem::path& fileName) {
    switch (ChoosePictureLoader(fileName)) {
        case PictureLoader::Bmp:
        case PictureLoader::Document:  // a document starts with a complete BMP file
            return LoadBmpFile(fileName);
        case PictureLoader::Jpeg:
            return LoadJpegFile(fileName);
        case PictureLoader::Unknown:
            break;
    }
    throw PictureError("\"" + fileName.string() + "\" is no picture file this program reads (BMP or JPEG).",
                       PictureErrorKind::NotPicture);
}

}  // namespace calvoro

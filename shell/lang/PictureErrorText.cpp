#include "shell/lang/PictureErrorText.h"

#include "shell/lang/UnitLang.h"

namespace calvoro {

namespace {

std::string KindText(PictureErrorKind kind) {
    switch (kind) {
        case PictureErrorKind::Damaged:
            return LangStringOr("1261", "The file is damaged or cut short.");
        case PictureErrorKind::Unsupported:
            return LangStringOr("1262", "The file holds a kind of picture this program does not read.");
        case PictureErrorKind::Size:
            return LangStringOr("1263", "The picture is too small or too large.");
        case PictureErrorKind::Unreadable:
            return LangStringOr("1264", "The file cannot be read.");
        case PictureErrorKind::NotPicture:
            return LangStringOr("1265", "The file is no BMP or JPEG picture.");
    }
    return {};
}

}  // namespace

std::string PictureErrorText(const PictureError& error, const std::filesystem::path& fileName) {
    std::string headline = LangString("1260");
    if (headline.empty()) return error.what();
    const std::string name = error.fileName().empty() ? fileName.string() : error.fileName();
    if (const std::size_t at = headline.find("%1"); at != std::string::npos) headline.replace(at, 2, name);
    return headline + " " + KindText(error.kind()) + "\n\n" + error.reason();
}

}  // namespace calvoro

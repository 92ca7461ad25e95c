#include "shell/app/ShellText.h"

#include <filesystem>

#include "engine/nc/NcFileChoice.h"
#include "shell/lang/UnitLang.h"

namespace calvoro {

bool KeyPasses(NumericKeys kind, char32_t c) {
    if (c == 8 || c == U'.' || (c >= U'0' && c <= U'9')) return true;
    const bool signedKind = kind == NumericKeys::Signed || kind == NumericKeys::SignedOrEnter;
    const bool enterKind = kind == NumericKeys::PositiveOrEnter || kind == NumericKeys::SignedOrEnter;
    return (signedKind && c == U'-') || (enterKind && (c == 13 || c == 10));
}

bool NumeroOk(std::string_view text) {
    return !text.empty() && text != "-" && text != ".";
}

void CleanFileName(std::string& name) {
    // One rule for every name the program proposes: the NC file's own.
    name = CleanFileName(std::string_view(name));
}

PictureInfoRows AggAlberoRows(std::string_view imageFileName, std::string_view bitDepthText, int pixelWidth,
                              int pixelHeight, int dpi) {
    PictureInfoRows info;
    info.root = LangString("118");
    info.rows = {
        LangString("110") + std::filesystem::path(std::string(imageFileName)).filename().string(),
        LangString("111") + std::to_string(pixelWidth),
        LangString("112") + std::to_string(pixelHeight),
        LangString("113") + std::string(bitDepthText),
        LangString("114") + std::to_string(dpi),
    };
    return info;
}

}  // namespace calvoro

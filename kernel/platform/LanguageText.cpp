#include "kernel/platform/LanguageText.h"

namespace calvoro {

namespace {

std::unique_ptr<MemIniFile>& FileInUse() {
    static std::unique_ptr<MemIniFile> file;
    return file;
}

}  // namespace

const MemIniFile* LanguageFile() {
    return FileInUse().get();
}
void SetLanguageFile(std::unique_ptr<MemIniFile> file) {
    FileInUse() = std::move(file);
}

std::string ExpandLangLineBreaks(std::string_view value) {
    if (value.find(kLangLineBreakMark) == std::string_view::npos) return std::string(value);
    std::string result;
    std::size_t mark = 0;
    while ((mark = value.find(kLangLineBreakMark)) != std::string_view::npos) {
        const std::string_view segment = value.substr(0, mark);
        // An empty result takes the segment without a break before it, which is
        // why leading separators collapse into the one final break.
        if (!result.empty()) result += kLangLineBreak;
        result += segment;
        value.remove_prefix(mark + kLangLineBreakMark.size());
    }
    result += kLangLineBreak;
    result += value;
    return result;
}

std::string ReadLangText(std::string_view section, std::string_view key) {
    const MemIniFile* file = LanguageFile();
    if (!file) return {};
    return ExpandLangLineBreaks(file->ReadString(section, key, ""));
}

std::string LangString(std::string_view key) {
    return ReadLangText("String", key);
}

std::string LangStringOr(std::string_view key, std::string_view design) {
    std::string text = LangString(key);
    return text.empty() ? std::string(design) : text;
}

std::string LangMainHint(std::string_view name) {
    return ReadLangText("frmMain", std::string(name) + ".Hint");
}

std::string LangMainText(std::string_view key) {
    return ReadLangText("frmMain", key);
}

}  // namespace calvoro

#include "shell/lang/UnitLang.h"

#include <system_error>

#include "kernel/platform/IniFileDocument.h"
#include "kernel/platform/InputFile.h"
#include "shell/app/AppInfo.h"

namespace calvoro {

namespace {

struct LanguageState {
    std::filesystem::path fileName;
    std::string name;
    std::filesystem::path userFolder;
};

LanguageState& State() {
    static LanguageState state;
    return state;
}

bool IsPlainRelativePath(const std::filesystem::path& path) {
    if (path.empty() || path.is_absolute() || path.filename().empty()) return false;
    for (const auto& part : path)
        if (part == ".." || part == ".") return false;
    return true;
}

// Language names come from files made on systems where names ignore case, so
// "Italiano" finds "italiano.lng".
std::filesystem::path FindIgnoringCase(const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::exists(path, error)) return path;
    const std::string wanted = FoldIniName(path.filename().string());
    for (std::filesystem::directory_iterator it(path.parent_path(), error), end; !error && it != end;
         it.increment(error)) {
        if (FoldIniName(it->path().filename().string()) == wanted && it->is_regular_file(error)) return it->path();
    }
    return {};
}

}  // namespace

std::filesystem::path LanguageFolder() {
    return ProgramFolder() / "language";
}

const std::filesystem::path& UserLanguageFolder() {
    return State().userFolder;
}
void SetUserLanguageFolder(const std::filesystem::path& folder) {
    State().userFolder = folder;
}

std::unique_ptr<MemIniFile> LoadLanguageFile(std::string_view relName) {
    std::filesystem::path relative(relName);
    relative += ".lng";
    State().fileName = ProgramFolder() / relative;
    if (!IsPlainRelativePath(std::filesystem::path(relName))) return nullptr;
    std::filesystem::path found;
    if (!UserLanguageFolder().empty() && relative.parent_path() == "language")
        found = FindIgnoringCase(UserLanguageFolder() / relative.filename());
    if (found.empty()) found = FindIgnoringCase(State().fileName);
    if (found.empty()) return nullptr;
    State().fileName = found;
    try {
        return std::make_unique<MemIniFile>(found);
    } catch (const InputFileError& failure) {
        throw std::runtime_error("The language file \"" + found.string() + "\" cannot be read: " + failure.reason() +
                                 ".");
    }
}

const std::filesystem::path& LanguageFileName() {
    return State().fileName;
}

const std::string& LanguageName() {
    return State().name;
}
void SetLanguageName(std::string name) {
    State().name = std::move(name);
}

std::string LanguageFileNotFoundText() {
    // Both places a language may be are named, the user's own first, as they are searched.
    std::string text = "Language file not found!";
    const std::filesystem::path shipped = LanguageFileName();
    if (!UserLanguageFolder().empty() && shipped.parent_path() == LanguageFolder())
        text.append(kLangLineBreak).append((UserLanguageFolder() / shipped.filename()).string());
    // Appended rather than added up from temporaries, which draws a false
    // -Wrestrict warning from GCC 12's inlined string insert.
    return text.append(kLangLineBreak).append(shipped.string());
}

namespace {

// The file of a language, or nullptr with the error text to show; `missing`
// tells a file that is not there from one that cannot be read.
std::unique_ptr<MemIniFile> OpenLanguage(std::string_view name, std::string& error, bool& missing) {
    missing = false;
    try {
        std::unique_ptr<MemIniFile> file = LoadLanguageFile("language/" + std::string(name));
        if (!file) {
            missing = true;
            error = LanguageFileNotFoundText();
        }
        return file;
    } catch (const std::exception& failure) {
        error = failure.what();
        return nullptr;
    }
}

}  // namespace

bool SwitchLanguage(std::string_view name, std::string& error) {
    error.clear();
    bool missing = false;
    std::unique_ptr<MemIniFile> file = OpenLanguage(name, error, missing);
    if (!file) return false;
    SetLanguageFile(std::move(file));
    SetLanguageName(std::string(name));
    LoadMessageStrings();
    return true;
}

std::string OpenStartLanguage(std::string_view name) {
    std::string error;
    bool missing = false;
    std::unique_ptr<MemIniFile> file = OpenLanguage(name, error, missing);
    std::string loadedName(name);
    if (!file && FoldIniName(name) != kDefaultLanguage) {
        std::string fallbackError;
        file = OpenLanguage(kDefaultLanguage, fallbackError, missing);
        if (file)
            loadedName = kDefaultLanguage;
        else if (!missing)
            error += std::string(kLangLineBreak) + fallbackError;
    } else if (!file && missing) {
        // English itself is missing: the translation of the main window says so.
        error.clear();
    }
    SetLanguageFile(std::move(file));
    SetLanguageName(loadedName);
    LoadMessageStrings();
    return error;
}

}  // namespace calvoro

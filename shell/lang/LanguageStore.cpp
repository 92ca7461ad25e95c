#include "shell/lang/LanguageStore.h"

#include <algorithm>
#include <map>
#include <stdexcept>
#include <system_error>

#include "kernel/platform/AtomicFile.h"
#include "kernel/platform/IniFileDocument.h"
#include "kernel/platform/InputFile.h"
#include "shell/lang/UnitLang.h"

namespace calvoro {

namespace {

constexpr std::string_view kExtension = ".lng";

bool HasLanguageExtension(const std::filesystem::path& file) {
    return FoldIniName(file.extension().string()) == kExtension;
}

// The language files of one folder, by folded name; a missing folder has none.
std::map<std::string, std::filesystem::path> FilesOf(const std::filesystem::path& folder) {
    std::map<std::string, std::filesystem::path> files;
    if (folder.empty()) return files;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError) || !HasLanguageExtension(it->path())) continue;
        files.emplace(FoldIniName(it->path().stem().string()), it->path());
    }
    return files;
}

std::filesystem::path FindIn(const std::filesystem::path& folder, std::string_view name) {
    const auto files = FilesOf(folder);
    const auto found = files.find(FoldIniName(name));
    return found == files.end() ? std::filesystem::path() : found->second;
}

}  // namespace

LanguageText DecodeLanguageText(std::string_view bytes) {
    DecodedText decoded = DecodeText(bytes);
    LanguageText result;
    result.encoding = decoded.encoding;
    result.byteOrderMark = decoded.byteOrderMark;
    result.finalLineEnd = !bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r');
    result.text.reserve(decoded.text.size());
    const std::string& in = decoded.text;
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (in[i] == '\r') {
            result.text += '\n';
            if (i + 1 < in.size() && in[i + 1] == '\n') ++i;
        } else {
            result.text += in[i];
        }
    }
    // The last line end belongs to the last line; the text shows lines only.
    if (result.finalLineEnd) result.text.pop_back();
    return result;
}

std::string EncodeLanguageText(const LanguageText& text) {
    std::string lines;
    lines.reserve(text.text.size() + text.text.size() / 16 + 2);
    for (const char c : text.text) {
        if (c == '\r') continue;  // a pasted CR LF is one line end, not two
        if (c == '\n') lines += '\r';
        lines += c;
    }
    if (text.finalLineEnd) lines += "\r\n";
    try {
        return EncodeText(lines, text.encoding, text.byteOrderMark);
    } catch (const std::invalid_argument&) {
        if (text.encoding == TextEncoding::Windows1252)
            throw std::invalid_argument(
                "The text holds characters that this language file cannot store: it is written in the "
                "Windows-1252 code page, which has only Western European letters. Remove those characters "
                "and save again.");
        throw;
    }
}

LanguageStore::LanguageStore() : LanguageStore(LanguageFolder(), UserLanguageFolder()) {}

LanguageStore::LanguageStore(std::filesystem::path shippedFolder, std::filesystem::path userFolder, RemoveFile remove)
    : shipped_(std::move(shippedFolder)), user_(std::move(userFolder)), remove_(std::move(remove)) {
    if (!remove_)
        remove_ = [](const std::filesystem::path& file, std::error_code& error) {
            return std::filesystem::remove(file, error);
        };
}

std::vector<std::string> LanguageStore::List() const {
    std::map<std::string, std::filesystem::path> files = FilesOf(shipped_);
    for (auto& [folded, path] : FilesOf(user_)) files[folded] = path;
    std::vector<std::pair<std::string, std::string>> names;  // folded, shown
    for (const auto& [folded, path] : files) names.emplace_back(folded, path.stem().string());
    std::sort(names.begin(), names.end());
    std::vector<std::string> result;
    for (auto& [folded, shown] : names) result.push_back(std::move(shown));
    return result;
}

std::filesystem::path LanguageStore::FileOf(std::string_view name) const {
    // Only names found in the folders' listings match, so no name reaches outside them.
    std::filesystem::path found = FindIn(user_, name);
    return found.empty() ? FindIn(shipped_, name) : found;
}

std::filesystem::path LanguageStore::SaveTarget(std::string_view name) const {
    const std::filesystem::path existing = FileOf(name);
    if (!existing.empty()) return user_ / existing.filename();
    return user_ / (std::string(name) + std::string(kExtension));
}

bool LanguageStore::IsProtected(std::string_view name) {
    return FoldIniName(name) == kDefaultLanguage;
}

std::string LanguageStore::CheckNewName(std::string_view name) {
    if (name.empty()) return "Type a name for the new language.";
    if (IsProtected(name))
        return "\"english\" is the reference language and cannot be made again. Choose another name.";
    if (name.front() == ' ' || name.back() == ' ') return "A language name cannot begin or end with a blank.";
    if (name.front() == '.') return "A language name cannot begin with a dot.";
    if (name.find("..") != std::string_view::npos) return "A language name cannot hold \"..\".";
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || std::string_view("/\\<>:\"|?*").find(c) != std::string_view::npos)
            return "A language name cannot hold folders, control characters or any of the characters "
                   "/ \\ < > : \" | ? *";
    }
    return {};
}

LanguageText LanguageStore::Load(std::string_view name) const {
    const std::filesystem::path file = FileOf(name);
    if (file.empty())
        throw std::runtime_error("The language file \"" + std::string(name) + std::string(kExtension) +
                                 "\" was not found.");
    return DecodeLanguageText(InputFile(file).readAll());
}

void LanguageStore::Save(std::string_view name, const LanguageText& text) const {
    if (IsProtected(name)) throw std::runtime_error("Unable to modify or delete the \"english.lng\"");
    if (name.find_first_of("/\\") != std::string_view::npos || name.starts_with('.'))
        throw std::runtime_error("\"" + std::string(name) + "\" is not a language name.");
    if (user_.empty()) throw std::runtime_error("There is no folder for your own language files.");
    const std::string bytes = EncodeLanguageText(text);  // before anything is touched
    std::error_code error;
    std::filesystem::create_directories(user_, error);
    if (error) throw FileWriteError("Cannot make the folder \"" + user_.string() + "\": " + error.message());
    WriteFileAtomically(SaveTarget(name), bytes);
}

std::string LanguageStore::Delete(std::string_view name) const {
    if (IsProtected(name)) return "Unable to modify or delete the \"english.lng\"";
    const std::filesystem::path file = FileOf(name);
    if (file.empty()) return "The language file \"" + std::string(name) + std::string(kExtension) + "\" was not found.";
    std::error_code error;
    if (!remove_(file, error) || error)
        return "Cannot delete the language file \"" + file.string() + "\"" +
               (error ? ": " + error.message() : std::string("."));
    return {};
}

}  // namespace calvoro

// The language files a user can choose, make, edit and delete. The program's
// own files lie in the shipped folder, which may be read-only; the user's
// files lie in a per-user folder laid over it, where a file shadows a shipped
// file of the same name (in any letter case). Everything the user writes goes
// to the per-user folder. English is the reference every translation starts
// from and is never changed or deleted from here.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "kernel/platform/TextEncoding.h"

namespace calvoro {

// A language file as text to edit: line ends are "\n" here and go back to
// CR LF on saving, in the encoding the file was read in, so that saving the
// text unchanged writes the file back byte for byte.
struct LanguageText {
    std::string text;  // UTF-8
    TextEncoding encoding = TextEncoding::Utf8;
    bool byteOrderMark = false;
    bool finalLineEnd = true;  // the file ended with a line end
};

// Splits a file's bytes into the text to edit; CR LF and bare CR or LF all
// count as line ends.
LanguageText DecodeLanguageText(std::string_view bytes);
// The file's bytes: lines joined with CR LF in the text's encoding. Throws
// std::invalid_argument naming the problem when the text holds a character
// the file's encoding cannot store.
std::string EncodeLanguageText(const LanguageText& text);

class LanguageStore {
public:
    // The folders of the program in use (UnitLang's).
    LanguageStore();
    // How a file is deleted: std::filesystem::remove, or what a test puts in
    // its place to make a deletion fail.
    using RemoveFile = std::function<bool(const std::filesystem::path&, std::error_code&)>;
    LanguageStore(std::filesystem::path shippedFolder, std::filesystem::path userFolder, RemoveFile remove = {});

    const std::filesystem::path& ShippedFolder() const { return shipped_; }
    const std::filesystem::path& UserFolder() const { return user_; }

    // Every language once, without ".lng", sorted without regard to case; a
    // user file's name wins over the shipped one's spelling.
    std::vector<std::string> List() const;

    // The file a language is read from (the user's before the shipped one);
    // empty when there is none.
    std::filesystem::path FileOf(std::string_view name) const;
    bool Exists(std::string_view name) const { return !FileOf(name).empty(); }
    // Where saving the language writes: the per-user folder, keeping the
    // spelling of a file the language already has.
    std::filesystem::path SaveTarget(std::string_view name) const;

    // English, in any letter case.
    static bool IsProtected(std::string_view name);
    // Empty when `name` may be made as a new language; otherwise the reason
    // to tell the user. Only the file name itself is accepted: no folders,
    // no leading dot, no characters file names cannot hold on other systems.
    static std::string CheckNewName(std::string_view name);

    // Throws std::runtime_error naming the file when the language is missing
    // or unreadable.
    LanguageText Load(std::string_view name) const;
    // Writes the language to the per-user folder (made when missing) through a
    // temporary file; a failure leaves the old file as it was and throws with
    // the reason. English is refused.
    void Save(std::string_view name, const LanguageText& text) const;
    // Deletes the language's file (the user's copy when there is one). Returns
    // an empty text on success, else the reason; English is refused.
    std::string Delete(std::string_view name) const;

private:
    std::filesystem::path shipped_;
    std::filesystem::path user_;
    RemoveFile remove_;
};

}  // namespace calvoro

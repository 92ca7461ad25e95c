// The language of the program: which language file, "language/<name>.lng"
// beside the program (or in the user's own folder), is the one in use, its
// loading at start and its switch from the settings page. The texts are read
// from it through kernel/platform/LanguageText.h.
//
// The state is the program's one language and lives on the GUI thread.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "kernel/platform/LanguageText.h"
#include "kernel/platform/MemIniFile.h"
#include "shell/lang/MessageTable.h"

namespace calvoro {

// The folder the language files live in: "language" in the program folder.
std::filesystem::path LanguageFolder();

// The user's own language files, laid over the shipped folder: a file here
// is read in place of a shipped file of the same name. Empty (none) until the
// program sets it at start.
const std::filesystem::path& UserLanguageFolder();
void SetUserLanguageFolder(const std::filesystem::path& folder);

// Looks for relName + ".lng" in the program folder (the callers pass
// "language/" + a language name; such a name is looked for in the user's
// language folder first) and remembers the name it looked for in
// LanguageFileName. A file whose name differs only in case is found too.
// Returns nullptr when there is no such file, or when relName is not a plain
// folder/name pair (no "..", no absolute paths). Throws std::runtime_error
// naming the file when it exists but cannot be read (a folder, a pipe or a
// device of that name included).
std::unique_ptr<MemIniFile> LoadLanguageFile(std::string_view relName);
const std::filesystem::path& LanguageFileName();

// The name of the language in use, without folder and extension; the settings
// file keeps it as "Language".
const std::string& LanguageName();
void SetLanguageName(std::string name);

// "Language file not found!", a line break and the file name looked for last.
std::string LanguageFileNotFoundText();

// The language change of the settings page, up to the translation of the
// forms, which the caller does when this returns true. The new file is loaded
// first; only when that succeeds does it replace the file in use and become
// LanguageName, and the page message table is filled again. When it fails
// nothing changes and `error` gets the text to show (once).
bool SwitchLanguage(std::string_view name, std::string& error);

// At start: loads the language `name`. When its file is missing and the
// language is not English already, falls back to "english" and returns the
// error about the missing file for the caller to show; LanguageName follows
// the language actually loaded. Returns an empty text otherwise. When no file
// can be loaded at all, none is, and the next translation of a form reports it.
// Fills the page message table.
std::string OpenStartLanguage(std::string_view name);

// The language every installation has.
inline constexpr std::string_view kDefaultLanguage = "english";

}  // namespace calvoro

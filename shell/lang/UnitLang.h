// The language of the program: every caption, hint, list item and numbered
// message the user sees comes from a language file, "language/<name>.lng"
// beside the program, held whole in memory. With no file loaded every text
// read here is empty and the forms keep the texts they were designed with.
//
// The state is the program's one language and lives on the GUI thread.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "kernel/platform/MemIniFile.h"
#include "shell/lang/MessageTable.h"

namespace calvoro {

// Written in a value of a language file to stand for a line break.
inline constexpr std::string_view kLangLineBreakMark = "*|*";
// The line break the texts carry once read.
inline constexpr std::string_view kLangLineBreak = "\n";

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

// The language file in use; nullptr when none is loaded.
const MemIniFile* LanguageFile();
void SetLanguageFile(std::unique_ptr<MemIniFile> file);

// The name of the language in use, without folder and extension; the settings
// file keeps it as "Language".
const std::string& LanguageName();
void SetLanguageName(std::string name);

// Turns every "*|*" of a language file value into a line break. The segments are
// joined one by one, and a segment is only preceded by a break when something
// has been gathered before it: so "*|*A" and "*|**|*A" both give one leading
// break, "A*|**|*B" keeps its empty middle line, and "*|*A*|*B" gives "A",
// break, "B".
std::string ExpandLangLineBreaks(std::string_view value);

// The value of Section/Key in the language file with its line breaks, or empty
// when there is no file or no such key.
std::string ReadLangText(std::string_view section, std::string_view key);
// A numbered message: section "String".
std::string LangString(std::string_view key);
// The numbered message, or `design` (the program's own English) when the
// language file has none, as while no language file is loaded.
std::string LangStringOr(std::string_view key, std::string_view design);
// The hint of a main window component, "frmMain" / name + ".Hint".
std::string LangMainHint(std::string_view name);
// A free text of the main window, "frmMain" / key.
std::string LangMainText(std::string_view key);

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

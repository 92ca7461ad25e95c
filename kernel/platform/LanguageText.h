// The texts of the language in use: every caption, hint, list item and
// numbered message the user sees is looked up here, in the language file held
// whole in memory. With no file every text read here is empty and the forms
// keep the texts they were designed with. The program chooses, loads and
// switches the file (UnitLang, in the shell); the forms of every part of the
// program read from it.
//
// The state is the program's one language and lives on the GUI thread.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "kernel/platform/MemIniFile.h"

namespace calvoro {

// Written in a value of a language file to stand for a line break.
inline constexpr std::string_view kLangLineBreakMark = "*|*";
// The line break the texts carry once read.
inline constexpr std::string_view kLangLineBreak = "\n";

// The language file in use; nullptr when none is loaded.
const MemIniFile* LanguageFile();
void SetLanguageFile(std::unique_ptr<MemIniFile> file);

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

}  // namespace calvoro

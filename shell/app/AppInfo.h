// Facts about the program itself: its name, its version and the folders it
// reads its files from.
#pragma once

#include <filesystem>
#include <string>

namespace calvoro {

std::string ProductName();
std::string VersionText();
// "Calvoro 0.1.0": the main window's caption.
std::string ProductCaption();

// The folder that holds the program and the files shipped beside it
// (pst/, language/, hlp/, sample/, Tool.db, Library.blk). Set once at start.
void SetProgramFolder(const std::filesystem::path& folder);
const std::filesystem::path& ProgramFolder();

}  // namespace calvoro

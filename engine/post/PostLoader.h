// Reading a post-processor definition: the ini file "<name>.pst" in the "pst"
// folder beside the program. Keys follow the profile-file rules (names in any
// case, Booleans as integers); a key that is missing takes its file default.
//
// The result is a whole new PostSettings that the caller puts in place of the
// current one; when anything throws, the current settings stay as they were.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "engine/post/PostSettings.h"

namespace calvoro {

// The text shown when a definition cannot be read.
inline constexpr std::string_view PostNotFoundText = "Pst not found";

struct PostLoadResult {
    PostSettings settings;
    // False when the file is missing or cannot be opened: then every key has
    // its file default (block numbers off, G and axis words not modal, ISO).
    bool found = true;
    // What the user should be told, one line each: "Pst not found: ...", and
    // values that were replaced (bad number formats, SeqInc below 1, an axis
    // scale of 0, past 1e6 or not a number, an unknown dialect, a value that
    // holds a control character other than a tab or whose line a lone CR cut
    // short: the key's file default is used), and head or tail lines with a
    // "[" not closed on its line. Empty for a sound definition.
    std::vector<std::string> problems;
};

// folder/pst/<postName>.pst; the file name is matched without regard to case,
// so "fanuc_mm" finds "Fanuc_mm.pst". Empty when there is no such file.
std::filesystem::path FindPostFile(const std::filesystem::path& folder, std::string_view postName);

// Loads the definition current.postName from the pst folder of folder (the
// program's folder). Members that no file holds (the name, reference height,
// template depth, units) are taken from current, and so is the dialect when the
// file names one that does not exist.
PostLoadResult LoadPostProcessor(const std::filesystem::path& folder, const PostSettings& current);

// The same for one definition file given by its path.
PostLoadResult LoadPostFile(const std::filesystem::path& file, const PostSettings& current);

}  // namespace calvoro

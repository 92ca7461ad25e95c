// Choosing where an NC program goes and how it is spelled: the file name the
// save dialog proposes from the picture's name, the dialog's filter, the
// post-processor chosen in the list, and a long file name shortened to fit a
// label.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/post/PostSettings.h"

namespace calvoro {

// The name without the characters a file name may not hold on any system the
// programs travel to (| < > # \ / : * ? and both quotes); "t" when nothing is left.
std::string CleanFileName(std::string_view name);

// What the save dialog starts with: the picture's file name, cleaned and
// without its extension, in the NC folder when that folder exists; the bare
// name otherwise, so the dialog opens in its own default folder.
std::string ProposeNcFileName(const std::filesystem::path& pictureFile, const std::filesystem::path& ncFolder);

// The NC file chosen in the save dialog and the folder the next choice starts in.
struct NcFileState {
    std::string ncFileName;
    std::filesystem::path ncPath;
    bool operator==(const NcFileState&) const = default;
};

// The NC file choice: proposes the picture's name (ProposeNcFileName) to
// askSaveName, which returns the name the user confirmed or an empty text when
// the dialog was cancelled. A name without extension gets the definition's.
// Nothing when cancelled: the current NC file, folder and program stay.
std::optional<NcFileState> ChooseNcFile(
    const std::filesystem::path& pictureFile, const std::filesystem::path& ncPath, std::string_view extension,
    const std::function<std::string(const std::string& proposed)>& askSaveName);

// The dialog filter for programs with that extension: "<title> (*.nc)" in the
// form a file dialog takes.
std::string NcFileFilter(std::string_view title, std::string_view extension);

// `text` with its middle replaced by "..." until widthOf(text) fits width - 5
// pixels: each pass removes five characters after the ninth and puts "..." in
// their place. It stops at the ninth character followed by "...", and a text
// shorter than ten characters is left whole, even when still too wide.
std::string ShortenToWidth(std::string_view text, int width, const std::function<int(std::string_view)>& widthOf);

// A post-processor picked from the list: the definition read from the pst
// folder, the comment shown under the list and the extension of its programs.
struct PostChoice {
    PostSettings settings;
    std::string comment;    // the definition's comment block, without line ends at its end
    std::string extension;  // of the NC file and of the save dialog's filter
    std::vector<std::string> problems;  // for the user; empty for a sound definition
};

// Reads "<name>.pst" from the pst folder of programFolder. The settings that
// no file holds are kept from current.
PostChoice ChoosePostProcessor(const std::filesystem::path& programFolder, std::string_view postName,
                               const PostSettings& current);

}  // namespace calvoro

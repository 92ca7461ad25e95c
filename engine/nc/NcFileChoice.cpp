#include "engine/nc/NcFileChoice.h"

#include <algorithm>
#include <system_error>

#include "engine/post/PostLoader.h"

namespace calvoro {

std::string CleanFileName(std::string_view name) {
    constexpr std::string_view forbidden = "|<>#\\/:*?\"'";
    std::string kept;
    kept.reserve(name.size());
    for (char c : name)
        if (forbidden.find(c) == std::string_view::npos) kept.push_back(c);
    return kept.empty() ? std::string("t") : kept;
}

std::string ProposeNcFileName(const std::filesystem::path& pictureFile, const std::filesystem::path& ncFolder) {
    // The name is cleaned before the extension goes, so "a:b.c?.bmp" loses its
    // "?" and then ".bmp"; a folder separator in the name goes with the rest.
    std::string name = CleanFileName(pictureFile.filename().string());
    if (const std::size_t dot = name.rfind('.'); dot != std::string::npos && dot > 0) name.erase(dot);
    std::error_code error;
    if (ncFolder.empty() || !std::filesystem::is_directory(ncFolder, error)) return name;
    return (ncFolder / name).string();
}

std::optional<NcFileState> ChooseNcFile(
    const std::filesystem::path& pictureFile, const std::filesystem::path& ncPath, std::string_view extension,
    const std::function<std::string(const std::string& proposed)>& askSaveName) {
    const std::string chosen = askSaveName(ProposeNcFileName(pictureFile, ncPath));
    if (chosen.empty()) return std::nullopt;
    std::filesystem::path file(chosen);
    if (!file.has_extension()) {
        file += ".";
        file += extension;
    }
    return NcFileState{file.string(), file.parent_path()};
}

std::string NcFileFilter(std::string_view title, std::string_view extension) {
    const std::string pattern = "*." + std::string(extension);
    return std::string(title) + " (" + pattern + ")";
}

std::string ShortenToWidth(std::string_view text, int width, const std::function<int(std::string_view)>& widthOf) {
    std::string result(text);
    while (widthOf(result) > width - 5) {
        // Nine characters, "...", and the rest: one more pass would leave the
        // text as it is, so this is as short as it gets.
        if (result.size() < 10 || result.size() <= 12) break;
        result = result.substr(0, 9) + "..." + result.substr(std::min<std::size_t>(14, result.size()));
    }
    return result;
}

PostChoice ChoosePostProcessor(const std::filesystem::path& programFolder, std::string_view postName,
                               const PostSettings& current) {
    PostSettings wanted = current;
    wanted.postName = std::string(postName);
    PostLoadResult loaded = LoadPostProcessor(programFolder, wanted);
    PostChoice choice;
    choice.settings = std::move(loaded.settings);
    choice.settings.postName = std::string(postName);
    choice.comment = choice.settings.postComment;
    while (!choice.comment.empty() && (choice.comment.back() == '\n' || choice.comment.back() == '\r'))
        choice.comment.pop_back();
    choice.extension = choice.settings.fileExtension.empty() ? "NC" : choice.settings.fileExtension;
    choice.problems = std::move(loaded.problems);
    return choice;
}

}  // namespace calvoro

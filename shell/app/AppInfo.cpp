#include "shell/app/AppInfo.h"

#include "AppVersion.h"

namespace calvoro {

namespace {
std::filesystem::path& ProgramFolderCell() {
    static std::filesystem::path folder = std::filesystem::current_path();
    return folder;
}
}  // namespace

std::string ProductName() {
    return kProductName;
}
std::string VersionText() {
    return kVersionText;
}
std::string ProductCaption() {
    return ProductName() + " " + VersionText();
}

void SetProgramFolder(const std::filesystem::path& folder) {
    ProgramFolderCell() = folder;
}
const std::filesystem::path& ProgramFolder() {
    return ProgramFolderCell();
}

}  // namespace calvoro

#include "engine/document/SaveName.h"

#include <string>

namespace calvoro {

namespace {

// The extension starts at the last dot of the file name, the dot included; a
// name of only an extension (".pxm") has one too.
std::string::size_type ExtensionStart(const std::string& name) {
    const auto folderEnd = name.find_last_of('/');
    const auto dot = name.find_last_of('.');
    if (dot == std::string::npos || (folderEnd != std::string::npos && dot < folderEnd)) return std::string::npos;
    return dot;
}

std::string WithoutExtension(const std::string& name) {
    return name.substr(0, ExtensionStart(name));
}

}  // namespace

std::filesystem::path ProposedSaveName(const std::filesystem::path& documentFileName,
                                       const std::filesystem::path& lastPictureFileName) {
    const std::string proposed = !documentFileName.empty() ? WithoutExtension(documentFileName.string())
                                                           : WithoutExtension(lastPictureFileName.filename().string());
    // The dialog's own placeholder for "no name yet" is "*.*"; the user is
    // offered "t" instead.
    if (proposed.empty() || proposed == "*.*") return std::filesystem::path("t");
    return proposed;
}

std::filesystem::path CompleteSaveName(const std::filesystem::path& chosenName, SaveKind kind) {
    const std::string name = chosenName.string();
    if (ExtensionStart(name) != std::string::npos) return chosenName;
    switch (kind) {
        case SaveKind::Document:
            return name + ".pxm";
        case SaveKind::Stl:
            return name + ".stl";
        case SaveKind::Dxf:
            return name + ".dxf";
    }
    return chosenName;
}

}  // namespace calvoro

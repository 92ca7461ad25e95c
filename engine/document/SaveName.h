// The names of the save command: what the save dialog proposes, and the name a
// chosen file gets when the user typed none of its extension.
#pragma once

#include <filesystem>

namespace calvoro {

// The save dialog's three file types, in the order of its filter.
enum class SaveKind {
    Document = 1,  // ".pxm", picture and job record
    Stl = 2,       // ".stl", the relief
    Dxf = 3,       // ".dxf", the drawing
};

// The document name without its extension; when there is none, the file name
// of the last opened picture without folder and extension. With neither, or
// "*.*", the proposal is "t".
std::filesystem::path ProposedSaveName(const std::filesystem::path& documentFileName,
                                       const std::filesystem::path& lastPictureFileName);

// The chosen name as it stands when it has an extension (of any case: job.PXM
// stays job.PXM); otherwise with ".pxm", ".stl" or ".dxf" by the kind.
std::filesystem::path CompleteSaveName(const std::filesystem::path& chosenName, SaveKind kind);

}  // namespace calvoro

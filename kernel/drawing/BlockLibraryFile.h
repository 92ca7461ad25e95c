// The block library file beside the program ("Library.blk"): read into the
// drawing at start-up when it is there, and written through a temporary file
// so that a failed write leaves the old library as it was.
#pragma once

#include <filesystem>

namespace calvoro {

class TQVCmp;

// False, with the drawing untouched, when there is no such file; otherwise
// the library is loaded (TQVCmp::LoadLibrary and its refusals). A file that
// exists but cannot be read (a folder, a pipe or a device of that name
// included) raises std::runtime_error naming it and the reason.
bool LoadBlockLibraryFile(TQVCmp& drawing, const std::filesystem::path& fileName);

// The drawing's library blocks as a library file.
void SaveBlockLibraryFile(TQVCmp& drawing, const std::filesystem::path& fileName);

}  // namespace calvoro

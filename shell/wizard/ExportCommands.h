// The drawing written as a DXF file under a name the user chose.
#pragma once

#include <filesystem>

namespace calvoro {

class TQVCmp2D;

// Written through a temporary file: a failure throws FileWriteError and
// leaves an existing file as it was.
void ExportDrawingDxf(const std::filesystem::path& fileName, TQVCmp2D& drawing);

}  // namespace calvoro

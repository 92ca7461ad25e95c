// Reading and writing the block library file.
#include "kernel/drawing/BlockLibraryFile.h"

#include "kernel/drawing/QVCmp.h"
#include "kernel/model/BinaryReader.h"
#include "kernel/model/BinaryWriter.h"
#include "kernel/platform/AtomicFile.h"

namespace calvoro {

bool LoadBlockLibraryFile(TQVCmp& drawing, const std::filesystem::path& fileName) {
    if (!std::filesystem::exists(fileName)) return false;
    const std::string bytes = ReadWholeFile(fileName);
    BinaryReader reader(bytes);
    drawing.LoadLibrary(reader);
    return true;
}

void SaveBlockLibraryFile(TQVCmp& drawing, const std::filesystem::path& fileName) {
    BinaryWriter writer;
    drawing.SaveLibrary(writer);
    WriteFileAtomically(fileName, writer.bytes());
}

}  // namespace calvoro

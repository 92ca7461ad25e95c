// Reading and writing the block library file.
#include "kernel/drawing/BlockLibraryFile.h"

#include <stdexcept>
#include <system_error>

#include "kernel/drawing/QVCmp.h"
#include "kernel/model/BinaryReader.h"
#include "kernel/model/BinaryWriter.h"
#include "kernel/platform/AtomicFile.h"
#include "kernel/platform/InputFile.h"

namespace calvoro {

bool LoadBlockLibraryFile(TQVCmp& drawing, const std::filesystem::path& fileName) {
    std::error_code error;
    if (!std::filesystem::exists(fileName, error)) return false;
    std::string bytes;
    try {
        bytes = ReadWholeFile(fileName);
    } catch (const InputFileError& failure) {
        throw std::runtime_error("The block library \"" + fileName.string() + "\" cannot be read: " + failure.reason() +
                                 ".");
    }
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

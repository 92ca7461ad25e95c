// Text fields of the text records.
#include "kernel/entities/TextRecord.h"

#include "kernel/model/BinaryReader.h"
#include "kernel/model/BinaryWriter.h"
#include "kernel/model/CADCoreExceptions.h"

#include <cstdint>
#include <limits>

namespace calvoro {

std::string ReadTextField(BinaryReader& reader, std::string_view owner) {
    const std::int32_t length = reader.readInt32();
    if (length < 0 || static_cast<std::size_t>(length) > reader.remaining()) {
        throw ECADFileNotValid(std::string(owner) + ".CreateFromStream: Text length " + std::to_string(length) +
                               " does not fit in the stream");
    }
    return reader.readBytes(static_cast<std::size_t>(length));
}

void WriteTextField(BinaryWriter& writer, std::string_view text) {
    if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        throw ECADOutOfBound("WriteTextField: Text too long for its record");
    }
    writer.writeInt32(static_cast<std::int32_t>(text.size()));
    writer.writeBytes(text);
}

}  // namespace calvoro

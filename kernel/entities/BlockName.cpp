// Block names as they are stored.
#include "kernel/entities/BlockName.h"

#include "kernel/model/BinaryReader.h"
#include "kernel/model/BinaryWriter.h"

#include <algorithm>

namespace calvoro {

TBlockName MakeBlockName(std::string_view text) {
    TBlockName name{};
    std::copy_n(text.begin(), std::min(text.size(), name.size()), name.begin());
    return name;
}

std::string_view BlockNameText(const TBlockName& name) {
    const auto end = std::find(name.begin(), name.end(), '\0');
    return std::string_view(name.data(), static_cast<std::size_t>(end - name.begin()));
}

TBlockName ReadBlockName(BinaryReader& reader) {
    TBlockName name{};
    reader.readInto(name.data(), name.size());
    return name;
}

void WriteBlockName(BinaryWriter& writer, const TBlockName& name) {
    writer.writeBytes(name.data(), name.size());
}

}  // namespace calvoro

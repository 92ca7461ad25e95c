// The 13-byte names of source blocks, as block records store them: a shorter
// name ends with a zero byte, and two names match only when all 13 stored
// bytes match (bytes after the terminating zero included).
#pragma once

#include <array>
#include <string_view>

namespace calvoro {

class BinaryReader;
class BinaryWriter;

using TBlockName = std::array<char, 13>;

// The text cut to 13 bytes; the bytes after it are zero.
TBlockName MakeBlockName(std::string_view text);
// The characters up to the first zero byte.
std::string_view BlockNameText(const TBlockName& name);

TBlockName ReadBlockName(BinaryReader& reader);
void WriteBlockName(BinaryWriter& writer, const TBlockName& name);

}  // namespace calvoro

// The text field of the text records: a signed 32-bit length and that many
// bytes. The length read from a stream must lie between 0 and what the stream
// still holds.
#pragma once

#include <string>
#include <string_view>

namespace calvoro {

class BinaryReader;
class BinaryWriter;

// `owner` names the reading class in the message of a refusal.
std::string ReadTextField(BinaryReader& reader, std::string_view owner);
void WriteTextField(BinaryWriter& writer, std::string_view text);

}  // namespace calvoro

// Little-endian writing of the kernel's records.
#include "kernel/model/BinaryWriter.h"

#include <bit>
#include <stdexcept>

namespace calvoro {

void BinaryWriter::writeLittleEndian(std::uint64_t value, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        buffer_.push_back(static_cast<char>(value & 0xFF));
        value >>= 8;
    }
}

void BinaryWriter::writeFloat32(float value) {
    writeUInt32(std::bit_cast<std::uint32_t>(value));
}
void BinaryWriter::writeFloat64(double value) {
    writeUInt64(std::bit_cast<std::uint64_t>(value));
}

void BinaryWriter::writeBytes(const void* data, std::size_t count) {
    buffer_.append(static_cast<const char*>(data), count);
}

void BinaryWriter::writeShortString(std::string_view text, std::size_t capacity) {
    if (capacity > 255) throw std::invalid_argument("BinaryWriter.writeShortString: a length byte holds at most 255");
    const std::size_t length = text.size() < capacity ? text.size() : capacity;
    writeUInt8(static_cast<std::uint8_t>(length));
    buffer_.append(text.substr(0, length));
    buffer_.append(capacity - length, '\0');
}

void BinaryWriter::patchInt32(std::size_t offset, std::int32_t value) {
    if (offset > buffer_.size() || buffer_.size() - offset < 4) {
        throw std::out_of_range("BinaryWriter.patchInt32: offset " + std::to_string(offset) +
                                " lies outside the written bytes");
    }
    auto bits = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i) {
        buffer_[offset + i] = static_cast<char>(bits & 0xFF);
        bits >>= 8;
    }
}

}  // namespace calvoro

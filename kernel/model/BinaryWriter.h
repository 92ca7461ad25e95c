// Writes the kernel's binary records into a byte buffer: little-endian fields
// back to back, no alignment. A count that is known only at the end can be
// written as a placeholder and patched in place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace calvoro {

class BinaryWriter {
public:
    std::size_t position() const { return buffer_.size(); }
    const std::string& bytes() const { return buffer_; }
    std::string takeBytes() { return std::move(buffer_); }

    void writeUInt8(std::uint8_t value) { writeLittleEndian(value, 1); }
    void writeInt8(std::int8_t value) { writeUInt8(static_cast<std::uint8_t>(value)); }
    void writeBool(bool value) { writeUInt8(value ? 1 : 0); }
    void writeUInt16(std::uint16_t value) { writeLittleEndian(value, 2); }
    void writeInt16(std::int16_t value) { writeUInt16(static_cast<std::uint16_t>(value)); }
    void writeUInt32(std::uint32_t value) { writeLittleEndian(value, 4); }
    void writeInt32(std::int32_t value) { writeUInt32(static_cast<std::uint32_t>(value)); }
    void writeUInt64(std::uint64_t value) { writeLittleEndian(value, 8); }
    void writeInt64(std::int64_t value) { writeUInt64(static_cast<std::uint64_t>(value)); }
    void writeFloat32(float value);
    void writeFloat64(double value);
    void writeBytes(std::string_view bytes) { buffer_.append(bytes); }
    void writeBytes(const void* data, std::size_t count);

    // One length byte and `capacity` character bytes; a longer text is cut to
    // the capacity and the unused bytes are zero.
    void writeShortString(std::string_view text, std::size_t capacity);

    // Overwrites four bytes written earlier at `offset`.
    void patchInt32(std::size_t offset, std::int32_t value);

private:
    void writeLittleEndian(std::uint64_t value, std::size_t count);

    std::string buffer_;
};

}  // namespace calvoro

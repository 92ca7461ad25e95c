// Reads the kernel's binary records: little-endian fields back to back, no
// alignment. Every read is checked against the bytes that remain, so a record
// cut short raises ECADFileNotValid instead of reading past the buffer, and a
// count read from a file is checked before anything is allocated for it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace calvoro {

class BinaryReader {
public:
    // The reader does not copy the bytes; they must outlive it.
    BinaryReader(const void* data, std::size_t size);
    explicit BinaryReader(std::string_view bytes) : BinaryReader(bytes.data(), bytes.size()) {}
    explicit BinaryReader(const std::string& bytes) : BinaryReader(bytes.data(), bytes.size()) {}
    // A temporary buffer would be gone before the first read.
    explicit BinaryReader(std::string&& bytes) = delete;

    std::size_t position() const { return position_; }
    std::size_t size() const { return size_; }
    std::size_t remaining() const { return size_ - position_; }
    bool atEnd() const { return position_ == size_; }

    std::uint8_t readUInt8();
    std::int8_t readInt8();
    bool readBool();  // one byte, any value other than 0 is true
    std::uint16_t readUInt16();
    std::int16_t readInt16();
    std::uint32_t readUInt32();
    std::int32_t readInt32();
    std::uint64_t readUInt64();
    std::int64_t readInt64();
    float readFloat32();
    double readFloat64();

    // Count bytes as they stand.
    std::string readBytes(std::size_t count);
    void readInto(void* target, std::size_t count);
    void skip(std::size_t count);

    // A fixed field of one length byte and `capacity` character bytes. A length
    // byte above the capacity is taken as the capacity: the text never reaches
    // past its field.
    std::string readShortString(std::size_t capacity);

    // Refuses, before anything is allocated, a count of elements that cannot fit
    // in what is left of the buffer. `what` names the field in the message.
    void requireAvailable(std::uint64_t count, std::size_t bytesPerElement, std::string_view what) const;

private:
    const unsigned char* take(std::size_t count);
    std::uint64_t readLittleEndian(std::size_t count);

    const unsigned char* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

}  // namespace calvoro

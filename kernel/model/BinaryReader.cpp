// Bounds-checked little-endian reading of the kernel's records.
#include "kernel/model/BinaryReader.h"

#include "kernel/model/CADCoreExceptions.h"

#include <bit>
#include <cstring>

namespace calvoro {

BinaryReader::BinaryReader(const void* data, std::size_t size)
    : data_(static_cast<const unsigned char*>(data)), size_(size) {}

const unsigned char* BinaryReader::take(std::size_t count) {
    if (count > remaining()) {
        throw ECADFileNotValid("BinaryReader.Read: Stream read error: " + std::to_string(count) +
                               " bytes needed at offset " + std::to_string(position_) + ", " +
                               std::to_string(remaining()) + " left");
    }
    const unsigned char* start = data_ + position_;
    position_ += count;
    return start;
}

std::uint64_t BinaryReader::readLittleEndian(std::size_t count) {
    const unsigned char* bytes = take(count);
    std::uint64_t value = 0;
    for (std::size_t i = count; i-- > 0;) value = (value << 8) | bytes[i];
    return value;
}

std::uint8_t BinaryReader::readUInt8() {
    return static_cast<std::uint8_t>(readLittleEndian(1));
}
std::int8_t BinaryReader::readInt8() {
    return static_cast<std::int8_t>(readUInt8());
}
bool BinaryReader::readBool() {
    return readUInt8() != 0;
}
std::uint16_t BinaryReader::readUInt16() {
    return static_cast<std::uint16_t>(readLittleEndian(2));
}
std::int16_t BinaryReader::readInt16() {
    return static_cast<std::int16_t>(readUInt16());
}
std::uint32_t BinaryReader::readUInt32() {
    return static_cast<std::uint32_t>(readLittleEndian(4));
}
std::int32_t BinaryReader::readInt32() {
    return static_cast<std::int32_t>(readUInt32());
}
std::uint64_t BinaryReader::readUInt64() {
    return readLittleEndian(8);
}
std::int64_t BinaryReader::readInt64() {
    return static_cast<std::int64_t>(readUInt64());
}
float BinaryReader::readFloat32() {
    return std::bit_cast<float>(readUInt32());
}
double BinaryReader::readFloat64() {
    return std::bit_cast<double>(readUInt64());
}

std::string BinaryReader::readBytes(std::size_t count) {
    const unsigned char* bytes = take(count);
    return std::string(reinterpret_cast<const char*>(bytes), count);
}

void BinaryReader::readInto(void* target, std::size_t count) {
    const unsigned char* bytes = take(count);
    if (count > 0) std::memcpy(target, bytes, count);
}

void BinaryReader::skip(std::size_t count) {
    take(count);
}

std::string BinaryReader::readShortString(std::size_t capacity) {
    const std::size_t length = readUInt8();
    const std::string field = readBytes(capacity);
    return field.substr(0, length < capacity ? length : capacity);
}

void BinaryReader::requireAvailable(std::uint64_t count, std::size_t bytesPerElement, std::string_view what) const {
    const std::uint64_t fits = bytesPerElement == 0 ? count : remaining() / bytesPerElement;
    if (count > fits) {
        throw ECADFileNotValid("BinaryReader.Read: " + std::string(what) + " of " + std::to_string(count) +
                               " entries does not fit in the " + std::to_string(remaining()) +
                               " bytes left at offset " + std::to_string(position_));
    }
}

}  // namespace calvoro

// Byte streams written out by hand: little-endian fields appended one after
// the other or put at their offsets, so that a fault of the program's own
// stream writer cannot hide in an expectation; and hex dumps for the failure
// messages of byte-for-byte comparisons.
#pragma once

#include "kernel/geometry/Matrix2D.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <iomanip>
#include <sstream>
#include <string>
#include <string_view>

namespace calvoro::test {

class RecordBytes {
public:
    RecordBytes& U8(std::uint8_t v) { return Append(v, 1); }
    RecordBytes& U16(std::uint16_t v) { return Append(v, 2); }
    RecordBytes& I32(std::int32_t v) { return Append(static_cast<std::uint32_t>(v), 4); }
    RecordBytes& F32(float v) { return Append(std::bit_cast<std::uint32_t>(v), 4); }
    RecordBytes& F64(double v) { return Append(std::bit_cast<std::uint64_t>(v), 8); }
    RecordBytes& Point(double x, double y, double w = 1.0) { return F64(x).F64(y).F64(w); }
    RecordBytes& Matrix(const TMatrix2D& m) {
        for (const auto& row : m.M)
            for (double v : row) F64(v);
        return *this;
    }
    RecordBytes& Identity() { return Matrix(IdentityMatrix2D); }
    // Exactly `size` bytes: the text, then zeros.
    RecordBytes& Fixed(std::string_view text, std::size_t size) {
        std::string field(size, '\0');
        field.replace(0, std::min(size, text.size()), text.substr(0, size));
        bytes_ += field;
        return *this;
    }
    RecordBytes& Raw(const std::string& bytes) {
        bytes_ += bytes;
        return *this;
    }
    // The 6-byte header of a graphic object: ID, layer, flags (1 visible,
    // 2 enabled, 4 not saved).
    RecordBytes& Header(std::int32_t id, std::uint8_t layer = 0, std::uint8_t flags = 3) {
        return I32(id).U8(layer).U8(flags);
    }

    const std::string& str() const { return bytes_; }
    operator const std::string&() const { return bytes_; }  // NOLINT: reads as the bytes it holds

private:
    RecordBytes& Append(std::uint64_t v, int count) {
        for (int i = 0; i < count; ++i) bytes_ += static_cast<char>((v >> (8 * i)) & 0xFF);
        return *this;
    }

    std::string bytes_;
};

// A 32-bit little-endian word put at an offset of any byte container.
template <class Bytes>
void PutLe32(Bytes& bytes, std::size_t at, std::uint32_t word) {
    for (int k = 0; k < 4; ++k) bytes[at + k] = static_cast<typename Bytes::value_type>(word >> (8 * k));
}
inline std::string Hex(std::string_view bytes) {
    std::ostringstream out;
    for (unsigned char c : bytes) out << std::hex << std::setw(2) << std::setfill('0') << int(c) << ' ';
    return out.str();
}

}  // namespace calvoro::test

#define EXPECT_BYTES_EQ(actual, expected)                                                   \
    do {                                                                                    \
        const std::string actual_ = (actual), expected_ = (expected);                       \
        EXPECT_EQ(actual_, expected_) << "actual:   " << ::calvoro::test::Hex(actual_)      \
                                      << "\nexpected: " << ::calvoro::test::Hex(expected_); \
    } while (false)

// Shared helpers of the entity tests: records assembled by hand, byte for
// byte, to compare with what the entities write; reading and writing objects;
// the point checks of the geometry tests.
#pragma once

#include "kernel/entities/EntityClasses.h"
#include "kernel/entities/TObject2D.h"
#include "kernel/geometry/Matrix2D.h"
#include "kernel/model/BinaryReader.h"
#include "kernel/model/BinaryWriter.h"
#include "kernel/model/ClassRegistry.h"
#include "kernel/model/VersionTag.h"
#include "tests/kernel/geometry/GeometryTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <iomanip>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace calvoro::test {

// Little-endian fields appended one after the other, written out by hand so
// that a fault of the stream writer cannot hide in the expectation.
class RecordBytes {
public:
    RecordBytes& U8(std::uint8_t v) { return Append(v, 1); }
    RecordBytes& U16(std::uint16_t v) { return Append(v, 2); }
    RecordBytes& I32(std::int32_t v) { return Append(static_cast<std::uint32_t>(v), 4); }
    RecordBytes& F64(double v) { return Append(std::bit_cast<std::uint64_t>(v), 8); }
    RecordBytes& Point(double x, double y, double w = 1.0) { return F64(x).F64(y).F64(w); }
    RecordBytes& Matrix(const TMatrix2D& m) {
        for (const auto& row : m.M) {
            for (double v : row) F64(v);
        }
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
    // The 6-byte object header: ID, layer, flags (1 visible, 2 enabled, 4 not saved).
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

inline const VersionTag LibraryVersion{"QV-002"};

// The record of an arc or an open ellipse: these points, then the curve's
// SegmentCount and KeepProfile bytes and its Direction byte.
inline std::string ArcRecord(const std::vector<TPoint2D>& points, std::uint8_t direction, std::uint16_t segments = 50,
                             std::uint8_t keepProfile = 1, std::int32_t id = 1) {
    RecordBytes r;
    r.Header(id).Identity().U16(static_cast<std::uint16_t>(points.size()));
    for (const TPoint2D& p : points) r.Point(p.X, p.Y, p.W);
    r.U8(0).U16(segments).U8(keepProfile).U8(direction);
    return r.str();
}

// The object's own record, as SaveToStream writes it.
inline std::string RecordOf(TGraphicObject& object) {
    BinaryWriter writer;
    object.SaveToStream(writer);
    return writer.takeBytes();
}

// Reads one record of class T; every byte must be used.
template <class T>
std::unique_ptr<T> ReadRecord(const std::string& bytes) {
    BinaryReader reader(bytes);
    auto object = std::make_unique<T>(reader, LibraryVersion);
    EXPECT_TRUE(reader.atEnd()) << reader.remaining() << " bytes left unread";
    return object;
}

// Writes the object with its class index and reads it back as the drawing's
// streams do; the result is a 2D object whose box is up to date.
inline std::unique_ptr<TObject2D> RoundTrip(TGraphicObject& object) {
    BinaryWriter writer;
    WriteObjectWithClassIndex(writer, object);
    BinaryReader reader(writer.bytes());
    std::unique_ptr<TGraphicObject> read = ReadObjectWithClassIndex(reader, LibraryVersion);
    EXPECT_TRUE(reader.atEnd());
    auto* object2D = dynamic_cast<TObject2D*>(read.get());
    EXPECT_NE(object2D, nullptr);
    if (object2D == nullptr) return nullptr;
    read.release();
    std::unique_ptr<TObject2D> result(object2D);
    result->RecalcBox();
    return result;
}

// Hex dump for failure messages.
inline std::string Hex(const std::string& bytes) {
    std::ostringstream out;
    for (unsigned char c : bytes) out << std::hex << std::setw(2) << std::setfill('0') << int(c) << ' ';
    return out.str();
}

// Registers the entity classes in the process-wide table once per program.
class EntityTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterKernelClasses(); }
};

}  // namespace calvoro::test

#define EXPECT_BYTES_EQ(actual, expected)                                                   \
    do {                                                                                    \
        const std::string actual_ = (actual), expected_ = (expected);                       \
        EXPECT_EQ(actual_, expected_) << "actual:   " << ::calvoro::test::Hex(actual_)      \
                                      << "\nexpected: " << ::calvoro::test::Hex(expected_); \
    } while (false)

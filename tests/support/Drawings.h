// Drawings for the kernel's tests: readable point checks, entity records
// read and written, every entity class registered, a small vector font and
// small BMP files for picture entities.
#pragma once

#include "kernel/entities/EntityClasses.h"
#include "kernel/entities/EntityModule.h"
#include "kernel/entities/TObject2D.h"
#include "kernel/entities/TVectFont.h"
#include "kernel/entities/VectFontTable.h"
#include "kernel/geometry/Matrix2D.h"
#include "kernel/geometry/Point2D.h"
#include "kernel/model/BinaryReader.h"
#include "kernel/model/BinaryWriter.h"
#include "kernel/model/CADCoreExceptions.h"
#include "kernel/model/ClassRegistry.h"
#include "kernel/model/VersionTag.h"
#include "tests/support/Refusals.h"
#include "tests/support/Streams.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace calvoro {

inline std::ostream& operator<<(std::ostream& out, const TPoint2D& p) {
    return out << "(" << p.X << ", " << p.Y << ", " << p.W << ")";
}

inline std::ostream& operator<<(std::ostream& out, const TVector2D& v) {
    return out << "(" << v.X << ", " << v.Y << ")";
}

}  // namespace calvoro

// X, Y and W each within a few units in the last place.
#define EXPECT_POINT_EQ(actual, x, y)                \
    do {                                             \
        const ::calvoro::TPoint2D point_ = (actual); \
        EXPECT_DOUBLE_EQ(point_.X, (x)) << point_;   \
        EXPECT_DOUBLE_EQ(point_.Y, (y)) << point_;   \
        EXPECT_DOUBLE_EQ(point_.W, 1.0) << point_;   \
    } while (false)

#define EXPECT_POINT_NEAR(actual, x, y, eps)         \
    do {                                             \
        const ::calvoro::TPoint2D point_ = (actual); \
        EXPECT_NEAR(point_.X, (x), (eps)) << point_; \
        EXPECT_NEAR(point_.Y, (y), (eps)) << point_; \
    } while (false)

namespace calvoro::test {

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

// Registers the entity classes in the process-wide table once per program.
class EntityTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterKernelClasses(); }
};

// Every entity class registered; the font table emptied after each test.
class DrawingTest : public ::testing::Test {
protected:
    void SetUp() override { InitializeEntityModule(); }
    void TearDown() override { VectFontTable::Global().Reset(); }
};

// Two glyphs: 'A' one unit wide on the baseline, 'g' half a unit wide reaching
// 0.25 below it.
inline std::shared_ptr<TVectFont> MakeTestFont() {
    auto font = std::make_shared<TVectFont>();
    auto a = std::make_unique<TVectChar>();
    const TPoint2D aStroke[] = {MakePoint2D(0, 0), MakePoint2D(0.5, 1), MakePoint2D(1, 0)};
    a->AddPolyline(aStroke);
    font->SetChar('A', std::move(a));
    auto g = std::make_unique<TVectChar>();
    const TPoint2D gStroke[] = {MakePoint2D(0.5, 0.5), MakePoint2D(0.5, -0.25), MakePoint2D(0, -0.25)};
    g->AddPolyline(gStroke);
    font->SetChar('g', std::move(g));
    return font;
}

// A 24-bit BMP file, bottom-up rows, every pixel of one grey.
inline std::string MakeBmp24(int width, int height) {
    const int pixelBytes = (width * 3 + 3) / 4 * 4 * height;
    RecordBytes bmp;
    bmp.Raw("BM").I32(54 + pixelBytes).I32(0).I32(54);
    bmp.I32(40).I32(width).I32(height).U16(1).U16(24).I32(0).I32(pixelBytes).I32(2835).I32(2835).I32(0).I32(0);
    return bmp.Raw(std::string(static_cast<std::size_t>(pixelBytes), '\x5A'));
}

}  // namespace calvoro::test

// The text and vector-text entities: their records and the records they
// refuse.
#include "kernel/entities/TJustifiedVectText2D.h"
#include "kernel/draw/Canvas.h"
#include "kernel/entities/TText2D.h"

#include "tests/support/Drawings.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

using namespace calvoro;
using namespace calvoro::test;

namespace {

class TextEntities : public DrawingTest {};

// The primitive part of a record with two points and no transform.
RecordBytes TwoPointRecord(double x1, double y1) {
    RecordBytes r;
    r.Header(9).Identity().U16(2).Point(0, 0).Point(x1, y1).U8(0);
    return r;
}

// "AgA" in a 20 by 10 frame: height 2, interline 0.5, spacing 0.1.
std::string VectTextRecord(std::int32_t fontIndex, std::uint8_t h = 0, std::uint8_t v = 0) {
    return TwoPointRecord(20, 10).I32(3).Raw("AgA").I32(fontIndex).U8(h).U8(v).U8(1).F64(2).F64(0.5).F64(0.1);
}

TEST_F(TextEntities, TextRecordIsWrittenFieldByField) {
    TText2D text(9, MakePoint2D(0, 0), MakePoint2D(30, 12), 2.5, "Calvoro \xE8");
    text.SetDrawTextFlags(TextFormat::Center | TextFormat::SingleLine);
    text.SetDrawBox(true);
    BinaryWriter font;
    text.ExtFont().SaveToStream(font);
    const std::string expected =
        TwoPointRecord(30, 12).I32(9).Raw("Calvoro \xE8").Raw(font.bytes()).I32(0x21).U8(1).F64(2.5).str();
    EXPECT_BYTES_EQ(RecordOf(text), expected);
    const auto read = ReadRecord<TText2D>(expected);
    EXPECT_EQ(read->Text(), "Calvoro \xE8");
    EXPECT_TRUE(read->DrawBox());
    EXPECT_FALSE(read->AutoSize()) << "AutoSize is not stored";
    EXPECT_BYTES_EQ(RecordOf(*read), expected);
}

TEST_F(TextEntities, RecordsWithLengthsOrJustificationsOutOfRangeAreRefused) {
    for (const std::int32_t length : {-1, 8, 0x7FFFFFFF}) {
        const std::string bytes = TwoPointRecord(1, 1).I32(length).Raw("abc").str();
        BinaryReader reader(bytes);
        EXPECT_THROW(TText2D(reader, LibraryVersion), ECADFileNotValid) << length;
    }
    for (const auto& [h, v] : {std::pair{3, 0}, std::pair{0, 3}, std::pair{255, 1}}) {
        const std::string bytes = VectTextRecord(0, static_cast<std::uint8_t>(h), static_cast<std::uint8_t>(v));
        BinaryReader reader(bytes);
        EXPECT_THROW(TJustifiedVectText2D(reader, LibraryVersion), ECADFileNotValid) << h << " " << v;
    }
}

}  // namespace

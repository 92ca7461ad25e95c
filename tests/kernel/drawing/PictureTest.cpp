// The picture entity and the BMP bytes it holds: the length the BMP header
// declares, checked against the stream; the size of old and top-down
// pictures; a picture the installed decoder refuses; the record's trailing
// fields by stream version; and drawing upright.
#include "kernel/draw/DecorativeCanvas.h"
#include "kernel/draw/RecordingCanvas.h"
#include "kernel/entities/BmpImage.h"
#include "kernel/entities/TBitmap2D.h"

#include "tests/support/Drawings.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using namespace calvoro;
using namespace calvoro::test;

namespace {

class Picture : public DrawingTest {
protected:
    void TearDown() override {
        SetBmpRasterDecoder(nullptr);
        DrawingTest::TearDown();
    }
};

TEST_F(Picture, BmpIsReadToTheLengthItDeclares) {
    const std::string bmp = MakeBmp24(3, 2);
    const std::string record = bmp + "\xEF\xBE\xAD\xDE";  // what follows the picture in a record
    BinaryReader reader(record);
    const BmpImage image = BmpImage::Read(reader);
    EXPECT_EQ(image.FileBytes(), bmp);
    EXPECT_EQ(image.Width(), 3);
    EXPECT_EQ(image.Height(), 2);
    EXPECT_EQ(reader.readUInt32(), 0xDEADBEEFu);

    const BmpImage empty;  // what a new picture entity holds: a valid file of no pixels
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_EQ(empty.FileBytes().size(), 54u);
    EXPECT_EQ(empty.Pixels(), nullptr);
    BinaryReader emptyReader(empty.FileBytes());
    EXPECT_EQ(BmpImage::Read(emptyReader).FileBytes(), empty.FileBytes());

    const BmpImage core =
        BmpImage::FromFile(RecordBytes().Raw("BM").I32(26).I32(0).I32(26).I32(12).U16(5).U16(4).U16(1).U16(24));
    EXPECT_EQ(core.Width(), 5) << "the oldest info header, of 16-bit sizes";
    EXPECT_EQ(core.Height(), 4);
    std::string topDown = MakeBmp24(3, 2);
    topDown.replace(22, 4, "\xFE\xFF\xFF\xFF");  // height -2
    EXPECT_EQ(BmpImage::FromFile(topDown).Height(), 2);
}

TEST_F(Picture, BmpThatIsNoBitmapOrIsCutShortIsRefused) {
    const std::string bmp = MakeBmp24(2, 2);
    auto changed = [&bmp](std::size_t at, const std::string& bytes) {
        return std::string(bmp).replace(at, bytes.size(), bytes);
    };
    const std::string cases[] = {
        changed(0, "X"),                                                // signature
        changed(2, std::string(1, static_cast<char>(bmp.size() + 1))),  // declared length past the stream
        changed(2, std::string("\x14\0\0\0", 4)),                       // declared length inside the headers
        changed(14, "\xF0"),                                            // info header larger than the file
        changed(21, "\x80"),                                            // negative width
        bmp.substr(0, 13),
    };
    for (const std::string& bytes : cases) {
        BinaryReader reader(bytes);
        EXPECT_THROW(BmpImage::Read(reader), ECADFileNotValid);
    }
}

}  // namespace

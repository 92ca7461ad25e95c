// The picture entity and the BMP bytes it holds: the length the BMP header
// declares, checked against the stream; the size of old and top-down
// pictures; a picture the installed decoder refuses; the record's trailing
// fields by stream version; and drawing upright.
#include "kernel/draw/DecorativeCanvas.h"
#include "kernel/draw/RecordingCanvas.h"
#include "kernel/entities/BmpImage.h"
#include "kernel/entities/TBitmap2D.h"

#include "DrawingTestSupport.h"

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

TEST_F(Picture, ARefusedPictureStaysUnpaintedAndSaysWhy) {
    SetBmpRasterDecoder([](std::string_view) -> RasterImage { throw std::runtime_error("RLE4 not supported"); });
    const BmpImage refused = BmpImage::FromFile(MakeBmp24(2, 2));
    EXPECT_EQ(refused.Pixels(), nullptr);
    EXPECT_EQ(refused.DecodeError(), "RLE4 not supported");
}

TEST_F(Picture, TrailingFieldsFollowTheStreamVersion) {
    const std::string bmp = MakeBmp24(2, 2);
    const std::string body = RecordBytes().Header(3).Identity().U16(2).Point(0, 0).Point(4, 2).U8(0).Raw(bmp).str();
    const std::string trailing = RecordBytes().F64(1.5).F64(-2).I32(0x00660046).str();
    for (const auto& [version, readsTrailing] :
         {std::pair{"KRN41", false}, std::pair{"KRN4", false}, std::pair{"KRN422", true}, std::pair{"QV-002", true}}) {
        SCOPED_TRACE(version);
        const std::string bytes = readsTrailing ? body + trailing : body;
        BinaryReader reader(bytes);
        const TBitmap2D picture(reader, VersionTag(version));
        EXPECT_TRUE(reader.atEnd());
        EXPECT_EQ(picture.Bitmap().FileBytes(), bmp);
        EXPECT_EQ(picture.Reserved()[0], readsTrailing ? 1.5 : 0.0);
        EXPECT_EQ(picture.Reserved()[1], readsTrailing ? -2.0 : 0.0);
        EXPECT_EQ(picture.CopyMode(), readsTrailing ? CopyMode::SrcInvert : CopyMode::SrcCopy);
        if (readsTrailing) {
            EXPECT_BYTES_EQ(RecordOf(*picture.Clone()), bytes);  // a copy keeps everything
        }
    }
    BinaryReader reader(body);
    TBitmap2D old(reader, VersionTag("KRN41"));
    // Writing always adds the three fields.
    EXPECT_BYTES_EQ(RecordOf(old), body + RecordBytes().F64(0).F64(0).I32(0x00CC0020).str());
}

TEST_F(Picture, IsDrawnUprightWhicheverCornerComesFirst) {
    RecordingCanvas target;
    TDecorativeCanvas canvas{target};
    // Pixels given with the file: no decoder is needed.
    const BmpImage bmp = BmpImage::FromFile(MakeBmp24(4, 2), RasterImage(4, 2));
    struct Case {
        TPoint2D p0, p1;
        TMatrix2D objectMatrix;
        TPixelRect rect;
    };
    const Case cases[] = {
        {MakePoint2D(10, 20), MakePoint2D(30, 40), IdentityMatrix2D, {20, 320, 60, 360}},
        {MakePoint2D(30, 40), MakePoint2D(10, 20), IdentityMatrix2D, {20, 320, 60, 360}},
        {MakePoint2D(10, 40), MakePoint2D(30, 20), IdentityMatrix2D, {20, 320, 60, 360}},
        // A mirror about the Y axis shows the picture mirrored: right to left.
        {MakePoint2D(10, 20), MakePoint2D(30, 40), MirrorMatrix2D(kMirrorX), {-20, 320, -60, 360}},
    };
    for (const Case& c : cases) {
        TBitmap2D picture(1, c.p0, c.p1, bmp);
        picture.SetObjectMatrix(c.objectMatrix);
        picture.SetCopyMode(CopyMode::SrcAnd);
        target.ClearCalls();
        picture.Draw(ViewMatrix(2), canvas, 0, MakeRect2D(0, 0, 640, 480));
        const std::vector<CanvasCall> drawn = target.CallsOf(CanvasOp::StretchDraw);
        ASSERT_EQ(drawn.size(), 1u);
        EXPECT_EQ(drawn[0].Rect, c.rect);
        EXPECT_EQ(drawn[0].Flags, CopyMode::SrcAnd);
        EXPECT_EQ(drawn[0].ImageSize, (TPixelPoint{4, 2}));
    }
}

}  // namespace

#include "kernel/entities/BmpImage.h"
#include "kernel/model/BinaryReader.h"
#include "kernel/model/BinaryWriter.h"
#include "kernel/model/CADCoreExceptions.h"

#include "BmpTestFiles.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

using namespace calvoro;
using namespace calvoro::test;

namespace {

class BmpImageTest : public ::testing::Test {
protected:
    void TearDown() override { SetBmpRasterDecoder(nullptr); }
};

TEST_F(BmpImageTest, ReadsExactlyTheDeclaredLengthFromAStream) {
    const std::string bmp = MakeBmp24(3, 2, 0x102030);
    BinaryWriter writer;
    writer.writeBytes(bmp);
    writer.writeUInt32(0xDEADBEEF);  // what follows the picture in a record
    BinaryReader reader(writer.bytes());
    const BmpImage image = BmpImage::Read(reader);
    EXPECT_EQ(image.FileBytes(), bmp);
    EXPECT_EQ(image.Width(), 3);
    EXPECT_EQ(image.Height(), 2);
    EXPECT_EQ(reader.readUInt32(), 0xDEADBEEFu);
    BinaryWriter out;
    image.Write(out);
    EXPECT_EQ(out.bytes(), bmp);
}

TEST_F(BmpImageTest, RefusesStreamsThatAreNoBitmapOrCutShort) {
    const std::string bmp = MakeBmp24(2, 2, 0);
    std::string wrongSignature = bmp;
    wrongSignature[0] = 'X';
    std::string lengthTooLarge = bmp;
    lengthTooLarge[2] = static_cast<char>(bmp.size() + 1);
    std::string lengthTooSmall = bmp;
    lengthTooSmall[2] = 20;
    lengthTooSmall[3] = lengthTooSmall[4] = lengthTooSmall[5] = 0;
    std::string infoTooLarge = bmp;
    infoTooLarge[14] = static_cast<char>(0xF0);
    std::string negativeWidth = bmp;
    negativeWidth[21] = static_cast<char>(0x80);
    for (const std::string& bytes :
         {wrongSignature, lengthTooLarge, lengthTooSmall, infoTooLarge, negativeWidth, bmp.substr(0, 13)}) {
        BinaryReader reader(bytes);
        EXPECT_THROW(BmpImage::Read(reader), ECADFileNotValid);
    }
}

TEST_F(BmpImageTest, OldCoreHeaderAndTopDownRowsGiveTheSize) {
    const BmpImage core = BmpImage::FromFile(MakeCoreHeaderBmp(5, 4));
    EXPECT_EQ(core.Width(), 5);
    EXPECT_EQ(core.Height(), 4);
    std::string topDown = MakeBmp24(3, 2, 0);
    topDown[22] = static_cast<char>(0xFE);  // height -2
    topDown[23] = topDown[24] = topDown[25] = static_cast<char>(0xFF);
    EXPECT_EQ(BmpImage::FromFile(topDown).Height(), 2);
}

TEST_F(BmpImageTest, EmptyImageIsAValidBitmapOfNoPixels) {
    const BmpImage empty;
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_EQ(empty.FileBytes().size(), 54u);
    EXPECT_EQ(empty.Pixels(), nullptr);
    BinaryReader reader(empty.FileBytes());
    EXPECT_EQ(BmpImage::Read(reader).FileBytes(), empty.FileBytes());
}

TEST_F(BmpImageTest, DecodesOnceThroughTheInstalledDecoder) {
    int calls = 0;
    SetBmpRasterDecoder([&calls](std::string_view file) {
        ++calls;
        return DecodeTestBmp24(file);
    });
    const BmpImage image = BmpImage::FromFile(MakeBmp24(2, 3, 0x0000FF));
    const BmpImage copy = image;
    ASSERT_NE(image.Pixels(), nullptr);
    EXPECT_EQ(image.Pixels()->Width, 2);
    EXPECT_EQ(image.Pixels()->At(1, 2), 0xFFFF0000u);  // red as 0xAARRGGBB
    ASSERT_NE(copy.Pixels(), nullptr);
    EXPECT_EQ(calls, 1) << "copies share the decoded pixels";
}

TEST_F(BmpImageTest, ARefusedPictureStaysUnpaintedAndSaysWhy) {
    SetBmpRasterDecoder([](std::string_view) -> RasterImage { throw std::runtime_error("RLE4 not supported"); });
    const BmpImage image = BmpImage::FromFile(MakeBmp24(2, 2, 0));
    EXPECT_EQ(image.Pixels(), nullptr);
    EXPECT_EQ(image.DecodeError(), "RLE4 not supported");
}

TEST_F(BmpImageTest, PixelsGivenWithTheFileAreNotDecodedAgain) {
    SetBmpRasterDecoder([](std::string_view) -> RasterImage { throw std::logic_error("must not be called"); });
    const BmpImage image = BmpImage::FromFile(MakeBmp24(1, 1, 0), RasterImage(1, 1, 0xFF123456));
    ASSERT_NE(image.Pixels(), nullptr);
    EXPECT_EQ(image.Pixels()->At(0, 0), 0xFF123456u);
}

}  // namespace

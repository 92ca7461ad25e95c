// What the entities draw, recorded headless: filled and open outlines, blocks
// through their transform, and the text font's record.
#include "tests/support/Drawings.h"

#include "kernel/draw/DecorativeCanvas.h"
#include "kernel/draw/RecordingCanvas.h"
#include "kernel/entities/QV2D_Entities.h"
#include "kernel/model/BinaryReader.h"

#include <numbers>
#include <utility>
#include <vector>

using namespace calvoro;
using namespace calvoro::test;

namespace {

// World units are pixels here, so that the recorded calls read directly.
const TMatrix2D kPixels = IdentityMatrix2D;
const TRect2D kWholeScreen = MakeRect2D(0, 0, 640, 480);

struct EntityDrawing : EntityTest {
    RecordingCanvas target;
    TDecorativeCanvas canvas{target};

    std::vector<CanvasCall> Calls(CanvasOp op) const { return target.CallsOf(op); }
};

TEST_F(EntityDrawing, FilledShapesFillAndOutlinesDoNot) {
    TPolygon2D polygon(1, std::vector<TPoint2D>{MakePoint2D(10, 10), MakePoint2D(50, 10), MakePoint2D(10, 50)});
    TRectangle2D rectangle(2, MakePoint2D(10, 10), MakePoint2D(50, 50));
    TFrame2D frame(3, MakePoint2D(10, 10), MakePoint2D(50, 50));
    TFilledCerchio2D disc(4, MakePoint2D(100, 100), MakePoint2D(110, 100));
    TArco2D arc(5, MakePoint2D(100, 100), MakePoint2D(110, 100), 0, 1);
    TCerchio2D unkept(6, MakePoint2D(100, 100), MakePoint2D(110, 100));
    unkept.SetKeepProfile(0);  // built for the drawing only
    struct Case {
        TObject2D& object;
        CanvasOp op;
        std::size_t points;
    };
    const Case cases[] = {
        {polygon, CanvasOp::Polygon, 3}, {rectangle, CanvasOp::Polygon, 5}, {frame, CanvasOp::Polyline, 5},
        {disc, CanvasOp::Polygon, 51},   {arc, CanvasOp::Polyline, 51},     {unkept, CanvasOp::Polyline, 51},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.object.ClassName()));
        target.ClearCalls();
        c.object.Draw(kPixels, canvas, 0, kWholeScreen);
        const std::vector<CanvasCall> calls = Calls(c.op);
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].Points.size(), c.points);
        EXPECT_TRUE(Calls(c.op == CanvasOp::Polygon ? CanvasOp::Polyline : CanvasOp::Polygon).empty());
    }
    EXPECT_EQ(Calls(CanvasOp::Polyline)[0].Points.front(), (TPixelPoint{110, 100}));
    EXPECT_FALSE(unkept.HasProfilePoints());
    EXPECT_EQ(unkept.ProfileUseCount(), 0);
}

TEST(ExtendedFont, RecordIsSixtyBytesWithTheSmallFontFace) {
    TExtendedFont font;
    BinaryWriter writer;
    font.SaveToStream(writer);
    RecordBytes expected;
    expected.I32(-11).I32(0).I32(0).I32(0).I32(400);           // height, width, escapement, orientation, weight
    expected.U8(0).U8(0).U8(0).U8(1).U8(0).U8(0).U8(0).U8(0);  // italic .. pitch and family; the character set 1
    EXPECT_BYTES_EQ(writer.bytes(), expected.Fixed("Small Font", 32).str());
    // The height is kept as an unsigned 16-bit value.
    font.SetHeight(-12);
    EXPECT_EQ(font.LogFont().Height, 65524);
    font.SetHeight(70000);
    EXPECT_EQ(font.LogFont().Height, 70000 - 65536);

    TExtendedFont copy;
    BinaryReader reader(writer.bytes());
    copy.LoadFromStream(reader);
    copy.Assign(font);
    EXPECT_EQ(copy.LogFont(), font.LogFont());
    copy.Assign(copy);
    EXPECT_EQ(copy.LogFont(), font.LogFont());
}

}  // namespace

// What the entities draw, recorded headless: control points, clipping to the
// canvas's own clip box, filled and open outlines, containers that give every
// child the same pen, blocks through their transform, and the text font.
#include "tests/kernel/entities/EntityTestSupport.h"

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

using Pixels = std::vector<TPixelPoint>;

// World units are pixels here, so that the recorded calls read directly.
const TMatrix2D kPixels = IdentityMatrix2D;
const TRect2D kWholeScreen = MakeRect2D(0, 0, 640, 480);

struct EntityDrawing : EntityTest {
    RecordingCanvas target;
    TDecorativeCanvas canvas{target};

    std::vector<CanvasCall> Calls(CanvasOp op) const { return target.CallsOf(op); }
};

// A 2D object that notes the pen and brush it is given and then changes them.
using PenAndBrush = std::pair<PenAttributes, BrushAttributes>;

struct PenProbe : TObject2D {
    explicit PenProbe(std::vector<PenAndBrush>& seen) : TObject2D(0), seen(seen) {}
    const TGraphicObjectClass& ClassType() const override { return TObject2D::Class; }
    std::unique_ptr<TObject2D> Clone() const override { return std::make_unique<PenProbe>(seen); }
    void UpdateBox() override {}
    void Draw(const TMatrix2D&, TDecorativeCanvas& canvas, int, const TRect2D&) override {
        seen.emplace_back(canvas.Target().Pen(), canvas.Target().Brush());
        canvas.Target().SetPen(PenAttributes{clRed, TPenStyle::psDot, TPenMode::pmCopy, 3});
        canvas.Target().SetBrush(BrushAttributes{clBlue, TBrushStyle::bsCross});
    }
    std::vector<PenAndBrush>& seen;
};

// Silver squares of the given width through the object matrix; the box too
// when asked for, unless the pen XORs; nothing for an empty container.
TEST_F(EntityDrawing, ControlPointsAreSquaresOfTheGivenWidth) {
    TLine2D line(1, MakePoint2D(10, 20), MakePoint2D(30, 40));
    line.DrawControlPoints(kPixels, canvas, 6);
    std::vector<CanvasCall> squares = Calls(CanvasOp::Rectangle);
    ASSERT_EQ(squares.size(), 2u);
    EXPECT_EQ(squares[0].Rect, (TPixelRect{7, 17, 13, 23}));
    EXPECT_EQ(squares[1].Rect, (TPixelRect{27, 37, 33, 43}));
    EXPECT_EQ(squares[0].Brush.Color, clSilver);

    target.ClearCalls();
    line.SetDrawBoundingBox(true);
    line.SetObjectMatrix(TranslationMatrix2D(100, 0));
    line.DrawControlPoints(kPixels, canvas, 5);
    EXPECT_EQ(Calls(CanvasOp::Rectangle).at(0).Rect, (TPixelRect{108, 18, 112, 22}));
    const std::vector<CanvasCall> frames = Calls(CanvasOp::Polyline);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].Points.front(), (TPixelPoint{110, 20}));
    EXPECT_EQ(frames[0].Points.size(), 5u);

    target.ClearCalls();
    target.SetPen(PenAttributes{clBlack, TPenStyle::psSolid, TPenMode::pmXor, 1});
    line.DrawControlPoints(kPixels, canvas, 4);
    EXPECT_TRUE(Calls(CanvasOp::Polyline).empty());
    EXPECT_EQ(Calls(CanvasOp::Rectangle).size(), 2u);

    target.ClearCalls();
    TContainer2D container(1);
    container.SetDrawBoundingBox(true);
    container.DrawControlPoints(kPixels, canvas, 4);
    EXPECT_TRUE(target.Calls().empty());
}

TEST_F(EntityDrawing, PolylinesClipToTheCanvasOwnClipBox) {
    TPolyline2D polyline(1, std::vector<TPoint2D>{MakePoint2D(10, 10), MakePoint2D(200, 10), MakePoint2D(200, 50)});
    target.SetClipRect(TPixelRect{0, 0, 100, 100});
    // The clip box handed in would take the whole polyline.
    polyline.Draw(kPixels, canvas, 0, kWholeScreen);
    const std::vector<CanvasCall> runs = Calls(CanvasOp::Polyline);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].Points, (Pixels{{10, 10}, {100, 10}}));
}

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

TEST_F(EntityDrawing, EveryChildStartsFromTheContainerPenAndBrush) {
    std::vector<PenAndBrush> seen;
    TContainer2D container(1);
    container.Objects().Add(std::make_unique<PenProbe>(seen));
    container.Objects().Add(std::make_unique<PenProbe>(seen));
    const PenAndBrush layer{PenAttributes{clGreen, TPenStyle::psDash, TPenMode::pmCopy, 2},
                            BrushAttributes{clYellow, TBrushStyle::bsSolid}};
    target.SetPen(layer.first);
    target.SetBrush(layer.second);
    container.Draw(kPixels, canvas, 0, kWholeScreen);
    EXPECT_EQ(seen, (std::vector<PenAndBrush>{layer, layer}));
}

TEST_F(EntityDrawing, BlocksDrawTheirSourceThroughTheirMatrix) {
    TSourceBlock2D source(1, MakeBlockName("S"));
    source.Objects().Add(std::make_unique<TLine2D>(2, MakePoint2D(0, 0), MakePoint2D(10, 0)));
    source.RecalcBox();
    TBlock2D block(3, source, MakePoint2D(0, 0));
    block.SetObjectMatrix(MultiplyMatrix2D(RotationMatrix2D(std::numbers::pi / 2), TranslationMatrix2D(50, 50)));
    block.Draw(kPixels, canvas, 0, kWholeScreen);
    const std::vector<CanvasCall> lines = Calls(CanvasOp::LineTo);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].Points, (Pixels{{50, 50}, {50, 60}}));

    target.ClearCalls();
    block.DrawControlPoints(kPixels, canvas, 4);
    const std::vector<CanvasCall> squares = Calls(CanvasOp::Rectangle);
    ASSERT_EQ(squares.size(), 1u) << "only the insertion point";
    EXPECT_EQ(squares[0].Rect, (TPixelRect{48, 48, 52, 52}));

    // An instance of a block that holds an instance of itself stops.
    source.Objects().Add(std::make_unique<TBlock2D>(4, source, MakePoint2D(0, 0)));
    target.ClearCalls();
    block.Draw(kPixels, canvas, 0, kWholeScreen);
    EXPECT_EQ(Calls(CanvasOp::LineTo).size(), 1u);
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

TEST(ExtendedFont, TheCanvasGetsItsOwnFontBack) {
    RecordingCanvas target;
    FontDescription own;
    own.Name = "Mono";
    own.Color = clRed;
    target.SetFont(own);
    {
        TExtendedFont font;
        font.SetCanvas(&target);
        EXPECT_EQ(target.Font().Name, "Small Font");
        EXPECT_EQ(target.Font().Height, -11);
        EXPECT_EQ(target.Font().Color, clRed) << "the layer's colour stays";
        font.SetHeight(20);
        EXPECT_EQ(target.Font().Height, 20);
        font.SetCanvas(nullptr);
        EXPECT_EQ(target.Font(), own);
        font.SetCanvas(&target);
    }
    EXPECT_EQ(target.Font(), own) << "freed while attached";
}

}  // namespace

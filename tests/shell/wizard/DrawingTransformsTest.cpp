// Moving, mirroring and scaling the whole drawing except the picture, undoing
// every transform, and moving everything with the view.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "kernel/drawing/QVCmp2D.h"
#include "kernel/entities/BmpImage.h"
#include "kernel/entities/TArco2D.h"
#include "kernel/entities/TBitmap2D.h"
#include "kernel/entities/TCerchio2D.h"
#include "kernel/entities/TLine2D.h"
#include "kernel/entities/TPolyline2D.h"
#include "kernel/geometry/Matrix2D.h"
#include "kernel/platform/AtomicFile.h"
#include "shell/wizard/DrawingTransforms.h"
#include "shell/wizard/ExportCommands.h"
#include "tests/kernel/view/ViewTestSupport.h"
#include "tests/support/TempFolder.h"

namespace calvoro {
namespace {

// One letter per object (Arc, Circle, Line, Polyline, picture B), sorted.
std::string Kinds(TQVCmp2D& drawing) {
    std::string kinds;
    auto it = drawing.ObjectListIterator();
    for (TGraphicObject* o = it->First(); o != nullptr; o = it->Next())
        kinds += dynamic_cast<TCerchio2D*>(o)    ? 'C'
                 : dynamic_cast<TArco2D*>(o)     ? 'A'
                 : dynamic_cast<TPolyline2D*>(o) ? 'P'
                 : dynamic_cast<TLine2D*>(o)     ? 'L'
                 : dynamic_cast<TBitmap2D*>(o)   ? 'B'
                                                 : '?';
    std::sort(kinds.begin(), kinds.end());
    return kinds;
}

void Fill(TQVCmp2D& drawing) {
    drawing.AddObject(-1, std::make_unique<TBitmap2D>(-1, TPoint2D(0, 0), TPoint2D(10, 10), BmpImage()));
    drawing.AddObject(-1, std::make_unique<TCerchio2D>(-1, TPoint2D(5, 5), TPoint2D(7, 5)));
    drawing.AddObject(-1, std::make_unique<TArco2D>(-1, TPoint2D(0, 0), TPoint2D(4, 4), 0.0, 1.5));
    drawing.AddObject(-1, std::make_unique<TLine2D>(-1, TPoint2D(1, 1), TPoint2D(3, 1)));
}

TEST(DrawingTransforms, ScalingUnequallyTurnsCirclesAndArcsIntoPolylinesAfterTheWalk) {
    struct Case {
        double sx, sy;
        std::string after;
    };
    const Case cases[] = {{2, 2, "ABCL"}, {2, 1, "BLPP"}};
    for (const Case& c : cases) {
        TQVCmp2D drawing;
        Fill(drawing);
        TRect2D pictureBox = drawing.GetObject2D(0)->Box();
        ASSERT_NO_THROW(ScalaTutto(drawing, c.sx, c.sy));
        EXPECT_EQ(Kinds(drawing), c.after);
        EXPECT_EQ(drawing.GetObject2D(0)->Box(), pictureBox);  // the picture stays
        TRect2D all;
        drawing.GetDrawingBox(all);
        EXPECT_NEAR(all.Right, 14.0, 1e-9);  // the circle's right edge scaled by 2
    }
}

// Each object's box, in the drawing's order (the picture first).
std::vector<TRect2D> Boxes(TQVCmp2D& drawing) {
    std::vector<TRect2D> boxes;
    auto it = drawing.ObjectListIterator();
    for (TGraphicObject* o = it->First(); o != nullptr; o = it->Next())
        boxes.push_back(dynamic_cast<TObject2D*>(o)->Box());
    return boxes;
}

void ExpectBox(const TRect2D& box, double left, double bottom, double right, double top, const std::string& what) {
    EXPECT_NEAR(box.Left, left, 1e-9) << what;
    EXPECT_NEAR(box.Bottom, bottom, 1e-9) << what;
    EXPECT_NEAR(box.Right, right, 1e-9) << what;
    EXPECT_NEAR(box.Top, top, 1e-9) << what;
}

TEST(DrawingTransforms, MirroringAllMirrorsEverythingButThePictureAboutTheChosenAxis) {
    struct Case {
        int axis;
        double left, bottom, right, top;  // the line's box after
    };
    const Case cases[] = {
        {0, 1, -2, 3, -1},    // y becomes -y
        {1, -3, 1, -1, 2},    // x becomes -x
        {2, -3, -2, -1, -1},  // both
        {-1, 1, 1, 3, 2},     // no axis chosen: nothing
        {3, 1, 1, 3, 2},
    };
    for (const Case& c : cases) {
        TQVCmp2D drawing;
        drawing.AddObject(-1, std::make_unique<TBitmap2D>(-1, TPoint2D(0, 0), TPoint2D(10, 10), BmpImage()));
        drawing.AddObject(-1, std::make_unique<TLine2D>(-1, TPoint2D(1, 1), TPoint2D(3, 2)));
        MirrorAll(drawing, c.axis);
        const std::vector<TRect2D> boxes = Boxes(drawing);
        const std::string what = "axis " + std::to_string(c.axis);
        ExpectBox(boxes[0], 0, 0, 10, 10, what);  // the picture stays
        ExpectBox(boxes[1], c.left, c.bottom, c.right, c.top, what);
    }
}

// The moves of a placement (frozen into the objects) and those of the whole
// drawing alike are undone, the picture's too.
TEST(DrawingTransforms, RemovingEveryTransformPutsEveryObjectWhereItWasMade) {
    TQVCmp2D drawing;
    Fill(drawing);
    const std::vector<TRect2D> made = Boxes(drawing);
    const std::int32_t every[] = {-1};
    drawing.TransformObjects(every, TranslationMatrix2D(-10, -10));
    MuoveTutto(drawing, 5, 0);
    RuotaTutto(drawing, 30);
    MirrorAll(drawing, 2);
    ASSERT_NE(Boxes(drawing)[0], made[0]);
    RimuoveTuttoTrasforma(drawing);
    const std::vector<TRect2D> after = Boxes(drawing);
    ASSERT_EQ(after.size(), made.size());
    for (std::size_t i = 0; i < made.size(); ++i)
        ExpectBox(after[i], made[i].Left, made[i].Bottom, made[i].Right, made[i].Top, std::to_string(i));
}

// The view shows (0, 0)-(200, 100), a unit a pixel; the picture is 40 x 30.
class MoveWithViewTest : public test::ViewTest {};

TEST_F(MoveWithViewTest, EverythingMovesWithTheViewSoThePictureStaysOnTheScreen) {
    struct Case {
        const char* what;
        double dx, dy;
    };
    const Case cases[] = {
        {"the centre", -20, -15}, {"the upper right", -40, -30}, {"a picked point", -3, -4}, {"back", 40, 30},
        {"nowhere", 0, 0},
    };
    drawing.AddObject(-1, std::make_unique<TBitmap2D>(-1, TPoint2D(0, 0), TPoint2D(40, 30), BmpImage()));
    drawing.AddObject(-1, std::make_unique<TLine2D>(-1, TPoint2D(50, 10), TPoint2D(60, 20)));
    for (const Case& c : cases) {
        const std::vector<TRect2D> before = Boxes(drawing);
        const TRect2D seen = view->VisualRect();
        std::vector<TPoint2D> onScreen;
        for (const TRect2D& box : before) onScreen.push_back(view->WorldToScreen(box.FirstCorner()));
        MoveAllKeepingView(drawing, *view, c.dx, c.dy);
        const std::vector<TRect2D> after = Boxes(drawing);
        for (std::size_t i = 0; i < after.size(); ++i) {
            ExpectBox(after[i], before[i].Left + c.dx, before[i].Bottom + c.dy, before[i].Right + c.dx,
                      before[i].Top + c.dy, c.what);
            const TPoint2D pixel = view->WorldToScreen(after[i].FirstCorner());
            EXPECT_NEAR(pixel.X, onScreen[i].X, 1e-6) << c.what;
            EXPECT_NEAR(pixel.Y, onScreen[i].Y, 1e-6) << c.what;
        }
        ExpectBox(view->VisualRect(), seen.Left + c.dx, seen.Bottom + c.dy, seen.Right + c.dx, seen.Top + c.dy, c.what);
    }
}

TEST(ExportCommands, DxfIsWrittenWholeOrNotAtAll) {
    test::TempFolder folder;
    TQVCmp2D drawing;
    Fill(drawing);
    ExportDrawingDxf(folder / "a.dxf", drawing);
    EXPECT_NE(ReadWholeFile(folder / "a.dxf").find("LINE"), std::string::npos);
    EXPECT_THROW(ExportDrawingDxf(folder / "missing" / "a.dxf", drawing), FileWriteError);
    EXPECT_EQ(folder.FileCount(), 1u);
}

}  // namespace
}  // namespace calvoro

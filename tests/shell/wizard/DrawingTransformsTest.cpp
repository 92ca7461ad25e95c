// Moving and scaling the whole drawing except the picture.
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
#include "kernel/platform/AtomicFile.h"
#include "shell/wizard/DrawingTransforms.h"
#include "shell/wizard/ExportCommands.h"
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

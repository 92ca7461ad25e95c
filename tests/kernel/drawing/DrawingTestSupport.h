// Shared helpers of the drawing tests: the full class table, a small vector
// font, a view matrix, and stand-ins for the viewport and the entity tree that
// record what the drawing tells them.
#pragma once

#include "kernel/drawing/DrawingViewport.h"
#include "kernel/drawing/EntityTreeLink.h"
#include "kernel/entities/EntityModule.h"
#include "kernel/entities/TVectFont.h"
#include "kernel/entities/VectFontTable.h"
#include "kernel/geometry/Matrix2D.h"
#include "kernel/model/GraphicObject.h"

#include "tests/kernel/entities/EntityTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace calvoro::test {

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

// World to pixels: `scale` pixels per unit, Y upwards, the origin at (x0, y0).
inline TMatrix2D ViewMatrix(double scale, double x0 = 0.0, double y0 = 400.0) {
    TMatrix2D m;
    m.M = {{{scale, 0.0, 0.0}, {0.0, -scale, 0.0}, {x0, y0, 1.0}}};
    return m;
}

struct RecordingViewport : DrawingViewport {
    std::vector<std::string> calls;
    bool drawingGone = false;

    void DrawObjectOffscreen(TObject2D& object) override { calls.push_back("draw " + std::to_string(object.ID())); }
    void Invalidate() override { calls.push_back("invalidate"); }
    void Repaint() override { calls.push_back("repaint"); }
    void DrawingDestroyed() override { drawingGone = true; }
};

struct RecordingTree : EntityTreeLink {
    std::vector<std::string> calls;
    std::uintptr_t nextItem = 100;

    void AddEntity(TLayers& /*layers*/, TGraphicObject& entity) override {
        entity.SetTreeItem(nextItem++);
        calls.push_back("add " + std::to_string(entity.ID()));
    }
    void DeleteNode(std::uintptr_t item) override { calls.push_back("delete " + std::to_string(item)); }
};

}  // namespace calvoro::test

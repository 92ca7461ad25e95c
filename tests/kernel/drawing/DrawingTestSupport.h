// Shared helpers of the drawing and DXF tests: the full class table, a small
// vector font, a view matrix, small BMP files and the messages of refusals.
#pragma once

#include "kernel/entities/EntityModule.h"
#include "kernel/entities/TVectFont.h"
#include "kernel/entities/VectFontTable.h"
#include "kernel/geometry/Matrix2D.h"
#include "kernel/model/CADCoreExceptions.h"

#include "tests/kernel/entities/EntityTestSupport.h"

#include <gtest/gtest.h>

#include <exception>
#include <functional>
#include <memory>
#include <string>

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

// World to pixels: `scale` pixels per unit, Y upwards, the origin at (0, 400).
inline TMatrix2D ViewMatrix(double scale) {
    TMatrix2D m;
    m.M = {{{scale, 0.0, 0.0}, {0.0, -scale, 0.0}, {0.0, 400.0, 1.0}}};
    return m;
}

// A 24-bit BMP file, bottom-up rows, every pixel of one grey.
inline std::string MakeBmp24(int width, int height) {
    const int pixelBytes = (width * 3 + 3) / 4 * 4 * height;
    RecordBytes bmp;
    bmp.Raw("BM").I32(54 + pixelBytes).I32(0).I32(54);
    bmp.I32(40).I32(width).I32(height).U16(1).U16(24).I32(0).I32(pixelBytes).I32(2835).I32(2835).I32(0).I32(0);
    return bmp.Raw(std::string(static_cast<std::size_t>(pixelBytes), '\x5A'));
}

// The message of the E the action raises, so that a table can name each
// refusal; anything else raised, or nothing, gives a text no message matches.
template <class E = ECADCoreException>
std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const E& error) {
        return error.what();
    } catch (const std::exception& error) {
        return std::string("(another error) ") + error.what();
    }
    return "(no error)";
}

}  // namespace calvoro::test

// The canvas on a QImage: pixel rules of lines and rectangles, every pen mode
// bit by bit, and XOR drawing that a second pass takes back.
#include "kernel/draw/DecorativeCanvas.h"
#include "kernel/draw/TransformedDrawing.h"
#include "kernel/gui/QPainterCanvas.h"

#include <QImage>
#include <QtTest>

#include <functional>
#include <string>
#include <vector>

using namespace calvoro;

namespace {

constexpr QRgb Background = 0xFF808080;

QImage BlankImage(int width = 12, int height = 10) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Background);
    return image;
}

// One row of the image: '.' untouched, '#' the colour asked for, '?' anything else.
std::string Row(const QImage& image, int y, QRgb color) {
    std::string row;
    for (int x = 0; x < image.width(); ++x) {
        const QRgb pixel = image.pixel(x, y);
        row += pixel == Background ? '.' : pixel == color ? '#' : '?';
    }
    return row;
}

constexpr QRgb Black = 0xFF000000;
constexpr QRgb White = 0xFFFFFFFF;

}  // namespace

class QPainterCanvasTest : public QObject {
    Q_OBJECT

private slots:
    void aLineLeavesOutItsLastPixel() {
        QImage image = BlankImage();
        QPainterCanvas canvas(image);
        canvas.MoveTo(1, 1);
        canvas.LineTo(5, 1);
        canvas.MoveTo(8, 2);
        canvas.LineTo(8, 6);
        QCOMPARE(Row(image, 1, Black), std::string(".####......."));
        QCOMPARE(Row(image, 5, Black), std::string("........#..."));
        QCOMPARE(Row(image, 6, Black), std::string("............"));
    }

    void aRectangleCoversRightAndBottomExclusive() {
        QImage image = BlankImage();
        QPainterCanvas canvas(image);
        canvas.Rectangle(TPixelRect{2, 2, 7, 6});
        QCOMPARE(Row(image, 1, Black), std::string("............"));
        QCOMPARE(Row(image, 2, Black), std::string("..#####....."));
        QCOMPARE(Row(image, 3, Black), std::string("..#???#....."));
        QCOMPARE(Row(image, 3, White), std::string("..?###?....."));
        QCOMPARE(Row(image, 5, Black), std::string("..#####....."));
        QCOMPARE(Row(image, 6, Black), std::string("............"));

        QImage unframed = BlankImage();
        QPainterCanvas second(unframed);
        second.SetPen(PenAttributes{clBlack, TPenStyle::psClear});
        second.Rectangle(TPixelRect{2, 2, 7, 6});
        QCOMPARE(Row(unframed, 2, White), std::string("..####......"));
        QCOMPARE(Row(unframed, 4, White), std::string("..####......"));
        QCOMPARE(Row(unframed, 5, White), std::string("............"));
    }

    // Every pen mode combines colours bit by bit, for the pixels of a line
    // and for the inside of a filled shape alike.
    void everyPenModeCombinesBitByBit() {
        const QRgb d = 0xFF0F33CC;
        const std::uint32_t p = 0x5AA53C;  // as a TColor: red 0x3C, green 0xA5, blue 0x5A
        const QRgb pen = 0xFF3CA55A;
        const std::vector<std::function<QRgb(QRgb, QRgb)>> expected = {
            [](QRgb, QRgb) { return 0u; },         [](QRgb, QRgb) { return ~0u; },
            [](QRgb, QRgb d) { return d; },        [](QRgb, QRgb d) { return ~d; },
            [](QRgb p, QRgb) { return p; },        [](QRgb p, QRgb) { return ~p; },
            [](QRgb p, QRgb d) { return p | ~d; }, [](QRgb p, QRgb d) { return p & ~d; },
            [](QRgb p, QRgb d) { return ~p | d; }, [](QRgb p, QRgb d) { return ~p & d; },
            [](QRgb p, QRgb d) { return p | d; },  [](QRgb p, QRgb d) { return ~(p | d); },
            [](QRgb p, QRgb d) { return p & d; },  [](QRgb p, QRgb d) { return ~(p & d); },
            [](QRgb p, QRgb d) { return p ^ d; },  [](QRgb p, QRgb d) { return ~(p ^ d); },
        };
        for (int mode = 0; mode < PenModeCount; ++mode) {
            QImage image(8, 8, QImage::Format_RGB32);
            image.fill(d);
            QPainterCanvas canvas(image);
            canvas.SetPen(PenAttributes{static_cast<TColor>(p), TPenStyle::psSolid, static_cast<TPenMode>(mode), 1});
            canvas.SetBrush(BrushAttributes{static_cast<TColor>(p), TBrushStyle::bsSolid});
            canvas.MoveTo(0, 0);
            canvas.LineTo(2, 0);
            canvas.Rectangle(TPixelRect{2, 2, 7, 7});
            const QRgb want = 0xFF000000 | (expected[static_cast<std::size_t>(mode)](pen, d) & 0xFFFFFF);
            QCOMPARE(image.pixel(1, 0), want);
            QCOMPARE(image.pixel(4, 4), want);  // inside the rectangle
            QCOMPARE(image.pixel(7, 7), d);
        }
    }

    void xorDrawnTwiceRestoresThePicture() {
        QImage image = BlankImage(40, 30);
        for (int x = 0; x < 40; ++x) image.setPixel(x, x % 30, qRgb(x * 6, 200 - x, 17));
        const QImage original = image;
        QPainterCanvas canvas(image);
        RasterImage picture(2, 2, 0xFF123456);
        picture.At(1, 1) = 0xFFFEDCBA;
        const auto draw = [&] {
            canvas.SetPen(PenAttributes{clYellow, TPenStyle::psSolid, TPenMode::pmXor, 1});
            canvas.SetBrush(BrushAttributes{clAqua, TBrushStyle::bsSolid});
            canvas.MoveTo(0, 0);
            canvas.LineTo(39, 29);
            const TPixelPoint star[] = {{5, 5}, {30, 8}, {10, 25}, {20, 2}, {28, 25}};
            canvas.Polygon(star);
            canvas.Rectangle(TPixelRect{3, 3, 17, 12});
            canvas.SetPen(PenAttributes{clFuchsia, TPenStyle::psDot, TPenMode::pmXor, 1});
            canvas.Polyline(star);
            canvas.StretchDraw(TPixelRect{20, 20, 28, 26}, picture, CopyMode::SrcInvert);
        };
        draw();
        QVERIFY(image != original);
        draw();
        QCOMPARE(image, original);
    }
};

QTEST_MAIN(QPainterCanvasTest)
#include "QPainterCanvasTest.moc"

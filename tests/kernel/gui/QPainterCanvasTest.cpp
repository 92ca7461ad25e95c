// The canvas on a QImage: pixel rules of lines, rectangles and dashes, pen
// modes bit by bit, clipping, text and stretched pictures.
#include "kernel/draw/DecorativeCanvas.h"
#include "kernel/draw/TransformedDrawing.h"
#include "kernel/gui/QPainterCanvas.h"

#include <QElapsedTimer>
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

    void aPolylineUnderXorTogglesEachPixelOnce() {
        QImage image = BlankImage();
        QPainterCanvas canvas(image);
        canvas.SetPen(PenAttributes{clWhite, TPenStyle::psSolid, TPenMode::pmXor, 1});
        const TPixelPoint points[] = {{1, 1}, {5, 1}, {5, 4}};
        canvas.Polyline(points);
        const QRgb toggled = 0xFF7F7F7F;
        QCOMPARE(Row(image, 1, toggled), std::string(".#####......"));  // the corner once, not twice
        QCOMPARE(Row(image, 3, toggled), std::string(".....#......"));
        QCOMPARE(Row(image, 4, toggled), std::string("............"));
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

    void aControlPointIsASilverSquare() {
        QImage image = BlankImage(20, 20);
        QPainterCanvas canvas(image);
        TDecorativeCanvas decorated(canvas);
        DrawControlPoint(decorated, 10, 10, 6);
        QCOMPARE(image.pixel(7, 7), Black);
        QCOMPARE(image.pixel(12, 12), Black);
        QCOMPARE(image.pixel(8, 8), qRgb(0xC0, 0xC0, 0xC0));
        QCOMPARE(image.pixel(11, 11), qRgb(0xC0, 0xC0, 0xC0));
        QCOMPARE(image.pixel(13, 13), Background);
        QCOMPARE(image.pixel(6, 6), Background);
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

    void dotsAreThreeOnThreeOffAndOpaqueGapsTakeTheBrush() {
        QImage image = BlankImage(14, 2);
        QPainterCanvas canvas(image);
        canvas.SetPen(PenAttributes{clBlack, TPenStyle::psDot});
        canvas.SetBackgroundMode(BackgroundMode::Transparent);
        canvas.MoveTo(0, 0);
        canvas.LineTo(14, 0);
        QCOMPARE(Row(image, 0, Black), std::string("###...###...##"));
        canvas.SetBackgroundMode(BackgroundMode::Opaque);
        canvas.SetBrush(BrushAttributes{clWhite});
        canvas.MoveTo(0, 1);
        canvas.LineTo(14, 1);
        QCOMPARE(Row(image, 1, White), std::string("???###???###??"));
    }

    void nothingIsDrawnOutsideTheClipBox() {
        QImage image = BlankImage();
        QPainterCanvas canvas(image);
        canvas.SetClipRect(TPixelRect{0, 0, 5, 5});
        canvas.MoveTo(0, 2);
        canvas.LineTo(12, 2);
        canvas.FillRect(TPixelRect{3, 3, 10, 10});
        QCOMPARE(Row(image, 2, Black), std::string("#####......."));
        QCOMPARE(Row(image, 4, White), std::string("...##......."));
        QCOMPARE(Row(image, 5, White), std::string("............"));
    }

    void farAwayEndsAreCutWithoutWalkingThem() {
        QImage image = BlankImage();
        QPainterCanvas canvas(image);
        QElapsedTimer timer;
        timer.start();
        canvas.MoveTo(-2000000000, 3);
        canvas.LineTo(2000000000, 3);
        QVERIFY(timer.elapsed() < 1000);
        QCOMPARE(Row(image, 3, Black), std::string("############"));
    }

    void textIsDrawnInTheFontColourInsideItsExtent() {
        QImage image = BlankImage(60, 30);
        QPainterCanvas canvas(image);
        FontDescription font;
        font.Height = -16;
        font.Color = clBlue;
        canvas.SetFont(font);
        canvas.SetBackgroundMode(BackgroundMode::Transparent);
        canvas.TextOut(5, 4, "HI");
        const TPixelPoint extent = canvas.TextExtent("HI");
        QVERIFY(extent.X > 0 && extent.Y > 0);
        int inked = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) == Background) continue;
                QCOMPARE(image.pixel(x, y), qRgb(0, 0, 255));
                QVERIFY(x >= 5 && x < 5 + extent.X && y >= 4 && y < 4 + extent.Y);
                ++inked;
            }
        }
        QVERIFY(inked > 10);

        TPixelRect box{0, 0, 1, 1};
        const int height = canvas.DrawText(box, "HI", TextFormat::CalcRect | TextFormat::SingleLine);
        QCOMPARE(box.Right, extent.X);
        QCOMPARE(height, box.Bottom);
    }

    void textBytesAreWindows1252() {
        QCOMPARE(QPainterCanvas::DecodeText("\x80 caf\xE9 \x93ok\x94"), QString::fromUtf8("€ café “ok”"));
    }

    void picturesAreStretchedAndMirroredByTheirRectangle() {
        RasterImage picture(2, 1);
        picture.At(0, 0) = 0xFFFF0000;
        picture.At(1, 0) = 0xFF0000FF;
        QImage image = BlankImage(8, 2);
        QPainterCanvas canvas(image);
        canvas.StretchDraw(TPixelRect{0, 0, 4, 1}, picture, CopyMode::SrcCopy);
        canvas.StretchDraw(TPixelRect{8, 1, 4, 2}, picture, CopyMode::SrcCopy);  // right to left
        QCOMPARE(Row(image, 0, 0xFFFF0000), std::string("##??...."));
        QCOMPARE(Row(image, 0, 0xFF0000FF), std::string("??##...."));
        QCOMPARE(Row(image, 1, 0xFF0000FF), std::string("....##??"));
    }
};

QTEST_MAIN(QPainterCanvasTest)
#include "QPainterCanvasTest.moc"

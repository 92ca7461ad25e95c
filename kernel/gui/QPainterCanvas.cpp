// The QPainter canvas.
#include "kernel/gui/QPainterCanvas.h"

#include "kernel/draw/LineWalk.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <stdexcept>
#include <vector>

namespace calvoro {

namespace {

QRgb ToQRgb(TColor color) {
    const TColor rgb = ColorToRGB(color);
    return qRgb(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}

// The combination of pen colour P and pixel D for each pen mode.
std::uint32_t Combine(TPenMode mode, std::uint32_t p, std::uint32_t d) {
    switch (mode) {
        case TPenMode::pmBlack:
            return 0;
        case TPenMode::pmWhite:
            return ~0u;
        case TPenMode::pmNop:
            return d;
        case TPenMode::pmNot:
            return ~d;
        case TPenMode::pmCopy:
            return p;
        case TPenMode::pmNotCopy:
            return ~p;
        case TPenMode::pmMergePenNot:
            return p | ~d;
        case TPenMode::pmMaskPenNot:
            return p & ~d;
        case TPenMode::pmMergeNotPen:
            return ~p | d;
        case TPenMode::pmMaskNotPen:
            return ~p & d;
        case TPenMode::pmMerge:
            return p | d;
        case TPenMode::pmNotMerge:
            return ~(p | d);
        case TPenMode::pmMask:
            return p & d;
        case TPenMode::pmNotMask:
            return ~(p & d);
        case TPenMode::pmXor:
            return p ^ d;
        case TPenMode::pmNotXor:
            return ~(p ^ d);
    }
    return p;
}

QPainter::CompositionMode CompositionFor(TPenMode mode) {
    switch (mode) {
        case TPenMode::pmBlack:
            return QPainter::RasterOp_ClearDestination;
        case TPenMode::pmWhite:
            return QPainter::RasterOp_SetDestination;
        case TPenMode::pmNot:
            return QPainter::RasterOp_NotDestination;
        case TPenMode::pmNotCopy:
            return QPainter::RasterOp_NotSource;
        case TPenMode::pmMergePenNot:
            return QPainter::RasterOp_SourceOrNotDestination;
        case TPenMode::pmMaskPenNot:
            return QPainter::RasterOp_SourceAndNotDestination;
        case TPenMode::pmMergeNotPen:
            return QPainter::RasterOp_NotSourceOrDestination;
        case TPenMode::pmMaskNotPen:
            return QPainter::RasterOp_NotSourceAndDestination;
        case TPenMode::pmMerge:
            return QPainter::RasterOp_SourceOrDestination;
        case TPenMode::pmNotMerge:
            return QPainter::RasterOp_NotSourceAndNotDestination;
        case TPenMode::pmMask:
            return QPainter::RasterOp_SourceAndDestination;
        case TPenMode::pmNotMask:
            return QPainter::RasterOp_NotSourceOrNotDestination;
        case TPenMode::pmXor:
            return QPainter::RasterOp_SourceXorDestination;
        case TPenMode::pmNotXor:
            return QPainter::RasterOp_NotSourceXorDestination;
        case TPenMode::pmNop:  // never painted
        case TPenMode::pmCopy:
            break;
    }
    // Opaque colours replace the pixels; the gaps of a hatch stay untouched.
    return QPainter::CompositionMode_SourceOver;
}

QPainter::CompositionMode CompositionForCopyMode(std::uint32_t copyMode) {
    switch (copyMode) {
        case CopyMode::Blackness:
            return QPainter::RasterOp_ClearDestination;
        case CopyMode::Whiteness:
            return QPainter::RasterOp_SetDestination;
        case CopyMode::DstInvert:
            return QPainter::RasterOp_NotDestination;
        case CopyMode::NotSrcCopy:
            return QPainter::RasterOp_NotSource;
        case CopyMode::NotSrcErase:
            return QPainter::RasterOp_NotSourceAndNotDestination;
        case CopyMode::SrcErase:
            return QPainter::RasterOp_SourceAndNotDestination;
        case CopyMode::SrcInvert:
            return QPainter::RasterOp_SourceXorDestination;
        case CopyMode::SrcAnd:
            return QPainter::RasterOp_SourceAndDestination;
        case CopyMode::MergePaint:
            return QPainter::RasterOp_NotSourceOrDestination;
        case CopyMode::SrcPaint:
            return QPainter::RasterOp_SourceOrDestination;
        default:
            return QPainter::CompositionMode_Source;
    }
}

Qt::BrushStyle QtBrushStyle(TBrushStyle style) {
    switch (style) {
        case TBrushStyle::bsSolid:
            return Qt::SolidPattern;
        case TBrushStyle::bsClear:
            return Qt::NoBrush;
        case TBrushStyle::bsHorizontal:
            return Qt::HorPattern;
        case TBrushStyle::bsVertical:
            return Qt::VerPattern;
        case TBrushStyle::bsFDiagonal:
            return Qt::FDiagPattern;
        case TBrushStyle::bsBDiagonal:
            return Qt::BDiagPattern;
        case TBrushStyle::bsCross:
            return Qt::CrossPattern;
        case TBrushStyle::bsDiagCross:
            return Qt::DiagCrossPattern;
    }
    return Qt::SolidPattern;
}

Qt::PenStyle QtPenStyle(TPenStyle style) {
    switch (style) {
        case TPenStyle::psDash:
            return Qt::DashLine;
        case TPenStyle::psDot:
            return Qt::DotLine;
        case TPenStyle::psDashDot:
            return Qt::DashDotLine;
        case TPenStyle::psDashDotDot:
            return Qt::DashDotDotLine;
        case TPenStyle::psClear:
            return Qt::NoPen;
        case TPenStyle::psSolid:
        case TPenStyle::psInsideFrame:
            break;
    }
    return Qt::SolidLine;
}

// On and off runs, in pixels, of the one-pixel pen styles; empty for solid.
std::span<const int> DashRuns(TPenStyle style) {
    static constexpr std::array<int, 2> dash{18, 6};
    static constexpr std::array<int, 2> dot{3, 3};
    static constexpr std::array<int, 4> dashDot{9, 6, 3, 6};
    static constexpr std::array<int, 6> dashDotDot{9, 3, 3, 3, 3, 3};
    switch (style) {
        case TPenStyle::psDash:
            return dash;
        case TPenStyle::psDot:
            return dot;
        case TPenStyle::psDashDot:
            return dashDot;
        case TPenStyle::psDashDotDot:
            return dashDotDot;
        default:
            return {};
    }
}

// Whether the pixel `offset` pixels into the dash pattern is on.
bool DashOn(std::span<const int> runs, std::int64_t offset) {
    int period = 0;
    for (int run : runs) period += run;
    std::int64_t at = offset % period;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        if (at < runs[i]) return i % 2 == 0;
        at -= runs[i];
    }
    return true;
}

QRect ToQRect(const TPixelRect& r) {
    return QRect(QPoint(r.Left, r.Top), QPoint(r.Right - 1, r.Bottom - 1));
}

TPixelRect Normalized(const TPixelRect& r) {
    return TPixelRect{std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
                      std::max(r.Top, r.Bottom)};
}

QFont ToQFont(const FontDescription& description) {
    QFont font;
    if (!description.Name.empty())
        font.setFamily(QString::fromLatin1(description.Name.data(), static_cast<qsizetype>(description.Name.size())));
    font.setStyleHint(QFont::SansSerif);
    const int height = description.Height < 0 ? -description.Height : description.Height;
    font.setPixelSize(height > 0 ? height : 11);
    font.setWeight(static_cast<QFont::Weight>(std::clamp(description.Weight > 0 ? description.Weight : 400, 100, 900)));
    font.setItalic(description.Italic);
    font.setUnderline(description.Underline);
    font.setStrikeOut(description.StrikeOut);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

int QtTextFlags(std::uint32_t format) {
    int flags = 0;
    flags |= (format & TextFormat::Center) != 0  ? Qt::AlignHCenter
             : (format & TextFormat::Right) != 0 ? Qt::AlignRight
                                                 : Qt::AlignLeft;
    if ((format & TextFormat::SingleLine) != 0) {
        flags |= Qt::TextSingleLine;
        flags |= (format & TextFormat::VCenter) != 0  ? Qt::AlignVCenter
                 : (format & TextFormat::Bottom) != 0 ? Qt::AlignBottom
                                                      : Qt::AlignTop;
    } else {
        flags |= Qt::AlignTop;
    }
    if ((format & TextFormat::WordBreak) != 0) flags |= Qt::TextWordWrap;
    if ((format & TextFormat::ExpandTabs) != 0) flags |= Qt::TextExpandTabs;
    if ((format & TextFormat::NoClip) != 0) flags |= Qt::TextDontClip;
    if ((format & TextFormat::NoPrefix) == 0) flags |= Qt::TextShowMnemonic;
    return flags;
}

}  // namespace

QPainterCanvas::QPainterCanvas(QImage& image) : image_(&image) {
    if (image.format() != QImage::Format_RGB32) {
        throw std::invalid_argument("QPainterCanvas: the image must be of format RGB32");
    }
}

TPixelRect QPainterCanvas::Bounds() const {
    return TPixelRect{0, 0, image_->width(), image_->height()};
}

QString QPainterCanvas::DecodeText(std::string_view bytes) {
    QStringDecoder decoder("windows-1252");
    if (!decoder.isValid()) return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

bool QPainterCanvas::IsThinPen() const {
    return Pen().Width <= 1;
}

void QPainterCanvas::PlotPixel(int x, int y, std::uint32_t rgb) {
    auto* line = reinterpret_cast<QRgb*>(image_->scanLine(y));
    line[x] = 0xFF000000u | (Combine(Pen().Mode, rgb, line[x]) & 0x00FFFFFFu);
}

void QPainterCanvas::StrokeThinSegment(TPixelPoint from, TPixelPoint to) {
    const LineWalk walk(from, to);
    const std::int64_t start = dashOffset_;
    dashOffset_ += walk.Steps();
    const TPixelRect clip = ClipRect();
    const auto [first, last] = walk.StepsInside(clip);
    if (first >= last) return;
    const std::span<const int> runs = DashRuns(Pen().Style);
    const std::uint32_t penColor = ToQRgb(Pen().Color);
    const std::uint32_t gapColor = ToQRgb(Brush().Color);
    const bool fillGaps = Background() == BackgroundMode::Opaque;
    for (std::int64_t step = first; step < last; ++step) {
        const TPixelPoint p = walk.At(step);
        if (runs.empty() || DashOn(runs, start + step)) {
            PlotPixel(p.X, p.Y, penColor);
        } else if (fillGaps) {
            PlotPixel(p.X, p.Y, gapColor);
        }
    }
}

void QPainterCanvas::PreparePainter(QPainter& painter, bool penModeApplies) const {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setClipRect(ToQRect(ClipRect()));
    painter.setCompositionMode(penModeApplies ? CompositionFor(Pen().Mode) : QPainter::CompositionMode_SourceOver);
    painter.setBackgroundMode(Background() == BackgroundMode::Opaque ? Qt::OpaqueMode : Qt::TransparentMode);
    painter.setBackground(QColor(ToQRgb(Brush().Color)));
}

void QPainterCanvas::Stroke(std::span<const TPixelPoint> points, bool closed) {
    if (points.size() < 2 || Pen().Style == TPenStyle::psClear || Pen().Mode == TPenMode::pmNop) return;
    if (IsThinPen()) {
        for (std::size_t i = 0; i + 1 < points.size(); ++i) StrokeThinSegment(points[i], points[i + 1]);
        if (closed) StrokeThinSegment(points.back(), points.front());
        return;
    }
    QPainter painter(image_);
    PreparePainter(painter, true);
    QPen pen(QColor(ToQRgb(Pen().Color)), Pen().Width, QtPenStyle(Pen().Style), Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    QPolygon polygon;
    for (const TPixelPoint& p : points) polygon << QPoint(p.X, p.Y);
    if (closed) {
        painter.drawPolygon(polygon);
    } else {
        painter.drawPolyline(polygon);
    }
}

void QPainterCanvas::DoMoveTo(TPixelPoint /*to*/) {
    dashOffset_ = 0;
}

void QPainterCanvas::DoLine(TPixelPoint from, TPixelPoint to) {
    const TPixelPoint segment[] = {from, to};
    Stroke(segment, false);
}

void QPainterCanvas::Polyline(std::span<const TPixelPoint> points) {
    const std::int64_t lineOffset = dashOffset_;
    dashOffset_ = 0;
    Stroke(points, false);
    dashOffset_ = lineOffset;
}

void QPainterCanvas::FillInterior(const QRect& rect) {
    if (rect.isEmpty() || Brush().Style == TBrushStyle::bsClear || Pen().Mode == TPenMode::pmNop) return;
    QPainter painter(image_);
    PreparePainter(painter, true);
    painter.fillRect(rect, QBrush(QColor(ToQRgb(Brush().Color)), QtBrushStyle(Brush().Style)));
}

void QPainterCanvas::Polygon(std::span<const TPixelPoint> points) {
    if (points.empty()) return;
    if (Brush().Style != TBrushStyle::bsClear && Pen().Mode != TPenMode::pmNop && points.size() >= 3) {
        QPainter painter(image_);
        PreparePainter(painter, true);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QBrush(QColor(ToQRgb(Brush().Color)), QtBrushStyle(Brush().Style)));
        QPolygon polygon;
        for (const TPixelPoint& p : points) polygon << QPoint(p.X, p.Y);
        painter.drawPolygon(polygon, Qt::OddEvenFill);
    }
    const std::int64_t lineOffset = dashOffset_;
    dashOffset_ = 0;
    Stroke(points, true);
    dashOffset_ = lineOffset;
}

void QPainterCanvas::Rectangle(const TPixelRect& rect) {
    const TPixelRect r = Normalized(rect);
    if (r.IsEmpty()) return;
    const bool outlined = Pen().Style != TPenStyle::psClear;
    if (!outlined) {
        // Without a pen the filled area is one pixel smaller each way.
        FillInterior(QRect(QPoint(r.Left, r.Top), QPoint(r.Right - 2, r.Bottom - 2)));
        return;
    }
    FillInterior(QRect(QPoint(r.Left + 1, r.Top + 1), QPoint(r.Right - 2, r.Bottom - 2)));
    const std::int64_t lineOffset = dashOffset_;
    dashOffset_ = 0;
    if (r.Width() == 1 || r.Height() == 1) {
        // A frame one pixel across is a single line; walk it once.
        const bool column = r.Width() == 1;
        const TPixelPoint line[] = {{r.Left, r.Top}, {column ? r.Left : r.Right, column ? r.Bottom : r.Top}};
        Stroke(line, false);
    } else {
        const TPixelPoint frame[] = {
            {r.Left, r.Top}, {r.Right - 1, r.Top}, {r.Right - 1, r.Bottom - 1}, {r.Left, r.Bottom - 1}};
        Stroke(frame, true);
    }
    dashOffset_ = lineOffset;
}

void QPainterCanvas::FillRect(const TPixelRect& rect) {
    const TPixelRect r = Normalized(rect);
    if (r.IsEmpty() || Brush().Style == TBrushStyle::bsClear) return;
    QPainter painter(image_);
    PreparePainter(painter, false);
    painter.fillRect(ToQRect(r), QBrush(QColor(ToQRgb(Brush().Color)), QtBrushStyle(Brush().Style)));
}

void QPainterCanvas::TextOut(int x, int y, std::string_view text) {
    QPainter painter(image_);
    PreparePainter(painter, false);
    painter.setFont(ToQFont(Font()));
    painter.setPen(QColor(ToQRgb(Font().Color)));
    painter.translate(x, y);
    if (Font().Escapement != 0) painter.rotate(-Font().Escapement / 10.0);
    const QString decoded = DecodeText(text);
    const QFontMetrics metrics(painter.font());
    painter.drawText(QRect(0, 0, metrics.horizontalAdvance(decoded) + 1, metrics.height()),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip, decoded);
}

TPixelPoint QPainterCanvas::TextExtent(std::string_view text) const {
    const QFontMetrics metrics(ToQFont(Font()));
    return TPixelPoint{metrics.horizontalAdvance(DecodeText(text)), metrics.height()};
}

int QPainterCanvas::DrawText(TPixelRect& rect, std::string_view text, std::uint32_t format) {
    const QString decoded = DecodeText(text);
    const int flags = QtTextFlags(format);
    const QFont font = ToQFont(Font());
    const QRect box(rect.Left, rect.Top, std::max(rect.Right - rect.Left, 0), std::max(rect.Bottom - rect.Top, 0));
    if ((format & TextFormat::CalcRect) != 0) {
        const QFontMetrics metrics(font);
        // Without word breaks the text sets its own width.
        const QRect measured =
            metrics.boundingRect((format & TextFormat::WordBreak) != 0 ? box : QRect(box.topLeft(), QSize(0, 0)),
                                 flags | Qt::TextDontClip, decoded);
        rect.Right = rect.Left + measured.width();
        rect.Bottom = rect.Top + measured.height();
        return measured.height();
    }
    QPainter painter(image_);
    PreparePainter(painter, false);
    painter.setFont(font);
    painter.setPen(QColor(ToQRgb(Font().Color)));
    QRect drawn;
    painter.drawText(box, flags, decoded, &drawn);
    return drawn.height();
}

void QPainterCanvas::StretchDraw(const TPixelRect& rect, const RasterImage& image, std::uint32_t copyMode) {
    if (image.IsEmpty() || rect.Left == rect.Right || rect.Top == rect.Bottom) return;
    // A rectangle given right to left, or bottom to top, mirrors the picture.
    const QImage source(reinterpret_cast<const uchar*>(image.Pixels.data()), image.Width, image.Height, image.Width * 4,
                        QImage::Format_RGB32);
    const QImage oriented = source.mirrored(rect.Right < rect.Left, rect.Bottom < rect.Top);
    QPainter painter(image_);
    PreparePainter(painter, false);
    painter.setCompositionMode(CompositionForCopyMode(copyMode));
    painter.drawImage(ToQRect(Normalized(rect)), oriented);
}

}  // namespace calvoro

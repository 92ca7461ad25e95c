// Integer pixel positions and rectangles as the canvas uses them. A pixel
// rectangle covers the columns Left .. Right - 1 and the rows Top .. Bottom - 1:
// right and bottom are exclusive and Y grows downwards.
#pragma once

namespace calvoro {

struct TPixelPoint {
    int X = 0;
    int Y = 0;

    friend bool operator==(const TPixelPoint&, const TPixelPoint&) = default;
};

struct TPixelRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool Contains(const TPixelPoint& p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }

    friend bool operator==(const TPixelRect&, const TPixelRect&) = default;
};

}  // namespace calvoro

// The edits a user makes to the picture before the relief is built: flips,
// quarter turns, the crop to a picked rectangle, grey levels and a negative.
// Each works on the picture record in any of its three formats. The caller
// marks the relief and the NC program outdated after every one of them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/picture/ImageInfo.h"
#include "engine/picture/Picture.h"

namespace calvoro {

// Row i and row height - 1 - i exchanged: upside down.
void FlipBitmapVertical(Picture& picture);

// The length / bytesPerPixel pixels of one row in reverse order, each pixel's
// bytes kept in their order.
void ReverseScanline(std::uint8_t* row, std::size_t length, int bytesPerPixel);

// Every row reversed: a mirror image left to right.
void FlipBitmapHorizontal(Picture& picture);

// A quarter turn anticlockwise as displayed: the result is height wide and
// width high, and its pixel at column c, row r is the old pixel at column
// width - 1 - r, row c (the old top edge becomes the left edge).
void RotateBitmap90(Picture& picture);

// Columns left .. left + width - 1 and rows top .. top + height - 1 of the
// source as a new picture of the same format and resolution. Throws
// PictureError when the rectangle does not lie inside the source or is under
// 2 x 2 pixels.
Picture CropBitmap(const Picture& source, int left, int top, int width, int height);

struct PixelRectangle {
    int left = 0;
    int top = 0;  // rows count down from the top of the picture
    int width = 0;
    int height = 0;

    friend bool operator==(const PixelRectangle&, const PixelRectangle&) = default;
};

struct CropPlan {
    PixelRectangle pixels;  // what CropBitmap is to cut out
    ImageInfo image;        // the picture's record afterwards, origin at its lower-left corner
};

// Turns the rectangle picked in the drawing into pixels of the picture. The
// rectangle is cut to the picture on all four sides, its work size shrinks by
// what was cut off, and the new scale keeps Scale = SizeX / (PixelWidth - 1).
// A rectangle whose top edge lies on the picture's top edge starts at row 0.
// Throws PictureError when less than 2 x 2 pixels remain or the records hold
// no usable numbers. Pixels are Scale wide and high; the second form takes
// their width and height apart, for a picture whose sizes do not keep its
// ratio (its rows are then cropped at their own size).
CropPlan ComputeCrop(const ImageInfo& image, const CutInfo& cut);
CropPlan ComputeCrop(const ImageInfo& image, const CutInfo& cut, double pixelWidth, double pixelHeight);

// The picture in grey levels (GreyLevel of each pixel), as Grey8 with its
// bit depth shown as 8 bits. A Grey8 picture keeps its levels.
void MakeGrayBitmap8(Picture& picture);

// The negative: every colour byte inverted (byte xor 255). A Bgra32 picture
// keeps its colour bytes as they are; only every fourth byte becomes 100.
Picture MakeNegative(const Picture& source);

}  // namespace calvoro

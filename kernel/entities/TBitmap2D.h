// A picture stretched into the box that control points 0 and 1 span; the
// program places the loaded picture as one of these. The record after the
// primitive's: the picture as a whole BMP file, then (for streams of version
// "KRN422" and later) two reals kept as they are and the u32 copy mode.
#pragma once

#include "kernel/entities/BmpImage.h"
#include "kernel/entities/TPrimitive2D.h"

#include <array>
#include <cstdint>

namespace calvoro {

class TBitmap2D : public TPrimitive2D {
public:
    static const TGraphicObjectClass Class;

    // The picture from corner p1 to corner p2, copied over the pixels.
    TBitmap2D(std::int32_t id, const TPoint2D& p1, const TPoint2D& p2, BmpImage bitmap);
    // Refuses a record that does not hold two points or whose picture is not
    // a BMP file that fits in the stream.
    TBitmap2D(BinaryReader& reader, const VersionTag& version);

    const TGraphicObjectClass& ClassType() const override { return Class; }
    std::unique_ptr<TObject2D> Clone() const override;

    void SaveToStream(BinaryWriter& writer) override;
    // From a picture: the picture, the two reals and the copy mode; from a
    // picture or a frame: the two corners.
    void Assign(const TGraphicObject& source) override;
    // The picture upright, its top row along the top edge of the box, stretched
    // over the box carried to pixels and combined by CopyMode. A transform
    // that mirrors the box mirrors the picture too.
    void Draw(const TMatrix2D& matrix, TDecorativeCanvas& canvas, int mode, const TRect2D& clipRect) override;

    const BmpImage& Bitmap() const { return bitmap_; }
    void SetBitmap(const BmpImage& bitmap) { bitmap_ = bitmap; }
    std::uint32_t CopyMode() const { return copyMode_; }
    void SetCopyMode(std::uint32_t mode) { copyMode_ = mode; }
    // Two values the record carries; nothing reads them.
    const std::array<double, 2>& Reserved() const { return reserved_; }
    void SetReserved(const std::array<double, 2>& values) { reserved_ = values; }

protected:
    explicit TBitmap2D(std::int32_t id);
    bool AcceptsPointsOf(const TGraphicObject& source) const override;

private:
    BmpImage bitmap_;
    std::array<double, 2> reserved_{};
    std::uint32_t copyMode_;
};

}  // namespace calvoro

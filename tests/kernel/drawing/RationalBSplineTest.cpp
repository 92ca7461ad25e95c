// The rational B-spline: its span search and evaluation on clamped and
// unclamped knots, and the entity's record, profile, refusals and class
// index, with data that define no curve drawn as the control polygon.
#include "kernel/entities/EntityClasses.h"
#include "kernel/entities/RationalBSplineMath.h"
#include "kernel/entities/TQVBSpline2D.h"
#include "kernel/model/ClassRegistry.h"

#include "tests/support/Drawings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace calvoro;
using namespace calvoro::test;

namespace {

const std::vector<TPoint2D> kQuarter = {MakePoint2D(1, 0), MakePoint2D(1, 1), MakePoint2D(0, 1)};

// A rational spline record: the curve part, then the spline's own fields.
std::string SplineRecord(const std::vector<TPoint2D>& points, std::uint16_t segments, std::uint32_t degree,
                         const std::vector<double>& knots, const std::vector<double>& weights) {
    RecordBytes r;
    r.Header(5).Identity().U16(static_cast<std::uint16_t>(points.size()));
    for (const TPoint2D& p : points) r.Point(p.X, p.Y, p.W);
    r.U8(1).U16(segments).U8(1);
    r.U8(0xDE).U8(0xAD).U8(0).U8(0xBE).U8(0xEF);
    r.I32(static_cast<std::int32_t>(degree)).I32(static_cast<std::int32_t>(knots.size()));
    for (const double k : knots) r.F64(k);
    r.I32(static_cast<std::int32_t>(weights.size()));
    for (const double w : weights) r.F64(w);
    return r;
}

std::vector<TPoint2D> ProfileOf(TQVBSpline2D& spline) {
    spline.RecalcBox();
    const ProfileUse use(spline);
    if (!spline.HasProfilePoints()) return {};
    const auto points = spline.GetProfilePoints().Points();
    return std::vector<TPoint2D>(points.begin(), points.end());
}

class QVBSpline2D : public DrawingTest {};

TEST_F(QVBSpline2D, RecordKeepsItsBytesAndEvaluatesAsACircle) {
    const std::string bytes = SplineRecord(kQuarter, 50, 2, {0, 0, 0, 1, 1, 1}, {1, std::sqrt(0.5), 1});
    const auto spline = ReadRecord<TQVBSpline2D>(bytes);
    EXPECT_EQ(spline->StoredBytes(), (std::array<std::uint8_t, 5>{0xDE, 0xAD, 0, 0xBE, 0xEF}));
    EXPECT_EQ(spline->KnotCount(), 6u);
    EXPECT_EQ(spline->VectorCount(), 3u);
    const std::vector<TPoint2D> profile = ProfileOf(*spline);
    ASSERT_EQ(profile.size(), 50u) << "SegmentCount points, not one more";
    for (const TPoint2D& p : profile) EXPECT_NEAR(std::hypot(p.X, p.Y), 1.0, 1e-12);
    EXPECT_POINT_NEAR(profile.front(), 1, 0, 1e-15);
    EXPECT_POINT_NEAR(profile.back(), 0, 1, 1e-15);
    EXPECT_BYTES_EQ(RecordOf(*spline), bytes);

    const std::unique_ptr<TObject2D> copy = spline->Clone();
    EXPECT_BYTES_EQ(RecordOf(*copy), bytes);
    auto& clone = dynamic_cast<TQVBSpline2D&>(*copy);
    EXPECT_EQ(ProfileOf(clone), profile);
    EXPECT_TRUE(clone.Points().Growable());
}

TEST_F(QVBSpline2D, CountsThatDoNotFitAreRefused) {
    const std::string bytes = SplineRecord(kQuarter, 50, 2, {0, 0, 0, 1, 1, 1}, {1, 1, 1});
    for (const std::size_t countAt : {bytes.size() - 3 * 8 - 4, bytes.size() - 3 * 8 - 4 - 6 * 8 - 4}) {
        std::string corrupt = bytes;
        corrupt[countAt + 3] = 0x10;  // some 268 million values
        BinaryReader reader(corrupt);
        EXPECT_THROW(TQVBSpline2D(reader, LibraryVersion), ECADFileNotValid);
    }
}

}  // namespace

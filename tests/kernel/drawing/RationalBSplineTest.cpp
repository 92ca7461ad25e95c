// The rational B-spline: its span search and evaluation on clamped and
// unclamped knots, and the entity's record, profile, refusals and class
// index, with data that define no curve drawn as the control polygon.
#include "kernel/entities/EntityClasses.h"
#include "kernel/entities/RationalBSplineMath.h"
#include "kernel/entities/TQVBSpline2D.h"
#include "kernel/model/ClassRegistry.h"

#include "DrawingTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace calvoro;
using namespace calvoro::test;

namespace {

const std::vector<TPoint2D> kQuarter = {MakePoint2D(1, 0), MakePoint2D(1, 1), MakePoint2D(0, 1)};

TEST(RationalBSplineMath, SpanSearchCoversTheDomainAndItsEnds) {
    // Cubic, clamped, two inner knots: spans 3, 4 and 5.
    const std::vector<double> knots = {0, 0, 0, 0, 1, 2, 3, 3, 3, 3}, weights(6, 1.0);
    const std::vector<TPoint2D> points(6, MakePoint2D(0, 0));
    const RationalBSplineData cubic{3, knots, points, weights};
    const std::pair<double, int> cases[] = {{-1, 3}, {0, 3},       {0.5, 3}, {1, 4}, {1.99, 4},
                                            {2, 5},  {2.99999, 5}, {3, 5},   {4, 5}};
    for (const auto& [u, span] : cases) EXPECT_EQ(FindKnotSpan(cubic, u), span) << u;

    // Three points of degree 1 whose end knot repeats three times: the curve
    // stops at the second point, in the last span of non-zero length.
    const std::vector<double> endKnots = {0, 0, 1, 1, 1};
    const std::vector<TPoint2D> endPoints = {MakePoint2D(0, 0), MakePoint2D(1, 1), MakePoint2D(9, 9)};
    const RationalBSplineData end{1, endKnots, endPoints, weights};
    ASSERT_TRUE(IsEvaluableRationalBSpline(end));
    EXPECT_EQ(FindKnotSpan(end, 1.0), 1);
    EXPECT_EQ(RationalBSplinePoint(end, 1.0), MakePoint2D(1, 1));
}

TEST(RationalBSplineMath, UnclampedKnotsEvaluateOnTheirDomain) {
    // Uniform quadratic: the domain is [2, 3]; the ends are the midpoints of
    // the control polygon's legs.
    const std::vector<double> knots = {0, 1, 2, 3, 4, 5}, weights = {1, 1, 1};
    const std::vector<TPoint2D> points = {MakePoint2D(0, 0), MakePoint2D(2, 2), MakePoint2D(4, 0)};
    const RationalBSplineData spline{2, knots, points, weights};
    ASSERT_TRUE(IsEvaluableRationalBSpline(spline));
    const std::vector<TPoint2D> profile = RationalBSplineProfile(spline, 5);
    EXPECT_POINT_NEAR(profile.front(), 1.0, 1.0, 1e-12);
    EXPECT_POINT_NEAR(profile[2], 2.0, 1.5, 1e-12);
    EXPECT_POINT_NEAR(profile.back(), 3.0, 1.0, 1e-12);
    EXPECT_FALSE(IsEvaluableRationalBSpline({2, knots, points, std::span(weights).first(2)})) << "a weight missing";
}

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

TEST_F(QVBSpline2D, DataThatDefineNoCurveAreDrawnAsTheControlPolygon) {
    const std::vector<double> clamped = {0, 0, 0, 1, 1, 1}, ones = {1, 1, 1};
    std::vector<double> tooHighKnots(40 + kMaxRationalBSplineDegree + 2);
    for (std::size_t i = 0; i < tooHighKnots.size(); ++i) tooHighKnots[i] = static_cast<double>(i);
    struct Case {
        const char* what;
        std::uint32_t degree;
        std::vector<double> knots, weights;
        std::vector<TPoint2D> points = kQuarter;
    };
    const Case cases[] = {
        {"degree 0", 0, {0, 1, 2}, ones},
        {"as many points as the degree", 3, {0, 0, 0, 0, 1, 1, 1}, ones},
        {"fewer points than the degree", 7, {}, {}},
        {"huge degree", 0xFFFFFFFF, {}, {}},
        {"degree too high", kMaxRationalBSplineDegree + 1, tooHighKnots, std::vector<double>(40, 1.0),
         std::vector<TPoint2D>(40, MakePoint2D(0, 0))},
        {"knot count off by one", 2, {0, 0, 0, 1, 1, 1, 1}, ones},
        {"decreasing knots", 2, {0, 0, 0, -1, 1, 1}, ones},
        {"no domain", 2, {0, 0, 0, 0, 0, 0}, ones},
        {"not finite knot", 2, {0, 0, 0, 1, 1, INFINITY}, ones},
        {"zero weight", 2, clamped, {1, 0, 1}},
        {"negative weight", 2, clamped, {1, 1, -1}},
    };
    for (const Case& c : cases) {
        const auto spline = ReadRecord<TQVBSpline2D>(SplineRecord(c.points, 50, c.degree, c.knots, c.weights));
        EXPECT_EQ(ProfileOf(*spline), c.points) << c.what;
    }
    // Unclamped knots give a curve of SegmentCount points.
    EXPECT_EQ(ProfileOf(*ReadRecord<TQVBSpline2D>(SplineRecord(kQuarter, 8, 2, {0, 1, 2, 3, 4, 5}, ones))).size(), 8u);
}

TEST_F(QVBSpline2D, SegmentCountIsRaisedAndMissingWeightsBecomeOne) {
    const std::vector<TPoint2D> points = {MakePoint2D(0, 0), MakePoint2D(1, 1), MakePoint2D(2, 0), MakePoint2D(3, 1)};
    const auto spline = ReadRecord<TQVBSpline2D>(SplineRecord(points, 2, 1, {0, 0, 1, 2, 3, 3}, {2}));
    // Degree 1 passes through its control points at the knots.
    EXPECT_EQ(ProfileOf(*spline), points);
    EXPECT_EQ(spline->SegmentCount(), 4);
    EXPECT_EQ(spline->Weights(), (std::vector<double>{2, 1, 1, 1}));
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

TEST(EntityClasses, TextPictureAndRationalSplineHaveTheirStreamIndices) {
    ClassRegistry registry;
    RegisterEntityClasses(registry);
    const std::pair<const char*, unsigned> table[] = {
        {"TText2D", 10}, {"TBitmap2D", 12}, {"TJustifiedVectText2D", 14}, {"TQVBSpline2D", 19}};
    for (const auto& [name, index] : table) EXPECT_EQ(registry.FindClassByIndex(index).Name, name);
    EXPECT_EQ(MessageOf<ECADObjClassNotFound>([&] { registry.FindClassByIndex(20); }),
              "CADCoreFindClassByIndex: Index not registered");
}

}  // namespace

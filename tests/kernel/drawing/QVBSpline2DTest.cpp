#include "kernel/entities/EntityClasses.h"
#include "kernel/entities/TQVBSpline2D.h"
#include "kernel/model/CADCoreExceptions.h"

#include "DrawingTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace calvoro;
using namespace calvoro::test;

namespace {

class QVBSpline2D : public DrawingTest {};

// A rational spline record: the curve part, then the spline's own fields.
RecordBytes SplineRecord(const std::vector<TPoint2D>& points, std::uint16_t segments, std::uint32_t degree,
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

const std::vector<TPoint2D> kQuarter = {MakePoint2D(1, 0), MakePoint2D(1, 1), MakePoint2D(0, 1)};

std::vector<TPoint2D> ProfileOf(TQVBSpline2D& spline) {
    const ProfileUse use(spline);
    if (!spline.HasProfilePoints()) return {};
    const auto points = spline.GetProfilePoints().Points();
    return std::vector<TPoint2D>(points.begin(), points.end());
}

TEST_F(QVBSpline2D, RecordKeepsItsBytesAndEvaluatesAsACircle) {
    const std::string bytes = SplineRecord(kQuarter, 50, 2, {0, 0, 0, 1, 1, 1}, {1, std::sqrt(0.5), 1});
    const auto spline = ReadRecord<TQVBSpline2D>(bytes);
    EXPECT_EQ(spline->StoredBytes(), (std::array<std::uint8_t, 5>{0xDE, 0xAD, 0, 0xBE, 0xEF}));
    EXPECT_EQ(spline->KnotCount(), 6u);
    EXPECT_EQ(spline->VectorCount(), 3u);
    spline->RecalcBox();
    const std::vector<TPoint2D> profile = ProfileOf(*spline);
    ASSERT_EQ(profile.size(), 50u) << "SegmentCount points, not one more";
    for (const TPoint2D& p : profile) EXPECT_NEAR(std::hypot(p.X, p.Y), 1.0, 1e-12);
    EXPECT_POINT_NEAR(profile.front(), 1, 0, 1e-15);
    EXPECT_POINT_NEAR(profile.back(), 0, 1, 1e-15);
    EXPECT_BYTES_EQ(RecordOf(*spline), bytes);
}

TEST_F(QVBSpline2D, ProfileRulesForShortAndDegenerateSplines) {
    struct Case {
        const char* what;
        std::vector<TPoint2D> points;
        std::uint16_t segments;
        std::uint32_t degree;
        std::vector<double> knots;
        std::vector<double> weights;
        std::size_t profileSize;
        bool controlPolygon;
    };
    const std::vector<TPoint2D> five = {MakePoint2D(0, 0), MakePoint2D(1, 2), MakePoint2D(2, 0), MakePoint2D(3, 2),
                                        MakePoint2D(4, 0)};
    const Case cases[] = {
        {"as many points as the degree", kQuarter, 50, 3, {0, 0, 0, 0, 1, 1, 1}, {1, 1, 1}, 3, true},
        {"fewer points than the degree", kQuarter, 50, 7, {}, {}, 3, true},
        {"knot count off by one", kQuarter, 50, 2, {0, 0, 0, 1, 1}, {1, 1, 1}, 3, true},
        {"zero weight", kQuarter, 50, 2, {0, 0, 0, 1, 1, 1}, {1, 0, 1}, 3, true},
        {"degree 0", kQuarter, 50, 0, {0, 1, 2}, {1, 1, 1}, 3, true},
        {"huge degree", kQuarter, 50, 0xFFFFFFFF, {}, {}, 3, true},
        {"segments raised to the points", five, 3, 1, {0, 0, 1, 2, 3, 4, 4}, {1, 1, 1, 1, 1}, 5, false},
        {"unclamped knots", kQuarter, 8, 2, {0, 1, 2, 3, 4, 5}, {1, 1, 1}, 8, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto spline = ReadRecord<TQVBSpline2D>(SplineRecord(c.points, c.segments, c.degree, c.knots, c.weights));
        spline->RecalcBox();
        const std::vector<TPoint2D> profile = ProfileOf(*spline);
        ASSERT_EQ(profile.size(), c.profileSize);
        if (c.controlPolygon) {
            EXPECT_EQ(profile, c.points);
        }
    }
}

TEST_F(QVBSpline2D, SegmentCountIsRaisedAndMissingWeightsBecomeOne) {
    const std::vector<TPoint2D> points = {MakePoint2D(0, 0), MakePoint2D(1, 1), MakePoint2D(2, 0), MakePoint2D(3, 1)};
    const auto spline = ReadRecord<TQVBSpline2D>(SplineRecord(points, 2, 1, {0, 0, 1, 2, 3, 3}, {2}));
    spline->RecalcBox();
    EXPECT_EQ(spline->SegmentCount(), 4);
    EXPECT_EQ(spline->Weights(), (std::vector<double>{2, 1, 1, 1}));
    // Degree 1 passes through its control points at the knots.
    EXPECT_EQ(ProfileOf(*spline), points);
}

TEST_F(QVBSpline2D, CountsThatDoNotFitAreRefused) {
    std::string bytes = SplineRecord(kQuarter, 50, 2, {0, 0, 0, 1, 1, 1}, {1, 1, 1});
    for (const std::size_t countAt : {bytes.size() - 3 * 8 - 4, bytes.size() - 3 * 8 - 4 - 6 * 8 - 4}) {
        std::string corrupt = bytes;
        corrupt[countAt + 3] = 0x10;  // some 268 million values
        BinaryReader reader(corrupt);
        EXPECT_THROW(TQVBSpline2D(reader, LibraryVersion), ECADFileNotValid);
    }
}

TEST_F(QVBSpline2D, ClassWordNineteenIsTheRationalSpline) {
    BinaryWriter writer;
    writer.writeUInt16(19);
    writer.writeBytes(SplineRecord(kQuarter, 50, 2, {0, 0, 0, 1, 1, 1}, {1, 1, 1}).str());
    BinaryReader reader(writer.bytes());
    EXPECT_NE(dynamic_cast<TQVBSpline2D*>(ReadObjectWithClassIndex(reader, LibraryVersion).get()), nullptr);

    BinaryWriter unknown;
    unknown.writeUInt16(20);
    BinaryReader unknownReader(unknown.bytes());
    try {
        ReadObjectWithClassIndex(unknownReader, LibraryVersion);
        FAIL();
    } catch (const ECADObjClassNotFound& e) {
        EXPECT_STREQ(e.what(), "CADCoreFindClassByIndex: Index not registered");
    }
}

TEST_F(QVBSpline2D, CloneCopiesEverything) {
    TQVBSpline2D spline(3, kQuarter, 2, {0, 0, 0, 1, 1, 1}, {1, 0.5, 1});
    spline.SetSegmentCount(9);
    spline.RecalcBox();
    const std::unique_ptr<TObject2D> copy = spline.Clone();
    EXPECT_BYTES_EQ(RecordOf(*copy), RecordOf(spline));
    auto& clone = dynamic_cast<TQVBSpline2D&>(*copy);
    EXPECT_EQ(ProfileOf(clone), ProfileOf(spline));
    EXPECT_TRUE(clone.Points().Growable());
}

TEST(EntityModule, EveryClassHasItsStreamIndex) {
    ClassRegistry registry;
    RegisterEntityClasses(registry);
    const char* names[] = {
        "TContainer2D", "TSourceBlock2D", "TBlock2D",       "TLine2D",          "TPolyline2D",
        "TPolygon2D",   "TRectangle2D",   "TEllipseOpen2D", "TEllipse2D",       "TFilledEllipse2D",
        "TText2D",      "TFrame2D",       "TBitmap2D",      "TBSpline2D",       "TJustifiedVectText2D",
        "TPunto2D",     "TCerchio2D",     "TArco2D",        "TFilledCerchio2D", "TQVBSpline2D"};
    for (unsigned index = 0; index < 20; ++index) EXPECT_EQ(registry.FindClassByIndex(index).Name, names[index]);
    EXPECT_THROW(registry.FindClassByIndex(20), ECADObjClassNotFound);
    RegisterEntityClasses(registry);  // again: the same table, no double registration
    EXPECT_EQ(registry.FindClassIndex("TQVBSpline2D"), 19);
}

}  // namespace

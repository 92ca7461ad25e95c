// Copies between entities: which classes take the points of which, what a
// refused copy leaves, and clones that keep everything.
#include "tests/kernel/entities/EntityTestSupport.h"

#include "kernel/entities/QV2D_Entities.h"

#include <functional>
#include <numbers>
#include <vector>

using namespace calvoro;
using namespace calvoro::test;

namespace {

constexpr double kPi = std::numbers::pi;

std::vector<TPoint2D> PointsOf(const TPrimitive2D& p) {
    const auto points = p.Points().Points();
    return {points.begin(), points.end()};
}

class AssignTest : public EntityTest {};

TEST_F(AssignTest, PolylinesTakeEveryPointOfLinesAndStayGrowable) {
    TLine2D line(1, MakePoint2D(1, 2), MakePoint2D(3, 4));
    TPolyline2D polyline(2, std::vector<TPoint2D>{MakePoint2D(0, 0), MakePoint2D(9, 9), MakePoint2D(5, 5)});
    polyline.Assign(line);
    EXPECT_EQ(PointsOf(polyline), PointsOf(line));
    EXPECT_TRUE(polyline.Points().Growable());
    EXPECT_EQ(polyline.Box(), MakeRect2D(1, 2, 3, 4));

    TPolygon2D polygon(3, std::vector<TPoint2D>{});
    polygon.Assign(polyline);
    EXPECT_EQ(PointsOf(polygon), PointsOf(line));
    TPolyline2D back(4, std::vector<TPoint2D>{MakePoint2D(7, 7)});
    back.Assign(TPolygon2D(5, std::vector<TPoint2D>{}));
    EXPECT_EQ(back.Points().Count(), 0);
    EXPECT_EQ(back.Box(), MakeRect2D(0, 0, 0, 0));
}

TEST_F(AssignTest, ARefusedSourceLeavesThePointsAlone) {
    // A point given a line, a line given a polygon: neither takes the other's
    // points, and neither is left without its own.
    TPunto2D point(1, MakePoint2D(5, 5));
    TLine2D line(2, MakePoint2D(0, 0), MakePoint2D(1, 1));
    line.SetObjectMatrix(TranslationMatrix2D(10, 0));
    point.Assign(line);
    ASSERT_EQ(point.Points().Count(), 1);
    EXPECT_EQ(point.Points().Get(0), MakePoint2D(5, 5));
    EXPECT_FALSE(point.Points().Growable());
    EXPECT_EQ(point.Box(), MakeRect2D(15, 5, 15, 5)) << "the box follows the matrix taken over";

    TLine2D target(3, MakePoint2D(2, 2), MakePoint2D(3, 3));
    target.Assign(TPolygon2D(4, std::vector<TPoint2D>{MakePoint2D(0, 0), MakePoint2D(1, 0), MakePoint2D(0, 1)}));
    EXPECT_EQ(PointsOf(target), (std::vector<TPoint2D>{MakePoint2D(2, 2), MakePoint2D(3, 3)}));

    TCerchio2D circle(5, MakePoint2D(0, 0), MakePoint2D(1, 0));
    circle.Assign(TBSpline2D(6, std::vector<TPoint2D>{MakePoint2D(4, 4), MakePoint2D(5, 5), MakePoint2D(6, 4)}));
    EXPECT_EQ(PointsOf(circle), (std::vector<TPoint2D>{MakePoint2D(0, 0), MakePoint2D(1, 0)}));
    EXPECT_EQ(circle.GetNPts(), 51);
}

TEST_F(AssignTest, TwoPointCurvesTakeCornersAndCentresAlike) {
    // Conversions take points 0 and 1 as they stand: a frame's first corner
    // becomes a circle's centre.
    TFrame2D frame(1, MakePoint2D(0, 0), MakePoint2D(4, 2));
    TEllipse2D ellipse(2, MakePoint2D(-1, -1), MakePoint2D(1, 1));
    TArco2D arc(3, MakePoint2D(1, 1), MakePoint2D(2, 1), 0, kPi);
    TCerchio2D circle(4, MakePoint2D(9, 9), MakePoint2D(9, 10));
    struct Case {
        const char* what;
        std::function<std::unique_ptr<TCurve2D>()> target;
        const TPrimitive2D& source;
        bool takes;
    };
    const auto frameTarget = [] { return std::make_unique<TRectangle2D>(10, MakePoint2D(7, 7), MakePoint2D(8, 8)); };
    const auto ellipseTarget = [] {
        return std::make_unique<TFilledEllipse2D>(10, MakePoint2D(7, 7), MakePoint2D(8, 8));
    };
    const auto circleTarget = [] {
        return std::make_unique<TFilledCerchio2D>(10, MakePoint2D(7, 7), MakePoint2D(8, 8));
    };
    const Case cases[] = {
        {"rectangle from frame", frameTarget, frame, true}, {"rectangle from ellipse", frameTarget, ellipse, true},
        {"rectangle from arc", frameTarget, arc, false},    {"ellipse from frame", ellipseTarget, frame, true},
        {"ellipse from arc", ellipseTarget, arc, true},     {"ellipse from circle", ellipseTarget, circle, false},
        {"circle from frame", circleTarget, frame, true},   {"circle from arc", circleTarget, arc, true},
        {"circle from circle", circleTarget, circle, true}, {"circle from ellipse", circleTarget, ellipse, true},
    };
    for (const Case& c : cases) {
        std::unique_ptr<TCurve2D> target = c.target();
        target->Assign(c.source);
        const std::vector<TPoint2D> expected =
            c.takes ? std::vector<TPoint2D>{c.source.Points().Get(0), c.source.Points().Get(1)}
                    : std::vector<TPoint2D>{MakePoint2D(7, 7), MakePoint2D(8, 8)};
        EXPECT_EQ(PointsOf(*target), expected) << c.what;
        EXPECT_FALSE(target->Points().Growable()) << c.what;
    }
}

TEST_F(AssignTest, CurvesTakeSegmentCountAndKeepProfileFromAnyCurve) {
    auto coarse = ReadRecord<TBSpline2D>(
        RecordBytes().Header(1).Identity().U16(3).Point(0, 0).Point(1, 1).Point(2, 0).U8(1).U16(8).U8(0).U8(3));
    TCerchio2D circle(2, MakePoint2D(0, 0), MakePoint2D(1, 0));
    circle.Assign(*coarse);
    EXPECT_EQ(circle.SegmentCount(), 8);
    EXPECT_EQ(circle.KeepProfile(), 0);
    EXPECT_FALSE(circle.HasProfilePoints());
    const ProfileUse use(circle);
    EXPECT_EQ(circle.GetNPts(), 9);
}

TEST_F(AssignTest, ACopiedArcKeepsItsEndsThroughSaveAndLoad) {
    TArco2D arc(1, MakePoint2D(1, 1), MakePoint2D(3, 1), kPi / 6, kPi);
    auto copy = std::unique_ptr<TArco2D>(static_cast<TArco2D*>(arc.Clone().release()));
    ASSERT_EQ(copy->Points().Count(), 4);
    EXPECT_EQ(PointsOf(*copy), PointsOf(arc));
    EXPECT_FALSE(copy->Points().Growable());
    auto loaded = RoundTrip(*copy);
    const auto* back = dynamic_cast<TArco2D*>(loaded.get());
    ASSERT_NE(back, nullptr);
    EXPECT_NEAR(back->StartAngle(), kPi / 6, 1e-12);
    EXPECT_NEAR(back->EndAngle(), kPi, 1e-12);
    EXPECT_EQ(back->Direction(), 1);
}

TEST_F(AssignTest, ArcsFromEllipsesOrFramesEndAtTheOrigin) {
    TEllipse2D ellipse(1, MakePoint2D(2, 2), MakePoint2D(6, 4));
    auto arc = ReadRecord<TArco2D>(
        ArcRecord({MakePoint2D(0, 0), MakePoint2D(1, 0), MakePoint2D(1, 0), MakePoint2D(0, 1)}, 0, 50, 1, 2));
    arc->Assign(ellipse);
    EXPECT_EQ(PointsOf(*arc),
              (std::vector<TPoint2D>{MakePoint2D(2, 2), MakePoint2D(6, 4), MakePoint2D(0, 0), MakePoint2D(0, 0)}));
    EXPECT_EQ(arc->Direction(), 0) << "not copied from an ellipse";
    // Both ends at the origin are one angle: a full turn.
    EXPECT_EQ(arc->StartAngle(), arc->EndAngle());

    auto open = ReadRecord<TEllipseOpen2D>(ArcRecord({MakePoint2D(0, 0), MakePoint2D(1, 1)}, 1, 50, 1, 3));
    open->Assign(TFrame2D(4, MakePoint2D(-2, -1), MakePoint2D(2, 1)));
    ASSERT_EQ(open->Points().Count(), 4);
    EXPECT_EQ(open->Points().Get(3), MakePoint2D(0, 0));
    EXPECT_EQ(open->Box(), MakeRect2D(-2, -1, 2, 1));
}

TEST_F(AssignTest, ClonesKeepClassIdLayerAndRecord) {
    TSourceBlock2D source(40, MakeBlockName("BOLT"));
    source.Objects().Add(std::make_unique<TLine2D>(41, MakePoint2D(0, 0), MakePoint2D(1, 0)));
    std::vector<std::unique_ptr<TObject2D>> originals;
    originals.push_back(std::make_unique<TPunto2D>(1, MakePoint2D(1, 2)));
    originals.push_back(std::make_unique<TLine2D>(2, MakePoint2D(1, 2), MakePoint2D(3, 4)));
    originals.push_back(std::make_unique<TPolyline2D>(3, std::vector<TPoint2D>{MakePoint2D(0, 0), MakePoint2D(1, 5)}));
    originals.push_back(std::make_unique<TPolygon2D>(4, std::vector<TPoint2D>{MakePoint2D(0, 0), MakePoint2D(1, 5)}));
    originals.push_back(std::make_unique<TFrame2D>(5, MakePoint2D(0, 0), MakePoint2D(2, 1)));
    originals.push_back(std::make_unique<TRectangle2D>(6, MakePoint2D(0, 0), MakePoint2D(2, 1)));
    originals.push_back(std::make_unique<TEllipse2D>(7, MakePoint2D(0, 0), MakePoint2D(2, 1)));
    originals.push_back(std::make_unique<TFilledEllipse2D>(8, MakePoint2D(0, 0), MakePoint2D(2, 1)));
    originals.push_back(std::make_unique<TCerchio2D>(9, MakePoint2D(0, 0), MakePoint2D(2, 1)));
    originals.push_back(std::make_unique<TFilledCerchio2D>(10, MakePoint2D(0, 0), MakePoint2D(2, 1)));
    originals.push_back(std::make_unique<TArco2D>(11, MakePoint2D(0, 0), MakePoint2D(2, 1), 0.5, 2.5));
    originals.push_back(ReadRecord<TEllipseOpen2D>(
        ArcRecord({MakePoint2D(0, 0), MakePoint2D(4, 2), MakePoint2D(4, 1), MakePoint2D(2, 2)}, 0, 20, 0, 12)));
    originals.push_back(std::make_unique<TBSpline2D>(
        13, std::vector<TPoint2D>{MakePoint2D(0, 0), MakePoint2D(1, 5), MakePoint2D(2, 0), MakePoint2D(3, 3)}));
    originals.push_back(std::make_unique<TBlock2D>(14, source, MakePoint2D(1, 1)));
    originals.push_back(source.Clone());
    std::vector<std::unique_ptr<TObject2D>> clones;
    for (auto& original : originals) {
        SCOPED_TRACE(std::string(original->ClassName()));
        original->SetLayer(17);
        original->SetEnabled(false);
        original->ApplyTransform(RotationMatrix2D(0.3));
        original->RecalcBox();
        std::unique_ptr<TObject2D> clone = original->Clone();
        EXPECT_EQ(clone->ClassName(), original->ClassName());
        EXPECT_EQ(clone->ID(), original->ID());
        EXPECT_EQ(clone->Layer(), 17);
        EXPECT_EQ(clone->Box(), original->Box());
        EXPECT_EQ(clone->Handler(), original->Handler());
        EXPECT_BYTES_EQ(RecordOf(*clone), RecordOf(*original));
        clones.push_back(std::move(clone));
    }
    EXPECT_EQ(source.ReferenceCount(), 2u) << "the block and its clone";
    originals.clear();
    clones.clear();
    EXPECT_EQ(source.ReferenceCount(), 0u);
}

}  // namespace

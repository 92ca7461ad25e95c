// Exploding composites, world copies and deleting small entities over a
// drawing built object by object. Exploding must carry every member over:
// whatever a composite held is in the drawing afterwards, in the same place.
#include "kernel/drawing/QVCmp2D.h"
#include "kernel/editing/ExplodeAndCopy.h"
#include "kernel/entities/QV2D_Entities.h"
#include "kernel/entities/TBitmap2D.h"
#include "kernel/entities/TSourceBlock2D.h"
#include "kernel/geometry/Matrix2D.h"
#include "kernel/model/GraphicObjIterator.h"
#include "tests/support/Drawings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace calvoro {
namespace {

constexpr double kQuarter = std::numbers::pi / 2;

class ExplodeAndCopyTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitializeEntityModule(); }

    template <class T>
    std::vector<T*> OfClass() {
        std::vector<T*> found;
        auto it = drawing.ObjectListIterator();
        for (TGraphicObject* o = it->First(); o != nullptr; o = it->Next())
            if (&static_cast<TObject2D*>(o)->ClassType() == &T::Class) found.push_back(static_cast<T*>(o));
        return found;
    }
    std::int32_t Add(std::unique_ptr<TObject2D> object, std::uint8_t layer = 0) {
        TObject2D* added = drawing.AddObject2D(-1, std::move(object));
        added->SetLayer(layer);
        return added->ID();
    }
    static TPoint2D P(const TPrimitive2D& o, int i) { return CartesianPoint(o.Points().Get(i)); }
    static void ExpectArc(const TArco2D& arc, double cx, double cy, double radius, double start, double end) {
        const TArcData data = arc.GetArcData();
        EXPECT_POINT_NEAR(data.Centre, cx, cy, 1e-12);
        EXPECT_NEAR(data.Radius, radius, 1e-12);
        EXPECT_NEAR(data.StartAngle, start, 1e-12);
        EXPECT_NEAR(data.EndAngle, end, 1e-12);
    }
    // The lines of the drawing run corner to corner, in order.
    void ExpectLinesThrough(const std::vector<TPoint2D>& corners) {
        const auto lines = OfClass<TLine2D>();
        ASSERT_EQ(lines.size() + 1, corners.size());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_POINT_NEAR(P(*lines[i], 0), corners[i].X, corners[i].Y, 1e-12);
            EXPECT_POINT_NEAR(P(*lines[i], 1), corners[i + 1].X, corners[i + 1].Y, 1e-12);
        }
    }

    TQVCmp2D drawing;
    ExplodeCounts counts;
};

TEST_F(ExplodeAndCopyTest, APolylineOfNPointsGivesNMinusOneLinesEndToEndOnItsLayer) {
    const std::vector<TPoint2D> points = {MakePoint2D(0, 0), MakePoint2D(10, 0), MakePoint2D(10, 5), MakePoint2D(0, 5)};
    auto polyline = std::make_unique<TPolyline2D>(-1, points);
    polyline->ApplyTransform(TranslationMatrix2D(1, 2));
    ASSERT_TRUE(EsplodeBlocco(drawing, Add(std::move(polyline), 7), counts));
    EXPECT_EQ(counts.Lines, 3);
    EXPECT_EQ(drawing.ObjectCount(), 3);
    ExpectLinesThrough({MakePoint2D(1, 2), MakePoint2D(11, 2), MakePoint2D(11, 7), MakePoint2D(1, 7)});
    for (TLine2D* line : OfClass<TLine2D>()) EXPECT_EQ(line->Layer(), 7);
}

TEST_F(ExplodeAndCopyTest, AFrameGivesItsFourSidesEvenWhenRotated) {
    auto frame = std::make_unique<TFrame2D>(-1, MakePoint2D(0, 0), MakePoint2D(4, 2));
    frame->ApplyTransform(RotationMatrix2D(kQuarter));
    ASSERT_TRUE(EsplodeBlocco(drawing, Add(std::move(frame)), counts));
    EXPECT_EQ(counts.Lines, 4);
    // Rotated a quarter turn, the corner (4, 2) lies at (-2, 4).
    ExpectLinesThrough({MakePoint2D(0, 0), MakePoint2D(0, 4), MakePoint2D(-2, 4), MakePoint2D(-2, 0), MakePoint2D(0, 0)});
}

// Every member comes out, in world coordinates, on its own layer: the classes
// the plain rebuild knows and those it does not (an ellipse, a nested
// container), which keep their shape through a frozen transform.
TEST_F(ExplodeAndCopyTest, AContainerKeepsEveryMemberArcsAndUnknownClassesIncluded) {
    auto container = std::make_unique<TContainer2D>(-1);
    container->Objects().Add(std::make_unique<TLine2D>(1, MakePoint2D(0, 0), MakePoint2D(10, 0)));
    auto arc = std::make_unique<TArco2D>(2, MakePoint2D(0, 0), MakePoint2D(5, 0), 0.0, kQuarter);
    arc->SetLayer(3);
    container->Objects().Add(std::move(arc));
    container->Objects().Add(std::make_unique<TCerchio2D>(3, MakePoint2D(20, 0), MakePoint2D(22, 0)));
    container->Objects().Add(std::make_unique<TEllipse2D>(4, MakePoint2D(0, 0), MakePoint2D(6, 3)));
    auto nested = std::make_unique<TContainer2D>(5);
    nested->Objects().Add(std::make_unique<TPunto2D>(6, MakePoint2D(1, 1)));
    container->Objects().Add(std::move(nested));
    container->ApplyTransform(TranslationMatrix2D(100, 50));
    const std::int32_t id = Add(std::move(container));

    ASSERT_TRUE(EsplodeBlocco(drawing, id, counts));
    EXPECT_EQ(drawing.FindObject(id), nullptr);
    EXPECT_EQ(drawing.ObjectCount(), 5);
    EXPECT_EQ(std::tuple(counts.Lines, counts.CirclesAndArcs, counts.Others), std::tuple(1, 2, 2));
    ASSERT_EQ(OfClass<TArco2D>().size(), 1u);
    ExpectArc(*OfClass<TArco2D>()[0], 100, 50, 5, 0, kQuarter);
    EXPECT_EQ(OfClass<TArco2D>()[0]->Layer(), 3);
    ExpectLinesThrough({MakePoint2D(100, 50), MakePoint2D(110, 50)});
    ASSERT_EQ(OfClass<TEllipse2D>().size(), 1u);
    const TRect2D& box = OfClass<TEllipse2D>()[0]->Box();
    EXPECT_NEAR(std::min(box.Left, box.Right), 100, 1e-9);
    EXPECT_NEAR(std::max(box.Left, box.Right), 106, 1e-9);
    ASSERT_EQ(OfClass<TContainer2D>().size(), 1u);
    EXPECT_EQ(OfClass<TContainer2D>()[0]->Objects().Count(), 1);
}

TEST_F(ExplodeAndCopyTest, ABlockGivesItsSourceMembersAndTheLastInstanceTakesTheSourceAlong) {
    auto source = std::make_unique<TSourceBlock2D>(-1, MakeBlockName("B"));
    source->Objects().Add(std::make_unique<TArco2D>(1, MakePoint2D(0, 0), MakePoint2D(1, 0), 0.0, kQuarter));
    source->Objects().Add(std::make_unique<TPunto2D>(2, MakePoint2D(3, 0)));
    auto* block = static_cast<TSourceBlock2D*>(drawing.AddSourceBlock(-1, std::move(source)));
    std::vector<std::int32_t> ids;
    for (int i = 0; i < 2; ++i) {
        auto instance = std::make_unique<TBlock2D>(-1, *block, MakePoint2D(0, 0));
        instance->ApplyTransform(RotationMatrix2D(kQuarter));
        ids.push_back(Add(std::move(instance)));
    }
    ASSERT_TRUE(EsplodeBlocco(drawing, ids[0], counts));
    EXPECT_EQ(drawing.SourceBlockCount(), 1) << "another instance still uses the source";
    ASSERT_EQ(OfClass<TArco2D>().size(), 1u);
    ExpectArc(*OfClass<TArco2D>()[0], 0, 0, 1, kQuarter, 2 * kQuarter);  // turned a quarter
    ASSERT_EQ(OfClass<TPunto2D>().size(), 1u) << "a point member is carried over too";
    EXPECT_POINT_NEAR(P(*OfClass<TPunto2D>()[0], 0), 0, 3, 1e-12);
    ASSERT_TRUE(EsplodeBlocco(drawing, ids[1], counts));
    EXPECT_EQ(drawing.SourceBlockCount(), 0);

    // A block of the library stays for the next insert.
    auto library = std::make_unique<TSourceBlock2D>(-1, MakeBlockName("L"));
    library->Objects().Add(std::make_unique<TPunto2D>(1, MakePoint2D(0, 0)));
    library->SetFromLibrary(true);
    auto* kept = static_cast<TSourceBlock2D*>(drawing.AddSourceBlock(-1, std::move(library)));
    ASSERT_TRUE(EsplodeBlocco(drawing, Add(std::make_unique<TBlock2D>(-1, *kept, MakePoint2D(0, 0))), counts));
    EXPECT_EQ(drawing.SourceBlockCount(), 1);
}

TEST_F(ExplodeAndCopyTest, WhatCannotBeExplodedIsLeftAlone) {
    const TPoint2D one = MakePoint2D(1, 1);
    const std::int32_t ids[] = {
        Add(std::make_unique<TLine2D>(-1, MakePoint2D(0, 0), MakePoint2D(1, 0))),
        Add(std::make_unique<TPolyline2D>(-1, std::span(&one, 1))),
        Add(std::make_unique<TContainer2D>(-1)),
        999,
    };
    for (std::int32_t id : ids) EXPECT_FALSE(EsplodeBlocco(drawing, id, counts)) << id;
    EXPECT_EQ(drawing.ObjectCount(), 3);
}

TEST_F(ExplodeAndCopyTest, CopiesLandInWorldCoordinatesOnTheObjectsLayer) {
    auto arc = std::make_unique<TArco2D>(-1, MakePoint2D(0, 0), MakePoint2D(2, 0), 0.0, kQuarter);
    arc->ApplyTransform(MirrorMatrix2D(kMirrorX));  // 90 .. 180 degrees as the world sees it
    const std::int32_t id = Add(std::move(arc), 4);
    TObject2D* copy = CopiaOggetto(drawing, id, TranslationMatrix2D(10, 0));
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy->ID(), id);
    EXPECT_EQ(copy->Layer(), 4);
    EXPECT_FALSE(copy->HasTransform());
    ExpectArc(static_cast<TArco2D&>(*copy), 10, 0, 2, kQuarter, 2 * kQuarter);
    EXPECT_EQ(CopiaOggetto(drawing, 999), nullptr);
}

// Limit 1: a box must be narrower and lower than 1, both strictly.
TEST_F(ExplodeAndCopyTest, DeleteSmallTakesBoxesStrictlyUnderTheLimitAndNeverThePicture) {
    struct Row {
        double width, height;
        bool deleted;
    };
    const Row rows[] = {{0.5, 0.9, true}, {0.5, 1.0, false}, {1.0, 0.5, false}, {0.0, 0.0, true}, {2, 2, false}};
    std::vector<std::int32_t> ids;
    for (const Row& r : rows)
        ids.push_back(Add(std::make_unique<TLine2D>(-1, MakePoint2D(5, 5), MakePoint2D(5 + r.width, 5 + r.height))));
    const std::int32_t picture = Add(std::make_unique<TBitmap2D>(-1, MakePoint2D(0, 0), MakePoint2D(0.1, 0.1),
                                                                 BmpImage::FromFile(test::MakeBmp24(1, 1))));
    EXPECT_EQ(DeleteSmallObjects(drawing, 1.0), 2);
    for (std::size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(drawing.FindObject(ids[i]) == nullptr, rows[i].deleted) << rows[i].width << " x " << rows[i].height;
    EXPECT_NE(drawing.FindObject(picture), nullptr);
}

}  // namespace
}  // namespace calvoro

// Copies between entities: which classes take the points of which, what a
// refused copy leaves, and arcs whose ends survive a copy.
//
// Containers, source blocks and block instances: picks through transforms,
// reference counts of linked and loaded instances, refusals before anything
// changes, freeing chains and cycles, and deep copies.
//
// Curves: their linearisation, the profile cache and its lifetime, the
// B-spline's order, picks of closed, filled and open curves, and the arc data
// of the object snap.
//
// The stream records of every entity class, byte for byte against records
// assembled by hand, the class indices they are stored under, complete clones,
// and records that are corrupt, cut short or nested too deeply.
//
// What the entities draw, recorded headless: filled and open outlines, blocks
// through their transform, and the text font's record.
//
// The 2D object base: the two-stage transform and its freezing on write,
// visibility, and the pick codes and distances of the base and of the
// point-list entities.
#include "kernel/draw/DecorativeCanvas.h"
#include "kernel/draw/RecordingCanvas.h"
#include "kernel/entities/QV2D_Entities.h"
#include "kernel/entities/TLine2D.h"
#include "kernel/entities/TPolygon2D.h"
#include "kernel/entities/TPolyline2D.h"
#include "kernel/entities/TPunto2D.h"
#include "kernel/geometry/Picking.h"
#include "kernel/model/BinaryReader.h"
#include "kernel/model/CADCoreExceptions.h"
#include "kernel/model/GraphicObjIterator.h"
#include "kernel/model/GraphicObjList.h"
#include "tests/support/Drawings.h"

#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

using namespace calvoro;
using namespace calvoro::test;
using testing::StrEq;
using testing::ThrowsMessage;

namespace {

constexpr double kPi = std::numbers::pi;

std::vector<TPoint2D> PointsOf(const TPrimitive2D& p) {
    const auto points = p.Points().Points();
    return {points.begin(), points.end()};
}

class AssignTest : public EntityTest {};

// Conversions take the points as they stand (a frame's first corner becomes a
// circle's centre) or, from a class they do not take, leave their own alone.
TEST_F(AssignTest, EachClassTakesThePointsOfTheClassesItAccepts) {
    TFrame2D frame(1, MakePoint2D(0, 0), MakePoint2D(4, 2));
    TEllipse2D ellipse(2, MakePoint2D(-1, -1), MakePoint2D(1, 1));
    TArco2D arc(3, MakePoint2D(1, 1), MakePoint2D(2, 1), 0, kPi);
    TCerchio2D circle(4, MakePoint2D(9, 9), MakePoint2D(9, 10));
    TLine2D line(5, MakePoint2D(1, 2), MakePoint2D(3, 4));
    line.SetObjectMatrix(TranslationMatrix2D(10, 0));
    TPolyline2D polyline(6, std::vector<TPoint2D>{MakePoint2D(0, 0), MakePoint2D(9, 9), MakePoint2D(5, 5)});
    TPolygon2D polygon(7, std::vector<TPoint2D>{MakePoint2D(0, 0), MakePoint2D(1, 0), MakePoint2D(0, 1)});
    TBSpline2D spline(8, std::vector<TPoint2D>{MakePoint2D(4, 4), MakePoint2D(5, 5), MakePoint2D(6, 4)});
    using Make = std::function<std::unique_ptr<TPrimitive2D>()>;
    const Make toRectangle = [] { return std::make_unique<TRectangle2D>(10, MakePoint2D(7, 7), MakePoint2D(8, 8)); };
    const Make toEllipse = [] { return std::make_unique<TFilledEllipse2D>(10, MakePoint2D(7, 7), MakePoint2D(8, 8)); };
    const Make toCircle = [] { return std::make_unique<TFilledCerchio2D>(10, MakePoint2D(7, 7), MakePoint2D(8, 8)); };
    const Make toPolyline = [] { return std::make_unique<TPolyline2D>(10, std::vector<TPoint2D>{MakePoint2D(7, 7)}); };
    const Make toPolygon = [] { return std::make_unique<TPolygon2D>(10, std::vector<TPoint2D>{}); };
    const Make toPoint = [] { return std::make_unique<TPunto2D>(10, MakePoint2D(5, 5)); };
    const Make toLine = [] { return std::make_unique<TLine2D>(10, MakePoint2D(2, 2), MakePoint2D(3, 3)); };
    struct Case {
        Make target;
        const TPrimitive2D& source;
        int taken;  // the source's first points taken; 0 when refused
    };
    const Case cases[] = {
        {toRectangle, frame, 2},  {toRectangle, ellipse, 2}, {toRectangle, arc, 0}, {toEllipse, frame, 2},
        {toEllipse, arc, 2},      {toEllipse, circle, 0},    {toCircle, frame, 2},  {toCircle, arc, 2},
        {toCircle, circle, 2},    {toCircle, ellipse, 2},    {toCircle, spline, 0}, {toPolyline, line, 2},
        {toPolyline, polygon, 3}, {toPolygon, polyline, 3},  {toPoint, line, 0},    {toLine, polygon, 0},
    };
    for (const Case& c : cases) {
        std::unique_ptr<TPrimitive2D> target = c.target();
        SCOPED_TRACE(std::string(target->ClassName()) + " from " + std::string(c.source.ClassName()));
        const std::vector<TPoint2D> own = PointsOf(*target), theirs = PointsOf(c.source);
        const bool growable = target->Points().Growable();
        target->Assign(c.source);
        EXPECT_EQ(PointsOf(*target),
                  c.taken == 0 ? own : std::vector<TPoint2D>(theirs.begin(), theirs.begin() + c.taken));
        EXPECT_EQ(target->Points().Growable(), growable);
    }
    // The box follows the points and the matrix taken over.
    TPunto2D point(11, MakePoint2D(5, 5));
    point.Assign(line);
    EXPECT_EQ(point.Box(), MakeRect2D(15, 5, 15, 5));
    TPolyline2D emptied(12, std::vector<TPoint2D>{MakePoint2D(7, 7)});
    emptied.Assign(TPolygon2D(13, std::vector<TPoint2D>{}));
    EXPECT_EQ(emptied.Points().Count(), 0);
    EXPECT_EQ(emptied.Box(), MakeRect2D(0, 0, 0, 0));
    TCerchio2D refused(14, MakePoint2D(0, 0), MakePoint2D(1, 0));
    refused.Assign(spline);
    EXPECT_EQ(refused.GetNPts(), 51);
}


// A source block holding one line from (0, 0) to (10, 0) and one circle of
// radius 1 round (5, 5).
std::unique_ptr<TSourceBlock2D> MakeSource(std::string_view name, std::int32_t id = 1) {
    auto source = std::make_unique<TSourceBlock2D>(id, MakeBlockName(name));
    source->Objects().Add(std::make_unique<TLine2D>(100, MakePoint2D(0, 0), MakePoint2D(10, 0)));
    source->Objects().Add(std::make_unique<TCerchio2D>(101, MakePoint2D(5, 5), MakePoint2D(6, 5)));
    source->RecalcBox();
    return source;
}

TSourceBlock2D& AddSource(TGraphicObjList& list, std::unique_ptr<TSourceBlock2D> source) {
    return static_cast<TSourceBlock2D&>(*list.Add(std::move(source)));
}

// Links the instance to the first source of `list` with its name.
void Link(TGraphicObjList& list, TBlock2D& instance) {
    auto blocks = list.GetIterator();
    instance.UpdateReference(*blocks);
}

class BlockTest : public EntityTest {};

// A container names its nearest child; an instance its insertion point or,
// through its matrix, what its source picks.
TEST_F(BlockTest, PicksNameTheNearestChildThroughEveryMatrix) {
    auto source = MakeSource("S"), moved = MakeSource("M");
    moved->SetObjectMatrix(TranslationMatrix2D(0, 100));
    TBlock2D block(1, *source, MakePoint2D(0, 0)), disabled(2, *source, MakePoint2D(0, 0));
    block.SetObjectMatrix(TranslationMatrix2D(20, 0));
    disabled.SetObjectMatrix(TranslationMatrix2D(20, 0));
    disabled.SetEnabled(false);
    struct Case {
        const char* what;
        TObject2D& object;
        TPoint2D at;
        int expected;
        double distance;  // negative: not checked
    };
    const Case cases[] = {
        {"near the line", *source, MakePoint2D(3, 0.2), 100, 0.2},
        {"near the circle", *source, MakePoint2D(5, 5.9), 101, -1},
        {"near nothing: the box, with the starting best", *source, MakePoint2D(2, 3), kHitNearBox, 1.0},
        {"through the container's matrix", *moved, MakePoint2D(3, 100.1), 100, -1},
        {"where the container was", *moved, MakePoint2D(3, 0.1), kHitMiss, -1},
        {"the insertion point", block, MakePoint2D(20.1, 0.3), kHitOutline, std::sqrt(0.1)},
        {"the source's line", block, MakePoint2D(23, 0.2), 100, 0.2},
        {"where the source is", block, MakePoint2D(3, 0.2), kHitMiss, -1},
        {"a disabled instance", disabled, MakePoint2D(23, 0.2), kHitMiss, -1},
    };
    for (const Case& c : cases) {
        double distance = 0;
        EXPECT_EQ(c.object.HitTest(c.at, distance, 0.5), c.expected) << c.what;
        if (c.distance >= 0) {
            EXPECT_NEAR(distance, c.distance, 1e-12) << c.what;
        }
    }
}

TEST_F(BlockTest, LoadedInstancesCountOnceLinked) {
    TGraphicObjList sources;
    TSourceBlock2D& door = AddSource(sources, MakeSource("DOOR", 1));
    TSourceBlock2D& window = AddSource(sources, MakeSource("WINDOW", 2));
    TBlock2D made(5, door, MakePoint2D(0, 0));
    made.SetObjectMatrix(TranslationMatrix2D(50, 0));

    auto loaded = ReadRecord<TBlock2D>(RecordOf(made));
    EXPECT_EQ(loaded->SourceBlock(), nullptr);
    double distance = 0;
    EXPECT_EQ(loaded->HitTest(MakePoint2D(53, 0), distance, 1.0), kHitMiss) << "unlinked instances pick nothing";
    EXPECT_EQ(door.ReferenceCount(), 1u);
    Link(sources, *loaded);
    EXPECT_EQ(loaded->SourceBlock(), &door);
    EXPECT_EQ(door.ReferenceCount(), 2u);
    EXPECT_EQ(window.ReferenceCount(), 0u);
    EXPECT_NEAR(loaded->Box().Left, 50, 1e-12);
    Link(sources, *loaded);
    EXPECT_EQ(door.ReferenceCount(), 2u) << "linking again to the same source counts nothing twice";

    // The referenced source is refused before anything changes.
    EXPECT_THAT([&] { sources.Delete(1); },
                ThrowsMessage<ECADSourceBlockIsReferenced>(
                    StrEq("TSourceBlock2D.Destroy: This source block is referenced and cannot be deleted")));
    EXPECT_EQ(sources.Count(), 2);
    EXPECT_EQ(loaded->SourceBlock(), &door);
    loaded.reset();
    EXPECT_EQ(door.ReferenceCount(), 1u);
}

TEST_F(BlockTest, AListFreesAChainOfBlocksInPasses) {
    auto sources = std::make_unique<TGraphicObjList>();
    TSourceBlock2D& a = AddSource(*sources, MakeSource("A", 1));
    TSourceBlock2D& b = AddSource(*sources, MakeSource("B", 2));
    b.Objects().Add(std::make_unique<TBlock2D>(20, a, MakePoint2D(0, 0)));
    AddSource(*sources, MakeSource("C", 3)).Objects().Add(std::make_unique<TBlock2D>(21, b, MakePoint2D(0, 0)));
    // A is first in the list but referenced: it goes in a later pass.
    EXPECT_NO_THROW(sources->Clear());
    EXPECT_EQ(sources->Count(), 0);

    // Two blocks that hold instances of each other refuse to be cleared, and
    // still free cleanly when their list goes.
    TSourceBlock2D& x = AddSource(*sources, MakeSource("X", 4));
    TSourceBlock2D& y = AddSource(*sources, MakeSource("Y", 5));
    x.Objects().Add(std::make_unique<TBlock2D>(30, y, MakePoint2D(0, 0)));
    y.Objects().Add(std::make_unique<TBlock2D>(31, x, MakePoint2D(0, 0)));
    EXPECT_THROW(sources->Clear(), ECADSourceBlockIsReferenced);
    EXPECT_EQ(sources->Count(), 2);
    // A cycle neither draws nor picks for ever.
    double distance = 0;
    TBlock2D instance(32, x, MakePoint2D(0, 0));
    EXPECT_NO_THROW(instance.HitTest(MakePoint2D(3, 0.1), distance, 0.5));
    sources.reset();
    EXPECT_EQ(instance.SourceBlock(), nullptr) << "cut loose when its source went";
}


std::vector<TPoint2D> ProfileOf(TCurve2D& curve) {
    const ProfileUse use(curve);
    const auto points = curve.GetProfilePoints().Points();
    return {points.begin(), points.end()};
}

// A closed conic runs clockwise from its rightmost point, in 50 segments, back
// to where it started.
TEST(CurveLinearisation, ConicsRunClockwiseAndCloseOnTheirFirstPoint) {
    TCerchio2D circle(1, MakePoint2D(10, 20), MakePoint2D(10, 25));
    TEllipse2D ellipse(2, MakePoint2D(4, 3), MakePoint2D(-4, -1));  // centre (0, 1), radii 4 and 2
    struct Case {
        TCurve2D& curve;
        TPoint2D first, halfWay;
    };
    const Case cases[] = {
        {circle, MakePoint2D(15, 20), MakePoint2D(5, 20)},
        {ellipse, MakePoint2D(4, 1), MakePoint2D(-4, 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.curve.ClassName()));
        const std::vector<TPoint2D> profile = ProfileOf(c.curve);
        ASSERT_EQ(profile.size(), 51u);
        EXPECT_EQ(profile.front(), c.first);
        EXPECT_EQ(profile.back(), c.first);
        EXPECT_POINT_NEAR(profile[25], c.halfWay.X, c.halfWay.Y, 1e-12);
        EXPECT_LT(profile[1].Y, c.first.Y) << "clockwise";
        EXPECT_TRUE(c.curve.IsClosed());
    }
    EXPECT_NEAR(circle.Box().Left, 5, 1e-12);
    EXPECT_NEAR(circle.Box().Top, 25, 1e-2);  // the profile's box, not the circle's
}

TEST(CurveLinearisation, BSplineOrdersFromRecordsAreChecked) {
    const auto record = [](int points, std::uint8_t order) {
        RecordBytes r;
        r.Header(1).Identity().U16(static_cast<std::uint16_t>(points));
        for (int i = 0; i < points; ++i) r.Point(i, i * i);
        return r.U8(1).U16(50).U8(1).U8(order).str();
    };
    EXPECT_THROW(ReadRecord<TBSpline2D>(record(4, 0)), ECADFileNotValid);  // no basis at all
    EXPECT_THROW(ReadRecord<TBSpline2D>(record(4, 5)), ECADFileNotValid);
    EXPECT_THROW(ReadRecord<TBSpline2D>(record(2, 4)), ECADFileNotValid);
    // The program's own splines of order 3 with fewer points still load, as
    // their control polygon.
    auto small = ReadRecord<TBSpline2D>(record(2, 3));
    small->RecalcBox();
    EXPECT_EQ(ProfileOf(*small), (std::vector<TPoint2D>{MakePoint2D(0, 0), MakePoint2D(1, 1)}));
    auto order4 = ReadRecord<TBSpline2D>(record(4, 4));
    order4->RecalcBox();
    EXPECT_EQ(order4->Order(), 4);
    const std::vector<TPoint2D> profile = ProfileOf(*order4);
    ASSERT_EQ(profile.size(), 51u);
    EXPECT_POINT_NEAR(profile.front(), 0, 0, 1e-12);
    EXPECT_EQ(profile.back(), MakePoint2D(3, 9));
    EXPECT_NE(profile[25], MakePoint2D(0, 0));
}

// A kept profile lives from box update to destruction; an unkept one only
// within the brackets of its readers.
TEST(CurveProfileCache, AProfileIsKeptOrLivesOnlyWithinItsBrackets) {
    TCerchio2D circle(1, MakePoint2D(0, 0), MakePoint2D(1, 0));
    EXPECT_EQ(circle.KeepProfile(), 1);
    EXPECT_EQ(circle.ProfileUseCount(), 1);
    EXPECT_EQ(circle.GetNPts(), 51);  // no bracket needed
    circle.Points().SetPoint(1, MakePoint2D(2, 0));
    EXPECT_EQ(circle.ProfileUseCount(), 1);
    EXPECT_EQ(circle.GetProfilePoints().Get(0), MakePoint2D(2, 0));
    {
        const ProfileUse use(circle);
        EXPECT_EQ(circle.ProfileUseCount(), 1);
    }
    EXPECT_TRUE(circle.HasProfilePoints());

    circle.Points().SetPoint(1, MakePoint2D(1, 0));
    circle.SetKeepProfile(0);
    EXPECT_FALSE(circle.HasProfilePoints());  // the kept one is dropped
    EXPECT_EQ(circle.ProfileUseCount(), 0);
    EXPECT_THAT([&] { circle.GetProfilePoints(); },
                testing::ThrowsMessage<ECADCoreException>(
                    testing::StrEq("TCurve2D: Call BeginUseProfilePoints before accessing the curve points.")));
    EXPECT_THROW(circle.GetNPts(), ECADCoreException);
    EXPECT_EQ(circle.Box().Left, -1.0) << "the box is kept without the profile";
    EXPECT_EQ(circle.Box().Right, 1.0);

    circle.BeginUseProfilePoints();
    circle.BeginUseProfilePoints();
    EXPECT_EQ(circle.ProfileUseCount(), 2);
    EXPECT_EQ(circle.GetNPts(), 51);
    circle.Points().SetPoint(1, MakePoint2D(3, 0));  // a box update inside the bracket keeps it
    EXPECT_EQ(circle.ProfileUseCount(), 2);
    EXPECT_EQ(circle.GetProfilePoints().Get(0), MakePoint2D(3, 0));
    circle.EndUseProfilePoints();
    EXPECT_TRUE(circle.HasProfilePoints());
    circle.EndUseProfilePoints();
    EXPECT_FALSE(circle.HasProfilePoints());
    EXPECT_EQ(circle.ProfileUseCount(), 0);

    EXPECT_TRUE(circle.IsClosed());  // brackets itself
    EXPECT_FALSE(circle.HasProfilePoints());
    circle.SetKeepProfile(1);
    EXPECT_EQ(circle.ProfileUseCount(), 1);
}


class EntityRecordTest : public EntityTest {};

struct RecordCase {
    std::function<std::unique_ptr<TObject2D>()> make;
    std::string expected;
};

// One object of every class and its record. Open ellipses and clockwise arcs
// only come from records; the block is an instance of `door`.
std::vector<RecordCase> RecordCases(TSourceBlock2D& door) {
    const TPoint2D p1 = MakePoint2D(1.5, -2.0), p2 = MakePoint2D(3.0, 4.25);
    const std::vector<TPoint2D> three = {MakePoint2D(0, 0), MakePoint2D(1, 0), TPoint2D{4, 2, 2}};
    const auto two = [](std::int32_t id) {
        return RecordBytes().Header(id).Identity().U16(2).Point(1.5, -2).Point(3, 4.25);
    };
    const auto threePoints = [](std::int32_t id) {
        return RecordBytes().Header(id).Identity().U16(3).Point(0, 0).Point(1, 0).Point(4, 2, 2);
    };
    const std::string curveTail = RecordBytes().U8(0).U16(50).U8(1);
    const std::string point = RecordBytes().Header(21).Identity().U16(1).Point(1, 2).U8(0);
    RecordBytes sourceRecord;
    sourceRecord.Header(4).Identity().I32(1).U16(EntityClassIndex::Point).Raw(point).U8(1).U8(1).Fixed("DOOR", 13);
    const std::string open =
        ArcRecord({MakePoint2D(-4, -2), MakePoint2D(4, 2), MakePoint2D(4, 0), TPoint2D{0, 4, 2}}, 0, 12, 0, -5);
    const std::string clockwise =
        ArcRecord({MakePoint2D(0, 0), MakePoint2D(1, 0), MakePoint2D(1, 0), MakePoint2D(0, -1)}, 0);
    const auto pointInside = [=](TContainer2D& c) {
        c.Objects().Add(std::make_unique<TPunto2D>(21, MakePoint2D(1, 2)));
    };
    return {
        {[=] { return std::make_unique<TPunto2D>(5, p1); },
         RecordBytes().Header(5).Identity().U16(1).Point(1.5, -2).U8(0)},
        {[=] { return std::make_unique<TLine2D>(-7, p1, p2); }, two(-7).U8(0)},
        {[=] { return std::make_unique<TPolyline2D>(9, three); }, threePoints(9).U8(1)},
        {[=] { return std::make_unique<TPolygon2D>(10, three); }, threePoints(10).U8(1)},
        {[=] { return std::make_unique<TFrame2D>(11, p1, p2); }, two(11).Raw(curveTail)},
        {[=] { return std::make_unique<TRectangle2D>(12, p1, p2); }, two(12).Raw(curveTail)},
        {[=] { return std::make_unique<TEllipse2D>(13, p1, p2); }, two(13).Raw(curveTail)},
        {[=] { return std::make_unique<TFilledEllipse2D>(14, p1, p2); }, two(14).Raw(curveTail)},
        {[=] { return std::make_unique<TCerchio2D>(15, p1, p2); }, two(15).Raw(curveTail)},
        {[=] { return std::make_unique<TFilledCerchio2D>(16, p1, p2); }, two(16).Raw(curveTail)},
        {[] { return std::make_unique<TArco2D>(17, MakePoint2D(0, 0), MakePoint2D(2, 0), 0.0, kPi / 2); },
         ArcRecord({MakePoint2D(0, 0), MakePoint2D(2, 0), MakePoint2D(2, 0), MakePoint2D(2 * std::cos(kPi / 2), 2)}, 1,
                   50, 1, 17)},
        {[=] { return ReadRecord<TArco2D>(clockwise); }, clockwise},
        {[=] { return ReadRecord<TEllipseOpen2D>(open); }, open},
        {[=] { return std::make_unique<TBSpline2D>(18, three); }, threePoints(18).U8(1).U16(50).U8(1).U8(3)},
        {[=] {
             auto source = std::make_unique<TSourceBlock2D>(4, MakeBlockName("DOOR"));
             pointInside(*source);
             source->SetFromLibrary(true);
             return source;
         },
         sourceRecord},
        {[&door] {
             return std::make_unique<TBlock2D>(8, door, TPoint2D{1, 2, 1});
         },
         RecordBytes().Header(8).Identity().Fixed("DOOR", 13).Point(1, 2)},
        {[=] {
             auto container = std::make_unique<TContainer2D>(30);
             pointInside(*container);
             return container;
         },
         RecordBytes().Header(30).Identity().I32(1).U16(EntityClassIndex::Point).Raw(point)},
    };
}

TEST_F(EntityRecordTest, EveryClassWritesItsRecordByteForByteAndReadsItBack) {
    TSourceBlock2D door(1, MakeBlockName("DOOR"));
    for (const RecordCase& c : RecordCases(door)) {
        std::unique_ptr<TObject2D> object = c.make();
        SCOPED_TRACE(std::string(object->ClassName()));
        EXPECT_BYTES_EQ(RecordOf(*object), c.expected);
        std::unique_ptr<TObject2D> back = RoundTrip(*object);
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->ClassName(), object->ClassName());
        EXPECT_BYTES_EQ(RecordOf(*back), c.expected);
    }
}

TEST_F(EntityRecordTest, RecordsCutShortOrCountingMoreThanTheyHoldAreRefused) {
    const std::string full = RecordBytes().Header(1).Identity().U16(2).Point(0, 0).Point(1, 1).U8(0).U16(50).U8(1);
    for (std::size_t size = 0; size < full.size(); ++size) {
        EXPECT_THROW(ReadRecord<TFrame2D>(full.substr(0, size)), ECADFileNotValid) << size;
    }
    // Counts larger than the bytes that follow are refused before anything is
    // allocated for them; an unknown class inside stops with the registry's refusal.
    EXPECT_THROW(ReadRecord<TPolyline2D>(RecordBytes().Header(1).Identity().U16(60000).Point(0, 0).U8(1)),
                 ECADFileNotValid);
    EXPECT_THROW(ReadRecord<TContainer2D>(RecordBytes().Header(0).Identity().I32(-1)), ECADFileNotValid);
    EXPECT_THROW(ReadRecord<TContainer2D>(RecordBytes().Header(0).Identity().I32(1000000)), ECADFileNotValid);
    EXPECT_THROW(
        ReadRecord<TContainer2D>(RecordBytes().Header(0).Identity().I32(1).U16(500).Raw(std::string(80, '\0'))),
        ECADObjClassNotFound);
}

TEST_F(EntityRecordTest, ContainersNestedTooDeeplyAreRefused) {
    // Each level holds the next one: a crafted record must not exhaust the stack.
    const auto nested = [](int depth) {
        std::string inner = RecordBytes().Header(0).Identity().I32(0);
        for (int level = 1; level < depth; ++level) {
            inner = RecordBytes().Header(level).Identity().I32(1).U16(EntityClassIndex::Container).Raw(inner);
        }
        return inner;
    };
    EXPECT_NO_THROW(ReadRecord<TContainer2D>(nested(TContainer2D::MaxNestingDepth)));
    EXPECT_THROW(ReadRecord<TContainer2D>(nested(TContainer2D::MaxNestingDepth + 1)), ECADFileNotValid);
    EXPECT_THROW(ReadRecord<TContainer2D>(nested(1000)), ECADFileNotValid);
    // The depth is counted back after a refusal: the next read starts afresh.
    EXPECT_NO_THROW(ReadRecord<TContainer2D>(nested(3)));
}


// World units are pixels here, so that the recorded calls read directly.
const TMatrix2D kPixels = IdentityMatrix2D;
const TRect2D kWholeScreen = MakeRect2D(0, 0, 640, 480);

struct EntityDrawing : EntityTest {
    RecordingCanvas target;
    TDecorativeCanvas canvas{target};

    std::vector<CanvasCall> Calls(CanvasOp op) const { return target.CallsOf(op); }
};

TEST_F(EntityDrawing, FilledShapesFillAndOutlinesDoNot) {
    TPolygon2D polygon(1, std::vector<TPoint2D>{MakePoint2D(10, 10), MakePoint2D(50, 10), MakePoint2D(10, 50)});
    TRectangle2D rectangle(2, MakePoint2D(10, 10), MakePoint2D(50, 50));
    TFrame2D frame(3, MakePoint2D(10, 10), MakePoint2D(50, 50));
    TFilledCerchio2D disc(4, MakePoint2D(100, 100), MakePoint2D(110, 100));
    TArco2D arc(5, MakePoint2D(100, 100), MakePoint2D(110, 100), 0, 1);
    TCerchio2D unkept(6, MakePoint2D(100, 100), MakePoint2D(110, 100));
    unkept.SetKeepProfile(0);  // built for the drawing only
    struct Case {
        TObject2D& object;
        CanvasOp op;
        std::size_t points;
    };
    const Case cases[] = {
        {polygon, CanvasOp::Polygon, 3}, {rectangle, CanvasOp::Polygon, 5}, {frame, CanvasOp::Polyline, 5},
        {disc, CanvasOp::Polygon, 51},   {arc, CanvasOp::Polyline, 51},     {unkept, CanvasOp::Polyline, 51},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.object.ClassName()));
        target.ClearCalls();
        c.object.Draw(kPixels, canvas, 0, kWholeScreen);
        const std::vector<CanvasCall> calls = Calls(c.op);
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].Points.size(), c.points);
        EXPECT_TRUE(Calls(c.op == CanvasOp::Polygon ? CanvasOp::Polyline : CanvasOp::Polygon).empty());
    }
    EXPECT_EQ(Calls(CanvasOp::Polyline)[0].Points.front(), (TPixelPoint{110, 100}));
    EXPECT_FALSE(unkept.HasProfilePoints());
    EXPECT_EQ(unkept.ProfileUseCount(), 0);
}

TEST(ExtendedFont, RecordIsSixtyBytesWithTheSmallFontFace) {
    TExtendedFont font;
    BinaryWriter writer;
    font.SaveToStream(writer);
    RecordBytes expected;
    expected.I32(-11).I32(0).I32(0).I32(0).I32(400);           // height, width, escapement, orientation, weight
    expected.U8(0).U8(0).U8(0).U8(1).U8(0).U8(0).U8(0).U8(0);  // italic .. pitch and family; the character set 1
    EXPECT_BYTES_EQ(writer.bytes(), expected.Fixed("Small Font", 32).str());
    // The height is kept as an unsigned 16-bit value.
    font.SetHeight(-12);
    EXPECT_EQ(font.LogFont().Height, 65524);
    font.SetHeight(70000);
    EXPECT_EQ(font.LogFont().Height, 70000 - 65536);

    TExtendedFont copy;
    BinaryReader reader(writer.bytes());
    copy.LoadFromStream(reader);
    copy.Assign(font);
    EXPECT_EQ(copy.LogFont(), font.LogFont());
    copy.Assign(copy);
    EXPECT_EQ(copy.LogFont(), font.LogFont());
}


// Edits accumulate in the temporary stage; writing freezes it into the stored
// matrix, after which edits apply after it.
TEST(Object2DTransform, EditsComposeInOrderAndWritingFreezesThem) {
    TLine2D line(1, MakePoint2D(1, 0), MakePoint2D(2, 0));
    line.SetObjectMatrix(IdentityMatrix2D);
    EXPECT_FALSE(line.TempMatrix().has_value()) << "an identity is never kept";
    EXPECT_FALSE(line.HasTransform());
    int changes = 0;
    line.SetOnChange([&](TGraphicObject&) { ++changes; });
    line.ApplyTransform(RotationMatrix2D(kPi / 2));  // first a quarter turn...
    line.ApplyTransform(TranslationMatrix2D(5, 6));  // ...then a shift
    EXPECT_EQ(changes, 2);
    EXPECT_POINT_NEAR(PointTimesMatrix2D(MakePoint2D(1, 0), line.GetObjectMatrix()), 5, 7, 1e-12);
    EXPECT_NEAR(line.Box().Left, 5, 1e-12);
    EXPECT_NEAR(line.Box().Bottom, 7, 1e-12);
    EXPECT_NEAR(line.Box().Top, 8, 1e-12);
    ASSERT_TRUE(line.TempMatrix().has_value());
    EXPECT_FALSE(line.ModelMatrix().has_value());

    const TMatrix2D combined = MultiplyMatrix2D(RotationMatrix2D(kPi / 2), TranslationMatrix2D(5, 6));
    const std::string record = RecordOf(line);
    EXPECT_BYTES_EQ(record.substr(6, 72), RecordBytes().Matrix(combined).str());
    EXPECT_FALSE(line.TempMatrix().has_value());
    ASSERT_TRUE(line.ModelMatrix().has_value());
    EXPECT_EQ(*line.ModelMatrix(), combined);
    EXPECT_TRUE(line.HasTransform());
    EXPECT_BYTES_EQ(RecordOf(line), record);  // writing the frozen object again changes nothing
    line.ApplyTransform(ScalingMatrix2D(2, 2));
    EXPECT_EQ(line.GetObjectMatrix(), MultiplyMatrix2D(combined, ScalingMatrix2D(2, 2)));
    EXPECT_POINT_NEAR(PointTimesMatrix2D(MakePoint2D(1, 0), line.GetObjectMatrix()), 10, 14, 1e-12);
    line.ClearTransforms();
    EXPECT_FALSE(line.HasTransform());
    EXPECT_EQ(line.Box(), MakeRect2D(1, 0, 2, 0));

    // Read back, the matrix is the stored one and nothing is pending; a stored
    // identity is no transform at all.
    auto back = ReadRecord<TLine2D>(record);
    ASSERT_TRUE(back->ModelMatrix().has_value());
    EXPECT_EQ(*back->ModelMatrix(), combined);
    EXPECT_FALSE(back->TempMatrix().has_value());
    auto plain = ReadRecord<TLine2D>(RecordBytes().Header(1).Identity().U16(2).Point(0, 0).Point(1, 1).U8(0));
    EXPECT_FALSE(plain->HasTransform());
    EXPECT_FALSE(plain->Points().Growable());
}

// Control points win over the outline, the outline refines the box, and a
// disabled object is never hit.
TEST(Object2DPick, CodesAndDistances) {
    TLine2D line(1, MakePoint2D(0, 0), MakePoint2D(10, 0));
    TLine2D disabled(2, MakePoint2D(0, 0), MakePoint2D(10, 0));
    disabled.SetEnabled(false);
    TLine2D shortLine(3, MakePoint2D(-1, 0), MakePoint2D(1, 0));
    TLine2D moved(4, MakePoint2D(0, 0), MakePoint2D(1, 0));
    moved.SetObjectMatrix(TranslationMatrix2D(100, 0));
    TPunto2D point(5, MakePoint2D(0, 0));
    // Three points of a right angle; the polygon closes them along the diagonal.
    const std::vector<TPoint2D> ell = {MakePoint2D(0, 0), MakePoint2D(10, 0), MakePoint2D(10, 10)};
    TPolyline2D polyline(6, ell);
    TPolygon2D polygon(7, ell);
    TPolyline2D empty(8, std::vector<TPoint2D>{});
    struct Case {
        const char* what;
        TObject2D& object;
        TPoint2D at;
        double aperture;
        int expected;
        double distance;
    };
    const Case cases[] = {
        {"far away", line, MakePoint2D(20, 20), 1, kHitMiss, kNoDistance},
        {"just outside the grown box", line, MakePoint2D(5, 1.0001), 1, kHitMiss, kNoDistance},
        {"on the grown box's edge", line, MakePoint2D(5, 1), 1, kHitOutline, 1},
        {"on the segment", line, MakePoint2D(5, 0.25), 1, kHitOutline, 0.25},
        {"in the box past the end", line, MakePoint2D(10.9, 0.9), 1, kHitNearBox, 1},
        {"at the start", line, MakePoint2D(0.5, 0), 1, 0, 0.5},
        {"at the end", line, MakePoint2D(10, -0.5), 1, 1, 0.5},
        {"disabled", disabled, MakePoint2D(0, 0), 1, kHitMiss, kNoDistance},
        {"equally near: the later index", shortLine, MakePoint2D(0, 0.5), 2, 1, std::sqrt(1.25)},
        {"through the matrix", moved, MakePoint2D(101, 0.1), 0.5, 1, 0.1},
        {"where it was before the matrix", moved, MakePoint2D(1, 0), 0.5, kHitMiss, kNoDistance},
        {"a lone point has no outline", point, MakePoint2D(0.9, 0.9), 1, kHitNearBox, 1},
        {"a lone point", point, MakePoint2D(0.3, 0.4), 1, 0, 0.5},
        {"polyline on its first leg", polyline, MakePoint2D(5, 0.3), 1, kHitOutline, 0.3},
        {"polyline on its second leg", polyline, MakePoint2D(9.6, 5), 1, kHitOutline, 0.4},
        {"polyline where it would close", polyline, MakePoint2D(5.2, 5), 1, kHitNearBox, 1},
        {"polygon on its closing edge", polygon, MakePoint2D(5.2, 5), 1, kHitOutline, 0.2 / std::sqrt(2.0)},
        {"polygon inside", polygon, MakePoint2D(7, 3), 1, kHitInside, 1},
        {"polygon outside, in its box", polygon, MakePoint2D(2, 6), 1, kHitNearBox, 1},
        {"polygon at a corner", polygon, MakePoint2D(10, 10.5), 1, 2, 0.5},
        {"empty polyline: only its box", empty, MakePoint2D(0.5, 0), 1, kHitNearBox, 1},
    };
    for (const Case& c : cases) {
        double distance = -1;
        EXPECT_EQ(c.object.HitTest(c.at, distance, c.aperture), c.expected) << c.what;
        EXPECT_NEAR(distance, c.distance, 1e-12) << c.what;
    }
    EXPECT_EQ(empty.Box(), MakeRect2D(0, 0, 0, 0));
}

}  // namespace

// The entities: which classes take the points of which, reference counts of
// block instances and freeing chains of blocks, the linearisation of curves
// and its cache, every class's record byte for byte with the records refused,
// and the two-stage transform frozen on write.
//
// A block instance is picked by its source in the source's own units: an
// instance scaled up is a hit near a member line even where its box, grown
// by the aperture in world units, is missed.
//
// Primitives read from a stream carry no control-point handler: picked near a
// control point they answer as their outline does, and they draw no control
// squares, while the same primitive made in the drawing shows and picks them.
#include "kernel/draw/DecorativeCanvas.h"
#include "kernel/draw/RecordingCanvas.h"
#include "kernel/entities/QV2D_Entities.h"
#include "kernel/geometry/Picking.h"
#include "kernel/model/GraphicObjList.h"
#include "tests/support/Drawings.h"

#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <string>
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
    EXPECT_EQ(circle.GetNPts(), 51);  // kept: no bracket needed
    circle.Points().SetPoint(1, MakePoint2D(2, 0));
    EXPECT_EQ(circle.GetProfilePoints().Get(0), MakePoint2D(2, 0)) << "remade with the box";

    circle.SetKeepProfile(0);
    EXPECT_FALSE(circle.HasProfilePoints());  // the kept one is dropped
    EXPECT_THAT([&] { circle.GetProfilePoints(); },
                testing::ThrowsMessage<ECADCoreException>(
                    testing::StrEq("TCurve2D: Call BeginUseProfilePoints before accessing the curve points.")));
    EXPECT_EQ(circle.Box().Right, 2.0) << "the box is kept without the profile";
    circle.BeginUseProfilePoints();
    circle.BeginUseProfilePoints();
    circle.Points().SetPoint(1, MakePoint2D(3, 0));  // a box update inside the bracket keeps it
    EXPECT_EQ(circle.GetProfilePoints().Get(0), MakePoint2D(3, 0));
    circle.EndUseProfilePoints();
    EXPECT_TRUE(circle.HasProfilePoints());
    circle.EndUseProfilePoints();
    EXPECT_FALSE(circle.HasProfilePoints());
    EXPECT_TRUE(circle.IsClosed());  // brackets itself
    EXPECT_FALSE(circle.HasProfilePoints());
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

// Edits accumulate in the temporary stage; writing freezes it into the stored
// matrix, after which edits apply after it.
TEST(Object2DTransform, EditsComposeInOrderAndWritingFreezesThem) {
    TLine2D line(1, MakePoint2D(1, 0), MakePoint2D(2, 0));
    line.SetObjectMatrix(IdentityMatrix2D);
    EXPECT_FALSE(line.HasTransform()) << "an identity is never kept";
    line.ApplyTransform(RotationMatrix2D(kPi / 2));  // first a quarter turn...
    line.ApplyTransform(TranslationMatrix2D(5, 6));  // ...then a shift
    EXPECT_POINT_NEAR(PointTimesMatrix2D(MakePoint2D(1, 0), line.GetObjectMatrix()), 5, 7, 1e-12);
    EXPECT_NEAR(line.Box().Top, 8, 1e-12);
    EXPECT_FALSE(line.ModelMatrix().has_value());

    const TMatrix2D combined = MultiplyMatrix2D(RotationMatrix2D(kPi / 2), TranslationMatrix2D(5, 6));
    const std::string record = RecordOf(line);
    EXPECT_BYTES_EQ(record.substr(6, 72), RecordBytes().Matrix(combined).str());
    EXPECT_FALSE(line.TempMatrix().has_value());
    EXPECT_EQ(line.ModelMatrix(), combined);
    EXPECT_BYTES_EQ(RecordOf(line), record);  // writing the frozen object again changes nothing
    line.ApplyTransform(ScalingMatrix2D(2, 2));
    EXPECT_POINT_NEAR(PointTimesMatrix2D(MakePoint2D(1, 0), line.GetObjectMatrix()), 10, 14, 1e-12);

    // Read back, the matrix is the stored one and nothing is pending.
    auto back = ReadRecord<TLine2D>(record);
    EXPECT_EQ(back->ModelMatrix(), combined);
    EXPECT_FALSE(back->TempMatrix().has_value());
}

struct ScaledBlockPick : EntityTest {};

TEST_F(ScaledBlockPick, TheSourceIsAskedWithThePointInItsOwnUnits) {
    // One member line from (0, 0) to (1, 0); the instance is ten times larger
    // and stands at (100, 0), so the line runs from (100, 0) to (110, 0).
    TSourceBlock2D source(1, MakeBlockName("Bar"));
    source.Objects().Add(std::make_unique<TLine2D>(7, MakePoint2D(0, 0), MakePoint2D(1, 0)));
    source.RecalcBox();
    const TMatrix2D tenTimes = MultiplyMatrix2D(ScalingMatrix2D(10, 10), TranslationMatrix2D(100, 0));
    TBlock2D block(2, source, MakePoint2D(0, 0)), disabled(3, source, MakePoint2D(0, 0));
    block.SetObjectMatrix(tenTimes);
    disabled.SetObjectMatrix(tenTimes);
    disabled.SetEnabled(false);
    // Read back, an instance has no source until the drawing links it.
    const std::unique_ptr<TBlock2D> unlinked = ReadRecord<TBlock2D>(RecordOf(block));
    struct Case {
        const char* what;
        TBlock2D& block;
        TPoint2D at;
        int expected;
        double distance;  // negative: not checked
    };
    const Case cases[] = {
        {"3 off the line, 0.3 in the source", block, MakePoint2D(105, 3), 7, -1},
        {"below the line", block, MakePoint2D(108, -4), 7, -1},
        {"beside the line's end", block, MakePoint2D(112, 2), 7, -1},
        {"near the corner of the source's grown box", block, MakePoint2D(119, 9), kHitNearBox, 2.0},
        {"beyond the source's grown box", block, MakePoint2D(105, 30), kHitMiss, -1},
        {"the insertion point", block, MakePoint2D(100.5, 0.5), kHitOutline, -1},
        {"a disabled instance", disabled, MakePoint2D(105, 3), kHitMiss, -1},
        {"an instance without a source", *unlinked, MakePoint2D(105, 3), kHitMiss, -1},
    };
    for (const Case& c : cases) {
        double distance = 0;
        EXPECT_EQ(c.block.HitTest(c.at, distance, 1.0), c.expected) << c.what;
        if (c.distance >= 0) {
            EXPECT_NEAR(distance, c.distance, 1e-12) << c.what;
        }
    }
}

struct StreamedPrimitive : EntityTest {};

// The pick result at the point, and how many control squares are drawn.
std::pair<int, std::size_t> PickAndSquares(TObject2D& object, const TPoint2D& point) {
    double distance = 0.0;
    const int hit = object.HitTest(point, distance, 0.5);
    RecordingCanvas target;
    TDecorativeCanvas canvas(target);
    object.DrawControlPoints(IdentityMatrix2D, canvas, 4);
    return {hit, target.CallsOf(CanvasOp::Rectangle).size()};
}

TEST_F(StreamedPrimitive, ShowsNoControlPointsAndIsPickedByItsOutline) {
    const std::vector<TPoint2D> zigzag = {MakePoint2D(0, 0), MakePoint2D(5, 5), MakePoint2D(10, 0)};
    struct Case {
        const char* name;
        std::function<std::unique_ptr<TObject2D>()> make;
        TPoint2D pick;  // near a control point on the outline
        int madeHit;    // that control point's index
        std::size_t madeSquares;
        int readHit;  // the outline's answer
    };
    const Case cases[] = {
        {"line near its end", [] { return std::make_unique<TLine2D>(1, MakePoint2D(0, 0), MakePoint2D(10, 0)); },
         MakePoint2D(9.9, 0.1), 1, 2, kHitOutline},
        // A single point has no segment to be near.
        {"point", [] { return std::make_unique<TPunto2D>(1, MakePoint2D(3, 4)); }, MakePoint2D(3.1, 4), 0, 1,
         kHitNearBox},
        {"polyline at its middle vertex", [&] { return std::make_unique<TPolyline2D>(1, zigzag); }, MakePoint2D(5, 4.9),
         1, 3, kHitOutline},
        {"circle at its rim point",
         [] { return std::make_unique<TCerchio2D>(1, MakePoint2D(0, 0), MakePoint2D(10, 0)); }, MakePoint2D(9.9, 0.1),
         1, 2, kHitOutline},
    };
    for (const Case& c : cases) {
        const std::unique_ptr<TObject2D> made = c.make();
        EXPECT_EQ(PickAndSquares(*made, c.pick), std::make_pair(c.madeHit, c.madeSquares)) << c.name;
        const std::unique_ptr<TObject2D> read = RoundTrip(*made);
        EXPECT_EQ(read->Handler(), nullptr) << c.name;
        EXPECT_EQ(PickAndSquares(*read, c.pick), std::make_pair(c.readHit, std::size_t{0})) << c.name;
        // A copy takes the handler of what it copies.
        const std::unique_ptr<TObject2D> copy = read->Clone();
        EXPECT_EQ(copy->Handler(), nullptr) << c.name;
    }
}

}  // namespace

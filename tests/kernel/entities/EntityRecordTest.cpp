// The stream records of every entity class, byte for byte against records
// assembled by hand, the class indices they are stored under, complete clones,
// and records that are corrupt, cut short or nested too deeply.
#include "tests/support/Drawings.h"

#include "kernel/entities/QV2D_Entities.h"
#include "kernel/model/CADCoreExceptions.h"

#include <functional>
#include <numbers>
#include <vector>

using namespace calvoro;
using namespace calvoro::test;

namespace {

constexpr double kPi = std::numbers::pi;

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

}  // namespace

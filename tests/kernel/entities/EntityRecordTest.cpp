// The stream records of every entity class, byte for byte against records
// assembled by hand, and the class indices they are stored under.
#include "tests/kernel/entities/EntityTestSupport.h"

#include "kernel/entities/QV2D_Entities.h"
#include "kernel/model/CADCoreExceptions.h"

#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

using namespace calvoro;
using namespace calvoro::test;

namespace {

constexpr double kPi = std::numbers::pi;

class EntityRecordTest : public EntityTest {};

TEST_F(EntityRecordTest, EachClassIsStoredUnderItsIndex) {
    const std::pair<std::string_view, unsigned> table[] = {
        {"TContainer2D", 0}, {"TSourceBlock2D", 1},   {"TBlock2D", 2},     {"TLine2D", 3},
        {"TPolyline2D", 4},  {"TPolygon2D", 5},       {"TRectangle2D", 6}, {"TEllipseOpen2D", 7},
        {"TEllipse2D", 8},   {"TFilledEllipse2D", 9}, {"TFrame2D", 11},    {"TBSpline2D", 13},
        {"TPunto2D", 15},    {"TCerchio2D", 16},      {"TArco2D", 17},     {"TFilledCerchio2D", 18},
    };
    for (const auto& [name, index] : table) {
        EXPECT_EQ(CADCoreFindClassIndex(name), index) << name;
        EXPECT_EQ(CADCoreFindClassByIndex(index).Name, name);
    }
    // Registering again gives the same table instead of a double registration.
    ClassRegistry registry;
    RegisterEntityClasses(registry);
    EXPECT_NO_THROW(RegisterEntityClasses(registry));
    EXPECT_EQ(registry.FindClassIndex("TArco2D"), 17);
}

struct RecordCase {
    const char* name;
    std::function<std::unique_ptr<TObject2D>()> make;
    std::string expected;
};

std::vector<RecordCase> RecordCases() {
    const TPoint2D p1 = MakePoint2D(1.5, -2.0), p2 = MakePoint2D(3.0, 4.25);
    const std::vector<TPoint2D> three = {MakePoint2D(0, 0), MakePoint2D(1, 0), TPoint2D{4, 2, 2}};
    const auto twoPoints = [&](RecordBytes r) { return r.U16(2).Point(1.5, -2.0).Point(3.0, 4.25); };
    const auto threePoints = [&](RecordBytes r) { return r.U16(3).Point(0, 0).Point(1, 0).Point(4, 2, 2); };
    std::vector<RecordCase> cases;
    cases.push_back({"point", [=] { return std::make_unique<TPunto2D>(5, p1); },
                     RecordBytes().Header(5).Identity().U16(1).Point(1.5, -2.0).U8(0)});
    cases.push_back({"line", [=] { return std::make_unique<TLine2D>(-7, p1, p2); },
                     twoPoints(RecordBytes().Header(-7).Identity()).U8(0)});
    cases.push_back({"polyline", [=] { return std::make_unique<TPolyline2D>(9, three); },
                     threePoints(RecordBytes().Header(9).Identity()).U8(1)});
    cases.push_back({"polygon", [=] { return std::make_unique<TPolygon2D>(10, three); },
                     threePoints(RecordBytes().Header(10).Identity()).U8(1)});
    cases.push_back({"frame", [=] { return std::make_unique<TFrame2D>(11, p1, p2); },
                     twoPoints(RecordBytes().Header(11).Identity()).U8(0).U16(50).U8(1)});
    cases.push_back({"rectangle", [=] { return std::make_unique<TRectangle2D>(12, p1, p2); },
                     twoPoints(RecordBytes().Header(12).Identity()).U8(0).U16(50).U8(1)});
    cases.push_back({"ellipse", [=] { return std::make_unique<TEllipse2D>(13, p1, p2); },
                     twoPoints(RecordBytes().Header(13).Identity()).U8(0).U16(50).U8(1)});
    cases.push_back({"filled ellipse", [=] { return std::make_unique<TFilledEllipse2D>(14, p1, p2); },
                     twoPoints(RecordBytes().Header(14).Identity()).U8(0).U16(50).U8(1)});
    cases.push_back({"circle", [=] { return std::make_unique<TCerchio2D>(15, p1, p2); },
                     twoPoints(RecordBytes().Header(15).Identity()).U8(0).U16(50).U8(1)});
    cases.push_back({"filled circle", [=] { return std::make_unique<TFilledCerchio2D>(16, p1, p2); },
                     twoPoints(RecordBytes().Header(16).Identity()).U8(0).U16(50).U8(1)});
    cases.push_back({"arc",
                     [] { return std::make_unique<TArco2D>(17, MakePoint2D(0, 0), MakePoint2D(2, 0), 0.0, kPi / 2); },
                     RecordBytes()
                         .Header(17)
                         .Identity()
                         .U16(4)
                         .Point(0, 0)
                         .Point(2, 0)
                         .Point(2, 0)
                         .Point(2 * std::cos(kPi / 2), 2)
                         .U8(0)
                         .U16(50)
                         .U8(1)
                         .U8(1)});
    cases.push_back({"b-spline", [=] { return std::make_unique<TBSpline2D>(18, three); },
                     threePoints(RecordBytes().Header(18).Identity()).U8(1).U16(50).U8(1).U8(3)});
    return cases;
}

TEST_F(EntityRecordTest, PrimitiveAndCurveRecordsMatchTheirLayout) {
    for (const RecordCase& c : RecordCases()) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<TObject2D> object = c.make();
        EXPECT_BYTES_EQ(RecordOf(*object), c.expected);
        // Read back and written again: the same bytes.
        std::unique_ptr<TObject2D> back = RoundTrip(*object);
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->ClassName(), object->ClassName());
        EXPECT_BYTES_EQ(RecordOf(*back), c.expected);
    }
}

TEST_F(EntityRecordTest, ArcRecordsWithoutAConstructorWriteBackWhatTheyRead) {
    // Open ellipses only come from records; a clockwise arc likewise.
    const std::string open =
        ArcRecord({MakePoint2D(-4, -2), MakePoint2D(4, 2), MakePoint2D(4, 0), TPoint2D{0, 4, 2}}, 0, 12, 0, -5);
    EXPECT_BYTES_EQ(RecordOf(*ReadRecord<TEllipseOpen2D>(open)), open);
    const std::string arc = ArcRecord({MakePoint2D(0, 0), MakePoint2D(1, 0), MakePoint2D(1, 0), MakePoint2D(0, -1)}, 0);
    EXPECT_BYTES_EQ(RecordOf(*ReadRecord<TArco2D>(arc)), arc);
}

TEST_F(EntityRecordTest, HeaderFlagsAndLayerAreStored) {
    TLine2D line(3, MakePoint2D(0, 0), MakePoint2D(1, 1));
    line.SetLayer(200);
    line.SetEnabled(false);
    line.SetMustSave(false);
    const std::string record = RecordOf(line);
    EXPECT_BYTES_EQ(record.substr(0, 6), RecordBytes().Header(3, 200, 1 | 4).str());
}

TEST_F(EntityRecordTest, WritingFreezesTheTransformIntoTheStoredMatrix) {
    TLine2D line(1, MakePoint2D(0, 0), MakePoint2D(1, 0));
    line.ApplyTransform(RotationMatrix2D(kPi / 2));
    line.ApplyTransform(TranslationMatrix2D(5, 6));
    const TMatrix2D combined = MultiplyMatrix2D(RotationMatrix2D(kPi / 2), TranslationMatrix2D(5, 6));
    ASSERT_TRUE(line.TempMatrix().has_value());
    EXPECT_FALSE(line.ModelMatrix().has_value());

    const std::string first = RecordOf(line);
    EXPECT_BYTES_EQ(first.substr(6, 72), RecordBytes().Matrix(combined).str());
    EXPECT_FALSE(line.TempMatrix().has_value());
    ASSERT_TRUE(line.ModelMatrix().has_value());
    EXPECT_EQ(*line.ModelMatrix(), combined);
    EXPECT_TRUE(line.HasTransform());
    // Writing the frozen object again changes nothing.
    EXPECT_BYTES_EQ(RecordOf(line), first);

    // Read back, the matrix is the stored one and nothing is pending.
    auto back = ReadRecord<TLine2D>(first);
    ASSERT_TRUE(back->ModelMatrix().has_value());
    EXPECT_EQ(*back->ModelMatrix(), combined);
    EXPECT_FALSE(back->TempMatrix().has_value());
}

TEST_F(EntityRecordTest, AnIdentityMatrixIsReadAsNoTransform) {
    auto line = ReadRecord<TLine2D>(RecordBytes().Header(1).Identity().U16(2).Point(0, 0).Point(1, 1).U8(0));
    EXPECT_FALSE(line->HasTransform());
    EXPECT_FALSE(line->Points().Growable());
    EXPECT_EQ(line->Points().Get(1), MakePoint2D(1, 1));
}

TEST_F(EntityRecordTest, ContainerAndBlockRecordsNestWithClassIndices) {
    TSourceBlock2D source(4, MakeBlockName("DOOR"));
    source.Objects().Add(std::make_unique<TPunto2D>(21, MakePoint2D(1, 2)));
    source.SetFromLibrary(true);
    const std::string point = RecordBytes().Header(21).Identity().U16(1).Point(1, 2).U8(0);
    EXPECT_BYTES_EQ(RecordOf(source), RecordBytes()
                                          .Header(4)
                                          .Identity()
                                          .I32(1)
                                          .U16(EntityClassIndex::Point)
                                          .Raw(point)
                                          .U8(1)
                                          .U8(1)
                                          .Fixed("DOOR", 13)
                                          .str());

    TBlock2D block(8, source, TPoint2D{1, 2, 1});
    EXPECT_BYTES_EQ(RecordOf(block), RecordBytes().Header(8).Identity().Fixed("DOOR", 13).Point(1, 2).str());

    TContainer2D container(30);
    container.Assign(source);
    EXPECT_BYTES_EQ(RecordOf(container),
                    RecordBytes().Header(30).Identity().I32(1).U16(EntityClassIndex::Point).Raw(point).str());
}

TEST_F(EntityRecordTest, NestedObjectsKeepTheirStoredIDs) {
    const std::string line = RecordBytes().Header(77, 5).Identity().U16(2).Point(0, 0).Point(2, 0).U8(0);
    auto container =
        ReadRecord<TContainer2D>(RecordBytes()
                                     .Header(1)
                                     .Identity()
                                     .I32(2)
                                     .U16(EntityClassIndex::Line)
                                     .Raw(line)
                                     .U16(EntityClassIndex::Line)
                                     .Raw(RecordBytes().Header(-3).Identity().U16(2).Point(0, 1).Point(0, 5).U8(0)));
    ASSERT_EQ(container->Objects().Count(), 2);
    auto iterator = container->Objects().GetIterator();
    EXPECT_EQ(iterator->First()->ID(), 77);
    EXPECT_EQ(iterator->First()->Layer(), 5);
    EXPECT_EQ(iterator->Next()->ID(), -3);
    // The container's box is the union of what it holds.
    EXPECT_EQ(container->Box(), MakeRect2D(0, 0, 2, 5));
}

TEST_F(EntityRecordTest, SourceBlockNamesKeepAllThirteenBytes) {
    const TBlockName full = MakeBlockName("THIRTEENCHARS");
    EXPECT_EQ(BlockNameText(full), "THIRTEENCHARS");
    EXPECT_EQ(BlockNameText(MakeBlockName("A LONGER NAME THAN FITS")), "A LONGER NAME");

    std::string raw = RecordBytes().Header(2).Identity().I32(0).U8(1).U8(0).str();
    raw += std::string("AB\0XYZ\0\0\0\0\0\0\0", 13);
    auto source = ReadRecord<TSourceBlock2D>(raw);
    EXPECT_EQ(BlockNameText(source->Name()), "AB");
    EXPECT_NE(source->Name(), MakeBlockName("AB"));  // the bytes after the zero count
    EXPECT_BYTES_EQ(RecordOf(*source).substr(raw.size() - 13), raw.substr(raw.size() - 13));
}

TEST_F(EntityRecordTest, SourceBlockOwnMustSaveByteWinsOverTheHeader) {
    auto source =
        ReadRecord<TSourceBlock2D>(RecordBytes().Header(2, 0, 3).Identity().I32(0).U8(0).U8(1).Fixed("X", 13));
    EXPECT_FALSE(source->MustSave());
    EXPECT_TRUE(source->FromLibrary());
}

TEST_F(EntityRecordTest, CurveBytesOutsideTheirRangeAreNormalised) {
    // KeepProfile 7 and Direction 2 are read as 1; SegmentCount 65535 is
    // capped so that its profile still fits a points set.
    auto arc = ReadRecord<TArco2D>(
        ArcRecord({MakePoint2D(0, 0), MakePoint2D(1, 0), MakePoint2D(1, 0), MakePoint2D(0, 1)}, 2, 65535, 7));
    EXPECT_EQ(arc->KeepProfile(), 1);
    EXPECT_EQ(arc->Direction(), 1);
    EXPECT_EQ(arc->SegmentCount(), TCurve2D::MaxSegmentCount);
    EXPECT_NO_THROW(arc->RecalcBox());
    const ProfileUse use(*arc);
    EXPECT_EQ(arc->GetNPts(), 65535);
}

TEST_F(EntityRecordTest, FixedSizeEntitiesRefuseTheWrongNumberOfPoints) {
    const auto withPoints = [](int count, std::function<void(RecordBytes&)> tail) {
        RecordBytes r;
        r.Header(1).Identity().U16(static_cast<std::uint16_t>(count));
        for (int i = 0; i < count; ++i) r.Point(i, i);
        r.U8(0);
        tail(r);
        return r.str();
    };
    const auto none = [](RecordBytes&) {};
    const auto curve = [](RecordBytes& r) { r.U16(50).U8(1); };
    const auto arc = [](RecordBytes& r) { r.U16(50).U8(1).U8(1); };
    EXPECT_THROW(ReadRecord<TPunto2D>(withPoints(0, none)), ECADFileNotValid);
    EXPECT_THROW(ReadRecord<TPunto2D>(withPoints(2, none)), ECADFileNotValid);
    EXPECT_THROW(ReadRecord<TLine2D>(withPoints(1, none)), ECADFileNotValid);
    EXPECT_THROW(ReadRecord<TLine2D>(withPoints(3, none)), ECADFileNotValid);
    EXPECT_THROW(ReadRecord<TFrame2D>(withPoints(1, curve)), ECADFileNotValid);
    EXPECT_THROW(ReadRecord<TEllipse2D>(withPoints(3, curve)), ECADFileNotValid);
    EXPECT_THROW(ReadRecord<TCerchio2D>(withPoints(0, curve)), ECADFileNotValid);
    EXPECT_THROW(ReadRecord<TArco2D>(withPoints(3, arc)), ECADFileNotValid);
    EXPECT_THROW(ReadRecord<TEllipseOpen2D>(withPoints(1, arc)), ECADFileNotValid);
    // Polylines take any number, none included.
    EXPECT_EQ(ReadRecord<TPolyline2D>(withPoints(0, none))->Points().Count(), 0);
    EXPECT_EQ(ReadRecord<TPolygon2D>(withPoints(7, none))->Points().Count(), 7);
}

TEST_F(EntityRecordTest, AnArcRecordWithoutEndPointsGetsBothEndsAtAngleZero) {
    // Such records were written when copies of arcs dropped their ends; they
    // were drawn as full circles, and still are.
    auto arc = ReadRecord<TArco2D>(
        RecordBytes().Header(1).Identity().U16(2).Point(1, 1).Point(3, 1).U8(0).U16(50).U8(1).U8(1));
    ASSERT_EQ(arc->Points().Count(), 4);
    EXPECT_EQ(arc->Points().Get(2), MakePoint2D(3, 1));
    EXPECT_EQ(arc->Points().Get(3), MakePoint2D(3, 1));
    EXPECT_FALSE(arc->Points().Growable());
    EXPECT_EQ(arc->StartAngle(), 0.0);
    EXPECT_EQ(arc->EndAngle(), 0.0);
    arc->SetStartAngle(kPi);  // the start point exists to be moved
    EXPECT_POINT_NEAR(arc->Points().Get(2), -1, 1, 1e-12);
}

TEST_F(EntityRecordTest, RecordsCutShortAreRefused) {
    const std::string full = RecordBytes().Header(1).Identity().U16(2).Point(0, 0).Point(1, 1).U8(0).U16(50).U8(1);
    for (std::size_t size = 0; size < full.size(); ++size) {
        EXPECT_THROW(ReadRecord<TFrame2D>(full.substr(0, size)), ECADFileNotValid) << size;
    }
    // A point count larger than the bytes that follow is refused before
    // anything is allocated for it.
    EXPECT_THROW(ReadRecord<TPolyline2D>(RecordBytes().Header(1).Identity().U16(60000).Point(0, 0).U8(1)),
                 ECADFileNotValid);
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

TEST_F(EntityRecordTest, ContainerCountsThatCannotFitAreRefused) {
    EXPECT_THROW(ReadRecord<TContainer2D>(RecordBytes().Header(0).Identity().I32(-1)), ECADFileNotValid);
    EXPECT_THROW(ReadRecord<TContainer2D>(RecordBytes().Header(0).Identity().I32(1000000)), ECADFileNotValid);
    // An unknown class inside stops the read with the registry's refusal.
    EXPECT_THROW(
        ReadRecord<TContainer2D>(RecordBytes().Header(0).Identity().I32(1).U16(500).Raw(std::string(80, '\0'))),
        ECADObjClassNotFound);
}

}  // namespace

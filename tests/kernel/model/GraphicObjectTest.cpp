// Graphic objects on the stream: the 6-byte header, the version tags that
// choose how records are read, and the class registry that stores each
// object under its class index.
#include "ProbeObject.h"

#include "kernel/model/BinaryWriter.h"
#include "kernel/model/ClassRegistry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

using namespace calvoro;
using calvoro::test::ProbeObject;

namespace {

TEST(GraphicObjectTest, HeaderRoundTripsEveryFlagCombinationAndIgnoresStrayBits) {
    for (int combination = 0; combination < 8; ++combination) {
        ProbeObject object(-123456);
        object.SetLayer(200);
        object.SetVisible((combination & 1) != 0);
        object.SetEnabled((combination & 2) != 0);
        object.SetMustSave((combination & 4) != 0);
        BinaryWriter writer;
        object.TGraphicObject::SaveToStream(writer);
        const std::string header = writer.bytes();
        ASSERT_EQ(header.size(), 6u);
        const auto flags = static_cast<std::uint8_t>(header[5]);
        EXPECT_EQ((flags & 4) != 0, !object.MustSave()) << "bit 2 marks an object that is not saved";
        EXPECT_EQ(flags & ~7, 0);

        const std::string record = header + std::string(4, '\0');  // and the probe's own field
        BinaryReader reader(record);
        const ProbeObject back(reader, "KRN422");
        EXPECT_EQ(std::tuple(back.ID(), back.Layer(), back.Visible(), back.Enabled(), back.MustSave()),
                  std::tuple(-123456, 200, object.Visible(), object.Enabled(), object.MustSave()));
    }
    const std::string stray("\x05\x00\x00\x00\x03\xF9\x00\x00\x00\x00", 10);  // flags 11111001
    BinaryReader reader(stray);
    const ProbeObject object(reader, "QV-002");
    EXPECT_EQ(std::tuple(object.ID(), object.Layer(), object.Visible(), object.Enabled(), object.MustSave()),
              std::tuple(5, 3, true, false, true));
}

TEST(VersionTagTest, TagsCompareAsStringsInByteOrderAndTakeSixBytes) {
    const std::vector<VersionTag> ascending = {"KRN3  ", "KRN31", "KRN33", "KRN4", "KRN41", "KRN422", "QV-002"};
    for (std::size_t i = 0; i < ascending.size(); ++i) {
        for (std::size_t j = 0; j < ascending.size(); ++j) {
            EXPECT_EQ(ascending[i] < ascending[j], i < j) << ascending[i].text() << " vs " << ascending[j].text();
            EXPECT_EQ(ascending[i] == ascending[j], i == j);
        }
    }
    EXPECT_NE(VersionTag("KRN3  "), VersionTag("KRN3"));
    EXPECT_TRUE(VersionTag("\xC0") > VersionTag("KRN4")) << "bytes compare unsigned";

    BinaryWriter writer;
    VersionTag("KRN33").Write(writer);
    VersionTag("QV-002").Write(writer);
    EXPECT_EQ(writer.bytes(), std::string("KRN33\0QV-002", 12));
    BinaryReader reader(writer.bytes());
    EXPECT_EQ(VersionTag::Read(reader).text(), "KRN33");
    EXPECT_EQ(VersionTag::Read(reader), VersionTag("QV-002"));
    EXPECT_THROW(VersionTag::Read(reader), ECADFileNotValid);
}

// Another class, which cannot be read from a stream.
const TGraphicObjectClass AbstractShape{"TAbstractShape", &TGraphicObject::Class, nullptr};

class ClassRegistryTest : public ::testing::Test {
protected:
    void SetUp() override { CADCoreClearClasses(); }
    void TearDown() override { CADCoreClearClasses(); }
};

TEST_F(ClassRegistryTest, FindsClassesAndRefusesWithTheirMessages) {
    CADCoreRegisterClass(0, AbstractShape);
    CADCoreRegisterClass(511, ProbeObject::Class);
    CADCoreRegisterClass(5, ProbeObject::Class);
    EXPECT_EQ(&CADCoreFindClassByIndex(511), &ProbeObject::Class);
    EXPECT_EQ(CADCoreFindClassIndex("ProbeObject"), 5) << "the first slot of a class wins";
    EXPECT_EQ(&CADCoreFindClassByName("TAbstractShape"), &AbstractShape);
    const std::pair<std::function<void()>, std::string> refusals[] = {
        {[] { CADCoreRegisterClass(512, AbstractShape); }, "CADCoreRegisterClass: Out of bound registration index"},
        {[] { CADCoreRegisterClass(5, AbstractShape); },
         "CADCoreRegisterClass: Index 5 already allocated by ProbeObject"},
        {[] { CADCoreFindClassByIndex(512); }, "CADCoreRegisterClass: Out of bound registration index"},
        {[] { CADCoreFindClassByIndex(6); }, "CADCoreFindClassByIndex: Index not registered"},
        {[] { CADCoreFindClassIndex("probeobject"); }, "CADCoreFindClassIndex: probeobject graphic class not found"},
        {[] { CADCoreFindClassByName("TLine2D"); }, "CADCoreFindClassIndex: TLine2D graphic class not found"},
    };
    for (const auto& [action, message] : refusals) {
        EXPECT_THAT(action, testing::ThrowsMessage<ECADCoreException>(testing::StrEq(message)));
    }
    EXPECT_THROW(CADCoreRegisterClass(512, AbstractShape), ECADOutOfBound);
    EXPECT_THROW(CADCoreRegisterClass(5, AbstractShape), ECADObjClassNotFound);
    EXPECT_EQ(&CADCoreFindClassByIndex(5), &ProbeObject::Class) << "the first class keeps its slot";

    // Cleared, the same classes can be registered again.
    CADCoreClearClasses();
    EXPECT_THROW(CADCoreFindClassByIndex(5), ECADObjClassNotFound);
    EXPECT_NO_THROW(CADCoreRegisterClass(5, ProbeObject::Class));
}

TEST_F(ClassRegistryTest, ObjectsTravelWithTheirClassIndex) {
    CADCoreRegisterClass(42, ProbeObject::Class);
    ProbeObject original(17);
    original.payload = -9;
    BinaryWriter writer;
    WriteObjectWithClassIndex(writer, original);
    EXPECT_EQ(writer.bytes().substr(0, 2), std::string("\x2A\x00", 2));
    BinaryReader reader(writer.bytes());
    const std::unique_ptr<TGraphicObject> copy = ReadObjectWithClassIndex(reader, "KRN422");
    ASSERT_EQ(copy->ClassName(), "ProbeObject");
    EXPECT_EQ(copy->ID(), 17);
    EXPECT_EQ(static_cast<ProbeObject&>(*copy).payload, -9);
    EXPECT_TRUE(reader.atEnd());

    // A class without a reader, and an index without a class, are refused.
    CADCoreRegisterClass(1, AbstractShape);
    for (const char* index : {"\x01\x00", "\x02\x00"}) {
        const std::string bytes(index, 2);
        BinaryReader unreadable(bytes);
        EXPECT_THROW(ReadObjectWithClassIndex(unreadable, "KRN422"), ECADObjClassNotFound);
    }
}

}  // namespace

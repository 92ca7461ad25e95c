#include "ProbeObject.h"

#include "kernel/model/BinaryWriter.h"
#include "kernel/model/ClassRegistry.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <type_traits>
#include <vector>

using namespace calvoro;
using calvoro::test::MakeProbe;
using calvoro::test::ProbeObject;

namespace {

std::string HeaderOf(ProbeObject& object) {
    BinaryWriter writer;
    object.TGraphicObject::SaveToStream(writer);
    return writer.bytes();
}

TEST(GraphicObjectTest, HeaderRoundTripsEveryFlagCombination) {
    for (int combination = 0; combination < 8; ++combination) {
        ProbeObject object(-123456);
        object.SetLayer(200);
        object.SetVisible((combination & 1) != 0);
        object.SetEnabled((combination & 2) != 0);
        object.SetMustSave((combination & 4) != 0);
        const std::string header = HeaderOf(object);
        ASSERT_EQ(header.size(), 6u);
        const auto flags = static_cast<std::uint8_t>(header[5]);
        EXPECT_EQ((flags & 4) != 0, !object.MustSave()) << "bit 2 marks an object that is not saved";
        EXPECT_EQ(flags & ~7, 0);

        const std::string record = header + std::string(4, '\0');  // and the probe's own field
        BinaryReader reader(record);
        ProbeObject back(reader, "KRN422");
        EXPECT_EQ(back.ID(), -123456);
        EXPECT_EQ(back.Layer(), 200);
        EXPECT_EQ(back.Visible(), object.Visible());
        EXPECT_EQ(back.Enabled(), object.Enabled());
        EXPECT_EQ(back.MustSave(), object.MustSave());
    }
}

TEST(GraphicObjectTest, ReadingIgnoresStrayFlagBitsAndResetsTheUnstoredFields) {
    const std::string record("\x05\x00\x00\x00\x03\xF9\x00\x00\x00\x00", 10);  // flags 11111001
    BinaryReader reader(record);
    ProbeObject object(reader, "QV-002");
    EXPECT_EQ(object.ID(), 5);
    EXPECT_EQ(object.Layer(), 3);
    EXPECT_TRUE(object.Visible());
    EXPECT_FALSE(object.Enabled());
    EXPECT_TRUE(object.MustSave());
    EXPECT_TRUE(object.UseLayerColor());
    EXPECT_EQ(object.TreeItem(), 0u);
    EXPECT_FALSE(object.OnChange());
    EXPECT_EQ(object.Owner(), nullptr);
}

TEST(GraphicObjectTest, AssignCopiesOnlyTheThreeSwitches) {
    ProbeObject source(1);
    source.SetLayer(4);
    source.SetVisible(false);
    source.SetEnabled(false);
    source.SetMustSave(false);
    source.SetUseLayerColor(false);
    ProbeObject target(2);
    target.Assign(source);
    EXPECT_EQ(target.ID(), 2);
    EXPECT_EQ(target.Layer(), 0);
    EXPECT_FALSE(target.Visible());
    EXPECT_FALSE(target.Enabled());
    EXPECT_FALSE(target.MustSave());
    EXPECT_TRUE(target.UseLayerColor());
}

TEST(GraphicObjectTest, RecalcBoxUpdatesTheBoxBeforeItTellsTheListener) {
    ProbeObject object(1);
    object.RecalcBox();  // no listener: only the box
    EXPECT_EQ(object.boxUpdates, 1);
    std::vector<int> seen;
    object.SetOnChange([&](TGraphicObject& sender) { seen.push_back(static_cast<ProbeObject&>(sender).boxUpdates); });
    object.RecalcBox();
    EXPECT_EQ(seen, std::vector<int>{2});
}

TEST(GraphicObjectTest, ClassReferencesKnowTheirAncestors) {
    const ProbeObject object(1);
    EXPECT_EQ(object.ClassName(), "ProbeObject");
    EXPECT_TRUE(object.InheritsFrom(ProbeObject::Class));
    EXPECT_TRUE(object.InheritsFrom(TGraphicObject::Class));
    EXPECT_FALSE(TGraphicObject::Class.InheritsFrom(ProbeObject::Class));
}

TEST(VersionTagTest, TagsCompareAsStringsInByteOrder) {
    const std::vector<VersionTag> ascending = {"KRN3  ", "KRN31", "KRN33", "KRN4", "KRN41", "KRN422", "QV-002"};
    for (std::size_t i = 0; i < ascending.size(); ++i) {
        for (std::size_t j = 0; j < ascending.size(); ++j) {
            EXPECT_EQ(ascending[i] < ascending[j], i < j) << ascending[i].text() << " vs " << ascending[j].text();
            EXPECT_EQ(ascending[i] == ascending[j], i == j);
        }
    }
    EXPECT_NE(VersionTag("KRN3  "), VersionTag("KRN3"));
    EXPECT_TRUE(VersionTag("\xC0") > VersionTag("KRN4")) << "bytes compare unsigned";
}

TEST(VersionTagTest, IsSixBytesOnTheStream) {
    BinaryWriter writer;
    VersionTag("KRN33").Write(writer);
    VersionTag("QV-002").Write(writer);
    EXPECT_EQ(writer.bytes(), std::string("KRN33\0QV-002", 12));
    BinaryReader reader(writer.bytes());
    EXPECT_EQ(VersionTag::Read(reader).text(), "KRN33");
    EXPECT_EQ(VersionTag::Read(reader), VersionTag("QV-002"));
    EXPECT_THROW(VersionTag::Read(reader), ECADFileNotValid);
}

TEST(CADCoreExceptionsTest, AllBelongToTheKernelFamilyAndKeepTheirMessage) {
    const std::string message = "TGraphicObjList.Add: The list has active iterators.";
    const std::vector<std::function<void()>> raisers = {
        [&] { throw ECADOutOfBound(message); },
        [&] { throw ECADObjClassNotFound(message); },
        [&] { throw ECADSourceBlockIsReferenced(message); },
        [&] { throw ECADFileNotValid(message); },
        [&] { throw ECADListObjNotFound(message); },
        [&] { throw ECADListBlocked(message); },
    };
    for (const auto& raise : raisers) {
        try {
            raise();
            FAIL();
        } catch (const ECADCoreException& error) {
            EXPECT_EQ(error.what(), message);
        }
    }
    static_assert(std::is_base_of_v<std::runtime_error, ECADCoreException>);
}

}  // namespace

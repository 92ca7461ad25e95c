#include "ProbeObject.h"

#include "kernel/model/BinaryWriter.h"
#include "kernel/model/ClassRegistry.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace calvoro;
using calvoro::test::ProbeObject;

namespace {

// Another class that is never stored.
const TGraphicObjectClass AbstractShape{"TAbstractShape", &TGraphicObject::Class, nullptr};

std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const ECADCoreException& error) {
        return error.what();
    }
    return "(no error)";
}

class ClassRegistryTest : public ::testing::Test {
protected:
    void SetUp() override { CADCoreClearClasses(); }
    void TearDown() override { CADCoreClearClasses(); }
};

TEST_F(ClassRegistryTest, FindsAClassByIndexAndByName) {
    CADCoreRegisterClass(0, AbstractShape);
    CADCoreRegisterClass(511, ProbeObject::Class);
    EXPECT_EQ(&CADCoreFindClassByIndex(511), &ProbeObject::Class);
    EXPECT_EQ(CADCoreFindClassIndex("ProbeObject"), 511);
    EXPECT_EQ(&CADCoreFindClassByName("TAbstractShape"), &AbstractShape);
}

TEST_F(ClassRegistryTest, RefusalsCarryTheirMessages) {
    CADCoreRegisterClass(5, ProbeObject::Class);
    struct Case {
        std::function<void()> action;
        std::string message;
    };
    const Case cases[] = {
        {[] { CADCoreRegisterClass(512, AbstractShape); }, "CADCoreRegisterClass: Out of bound registration index"},
        {[] { CADCoreRegisterClass(5, AbstractShape); },
         "CADCoreRegisterClass: Index 5 already allocated by ProbeObject"},
        {[] { CADCoreFindClassByIndex(512); }, "CADCoreRegisterClass: Out of bound registration index"},
        {[] { CADCoreFindClassByIndex(6); }, "CADCoreFindClassByIndex: Index not registered"},
        {[] { CADCoreFindClassIndex("probeobject"); }, "CADCoreFindClassIndex: probeobject graphic class not found"},
        {[] { CADCoreFindClassByName("TLine2D"); }, "CADCoreFindClassIndex: TLine2D graphic class not found"},
    };
    for (const Case& c : cases) EXPECT_EQ(MessageOf(c.action), c.message);
    EXPECT_THROW(CADCoreRegisterClass(512, AbstractShape), ECADOutOfBound);
    EXPECT_THROW(CADCoreRegisterClass(5, AbstractShape), ECADObjClassNotFound);
    EXPECT_EQ(&CADCoreFindClassByIndex(5), &ProbeObject::Class) << "the first class keeps its slot";
}

TEST_F(ClassRegistryTest, ClearingLetsTheSameClassesBeRegisteredAgain) {
    CADCoreRegisterClass(5, ProbeObject::Class);
    CADCoreClearClasses();
    EXPECT_THROW(CADCoreFindClassByIndex(5), ECADObjClassNotFound);
    EXPECT_NO_THROW(CADCoreRegisterClass(5, ProbeObject::Class));
}

TEST_F(ClassRegistryTest, TheFirstSlotOfAClassWins) {
    CADCoreRegisterClass(9, ProbeObject::Class);
    CADCoreRegisterClass(3, ProbeObject::Class);
    EXPECT_EQ(CADCoreFindClassIndex("ProbeObject"), 3);
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
}

TEST_F(ClassRegistryTest, AClassThatCannotBeReadIsRefused) {
    CADCoreRegisterClass(1, AbstractShape);
    const std::string abstract("\x01\x00", 2), unregistered("\x02\x00", 2);
    BinaryReader reader(abstract);
    EXPECT_THROW(ReadObjectWithClassIndex(reader, "KRN422"), ECADObjClassNotFound);
    BinaryReader unknown(unregistered);
    EXPECT_THROW(ReadObjectWithClassIndex(unknown, "KRN422"), ECADObjClassNotFound);
}

}  // namespace

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

}  // namespace

// The model: fields of the binary streams, the 6-byte object header, object
// lists under their iterators with what they free and when, and the layer
// records of every version.
#include "ProbeObject.h"
#include "kernel/model/BinaryReader.h"
#include "kernel/model/BinaryWriter.h"
#include "kernel/model/ClassRegistry.h"
#include "kernel/model/GraphicObjList.h"
#include "kernel/model/Layers.h"
#include "tests/support/Refusals.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <functional>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

using namespace calvoro;
using calvoro::test::MakeProbe;
using calvoro::test::ProbeObject;
using testing::StrEq;
using testing::ThrowsMessage;

namespace {

// A record of field kinds at their extremes reads back whole, and every
// truncation of it is refused without a read past its end.
TEST(BinaryStreamTest, FieldsRoundTripAndEveryCutIsRefused) {
    BinaryWriter writer;
    writer.writeUInt8(255);
    writer.writeInt16(-32768);
    writer.writeInt32(std::numeric_limits<std::int32_t>::min());
    writer.writeShortString("name", 31);
    writer.writeUInt64(0x0123456789ABCDEFull);
    writer.writeFloat32(-0.1f);
    writer.writeFloat64(std::numeric_limits<double>::denorm_min());
    writer.writeFloat64(-std::numeric_limits<double>::infinity());
    writer.writeBytes(std::string("a\0b", 3));
    const auto readBack = [](BinaryReader& reader) {
        EXPECT_EQ(reader.readUInt8(), 255);
        EXPECT_EQ(reader.readInt16(), -32768);
        EXPECT_EQ(reader.readInt32(), std::numeric_limits<std::int32_t>::min());
        EXPECT_EQ(reader.readShortString(31), "name");
        EXPECT_EQ(reader.readUInt64(), 0x0123456789ABCDEFull);
        EXPECT_EQ(reader.readFloat32(), -0.1f);
        EXPECT_EQ(reader.readFloat64(), std::numeric_limits<double>::denorm_min());
        EXPECT_EQ(reader.readFloat64(), -std::numeric_limits<double>::infinity());
        EXPECT_EQ(reader.readBytes(3), std::string("a\0b", 3));
    };
    const std::string& record = writer.bytes();
    BinaryReader whole(record);
    readBack(whole);
    EXPECT_TRUE(whole.atEnd());
    for (std::size_t cut = 0; cut < record.size(); ++cut) {
        // A copy of exactly `cut` bytes, so that ASan sees any read past it.
        const std::vector<char> truncated(record.begin(), record.begin() + static_cast<std::ptrdiff_t>(cut));
        BinaryReader reader(truncated.data(), truncated.size());
        EXPECT_THROW(readBack(reader), ECADFileNotValid) << "cut at " << cut;
    }
}

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

std::vector<int> IdsOf(TGraphicObjList& list) {
    std::vector<int> ids;
    const auto iterator = list.GetIterator();
    for (TGraphicObject* object = iterator->First(); object != nullptr; object = iterator->Next()) {
        ids.push_back(object->ID());
    }
    return ids;
}

class GraphicObjListTest : public ::testing::Test {
protected:
    void SetUp() override {
        ProbeObject::alive = 0;
        for (int id : {10, 11, 12}) list.Add(MakeProbe(id));
    }
    void TearDown() override {
        list.Clear();
        EXPECT_EQ(ProbeObject::alive, 0) << "an object was leaked or freed twice";
    }

    TGraphicObjList list;
};

// What each live iterator allows: the list's own changes and the other kinds.
TEST_F(GraphicObjListTest, LiveIteratorsRefuseChangesAndErrorsRestoreTheCounters) {
    const std::string active = ": The list has active iterators.";
    const std::string sharedRefused = "TGraphicObjList.GetIterator: The list has exclusive iterator.";
    const std::string exclusiveRefused = "TGraphicObjList.GetExclusiveIterator" + active;
    struct Case {
        const char* holding;
        std::function<std::unique_ptr<TGraphicObjIterator>()> take;
        std::string shared;
    };
    const Case cases[] = {
        {"shared", [&] { return list.GetIterator(); }, "(no error)"},
        {"exclusive", [&] { return std::unique_ptr<TGraphicObjIterator>(list.GetExclusiveIterator()); }, sharedRefused},
        {"privileged", [&] { return list.GetPrivilegedIterator(); }, sharedRefused},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.holding);
        {
            const auto held = c.take();
            EXPECT_EQ(test::MessageOf<ECADCoreException>([&] { list.Add(MakeProbe(99)); }),
                      "TGraphicObjList.Add" + active);
            EXPECT_EQ(test::MessageOf<ECADCoreException>([&] { list.Delete(10); }), "TGraphicObjList.Delete" + active);
            EXPECT_EQ(test::MessageOf<ECADCoreException>([&] { list.Clear(); }), "TGraphicObjList.Clear" + active);
            EXPECT_EQ(test::MessageOf<ECADCoreException>([&] { list.GetIterator(); }), c.shared);
            EXPECT_EQ(test::MessageOf<ECADCoreException>([&] { list.GetExclusiveIterator(); }), exclusiveRefused);
            EXPECT_EQ(test::MessageOf<ECADCoreException>([&] { list.GetPrivilegedIterator(); }), "(no error)");
            EXPECT_EQ(list.IteratorCount(), 1) << "refused iterators are not counted";
            EXPECT_EQ(list.Count(), 3);
        }
        EXPECT_FALSE(list.HasIterators());
        EXPECT_FALSE(list.ExclusiveHeld());
    }
    EXPECT_EQ(ProbeObject::alive, 3) << "refused additions were freed, not leaked";
    // Errors that leave a walk, or that a change raises, restore the counters too.
    EXPECT_THROW(
        {
            const auto iterator = list.GetIterator();
            if (iterator->Search(11) != nullptr) throw ECADOutOfBound("walk: stop");
        },
        ECADOutOfBound);
    EXPECT_THAT([&] { list.Delete(77); },
                ThrowsMessage<ECADListObjNotFound>(StrEq("TGraphicObjList.Delete: Object not found")));
    EXPECT_FALSE(list.HasIterators());
    EXPECT_FALSE(list.ExclusiveHeld());
    list.Add(MakeProbe(13));  // allowed again once the iterators are gone
    EXPECT_EQ(IdsOf(list), (std::vector<int>{10, 11, 12, 13}));
}

// Objects in one list that use each other go in the order that frees them.
TEST_F(GraphicObjListTest, ClearFreesUsersBeforeWhatTheyUse) {
    TGraphicObjList blocks;
    auto* a = static_cast<ProbeObject*>(blocks.Add(MakeProbe(1)));
    auto* b = static_cast<ProbeObject*>(blocks.Add(MakeProbe(2)));
    auto* c = static_cast<ProbeObject*>(blocks.Add(MakeProbe(3)));
    b->Use(*a);
    c->Use(*b);
    blocks.Clear();
    EXPECT_EQ(blocks.Count(), 0);

    auto* kept = static_cast<ProbeObject*>(blocks.Add(MakeProbe(4)));
    blocks.Add(MakeProbe(5));
    auto outsider = MakeProbe(6);
    outsider->Use(*kept);
    EXPECT_THROW(blocks.Clear(), ECADSourceBlockIsReferenced);
    EXPECT_EQ(IdsOf(blocks), std::vector<int>{4}) << "what could go went";
    outsider.reset();
    blocks.Clear();
    EXPECT_EQ(blocks.Count(), 0);
}

// The parts of a layer record that depend on the file's version.
struct RecordLayout {
    const char* tag;
    bool skippedBytes, pattern, visible, storable, name;
};

// A record with pen (red, inside frame, not xor, width 3), brush (blue,
// diagonal cross), the last of their kinds, pattern
// "101", Active true, Visible false, Opaque true, Storable false and the name
// "Walls", each field present as the layout says.
std::string HandBuiltRecord(const RecordLayout& layout) {
    BinaryWriter w;
    w.writeInt32(clRed);
    w.writeUInt8(6);   // inside frame
    w.writeUInt8(15);  // not xor
    w.writeInt32(3);
    w.writeInt32(clBlue);
    w.writeUInt8(7);  // diagonal cross
    if (layout.skippedBytes) w.writeUInt32(0xDEADBEEF);
    if (layout.pattern) {
        w.writeUInt32(3);
        w.writeBytes(std::string("\x01\x00\x01", 3));
    }
    w.writeBool(true);
    if (layout.visible) w.writeBool(false);
    w.writeBool(true);
    if (layout.storable) w.writeBool(false);
    if (layout.name) w.writeShortString("Walls", 31);
    return w.takeBytes();
}

TEST(LayerTest, ReadsTheRecordOfEveryVersionAndWritesTheCurrentOne) {
    const RecordLayout layouts[] = {
        // tag        skipped pattern visible storable name
        {"KRN3  ", true, false, false, true, false}, {"KRN31", true, false, false, false, false},
        {"KRN33", true, false, false, true, true},   {"KRN4", true, false, true, true, true},
        {"KRN41", true, true, true, true, true},     {"KRN422", false, true, true, true, true},
        {"QV-002", false, true, true, true, true},
    };
    for (const RecordLayout& layout : layouts) {
        SCOPED_TRACE(layout.tag);
        TLayer layer(5);
        layer.DecorativePen().SetPattern("11");  // kept by versions without a pattern
        const std::string record = HandBuiltRecord(layout);
        BinaryReader reader(record);
        layer.LoadFromStream(reader, layout.tag);
        EXPECT_TRUE(reader.atEnd());
        EXPECT_EQ(layer.Pen(), (PenAttributes{clRed, TPenStyle::psInsideFrame, TPenMode::pmNotXor, 3}));
        EXPECT_EQ(layer.Brush(), (BrushAttributes{clBlue, TBrushStyle::bsDiagCross}));
        EXPECT_EQ(layer.DecorativePen().PatternLength(), layout.pattern ? 3 : 2);
        EXPECT_EQ(layer.DecorativePen().GetBit(1), !layout.pattern);
        // A file without the Visible or Storable switch makes the layer visible or storable.
        EXPECT_EQ(std::tuple(layer.Active(), layer.Visible(), layer.Opaque(), layer.Storable(), layer.Name()),
                  std::tuple(true, !layout.visible, true, !layout.storable, layout.name ? "Walls" : "Layer 5"));
        EXPECT_TRUE(layer.Modified());
        if (layout.tag >= VersionTag("KRN422")) {
            BinaryWriter writer;  // the current layout is written back byte for byte
            layer.SaveToStream(writer);
            EXPECT_EQ(writer.bytes(), record);
        }
    }
}

// Patterns longer than 65535 bits or than the record, and the record cut at
// every offset: all refused before the layer changes.
TEST(LayerTest, CorruptAndCutRecordsAreRefusedAndChangeNothing) {
    std::vector<std::pair<std::string, VersionTag>> records;
    const std::string head = HandBuiltRecord({"KRN422", false, false, false, false, false}).substr(0, 15);
    for (std::uint32_t length : {0xFFFFFFFFu, 65536u, 1000u}) {
        BinaryWriter w;
        w.writeBytes(head);
        w.writeUInt32(length);
        w.writeBytes(std::string(40, '\x01'));
        records.emplace_back(w.takeBytes(), "KRN422");
    }
    const std::string whole = HandBuiltRecord({"KRN41", true, true, true, true, true});
    for (std::size_t cut = 0; cut < whole.size(); ++cut) records.emplace_back(whole.substr(0, cut), "KRN41");
    for (const auto& [record, version] : records) {
        // A copy of exactly the record's bytes, so that ASan sees any read past it.
        const std::vector<char> bytes(record.begin(), record.end());
        TLayer layer(9);
        BinaryReader reader(bytes.data(), bytes.size());
        EXPECT_THROW(layer.LoadFromStream(reader, version), ECADFileNotValid) << record.size() << " bytes";
        EXPECT_EQ(layer.Name(), "Layer_9");
        EXPECT_EQ(layer.DecorativePen().PatternLength(), 0);
        EXPECT_FALSE(layer.Modified());
        EXPECT_EQ(layer.Pen().Color, clBlack);
    }
}

}  // namespace

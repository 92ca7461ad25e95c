// Layers: the record of every file version from hand-built bytes and written
// back, corrupt and cut records, and what a layer gives the canvas.
#include "kernel/draw/RecordingCanvas.h"
#include "kernel/model/CADCoreExceptions.h"
#include "kernel/model/Layers.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

using namespace calvoro;

namespace {

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

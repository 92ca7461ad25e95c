// The drawing: refusals that change nothing, freeing chained and circular
// blocks, and its object stream with the end mark, faulty entries and every
// cut.
#include "kernel/drawing/DrawingViewport.h"
#include "kernel/drawing/EntityTreeLink.h"
#include "kernel/drawing/QVCmp2D.h"
#include "kernel/entities/TBlock2D.h"
#include "kernel/entities/TLine2D.h"
#include "kernel/entities/TPunto2D.h"
#include "kernel/entities/TSourceBlock2D.h"

#include "tests/support/Drawings.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace calvoro;
using namespace calvoro::test;

namespace {

std::unique_ptr<TLine2D> Line(double x0, double y0, double x1, double y1) {
    return std::make_unique<TLine2D>(-1, MakePoint2D(x0, y0), MakePoint2D(x1, y1));
}

TSourceBlock2D& AddBlock(TQVCmp2D& drawing, const char* name) {
    return static_cast<TSourceBlock2D&>(
        *drawing.AddSourceBlock(-1, std::make_unique<TSourceBlock2D>(-1, MakeBlockName(name))));
}

// An instance of `source` put inside `holder`.
void PutInstance(TSourceBlock2D& holder, TSourceBlock2D& source) {
    holder.Objects().Add(std::make_unique<TBlock2D>(7, source, MakePoint2D(0, 0)));
}

struct RecordingTree : EntityTreeLink {
    std::vector<std::string> calls;

    void AddEntity(TLayers& /*layers*/, TGraphicObject& entity) override { entity.SetTreeItem(100 + entity.ID()); }
    void DeleteNode(std::uintptr_t item) override { calls.push_back("delete " + std::to_string(item)); }
};

class Drawing : public DrawingTest {
protected:
    RecordingTree tree;  // outlives the drawing, as the real one detaches first
    TQVCmp2D drawing;

    std::string SavedObjects() {
        BinaryWriter writer;
        drawing.SaveObjectsToStream(writer);
        return writer.takeBytes();
    }
};

TEST_F(Drawing, RefusedChangesLeaveTheDrawingAsItWas) {
    drawing.SetTreeGeo(&tree);
    drawing.AddObject(-1, Line(0, 0, 1, 1));
    TSourceBlock2D& used = AddBlock(drawing, "Used");
    PutInstance(AddBlock(drawing, "Holder"), used);
    {
        const auto walk = drawing.ObjectListIterator();
        EXPECT_EQ(MessageOf<ECADListBlocked>([&] { drawing.AddObject(-1, Line(0, 0, 1, 1)); }),
                  "TGraphicObjList.Add: The list has active iterators.");
        EXPECT_EQ(MessageOf<ECADListBlocked>([&] { drawing.DeleteObject(0); }),
                  "TGraphicObjList.Delete: The list has active iterators.");
    }
    const std::pair<std::function<void()>, const char*> refusals[] = {
        {[&] { drawing.DeleteObject(9); }, "TCADCmp.DeleteObject: No object found"},
        {[&] { drawing.SetCurrentLayer(256); }, "TCADCmp.SetCurrentLayer: Layer out of bound"},
        {[&] { drawing.FindSourceBlock("Nothing"); }, "TCADCmp2D.FindSourceBlock: Source block Nothing not found"},
        {[&] { drawing.DeleteSourceBlock("Used"); },
         "TCADCmp2D.DeleteSourceBlock: Remove the references before the source"},
        {[&] { drawing.DeleteSourceBlock(40); }, "TCADCmp.DeleteSourceBlock: No source block found"},
    };
    for (const auto& [action, message] : refusals) EXPECT_EQ(MessageOf<ECADCoreException>(action), message);
    EXPECT_THROW(drawing.SetCurrentLayer(-1), ECADOutOfBound);
    EXPECT_THROW(drawing.DeleteSourceBlock(used.ID()), ECADSourceBlockIsReferenced);

    EXPECT_EQ(drawing.NextObjectID(), 1);
    EXPECT_EQ(drawing.ObjectCount(), 1);
    EXPECT_EQ(drawing.SourceBlockCount(), 2);
    EXPECT_EQ(drawing.CurrentLayer(), 0);
    EXPECT_TRUE(tree.calls.empty()) << "the tree node stays while the object does";
    EXPECT_TRUE(drawing.DeleteObject(0));
    EXPECT_EQ(tree.calls, (std::vector<std::string>{"delete 100"}));
    EXPECT_EQ(drawing.ObjectCount(), 0);
    drawing.DeleteSourceBlock("Holder");
    drawing.DeleteSourceBlock("Used");
    EXPECT_EQ(drawing.SourceBlockCount(), 0);
}

TEST_F(Drawing, ObjectStreamLeavesOutUnstorableLayersAndEndsWithAMark) {
    drawing.Layers().LayerByIndex(2).SetStorable(false);
    for (int layer : {0, 1, 2, 1, 7}) {
        drawing.SetCurrentLayer(layer);
        drawing.AddObject(20 + layer, Line(layer, 0, layer, 1));
    }
    const std::string bytes = SavedObjects();
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x05\0\0\0", 4)) << "N counts the object left out";
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\xFF\xFF");

    TQVCmp2D loaded;
    BinaryReader reader(bytes);
    loaded.LoadObjectsFromStream(reader, LibraryVersion);
    EXPECT_TRUE(reader.atEnd());
    ASSERT_EQ(loaded.ObjectCount(), 4);
    for (std::int32_t id = 0; id < 4; ++id) EXPECT_NE(loaded.GetObject2D(id), nullptr) << "fresh IDs";
    EXPECT_EQ(loaded.GetObject2D(3)->Layer(), 7);
    EXPECT_EQ(loaded.CurrentLayer(), 7) << "the layer of the last object loaded";

    drawing.Layers().LayerByIndex(2).SetStorable(true);
    EXPECT_NE(SavedObjects().substr(bytes.size() - 2), "\xFF\xFF") << "all written: no mark";
}

TEST_F(Drawing, ObjectStreamFaultsEndAsTheirMessagesSayAndCutsAreRefused) {
    drawing.AddObject(-1, std::make_unique<TBlock2D>(-1, AddBlock(drawing, "Known"), MakePoint2D(1, 1)));
    drawing.AddObject(-1, std::make_unique<TPunto2D>(-1, MakePoint2D(2, 2)));
    const std::string bytes = SavedObjects();
    std::string unknown = bytes;
    unknown[4] = 0x2C;  // the first entry's class index becomes 300
    unknown[5] = 0x01;
    struct Case {
        std::string bytes;
        const char* message;
        int objects;
    };
    const Case cases[] = {
        // Loaded without the block's source: the point after the instance loads.
        {bytes, "Source block not found. The block will not be loaded", 1},
        {unknown, "Object class not found. Object not load", 0},
    };
    for (const Case& c : cases) {
        TQVCmp2D loaded;
        std::vector<std::string> messages;
        loaded.SetMessageHandler([&](const std::string& m) { messages.push_back(m); });
        BinaryReader reader(c.bytes);
        loaded.LoadObjectsFromStream(reader, LibraryVersion);
        EXPECT_EQ(messages, (std::vector<std::string>{c.message}));
        EXPECT_EQ(loaded.ObjectCount(), c.objects);
        EXPECT_FALSE(loaded.HasIterators());
    }

    drawing.DeleteObject(0);
    for (int i = 0; i < 2; ++i) drawing.AddObject(-1, std::make_unique<TPunto2D>(-1, MakePoint2D(i, i)));
    const std::string points = SavedObjects();
    for (std::size_t length = 0; length < points.size(); ++length) {
        TQVCmp2D loaded;
        const std::string cut = points.substr(0, length);
        BinaryReader reader(cut);
        EXPECT_THROW(loaded.LoadObjectsFromStream(reader, LibraryVersion), ECADFileNotValid) << length;
        EXPECT_FALSE(loaded.HasIterators());
    }
}

}  // namespace

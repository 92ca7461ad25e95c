#include "kernel/drawing/QVCmp2D.h"
#include "kernel/entities/TBlock2D.h"
#include "kernel/entities/TLine2D.h"
#include "kernel/entities/TPunto2D.h"
#include "kernel/entities/TSourceBlock2D.h"
#include "kernel/model/CADCoreExceptions.h"

#include "DrawingTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace calvoro;
using namespace calvoro::test;

namespace {

std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const ECADCoreException& error) {
        return error.what();
    }
    return "(no error)";
}

std::unique_ptr<TLine2D> Line(double x0, double y0, double x1, double y1) {
    return std::make_unique<TLine2D>(-1, MakePoint2D(x0, y0), MakePoint2D(x1, y1));
}

std::unique_ptr<TSourceBlock2D> Block(const char* name) {
    return std::make_unique<TSourceBlock2D>(-1, MakeBlockName(name));
}

// An instance of `source` put inside `holder`.
void PutInstance(TSourceBlock2D& holder, TSourceBlock2D& source) {
    holder.Objects().Add(std::make_unique<TBlock2D>(7, source, MakePoint2D(0, 0)));
}

class Drawing : public DrawingTest {
protected:
    // The viewport and the tree outlive the drawing, as the real ones detach first.
    RecordingViewport viewport;
    RecordingTree tree;
    TQVCmp2D drawing;
    std::vector<std::string> events;
    std::vector<std::string> messages;

    void SetUp() override {
        DrawingTest::SetUp();
        drawing.SetMessageHandler([this](const std::string& m) { messages.push_back(m); });
    }

    TSourceBlock2D& AddBlock(const char* name) {
        return static_cast<TSourceBlock2D&>(*drawing.AddSourceBlock(-1, Block(name)));
    }
};

TEST_F(Drawing, ObjectIDsFollowTheCounter) {
    struct Step {
        std::int32_t requested, given;
    };
    for (const Step step : {Step{-1, 0}, Step{-1, 1}, Step{10, 10}, Step{-1, 11}, Step{5, 5}, Step{-1, 12}}) {
        EXPECT_EQ(drawing.AddObject(step.requested, Line(0, 0, 1, 1))->ID(), step.given);
    }
    EXPECT_EQ(drawing.AddSourceBlock(-1, Block("B"))->ID(), 0) << "blocks count apart";
    drawing.ClearObjects();
    EXPECT_EQ(drawing.ObjectCount(), 0);
    EXPECT_EQ(drawing.AddObject(-1, Line(0, 0, 1, 1))->ID(), 0);
}

TEST_F(Drawing, AnAddedObjectIsPlacedDrawnAnnouncedAndListed) {
    drawing.AddViewport(&viewport);
    drawing.AddViewport(&viewport);  // joins once
    drawing.AddViewport(nullptr);
    drawing.SetTreeGeo(&tree);
    drawing.SetDrawOnAdd(true);
    drawing.SetCurrentLayer(4);
    drawing.SetOnAddObject([this](TQVCmp&, TGraphicObject& o) {
        events.push_back("added " + std::to_string(o.ID()));
        EXPECT_EQ(tree.calls.size(), 0u) << "the event comes before the tree node";
    });
    TObject2D* line = drawing.AddObject2D(-1, Line(1, 2, 3, 5));
    EXPECT_EQ(line->Owner(), &drawing);
    EXPECT_EQ(line->Layer(), 4);
    EXPECT_EQ(line->Box(), MakeRect2D(1, 2, 3, 5));
    EXPECT_EQ(viewport.calls, (std::vector<std::string>{"draw 0", "invalidate"}));
    EXPECT_EQ(events, (std::vector<std::string>{"added 0"}));
    EXPECT_EQ(tree.calls, (std::vector<std::string>{"add 0"}));
    EXPECT_EQ(drawing.GetObject2D(0), line);
    EXPECT_EQ(drawing.GetObject2D(1), nullptr);
}

TEST_F(Drawing, RefusedChangesLeaveTheDrawingAsItWas) {
    drawing.SetTreeGeo(&tree);
    drawing.AddObject(-1, Line(0, 0, 1, 1));
    tree.calls.clear();
    {
        const auto walk = drawing.ObjectListIterator();
        EXPECT_THROW(drawing.AddObject(-1, Line(0, 0, 1, 1)), ECADListBlocked);
        EXPECT_THROW(drawing.DeleteObject(0), ECADListBlocked);
    }
    EXPECT_EQ(drawing.NextObjectID(), 1);
    EXPECT_EQ(drawing.ObjectCount(), 1);
    EXPECT_TRUE(tree.calls.empty()) << "the tree node stays while the object does";
    EXPECT_EQ(MessageOf([&] { drawing.DeleteObject(9); }), "TCADCmp.DeleteObject: No object found");
    EXPECT_TRUE(drawing.DeleteObject(0));
    EXPECT_EQ(tree.calls, (std::vector<std::string>{"delete 100"}));
    EXPECT_EQ(drawing.ObjectCount(), 0);
    EXPECT_EQ(MessageOf([&] { drawing.SetCurrentLayer(256); }), "TCADCmp.SetCurrentLayer: Layer out of bound");
    EXPECT_THROW(drawing.SetCurrentLayer(-1), ECADOutOfBound);
}

TEST_F(Drawing, SourceBlocksByNameAndTheirReferences) {
    TSourceBlock2D& used = AddBlock("Used");
    TSourceBlock2D& holder = AddBlock("Holder");
    PutInstance(holder, used);
    EXPECT_EQ(&drawing.FindSourceBlock("Used"), &used);
    EXPECT_EQ(MessageOf([&] { drawing.FindSourceBlock("Nothing"); }),
              "TCADCmp2D.FindSourceBlock: Source block Nothing not found");
    EXPECT_EQ(MessageOf([&] { drawing.DeleteSourceBlock("Used"); }),
              "TCADCmp2D.DeleteSourceBlock: Remove the references before the source");
    EXPECT_THROW(drawing.DeleteSourceBlock(used.ID()), ECADSourceBlockIsReferenced);
    EXPECT_EQ(drawing.SourceBlockCount(), 2);
    EXPECT_EQ(MessageOf([&] { drawing.DeleteSourceBlock(40); }), "TCADCmp.DeleteSourceBlock: No source block found");
    drawing.DeleteSourceBlock("Holder");
    drawing.DeleteSourceBlock("Used");
    EXPECT_EQ(drawing.SourceBlockCount(), 0);
}

TEST_F(Drawing, FreeSourceBlocksUndoesChainsPassByPass) {
    // Each block uses the one before it, so each pass can free only the last.
    TSourceBlock2D& a = AddBlock("A");
    TSourceBlock2D& b = AddBlock("B");
    TSourceBlock2D& c = AddBlock("C");
    PutInstance(b, a);
    PutInstance(c, b);
    PutInstance(c, a);
    drawing.FreeSourceBlocks();
    EXPECT_EQ(drawing.SourceBlockCount(), 0);
    EXPECT_FALSE(drawing.HasIterators());
}

TEST_F(Drawing, CircularBlocksAreReportedAndStillFreedWithTheDrawing) {
    auto cyclic = std::make_unique<TQVCmp2D>();
    auto& a = static_cast<TSourceBlock2D&>(*cyclic->AddSourceBlock(-1, Block("A")));
    auto& b = static_cast<TSourceBlock2D&>(*cyclic->AddSourceBlock(-1, Block("B")));
    cyclic->AddSourceBlock(-1, Block("Free"));
    PutInstance(a, b);
    PutInstance(b, a);
    EXPECT_EQ(MessageOf([&] { cyclic->FreeSourceBlocks(); }),
              "TCADCmp.FreeSourceBlocks: CADCore Severe error\n\rThe drawing contains circular reference of source "
              "blocks. They will be not deleted !");
    EXPECT_EQ(cyclic->SourceBlockCount(), 2) << "the free block went, the circle stayed";
    EXPECT_FALSE(cyclic->HasIterators());
    cyclic->AddViewport(&viewport);
    cyclic.reset();  // no throw, no freed memory touched (sanitizers watch)
    EXPECT_TRUE(viewport.drawingGone);
}

TEST_F(Drawing, DrawingBoxCoversVisibleObjectsOnVisibleLayers) {
    TRect2D box = MakeRect2D(1, 2, 3, 4);
    drawing.GetDrawingBox(box);
    EXPECT_EQ(box, MakeRect2D(1, 2, 3, 4)) << "no objects: the box stays";

    drawing.SetCurrentLayer(3);
    drawing.AddObject(-1, Line(5, 5, 6, 6));
    drawing.Layers().LayerByIndex(3).SetVisible(false);
    drawing.GetDrawingBox(box);
    EXPECT_EQ(box, MakeRect2D(1e8, 1e8, -1e8, -1e8)) << "only hidden objects: the inverted start box";

    drawing.SetCurrentLayer(0);
    drawing.AddObject(-1, Line(-2, 1, 4, 3));
    drawing.AddObject(-1, Line(0, -7, 1, 0));
    TObject2D* hidden = drawing.AddObject2D(-1, Line(50, 50, 60, 60));
    hidden->SetVisible(false);
    drawing.GetDrawingBox(box);
    EXPECT_EQ(box, MakeRect2D(-2, -7, 4, 3));
}

TEST_F(Drawing, TransformObjectsFreezesTheTransformOfTheObjectsNamed) {
    drawing.AddViewport(&viewport);
    for (int i = 0; i < 3; ++i) drawing.AddObject(-1, Line(0, 0, 1, 0));
    const TMatrix2D shift = TranslationMatrix2D(10, 0);
    const std::int32_t some[] = {2, 0, 99};
    drawing.TransformObjects(some, shift);
    EXPECT_EQ(viewport.calls, (std::vector<std::string>{"repaint"}));
    for (const std::int32_t id : {0, 2}) {
        TObject2D* line = drawing.GetObject2D(id);
        EXPECT_EQ(line->ModelMatrix(), shift);
        EXPECT_FALSE(line->TempMatrix().has_value());
        EXPECT_EQ(line->Box(), MakeRect2D(10, 0, 11, 0));
    }
    EXPECT_FALSE(drawing.GetObject2D(1)->HasTransform());

    const std::int32_t all[] = {-1};
    drawing.TransformObjects(all, shift);
    EXPECT_EQ(drawing.GetObject2D(0)->Box(), MakeRect2D(20, 0, 21, 0));
    EXPECT_EQ(drawing.GetObject2D(1)->Box(), MakeRect2D(10, 0, 11, 0));

    viewport.calls.clear();
    drawing.SetRepaintAfterTransform(false);
    drawing.TransformObjects({}, shift);
    drawing.TransformObjects(all, shift);
    EXPECT_TRUE(viewport.calls.empty());
}

TEST_F(Drawing, ObjectStreamLeavesOutUnstorableLayersAndEndsWithAMark) {
    drawing.Layers().LayerByIndex(2).SetStorable(false);
    for (int layer : {0, 1, 2, 1, 7}) {
        drawing.SetCurrentLayer(layer);
        drawing.AddObject(20 + layer, Line(layer, 0, layer, 1));
    }
    std::vector<int> saved;
    drawing.SetOnSaveProgress([&](TQVCmp&, std::uint8_t percent) { saved.push_back(percent); });
    BinaryWriter writer;
    drawing.SaveObjectsToStream(writer);
    EXPECT_EQ(saved, (std::vector<int>{0, 20, 40, 60}));
    const std::string& bytes = writer.bytes();
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x05\0\0\0", 4)) << "N counts the object left out";
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\xFF\xFF");

    TQVCmp2D loaded;
    std::vector<int> progress;
    loaded.SetOnLoadProgress([&](TQVCmp&, std::uint8_t percent) { progress.push_back(percent); });
    BinaryReader reader(bytes);
    loaded.LoadObjectsFromStream(reader, LibraryVersion);
    EXPECT_TRUE(reader.atEnd());
    ASSERT_EQ(loaded.ObjectCount(), 4);
    EXPECT_EQ(progress, (std::vector<int>{20, 20, 20, 20}));
    for (std::int32_t id = 0; id < 4; ++id) EXPECT_NE(loaded.GetObject2D(id), nullptr) << "fresh IDs";
    EXPECT_EQ(loaded.GetObject2D(3)->Layer(), 7);
    EXPECT_EQ(loaded.CurrentLayer(), 7) << "the layer of the last object loaded";

    drawing.Layers().LayerByIndex(2).SetStorable(true);
    BinaryWriter complete;
    drawing.SaveObjectsToStream(complete);
    EXPECT_NE(complete.bytes().substr(complete.bytes().size() - 2), "\xFF\xFF") << "all written: no mark";
}

TEST_F(Drawing, ObjectStreamSkipsUnlinkedInstancesAndStopsAtUnknownClasses) {
    TSourceBlock2D& source = AddBlock("Known");
    drawing.AddObject(-1, std::make_unique<TBlock2D>(-1, source, MakePoint2D(1, 1)));
    drawing.AddObject(-1, Line(0, 0, 1, 1));
    BinaryWriter writer;
    drawing.SaveObjectsToStream(writer);

    TQVCmp2D withoutBlocks;
    withoutBlocks.SetMessageHandler([this](const std::string& m) { messages.push_back(m); });
    BinaryReader reader(writer.bytes());
    withoutBlocks.LoadObjectsFromStream(reader, LibraryVersion);
    EXPECT_EQ(messages, (std::vector<std::string>{"Source block not found. The block will not be loaded"}));
    EXPECT_EQ(withoutBlocks.ObjectCount(), 1) << "the line after the instance loads";
    EXPECT_FALSE(withoutBlocks.HasIterators());

    messages.clear();
    std::string unknown = writer.bytes();
    unknown[4] = 0x2C;  // the first entry's class index becomes 300
    unknown[5] = 0x01;
    TQVCmp2D stopped;
    stopped.SetMessageHandler([this](const std::string& m) { messages.push_back(m); });
    BinaryReader unknownReader(unknown);
    stopped.LoadObjectsFromStream(unknownReader, LibraryVersion);
    EXPECT_EQ(messages, (std::vector<std::string>{"Object class not found. Object not load"}));
    EXPECT_EQ(stopped.ObjectCount(), 0);
    EXPECT_FALSE(stopped.HasIterators());
}

TEST_F(Drawing, ObjectStreamCutShortRaisesAfterWhatWasRead) {
    for (int i = 0; i < 3; ++i) drawing.AddObject(-1, std::make_unique<TPunto2D>(-1, MakePoint2D(i, i)));
    BinaryWriter writer;
    drawing.SaveObjectsToStream(writer);
    const std::string bytes = writer.bytes();
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        TQVCmp2D loaded;
        const std::string cut = bytes.substr(0, length);
        BinaryReader reader(cut);
        EXPECT_THROW(loaded.LoadObjectsFromStream(reader, LibraryVersion), ECADFileNotValid) << length;
        EXPECT_FALSE(loaded.HasIterators());
    }
}

}  // namespace

// The one-object commands (delete, change layer, explode, copy) run as the
// one-object pick's follow-up on the real viewport core: each changes the
// drawing, and the view is drawn again from the drawing as it now is before
// the program is idle, so the change shows at once.
#include "tests/kernel/view/ViewTestSupport.h"

#include "kernel/editing/PickCommands.h"
#include "kernel/entities/TFrame2D.h"
#include "kernel/entities/TLine2D.h"
#include "kernel/tree/TEntityTree.h"

#include <functional>
#include <string>

using namespace calvoro;
using namespace calvoro::test;

namespace {

class PickCommandsTest : public ProgramViewTest<KernelHost> {
protected:
    PickCommandsTest() {
        view->SetOnBeginRedraw([this](TQVViewport&) { drawnFrom = StreamOf(drawing); });
    }

    // What the view last drew: the drawing's stream at the start of its last redraw.
    std::string drawnFrom;
};

TEST_F(PickCommandsTest, EachCommandRedrawsTheViewFromTheChangedDrawing) {
    const struct {
        const StateClass* command;
        std::function<void()> after;  // what the user does after the pick
    } rows[] = {
        {&TDeletePicked::Class, {}},
        {&TChangeLayerPicked::Class, {}},
        {&TExplodePicked::Class, {}},
        // The copy goes by the vector from a base point to a target.
        {&TCopyPicked::Class, [this] { Click(10, 80), Click(30, 90); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.command->Name);
        drawing.ClearObjects();
        drawing.SetCurrentLayer(0);
        Add<TFrame2D>(MakePoint2D(20, 20), MakePoint2D(60, 40));
        Add<TLine2D>(MakePoint2D(100, 50), MakePoint2D(180, 50));
        drawing.SetCurrentLayer(3);
        view->Repaint();
        const std::string before = StreamOf(drawing);
        ASSERT_TRUE(drawnFrom == before);

        auto param = std::make_unique<TQVD2D_SelectObjectsParam>(3, row.command);
        param->OnSelected = [](TQVD2D_SelectObjectsParam&, TObject2D&, bool, int) {};
        program->StartOperation(TQV2D_Select1Object::Class, std::move(param));
        Click(20, 30);
        if (row.after) row.after();

        EXPECT_EQ(Current(), "TCADIdleState");
        EXPECT_TRUE(StreamOf(drawing) != before) << "the command changed the drawing";
        EXPECT_TRUE(drawnFrom == StreamOf(drawing)) << "the view shows the drawing as it is";
    }
    EXPECT_TRUE(errors.empty());
}

// The entity tree files the object under its new layer, as it would a new one.
TEST_F(PickCommandsTest, ChangeLayerMovesTheObjectsTreeNodeToItsNewLayer) {
    TEntityTree tree;
    drawing.SetTreeGeo(&tree);
    const struct Detach {
        TQVCmp2D& drawing;
        ~Detach() { drawing.SetTreeGeo(nullptr); }
    } detach{drawing};
    Add<TLine2D>(MakePoint2D(100, 50), MakePoint2D(180, 50));
    const std::int32_t moved = Add<TLine2D>(MakePoint2D(20, 30), MakePoint2D(60, 30))->ID();
    drawing.SetCurrentLayer(3);
    auto param = std::make_unique<TQVD2D_SelectObjectsParam>(3, &TChangeLayerPicked::Class);
    program->StartOperation(TQV2D_Select1Object::Class, std::move(param));
    Click(40, 30);
    ASSERT_EQ(drawing.GetObject2D(moved)->Layer(), 3);
    // Layer nodes carry the layer number + 1, entity nodes the entity's ID.
    std::vector<std::pair<std::int64_t, std::vector<std::int64_t>>> layers;
    for (const auto& layer : tree.Root()->Children) {
        layers.push_back({layer->Data, {}});
        for (const auto& entity : layer->Children) layers.back().second.push_back(entity->Data);
    }
    EXPECT_EQ(layers, (std::vector<std::pair<std::int64_t, std::vector<std::int64_t>>>{{1, {0}}, {4, {moved}}}));
    drawing.DeleteObject(moved);
    EXPECT_TRUE(tree.Root()->Children.back()->Children.empty()) << "the node moved is the object's own";
}

}  // namespace

// The entity tree as the drawing fills it: node order, captions, data,
// deletion and the reset when the drawing is cleared.
#include "kernel/drawing/QVCmp2D.h"
#include "kernel/entities/EntityModule.h"
#include "kernel/entities/TCerchio2D.h"
#include "kernel/entities/TEllipse2D.h"
#include "kernel/entities/TFilledCerchio2D.h"
#include "kernel/entities/TLine2D.h"
#include "kernel/entities/TPolygon2D.h"
#include "kernel/entities/TPunto2D.h"
#include "kernel/entities/TRectangle2D.h"
#include "kernel/tree/TEntityTree.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace calvoro;

namespace {

class EntityTreeTest : public ::testing::Test {
protected:
    // Appended, not "<" + a temporary, which draws a false -Wrestrict from GCC 12.
    EntityTreeTest() : tree([](std::string_view key) { return std::string(1, '<').append(key).append(">"); }) {
        InitializeEntityModule();
        drawing.SetTreeGeo(&tree);
    }
    ~EntityTreeTest() override { drawing.SetTreeGeo(nullptr); }

    TGraphicObject* Add(std::unique_ptr<TObject2D> object, int layer) {
        drawing.SetCurrentLayer(layer);
        return drawing.AddObject2D(-1, std::move(object));
    }
    // "caption/data/image" of each node, depth first.
    std::vector<std::string> Nodes() const {
        std::vector<std::string> out;
        std::function<void(const EntityTreeNode&, int)> walk = [&](const EntityTreeNode& n, int depth) {
            out.push_back(std::string(depth, ' ') + n.Caption + "/" + std::to_string(n.Data) + "/" +
                          std::to_string(n.ImageIndex));
            for (const auto& child : n.Children) walk(*child, depth + 1);
        };
        if (tree.Root() != nullptr) walk(*tree.Root(), 0);
        return out;
    }

    TEntityTree tree;
    TQVCmp2D drawing;
};

using NodeList = std::vector<std::string>;

}  // namespace

TEST_F(EntityTreeTest, EntitiesGoUnderTheirLayersCaptionedByKind) {
    Add(std::make_unique<TPunto2D>(-1, MakePoint2D(0, 0)), 0);
    Add(std::make_unique<TRectangle2D>(-1, MakePoint2D(0, 0), MakePoint2D(1, 1)), 255);
    Add(std::make_unique<TFilledCerchio2D>(-1, MakePoint2D(0, 0), MakePoint2D(1, 0)), 0);
    Add(std::make_unique<TEllipse2D>(-1, MakePoint2D(0, 0), MakePoint2D(2, 1)), 0);
    const TPoint2D corners[] = {MakePoint2D(0, 0), MakePoint2D(1, 0), MakePoint2D(1, 1)};
    Add(std::make_unique<TPolygon2D>(-1, std::span<const TPoint2D>(corners)), 255);
    EXPECT_EQ(Nodes(),
              (NodeList{"<twGeo00>/0/0", " <twGeo10>Layer_0/1/1", "  <twGeo20>/0/2", "  <twGeo60>/2/6",
                        "  <twGeo70>/3/7", " <twGeo10>Layer_255/256/1", "  <twGeo40>/1/4", "  <twGeo80>/4/8"}));
}

TEST_F(EntityTreeTest, DeletingAnEntityRemovesOnlyItsNodeAndOnlyOnce) {
    TGraphicObject* a = Add(std::make_unique<TLine2D>(-1, MakePoint2D(0, 0), MakePoint2D(1, 1)), 3);
    Add(std::make_unique<TLine2D>(-1, MakePoint2D(0, 0), MakePoint2D(2, 2)), 3);
    const std::uintptr_t item = a->TreeItem();
    drawing.DeleteObject(a->ID());
    tree.DeleteNode(item);  // already gone: nothing
    EXPECT_EQ(Nodes(), (NodeList{"<twGeo00>/0/0", " <twGeo10>Layer_3/4/1", "  <twGeo30>/1/3"}));
}

TEST_F(EntityTreeTest, ClearingTheDrawingEmptiesTheTreeAndItsLayerNodes) {
    Add(std::make_unique<TLine2D>(-1, MakePoint2D(0, 0), MakePoint2D(1, 1)), 7);
    drawing.ClearObjects();
    EXPECT_EQ(tree.Root(), nullptr);
    EXPECT_EQ(drawing.Layers().LayerByIndex(7).TreeNode(), 0u);
    Add(std::make_unique<TCerchio2D>(-1, MakePoint2D(0, 0), MakePoint2D(1, 0)), 7);
    EXPECT_EQ(Nodes(), (NodeList{"<twGeo00>/0/0", " <twGeo10>Layer_7/8/1", "  <twGeo60>/0/6"}));
}

TEST_F(EntityTreeTest, WithoutCaptionsLayerNodesShowOnlyTheName) {
    TEntityTree plain;
    drawing.SetTreeGeo(&plain);
    Add(std::make_unique<TLine2D>(-1, MakePoint2D(0, 0), MakePoint2D(1, 1)), 2);
    ASSERT_NE(plain.Root(), nullptr);
    EXPECT_EQ(plain.Root()->Caption, "");
    EXPECT_EQ(plain.Root()->Children.front()->Caption, "Layer_2");
}

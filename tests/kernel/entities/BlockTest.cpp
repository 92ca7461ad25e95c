// Containers, source blocks and block instances: picks through transforms,
// reference counts of linked and loaded instances, refusals before anything
// changes, freeing chains and cycles, and deep copies.
#include "tests/support/Drawings.h"

#include "kernel/entities/QV2D_Entities.h"
#include "kernel/geometry/Picking.h"
#include "kernel/model/CADCoreExceptions.h"
#include "kernel/model/GraphicObjIterator.h"
#include "kernel/model/GraphicObjList.h"

#include <cmath>
#include <memory>
#include <vector>

using namespace calvoro;
using namespace calvoro::test;
using testing::StrEq;
using testing::ThrowsMessage;

namespace {

// A source block holding one line from (0, 0) to (10, 0) and one circle of
// radius 1 round (5, 5).
std::unique_ptr<TSourceBlock2D> MakeSource(std::string_view name, std::int32_t id = 1) {
    auto source = std::make_unique<TSourceBlock2D>(id, MakeBlockName(name));
    source->Objects().Add(std::make_unique<TLine2D>(100, MakePoint2D(0, 0), MakePoint2D(10, 0)));
    source->Objects().Add(std::make_unique<TCerchio2D>(101, MakePoint2D(5, 5), MakePoint2D(6, 5)));
    source->RecalcBox();
    return source;
}

TSourceBlock2D& AddSource(TGraphicObjList& list, std::unique_ptr<TSourceBlock2D> source) {
    return static_cast<TSourceBlock2D&>(*list.Add(std::move(source)));
}

// Links the instance to the first source of `list` with its name.
void Link(TGraphicObjList& list, TBlock2D& instance) {
    auto blocks = list.GetIterator();
    instance.UpdateReference(*blocks);
}

class BlockTest : public EntityTest {};

// A container names its nearest child; an instance its insertion point or,
// through its matrix, what its source picks.
TEST_F(BlockTest, PicksNameTheNearestChildThroughEveryMatrix) {
    auto source = MakeSource("S"), moved = MakeSource("M");
    moved->SetObjectMatrix(TranslationMatrix2D(0, 100));
    TBlock2D block(1, *source, MakePoint2D(0, 0)), disabled(2, *source, MakePoint2D(0, 0));
    block.SetObjectMatrix(TranslationMatrix2D(20, 0));
    disabled.SetObjectMatrix(TranslationMatrix2D(20, 0));
    disabled.SetEnabled(false);
    struct Case {
        const char* what;
        TObject2D& object;
        TPoint2D at;
        int expected;
        double distance;  // negative: not checked
    };
    const Case cases[] = {
        {"near the line", *source, MakePoint2D(3, 0.2), 100, 0.2},
        {"near the circle", *source, MakePoint2D(5, 5.9), 101, -1},
        {"near nothing: the box, with the starting best", *source, MakePoint2D(2, 3), kHitNearBox, 1.0},
        {"through the container's matrix", *moved, MakePoint2D(3, 100.1), 100, -1},
        {"where the container was", *moved, MakePoint2D(3, 0.1), kHitMiss, -1},
        {"the insertion point", block, MakePoint2D(20.1, 0.3), kHitOutline, std::sqrt(0.1)},
        {"the source's line", block, MakePoint2D(23, 0.2), 100, 0.2},
        {"where the source is", block, MakePoint2D(3, 0.2), kHitMiss, -1},
        {"a disabled instance", disabled, MakePoint2D(23, 0.2), kHitMiss, -1},
    };
    for (const Case& c : cases) {
        double distance = 0;
        EXPECT_EQ(c.object.HitTest(c.at, distance, 0.5), c.expected) << c.what;
        if (c.distance >= 0) {
            EXPECT_NEAR(distance, c.distance, 1e-12) << c.what;
        }
    }
}

TEST_F(BlockTest, LoadedInstancesCountOnceLinked) {
    TGraphicObjList sources;
    TSourceBlock2D& door = AddSource(sources, MakeSource("DOOR", 1));
    TSourceBlock2D& window = AddSource(sources, MakeSource("WINDOW", 2));
    TBlock2D made(5, door, MakePoint2D(0, 0));
    made.SetObjectMatrix(TranslationMatrix2D(50, 0));

    auto loaded = ReadRecord<TBlock2D>(RecordOf(made));
    EXPECT_EQ(loaded->SourceBlock(), nullptr);
    double distance = 0;
    EXPECT_EQ(loaded->HitTest(MakePoint2D(53, 0), distance, 1.0), kHitMiss) << "unlinked instances pick nothing";
    EXPECT_EQ(door.ReferenceCount(), 1u);
    Link(sources, *loaded);
    EXPECT_EQ(loaded->SourceBlock(), &door);
    EXPECT_EQ(door.ReferenceCount(), 2u);
    EXPECT_EQ(window.ReferenceCount(), 0u);
    EXPECT_NEAR(loaded->Box().Left, 50, 1e-12);
    Link(sources, *loaded);
    EXPECT_EQ(door.ReferenceCount(), 2u) << "linking again to the same source counts nothing twice";

    // The referenced source is refused before anything changes.
    EXPECT_THAT([&] { sources.Delete(1); },
                ThrowsMessage<ECADSourceBlockIsReferenced>(
                    StrEq("TSourceBlock2D.Destroy: This source block is referenced and cannot be deleted")));
    EXPECT_EQ(sources.Count(), 2);
    EXPECT_EQ(loaded->SourceBlock(), &door);
    loaded.reset();
    EXPECT_EQ(door.ReferenceCount(), 1u);
}

TEST_F(BlockTest, AListFreesAChainOfBlocksInPasses) {
    auto sources = std::make_unique<TGraphicObjList>();
    TSourceBlock2D& a = AddSource(*sources, MakeSource("A", 1));
    TSourceBlock2D& b = AddSource(*sources, MakeSource("B", 2));
    b.Objects().Add(std::make_unique<TBlock2D>(20, a, MakePoint2D(0, 0)));
    AddSource(*sources, MakeSource("C", 3)).Objects().Add(std::make_unique<TBlock2D>(21, b, MakePoint2D(0, 0)));
    // A is first in the list but referenced: it goes in a later pass.
    EXPECT_NO_THROW(sources->Clear());
    EXPECT_EQ(sources->Count(), 0);

    // Two blocks that hold instances of each other refuse to be cleared, and
    // still free cleanly when their list goes.
    TSourceBlock2D& x = AddSource(*sources, MakeSource("X", 4));
    TSourceBlock2D& y = AddSource(*sources, MakeSource("Y", 5));
    x.Objects().Add(std::make_unique<TBlock2D>(30, y, MakePoint2D(0, 0)));
    y.Objects().Add(std::make_unique<TBlock2D>(31, x, MakePoint2D(0, 0)));
    EXPECT_THROW(sources->Clear(), ECADSourceBlockIsReferenced);
    EXPECT_EQ(sources->Count(), 2);
    // A cycle neither draws nor picks for ever.
    double distance = 0;
    TBlock2D instance(32, x, MakePoint2D(0, 0));
    EXPECT_NO_THROW(instance.HitTest(MakePoint2D(3, 0.1), distance, 0.5));
    sources.reset();
    EXPECT_EQ(instance.SourceBlock(), nullptr) << "cut loose when its source went";
}

}  // namespace

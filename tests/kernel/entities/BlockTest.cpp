// Containers, source blocks and block instances: boxes and picks through
// transforms, reference counts of linked and loaded instances, refusals before
// anything changes, freeing in any order and deep copies.
#include "tests/kernel/entities/EntityTestSupport.h"

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

TEST_F(BlockTest, ContainerBoxIsTheUnionOfItsChildrenCarriedByItsMatrix) {
    TContainer2D empty(1);
    empty.RecalcBox();
    EXPECT_EQ(empty.Box(), MakeRect2D(0, 0, 0, 0));
    auto source = MakeSource("S");
    EXPECT_NEAR(source->Box().Left, 0, 1e-12);
    EXPECT_NEAR(source->Box().Right, 10, 1e-12);
    EXPECT_NEAR(source->Box().Top, 6, 1e-2);
    source->SetObjectMatrix(ScalingMatrix2D(2, -1));
    EXPECT_NEAR(source->Box().Right, 20, 1e-12);
    EXPECT_NEAR(source->Box().Bottom, -6, 1e-2);
    EXPECT_NEAR(source->Box().Top, 0, 1e-12);
}

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

TEST_F(BlockTest, InstancesCountTheirSourceUpAndDown) {
    auto source = MakeSource("S");
    {
        TBlock2D first(1, *source, MakePoint2D(0, 0));
        EXPECT_EQ(source->ReferenceCount(), 1u);
        EXPECT_THROW(source->CheckDeletable(), ECADSourceBlockIsReferenced);
        auto second = std::make_unique<TBlock2D>(2, *source, MakePoint2D(0, 0));
        EXPECT_EQ(source->ReferenceCount(), 2u);
        second.reset();
        EXPECT_EQ(source->ReferenceCount(), 1u);

        // An instance taken over by Assign moves its count to the new source.
        auto other = MakeSource("T");
        first.Assign(TBlock2D(3, *other, MakePoint2D(2, 2)));
        EXPECT_EQ(source->ReferenceCount(), 0u);
        EXPECT_EQ(other->ReferenceCount(), 1u);
        EXPECT_EQ(BlockNameText(first.SourceName()), "T");
        EXPECT_EQ(first.InsertionPoint(), MakePoint2D(2, 2));
        first.Assign(TBlock2D(4, *source, MakePoint2D(0, 0)));
        EXPECT_EQ(other->ReferenceCount(), 0u);
    }
    EXPECT_EQ(source->ReferenceCount(), 0u);
    EXPECT_NO_THROW(source->CheckDeletable());
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

TEST_F(BlockTest, UpdateReferenceMatchesAllThirteenBytesOrChangesNothing) {
    TGraphicObjList sources;
    TSourceBlock2D& plain = AddSource(sources, MakeSource("AB", 1));
    // "AB", a zero, then other bytes: the same text, another name.
    TBlockName odd = MakeBlockName("AB");
    odd[5] = 'Z';
    TSourceBlock2D& other = AddSource(sources, MakeSource("", 2));
    other.SetName(odd);

    auto instance =
        ReadRecord<TBlock2D>(RecordBytes().Header(9).Identity().Raw(std::string(odd.data(), 13)).Point(0, 0));
    Link(sources, *instance);
    EXPECT_EQ(instance->SourceBlock(), &other);

    auto missing = ReadRecord<TBlock2D>(RecordBytes().Header(9).Identity().Fixed("NONE", 13).Point(0, 0));
    EXPECT_THAT([&] { Link(sources, *missing); },
                ThrowsMessage<ECADListObjNotFound>(StrEq("TBlock2D.UpdateReference: Source block not found")));
    EXPECT_EQ(missing->SourceBlock(), nullptr);
    EXPECT_EQ(plain.ReferenceCount(), 0u);
}

TEST_F(BlockTest, RelinkingReachesInstancesInsideNestedBlocks) {
    TGraphicObjList sources;
    TSourceBlock2D& inner = AddSource(sources, MakeSource("INNER", 1));
    // A loaded block that holds an instance of INNER.
    const std::string instance = RecordBytes().Header(7).Identity().Fixed("INNER", 13).Point(0, 0);
    RecordBytes record;
    record.Header(2).Identity().I32(1).U16(EntityClassIndex::Block).Raw(instance).U8(1).U8(1).Fixed("OUTER", 13);
    auto outer = ReadRecord<TSourceBlock2D>(record);
    EXPECT_EQ(outer->Box(), MakeRect2D(0, 0, 0, 0)) << "nothing to measure before linking";
    {
        auto blocks = sources.GetIterator();
        outer->RelinkBlockSources(*blocks);
    }
    EXPECT_EQ(inner.ReferenceCount(), 1u);
    EXPECT_NEAR(outer->Box().Right, 10, 1e-12);
    outer.reset();
    EXPECT_EQ(inner.ReferenceCount(), 0u);
}

TEST_F(BlockTest, NestedBlocksFreeInAnyOrder) {
    // A is used by B and C, B by C; each order of freeing leaves no instance
    // pointing at a freed source (AddressSanitizer watches).
    const int orders[][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
    for (const auto& order : orders) {
        std::unique_ptr<TSourceBlock2D> blocks[3] = {MakeSource("A", 1), MakeSource("B", 2), MakeSource("C", 3)};
        TSourceBlock2D& a = *blocks[0];
        TSourceBlock2D& b = *blocks[1];
        b.Objects().Add(std::make_unique<TBlock2D>(20, a, MakePoint2D(0, 0)));
        blocks[2]->Objects().Add(std::make_unique<TBlock2D>(21, b, MakePoint2D(1, 1)));
        blocks[2]->Objects().Add(std::make_unique<TBlock2D>(22, a, MakePoint2D(2, 2)));
        EXPECT_EQ(a.ReferenceCount(), 2u);
        for (int index : order) {
            blocks[index].reset();
            for (const auto& left : blocks) {
                if (left) left->RecalcBox();  // walks what is left
            }
        }
    }
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

TEST_F(BlockTest, ContainerCopiesAreDeepAndRefusedWhileTheSourceIsHeld) {
    auto shared = MakeSource("SHARED", 9);
    auto source = MakeSource("S");
    source->Objects().Add(std::make_unique<TBlock2D>(102, *shared, MakePoint2D(1, 1)));
    source->RecalcBox();
    source->Assign(*source);
    EXPECT_EQ(source->Objects().Count(), 3) << "assigned to itself, it keeps its children";

    TContainer2D copy(50);
    copy.Objects().Add(std::make_unique<TPunto2D>(7, MakePoint2D(0, 0)));
    {
        auto held = source->Objects().GetExclusiveIterator();
        EXPECT_THAT([&] { copy.Assign(*source); },
                    ThrowsMessage<ECADListBlocked>(StrEq("TContainer2D.Assign: The list has an exclusive iterator.")));
    }
    EXPECT_EQ(copy.Objects().Count(), 1) << "unchanged by the refusal";

    copy.Assign(*source);
    ASSERT_EQ(copy.Objects().Count(), 3);
    EXPECT_EQ(shared->ReferenceCount(), 2u);
    // The children's records, class indices and IDs included, are the same bytes.
    const std::string copied = RecordOf(copy);
    EXPECT_BYTES_EQ(RecordOf(*source).substr(6, copied.size() - 6), copied.substr(6));
    // Changing the copy leaves the original alone.
    static_cast<TLine2D*>(copy.Objects().GetIterator()->First())->Points().SetPoint(1, MakePoint2D(99, 0));
    EXPECT_EQ(static_cast<TLine2D*>(source->Objects().GetIterator()->First())->Points().Get(1), MakePoint2D(10, 0));
}

}  // namespace

// Owning and referencing object lists under their iterators: what a live
// iterator forbids, what is freed and when, and objects that refuse to go.
#include "ProbeObject.h"

#include "kernel/model/GraphicObjList.h"
#include "kernel/model/IndexedObjectList.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace calvoro;
using calvoro::test::MakeProbe;
using calvoro::test::ProbeObject;
using testing::StrEq;
using testing::ThrowsMessage;

namespace {

std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const ECADCoreException& error) {
        return error.what();
    }
    return "(no error)";
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
            EXPECT_EQ(MessageOf([&] { list.Add(MakeProbe(99)); }), "TGraphicObjList.Add" + active);
            EXPECT_EQ(MessageOf([&] { list.Delete(10); }), "TGraphicObjList.Delete" + active);
            EXPECT_EQ(MessageOf([&] { list.Clear(); }), "TGraphicObjList.Clear" + active);
            EXPECT_EQ(MessageOf([&] { list.GetIterator(); }), c.shared);
            EXPECT_EQ(MessageOf([&] { list.GetExclusiveIterator(); }), exclusiveRefused);
            EXPECT_EQ(MessageOf([&] { list.GetPrivilegedIterator(); }), "(no error)");
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

TEST_F(GraphicObjListTest, IteratorWalkAndSearch) {
    const auto iterator = list.GetIterator();
    EXPECT_EQ(iterator->Count(), 3);
    EXPECT_EQ(iterator->Current()->ID(), 10) << "a new iterator stands on the head";
    EXPECT_EQ(iterator->Search(12)->ID(), 12);
    EXPECT_EQ(iterator->Search(99), nullptr);
    EXPECT_EQ(iterator->Current()->ID(), 12) << "a failed search keeps the current node";
    EXPECT_EQ(iterator->Next(), nullptr);
    EXPECT_EQ(iterator->Current(), nullptr);
    EXPECT_EQ(iterator->Next(), nullptr) << "without a current node Next stays at none";
    EXPECT_EQ(iterator->First()->ID(), 10);
}

TEST_F(GraphicObjListTest, UnlinkingMovesOnAndBackAtTheTailAndFreesOnlyWhatIsDeleted) {
    EXPECT_TRUE(list.Delete(11));
    EXPECT_EQ(IdsOf(list), (std::vector<int>{10, 12}));
    EXPECT_EQ(ProbeObject::alive, 2);
    list.Add(MakeProbe(13));
    list.Add(MakeProbe(14));
    auto iterator = list.GetExclusiveIterator();
    std::unique_ptr<TGraphicObject> removed = iterator->RemoveCurrent();
    ASSERT_NE(removed, nullptr);
    EXPECT_EQ(removed->ID(), 10);
    EXPECT_EQ(ProbeObject::alive, 4) << "removing frees nothing";
    EXPECT_EQ(iterator->Current()->ID(), 12) << "the next node becomes current";
    iterator->Search(13);
    iterator->DeleteCurrent();
    EXPECT_EQ(iterator->Current()->ID(), 14);
    iterator->DeleteCurrent();
    EXPECT_EQ(iterator->Current()->ID(), 12) << "after the tail, the previous node";
    iterator->DeleteCurrent();
    EXPECT_EQ(iterator->Current(), nullptr) << "the only node gone, nothing is current";
    EXPECT_EQ(iterator->Count(), 0);
    iterator->DeleteCurrent();  // nothing to delete
    EXPECT_EQ(ProbeObject::alive, 1);
}

// The privileged iterator lets a writer walk while shared walks are open, so
// nothing may unlink nodes under it: it has no unlinking operations, and an
// exclusive iterator taken before it stops unlinking while it lives.
TEST_F(GraphicObjListTest, NothingIsUnlinkedUnderAPrivilegedIterator) {
    auto exclusive = list.GetExclusiveIterator();
    {
        auto privileged = list.GetPrivilegedIterator();
        EXPECT_THAT([&] { exclusive->DeleteCurrent(); },
                    ThrowsMessage<ECADCoreException>(
                        StrEq("TExclusiveGraphicObjIterator.DeleteCurrent: The list has active iterators.")));
        EXPECT_THAT([&] { exclusive->RemoveCurrent(); },
                    ThrowsMessage<ECADCoreException>(
                        StrEq("TExclusiveGraphicObjIterator.RemoveCurrent: The list has active iterators.")));
        EXPECT_EQ(privileged->Current()->ID(), 10);
    }
    EXPECT_TRUE(list.ExclusiveHeld()) << "the exclusive iterator still holds the list";
    EXPECT_THROW(list.GetIterator(), ECADListBlocked);
    exclusive->DeleteCurrent();
    EXPECT_EQ(ProbeObject::alive, 2);
}

TEST_F(GraphicObjListTest, AReferencingListNeverFreesWhatItDrops) {
    std::vector<std::unique_ptr<ProbeObject>> owned;
    TGraphicObjList selection(false);
    for (int id : {1, 2, 3, 4}) {
        owned.push_back(MakeProbe(id));
        selection.Add(owned.back().get());
    }
    selection.Delete(2);
    {
        auto iterator = selection.GetExclusiveIterator();
        iterator->DeleteCurrent();
        EXPECT_EQ(iterator->RemoveCurrent(), nullptr) << "nothing to hand back: the list owned nothing";
    }
    EXPECT_EQ(IdsOf(selection), std::vector<int>{4});
    selection.Clear();
    EXPECT_EQ(ProbeObject::alive, 7);
    EXPECT_THROW(selection.Add(MakeProbe(5)), std::logic_error);
    EXPECT_THROW(list.Add(owned[0].get()), std::logic_error);
}

// An object is asked before it is unlinked, so a refusal changes nothing and
// no destructor ever has to raise.
TEST_F(GraphicObjListTest, AnObjectThatRefusesToGoStays) {
    auto* used = static_cast<ProbeObject*>(list.GetIterator()->Search(11));
    auto user = MakeProbe(50);
    user->Use(*used);
    EXPECT_THROW(list.Delete(11), ECADSourceBlockIsReferenced);
    {
        auto iterator = list.GetExclusiveIterator();
        iterator->Search(11);
        EXPECT_THROW(iterator->DeleteCurrent(), ECADSourceBlockIsReferenced);
        EXPECT_EQ(iterator->Current(), used);
    }
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.IteratorCount(), 0);
    user.reset();
    EXPECT_TRUE(list.Delete(11));
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

TEST_F(GraphicObjListTest, DestroyingAListResolvesWhatWouldBeRefused) {
    std::unique_ptr<TGraphicObjIterator> survivor;
    {
        TGraphicObjList blocks;
        static_cast<ProbeObject*>(blocks.Add(MakeProbe(1)))->pins = 1;  // refuses whatever the order
        blocks.Add(MakeProbe(2));
        survivor = blocks.GetIterator();
    }
    EXPECT_EQ(survivor->List(), nullptr) << "the iterator was cut loose";
    EXPECT_EQ(survivor->First(), nullptr);
    EXPECT_EQ(survivor->Count(), 0);
    EXPECT_EQ(ProbeObject::alive, 3) << "the list's own objects are all freed, the fixture's remain";
}

TEST(IndexedObjectListTest, SetObjectAndShrinkingFreeOnlyWhatTheListOwns) {
    ProbeObject::alive = 0;
    ProbeObject kept(7);
    {
        TIndexedObjectList items(3);
        items.SetObject(1, MakeProbe(1));
        items.SetObject(1, MakeProbe(2));
        EXPECT_EQ(ProbeObject::alive, 2) << "the replaced entry was freed";
        EXPECT_EQ(items.GetObject(1)->ID(), 2);
        items.SetObject(1, std::unique_ptr<TGraphicObject>(items.GetObject(1)));  // the same object again
        EXPECT_EQ(ProbeObject::alive, 2);
        EXPECT_EQ(items.GetObject(0), nullptr);
        items.SetCount(1);
        EXPECT_EQ(ProbeObject::alive, 1);
        items.SetCount(3);
        EXPECT_EQ(items.GetObject(2), nullptr) << "new entries are empty";

        TIndexedObjectList referencing(2, false);
        referencing.SetObject(1, &kept);
        referencing.SetCount(0);
        EXPECT_EQ(referencing.GetObject(5), nullptr) << "an empty list answers none";
    }
    EXPECT_EQ(ProbeObject::alive, 1);
}

TEST(IndexedObjectListTest, IndexesOutsideTheListAreRefused) {
    TIndexedObjectList items(2);
    for (int index : {2, 100, -1}) {
        EXPECT_EQ(MessageOf([&] { items.GetObject(index); }), "TIndexedObjectList.GetObject: Index out of bounds.");
        EXPECT_EQ(MessageOf([&] { items.SetObject(index, MakeProbe(1)); }),
                  "TIndexedObjectList.SetObject: Index out of bounds.");
    }
    EXPECT_THROW(items.SetCount(-1), ECADOutOfBound);
}

}  // namespace

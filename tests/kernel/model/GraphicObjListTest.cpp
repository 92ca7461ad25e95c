// Owning and referencing object lists under their iterators: what a live
// iterator forbids, what is freed and when, and objects that refuse to go.
#include "ProbeObject.h"
#include "tests/support/Refusals.h"

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
            EXPECT_EQ(test::MessageOf<ECADCoreException>([&] { list.Add(MakeProbe(99)); }), "TGraphicObjList.Add" + active);
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

}  // namespace

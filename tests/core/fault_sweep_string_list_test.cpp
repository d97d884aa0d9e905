// Every store call of writing and reading a string list, made to fail once.
#include <gtest/gtest.h>

#include "core/places_bar.h"
#include "core/schemes.h"
#include "fault_sweep.h"
#include "support/errors.h"
#include "support/messages.h"
#include "support/registry.h"
#include "testlib/active_store_scope.h"

#include <algorithm>

namespace velbrook::testing {
namespace {

const std::string kListKey = "Software\\Lists\\L";

void PrepareOldList(MemoryRegistryStore& store) {
    for (int k = 0; k <= 4; ++k)
        PutValue(store, kListKey, std::to_string(k), Sz("old" + std::to_string(k)));
    PutValue(store, kListKey, "6", Sz("beyond the gap"));
    PutValue(store, kListKey + "\\Delete", "0", Sz("OLD2"));
    PutValue(store, kListKey + "\\Add", "0", Sz("added"));
}

Expectation ListValues() {
    Expectation e;
    for (int k = 0; k <= 6; ++k)
        e.values.emplace_back(kListKey, std::to_string(k));
    return e;
}

TEST(FaultSweep, WriteStringList) {
    std::string pathAfter;
    const Act act = [&] {
        pathAfter = "not run";
        ListRegistryCursor registry;
        if (!registry.OpenKey("Software\\Lists", false))
            return;
        const StringList list = {"a", "", "c"};
        registry.WriteStringList("L", &list);
        pathAfter = registry.CurrentPath();
    };
    Expectation e = ListValues();
    e.Record(PrepareOldList, act);
    ASSERT_EQ(e.after.at(kListKey + "|3"), std::nullopt);
    ASSERT_EQ(e.after.at(kListKey + "|6"), Sz("beyond the gap"));

    Sweep(PrepareOldList, act, [&](const FaultRun& run) {
        if (RemovesPendingEdits(run.failed)) {
            EXPECT_FALSE(run.outcome.raised) << run.outcome.text;
            EXPECT_EQ(e.Take(run.store), e.after);
            EXPECT_EQ(pathAfter, "Software\\Lists");
            return;
        }
        switch (run.failed.op) {
        case RegOp::Open:
            // The only open is the test's own: the list call returns to the
            // parent key through the handle it kept, not by path.
            EXPECT_EQ(run.failedIndex, 0);
            EXPECT_EQ(e.Take(run.store), e.before);
            return;
        case RegOp::Create:
            EXPECT_FALSE(run.outcome.raised) << run.outcome.text;
            EXPECT_EQ(e.Take(run.store), e.before);
            break;
        default:
            if (!CheckedWriteFault(run, e)) {
                ADD_FAILURE() << "unexpected call";
                return;
            }
            if (run.outcome.raised)
                return;
        }
        EXPECT_EQ(pathAfter, "Software\\Lists");
    });
}

TEST(FaultSweep, ReadStringList) {
    StringList list;
    std::string pathAfter;
    const Act act = [&] {
        list = {"untouched"};
        pathAfter.clear();
        ListRegistryCursor registry;
        if (!registry.OpenKey("Software\\Lists", false))
            return;
        registry.ReadStringList("L", &list);
        pathAfter = registry.CurrentPath();
    };
    {
        MemoryRegistryStore store;
        PrepareOldList(store);
        ActiveStoreScope scope(store);
        act();
        ASSERT_EQ(list, (StringList{"old0", "old1", "old3", "old4", "added"}));
        EXPECT_FALSE(KeyExistsIn(store, kListKey + "\\Add"));
    }
    const StringList cleanList = list;

    Sweep(PrepareOldList, act, [&](const FaultRun& run) {
        if (run.failedIndex == 0)
            return; // the test's own open
        if (run.failed.op == RegOp::Query) {
            // Only a missing value ends a list; a value that does not answer is raised.
            EXPECT_EQ(run.outcome.text, FormatText(msg::kRegGetDataFailed, run.failed.name));
        }
        if (run.outcome.raised) {
            // A value that could be sized but not read, or a key that could not
            // be made current again.
            EXPECT_TRUE(run.outcome.text.rfind("Failed to get data for '", 0) == 0 ||
                        run.failed.op == RegOp::Open)
                << run.outcome.text;
            return;
        }
        // The first open of a key reads it (or returns to it); later ones remove it.
        const bool readingSubkey =
            run.failed.op == RegOp::Open &&
            std::none_of(run.cleanCalls.begin(), run.cleanCalls.begin() + run.failedIndex,
                         [&](const StoreCall& c) {
                             return c.op == RegOp::Open && c.name == run.failed.name;
                         });
        switch (run.failed.op) {
        case RegOp::Open:
            if (run.failed.name == "L") {
                EXPECT_EQ(list, StringList{"untouched"});
                EXPECT_EQ(pathAfter, "Software\\Lists");
            } else if (readingSubkey && run.failed.name == "Delete") {
                // No pending deletions could be read: nothing is dropped.
                EXPECT_EQ(list, (StringList{"old0", "old1", "old2", "old3", "old4", "added"}));
            } else if (readingSubkey && run.failed.name == "Add") {
                EXPECT_EQ(list, (StringList{"old0", "old1", "old3", "old4"}));
            } else if (readingSubkey && run.failed.name == kListKey) {
                // The list key could not be made current again after reading
                // "Delete": no element can be read from it.
                EXPECT_TRUE(list.empty() || list == cleanList);
            } else {
                // Removing the pending edits or returning to the parent key.
                EXPECT_EQ(list, cleanList);
            }
            return;
        case RegOp::Query:
            if (run.failed.path == kListKey + "\\Delete") {
                // The deletions end early, or one reads as empty.
                EXPECT_TRUE(list == cleanList ||
                            list == StringList({"old0", "old1", "old2", "old3", "old4", "added"}));
            } else if (run.failed.path == kListKey + "\\Add") {
                // The additions end early, or one reads as empty.
                EXPECT_TRUE(list == cleanList ||
                            list == StringList({"old0", "old1", "old3", "old4"}) ||
                            list == StringList({"old0", "old1", "old3", "old4", ""}));
            } else {
                // The list ends early, or holds an empty text, where a value
                // does not answer; the pending additions still follow.
                ASSERT_FALSE(list.empty());
                EXPECT_EQ(list.back(), "added");
                EXPECT_LE(list.size(), cleanList.size() + 1);
            }
            return;
        default:
            // Failures while removing the pending edits or closing keys.
            EXPECT_EQ(list, cleanList);
        }
    });
}

} // namespace
} // namespace velbrook::testing

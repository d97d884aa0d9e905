// Every store call of writing the places bar, made to fail once.
#include <gtest/gtest.h>

#include "core/places_bar.h"
#include "core/schemes.h"
#include "fault_sweep.h"
#include "support/errors.h"
#include "support/messages.h"
#include "support/registry.h"
#include "testlib/active_store_scope.h"

namespace velbrook::testing {
namespace {

const PlacesList kNewPlaces = {"  D:\\Work  ", "", "C:\\Data", " \t ", "E:\\"};

TEST(FaultSweep, WritePlacesBarWithAList) {
    const Prepare prepare = PrepareOldPlacesBar;
    const Act act = [] { EXPECT_TRUE(WritePlacesBar(&kNewPlaces)); };
    Expectation e = PlacesBarValues();
    e.Record(prepare, act);
    ASSERT_EQ(e.after.at(std::string(kPlacesBarKey) + "|Place0"), Sz("D:\\Work"));

    Sweep(prepare, act, [&](const FaultRun& run) {
        if (run.failedIndex < UndoKeepingCalls(run.cleanCalls)) {
            ExpectUndoKeepingFault(run, e);
            return;
        }
        switch (run.failed.op) {
        case RegOp::Create:
            EXPECT_TRUE(run.outcome.raised);
            EXPECT_EQ(run.outcome.text, FormatText(msg::kCannotOpenOrCreateKey, kPlacesBarKey));
            EXPECT_EQ(e.Take(run.store), e.before);
            break;
        default:
            EXPECT_TRUE(CheckedWriteFault(run, e)) << "unexpected call";
        }
    });
}

TEST(FaultSweep, WritePlacesBarRestoringTheDefaults) {
    const Prepare prepare = [](MemoryRegistryStore& store) {
        PrepareOldPlacesBar(store);
        PutValue(store, std::string(kPlacesBarKey) + "\\Sub\\Deeper", "x", Sz("1"));
        PutValue(store, std::string(kPlacesBarKey) + "\\Other", "y", Sz("2"));
    };
    const Act act = [] { EXPECT_TRUE(WritePlacesBar(nullptr)); };
    const std::string parent = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\comdlg32";

    Expectation e = PlacesBarValues();
    e.Record(prepare, act);

    Sweep(prepare, act, [&](const FaultRun& run) {
        if (run.failedIndex < UndoKeepingCalls(run.cleanCalls)) {
            ExpectUndoKeepingFault(run, e);
            return;
        }
        // Never reported as done while the key is still there.
        if (!run.outcome.raised) {
            EXPECT_FALSE(KeyExistsIn(run.store, kPlacesBarKey));
        } else {
            EXPECT_EQ(run.outcome.text, FormatText(msg::kCannotDeleteKey, kPlacesBarKey));
        }
        EXPECT_TRUE(KeyExistsIn(run.store, parent));
    });
}

} // namespace
} // namespace velbrook::testing

// Every store call of applying a scheme, made to fail once.
#include <gtest/gtest.h>

#include "core/places_bar.h"
#include "core/schemes.h"
#include "fault_sweep.h"
#include "support/errors.h"
#include "support/messages.h"
#include "support/registry.h"
#include "testlib/active_store_scope.h"
#include "testlib/scripted_dialogs.h"

namespace velbrook::testing {
namespace {

TEST(FaultSweep, ApplyScheme) {
    const Prepare prepare = [](MemoryRegistryStore& store) {
        PrepareStoredSchemes(store);
        PrepareOldPlacesBar(store);
    };
    testing::ScriptedDialogs dialogs;
    testing::DialogsScope dialogsScope(dialogs);
    bool applied = false;
    std::size_t messagesBefore = 0;
    const Act act = [&] {
        applied = false;
        messagesBefore = dialogs.messages.size();
        applied = ApplyScheme("OLD3");
    };
    Expectation bar = PlacesBarValues();
    bar.Record(prepare, act);
    ASSERT_TRUE(applied);
    ASSERT_EQ(bar.after.at(std::string(kPlacesBarKey) + "|Place0"), Sz("old31"));
    Expectation schemes = SchemeValues();
    schemes.Record(prepare, act);
    ASSERT_EQ(schemes.after, schemes.before);

    Sweep(prepare, act, [&](const FaultRun& run) {
        // Applying never changes the stored schemes.
        EXPECT_EQ(schemes.Take(run.store), schemes.before);
        EXPECT_TRUE(KeyExistsIn(run.store, EntryKey(1) + "\\Add"));
        // A change of the places bar goes through whole or not at all.
        if (run.outcome.raised) {
            EXPECT_FALSE(applied);
            EXPECT_EQ(bar.Take(run.store), bar.before);
            return;
        }
        if (!applied) {
            // Not found: told so, and the places bar is untouched.
            ASSERT_EQ(dialogs.messages.size(), messagesBefore + 1);
            EXPECT_EQ(dialogs.messages.back().text, FormatText(msg::kSchemeNotFound, "OLD3"));
            EXPECT_EQ(bar.Take(run.store), bar.before);
            return;
        }
        // A place that does not answer is raised, never read as empty.
        EXPECT_FALSE(run.failed.op == RegOp::Query && run.failed.path == EntryKey(3));
        EXPECT_EQ(bar.Take(run.store), bar.after);
    });
}

} // namespace
} // namespace velbrook::testing

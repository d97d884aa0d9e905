// Every store call of saving the schemes, made to fail once.
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

OrderedSchemeList SchemesToSave() {
    OrderedSchemeList list;
    list.Add("Home", std::make_unique<PlacesList>(PlacesList{"C:\\Users", "", "", "", ""}));
    list.Add("Work",
             std::make_unique<PlacesList>(PlacesList{"C:\\Projects", "D:\\Docs", " x ", "", ""}));
    list.Add("Short", std::make_unique<PlacesList>(PlacesList{"a", "b", "c"}));
    return list;
}

TEST(FaultSweep, SaveSchemes) {
    const Prepare prepare = PrepareStoredSchemes;
    const Act act = [] {
        const OrderedSchemeList list = SchemesToSave();
        SaveSchemes(list);
    };
    Expectation e = SchemeValues();
    e.Record(prepare, act);
    ASSERT_EQ(e.after.at(kSchemesKey + "|Count"), Dword(3));
    ASSERT_EQ(e.after.at(EntryKey(2) + "|4"), std::nullopt);

    Sweep(prepare, act, [&](const FaultRun& run) {
        if (RemovesPendingEdits(run.failed)) {
            EXPECT_FALSE(run.outcome.raised) << run.outcome.text;
            EXPECT_EQ(e.Take(run.store), e.after);
            return;
        }
        switch (run.failed.op) {
        case RegOp::Create:
            if (run.failed.path.empty() || run.failed.path == kProgramKey) {
                // The program key or the scheme key: nothing is written.
                EXPECT_EQ(run.outcome.text, FormatText(msg::kCannotOpenOrCreateKey, kSchemesKey));
                EXPECT_EQ(e.Take(run.store), e.before);
            } else {
                // An entry key that cannot be opened or created stops the save,
                // naming the key; the entries before it stay written.
                const std::string entry = run.failed.path + "\\" + run.failed.name;
                EXPECT_FALSE(run.outcome.registryError);
                EXPECT_EQ(run.outcome.text, FormatText(msg::kCannotOpenOrCreateKey, entry));
                ExpectPrefixWritten(run, e);
            }
            break;
        default:
            EXPECT_TRUE(CheckedWriteFault(run, e)) << "unexpected call";
        }
    });
}

// Whatever call fails, no entry is written below HKEY_CURRENT_USER itself, and
// a save that does not raise has written everything.
TEST(FaultSweep, SaveSchemesNeverWritesOutsideItsKey) {
    const Act act = [] {
        const OrderedSchemeList list = SchemesToSave();
        SaveSchemes(list);
    };
    Expectation e = SchemeValues();
    e.Record(PrepareStoredSchemes, act);
    Sweep(PrepareStoredSchemes, act, [&](const FaultRun& run) {
        for (const char* stray : {"0", "1", "2"})
            EXPECT_FALSE(KeyExistsIn(run.store, stray)) << stray;
        if (!run.outcome.raised && run.failed.op != RegOp::DeleteValue) {
            EXPECT_EQ(e.Take(run.store), e.after);
        }
    });
}

} // namespace
} // namespace velbrook::testing

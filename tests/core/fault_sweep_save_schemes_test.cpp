// Every store call of saving the schemes, made to fail once.
#include <gtest/gtest.h>

#include "core/places_bar.h"
#include "core/scheme_edits.h"
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

// The stored schemes as every reader sees them, in order.
std::vector<std::string> ReadBack(MemoryRegistryStore& store) {
    const ActiveStoreScope scope(store);
    OrderedSchemeList list;
    LoadSchemes(list, {.consumePendingEdits = false});
    std::vector<std::string> names;
    for (int i = 0; i < list.Count(); ++i)
        names.push_back(list.Name(i) + "|" + list.Places(i).front());
    return names;
}

// Whichever call fails (as when the process ends there), the store reads as it
// was before the save or as it is after it; the next save finishes a removal
// that was broken off.
TEST(FaultSweep, SavingSchemeEditsIsOneStep) {
    const Act act = [] {
        SaveSchemeEdits({{{"New", {"C:\\New", "", "", "", ""}}}, {{2, "Old2"}, {0, "Old0"}}});
    };
    const Act next = [] { SaveSchemeEdits({{{"Next", {"x"}}}, {}}); };
    const auto then = [](MemoryRegistryStore& store, const Act& step) {
        const ActiveStoreScope scope(store);
        step();
        return ReadBack(store);
    };
    MemoryRegistryStore clean;
    PrepareStoredSchemes(clean);
    const std::vector<std::string> before = ReadBack(clean);
    const std::vector<std::string> after = then(clean, act);
    const std::vector<std::string> afterNext = then(clean, next);
    ASSERT_EQ(after.size(), before.size() - 1);
    ASSERT_EQ(after.back(), "New|C:\\New");
    Sweep(PrepareStoredSchemes, act, [&](const FaultRun& run) {
        const std::vector<std::string> now = ReadBack(run.store);
        EXPECT_TRUE(now == before || now == after) << run.failedIndex;
        EXPECT_TRUE(now != after || then(run.store, next) == afterNext) << run.failedIndex;
    });
}

} // namespace
} // namespace velbrook::testing

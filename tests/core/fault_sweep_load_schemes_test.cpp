// Every store call of loading the schemes, made to fail once.
#include <gtest/gtest.h>

#include "core/places_bar.h"
#include "core/schemes.h"
#include "fault_sweep.h"
#include "support/errors.h"
#include "support/messages.h"
#include "support/registry.h"
#include "testlib/active_store_scope.h"

#include <algorithm>
#include <vector>

namespace velbrook::testing {
namespace {

struct Loaded {
    std::string name;
    PlacesList places;
    bool operator==(const Loaded&) const = default;
};

std::vector<Loaded> Entries(const SchemeList& list) {
    std::vector<Loaded> entries;
    for (int i = 0; i < list.Count(); ++i)
        entries.push_back({list.Name(i), list.Places(i)});
    return entries;
}

// got is expected with at most one entry changed or left out, or cut off after it.
bool AtMostOneEntryDamaged(const std::vector<Loaded>& got, const std::vector<Loaded>& expected) {
    std::size_t i = 0;
    while (i < got.size() && i < expected.size() && got[i] == expected[i])
        ++i;
    if (i == got.size())
        return got.size() <= expected.size();
    const auto sameFrom = [&](std::size_t g, std::size_t x) {
        return x <= expected.size() && got.size() - g == expected.size() - x &&
               std::equal(got.begin() + g, got.end(), expected.begin() + x);
    };
    const bool cutAfter = i + 1 == got.size() && got.size() <= expected.size();
    return cutAfter || sameFrom(i + 1, i + 1) || sameFrom(i, i + 1);
}

bool AllowedLoadError(const Outcome& outcome) {
    const std::vector<std::string> allowed = {
        FormatText(msg::kRegGetDataFailed, "Count"),
        FormatText(msg::kRegInvalidDataType, "Count"),
        FormatText(msg::kListIndexOutOfBounds, 0LL),
        FormatText(msg::kCannotOpenOrCreateKey, std::string(kProgramKey) + "\\" + kSchemesSubkey),
    };
    for (const auto& text : allowed)
        if (outcome.text == text)
            return true;
    // A value of an entry that could be sized but not read.
    return outcome.text.rfind("Failed to get data for '", 0) == 0;
}

void SweepLoadSchemes(const SchemeLoadOptions& options) {
    std::vector<Loaded> cleanEntries;
    std::string reported; // what a load that skips damage reports
    const auto load = [&](std::vector<Loaded>& out) {
        OrderedSchemeList list;
        struct Keep {
            OrderedSchemeList& list;
            std::vector<Loaded>& out;
            ~Keep() { out = Entries(list); }
        } keep{list, out};
        reported.clear();
        reported = LoadSchemes(list, options);
    };
    {
        MemoryRegistryStore store;
        PrepareStoredSchemes(store);
        ActiveStoreScope scope(store);
        load(cleanEntries);
    }
    ASSERT_EQ(cleanEntries.size(), 5u);
    ASSERT_EQ(cleanEntries[1].places.back(), "added");

    std::vector<Loaded> entries;
    Sweep(
        PrepareStoredSchemes, [&] { load(entries); },
        [&](const FaultRun& run) {
            if (run.outcome.raised) {
                EXPECT_TRUE(AllowedLoadError(run.outcome)) << run.outcome.text;
            }
            switch (run.failed.op) {
            case RegOp::Create:
                // Program or scheme key: silently nothing.
                EXPECT_FALSE(run.outcome.raised) << run.outcome.text;
                EXPECT_TRUE(entries.empty());
                return;
            case RegOp::Set:
            case RegOp::DeleteValue:
            case RegOp::DeleteKey:
            case RegOp::QueryInfo:
            case RegOp::EnumKey:
            case RegOp::Close:
                // Failures while listing the entry keys or removing pending
                // edits must not change what is loaded.
                EXPECT_FALSE(run.outcome.raised) << run.outcome.text;
                EXPECT_EQ(entries, cleanEntries);
                return;
            default:
                break;
            }
            if (run.failed.op == RegOp::Query) {
                // A value that does not answer is an error, never a missing value.
                EXPECT_TRUE(run.outcome.raised || options.skipDamagedEntries);
                if (run.failed.name == "Count") {
                    EXPECT_EQ(options.skipDamagedEntries ? reported : run.outcome.text,
                              FormatText(msg::kRegGetDataFailed, "Count"));
                    EXPECT_TRUE(entries.empty());
                    return;
                }
            }
            // A failed open or query damages or drops at most the entry it
            // hit; the others are loaded as they are stored.
            EXPECT_TRUE(AtMostOneEntryDamaged(entries, cleanEntries));
            if (!run.outcome.raised && !options.skipDamagedEntries) {
                EXPECT_EQ(entries.size(), cleanEntries.size());
            }
        });
}

TEST(FaultSweep, LoadSchemesForTheWindow) {
    SweepLoadSchemes({.consumePendingEdits = true, .skipDamagedEntries = true});
}

TEST(FaultSweep, LoadSchemesStoppingAtADamagedEntry) {
    SweepLoadSchemes({.consumePendingEdits = true, .skipDamagedEntries = false});
}

TEST(FaultSweep, LoadSchemesKeepingPendingEdits) {
    SweepLoadSchemes({.consumePendingEdits = false, .skipDamagedEntries = false});
}

} // namespace
} // namespace velbrook::testing

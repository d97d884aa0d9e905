// Every store call of a change of the places bar, made to fail once: a change
// either goes through whole, with what the bar held kept for undoing, or leaves
// the bar and the kept copy exactly as they were.
#include <gtest/gtest.h>

#include "core/places_bar.h"
#include "core/places_undo.h"
#include "fault_sweep.h"
#include "testlib/active_store_scope.h"

namespace velbrook::testing {
namespace {

const PlacesList kSweptPlaces = {"  D:\\Work  ", "", "C:\\Data", " \t ", "E:\\"};
const PlacesList kSweptEarlierPlaces = {"F:\\Earlier"};

// The bar and the copy in force, read with the store's faults cleared.
struct BarAndUndo {
    PlacesBarTree bar;
    std::optional<PlacesBarTree> undo;

    bool operator==(const BarAndUndo& other) const {
        if (!undo || !other.undo)
            return !undo && !other.undo && SamePlacesBar(bar, other.bar);
        return SamePlacesBar(bar, other.bar) && SamePlacesBar(*undo, *other.undo);
    }
};

void PrintSweptTree(const RegTree& tree, std::ostream* out) {
    *out << "{";
    for (const auto& [name, value] : tree.values) {
        *out << name << "=" << value.type << ":";
        for (std::uint8_t byte : value.data)
            *out << (byte >= 32 && byte < 127 ? static_cast<char>(byte) : '.');
        *out << " ";
    }
    for (const auto& [name, subtree] : tree.subkeys) {
        *out << name << "\\";
        PrintSweptTree(subtree, out);
    }
    *out << "}";
}

void PrintSweptBar(const PlacesBarTree& bar, std::ostream* out) {
    if (bar)
        PrintSweptTree(*bar, out);
    else
        *out << "no key";
}

void PrintTo(const BarAndUndo& kept, std::ostream* out) {
    *out << "bar ";
    PrintSweptBar(kept.bar, out);
    *out << ", undo ";
    if (kept.undo)
        PrintSweptBar(*kept.undo, out);
    else
        *out << "nothing";
}

BarAndUndo ReadBarAndUndo(MemoryRegistryStore& store) {
    const ActiveStoreScope scope(store);
    return {ReadPlacesBarTree(), KeptForUndo()};
}

// Old places with a foreign value and subkeys, reached by a change that left a
// copy of an earlier bar for undoing.
void PrepareChangedBar(MemoryRegistryStore& store) {
    {
        const ActiveStoreScope scope(store);
        WritePlacesBar(&kSweptEarlierPlaces);
    }
    PrepareOldPlacesBar(store);
    PutValue(store, std::string(kPlacesBarKey) + "\\Sub\\Deeper", "x", Sz("1"));
    PutValue(store, std::string(kPlacesBarKey) + "\\Other", "y", Dword(2));
}

TEST(FaultSweep, ChangesOfThePlacesBarGoThroughWholeOrNotAtAll) {
    const std::pair<const char*, Act> changes[] = {
        {"a list", [] { WritePlacesBar(&kSweptPlaces); }},
        {"the defaults", [] { WritePlacesBar(nullptr); }},
        {"an undo", [] { UndoPlacesBarChange(); }},
    };
    for (const auto& [what, act] : changes) {
        SCOPED_TRACE(what);
        MemoryRegistryStore recorded;
        PrepareChangedBar(recorded);
        const BarAndUndo before = ReadBarAndUndo(recorded);
        {
            const ActiveStoreScope scope(recorded);
            act();
        }
        const BarAndUndo after = ReadBarAndUndo(recorded);
        ASSERT_FALSE(SamePlacesBar(after.bar, before.bar));
        ASSERT_EQ(after, (BarAndUndo{after.bar, before.bar}));

        Sweep(PrepareChangedBar, act, [&](const FaultRun& run) {
            const BarAndUndo now = ReadBarAndUndo(run.store);
            EXPECT_EQ(now, run.outcome.raised ? before : after) << run.outcome.text;
        });
    }
}

} // namespace
} // namespace velbrook::testing

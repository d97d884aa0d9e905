#pragma once
// What the window changed in its scheme list, written into the store as it is
// when the window saves: schemes that others stored meanwhile stay, and so does
// the order of the store. Each save is one step for a reader of the store: a
// process ended at any moment leaves the schemes as they were before the save
// or as they are after it.
//
// Added schemes are written beyond "Count", where nobody reads, and come into
// the store when "Count" grows. A removal first writes the entry keys it takes
// away into the value "Removing"; from then on readers leave those out, and
// the entry keys that remain close up by renaming, in order. A removal broken
// off is finished by the next save.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/places_bar.h"
#include "core/schemes.h"
#include "support/registry.h"

namespace velbrook {

// A stored scheme: its entry key when the list was loaded, and its name.
struct StoredScheme {
    int index;
    std::string name;
};

struct SchemeEdits {
    struct Added {
        std::string name;
        PlacesList places;
    };
    std::vector<Added> added;
    std::vector<StoredScheme> deleted;

    bool Empty() const { return added.empty() && deleted.empty(); }
};

// The schemes of a loaded list as they came from the store.
std::vector<StoredScheme> StoredSchemesOf(const OrderedSchemeList& list);
// What the list changed since it was loaded with those schemes: the schemes it
// gained, in the order they were added, and the stored ones it lost.
SchemeEdits EditsSince(const std::vector<StoredScheme>& loaded, const OrderedSchemeList& list);

// Under the user's change lock: each added scheme is appended; each deleted one
// is removed where it still is (its entry key, else the first of exactly that
// name), or not at all when another program removed it. Raises when the store
// cannot be written; what is stored then is the state before the save or after it.
void SaveSchemeEdits(const SchemeEdits& edits);

// While a removal is under way, the entry keys below the open scheme key that
// hold the stored schemes, in order (a missing one is no damage then); nullopt
// otherwise, when they are 0 to "Count" - 1.
std::optional<std::vector<int>> EntriesOfRemoval(RegistryCursor& registry);
// Calls `visit` with each entry key that holds a stored scheme, in order (0 to
// count - 1, or those of a removal under way), until it returns false.
void ForEachStoredEntry(RegistryCursor& registry, int count,
                        const std::function<bool(int index)>& visit);

} // namespace velbrook

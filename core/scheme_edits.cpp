#include "core/scheme_edits.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "core/scheme_keys.h"
#include "support/change_lock.h"
#include "support/errors.h"
#include "support/messages.h"

namespace velbrook {

namespace {

// REG_BINARY: the number of entry keys that the removal looks at, then the
// entry keys that it takes away, each four bytes, low byte first. Once it names
// none, the entry keys that are left close up.
constexpr char kRemovingValue[] = "Removing";

struct Removal {
    int bound = 0;
    std::vector<int> removed;
};

RegValue RemovalValue(const Removal& removal) {
    RegValue value{kRegBinary, {}};
    const auto put = [&](int number) {
        const auto bits = static_cast<std::uint32_t>(number);
        for (int shift = 0; shift < 32; shift += 8)
            value.data.push_back(static_cast<std::uint8_t>(bits >> shift));
    };
    put(removal.bound);
    for (const int index : removal.removed)
        put(index);
    return value;
}

// nullopt when no removal is under way, or its value is not one (left alone).
std::optional<Removal> ReadRemoval(RegistryCursor& registry) {
    const std::optional<RegValue> value = registry.ReadValueIfExists(kRemovingValue);
    if (!value || value->type != kRegBinary || value->data.empty() || value->data.size() % 4 != 0)
        return std::nullopt;
    std::vector<int> numbers;
    for (std::size_t at = 0; at < value->data.size(); at += 4) {
        const auto& d = value->data;
        const std::uint32_t number = d[at] | (d[at + 1] << 8) | (d[at + 2] << 16) |
                                     (static_cast<std::uint32_t>(d[at + 3]) << 24);
        if (number > 0x7FFFFFFF)
            return std::nullopt;
        numbers.push_back(static_cast<int>(number));
    }
    return Removal{numbers.front(), {numbers.begin() + 1, numbers.end()}};
}

// The entry keys below `bound` that exist, ascending.
std::vector<int> ExistingEntryKeys(RegistryCursor& registry, int bound) {
    std::vector<int> indexes;
    if (!ExistingEntries(registry, bound, indexes))
        throw RegistryError(FormatText(msg::kRegGetDataFailed, registry.CurrentPath()));
    return indexes;
}

std::string EntryPath(int index) {
    return SchemesKeyPath() + "\\" + std::to_string(index);
}

// Takes the removed entry keys away, then closes up the ones left, in order,
// and sets the count. Each step may be repeated after a process ended halfway.
void FinishRemoval(ListRegistryCursor& registry) {
    const std::optional<Removal> removal = ReadRemoval(registry);
    if (!removal)
        return;
    if (!removal->removed.empty()) {
        for (const int index : removal->removed) {
            registry.DeleteKey(std::to_string(index));
            if (KeyMayExist(registry.Store(), EntryPath(index).c_str()))
                throw Error(FormatText(msg::kCannotDeleteKey, EntryPath(index)));
        }
        registry.WriteValue(kRemovingValue, RemovalValue({removal->bound, {}}));
    }
    int next = 0;
    for (const int index : ExistingEntryKeys(registry, removal->bound)) {
        if (index != next && !registry.RenameKey(std::to_string(index), std::to_string(next)))
            throw Error(FormatText(msg::kCannotOpenOrCreateKey, EntryPath(next)));
        ++next;
    }
    registry.WriteInteger(kSchemeCountValue, next);
    registry.DeleteValue(kRemovingValue);
}

// The entry key of a deleted scheme in the store as it is now: the one it had,
// if that still holds exactly that name, else the first that does; nullopt
// when none does (another program removed or renamed it).
std::optional<int> FindDeleted(ListRegistryCursor& registry, int count, const StoredScheme& deleted,
                               const std::vector<int>& taken) {
    const auto holds = [&](int index) {
        if (std::find(taken.begin(), taken.end(), index) != taken.end())
            return false;
        const std::optional<std::string> name = registry.ReadFirstListItem(std::to_string(index));
        // An entry that cannot be read stops the save: it may be the one.
        if (!name && KeyMayExist(registry.Store(), EntryPath(index).c_str()))
            throw ListIndexError(
                FormatText(msg::kListIndexOutOfBounds, static_cast<long long>(index)));
        return name && *name == deleted.name;
    };
    if (deleted.index >= 0 && deleted.index < count && holds(deleted.index))
        return deleted.index;
    for (int index = 0; index < count; ++index) {
        if (index != deleted.index && holds(index))
            return index;
    }
    return std::nullopt;
}

} // namespace

std::vector<StoredScheme> StoredSchemesOf(const OrderedSchemeList& list) {
    std::vector<StoredScheme> stored;
    for (int index = 0; index < list.Count(); ++index) {
        if (list.StoredIndex(index) >= 0)
            stored.push_back({list.StoredIndex(index), list.Name(index)});
    }
    return stored;
}

void ForEachStoredEntry(RegistryCursor& registry, int count,
                        const std::function<bool(int index)>& visit) {
    if (const std::optional<std::vector<int>> entries = EntriesOfRemoval(registry)) {
        for (const int index : *entries) {
            if (!visit(index))
                return;
        }
        return;
    }
    for (int index = 0; index < count; ++index) {
        if (!visit(index))
            return;
    }
}

SchemeEdits EditsSince(const std::vector<StoredScheme>& loaded, const OrderedSchemeList& list) {
    SchemeEdits edits;
    std::vector<int> kept;
    for (int index = 0; index < list.Count(); ++index) {
        if (list.StoredIndex(index) >= 0)
            kept.push_back(list.StoredIndex(index));
        else
            edits.added.push_back({list.Name(index), list.Places(index)});
    }
    for (const StoredScheme& scheme : loaded) {
        if (std::find(kept.begin(), kept.end(), scheme.index) == kept.end())
            edits.deleted.push_back(scheme);
    }
    return edits;
}

std::optional<std::vector<int>> EntriesOfRemoval(RegistryCursor& registry) {
    const std::optional<Removal> removal = ReadRemoval(registry);
    if (!removal)
        return std::nullopt;
    std::vector<int> entries;
    for (const int index : ExistingEntryKeys(registry, removal->bound)) {
        if (std::find(removal->removed.begin(), removal->removed.end(), index) ==
            removal->removed.end())
            entries.push_back(index);
    }
    return entries;
}

void SaveSchemeEdits(const SchemeEdits& edits) {
    if (edits.Empty())
        return;
    const PlacesBarChangeLock lock;
    ListRegistryCursor registry;
    if (!OpenSchemesKey(registry, KeyMode::Create))
        throw Error(FormatText(msg::kCannotOpenOrCreateKey, SchemesKeyPath()));
    FinishRemoval(registry);
    const int count = StoredCount(registry);
    Removal removal{count, {}};
    for (const StoredScheme& deleted : edits.deleted) {
        if (const std::optional<int> index = FindDeleted(registry, count, deleted, removal.removed))
            removal.removed.push_back(*index);
    }
    // Beyond the count nobody reads: what an earlier save left there goes first.
    for (const SchemeEdits::Added& added : edits.added) {
        const int index = removal.bound++;
        registry.DeleteKey(std::to_string(index));
        StringList entry{added.name};
        entry.insert(entry.end(), added.places.begin(), added.places.end());
        if (!registry.WriteStringList(std::to_string(index), &entry))
            throw Error(FormatText(msg::kCannotOpenOrCreateKey, EntryPath(index)));
    }
    if (removal.removed.empty()) {
        if (removal.bound != count)
            registry.WriteInteger(kSchemeCountValue, removal.bound);
        return;
    }
    registry.WriteValue(kRemovingValue, RemovalValue(removal));
    FinishRemoval(registry);
}

} // namespace velbrook

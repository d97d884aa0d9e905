#include "core/schemes.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "support/dialogs.h"
#include "support/errors.h"
#include "support/locale_text.h"
#include "support/messages.h"
#include "core/scheme_edits.h"
#include "core/scheme_keys.h"
#include "support/registry.h"

namespace velbrook {

std::string SchemesKeyPath() {
    return std::string(kProgramKey) + "\\" + kSchemesSubkey;
}

bool OpenSchemesKey(RegistryCursor& registry, KeyMode mode) {
    if (mode == KeyMode::Create)
        return registry.OpenKey(kProgramKey, KeyMode::Create) &&
               registry.OpenKey(kSchemesSubkey, KeyMode::Create);
    return registry.OpenExistingKey(SchemesKeyPath(), mode);
}

int StoredCount(RegistryCursor& registry) {
    const int count = registry.ReadIntegerIfExists(kSchemeCountValue).value_or(0);
    if (count < 0)
        throw ListIndexError(FormatText(msg::kListIndexOutOfBounds, static_cast<long long>(count)));
    return count;
}

// The indexes below `count` that name an existing entry key (canonical decimal
// names only), ascending. False when the keys cannot be listed.
bool ExistingEntries(RegistryCursor& registry, int count, std::vector<int>& indexes) {
    indexes.clear();
    std::vector<std::string> names;
    if (!registry.GetKeyNames(names))
        return false;
    for (const std::string& name : names) {
        if (name.empty() || name.size() > 10 || (name.size() > 1 && name[0] == '0') ||
            name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        const long long index = std::stoll(name);
        if (index < count)
            indexes.push_back(static_cast<int>(index));
    }
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    return true;
}

namespace {

std::string MissingEntryText() {
    return FormatText(msg::kListIndexOutOfBounds, 0LL);
}

// An entry key's list is the scheme's name followed by its places; an empty or
// missing list raises.
std::string ReadEntry(ListRegistryCursor& registry, int index, PendingEdits pending,
                      PlacesList& places) {
    registry.ReadStringList(std::to_string(index), &places, pending);
    if (places.empty())
        throw ListIndexError(MissingEntryText());
    std::string name = std::move(places.front());
    places.erase(places.begin());
    return name;
}

void LoadEntry(ListRegistryCursor& registry, int index, PendingEdits pending, SchemeList& schemes) {
    auto places = std::make_unique<PlacesList>();
    const std::string name = ReadEntry(registry, index, pending, *places);
    schemes.Add(name, std::move(places), index);
}

} // namespace

std::string OrderedSchemeList::Name(int index) const {
    return entries_[Checked(index)].name;
}

const PlacesList& OrderedSchemeList::Places(int index) const {
    static const PlacesList detached;
    const auto& places = entries_[Checked(index)].places;
    return places ? *places : detached;
}

void OrderedSchemeList::Add(const std::string& name, std::unique_ptr<PlacesList> places,
                            int storedIndex) {
    if (!places)
        places = std::make_unique<PlacesList>();
    entries_.push_back({name, std::move(places), storedIndex});
}

std::unique_ptr<PlacesList> OrderedSchemeList::DetachPlaces(int index) {
    return std::move(entries_[Checked(index)].places);
}

void OrderedSchemeList::Remove(int index) {
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(Checked(index)));
}

std::size_t OrderedSchemeList::Checked(int index) const {
    if (index < 0 || index >= Count())
        throw ListIndexError(FormatText(msg::kListIndexOutOfBounds, static_cast<long long>(index)));
    return static_cast<std::size_t>(index);
}

namespace {

// Without the names of the entry keys, the walk goes up to the count and gives
// up only after this many entries in a row could not be read: a count far above
// the entries that exist costs little.
constexpr int kFailuresBeforeGivingUp = 64;

// Loads what can be read; the message of the lowest entry that could not be
// read is returned. Only the entry keys that exist are tried, so a damaged
// "Count" costs nothing.
std::string LoadSkippingDamaged(ListRegistryCursor& registry, int count, PendingEdits pending,
                                SchemeList& schemes) {
    std::string firstFailure;
    const auto note = [&](const std::string& text) {
        if (firstFailure.empty())
            firstFailure = text;
    };
    const auto tryEntry = [&](int index) {
        try {
            LoadEntry(registry, index, pending, schemes);
            return true;
        } catch (const Error& error) {
            note(error.what());
            return false;
        }
    };
    if (const std::optional<std::vector<int>> entries = EntriesOfRemoval(registry)) {
        for (const int index : *entries)
            tryEntry(index);
        return firstFailure;
    }
    std::vector<int> indexes;
    if (!ExistingEntries(registry, count, indexes)) {
        for (int index = 0, failuresInARow = 0;
             index < count && failuresInARow < kFailuresBeforeGivingUp; ++index)
            failuresInARow = tryEntry(index) ? 0 : failuresInARow + 1;
        return firstFailure;
    }
    int expected = 0;
    for (const int index : indexes) {
        if (index > expected)
            note(MissingEntryText());
        expected = index + 1;
        tryEntry(index);
    }
    if (expected < count)
        note(MissingEntryText());
    return firstFailure;
}

std::string LoadSchemesWith(ListRegistryCursor& registry, SchemeList& schemes,
                            const SchemeLoadOptions& options) {
    // Reading creates nothing; consuming pending edits deletes them.
    const KeyMode mode = options.consumePendingEdits ? KeyMode::Write : KeyMode::Read;
    if (!OpenSchemesKey(registry, mode))
        return {};
    const PendingEdits pending =
        options.consumePendingEdits ? PendingEdits::Consume : PendingEdits::Keep;
    if (options.skipDamagedEntries) {
        int count = 0;
        try {
            count = StoredCount(registry);
        } catch (const Error& error) {
            return error.what();
        }
        return LoadSkippingDamaged(registry, count, pending, schemes);
    }
    ForEachStoredEntry(registry, StoredCount(registry), [&](int index) {
        LoadEntry(registry, index, pending, schemes);
        return true;
    });
    return {};
}

} // namespace

std::string LoadSchemes(SchemeList& schemes, const SchemeLoadOptions& options) {
    ListRegistryCursor registry;
    return LoadSchemesWith(registry, schemes, options);
}

void SaveSchemes(const SchemeList& schemes) {
    ListRegistryCursor registry;
    if (!OpenSchemesKey(registry, KeyMode::Create))
        throw Error(FormatText(msg::kCannotOpenOrCreateKey, SchemesKeyPath()));
    registry.WriteInteger(kSchemeCountValue, schemes.Count());
    for (int index = 0; index < schemes.Count(); ++index) {
        StringList entry{schemes.Name(index)};
        const PlacesList& places = schemes.Places(index);
        entry.insert(entry.end(), places.begin(), places.end());
        const std::string key = std::to_string(index);
        if (!registry.WriteStringList(key, &entry))
            throw Error(FormatText(msg::kCannotOpenOrCreateKey, SchemesKeyPath() + "\\" + key));
    }
}

namespace {

// The places of the first stored scheme of that name. Only the names are read
// on the way to it; pending edits stay for the window to merge and save.
std::optional<PlacesList> FindStoredScheme(const std::string& name) {
    ListRegistryCursor registry;
    if (!OpenSchemesKey(registry, KeyMode::Read))
        return std::nullopt;
    std::optional<PlacesList> found;
    ForEachStoredEntry(registry, StoredCount(registry), [&](int index) {
        const std::optional<std::string> stored = registry.ReadFirstListItem(std::to_string(index));
        if (!stored)
            throw ListIndexError(MissingEntryText());
        if (!SameTextIgnoreCase(*stored, name))
            return true;
        found.emplace();
        ReadEntry(registry, index, PendingEdits::Keep, *found);
        return false;
    });
    return found;
}

} // namespace

bool ApplyScheme(const std::string& name) {
    if (const std::optional<PlacesList> places = FindStoredScheme(name)) {
        WritePlacesBar(&*places);
        return true;
    }
    ShowMessageBoxFmt(msg::kSchemeNotFound, name, msg::kCaptionError, kMbOk | kMbIconExclamation,
                      0);
    return false;
}

} // namespace velbrook

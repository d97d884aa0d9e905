#include "core/schemes.h"

#include "support/dialogs.h"
#include "support/errors.h"
#include "support/locale_text.h"
#include "support/messages.h"
#include "support/registry.h"

namespace velbrook {

namespace {

constexpr char kCountValue[] = "Count";

std::string SchemesKeyPath() {
    return std::string(kProgramKey) + "\\" + kSchemesSubkey;
}

bool OpenSchemesKey(TExRegistry& registry) {
    return registry.OpenKey(kProgramKey, true) && registry.OpenKey(kSchemesSubkey, true);
}

int StoredCount(TExRegistry& registry) {
    if (!registry.ValueExists(kCountValue))
        return 0;
    return registry.ReadInteger(kCountValue);
}

// One past the highest entry key that exists below `count`: no entry can be read
// beyond it, however large a damaged "Count" claims the store to be. When the
// keys cannot be listed, every entry up to `count` is tried.
int EntryLimit(TExRegistry& registry, int count) {
    std::vector<std::string> names;
    if (!registry.GetKeyNames(names))
        return count;
    int limit = 0;
    for (const std::string& name : names) {
        if (name.empty() || name.size() > 10 || (name.size() > 1 && name[0] == '0') ||
            name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        const long long index = std::stoll(name);
        if (index < count && index >= limit)
            limit = static_cast<int>(index) + 1;
    }
    return limit;
}

void LoadEntry(TExRegistry& registry, int index, PendingEdits pending, SchemeList& schemes) {
    auto places = std::make_unique<PlacesList>();
    registry.ReadStringList(std::to_string(index), places.get(), pending);
    if (places->empty())
        throw EListError(FormatText(msg::kListIndexOutOfBounds, 0LL));
    std::string name = std::move(places->front());
    places->erase(places->begin());
    schemes.Add(name, std::move(places));
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

void OrderedSchemeList::Add(const std::string& name, std::unique_ptr<PlacesList> places) {
    if (!places)
        places = std::make_unique<PlacesList>();
    entries_.push_back({name, std::move(places)});
}

std::unique_ptr<PlacesList> OrderedSchemeList::DetachPlaces(int index) {
    return std::move(entries_[Checked(index)].places);
}

std::size_t OrderedSchemeList::Checked(int index) const {
    if (index < 0 || index >= Count())
        throw EListError(FormatText(msg::kListIndexOutOfBounds, static_cast<long long>(index)));
    return static_cast<std::size_t>(index);
}

std::string LoadSchemes(SchemeList& schemes, const SchemeLoadOptions& options) {
    TExRegistry registry;
    if (!OpenSchemesKey(registry))
        return {};
    const PendingEdits pending =
        options.consumePendingEdits ? PendingEdits::Consume : PendingEdits::Keep;
    std::string firstFailure;
    const int count = StoredCount(registry);
    const int limit = options.skipDamagedEntries ? EntryLimit(registry, count) : count;
    for (int index = 0; index < limit; ++index) {
        if (!options.skipDamagedEntries) {
            LoadEntry(registry, index, pending, schemes);
            continue;
        }
        try {
            LoadEntry(registry, index, pending, schemes);
        } catch (const Error& error) {
            if (firstFailure.empty())
                firstFailure = error.what();
            // A failed list read can leave the cursor on the entry key or below it.
            registry.CloseKey();
            if (!registry.OpenKey(SchemesKeyPath(), false))
                break;
        }
    }
    if (limit < count && firstFailure.empty())
        firstFailure = FormatText(msg::kListIndexOutOfBounds, 0LL);
    registry.CloseKey();
    return firstFailure;
}

void SaveSchemes(const SchemeList& schemes) {
    TExRegistry registry;
    if (!OpenSchemesKey(registry))
        throw Error(FormatText(msg::kCannotOpenOrCreateKey, SchemesKeyPath()));
    registry.WriteInteger(kCountValue, schemes.Count());
    for (int index = 0; index < schemes.Count(); ++index) {
        StringList entry{schemes.Name(index)};
        const PlacesList& places = schemes.Places(index);
        entry.insert(entry.end(), places.begin(), places.end());
        registry.WriteStringList(std::to_string(index), &entry);
    }
    registry.CloseKey();
}

void FreeSchemes(SchemeList& schemes) {
    for (int index = 0; index < schemes.Count(); ++index)
        schemes.DetachPlaces(index).reset();
    schemes.Clear();
}

bool ApplyScheme(const std::string& name) {
    OrderedSchemeList schemes;
    // Nothing is saved here, so pending edits must stay for the window to merge and save.
    LoadSchemes(schemes, {.consumePendingEdits = false, .skipDamagedEntries = false});
    for (int index = 0; index < schemes.Count(); ++index) {
        if (SameTextIgnoreCase(schemes.Name(index), name)) {
            WritePlacesBar(&schemes.Places(index));
            FreeSchemes(schemes);
            return true;
        }
    }
    FreeSchemes(schemes);
    ShowMessageBoxFmt(msg::kSchemeNotFound, name, msg::kCaptionError, kMbOk | kMbIconExclamation,
                      0);
    return false;
}

} // namespace velbrook

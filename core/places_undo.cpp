#include "core/places_undo.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>

#include "core/schemes.h"
#include "support/code_page.h"
#include "support/errors.h"
#include "support/locale_text.h"
#include "support/messages.h"
#include "support/strings.h"

namespace velbrook {

namespace {

constexpr char kCurrentValue[] = "Current";
constexpr char kPendingValue[] = "Pending";
// Written last in a copy, so that a copy without it holds nothing to undo. The
// undo key itself held one copy this way before it held two.
constexpr char kKeyExistsValue[] = "KeyExists";
constexpr char kTreeSubkey[] = "Key";
// What the change of a pending copy was to leave in the bar: a first byte 0 for
// no key, or 1 followed by the packed tree.
constexpr char kPlannedValue[] = "Planned";
constexpr char kCountValue[] = "Count";

std::string UndoKeyPath() {
    return std::string(kProgramKey) + "\\" + kUndoSubkey;
}

std::optional<std::uint32_t> ReadDword(RegistryCursor& registry, const std::string& name) {
    const std::optional<RegValue> value = registry.ReadValueIfExists(name);
    return value ? DwordOf(*value) : std::nullopt;
}

// The number of a copy as stored in "Current" or "Pending": 1 or 2, else none.
std::optional<int> ReadCopyNumber(RegistryCursor& registry, const char* name) {
    const std::optional<std::uint32_t> number = ReadDword(registry, name);
    if (number == 1u || number == 2u)
        return static_cast<int>(*number);
    return std::nullopt;
}

// Text as the wide registry functions store it, with its NUL.
RegValue TextValue(std::uint32_t type, std::u16string text) {
    text.push_back(u'\0');
    return {type, Utf16Bytes(text)};
}

void OpenUndoKeyForWriting(RegistryCursor& registry) {
    if (!registry.OpenKey(UndoKeyPath(), true))
        throw Error(FormatText(msg::kCannotOpenOrCreateKey, UndoKeyPath()));
}

// False when the subkey of the cursor's key does not exist; raises when it is
// there but cannot be opened.
bool OpenedExisting(const RegistryCursor::SubkeyScope& subkey, RegistryCursor& registry,
                    const std::string& name) {
    if (subkey)
        return true;
    const std::string path = registry.CurrentPath() + "\\" + name;
    if (KeyMayExist(registry.Store(), path.c_str()))
        throw Error(FormatText(msg::kCannotOpenOrCreateKey, path));
    return false;
}

// A copy below the undo key, which is current; nothing for a copy that is
// missing or incomplete.
std::optional<PlacesBarTree> ReadCopy(RegistryCursor& registry, int copy) {
    const std::string name = std::to_string(copy);
    const RegistryCursor::SubkeyScope copyKey(registry, name, false);
    if (!OpenedExisting(copyKey, registry, name))
        return std::nullopt;
    const std::optional<std::uint32_t> keyExists = ReadDword(registry, kKeyExistsValue);
    if (!keyExists)
        return std::nullopt;
    if (*keyExists == 0)
        return PlacesBarTree();
    const RegistryCursor::SubkeyScope treeKey(registry, kTreeSubkey, false);
    if (!OpenedExisting(treeKey, registry, kTreeSubkey))
        return std::nullopt;
    return PlacesBarTree(ReadTree(registry));
}

RegValue PlannedValue(const PlacesBarTree& planned) {
    RegValue value{kRegBinary, {static_cast<std::uint8_t>(planned ? 1 : 0)}};
    if (planned) {
        const std::vector<std::uint8_t> packed = PackTree(*planned);
        value.data.insert(value.data.end(), packed.begin(), packed.end());
    }
    return value;
}

// What the change of a copy below the undo key was to leave; nothing when it
// is not known (a copy of an earlier version, or damaged).
std::optional<PlacesBarTree> ReadPlanned(RegistryCursor& registry, int copy) {
    const std::string name = std::to_string(copy);
    const RegistryCursor::SubkeyScope copyKey(registry, name, KeyMode::Read);
    if (!copyKey)
        return std::nullopt;
    const std::optional<RegValue> value = registry.ReadValueIfExists(kPlannedValue);
    if (!value || value->type != kRegBinary || value->data.empty() || value->data[0] > 1)
        return std::nullopt;
    if (value->data[0] == 0)
        return value->data.size() == 1 ? std::optional(PlacesBarTree()) : std::nullopt;
    std::optional<RegTree> tree =
        UnpackTree(std::vector<std::uint8_t>(value->data.begin() + 1, value->data.end()));
    if (!tree)
        return std::nullopt;
    return PlacesBarTree(std::move(*tree));
}

const std::string& NameOf(const std::pair<std::string, RegValue>& value) {
    return value.first;
}

const std::string& NameOf(const RegSubkey& subkey) {
    return subkey.name;
}

const RegValue& ContentOf(const std::pair<std::string, RegValue>& value) {
    return value.second;
}

const RegTree& ContentOf(const RegSubkey& subkey) {
    return subkey.tree;
}

// The values or the subkeys of the three trees (each may be absent), by their
// names as the registry matches them: each name with its three contents.
template <class Entry, class Content>
std::map<std::string, std::array<const Content*, 3>>
Gathered(const std::array<const std::vector<Entry>*, 3>& trees) {
    std::map<std::string, std::array<const Content*, 3>> named;
    for (std::size_t i = 0; i < trees.size(); ++i) {
        if (trees[i] == nullptr)
            continue;
        for (const Entry& entry : *trees[i])
            named[UpperCaseText(NameOf(entry))][i] = &ContentOf(entry);
    }
    return named;
}

bool SameOrBothAbsent(const RegValue* a, const RegValue* b) {
    return a != nullptr && b != nullptr ? SameValue(*a, *b) : a == b;
}

// Each tree may be absent: no key.
bool LeftByChange(const RegTree* now, const RegTree* before, const RegTree* planned) {
    const auto values = [](const RegTree* tree) { return tree ? &tree->values : nullptr; };
    const auto subkeys = [](const RegTree* tree) { return tree ? &tree->subkeys : nullptr; };
    for (const auto& [name, is] : Gathered<std::pair<std::string, RegValue>, RegValue>(
             {values(now), values(before), values(planned)})) {
        if (!SameOrBothAbsent(is[0], is[1]) && !SameOrBothAbsent(is[0], is[2]))
            return false;
    }
    for (const auto& [name, is] :
         Gathered<RegSubkey, RegTree>({subkeys(now), subkeys(before), subkeys(planned)})) {
        if (!LeftByChange(is[0], is[1], is[2]))
            return false;
    }
    return true;
}

// The one copy that the undo key itself held, of the values the program writes.
std::optional<PlacesBarTree> ReadEarlierCopy(RegistryCursor& registry) {
    const std::optional<std::uint32_t> keyExists = ReadDword(registry, kKeyExistsValue);
    if (!keyExists)
        return std::nullopt;
    if (*keyExists == 0)
        return PlacesBarTree();
    RegTree tree;
    for (int slot = 0; slot <= kPlaceSlots; ++slot) {
        const std::string name = slot < kPlaceSlots ? PlaceValueName(slot) : kCountValue;
        if (const std::optional<RegValue> value = registry.ReadValueIfExists(name))
            tree.values.emplace_back(name, *value);
    }
    return PlacesBarTree(std::move(tree));
}

} // namespace

PlacesBarTree ReadPlacesBarTree() {
    RegistryCursor registry;
    if (!registry.OpenExistingKey(kPlacesBarKey, KeyMode::Read))
        return std::nullopt;
    return ReadTree(registry);
}

void PutPlacesBarTree(const PlacesBarTree& tree, const PlacesBarTree* present) {
    RegistryCursor registry;
    if (!tree) {
        if (!registry.DeleteKey(kPlacesBarKey) && KeyMayExist(registry.Store(), kPlacesBarKey))
            throw Error(FormatText(msg::kCannotDeleteKey, kPlacesBarKey));
        return;
    }
    const long opened = registry.TryOpenKey(kPlacesBarKey, KeyMode::Create);
    if (opened == kRegAccessDenied)
        throw Error(FormatText(msg::kPlacesBarSetByPolicy, kPlacesBarKey));
    if (opened != kRegSuccess)
        throw Error(FormatText(msg::kCannotOpenOrCreateKey, kPlacesBarKey));
    if (present != nullptr)
        PutTree(registry, *tree, present->value_or(RegTree()));
    else
        PutTree(registry, *tree);
}

void CheckPlacesBarWritable() {
    RegistryStore& store = ActiveRegistryStore();
    RegKey key = 0;
    const long result = store.OpenKey(kHkeyCurrentUser, kPlacesBarKey, kKeyChange, &key);
    const RegKeyHandle handle(store, result == kRegSuccess ? key : 0);
    if (result == kRegAccessDenied)
        throw Error(FormatText(msg::kPlacesBarSetByPolicy, kPlacesBarKey));
}

PlacesBarTree TreeAfterWriting(const PlacesBarTree& before, const std::vector<PlaceSlot>& slots) {
    RegTree tree = before.value_or(RegTree());
    for (int slot = 0; slot < kPlaceSlots; ++slot) {
        // A shorter list leaves its missing slots empty.
        const PlaceSlot* given = slot < static_cast<int>(slots.size()) ? &slots[slot] : nullptr;
        const std::string path = given != nullptr ? TrimControl(given->path) : std::string();
        std::optional<RegValue> value;
        if (given != nullptr && given->stored)
            value = given->stored;
        else if (!path.empty())
            value = TextValue(kRegSz, AnsiToUtf16(path));
        SetTreeValue(tree, PlaceValueName(slot), value ? &*value : nullptr);
    }
    const RegValue count = DwordValue(kPlaceSlots);
    SetTreeValue(tree, kCountValue, &count);
    return tree;
}

bool SamePlacesBar(const PlacesBarTree& a, const PlacesBarTree& b) {
    if (!a || !b)
        return !a && !b;
    return SameTree(*a, *b);
}

std::optional<PlacesBarTree> KeptForUndo() {
    RegistryCursor registry;
    if (!registry.OpenExistingKey(UndoKeyPath(), KeyMode::Read))
        return std::nullopt;
    if (!registry.ReadValueIfExists(kCurrentValue))
        return ReadEarlierCopy(registry);
    const std::optional<int> current = ReadCopyNumber(registry, kCurrentValue);
    if (!current)
        return std::nullopt;
    return ReadCopy(registry, *current);
}

int StageForUndo(const PlacesBarTree& before, const PlacesBarTree& planned) {
    RegistryCursor registry;
    OpenUndoKeyForWriting(registry);
    const int copy = ReadCopyNumber(registry, kCurrentValue) == 1 ? 2 : 1;
    const std::string copyName = std::to_string(copy);
    registry.DeleteKey(copyName);
    {
        const RegistryCursor::SubkeyScope copyKey(registry, copyName, true);
        if (!copyKey)
            throw Error(FormatText(msg::kCannotOpenOrCreateKey, UndoKeyPath() + "\\" + copyName));
        // A copy left over from an earlier change is gone, or this one is not kept.
        if (registry.ReadValueIfExists(kKeyExistsValue))
            throw Error(FormatText(msg::kCannotDeleteKey, UndoKeyPath() + "\\" + copyName));
        if (before) {
            const RegistryCursor::SubkeyScope treeKey(registry, kTreeSubkey, true);
            if (!treeKey)
                throw Error(FormatText(msg::kCannotOpenOrCreateKey, registry.CurrentPath()));
            // Made just now, in a copy key made just now: nothing to read first.
            PutTree(registry, *before, RegTree());
        }
        registry.WriteValue(kPlannedValue, PlannedValue(planned));
        registry.WriteValue(kKeyExistsValue, DwordValue(before ? 1 : 0));
    }
    registry.WriteValue(kPendingValue, DwordValue(copy));
    return copy;
}

void CommitUndo(int copy) {
    RegistryCursor registry;
    OpenUndoKeyForWriting(registry);
    registry.WriteValue(kCurrentValue, DwordValue(copy));
    // Left behind, the mark is found to name the copy in force and forgotten then.
    registry.DeleteValue(kPendingValue);
}

void DropStagedUndo() {
    RegistryCursor registry;
    if (registry.OpenKey(UndoKeyPath(), KeyMode::Write))
        registry.DeleteValue(kPendingValue);
}

std::optional<BrokenOffChange> InterruptedChange() {
    RegistryCursor registry;
    if (!registry.OpenExistingKey(UndoKeyPath(), KeyMode::Read) ||
        !registry.ReadValueIfExists(kPendingValue))
        return std::nullopt;
    BrokenOffChange broken;
    const std::optional<int> pending = ReadCopyNumber(registry, kPendingValue);
    // A mark that names the copy in force was left behind after its change went through.
    if (pending && pending != ReadCopyNumber(registry, kCurrentValue)) {
        broken.before = ReadCopy(registry, *pending);
        broken.planned = ReadPlanned(registry, *pending);
    }
    return broken;
}

bool LeftByChange(const PlacesBarTree& now, const PlacesBarTree& before,
                  const PlacesBarTree& planned) {
    const auto pointer = [](const PlacesBarTree& tree) { return tree ? &*tree : nullptr; };
    return LeftByChange(pointer(now), pointer(before), pointer(planned));
}

} // namespace velbrook

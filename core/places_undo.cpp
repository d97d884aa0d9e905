#include "core/places_undo.h"

#include <cstdint>
#include <string>

#include "core/schemes.h"
#include "support/code_page.h"
#include "support/errors.h"
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

// True when the key was opened; false when it does not exist. Raises when it
// is there but cannot be opened.
bool OpenExistingKey(RegistryCursor& registry, const std::string& path) {
    if (registry.OpenKey(path, false))
        return true;
    if (KeyMayExist(registry.Store(), path.c_str()))
        throw Error(FormatText(msg::kCannotOpenOrCreateKey, path));
    return false;
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
    if (!OpenExistingKey(registry, kPlacesBarKey))
        return std::nullopt;
    return ReadTree(registry);
}

void PutPlacesBarTree(const PlacesBarTree& tree) {
    RegistryCursor registry;
    if (!tree) {
        registry.DeleteKey(kPlacesBarKey);
        if (KeyMayExist(registry.Store(), kPlacesBarKey))
            throw Error(FormatText(msg::kCannotDeleteKey, kPlacesBarKey));
        return;
    }
    if (!registry.OpenKey(kPlacesBarKey, true))
        throw Error(FormatText(msg::kCannotOpenOrCreateKey, kPlacesBarKey));
    PutTree(registry, *tree);
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
    if (!OpenExistingKey(registry, UndoKeyPath()))
        return std::nullopt;
    if (!registry.ReadValueIfExists(kCurrentValue))
        return ReadEarlierCopy(registry);
    const std::optional<int> current = ReadCopyNumber(registry, kCurrentValue);
    if (!current)
        return std::nullopt;
    return ReadCopy(registry, *current);
}

int StageForUndo(const PlacesBarTree& before) {
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
            PutTree(registry, *before);
        }
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
    if (registry.OpenKey(UndoKeyPath(), false))
        registry.DeleteValue(kPendingValue);
}

std::optional<PlacesBarTree> InterruptedChange() {
    RegistryCursor registry;
    if (!OpenExistingKey(registry, UndoKeyPath()) || !registry.ReadValueIfExists(kPendingValue))
        return std::nullopt;
    const std::optional<int> pending = ReadCopyNumber(registry, kPendingValue);
    std::optional<PlacesBarTree> before;
    if (pending && pending != ReadCopyNumber(registry, kCurrentValue))
        before = ReadCopy(registry, *pending);
    if (!before)
        registry.DeleteValue(kPendingValue);
    return before;
}

} // namespace velbrook

#include "core/places_bar.h"

#include "core/places_undo.h"
#include "support/dialogs.h"
#include "support/errors.h"
#include "support/messages.h"
#include "support/registry.h"
#include "support/strings.h"

namespace velbrook {

namespace {

constexpr char kCountValue[] = "Count";

void RestoreDefaults(ListRegistryCursor& registry) {
    registry.DeleteKey(kPlacesBarKey);
    if (KeyMayExist(registry.Store(), kPlacesBarKey))
        throw Error(FormatText(msg::kCannotDeleteKey, kPlacesBarKey));
}

void StorePlaces(ListRegistryCursor& registry, const std::vector<PlaceSlot>& slots) {
    if (!registry.OpenKey(kPlacesBarKey, true))
        throw Error(FormatText(msg::kCannotOpenOrCreateKey, kPlacesBarKey));
    for (int slot = 0; slot < kPlaceSlots; ++slot) {
        // A shorter list leaves its missing slots empty.
        const PlaceSlot* given = slot < static_cast<int>(slots.size()) ? &slots[slot] : nullptr;
        const std::string name = PlaceValueName(slot);
        const std::string path = given != nullptr ? TrimControl(given->path) : std::string();
        if (given != nullptr && given->stored)
            registry.WriteValue(name, *given->stored);
        else if (path.empty())
            registry.DeleteValue(name);
        else
            registry.WriteString(name, path);
    }
    registry.WriteInteger(kCountValue, kPlaceSlots);
}

// A REG_SZ slot is read as text; a special-folder number (REG_DWORD), a path
// with variables (REG_EXPAND_SZ) and text that the code page cannot hold are
// kept as stored. Values of other types leave the slot unset.
void ReadSlot(ListRegistryCursor& registry, int slot, PlacesBarState& state) {
    const std::string name = PlaceValueName(slot);
    std::optional<RegValue> value = registry.ReadValueIfExists(name);
    if (!value)
        return;
    if (value->type == kRegDword || value->type == kRegExpandSz) {
        state.Stored[slot] = std::move(value);
    } else if (value->type == kRegSz) {
        if (std::optional<std::string> text = registry.ReadStringIfFaithful(name))
            state.Slots[slot] = std::move(*text);
        else
            state.Stored[slot] = std::move(value);
    }
}

} // namespace

std::string PlaceValueName(int slot) {
    return "Place" + std::to_string(slot);
}

bool WritePlacesBar(const PlacesList* places) {
    if (places == nullptr) {
        KeepForUndo(PlacesBarContent{});
        ListRegistryCursor registry;
        RestoreDefaults(registry);
        return true;
    }
    std::vector<PlaceSlot> slots;
    for (const std::string& path : *places)
        slots.push_back({path, std::nullopt});
    WritePlacesBar(slots);
    return true;
}

void WritePlacesBar(const std::vector<PlaceSlot>& slots) {
    KeepForUndo(ContentAfterWriting(slots));
    ListRegistryCursor registry;
    StorePlaces(registry, slots);
}

bool UndoPlacesBarChange() {
    const std::optional<PlacesBarContent> kept = KeptForUndo();
    if (!kept) {
        ShowMessageBox(msg::kNothingToUndo, msg::kCaptionError, kMbOk | kMbIconExclamation);
        return false;
    }
    KeepForUndo(*kept);
    ListRegistryCursor registry;
    if (!kept->keyExists) {
        RestoreDefaults(registry);
    } else {
        if (!registry.OpenKey(kPlacesBarKey, true))
            throw Error(FormatText(msg::kCannotOpenOrCreateKey, kPlacesBarKey));
        PutContentValues(registry, *kept);
    }
    return true;
}

PlacesBarState ReadPlacesBar() {
    PlacesBarState state;
    ListRegistryCursor registry;
    if (!registry.OpenKey(kPlacesBarKey, false))
        return state;
    state.KeyExists = true;
    for (int slot = 0; slot < kPlaceSlots; ++slot) {
        try {
            ReadSlot(registry, slot, state);
        } catch (const RegistryError&) {
            // Changed by another program while it was read, or unreadable: the slot
            // reads as unset.
        }
    }
    return state;
}

} // namespace velbrook

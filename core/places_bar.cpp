#include "core/places_bar.h"

#include "core/places_undo.h"
#include "support/change_lock.h"
#include "support/dialogs.h"
#include "support/errors.h"
#include "support/messages.h"
#include "support/registry.h"
#include "support/strings.h"

namespace velbrook {

namespace {

PlacesBarCheck* activeCheck = nullptr;

// The places bar as it was before a change that was broken off is put back;
// a check writes nothing, this neither.
void MendInterruptedChange() {
    if (activeCheck != nullptr)
        return;
    if (const std::optional<PlacesBarTree> before = InterruptedChange()) {
        PutPlacesBarTree(*before);
        DropStagedUndo();
    }
}

// With the change lock held: the bar is written only once the copy of what it
// held is staged, and the copy comes into force only once the bar is written.
// A failure on the way puts the bar back and leaves the copy in force as it was.
void ApplyChange(const PlannedChange& plan) {
    const PlacesBarTree before = ReadPlacesBarTree();
    PlacesBarTree after = plan(before);
    if (activeCheck != nullptr) {
        activeCheck->Record(before, std::move(after));
        return;
    }
    if (SamePlacesBar(before, after))
        return;
    const int copy = StageForUndo(before);
    try {
        PutPlacesBarTree(after);
        CommitUndo(copy);
    } catch (const std::exception&) {
        try {
            PutPlacesBarTree(before);
            DropStagedUndo();
        } catch (const std::exception&) {
            // The pending mark stays: the next change puts the bar back.
        }
        throw;
    }
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

void ChangePlacesBar(const PlannedChange& plan) {
    const PlacesBarChangeLock lock;
    MendInterruptedChange();
    ApplyChange(plan);
}

PlacesBarCheck::PlacesBarCheck() : previous_(activeCheck) {
    activeCheck = this;
}

PlacesBarCheck::~PlacesBarCheck() {
    activeCheck = previous_;
}

void PlacesBarCheck::Record(PlacesBarTree before, PlacesBarTree after) {
    if (planned_)
        return;
    planned_ = true;
    before_ = std::move(before);
    after_ = std::move(after);
}

bool WritePlacesBar(const PlacesList* places) {
    if (places == nullptr) {
        ChangePlacesBar([](const PlacesBarTree&) { return PlacesBarTree(); });
        return true;
    }
    std::vector<PlaceSlot> slots;
    for (const std::string& path : *places)
        slots.push_back({path, std::nullopt});
    WritePlacesBar(slots);
    return true;
}

void WritePlacesBar(const std::vector<PlaceSlot>& slots) {
    ChangePlacesBar([&](const PlacesBarTree& before) { return TreeAfterWriting(before, slots); });
}

bool UndoPlacesBarChange() {
    const PlacesBarChangeLock lock;
    MendInterruptedChange();
    const std::optional<PlacesBarTree> kept = KeptForUndo();
    if (!kept) {
        ShowMessageBox(msg::kNothingToUndo, msg::kCaptionError, kMbOk | kMbIconExclamation);
        return false;
    }
    ApplyChange([&](const PlacesBarTree&) { return *kept; });
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

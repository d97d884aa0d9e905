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

// The bar as a change finds it once a change that was broken off is dealt
// with: put back where the bar holds only what that change left, else taken as
// it is (another program changed it since). A check writes nothing and answers
// as the change would.
PlacesBarTree MendInterruptedChange(const PlacesBarTree& now) {
    const std::optional<BrokenOffChange> broken = InterruptedChange();
    if (!broken)
        return now;
    const bool putBack =
        broken->before && broken->planned && LeftByChange(now, *broken->before, *broken->planned);
    if (activeCheck == nullptr) {
        if (putBack)
            PutPlacesBarTree(*broken->before, &now);
        DropStagedUndo();
    }
    return putBack ? *broken->before : now;
}

// With the change lock held: the bar is written only once the copy of what it
// held is staged, and the copy comes into force only once the bar is written.
// A failure on the way puts the bar back and leaves the copy in force as it was.
void ApplyChange(const PlannedChange& plan) {
    const PlacesBarTree before = MendInterruptedChange(ReadPlacesBarTree());
    PlacesBarTree after = plan(before);
    if (activeCheck != nullptr) {
        activeCheck->Record(before, std::move(after));
        return;
    }
    if (SamePlacesBar(before, after))
        return;
    CheckPlacesBarWritable();
    const int copy = StageForUndo(before, after);
    try {
        PutPlacesBarTree(after, &before);
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
    state.AsStored[slot] = value;
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
    {
        const PlacesBarChangeLock lock;
        if (const std::optional<PlacesBarTree> kept = KeptForUndo()) {
            ApplyChange([&](const PlacesBarTree&) { return *kept; });
            return true;
        }
    }
    // Said with the lock released: nobody's other runs wait for the box.
    ShowMessageBox(msg::kNothingToUndo, msg::kCaptionError, kMbOk | kMbIconExclamation);
    return false;
}

PlacesBarState ReadPlacesBar() {
    PlacesBarState state;
    ListRegistryCursor registry;
    if (!registry.OpenExistingKey(kPlacesBarKey, KeyMode::Read))
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

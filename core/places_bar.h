#pragma once
// The live places bar key of the common file dialogs.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "support/registry.h"

namespace velbrook {

// Slot 0 to 4 of the places bar; callers pass at least five strings.
using PlacesList = std::vector<std::string>;

inline constexpr int kPlaceSlots = 5;
inline constexpr char kPlacesBarKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\comdlg32\\Placesbar";

struct PlacesBarState {
    bool KeyExists = false;
    // The REG_SZ text of each slot.
    std::array<std::optional<std::string>, kPlaceSlots> Slots;
    // Slots that are kept exactly as stored instead: a special-folder number
    // (REG_DWORD), a path with variables (REG_EXPAND_SZ), or text that the ANSI
    // code page cannot hold.
    std::array<std::optional<RegValue>, kPlaceSlots> Stored;
};

// One slot to write: a value kept as it was stored, or else a path (trimmed, and
// no value at all when empty).
struct PlaceSlot {
    std::string path;
    std::optional<RegValue> stored;
};

// Stores the list (trimmed slots, Count = 5), or with nullptr deletes the key so
// the dialogs show their default buttons. Returns true; raises RegistryError
// when a value cannot be written, and an Error naming the key when it can be
// neither opened nor created, or is still there after the deletion.
bool WritePlacesBar(const PlacesList* places);
// As above for a list, with slots that keep their stored value written back as
// they were.
void WritePlacesBar(const std::vector<PlaceSlot>& slots);
PlacesBarState ReadPlacesBar();
// Every write above first keeps what the key held (when the write changes it);
// this puts that back exactly, keeping the present content in its place, so a
// second call undoes the first. False after telling the user when nothing is kept.
bool UndoPlacesBarChange();

// "Place0" to "Place4".
std::string PlaceValueName(int slot);

} // namespace velbrook

#pragma once
// The live places bar key of the common file dialogs.
#include <array>
#include <optional>
#include <string>
#include <vector>

namespace velbrook {

// Slot 0 to 4 of the places bar; callers pass at least five strings.
using PlacesList = std::vector<std::string>;

inline constexpr int kPlaceSlots = 5;
inline constexpr char kPlacesBarKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\comdlg32\\Placesbar";

struct PlacesBarState {
    bool KeyExists = false;
    std::array<std::optional<std::string>, kPlaceSlots> Slots;
};

// Stores the list (trimmed slots, Count = 5), or with nullptr deletes the key so
// the dialogs show their default buttons. Returns true; raises ERegistryException
// when a value cannot be written, and an Error naming the key when it can be
// neither opened nor created, or is still there after the deletion.
bool WritePlacesBar(const PlacesList* places);
PlacesBarState ReadPlacesBar();

// "Place0" to "Place4".
std::string PlaceValueName(int slot);

} // namespace velbrook

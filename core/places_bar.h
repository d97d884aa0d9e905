#pragma once
// The live places bar key of the common file dialogs.
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "support/registry.h"
#include "support/registry_tree.h"

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
    // Every slot's value exactly as stored, of whatever type, for writing back
    // a slot that nobody changed byte for byte.
    std::array<std::optional<RegValue>, kPlaceSlots> AsStored;
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

// The whole places bar key (nullopt: no key), and what a change makes of it.
using PlacesBarTree = std::optional<RegTree>;
using PlannedChange = std::function<PlacesBarTree(const PlacesBarTree& before)>;
// One change of the places bar, as one step that no other Velbrook process of
// the user interleaves with: the bar becomes what the plan makes of it, and
// what it held is kept for undoing. A change that fails leaves the bar and the
// kept copy as they were. Changes that alter nothing keep the earlier copy.
void ChangePlacesBar(const PlannedChange& plan);

// While one is alive, changes of the places bar are planned but not carried
// out: the first one records what the bar holds and what it would hold, and
// nothing is written (not the bar, not the copy kept for undoing).
class PlacesBarCheck {
  public:
    PlacesBarCheck();
    ~PlacesBarCheck();
    PlacesBarCheck(const PlacesBarCheck&) = delete;
    PlacesBarCheck& operator=(const PlacesBarCheck&) = delete;

    bool Planned() const { return planned_; }
    const PlacesBarTree& Before() const { return before_; }
    const PlacesBarTree& After() const { return after_; }
    // Records a planned change (the first one counts).
    void Record(PlacesBarTree before, PlacesBarTree after);

  private:
    PlacesBarCheck* previous_;
    bool planned_ = false;
    PlacesBarTree before_;
    PlacesBarTree after_;
};

// One line for each slot, and each other value of the key, that differs
// between the two, as "Slot 2: C:\Old -> C:\New"; places kept as stored by
// how the window shows them, an absent key as the default buttons.
std::vector<std::string> DescribeDifferences(const PlacesBarTree& before,
                                             const PlacesBarTree& after);

// "Place0" to "Place4".
std::string PlaceValueName(int slot);

} // namespace velbrook

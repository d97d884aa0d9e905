#pragma once
// What the places bar key held before the program last changed it, kept under
// the program's own key so that the change can be undone.
//
// The undo key holds two copies, "1" and "2", and "Current" names the one in
// force. A change writes the other copy first and marks it "Pending"; only once
// the places bar is written does "Current" move to it. A change that fails, or
// a process that ends halfway, leaves the copy in force as it was, and the next
// change finds the pending mark and puts the places bar back, unless another
// program has changed the bar since.
#include <optional>

#include "core/places_bar.h"
#include "support/registry_tree.h"

namespace velbrook {

inline constexpr char kUndoSubkey[] = "Undo";

// Raises when the key or a part of it is there but cannot be read.
PlacesBarTree ReadPlacesBarTree();
// Makes the places bar key hold exactly that (nullopt: no key). Raises on the
// first part that cannot be changed. `present`, when given, is what the key
// holds (read under the same lock), which saves reading it again.
void PutPlacesBarTree(const PlacesBarTree& tree, const PlacesBarTree* present = nullptr);
// Raises the message that the administrator's policy sets the places bar when
// the key is there and this user may not change or delete it.
void CheckPlacesBarWritable();
// What writing these slots over `before` leaves in the key: the slots' values
// and Count, everything else kept.
PlacesBarTree TreeAfterWriting(const PlacesBarTree& before, const std::vector<PlaceSlot>& slots);
// Equal for the file dialogs (texts compare up to their first NUL).
bool SamePlacesBar(const PlacesBarTree& a, const PlacesBarTree& b);

// The copy in force; nothing when nothing is kept.
std::optional<PlacesBarTree> KeptForUndo();
// Writes `before` as the next copy, with what the change is to make of the bar,
// and marks it pending; returns its number. The copy in force stays in force.
int StageForUndo(const PlacesBarTree& before, const PlacesBarTree& planned);
// Puts the staged copy in force.
void CommitUndo(int copy);
// Forgets the pending mark of a change that did not go through.
void DropStagedUndo();
// A change that was broken off: what the bar held before it and what it was to
// hold, each nullopt when it is not known.
struct BrokenOffChange {
    std::optional<PlacesBarTree> before;
    std::optional<PlacesBarTree> planned;
};
// nullopt when no change is marked pending. The mark stays until DropStagedUndo.
std::optional<BrokenOffChange> InterruptedChange();
// True when every value of the bar, at every level, is as it was before the
// change or as the change was to leave it: nobody changed the bar since.
bool LeftByChange(const PlacesBarTree& now, const PlacesBarTree& before,
                  const PlacesBarTree& planned);

} // namespace velbrook

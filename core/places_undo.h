#pragma once
// What the places bar key held before the program last changed it, kept under
// the program's own key so that the change can be undone.
//
// The undo key holds two copies, "1" and "2", and "Current" names the one in
// force. A change writes the other copy first and marks it "Pending"; only once
// the places bar is written does "Current" move to it. A change that fails, or
// a process that ends halfway, leaves the copy in force as it was, and the next
// change finds the pending mark and puts the places bar back.
#include <optional>

#include "core/places_bar.h"
#include "support/registry_tree.h"

namespace velbrook {

inline constexpr char kUndoSubkey[] = "Undo";

// Raises when the key or a part of it is there but cannot be read.
PlacesBarTree ReadPlacesBarTree();
// Makes the places bar key hold exactly that (nullopt: no key). Raises on the
// first part that cannot be changed.
void PutPlacesBarTree(const PlacesBarTree& tree);
// What writing these slots over `before` leaves in the key: the slots' values
// and Count, everything else kept.
PlacesBarTree TreeAfterWriting(const PlacesBarTree& before, const std::vector<PlaceSlot>& slots);
// Equal for the file dialogs (texts compare up to their first NUL).
bool SamePlacesBar(const PlacesBarTree& a, const PlacesBarTree& b);

// The copy in force; nothing when nothing is kept.
std::optional<PlacesBarTree> KeptForUndo();
// Writes `before` as the next copy and marks it pending; returns its number.
// The copy in force stays in force.
int StageForUndo(const PlacesBarTree& before);
// Puts the staged copy in force.
void CommitUndo(int copy);
// Forgets the pending mark of a change that did not go through.
void DropStagedUndo();
// When a change was broken off, what the places bar held before it; its pending
// mark is forgotten once the caller has put that back (DropStagedUndo).
std::optional<PlacesBarTree> InterruptedChange();

} // namespace velbrook

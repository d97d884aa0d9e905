#pragma once
// What the places bar key held before the program last changed it, kept under
// the program's own key so that the change can be undone.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/places_bar.h"
#include "support/registry.h"

namespace velbrook {

inline constexpr char kUndoSubkey[] = "Undo";

// The part of the places bar key that the program writes, exactly as stored:
// whether the key exists, and the values Place0 to Place4 and Count (each
// absent when missing).
struct PlacesBarContent {
    static constexpr int kValues = kPlaceSlots + 1;

    bool keyExists = false;
    std::array<std::optional<RegValue>, kValues> values;
};

// "Place0" to "Place4", then "Count".
std::string ContentValueName(int index);

// Raises when the key or one of its values is there but cannot be read.
PlacesBarContent ReadPlacesBarContent();
// What writing these slots to the places bar leaves in it.
PlacesBarContent ContentAfterWriting(const std::vector<PlaceSlot>& slots);
// Equal for the file dialogs: texts compare up to their first NUL.
bool SameContent(const PlacesBarContent& a, const PlacesBarContent& b);

// Writes the content's values to the registry's open key and deletes those it
// lacks; raises when one cannot be written or deleted.
void PutContentValues(RegistryCursor& registry, const PlacesBarContent& content);

// Called before each change of the places bar: keeps its present content for
// undoing, unless the change (leaving `after`) would not alter it. Raises, with
// the places bar untouched, when it cannot be kept.
void KeepForUndo(const PlacesBarContent& after);
// What was kept; nothing when nothing is.
std::optional<PlacesBarContent> KeptForUndo();

} // namespace velbrook

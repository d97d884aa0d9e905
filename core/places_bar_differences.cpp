// What a check tells: the slots, and the other values of the places bar key,
// that a change would alter.
#include <algorithm>

#include "core/places_bar.h"
#include "support/code_page.h"
#include "support/locale_text.h"
#include "support/stored_place_path.h"
#include "support/strings.h"

namespace velbrook {

namespace {

constexpr char kDefaultButtons[] = "(default buttons)";
constexpr char kEmpty[] = "(empty)";

// Stored text on one line, whatever it holds.
std::string Text(const RegValue& value) {
    return VisibleControls(Utf16ToAnsiLossy(TextOf(value)));
}

// A slot as the window shows it: a path, or the caption of a place kept as stored.
std::string ShownSlot(const RegValue& value) {
    if (value.type == kRegSz)
        return Text(value);
    if (value.type == kRegDword || value.type == kRegExpandSz)
        return VisibleControls(PathOfStoredPlace(value).caption);
    return "(a value of type " + std::to_string(value.type) + ")";
}

std::string ShownValue(const RegValue& value) {
    if (value.type == kRegSz || value.type == kRegExpandSz)
        return Text(value);
    if (const std::optional<std::uint32_t> number = DwordOf(value))
        return std::to_string(*number);
    return "(" + std::to_string(value.data.size()) + " bytes of type " +
           std::to_string(value.type) + ")";
}

std::string Shown(const PlacesBarTree& tree, const std::string& name, bool slot) {
    if (!tree)
        return kDefaultButtons;
    const RegValue* value = FindValue(*tree, name);
    if (value == nullptr)
        return kEmpty;
    return slot ? ShownSlot(*value) : ShownValue(*value);
}

bool Differs(const PlacesBarTree& before, const PlacesBarTree& after, const std::string& name) {
    const RegValue* a = before ? FindValue(*before, name) : nullptr;
    const RegValue* b = after ? FindValue(*after, name) : nullptr;
    if (a == nullptr || b == nullptr)
        return a != b;
    return !SameValue(*a, *b);
}

// The values of the key other than the slots, each name once, in order.
std::vector<std::string> OtherValueNames(const PlacesBarTree& before, const PlacesBarTree& after) {
    const auto listed = [](const std::vector<std::string>& names, const std::string& name) {
        return std::any_of(names.begin(), names.end(),
                           [&](const std::string& n) { return SameTextIgnoreCase(n, name); });
    };
    std::vector<std::string> slots;
    for (int slot = 0; slot < kPlaceSlots; ++slot)
        slots.push_back(PlaceValueName(slot));
    std::vector<std::string> names;
    for (const PlacesBarTree* tree : {&before, &after}) {
        if (!*tree)
            continue;
        for (const auto& [name, value] : (*tree)->values) {
            if (!listed(slots, name) && !listed(names, name))
                names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool SameSubkeys(const PlacesBarTree& before, const PlacesBarTree& after) {
    RegTree a, b;
    if (before)
        a.subkeys = before->subkeys;
    if (after)
        b.subkeys = after->subkeys;
    return SameTree(a, b);
}

} // namespace

std::vector<std::string> DescribeDifferences(const PlacesBarTree& before,
                                             const PlacesBarTree& after) {
    std::vector<std::string> lines;
    for (int slot = 0; slot < kPlaceSlots; ++slot) {
        const std::string name = PlaceValueName(slot);
        if (before.has_value() != after.has_value() || Differs(before, after, name))
            lines.push_back("Slot " + std::to_string(slot + 1) + ": " + Shown(before, name, true) +
                            " -> " + Shown(after, name, true));
    }
    for (const std::string& name : OtherValueNames(before, after)) {
        if (Differs(before, after, name))
            lines.push_back("Value \"" + VisibleControls(name) + "\": " +
                            Shown(before, name, false) + " -> " + Shown(after, name, false));
    }
    if (!SameSubkeys(before, after))
        lines.emplace_back("Subkeys of the key: they differ");
    return lines;
}

} // namespace velbrook

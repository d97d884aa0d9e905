#pragma once
// The scheme list shown by a sorted drop-down combo box. The schemes themselves
// live in an OrderedSchemeList that the window owns; each item's text is a
// scheme name and its item data the scheme's index there.
#include <memory>
#include <string>

#include "core/schemes.h"
#include "support/win32/windows_ansi.h"

namespace velbrook::ui {

class ComboSchemeList : public SchemeList {
  public:
    ComboSchemeList() = default;
    // The list shows and changes `schemes`, which must outlive it.
    ComboSchemeList(HWND combo, OrderedSchemeList& schemes) : combo_(combo), schemes_(&schemes) {}

    HWND Handle() const { return combo_; }

    int Count() const override;
    std::string Name(int index) const override;
    // An item whose list was detached has an empty list.
    const PlacesList& Places(int index) const override;
    // Goes to the sorted position (CBS_SORT).
    void Add(const std::string& name, std::unique_ptr<PlacesList> places,
             int storedIndex = -1) override;
    // As Add; returns the new item's index.
    int AddItem(const std::string& name, std::unique_ptr<PlacesList> places, int storedIndex = -1);
    std::unique_ptr<PlacesList> DetachPlaces(int index) override;
    // Removes every scheme and item.
    void Clear() override;

    // Removes the item and its scheme.
    void Delete(int index);
    // The selected item, or -1.
    int Selected() const;
    // Selects without notifying (-1: no item).
    void Select(int index);
    // The first item, from the top, whose text equals name ignoring case; -1 when none.
    int FindExact(const std::string& name) const;

  private:
    // The scheme of the item; raises ListIndexError for an index outside the items.
    int SchemeOf(int index) const;

    HWND combo_ = nullptr;
    OrderedSchemeList* schemes_ = nullptr;
};

} // namespace velbrook::ui

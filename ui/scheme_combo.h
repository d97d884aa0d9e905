#pragma once
// The scheme list held by a sorted drop-down combo box: each item's text is a
// scheme name; its item data holds the name as given and the scheme's places
// list, owned by the item.
#include <memory>
#include <string>

#include "core/schemes.h"
#include "support/win32/windows_ansi.h"

namespace velbrook::ui {

class ComboSchemeList : public SchemeList {
  public:
    ComboSchemeList() = default;
    explicit ComboSchemeList(HWND combo) : combo_(combo) {}

    HWND Handle() const { return combo_; }

    int Count() const override;
    std::string Name(int index) const override;
    // An item whose list was detached has an empty list.
    const PlacesList& Places(int index) const override;
    // Goes to the sorted position (CBS_SORT).
    void Add(const std::string& name, std::unique_ptr<PlacesList> places) override;
    // As Add; returns the new item's index.
    int AddItem(const std::string& name, std::unique_ptr<PlacesList> places);
    std::unique_ptr<PlacesList> DetachPlaces(int index) override;
    // Frees every item's list and removes the items.
    void Clear() override;

    // Frees the item's list and removes the item.
    void Delete(int index);
    // The selected item, or -1.
    int Selected() const;
    // Selects without notifying (-1: no item).
    void Select(int index);
    // The first item, from the top, whose text equals name ignoring case; -1 when none.
    int FindExact(const std::string& name) const;

  private:
    struct Entry {
        std::string name;
        std::unique_ptr<PlacesList> places;
    };
    // Raises ListIndexError for an index outside the items.
    int Checked(int index) const;
    Entry* EntryAt(int index) const;
    // Takes the item's entry out of it, to be freed by the caller.
    std::unique_ptr<Entry> TakeEntry(int index);

    HWND combo_ = nullptr;
};

} // namespace velbrook::ui

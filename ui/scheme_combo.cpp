#include "ui/scheme_combo.h"

#include "support/errors.h"
#include "support/locale_text.h"
#include "support/messages.h"

namespace velbrook::ui {

int ComboSchemeList::Count() const {
    const LRESULT count = SendMessageA(combo_, CB_GETCOUNT, 0, 0);
    return count == CB_ERR ? 0 : static_cast<int>(count);
}

// The name is kept as given rather than read back from the control, whose text
// lengths are counted in its own units.
std::string ComboSchemeList::Name(int index) const {
    const Entry* entry = EntryAt(Checked(index));
    return entry != nullptr ? entry->name : std::string();
}

const PlacesList& ComboSchemeList::Places(int index) const {
    static const PlacesList detached;
    const Entry* entry = EntryAt(Checked(index));
    return entry != nullptr && entry->places ? *entry->places : detached;
}

void ComboSchemeList::Add(const std::string& name, std::unique_ptr<PlacesList> places) {
    AddItem(name, std::move(places));
}

int ComboSchemeList::AddItem(const std::string& name, std::unique_ptr<PlacesList> places) {
    if (!places)
        places = std::make_unique<PlacesList>();
    auto entry = std::make_unique<Entry>(Entry{name, std::move(places)});
    const LRESULT item =
        SendMessageA(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    if (item < 0)
        throw Error("Cannot add the scheme \"" + name + "\" to the list");
    SendMessageA(combo_, CB_SETITEMDATA, static_cast<WPARAM>(item),
                 reinterpret_cast<LPARAM>(entry.release()));
    return static_cast<int>(item);
}

std::unique_ptr<PlacesList> ComboSchemeList::DetachPlaces(int index) {
    Entry* entry = EntryAt(Checked(index));
    return entry != nullptr ? std::move(entry->places) : nullptr;
}

void ComboSchemeList::Clear() {
    for (int index = 0; index < Count(); ++index)
        TakeEntry(index).reset();
    SendMessageA(combo_, CB_RESETCONTENT, 0, 0);
}

void ComboSchemeList::Delete(int index) {
    TakeEntry(Checked(index)).reset();
    SendMessageA(combo_, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

int ComboSchemeList::Selected() const {
    const LRESULT selected = SendMessageA(combo_, CB_GETCURSEL, 0, 0);
    return selected == CB_ERR ? -1 : static_cast<int>(selected);
}

void ComboSchemeList::Select(int index) {
    SendMessageA(combo_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int ComboSchemeList::FindExact(const std::string& name) const {
    const LRESULT found = SendMessageA(combo_, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(name.c_str()));
    if (found != CB_ERR)
        return static_cast<int>(found);
    // Some combo boxes find no item for an empty text; look through the items then.
    for (int index = 0; index < Count(); ++index) {
        if (SameTextIgnoreCase(Name(index), name))
            return index;
    }
    return -1;
}

int ComboSchemeList::Checked(int index) const {
    if (index < 0 || index >= Count())
        throw ListIndexError(FormatText(msg::kListIndexOutOfBounds, static_cast<long long>(index)));
    return index;
}

ComboSchemeList::Entry* ComboSchemeList::EntryAt(int index) const {
    const LRESULT data = SendMessageA(combo_, CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    return data == CB_ERR ? nullptr : reinterpret_cast<Entry*>(data);
}

std::unique_ptr<ComboSchemeList::Entry> ComboSchemeList::TakeEntry(int index) {
    std::unique_ptr<Entry> entry(EntryAt(index));
    SendMessageA(combo_, CB_SETITEMDATA, static_cast<WPARAM>(index), 0);
    return entry;
}

} // namespace velbrook::ui

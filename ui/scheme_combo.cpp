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
    return schemes_->Name(SchemeOf(index));
}

const PlacesList& ComboSchemeList::Places(int index) const {
    return schemes_->Places(SchemeOf(index));
}

void ComboSchemeList::Add(const std::string& name, std::unique_ptr<PlacesList> places,
                          int storedIndex) {
    AddItem(name, std::move(places), storedIndex);
}

int ComboSchemeList::AddItem(const std::string& name, std::unique_ptr<PlacesList> places,
                             int storedIndex) {
    schemes_->Add(name, std::move(places), storedIndex);
    const int scheme = schemes_->Count() - 1;
    const LRESULT item =
        SendMessageA(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    if (item < 0) {
        schemes_->Remove(scheme);
        throw Error(FormatText(msg::kCannotAddScheme, name));
    }
    SendMessageA(combo_, CB_SETITEMDATA, static_cast<WPARAM>(item), scheme);
    return static_cast<int>(item);
}

std::unique_ptr<PlacesList> ComboSchemeList::DetachPlaces(int index) {
    return schemes_->DetachPlaces(SchemeOf(index));
}

void ComboSchemeList::Clear() {
    SendMessageA(combo_, CB_RESETCONTENT, 0, 0);
    schemes_->Clear();
}

void ComboSchemeList::Delete(int index) {
    const int removed = SchemeOf(index);
    SendMessageA(combo_, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
    schemes_->Remove(removed);
    // The schemes after the removed one have moved down by one.
    for (int item = 0; item < Count(); ++item) {
        const int scheme = SchemeOf(item);
        if (scheme > removed)
            SendMessageA(combo_, CB_SETITEMDATA, static_cast<WPARAM>(item), scheme - 1);
    }
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

int ComboSchemeList::SchemeOf(int index) const {
    if (index < 0 || index >= Count())
        throw ListIndexError(FormatText(msg::kListIndexOutOfBounds, static_cast<long long>(index)));
    return static_cast<int>(SendMessageA(combo_, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

} // namespace velbrook::ui

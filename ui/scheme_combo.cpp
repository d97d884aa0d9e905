#include "ui/scheme_combo.h"

#include <vector>

#include "support/errors.h"
#include "support/locale_text.h"
#include "support/messages.h"

namespace velbrook::ui {

int ComboSchemeList::Count() const {
    const LRESULT count = SendMessageA(combo_, CB_GETCOUNT, 0, 0);
    return count == CB_ERR ? 0 : static_cast<int>(count);
}

std::string ComboSchemeList::Name(int index) const {
    const int item = Checked(index);
    const LRESULT length = SendMessageA(combo_, CB_GETLBTEXTLEN, item, 0);
    if (length <= 0)
        return {};
    std::vector<char> text(static_cast<std::size_t>(length) + 1);
    const LRESULT copied =
        SendMessageA(combo_, CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(text.data()));
    return copied <= 0 ? std::string() : std::string(text.data(), static_cast<std::size_t>(copied));
}

const PlacesList& ComboSchemeList::Places(int index) const {
    static const PlacesList detached;
    const PlacesList* places = OwnedList(Checked(index));
    return places != nullptr ? *places : detached;
}

void ComboSchemeList::Add(const std::string& name, std::unique_ptr<PlacesList> places) {
    if (!places)
        places = std::make_unique<PlacesList>();
    const LRESULT item =
        SendMessageA(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    if (item < 0)
        throw Error("Cannot add the scheme \"" + name + "\" to the list");
    SendMessageA(combo_, CB_SETITEMDATA, static_cast<WPARAM>(item),
                 reinterpret_cast<LPARAM>(places.release()));
}

std::unique_ptr<PlacesList> ComboSchemeList::DetachPlaces(int index) {
    const int item = Checked(index);
    std::unique_ptr<PlacesList> places(OwnedList(item));
    SendMessageA(combo_, CB_SETITEMDATA, static_cast<WPARAM>(item), 0);
    return places;
}

void ComboSchemeList::Clear() {
    for (int index = 0; index < Count(); ++index)
        DetachPlaces(index).reset();
    SendMessageA(combo_, CB_RESETCONTENT, 0, 0);
}

void ComboSchemeList::Delete(int index) {
    DetachPlaces(index).reset();
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
        throw EListError(FormatText(msg::kListIndexOutOfBounds, static_cast<long long>(index)));
    return index;
}

PlacesList* ComboSchemeList::OwnedList(int index) const {
    const LRESULT data = SendMessageA(combo_, CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    return data == CB_ERR ? nullptr : reinterpret_cast<PlacesList*>(data);
}

} // namespace velbrook::ui

// PlacesListView: the in-place editor of a row's caption, and the keys, which
// reach the key handler from the list and from its editor alike.
#include "ui/controls/places_list_view.h"

#include "support/win32/folder_autocomplete.h"

#include <algorithm>

namespace velbrook::ui {
namespace {

constexpr UINT_PTR kSubclassId = 1;

unsigned ShiftState() {
    unsigned shift = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        shift |= static_cast<unsigned>(ShiftKey::Shift);
    if (GetKeyState(VK_MENU) < 0)
        shift |= static_cast<unsigned>(ShiftKey::Alt);
    if (GetKeyState(VK_CONTROL) < 0)
        shift |= static_cast<unsigned>(ShiftKey::Ctrl);
    return shift;
}

} // namespace

bool PlacesListView::EditCaption(int row) {
    SetFocus(hwnd_);
    return SendMessageA(hwnd_, LVM_EDITLABELA, row, 0) != 0;
}

// Some list views accept the editor's text on LVM_EDITLABEL -1; the flag makes
// the end of the edit a cancel whatever the notification carries.
void PlacesListView::CancelEdit() {
    cancelling_ = true;
    SendMessageA(hwnd_, LVM_EDITLABELA, static_cast<WPARAM>(-1), 0);
    cancelling_ = false;
}

void PlacesListView::EndEdit() {
    if (IsEditing())
        SetFocus(hwnd_);
}

bool PlacesListView::IsEditing() const {
    const auto edit = reinterpret_cast<HWND>(SendMessageA(hwnd_, LVM_GETEDITCONTROL, 0, 0));
    return edit != nullptr && IsWindowVisible(edit);
}

bool PlacesListView::KeyDown(WPARAM& key) {
    if (OnKeyDown)
        OnKeyDown(key, ShiftState());
    return key != 0;
}

void PlacesListView::HandleBeginEdit(NMLVDISPINFOA& info, LRESULT& result) {
    bool allow = true;
    if (OnEditing)
        OnEditing(info.item.iItem, allow);
    result = allow ? FALSE : TRUE;
    if (!allow)
        return;
    const auto edit = reinterpret_cast<HWND>(SendMessageA(hwnd_, LVM_GETEDITCONTROL, 0, 0));
    if (edit == nullptr)
        return;
    // The list fills its editor from a MAX_PATH buffer and limits it to that:
    // give it the whole caption and no limit of its own.
    SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);
    SetWindowTextA(edit, Caption(info.item.iItem).c_str());
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SetWindowSubclass(edit, EditProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    // As wide as its column, and so is the list of suggestions below it.
    RECT label{};
    label.left = LVIR_LABEL;
    SendMessageA(hwnd_, LVM_GETITEMRECT, info.item.iItem, reinterpret_cast<LPARAM>(&label));
    RECT shown{};
    GetWindowRect(edit, &shown);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&shown), 2);
    editorWidth_ = std::max<int>(shown.right - shown.left, label.right - shown.left);
    SetWindowPos(edit, nullptr, 0, 0, editorWidth_, shown.bottom - shown.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // In front of the keys' handler: an open suggestion list takes Enter and Esc first.
    win32::OfferFolderCompletion(edit);
}

void PlacesListView::HandleEndEdit(NMLVDISPINFOA& info) {
    const int row = info.item.iItem;
    if (row == -1)
        return;
    if (info.item.pszText != nullptr && !cancelling_) {
        std::string text = info.item.pszText;
        if (OnEdited)
            OnEdited(row, text);
        SetCaption(row, text);
    } else if (OnEditCanceled) {
        OnEditCanceled(row);
    }
}

LRESULT CALLBACK PlacesListView::EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR, DWORD_PTR self) {
    switch (message) {
    case WM_KEYDOWN:
        if (!reinterpret_cast<PlacesListView*>(self)->KeyDown(wParam))
            return 0;
        break;
    case WM_WINDOWPOSCHANGING: {
        // The list fits its editor to the text as it changes; it stays as wide as its column.
        auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
        const int width = reinterpret_cast<PlacesListView*>(self)->editorWidth_;
        if ((pos->flags & SWP_NOSIZE) == 0 && pos->cx < width)
            pos->cx = width;
        break;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, EditProc, kSubclassId);
        break;
    default:
        break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

} // namespace velbrook::ui

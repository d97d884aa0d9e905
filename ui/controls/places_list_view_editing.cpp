// PlacesListView: the in-place editor of a row's caption, and the keys, which
// reach the key handler from the list and from its editor alike.
#include "ui/controls/places_list_view.h"

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
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, EditProc, kSubclassId);
        break;
    default:
        break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

} // namespace velbrook::ui

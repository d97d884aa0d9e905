// PlacesListView as a drop target for files and folders dragged from Explorer
// (CF_HDROP). The row under the pointer is marked while dragging; the drop is
// handed on once the drag has ended, so that a message box about it never holds
// the program it came from.
#include "ui/controls/places_list_view.h"

#include <ole2.h>
#include <shellapi.h>

#include "support/win32/shell.h"

namespace velbrook::ui {
namespace {

// Posted to the list: the dropped names wait in the list's pendingDrop_.
constexpr UINT kDroppedMessage = WM_APP + 0x50;

FORMATETC FileNamesFormat() {
    return FORMATETC{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

std::vector<std::wstring> DroppedNames(IDataObject* data) {
    std::vector<std::wstring> names;
    FORMATETC format = FileNamesFormat();
    STGMEDIUM medium{};
    if (data == nullptr || FAILED(data->GetData(&format, &medium)))
        return names;
    if (const auto drop = static_cast<HDROP>(GlobalLock(medium.hGlobal))) {
        const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            std::wstring name(DragQueryFileW(drop, i, nullptr, 0), L'\0');
            DragQueryFileW(drop, i, name.data(), static_cast<UINT>(name.size() + 1));
            names.push_back(std::move(name));
        }
        GlobalUnlock(medium.hGlobal);
    }
    ReleaseStgMedium(&medium);
    return names;
}

// A place refers to its folder: a link is offered where the source allows it,
// and never a move, which would take the folder away from where it was.
DWORD TakenEffect(DWORD allowed) {
    if ((allowed & DROPEFFECT_LINK) != 0)
        return DROPEFFECT_LINK;
    return allowed & DROPEFFECT_COPY;
}

} // namespace

class PlacesListView::DropTarget final : public IDropTarget {
  public:
    explicit DropTarget(PlacesListView& list) : list_(list) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr)
            return E_POINTER;
        *object = iid == IID_IUnknown || iid == IID_IDropTarget ? this : nullptr;
        if (*object == nullptr)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL at,
                                        DWORD* effect) override {
        FORMATETC format = FileNamesFormat();
        names_ = data != nullptr && data->QueryGetData(&format) == S_OK;
        return DragOver(0, at, effect);
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL at, DWORD* effect) override {
        const int row = names_ ? list_.RowAt(at) : -1;
        list_.MarkDropRow(row);
        if (effect != nullptr)
            *effect = row >= 0 ? TakenEffect(*effect) : DROPEFFECT_NONE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        list_.MarkDropRow(-1);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL at, DWORD* effect) override {
        const int row = names_ ? list_.RowAt(at) : -1;
        list_.MarkDropRow(-1);
        DWORD taken = DROPEFFECT_NONE;
        if (row >= 0) {
            list_.pendingDrop_ = {row, DroppedNames(data)};
            taken = TakenEffect(effect != nullptr ? *effect : DROPEFFECT_COPY);
            PostMessageW(list_.hwnd_, kDroppedMessage, 0, 0);
        }
        if (effect != nullptr)
            *effect = taken;
        return S_OK;
    }

  private:
    PlacesListView& list_;
    ULONG references_ = 1;
    bool names_ = false;
};

void PlacesListView::AcceptDroppedFiles(
    std::function<void(int row, const std::vector<std::wstring>& names)> onDrop) {
    OnDropFiles = std::move(onDrop);
    RegisterDropTarget();
}

void PlacesListView::RegisterDropTarget() {
    if (!OnDropFiles || hwnd_ == nullptr)
        return;
    win32::PrepareShell();
    DropTarget* target = new DropTarget(*this);
    RegisterDragDrop(hwnd_, target);
    target->Release(); // the registration keeps it while the window lives
}

void PlacesListView::RevokeDropTarget() {
    if (OnDropFiles && hwnd_ != nullptr)
        RevokeDragDrop(hwnd_);
}

int PlacesListView::RowAt(POINTL at) const {
    LVHITTESTINFO hit{};
    hit.pt = {at.x, at.y};
    ScreenToClient(hwnd_, &hit.pt);
    const int row =
        static_cast<int>(SendMessageA(hwnd_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return (hit.flags & LVHT_ONITEM) != 0 ? row : -1;
}

void PlacesListView::MarkDropRow(int row) {
    if (row == dropRow_)
        return;
    if (dropRow_ >= 0)
        SetRowState(dropRow_, 0, LVIS_DROPHILITED);
    if (row >= 0)
        SetRowState(row, LVIS_DROPHILITED, LVIS_DROPHILITED);
    dropRow_ = row;
    UpdateWindow(hwnd_);
}

bool PlacesListView::HandleDropped(UINT message) {
    if (message != kDroppedMessage)
        return false;
    const PendingDrop drop = std::exchange(pendingDrop_, {});
    if (drop.row >= 0 && OnDropFiles)
        OnDropFiles(drop.row, drop.names);
    return true;
}

} // namespace velbrook::ui

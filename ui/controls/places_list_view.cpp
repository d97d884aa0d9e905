#include "ui/controls/places_list_view.h"

#include "support/code_page.h"

#include <algorithm>
#include <cstring>

namespace velbrook::ui {
namespace {

constexpr UINT kCopiedState = LVIS_OVERLAYMASK | LVIS_STATEIMAGEMASK;
// The control cuts a text to the buffer without splitting a character, so a
// text is whole only when the buffer had room for one more of the longest
// characters of the code page (four bytes in UTF-8).
constexpr std::size_t kRoomForACharacter = 4;

std::string ItemText(HWND list, int row, int subItem) {
    std::vector<char> buffer(260);
    for (;;) {
        LVITEMA item{};
        item.iSubItem = subItem;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        const auto length = static_cast<std::size_t>(
            SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item)));
        if (length + kRoomForACharacter < buffer.size())
            return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

std::string ColumnText(HWND list, int index, int& width) {
    std::vector<char> buffer(260);
    for (;;) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = buffer.data();
        column.cchTextMax = static_cast<int>(buffer.size());
        SendMessageA(list, LVM_GETCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
        width = column.cx;
        const std::size_t length = strnlen(buffer.data(), buffer.size());
        if (length + kRoomForACharacter < buffer.size())
            return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

void SetItemText(HWND list, int row, int subItem, const std::string& text) {
    LVITEMA item{};
    item.iSubItem = subItem;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

// Writes text at `offset` of a buffer of `size` characters, cut to fit with its
// zero, and never inside a character.
void WriteCut(char* buffer, int size, std::size_t offset, const std::string& text) {
    if (buffer == nullptr || size <= 0 || offset >= static_cast<std::size_t>(size))
        return;
    const std::size_t room = static_cast<std::size_t>(size) - offset - 1;
    const std::size_t count = CharacterBoundary(text, std::min(room, text.size()));
    std::memcpy(buffer + offset, text.data(), count);
    buffer[offset + count] = '\0';
}

} // namespace

struct PlacesListView::SavedRow {
    std::string caption;
    LPARAM data = 0;
    int image = -1;
    int indent = 0;
    UINT state = 0; // overlay, state image (checked) and the selection bits
    std::vector<std::string> subItems;
};

PlacesListView::PlacesListView(const PlacesListViewArgs& args)
    : args_(args), extendedStyles_(WithActivationForUnderline(args.extendedStyles)) {
    CreateHandle();
    FinishCreate();
}

PlacesListView::~PlacesListView() {
    DestroyHandle();
}

// Makes the window with its columns, redrawing off until FinishCreate, so that
// the list lays itself out once rather than at every column and row.
void PlacesListView::CreateHandle() {
    DWORD style =
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHAREIMAGELISTS | args_.extraStyle;
    if (!args_.hideSelection)
        style |= LVS_SHOWSELALWAYS;
    if (!args_.readOnly)
        style |= LVS_EDITLABELS;
    if (!args_.multiSelect)
        style |= LVS_SINGLESEL;
    const RECT& r = args_.bounds;
    hwnd_ = CreateWindowExA(
        args_.flat ? 0 : WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", style, r.left, r.top, r.right - r.left,
        r.bottom - r.top, args_.parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(args_.id)),
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(args_.parent, GWLP_HINSTANCE)), nullptr);
    if (hwnd_ == nullptr)
        return;
    SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0);
    if (args_.font != nullptr)
        SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(args_.font), FALSE);
    if (args_.smallImages != nullptr)
        SendMessageA(hwnd_, LVM_SETIMAGELIST, LVSIL_SMALL,
                     reinterpret_cast<LPARAM>(args_.smallImages));
    AfterCreate();
    for (std::size_t i = 0; i < args_.columns.size(); ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<char*>(args_.columns[i].caption.c_str());
        column.cx = args_.columns[i].width;
        SendMessageA(hwnd_, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    // Inserting columns resets the display order.
    if (!storedColumnOrder_.empty())
        SendMessageA(hwnd_, LVM_SETCOLUMNORDERARRAY, storedColumnOrder_.size(),
                     reinterpret_cast<LPARAM>(storedColumnOrder_.data()));
}

void PlacesListView::AfterCreate() {
    SendMessageA(hwnd_, LVM_SETSELECTIONMARK, 0, selectionMark_);
    SendMessageA(hwnd_, LVM_SETHOVERTIME, 0, hoverTime_);
    SendMessageA(hwnd_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, extendedStyles_.Flags());
    updateCount_ = 0;
}

// The keyboard hook goes in as the window procedure, with the object in
// GWLP_USERDATA. SetWindowSubclass would look its data up in a window property
// on every message the list gets, which under Wine is a server round trip. The
// wide functions keep the list a Unicode window, as its class made it.
void PlacesListView::FinishCreate() {
    if (hwnd_ == nullptr)
        return;
    SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    listProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ListProc)));
    RegisterDropTarget();
}

void PlacesListView::DestroyHandle() {
    RevokeDropTarget();
    dropRow_ = -1;
    if (hwnd_ != nullptr && IsWindow(hwnd_))
        DestroyWindow(hwnd_); // ListProc takes itself out at WM_NCDESTROY
    hwnd_ = nullptr;
    listProc_ = nullptr;
}

void PlacesListView::RecreateHandle() {
    std::vector<ListColumn> columns;
    for (int i = 0, n = ColumnCount(); i < n; ++i) {
        int width = 0;
        std::string caption = ColumnText(hwnd_, i, width);
        columns.push_back({std::move(caption), width});
    }
    std::vector<SavedRow> rows;
    for (int i = 0, n = RowCount(); i < n; ++i)
        rows.push_back(SaveRow(i));
    GetWindowRect(hwnd_, &args_.bounds);
    MapWindowPoints(nullptr, args_.parent, reinterpret_cast<POINT*>(&args_.bounds), 2);
    args_.columns = std::move(columns);
    args_.font = reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0));
    selectionMark_ = static_cast<int>(SendMessageA(hwnd_, LVM_GETSELECTIONMARK, 0, 0));
    // A new window goes to the end of its siblings; the old one's place keeps the Tab order.
    const HWND before = GetWindow(hwnd_, GW_HWNDPREV);
    const bool focused = GetFocus() == hwnd_;
    DestroyHandle();
    CreateHandle();
    if (hwnd_ != nullptr)
        SetWindowPos(hwnd_, before != nullptr ? before : HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int row = InsertSavedRow(static_cast<int>(i), rows[i]);
        SetRowState(row, rows[i].state, LVIS_SELECTED | LVIS_FOCUSED);
    }
    FinishCreate();
    if (focused && hwnd_ != nullptr)
        SetFocus(hwnd_);
}

ListViewExtendedStyles PlacesListView::ExtendedStyles() {
    if (hwnd_ != nullptr)
        extendedStyles_ = ListViewExtendedStyles::FromFlags(
            static_cast<std::uint32_t>(SendMessageA(hwnd_, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0)));
    return extendedStyles_;
}

void PlacesListView::SetExtendedStyles(ListViewExtendedStyles styles) {
    styles = WithActivationForUnderline(styles);
    const auto subItemImages = ListViewExtendedStyle::SubItemImages;
    if (styles.Has(subItemImages) != extendedStyles_.Has(subItemImages) && hwnd_ != nullptr)
        InvalidateRect(hwnd_, nullptr, TRUE);
    extendedStyles_ = styles;
    if (hwnd_ != nullptr)
        SendMessageA(hwnd_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, styles.Flags());
}

void PlacesListView::SetRequireComCtlUpdate(bool require) {
    requireComCtlUpdate_ = require;
    if (require)
        RequireComCtlVersion(ReadFileVersion("COMCTL32.DLL"));
}

void PlacesListView::SetSmallImages(HIMAGELIST images) {
    args_.smallImages = images;
    if (hwnd_ == nullptr)
        return;
    SendMessageA(hwnd_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
    // Icons of another height change the height of every row: nothing drawn before stays.
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void PlacesListView::SetColumnOrder(const std::vector<int>& orders) {
    storedColumnOrder_ = orders;
    if (hwnd_ == nullptr)
        return;
    SendMessageA(hwnd_, LVM_SETCOLUMNORDERARRAY, orders.size(),
                 reinterpret_cast<LPARAM>(storedColumnOrder_.data()));
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
}

std::vector<int> PlacesListView::ColumnOrder() const {
    std::vector<int> orders(static_cast<std::size_t>(ColumnCount()));
    if (orders.empty() || !SendMessageA(hwnd_, LVM_GETCOLUMNORDERARRAY, orders.size(),
                                        reinterpret_cast<LPARAM>(orders.data())))
        return storedColumnOrder_;
    return orders;
}

int PlacesListView::ColumnCount() const {
    if (hwnd_ == nullptr)
        return 0;
    const auto header = reinterpret_cast<HWND>(SendMessageA(hwnd_, LVM_GETHEADER, 0, 0));
    return header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

int PlacesListView::ColumnWidth(int column) const {
    return static_cast<int>(SendMessageA(hwnd_, LVM_GETCOLUMNWIDTH, column, 0));
}

void PlacesListView::SetColumnWidth(int column, int width) {
    SendMessageA(hwnd_, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(width, 0));
}

int PlacesListView::AddRow(const std::string& caption, int imageIndex,
                           const std::vector<std::string>& subItems) {
    SavedRow row;
    row.caption = caption;
    row.image = imageIndex;
    row.subItems = subItems;
    return InsertSavedRow(RowCount(), row);
}

int PlacesListView::RowCount() const {
    return hwnd_ ? static_cast<int>(SendMessageA(hwnd_, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

std::string PlacesListView::Caption(int row) const {
    return SubItemText(row, 0);
}

void PlacesListView::SetCaption(int row, const std::string& caption) {
    SetSubItemText(row, 0, caption);
}

int PlacesListView::ImageIndex(int row) const {
    LVITEMA item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    item.iImage = -1;
    SendMessageA(hwnd_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}

void PlacesListView::SetImageIndex(int row, int imageIndex) {
    LVITEMA item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    item.iImage = imageIndex;
    SendMessageA(hwnd_, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

LPARAM PlacesListView::RowData(int row) const {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageA(hwnd_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.lParam;
}

void PlacesListView::SetRowData(int row, LPARAM data) {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    item.lParam = data;
    SendMessageA(hwnd_, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

std::string PlacesListView::SubItemText(int row, int subItem) const {
    if (row < 0 || row >= RowCount())
        return std::string();
    return ItemText(hwnd_, row, subItem);
}

void PlacesListView::SetSubItemText(int row, int subItem, const std::string& text) {
    SetItemText(hwnd_, row, subItem, text);
}

int PlacesListView::SelectedIndex() const {
    return hwnd_ ? static_cast<int>(SendMessageA(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                                 MAKELPARAM(LVNI_SELECTED, 0)))
                 : -1;
}

void PlacesListView::SelectRow(int row) {
    if (row < 0) {
        SetRowState(-1, 0, LVIS_SELECTED);
        return;
    }
    SetRowState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

int PlacesListView::Overlay(int row) const {
    return static_cast<int>((RowState(row, LVIS_OVERLAYMASK) & LVIS_OVERLAYMASK) >> 8);
}

void PlacesListView::SetOverlay(int row, int overlay) {
    SetRowState(row, INDEXTOOVERLAYMASK(overlay), LVIS_OVERLAYMASK);
}

void PlacesListView::SetOverlayIcon(int overlay, HICON icon, int size) {
    overlayOfIcon_ = overlay;
    overlayIcon_ = icon;
    overlayIconSize_ = size;
    if (hwnd_ != nullptr)
        InvalidateRect(hwnd_, nullptr, FALSE);
}

LRESULT PlacesListView::HandleCustomDraw(const NMLVCUSTOMDRAW& draw) const {
    const int row = static_cast<int>(draw.nmcd.dwItemSpec);
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return overlayIcon_ != nullptr ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
    case CDDS_ITEMPREPAINT:
        return Overlay(row) == overlayOfIcon_ ? CDRF_NOTIFYPOSTPAINT : CDRF_DODEFAULT;
    case CDDS_ITEMPOSTPAINT: {
        RECT icon{};
        icon.left = LVIR_ICON;
        SendMessageA(hwnd_, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&icon));
        // At the lower left of the row's image, as the shell's overlays sit.
        int width = 0;
        int height = 0;
        ImageList_GetIconSize(args_.smallImages, &width, &height);
        const int left = icon.left + (icon.right - icon.left - width) / 2;
        const int top = icon.top + (icon.bottom - icon.top + height) / 2 - overlayIconSize_;
        DrawIconEx(draw.nmcd.hdc, left, top, overlayIcon_, 0, 0, 0, nullptr, DI_NORMAL);
        return CDRF_DODEFAULT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}

bool PlacesListView::IsSelected(int row) const {
    return RowState(row, LVIS_SELECTED) != 0;
}

bool PlacesListView::IsFocused(int row) const {
    return RowState(row, LVIS_FOCUSED) != 0;
}

UINT PlacesListView::RowState(int row, UINT mask) const {
    return static_cast<UINT>(SendMessageA(hwnd_, LVM_GETITEMSTATE, row, mask));
}

void PlacesListView::SetRowState(int row, UINT state, UINT mask) {
    LVITEMA item{};
    item.state = state;
    item.stateMask = mask;
    SendMessageA(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
}

PlacesListView::SavedRow PlacesListView::SaveRow(int row) const {
    SavedRow saved;
    LVITEMA item{};
    item.mask = LVIF_PARAM | LVIF_IMAGE | LVIF_INDENT | LVIF_STATE;
    item.iItem = row;
    item.stateMask = kCopiedState | LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(hwnd_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    saved.caption = ItemText(hwnd_, row, 0);
    saved.data = item.lParam;
    saved.image = item.iImage;
    saved.indent = item.iIndent;
    saved.state = item.state;
    for (int sub = 1, n = ColumnCount(); sub < n; ++sub)
        saved.subItems.push_back(ItemText(hwnd_, row, sub));
    return saved;
}

int PlacesListView::InsertSavedRow(int at, const SavedRow& saved) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE | LVIF_INDENT;
    item.iItem = at;
    item.pszText = const_cast<char*>(saved.caption.c_str());
    item.lParam = saved.data;
    item.iImage = saved.image;
    item.iIndent = saved.indent;
    const int row =
        static_cast<int>(SendMessageA(hwnd_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0)
        return row;
    SetRowState(row, saved.state & kCopiedState, kCopiedState);
    for (std::size_t i = 0; i < saved.subItems.size(); ++i)
        SetItemText(hwnd_, row, static_cast<int>(i) + 1, saved.subItems[i]);
    return row;
}

void PlacesListView::BeginUpdate() {
    if (updateCount_ == 0 && hwnd_ != nullptr)
        SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0);
    ++updateCount_;
}

void PlacesListView::EndUpdate() {
    updateCount_ = std::max(0, updateCount_ - 1);
    if (updateCount_ == 0 && hwnd_ != nullptr) {
        SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(hwnd_, nullptr, TRUE);
    }
}

void PlacesListView::MoveItem(int from, int to) {
    const int count = RowCount();
    if (from < 0 || from >= count || to < 0 || to > count || from == to)
        return;
    struct UpdateScope {
        PlacesListView& list;
        explicit UpdateScope(PlacesListView& l) : list(l) { list.BeginUpdate(); }
        ~UpdateScope() { list.EndUpdate(); }
    } scope(*this);
    const UINT kept = RowState(from, LVIS_SELECTED | LVIS_FOCUSED);
    const SavedRow saved = SaveRow(from);
    int row = InsertSavedRow(from < to ? to + 1 : to, saved);
    if (row < 0)
        return;
    if (from > to)
        ++from; // the insertion pushed the source row down
    SendMessageA(hwnd_, LVM_DELETEITEM, from, 0);
    if (from < row)
        --row;
    SetRowState(row, kept, LVIS_SELECTED | LVIS_FOCUSED);
}

bool PlacesListView::HandleNotify(const NMHDR* header, LRESULT& result) {
    if (header == nullptr || hwnd_ == nullptr || header->hwndFrom != hwnd_)
        return false;
    result = 0;
    // The notification structures are the list's own; it expects them written back.
    auto* writable = const_cast<NMHDR*>(header);
    switch (header->code) {
    case LVN_GETINFOTIPA:
        HandleInfoTip(*reinterpret_cast<NMLVGETINFOTIPA*>(writable));
        return true;
    case LVN_BEGINLABELEDITA:
        HandleBeginEdit(*reinterpret_cast<NMLVDISPINFOA*>(writable), result);
        return true;
    case LVN_ENDLABELEDITA:
        HandleEndEdit(*reinterpret_cast<NMLVDISPINFOA*>(writable));
        return true;
    case NM_CUSTOMDRAW:
        result = HandleCustomDraw(*reinterpret_cast<const NMLVCUSTOMDRAW*>(header));
        return true;
    case NM_DBLCLK:
        if (OnDblClick)
            OnDblClick();
        return true;
    default:
        return false;
    }
}

void PlacesListView::HandleInfoTip(NMLVGETINFOTIPA& request) {
    const bool unfolded = request.dwFlags == LVGIT_UNFOLDED;
    const std::size_t length =
        unfolded && request.pszText ? strnlen(request.pszText, std::max(request.cchTextMax, 0)) : 0;
    std::string text;
    bool write = true;
    if (OnInfoTip) {
        const std::string current = unfolded ? std::string(request.pszText, length) : "";
        OnInfoTip(request.iItem, request.iSubItem, current, text);
        write = !text.empty();
    } else {
        text = Caption(request.iItem);
    }
    // The list keeps its place among its siblings: that order is the Tab order.
    if (write)
        WriteCut(request.pszText, request.cchTextMax, length, text);
}

LRESULT CALLBACK PlacesListView::ListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<PlacesListView*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    // A key handler may re-create the list, which gives self a new window.
    const WNDPROC original = self->listProc_;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        if (self->hwnd_ == hwnd) {
            self->hwnd_ = nullptr;
            self->listProc_ = nullptr;
        }
    } else if (message == WM_KEYDOWN) {
        if (!self->KeyDown(wParam) || !IsWindow(hwnd))
            return 0;
    } else if (self->HandleDropped(message)) {
        return 0;
    }
    return CallWindowProcW(original, hwnd, message, wParam, lParam);
}

} // namespace velbrook::ui

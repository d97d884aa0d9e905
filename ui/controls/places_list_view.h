#pragma once
// PlacesListView: the report list of the places rows, over "SysListView32".
// The parent forwards the list's WM_NOTIFY to HandleNotify; extended styles and
// the column display order and the small image list are kept and re-applied whenever the window is
// created.
#include <functional>
#include <string>
#include <vector>

#include "support/win32/windows_ansi.h"
#include <commctrl.h>

#include "ui/controls/comctl_version.h"
#include "ui/controls/list_view_styles.h"

namespace velbrook::ui {

struct ListColumn {
    std::string caption;
    int width = 50;
};

struct PlacesListViewArgs {
    HWND parent = nullptr;
    int id = 0;
    RECT bounds{0, 0, 100, 100}; // in the parent's client coordinates
    std::vector<ListColumn> columns;
    ListViewExtendedStyles extendedStyles{ListViewExtendedStyle::InfoTip};
    bool hideSelection = true;
    bool readOnly = false;
    bool multiSelect = false;
    bool flat = false;
    HIMAGELIST smallImages = nullptr; // borrowed; the list never destroys it
    HFONT font = nullptr;             // borrowed; set before the columns go in
    DWORD extraStyle = 0;             // more window styles, such as WS_GROUP
};

enum class ShiftKey : unsigned { None = 0, Shift = 1, Alt = 2, Ctrl = 4 };

class PlacesListView {
  public:
    explicit PlacesListView(const PlacesListViewArgs& args);
    PlacesListView(const PlacesListView&) = delete;
    PlacesListView& operator=(const PlacesListView&) = delete;
    ~PlacesListView();

    HWND Handle() const { return hwnd_; }
    int Id() const { return args_.id; }

    ListViewExtendedStyles ExtendedStyles();
    void SetExtendedStyles(ListViewExtendedStyles styles);
    // True runs the common controls check; raises OldCommonControlsError when too old.
    void SetRequireComCtlUpdate(bool require);
    bool RequireComCtlUpdate() const { return requireComCtlUpdate_; }

    // Display order of the columns, left to right; kept across re-creation.
    void SetColumnOrder(const std::vector<int>& orders);
    std::vector<int> ColumnOrder() const;
    int ColumnCount() const;
    int ColumnWidth(int column) const;
    void SetColumnWidth(int column, int width);

    // The small icons of the rows (borrowed, never destroyed); kept across re-creation.
    void SetSmallImages(HIMAGELIST images);
    HIMAGELIST SmallImages() const { return args_.smallImages; }

    // Rows.
    int AddRow(const std::string& caption, int imageIndex = -1,
               const std::vector<std::string>& subItems = {});
    int RowCount() const;
    std::string Caption(int row) const;
    void SetCaption(int row, const std::string& caption);
    int ImageIndex(int row) const;
    void SetImageIndex(int row, int imageIndex);
    // The row's own data, which moves with it.
    LPARAM RowData(int row) const;
    void SetRowData(int row, LPARAM data);
    // Sub-item 1 is the second column.
    std::string SubItemText(int row, int subItem) const;
    void SetSubItemText(int row, int subItem, const std::string& text);
    // The first selected row, or -1.
    int SelectedIndex() const;
    // Selects and focuses a row (-1 clears the selection).
    void SelectRow(int row);
    // The row's overlay image number (0: none), which moves with the row.
    int Overlay(int row) const;
    void SetOverlay(int row, int overlay);
    // Draws the icon (borrowed, size by size pixels) over the lower left of the
    // image of each row with that overlay number: a mark that the image list
    // has no overlay image for.
    void SetOverlayIcon(int overlay, HICON icon, int size);
    bool IsSelected(int row) const;
    bool IsFocused(int row) const;

    // Moves a row with its whole content to index `to` (0..count); nothing
    // happens for indexes outside those limits or from == to.
    void MoveItem(int from, int to);
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    // Focuses the list and opens the label editor on the row.
    bool EditCaption(int row);
    void CancelEdit();
    // Ends an open label edit and keeps the typed text, as leaving the editor does.
    void EndEdit();
    bool IsEditing() const;

    // Destroys the window and creates it again with the same columns and rows.
    void RecreateHandle();

    // The list's WM_NOTIFY as received by the parent. True when handled; the
    // parent then returns `result`.
    bool HandleNotify(const NMHDR* header, LRESULT& result);

    std::function<void(int row, bool& allowEdit)> OnEditing;
    std::function<void(int row, std::string& text)> OnEdited;
    std::function<void(int row)> OnEditCanceled;
    std::function<void()> OnDblClick;
    // Also for keys typed into the label editor; setting key to 0 swallows it.
    std::function<void(WPARAM& key, unsigned shift)> OnKeyDown;
    std::function<void(int row, int subItem, const std::string& current, std::string& additional)>
        OnInfoTip;

    // Makes the list a drop target for files and folders dragged from Explorer:
    // the row under the pointer is marked, and once the drag has ended `onDrop`
    // gets that row and the dropped names. Kept across re-creation.
    void
    AcceptDroppedFiles(std::function<void(int row, const std::vector<std::wstring>& names)> onDrop);

  private:
    struct SavedRow;
    class DropTarget;
    struct PendingDrop {
        int row = -1;
        std::vector<std::wstring> names;
    };
    void RegisterDropTarget();
    void RevokeDropTarget();
    int RowAt(POINTL screenPoint) const;
    void MarkDropRow(int row);
    bool HandleDropped(UINT message);
    void CreateHandle();
    void AfterCreate();
    void FinishCreate();
    void DestroyHandle();
    SavedRow SaveRow(int row) const;
    int InsertSavedRow(int at, const SavedRow& saved);
    UINT RowState(int row, UINT mask) const;
    void SetRowState(int row, UINT state, UINT mask);
    bool KeyDown(WPARAM& key);
    void HandleInfoTip(NMLVGETINFOTIPA& request);
    LRESULT HandleCustomDraw(const NMLVCUSTOMDRAW& draw) const;
    void HandleBeginEdit(NMLVDISPINFOA& info, LRESULT& result);
    void HandleEndEdit(NMLVDISPINFOA& info);
    static LRESULT CALLBACK ListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR self);

    PlacesListViewArgs args_;
    HWND hwnd_ = nullptr;
    WNDPROC listProc_ = nullptr; // the list's own, while ListProc is in front of it
    ListViewExtendedStyles extendedStyles_;
    std::vector<int> storedColumnOrder_;
    bool requireComCtlUpdate_ = false;
    int updateCount_ = 0;
    bool cancelling_ = false;
    int selectionMark_ = -1;
    int hoverTime_ = -1;
    std::function<void(int row, const std::vector<std::wstring>& names)> OnDropFiles;
    int dropRow_ = -1;
    int editorWidth_ = 0; // the open editor's least width
    int overlayOfIcon_ = 0;
    HICON overlayIcon_ = nullptr;
    int overlayIconSize_ = 0;
    PendingDrop pendingDrop_;
};

} // namespace velbrook::ui

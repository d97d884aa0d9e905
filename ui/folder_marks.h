#pragma once
// FolderMarks: the warning mark on the icon of a row whose folder does not
// exist or cannot be reached, which the file dialogs leave out. Folders are
// looked at on worker threads, so a share that does not answer never holds
// the window; one that has not answered within the time limit is marked until
// it does.
#include <array>
#include <optional>
#include <string>

#include "core/places_bar.h"
#include "support/win32/windows_ansi.h"
#include "ui/controls/places_list_view.h"

namespace velbrook::ui {

// The list's overlay image for the mark (1 to 15).
inline constexpr int kMissingFolderOverlay = 15;

class FolderMarks {
  public:
    // The answers come to `window` as messages, which it passes to HandleMessage.
    FolderMarks(HWND window, PlacesListView& list) : window_(window), list_(list) {}

    // Looks at the row's folder again; no folder (an empty row, a special
    // folder without a path) takes the mark away at once.
    void Check(int row, const std::optional<std::string>& folder);
    // The answers of the workers and the time limit; true when it was one.
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool Marked(int row) const;

  private:
    // By the row's item data, 1 to 5.
    struct Look {
        WPARAM generation = 0;
        bool waiting = false;
    };
    int RowOf(int id) const;
    void Mark(int id, bool missing);

    HWND window_;
    PlacesListView& list_;
    std::array<Look, kPlaceSlots + 1> looks_{};
};

} // namespace velbrook::ui

#pragma once
// The shell's small icons for the places list at the window's resolution. At
// the system's resolution that is the shell's own image list (shared, never
// destroyed); at another, copies of its icons at the size for that resolution,
// under the same indexes, so that the rows' icon indexes hold in either.
#include "support/win32/handles.h"

namespace velbrook::ui {

class SystemIcons {
  public:
    // The list for a resolution; the copies are made again when it changes. The
    // list returned before stays valid until the next call, for the list view
    // that still shows it.
    HIMAGELIST For(int dpi);
    // Makes sure the list holds the system icon of that index (copying it when
    // the list is of copies); returns the index.
    int Cover(int index);

  private:
    HIMAGELIST shared_ = nullptr;
    // The shell's list that the copies are made from.
    HIMAGELIST source_ = nullptr;
    win32::ImageList copies_;
    win32::ImageList previous_;
    int dpi_ = 0;
};

} // namespace velbrook::ui

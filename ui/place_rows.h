#pragma once
// The five rows of the list as places. A row shows a path, or a value of the
// places bar that is kept exactly as it was stored (a special folder, a path
// with variables, text that the code page cannot hold). A kept value moves with
// its row and is written back unchanged until the row is replaced or cleared.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/places_bar.h"
#include "support/win32/stored_place.h"
#include "ui/controls/places_list_view.h"
#include "ui/system_icons.h"

namespace velbrook::ui {

class PlaceRows {
  public:
    // Gives each row of the list its own item data, by which kept values follow
    // the rows when they move. The rows' icons are taken into `icons`.
    PlaceRows(PlacesListView& list, SystemIcons& icons);

    // The icons of the filled rows, once the list shows the shell's images;
    // until then rows change without them.
    void ShowIcons();
    // A path typed, browsed or taken from a scheme.
    void SetPath(int row, const std::string& path);
    void SetStored(int row, const RegValue& value);
    // Keeps the value that the row's caption came from, to be written back
    // exactly (type and bytes) until the row changes.
    void Keep(int row, const RegValue& value);
    // Empties the caption and drops a kept value; the icon stays.
    void Clear(int row);
    // An accepted edit, before the list takes the text: a kept value stays when
    // the text is the caption it showed.
    void Edited(int row, const std::string& text);

    // The folder that the dialogs would show for the row: the typed path, or a
    // kept value's folder path (special folders and variables resolved); none
    // for an empty row or a place without a path.
    std::optional<std::string> FolderOf(int row) const;

    std::vector<PlaceSlot> Slots() const;
    // The rows as paths. A kept value without a path is left empty; its caption
    // is added to leftOut.
    PlacesList Paths(std::vector<std::string>& leftOut) const;

  private:
    struct Kept {
        RegValue value;
        win32::PlaceLook look;
    };
    // The row's entry in kept_; -1 or nullptr for a row without item data of ours.
    int EntryOf(int row) const;
    std::optional<Kept>* KeptAt(int row);
    const Kept* KeptValueAt(int row) const;
    int IconOf(const std::string& path);
    // A kept value without an icon of its own has that of its caption's path.
    int IconOf(const Kept& kept) {
        return kept.look.icon >= 0 ? icons_.Cover(kept.look.icon) : IconOf(kept.look.caption);
    }

    PlacesListView& list_;
    SystemIcons& icons_;
    bool iconsShown_ = false;
    // By the row's item data, 1 to 5.
    std::array<std::optional<Kept>, kPlaceSlots> kept_;
};

} // namespace velbrook::ui

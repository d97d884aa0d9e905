#include "ui/place_rows.h"

#include "support/win32/shell.h"

namespace velbrook::ui {

PlaceRows::PlaceRows(PlacesListView& list, SystemIcons& icons) : list_(list), icons_(icons) {
    for (int row = 0; row < list_.RowCount() && row < kPlaceSlots; ++row)
        list_.SetRowData(row, row + 1);
}

int PlaceRows::IconOf(const std::string& path) {
    return icons_.Cover(win32::GetSystemIconIndex(path));
}

int PlaceRows::EntryOf(int row) const {
    const LPARAM id = list_.RowData(row);
    return id >= 1 && id <= kPlaceSlots ? static_cast<int>(id - 1) : -1;
}

std::optional<PlaceRows::Kept>* PlaceRows::KeptAt(int row) {
    const int entry = EntryOf(row);
    return entry >= 0 ? &kept_[static_cast<std::size_t>(entry)] : nullptr;
}

const PlaceRows::Kept* PlaceRows::KeptValueAt(int row) const {
    const int entry = EntryOf(row);
    if (entry < 0 || !kept_[static_cast<std::size_t>(entry)])
        return nullptr;
    return &*kept_[static_cast<std::size_t>(entry)];
}

void PlaceRows::ShowIcons() {
    iconsShown_ = true;
    for (int row = 0; row < list_.RowCount(); ++row) {
        const std::string caption = list_.Caption(row);
        if (caption.empty())
            continue;
        const Kept* kept = KeptValueAt(row);
        list_.SetImageIndex(row, kept != nullptr ? IconOf(*kept) : IconOf(caption));
    }
}

void PlaceRows::SetPath(int row, const std::string& path) {
    if (std::optional<Kept>* kept = KeptAt(row))
        kept->reset();
    list_.SetCaption(row, path);
    if (iconsShown_)
        list_.SetImageIndex(row, IconOf(path));
}

void PlaceRows::SetStored(int row, const RegValue& value) {
    std::optional<Kept>* kept = KeptAt(row);
    if (kept == nullptr)
        return;
    *kept = Kept{value, win32::DescribeStoredPlace(value)};
    list_.SetCaption(row, (*kept)->look.caption);
    if (iconsShown_)
        list_.SetImageIndex(row, IconOf(**kept));
}

void PlaceRows::Keep(int row, const RegValue& value) {
    if (std::optional<Kept>* kept = KeptAt(row)) {
        const std::string caption = list_.Caption(row);
        *kept = Kept{value, {caption, -1, caption.empty() ? std::nullopt : std::optional(caption)}};
    }
}

void PlaceRows::Clear(int row) {
    if (std::optional<Kept>* kept = KeptAt(row))
        kept->reset();
    list_.SetCaption(row, "");
}

void PlaceRows::Edited(int row, const std::string& text) {
    std::optional<Kept>* kept = KeptAt(row);
    if (kept != nullptr && *kept && (*kept)->look.caption == text) {
        list_.SetImageIndex(row, IconOf(**kept));
        return;
    }
    if (kept != nullptr)
        kept->reset();
    list_.SetImageIndex(row, IconOf(text));
}

std::optional<std::string> PlaceRows::FolderOf(int row) const {
    if (const Kept* kept = KeptValueAt(row))
        return kept->look.path;
    std::string caption = list_.Caption(row);
    return caption.empty() ? std::nullopt : std::optional(std::move(caption));
}

std::vector<PlaceSlot> PlaceRows::Slots() const {
    std::vector<PlaceSlot> slots;
    for (int row = 0; row < list_.RowCount(); ++row) {
        const Kept* kept = KeptValueAt(row);
        slots.push_back(
            {list_.Caption(row), kept != nullptr ? std::optional(kept->value) : std::nullopt});
    }
    return slots;
}

PlacesList PlaceRows::Paths(std::vector<std::string>& leftOut) const {
    PlacesList paths;
    for (int row = 0; row < list_.RowCount(); ++row) {
        const Kept* kept = KeptValueAt(row);
        if (kept == nullptr) {
            paths.push_back(list_.Caption(row));
        } else if (kept->look.path) {
            paths.push_back(*kept->look.path);
        } else {
            paths.emplace_back();
            if (!kept->look.caption.empty())
                leftOut.push_back(kept->look.caption);
        }
    }
    return paths;
}

} // namespace velbrook::ui

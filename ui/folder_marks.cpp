#include "ui/folder_marks.h"

#include <memory>

#include "support/files.h"

namespace velbrook::ui {
namespace {

constexpr UINT kFolderAnswerMessage = WM_APP + 2;
constexpr UINT_PTR kTimeLimitTimer = 0x5646; // "VF"
// Longer than a local disk ever takes, shorter than a user's patience.
constexpr UINT kTimeLimitMs = 3000;

struct FolderLook {
    HWND window;
    WPARAM generation;
    int id;
    std::string path;
};

DWORD WINAPI LookAtFolder(void* context) {
    const std::unique_ptr<FolderLook> look(static_cast<FolderLook*>(context));
    PostMessageW(look->window, kFolderAnswerMessage, look->generation,
                 MAKELPARAM(look->id, FolderExists(look->path) ? 1 : 0));
    return 0;
}

} // namespace

int FolderMarks::RowOf(int id) const {
    for (int row = 0; row < list_.RowCount(); ++row) {
        if (list_.RowData(row) == id)
            return row;
    }
    return -1;
}

void FolderMarks::Mark(int id, bool missing) {
    const int row = RowOf(id);
    if (row >= 0)
        list_.SetOverlay(row, missing ? kMissingFolderOverlay : 0);
}

bool FolderMarks::Marked(int row) const {
    return list_.Overlay(row) == kMissingFolderOverlay;
}

void FolderMarks::Check(int row, const std::optional<std::string>& folder) {
    const auto id = static_cast<int>(list_.RowData(row));
    if (id < 1 || id > kPlaceSlots)
        return;
    Look& look = looks_[static_cast<std::size_t>(id)];
    // Numbered across the process: an answer still on its way is for the folder
    // before, or for a window closed since whose handle this one got.
    static WPARAM lastGeneration = 0;
    look.generation = ++lastGeneration;
    look.waiting = false;
    if (!folder || folder->empty()) {
        Mark(id, false);
        return;
    }
    auto request = std::make_unique<FolderLook>(FolderLook{window_, look.generation, id, *folder});
    if (!QueueUserWorkItem(LookAtFolder, request.get(), WT_EXECUTELONGFUNCTION))
        return;
    request.release();
    look.waiting = true;
    SetTimer(window_, kTimeLimitTimer, kTimeLimitMs, nullptr);
}

bool FolderMarks::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kFolderAnswerMessage) {
        const int id = LOWORD(lParam);
        if (id < 1 || id > kPlaceSlots || looks_[static_cast<std::size_t>(id)].generation != wParam)
            return true;
        looks_[static_cast<std::size_t>(id)].waiting = false;
        Mark(id, HIWORD(lParam) == 0);
        return true;
    }
    if (message == WM_TIMER && wParam == kTimeLimitTimer) {
        KillTimer(window_, kTimeLimitTimer);
        // The dialogs would wait as long for it, and then leave it out.
        for (int id = 1; id <= kPlaceSlots; ++id) {
            if (looks_[static_cast<std::size_t>(id)].waiting)
                Mark(id, true);
        }
        return true;
    }
    return false;
}

} // namespace velbrook::ui

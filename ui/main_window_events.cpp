// The event handlers of MainWindow: creation and destruction, OK and Cancel,
// editing of the rows and the scheme controls.
#include <algorithm>

#include "core/places_file.h"
#include "core/scheme_edits.h"
#include "core/schemes.h"
#include "support/dialogs.h"
#include "support/errors.h"
#include "support/messages.h"
#include "support/win32/dropped_place.h"
#include "support/win32/program_path.h"
#include "support/win32/shell.h"
#include "support/win32/stored_place.h"
#include "ui/application.h"
#include "ui/main_window_form.h"

namespace velbrook::ui {

namespace {

// The help document beside the program, so that it opens from any working folder.
std::string HelpDocumentPath() {
    return win32::ProgramFolder() + design::kHelpDocument;
}

} // namespace

void MainWindow::OnCreate() {
    rows_ = std::make_unique<PlaceRows>(*list_, icons_);
    folderMarks_ = std::make_unique<FolderMarks>(hwnd(), *list_);
    // Whatever the scheme store holds, the places bar is read.
    Application::Instance().Guard([this] { LoadSchemeList(); });
    const PlacesBarState state = ReadPlacesBar();
    for (int row = 0; row < kPlaceSlots; ++row) {
        if (state.Stored[row]) {
            rows_->SetStored(row, *state.Stored[row]);
            continue;
        }
        if (state.Slots[row])
            rows_->SetPath(row, *state.Slots[row]);
        // A row nobody edits is written back as it is stored, whatever its type.
        if (state.AsStored[row])
            rows_->Keep(row, *state.AsStored[row]);
    }
    customAtStart_ = state.KeyExists;
    Check(state.KeyExists ? design::kIdCustomRadio : design::kIdDefaultRadio);
    list_->SetColumnOrder({1, 0});
}

void MainWindow::LoadSchemeList() {
    // Pending edits stay stored: every reader of the store merges them.
    const std::string damaged =
        LoadSchemes(schemes_, {.consumePendingEdits = false, .skipDamagedEntries = true});
    schemesSavable_ = damaged.empty();
    storedSchemes_ = StoredSchemesOf(schemeEntries_);
    if (!damaged.empty())
        ShowMessageBox(FormatText(msg::kSchemesDamaged, damaged), msg::kCaptionError,
                       kMbOk | kMbIconStop);
}

void MainWindow::NoteUnsavedSchemes() {
    if (!schemesSavable_)
        ShowMessageBox(msg::kSchemesNotSavedThisTime, msg::kCaptionInformation,
                       kMbOk | kMbIconInformation);
}

void MainWindow::AttachSystemImages() {
    if (systemImages_ != nullptr)
        return;
    systemImages_ = icons_.For(dpi_);
    list_->SetSmallImages(systemImages_);
    MakeMissingFolderMark();
}

void MainWindow::MakeMissingFolderMark() {
    int width = 0;
    int height = 0;
    ImageList_GetIconSize(systemImages_, &width, &height);
    // As large as the shell's overlays draw their mark: most of the icon.
    const int size = std::max(8, width * 5 / 8);
    missingFolderMark_ = win32::WarningIcon(size);
    list_->SetOverlayIcon(kMissingFolderOverlay, missingFolderMark_.get(), size);
}

void MainWindow::ShowIcons() {
    AttachSystemImages();
    rows_->ShowIcons();
}

void MainWindow::SaveSchemeList() {
    if (!schemesSavable_ || schemesSaved_)
        return;
    SaveSchemeEdits(EditsSince(storedSchemes_, schemeEntries_));
    schemesSaved_ = true;
}

void MainWindow::OnDestroy() {
    SaveSchemeList();
}

void MainWindow::OnEndSession(bool ending) {
    // The session ends without destroying the window.
    if (ending)
        Application::Instance().Guard([this] { SaveSchemeList(); });
}

PlacesList MainWindow::RowCaptions() const {
    PlacesList rows;
    for (int row = 0; row < list_->RowCount(); ++row)
        rows.push_back(list_->Caption(row));
    return rows;
}

void MainWindow::SetRow(int row, const std::string& caption) {
    rows_->SetPath(row, caption);
}

void MainWindow::EndRowEdit() {
    list_->EndEdit();
}

bool MainWindow::IsChecked(design::ControlId radio) const {
    return SendMessageA(Item(radio), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void MainWindow::Check(design::ControlId radio) {
    for (const design::ControlId id : {design::kIdDefaultRadio, design::kIdCustomRadio})
        SendMessageA(Item(id), BM_SETCHECK, id == radio ? BST_CHECKED : BST_UNCHECKED, 0);
}

void MainWindow::SetOkDefault(bool on) {
    SendMessageA(hwnd(), DM_SETDEFID, on ? design::kIdOk : 0, 0);
    SendMessageA(Item(design::kIdOk), BM_SETSTYLE, on ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void MainWindow::ApplyToPlacesBar() {
    if (IsChecked(design::kIdDefaultRadio)) {
        WritePlacesBar(nullptr);
        return;
    }
    WritePlacesBar(rows_->Slots());
}

void MainWindow::CloseWindow(bool apply) {
    if (list_->IsEditing())
        return;
    // Nothing edited, nothing written.
    if (apply && (rowsEdited_ || IsChecked(design::kIdCustomRadio) != customAtStart_))
        ApplyToPlacesBar();
    DestroyWindow(hwnd());
}

void MainWindow::OnDefaultRadioDoubleClick() {
    Check(design::kIdDefaultRadio);
    OnOk();
}

void MainWindow::OnCustomRadioDoubleClick() {
    Check(design::kIdCustomRadio);
    OnOk();
}

void MainWindow::OnHelp() {
    ActiveDialogs().OpenDocument(HelpDocumentPath(), design::kOpenVerb, "", "", false);
}

void MainWindow::OnWebSiteLink() {
    ActiveDialogs().OpenDocument(design::kMakerWebSite, design::kOpenVerb, "", "", false);
}

void MainWindow::OnChangeRow() {
    EndRowEdit();
    const int row = list_->SelectedIndex();
    if (row < 0)
        return;
    const BrowsedFolder folder =
        ActiveDialogs().BrowseForFolder(msg::kBrowseTitle, list_->Caption(row));
    if (!folder.path.empty()) {
        SetRow(row, folder.path);
    } else if (folder.specialFolder >= 0) {
        rows_->SetStored(row, win32::SpecialFolderValue(folder.specialFolder));
    } else {
        if (!folder.unusableName.empty())
            ShowMessageBoxFmt(msg::kFolderCannotBePlace, folder.unusableName, msg::kCaptionError,
                              kMbOk | kMbIconExclamation);
        return;
    }
    OnRowsChosen();
}

void MainWindow::RowsEdited() {
    rowsEdited_ = true;
    CheckFoldersLater();
}

void MainWindow::OnRowsChosen() {
    RowsEdited();
    Check(design::kIdCustomRadio);
    schemes_.Select(-1);
}

void MainWindow::OnFoldersDropped(int row, const std::vector<std::wstring>& names) {
    EndRowEdit();
    // Every name is checked before any row changes: a drop is taken whole or not at all.
    std::vector<std::string> folders;
    for (std::size_t i = 0; i < names.size() && row + folders.size() < kPlaceSlots; ++i) {
        win32::DroppedPlace place = win32::PlaceOfDroppedName(names[i]);
        if (!place.path) {
            ShowMessageBoxFmt(msg::kFolderCannotBePlace, place.name, msg::kCaptionError,
                              kMbOk | kMbIconExclamation);
            return;
        }
        folders.push_back(std::move(*place.path));
    }
    if (folders.empty())
        return;
    for (std::size_t i = 0; i < folders.size(); ++i)
        SetRow(row + static_cast<int>(i), folders[i]);
    list_->SelectRow(row);
    OnRowsChosen();
}

void MainWindow::OnClearRow() {
    EndRowEdit();
    const int row = list_->SelectedIndex();
    if (row < 0)
        return;
    rows_->Clear(row);
    RowsEdited();
    Check(design::kIdCustomRadio);
}

void MainWindow::OnRowEditStarting() {
    SetOkDefault(false);
}

void MainWindow::OnRowEdited(int row, const std::string& text) {
    rows_->Edited(row, text);
    RowsEdited();
    SetOkDefault(true);
}

void MainWindow::OnRowEditCancelled() {
    SetOkDefault(true);
}

void MainWindow::OnListKeyDown(WPARAM& key) {
    if (key == VK_ESCAPE && list_->IsEditing()) {
        list_->CancelEdit();
    } else if (key == VK_F2) {
        const int row = list_->SelectedIndex();
        if (row >= 0)
            list_->EditCaption(row);
    }
}

void MainWindow::OnMoveRow(int sender) {
    EndRowEdit();
    const int direction = sender == design::kCmdMoveUp ? -1 : 1;
    const int row = list_->SelectedIndex();
    if (row < 0)
        return;
    const int target = row + direction;
    if (target < 0 || target >= list_->RowCount())
        return;
    list_->MoveItem(row, target);
    rowsEdited_ = true;
}

void MainWindow::OnSavePlacesFile() {
    EndRowEdit();
    std::vector<std::string> leftOut;
    if (SavePlacesFileInteractive(rows_->Paths(leftOut)))
        TellPlacesLeftOut(msg::kPlacesLeftOutOfFile, leftOut);
}

void MainWindow::OnAddScheme() {
    EndRowEdit();
    std::string name = msg::kSchemeQueryPreset;
    if (!ActiveDialogs().InputQuery(msg::kSchemeQueryCaption, msg::kSchemeQueryPrompt, name))
        return;
    std::vector<std::string> leftOut;
    schemes_.Select(schemes_.AddItem(name, std::make_unique<PlacesList>(rows_->Paths(leftOut))));
    TellPlacesLeftOut(msg::kPlacesLeftOutOfScheme, leftOut);
    NoteUnsavedSchemes();
}

void MainWindow::OnSchemeSelectionChange() {
    LoadChosenScheme();
    UpdateDeleteSchemeButton();
}

void MainWindow::LoadChosenScheme() {
    EndRowEdit();
    const int selected = schemes_.Selected();
    if (selected < 0)
        return;
    const PlacesList places = schemes_.Places(selected);
    // A scheme of fewer places leaves the rest empty, as -load: applies it.
    for (int row = 0; row < kPlaceSlots; ++row) {
        if (row < static_cast<int>(places.size()))
            SetRow(row, places[row]);
        else
            rows_->Clear(row);
    }
    RowsEdited();
    Check(design::kIdCustomRadio);
}

void MainWindow::UpdateDeleteSchemeButton() {
    schemeDeleteEnabled_ = schemes_.Selected() >= 0;
    UpdateCommandStates();
}

void MainWindow::OnDeleteScheme() {
    const int selected = schemes_.Selected();
    if (selected < 0)
        return;
    const int answer =
        ShowMessageBoxFmt(msg::kDeleteScheme, schemes_.Name(selected), msg::kCaptionConfirmation,
                          kMbOkCancel | kMbIconExclamation, 0);
    if (answer != kIdOk)
        return;
    schemes_.Delete(selected);
    schemes_.Select(-1);
    NoteUnsavedSchemes();
}

} // namespace velbrook::ui

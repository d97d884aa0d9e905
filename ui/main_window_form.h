#pragma once
// MainWindow: the program's one window. It shows the live places bar as five rows,
// the choice between the default and custom buttons, and the quick adjust schemes.
#include <memory>
#include <string>
#include <vector>

#include "core/places_bar.h"
#include "core/scheme_edits.h"
#include "support/win32/handles.h"
#include "support/win32/windows_ansi.h"
#include "ui/controls/places_list_view.h"
#include "ui/controls/image_button_host.h"
#include "ui/folder_marks.h"
#include "ui/main_window_commands.h"
#include "ui/main_window_design.h"
#include "ui/place_rows.h"
#include "ui/scheme_combo.h"
#include "ui/system_icons.h"
#include "ui/window.h"

namespace velbrook::ui {

class MainWindow : public Window {
  public:
    MainWindow() = default;
    // Destroys the window while the members it uses still exist.
    ~MainWindow() override;

    // Creates the window hidden with its controls and runs OnCreate. Errors while
    // the controls are built (such as the common controls check) are raised.
    void Create();
    // Shows the window centred with the list focused. The rows' icons follow
    // once it is painted: the shell's image list takes longer than the window.
    void Show();

    // For tests and the program's start.
    PlacesListView& List() { return *list_; }
    ComboSchemeList& Schemes() { return schemes_; }
    HWND Item(design::ControlId id) const { return GetDlgItem(hwnd(), id); }
    // The image button of a command; raises Error when there is none.
    ImageButton& CommandButton(int commandId);
    // The image button of that part of the window; raises Error when there is none.
    ImageButton& ImageButtonOf(design::Part part);
    HIMAGELIST SystemSmallImages() const { return systemImages_; }
    HIMAGELIST Glyphs() const { return glyphs_.get(); }
    HFONT LinkFont() const { return linkFont_.get(); }
    int Dpi() const { return dpi_; }
    bool HasLogo() const { return static_cast<bool>(logo_); }
    // Where a windowless control of the design is now, in client coordinates.
    RECT PlacedRect(design::Part part) const;
    // Where the logo is drawn, centred on its place.
    RECT LogoRect() const;
    bool IsChecked(design::ControlId radio) const;
    PlacesList RowCaptions() const;

    // Runs a command of the table (ui/main_window_commands.h) when it is enabled.
    void RunCommand(int commandId);
    bool CommandEnabled(const Command& command) const;
    bool SchemeDeleteEnabled() const { return schemeDeleteEnabled_; }

    // Event handlers.
    void OnCreate();
    void OnDestroy();
    void OnEndSession(bool ending);
    void SaveSchemeList();
    void ApplyToPlacesBar();
    // OK applies the window's state first; neither closes while a row is edited.
    void OnOk() { CloseWindow(true); }
    void OnCancel() { CloseWindow(false); }
    void OnDefaultRadioDoubleClick();
    void OnCustomRadioDoubleClick();
    void OnHelp();
    void OnWebSiteLink();
    void OnChangeRow();
    // Folders dragged from Explorer onto a row fill it and the rows below.
    void OnFoldersDropped(int row, const std::vector<std::wstring>& names);
    void OnClearRow();
    void OnRowEditStarting();
    void OnRowEdited(int row, const std::string& text);
    void OnRowEditCancelled();
    void OnListKeyDown(WPARAM& key);
    // sender: design::kCmdMoveUp or design::kCmdMoveDown.
    void OnMoveRow(int sender);
    void OnSavePlacesFile();
    void OnAddScheme();
    void LoadChosenScheme();
    void UpdateDeleteSchemeButton();
    void OnDeleteScheme();

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    // The message font and the link font for the current resolution and scale.
    void MakeFonts(int textHeight);
    // Glyphs and logo for the window's resolution.
    void LoadArt();
    // The scheme label's design rectangle, as wide as its text needs in the window's font.
    layout::Rect LabelDesign(int textHeight) const;
    void BuildControls();
    void AddImageButton(const design::Control& control);
    // Fonts, scale, glyphs, logo, icons, column and label widths for another
    // resolution; the window takes the suggested place or, without one, the size
    // of its design.
    void ApplyDpi(int dpi, const RECT* suggested);
    bool TranslateShortcut(const MSG& msg);
    void UpdateCommandStates();
    // Lays the design out again when the client size or the text height changed
    // since the last time; painting and hit-testing read the result.
    void UpdateLayout() const;
    void LayOutWindowless();
    void Paint();
    // Gives the list the shell's small images and every filled row its icon.
    void AttachSystemImages();
    // The warning mark of a missing folder, at the size of the rows' icons.
    void MakeMissingFolderMark();
    void ShowIcons();
    bool OverLink(POINT at) const;
    void SetOkDefault(bool on);
    void Check(design::ControlId radio);
    void SetRow(int row, const std::string& caption);
    void LoadSchemeList();
    // Every command that reads or changes the rows first ends an open edit,
    // keeping its text, as leaving the editor does.
    void EndRowEdit();
    // Tells the user when scheme changes of this session cannot be saved.
    void NoteUnsavedSchemes();

    // The rows' folders are looked at again once the current message is done
    // (an accepted edit reaches the list after its handler).
    void CheckFoldersLater();
    void CheckFolders();
    void InfoTipOf(int row, const std::string& current, std::string& additional) const;
    // A row's place changed: Ok writes the bar, and its folder is looked at again.
    void RowsEdited();
    // A row's place was chosen (browsed or dropped): the custom buttons, no scheme.
    void OnRowsChosen();
    void CloseWindow(bool apply);
    void OnSchemeSelectionChange();
    static const CommandRoute<MainWindow> kRoutes[6];

    int dpi_ = 96;
    win32::Font font_;
    win32::Font linkFont_;
    win32::ImageList glyphs_;
    win32::ImageList logo_;
    // The rows' icons at the window's resolution; the list shows them from ShowIcons on.
    SystemIcons icons_;
    HIMAGELIST systemImages_ = nullptr; // the shell's list or icons_' copies of it
    std::unique_ptr<PlacesListView> list_;
    std::unique_ptr<ImageButtonHost> buttons_;
    // One rectangle per design control, for placedSize_ and placedTextHeight_.
    mutable std::vector<RECT> placed_;
    mutable layout::Size placedSize_;
    mutable int placedTextHeight_ = 0;
    mutable RECT logoRect_{};
    struct CommandButtonPlace {
        const design::Control* control; // its design row, whose id is the command's
        ImageButton* button;
    };
    std::vector<CommandButtonPlace> commandButtons_;
    // Set by the scheme box's own handler only, as the delete button's state.
    bool schemeDeleteEnabled_ = true;
    std::unique_ptr<PlaceRows> rows_;
    std::unique_ptr<FolderMarks> folderMarks_;
    win32::Icon missingFolderMark_;
    bool folderCheckPosted_ = false;
    // The schemes, in the order they were added; the scheme box shows them sorted.
    OrderedSchemeList schemeEntries_;
    ComboSchemeList schemes_;
    // Closing saves the scheme list only when all of it was loaded: what could
    // not be read must not be replaced.
    bool schemesSavable_ = false;
    // The schemes as loaded, against which the list's edits are saved, once.
    std::vector<StoredScheme> storedSchemes_;
    bool schemesSaved_ = false;
    // OK writes the places bar only when something was changed.
    bool rowsEdited_ = false;
    bool customAtStart_ = false;
};

} // namespace velbrook::ui

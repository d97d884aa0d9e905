#pragma once
// The seam for everything that blocks on the user or shows UI: message boxes,
// the folder browser, the file dialog, the input dialog and opening documents.
// The platform's implementation shows the real dialogs; tests install a
// scripted one.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velbrook {

using WindowRef = std::uintptr_t; // an HWND, as an integer; 0: the default owner

// MessageBox styles and results used by the program.
enum : unsigned {
    kMbOk = 0x00,
    kMbOkCancel = 0x01,
    kMbYesNo = 0x04,
    kMbIconStop = 0x10,
    kMbIconExclamation = 0x30,
    kMbIconInformation = 0x40,
};
enum : int { kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7 };

// What the folder browser gave: a folder's path, or a special folder that has no
// path (My Computer, Network) by its number (CSIDL). Nothing of either when the
// browser was cancelled or the choice can be neither.
struct BrowsedFolder {
    BrowsedFolder() = default;
    BrowsedFolder(std::string folderPath) : path(std::move(folderPath)) {}
    BrowsedFolder(const char* folderPath) : path(folderPath) {}

    std::string path;
    int specialFolder = -1;
    // Set when something was chosen that can be neither: the name the browser showed.
    std::string unusableName;
};

class UserDialogs {
  public:
    virtual ~UserDialogs() = default;

    // MessageBoxA; owner 0 means the main window, or the desktop before it exists.
    // Returns the button pressed, 0 when the box could not be shown.
    virtual int MessageBox(const std::string& text, const std::string& caption, unsigned flags,
                           WindowRef owner) = 0;
    // The shell's folder browser with the initial folder preselected.
    virtual BrowsedFolder BrowseForFolder(const std::string& title,
                                          const std::string& initialFolder) = 0;
    // The standard Open dialog used to name a places file; false when cancelled.
    virtual bool AskPlacesFileName(std::string& fileName) = 0;
    // The modal one-line input box; false when cancelled. value is the preset text
    // on entry and the typed text on return.
    virtual bool InputQuery(const std::string& caption, const std::string& prompt,
                            std::string& value) = 0;
    // ShellExecuteExA with a verb; -1 on failure.
    virtual std::intptr_t OpenDocument(const std::string& fileName, const std::string& verb,
                                       const std::string& parameters, const std::string& directory,
                                       bool wait) = 0;
};

UserDialogs& ActiveDialogs();
// Installs dialogs for the rest of the process (tests); nullptr restores the
// platform's. The caller keeps ownership.
void SetActiveDialogs(UserDialogs* dialogs);
UserDialogs& PlatformDialogs();

int ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags,
                   WindowRef owner = 0);
// format holds one "%s", replaced by arg.
int ShowMessageBoxFmt(std::string_view format, std::string_view arg, const std::string& caption,
                      unsigned flags, WindowRef owner = 0);
// Names places that were left out of what was saved, one per line in place of
// the format's "%s", in an information box; shows nothing when there are none.
void TellPlacesLeftOut(std::string_view format, const std::vector<std::string>& leftOut);

} // namespace velbrook

#pragma once
// Drives the real program's window from the test process with the messages that
// a user's actions produce, and reads and answers its dialogs. Every wait is
// bounded.
#include <string>

#include "app/win32/e2e_process.h"

namespace velbrook::e2e {

class ProgramWindow {
  public:
    // Waits for the process's main window to show.
    ProgramWindow(const ChildProcess& process, DWORD timeoutMs);

    bool Found() const { return window_ != nullptr; }
    HWND Handle() const { return window_; }

    // Selects a row of the places list with the keyboard.
    void SelectRow(int row);
    // F2 on the selected row, then the text typed into its editor; false when no
    // editor opened.
    bool EditSelectedRow(const std::wstring& text);
    bool Editing() const;
    // Clicks the image button that has this hint. Posted, like the clicks below,
    // so that a dialog it opens does not hold the test, and so that it comes
    // after what was posted before.
    bool ClickImageButton(const char* hint);
    void ClickOk();
    void ClickCancel();

  private:
    HWND List() const;
    void Click(int id);

    const ChildProcess& process_;
    HWND window_ = nullptr;
};

struct ShownDialog {
    HWND window = nullptr;
    std::wstring caption;
    std::wstring text; // a message box's message
};

// Waits for a dialog of the process: a message box or another #32770 window.
ShownDialog WaitForDialog(const ChildProcess& process, DWORD timeoutMs);
// Waits until the dialog has closed; false when it is still there.
bool WaitUntilClosed(const ShownDialog& dialog, DWORD timeoutMs);
// Puts text into one of the dialog's controls (by id).
void SetDialogText(const ShownDialog& dialog, int control, const std::wstring& text);
// Presses the dialog's button of that id (IDOK, IDYES, ...).
void PressDialogButton(const ShownDialog& dialog, int button);

} // namespace velbrook::e2e

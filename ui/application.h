#pragma once
// The application object: common controls, title, main window, the message loop
// with dialog keyboard handling, and the one place where event handlers run and
// their errors are reported.
#include <exception>
#include <string>
#include <utility>

#include "support/errors.h"
#include "support/win32/windows_ansi.h"

namespace velbrook::ui {

class Application {
  public:
    using MessageBoxFunction = int(WINAPI*)(HWND, LPCSTR, LPCSTR, UINT);

    static Application& Instance();

    // Turns visual styles on.
    void Initialize();
    // Registers the common control classes the window uses; call before the
    // first common control or image list.
    void InitializeCommonControls();
    const std::string& Title() const { return title_; }
    void SetTitle(std::string title) { title_ = std::move(title); }

    HWND MainWindow() const { return mainWindow_; }
    // Also the owner of the program's dialogs; the window clears it (nullptr)
    // when it is destroyed.
    void SetMainWindow(HWND window);

    // Runs until the main window is destroyed (WM_QUIT); returns its exit code.
    int Run();
    // One message through the main window's shortcuts and the dialog keyboard
    // handling; false on WM_QUIT.
    bool ProcessMessage(MSG& msg);

    // Runs an event handler; an error it raises is reported, not passed on.
    // True when the handler finished.
    template <class F> bool Guard(F&& handler) noexcept {
        try {
            std::forward<F>(handler)();
            return true;
        } catch (const std::exception& e) {
            ReportError(e.what());
        } catch (...) {
            ReportError("");
        }
        return false;
    }

    // The general error report: a stop box captioned with the title, owned by
    // the active window, the thread's other windows disabled while it shows.
    void ReportError(const std::string& message) noexcept;

    // Tests replace the message box; nullptr restores MessageBoxA.
    void SetMessageBoxFunction(MessageBoxFunction function);

  private:
    Application();

    std::string title_;
    HWND mainWindow_ = nullptr;
    MessageBoxFunction messageBox_ = nullptr;
};

} // namespace velbrook::ui

#include "ui/application.h"

#include <vector>

#include "support/messages.h"
#include "support/win32/shell.h"
#include "support/win32/visual_styles_context.h"
#include "ui/layout/error_text.h"
#include "ui/window.h"
#include <commctrl.h>

namespace velbrook::ui {

namespace {

// Disables the thread's enabled, visible top-level windows except one, and
// enables them again when it goes.
class OtherWindowsDisabled {
  public:
    explicit OtherWindowsDisabled(HWND except) : except_(except) {
        EnumThreadWindows(GetCurrentThreadId(), &OtherWindowsDisabled::DisableOne,
                          reinterpret_cast<LPARAM>(this));
    }
    OtherWindowsDisabled(const OtherWindowsDisabled&) = delete;
    OtherWindowsDisabled& operator=(const OtherWindowsDisabled&) = delete;
    ~OtherWindowsDisabled() {
        for (HWND window : disabled_)
            EnableWindow(window, TRUE);
    }

  private:
    static BOOL CALLBACK DisableOne(HWND window, LPARAM self) {
        auto* guard = reinterpret_cast<OtherWindowsDisabled*>(self);
        if (window != guard->except_ && IsWindowVisible(window) && IsWindowEnabled(window)) {
            guard->disabled_.push_back(window);
            EnableWindow(window, FALSE);
        }
        return TRUE;
    }

    HWND except_;
    std::vector<HWND> disabled_;
};

} // namespace

Application& Application::Instance() {
    static Application application;
    return application;
}

Application::Application() : title_(msg::kAppTitle) {}

void Application::Initialize() {
    win32::UseVisualStyles();
}

void Application::InitializeCommonControls() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES;
    InitCommonControlsEx(&controls);
}

void Application::SetMainWindow(HWND window) {
    mainWindow_ = window;
    win32::SetMainWindowHandle(window);
}

int Application::Run() {
    MSG msg{};
    while (ProcessMessage(msg)) {
    }
    return static_cast<int>(msg.wParam);
}

bool Application::ProcessMessage(MSG& msg) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1)
        return false;
    if (mainWindow_ != nullptr && msg.message == WM_KEYDOWN &&
        (msg.hwnd == mainWindow_ || IsChild(mainWindow_, msg.hwnd)) &&
        SendMessageA(mainWindow_, kTranslateShortcutMessage, 0, reinterpret_cast<LPARAM>(&msg)))
        return true;
    if (mainWindow_ != nullptr && IsDialogMessageA(mainWindow_, &msg))
        return true;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return true;
}

void Application::ReportError(const std::string& message) noexcept {
    try {
        const std::string text = layout::ErrorReportText(message);
        const HWND owner = GetActiveWindow();
        // MessageBoxA disables its owner itself; the thread's other windows are ours to disable.
        OtherWindowsDisabled others(owner);
        const MessageBoxFunction show = messageBox_ != nullptr ? messageBox_ : &MessageBoxA;
        show(owner, text.c_str(), title_.c_str(), MB_OK | MB_ICONSTOP);
    } catch (...) {
        // Nothing sensible is left to do when the report itself cannot be made.
    }
}

void Application::SetMessageBoxFunction(MessageBoxFunction function) {
    messageBox_ = function;
}

} // namespace velbrook::ui

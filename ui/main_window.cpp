#include "ui/main_window.h"

#include "support/messages.h"
#include "support/win32/shell.h"
#include "support/win32/windows_ansi.h"

namespace velbrook {

namespace {

constexpr char kWindowClass[] = "TfrSMain";

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        win32::SetMainWindowHandle(nullptr);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

void RunMainWindow() {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassA(&windowClass);

    const HWND window =
        CreateWindowExA(0, kWindowClass, msg::kAppTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                        CW_USEDEFAULT, 400, 300, nullptr, nullptr, instance, nullptr);
    if (window == nullptr)
        return;
    win32::SetMainWindowHandle(window);
    ShowWindow(window, SW_SHOWNORMAL);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

} // namespace velbrook

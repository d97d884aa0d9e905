#pragma once
// A real top-level window for control tests; its messages go to a handler first.
#include <functional>

#include "support/win32/windows_ansi.h"

namespace velbrook::test {

class TestWindow {
  public:
    using Handler = std::function<bool(UINT, WPARAM, LPARAM, LRESULT&)>;

    TestWindow() {
        WNDCLASSA wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = "VelbrookControlTest";
        RegisterClassA(&wc); // fails harmlessly when already registered
        hwnd_ = CreateWindowExA(0, wc.lpszClassName, "test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10,
                                10, 600, 400, nullptr, nullptr, wc.hInstance, this);
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    ~TestWindow() { DestroyWindow(hwnd_); }

    HWND hwnd() const { return hwnd_; }
    Handler handler;

  private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
            SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        LRESULT result = 0;
        if (self != nullptr && self->handler && self->handler(message, wParam, lParam, result))
            return result;
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }

    HWND hwnd_ = nullptr;
};

} // namespace velbrook::test

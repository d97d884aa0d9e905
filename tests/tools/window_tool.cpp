// Waits for, or closes, a visible top-level window with a given caption, so that
// scripts and tests can work with the program's window without a person.
//   window_tool wait  CAPTION [TIMEOUT_MS]   exit 0 once the window is up and painted
//   window_tool close CAPTION [TIMEOUT_MS]   posts WM_CLOSE, exit 0 once it is gone
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

HWND FindVisible(const char* caption) {
    HWND hwnd = FindWindowA(nullptr, caption);
    return hwnd != nullptr && IsWindowVisible(hwnd) ? hwnd : nullptr;
}

bool WaitFor(const char* caption, bool present, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if ((FindVisible(caption) != nullptr) == present)
            return true;
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(50);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: window_tool wait|close CAPTION [TIMEOUT_MS]\n");
        return 2;
    }
    const char* mode = argv[1];
    const char* caption = argv[2];
    const DWORD timeoutMs = argc > 3 ? std::strtoul(argv[3], nullptr, 10) : 30000;

    if (std::strcmp(mode, "wait") == 0) {
        if (!WaitFor(caption, true, timeoutMs))
            return 1;
        HWND hwnd = FindVisible(caption);
        RedrawWindow(hwnd, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_BLOCK, timeoutMs, &ignored);
        return 0;
    }
    if (std::strcmp(mode, "close") == 0) {
        HWND hwnd = FindVisible(caption);
        if (hwnd == nullptr)
            return 1;
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
        return WaitFor(caption, false, timeoutMs) ? 0 : 1;
    }
    return 2;
}

#include "support/win32/centring.h"

#include <algorithm>

namespace velbrook::win32 {

RECT WorkAreaOf(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoA(monitor, &info);
    return info.rcWork;
}

POINT CentredPosition(SIZE size, const RECT& area, const RECT& work) {
    const LONG left = area.left + (area.right - area.left - size.cx) / 2;
    const LONG top = area.top + (area.bottom - area.top - size.cy) / 2;
    return {std::max(work.left, std::min(left, work.right - size.cx)),
            std::max(work.top, std::min(top, work.bottom - size.cy))};
}

void MoveCentred(HWND window, const RECT& area, const RECT& work) {
    RECT own{};
    GetWindowRect(window, &own);
    const POINT at = CentredPosition({own.right - own.left, own.bottom - own.top}, area, work);
    SetWindowPos(window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace velbrook::win32

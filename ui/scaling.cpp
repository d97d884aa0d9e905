#include "ui/scaling.h"

#include "support/win32/message_font.h"
#include "ui/layout/layout.h"

namespace velbrook::ui {

namespace {

constexpr int kDesignPoints = 8;

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);

// Windows 10 (1607) and later; looked up once.
GetDpiForWindowFunction DpiForWindowFunction() {
    static const auto function = [] {
        const HMODULE user = GetModuleHandleA("user32.dll");
        const FARPROC found = user != nullptr ? GetProcAddress(user, "GetDpiForWindow") : nullptr;
        return reinterpret_cast<GetDpiForWindowFunction>(reinterpret_cast<void (*)()>(found));
    }();
    return function;
}

} // namespace

// The system's setting holds for the life of the process (changing it takes a
// new sign-in), so it is asked once.
int SystemDpi() {
    static const int dpi = [] {
        win32::WindowDc screen(GetDC(nullptr));
        const int asked = GetDeviceCaps(screen.get(), LOGPIXELSY);
        return asked > 0 ? asked : 96;
    }();
    return dpi;
}

int WindowDpi(HWND window) {
    if (const GetDpiForWindowFunction function = DpiForWindowFunction()) {
        if (const UINT dpi = function(window))
            return static_cast<int>(dpi);
    }
    return SystemDpi();
}

win32::Font DesignFont(int dpi) {
    LOGFONTA font{};
    font.lfHeight = -MulDiv(kDesignPoints, dpi, 72);
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(font.lfFaceName, "Tahoma", LF_FACESIZE);
    return win32::Font(CreateFontIndirectA(&font));
}

int DesignTextHeight(int dpi) {
    const win32::Font font = DesignFont(dpi);
    return FontTextHeight(font.get());
}

win32::Font MessageFont(int dpi) {
    LOGFONTA font = win32::SystemMessageFont();
    // The system gives it for its own resolution.
    const int system = SystemDpi();
    if (dpi != system)
        font.lfHeight = MulDiv(font.lfHeight, dpi, system);
    return win32::Font(CreateFontIndirectA(&font));
}

int FontTextHeight(HFONT font) {
    win32::WindowDc screen(GetDC(nullptr));
    win32::DcSelection selected(screen.get(), font);
    TEXTMETRICA metrics{};
    if (font == nullptr || !GetTextMetricsA(screen.get(), &metrics))
        return layout::kDesignTextHeight;
    return metrics.tmHeight;
}

} // namespace velbrook::ui

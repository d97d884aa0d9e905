#include "ui/scaling.h"

#include <cstddef>

#include "ui/layout/layout.h"

namespace velbrook::ui {

namespace {

// NONCLIENTMETRICSA without iPaddedBorderWidth, which older systems refuse.
constexpr UINT kNonClientMetricsSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
static_assert(kNonClientMetricsSize == 340);

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
        win32::WindowDc screen(nullptr);
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
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = kNonClientMetricsSize;
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, kNonClientMetricsSize, &metrics, 0))
        return win32::Font();
    // The system gives it for its own resolution.
    const int system = SystemDpi();
    if (dpi != system)
        metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, system);
    return win32::Font(CreateFontIndirectA(&metrics.lfMessageFont));
}

int FontTextHeight(HFONT font) {
    win32::WindowDc screen(nullptr);
    win32::DcSelection selected(screen.get(), font);
    TEXTMETRICA metrics{};
    if (font == nullptr || !GetTextMetricsA(screen.get(), &metrics))
        return layout::kDesignTextHeight;
    return metrics.tmHeight;
}

} // namespace velbrook::ui

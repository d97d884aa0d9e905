#include "ui/controls/visual_styles.h"

#include <utility>

#include "support/win32/dll_safety.h"

namespace velbrook::ui {
namespace {

using IsThemeActiveFn = BOOL(WINAPI*)();
using OpenThemeDataFn = ThemeHandle(WINAPI*)(HWND, LPCWSTR);
using CloseThemeDataFn = HRESULT(WINAPI*)(ThemeHandle);
using DrawThemeBackgroundFn = HRESULT(WINAPI*)(ThemeHandle, HDC, int, int, const RECT*,
                                               const RECT*);
using DrawThemeIconFn = HRESULT(WINAPI*)(ThemeHandle, HDC, int, int, const RECT*, HIMAGELIST, int);

template <class Fn> Fn Lookup(HMODULE module, const char* name) {
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                  : nullptr;
}

// Loaded once for the life of the process.
struct UxTheme {
    win32::Module module = win32::LoadSystemLibrary("uxtheme.dll");
    IsThemeActiveFn isThemeActive = Lookup<IsThemeActiveFn>(module.get(), "IsThemeActive");
    OpenThemeDataFn openThemeData = Lookup<OpenThemeDataFn>(module.get(), "OpenThemeData");
    CloseThemeDataFn closeThemeData = Lookup<CloseThemeDataFn>(module.get(), "CloseThemeData");
    DrawThemeBackgroundFn drawThemeBackground =
        Lookup<DrawThemeBackgroundFn>(module.get(), "DrawThemeBackground");
    DrawThemeIconFn drawThemeIcon = Lookup<DrawThemeIconFn>(module.get(), "DrawThemeIcon");

    bool Complete() const {
        return isThemeActive && openThemeData && closeThemeData && drawThemeBackground &&
               drawThemeIcon;
    }
};

const UxTheme& Library() {
    static const UxTheme library;
    return library;
}

} // namespace

ThemeData::ThemeData(ThemeData&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}

ThemeData& ThemeData::operator=(ThemeData&& other) noexcept {
    if (this != &other) {
        ThemeData old(std::move(*this));
        handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
}

ThemeData::~ThemeData() {
    if (handle_ != nullptr && Library().closeThemeData)
        Library().closeThemeData(handle_);
}

namespace visual_styles {

bool Active() {
    return Library().Complete() && Library().isThemeActive();
}

ThemeData Open(HWND window, const wchar_t* classList) {
    if (!Library().Complete())
        return ThemeData();
    return ThemeData(Library().openThemeData(window, classList));
}

void DrawBackground(const ThemeData& theme, HDC dc, int part, int state, const RECT& rect) {
    if (theme)
        Library().drawThemeBackground(theme.get(), dc, part, state, &rect, nullptr);
}

void DrawIcon(const ThemeData& theme, HDC dc, int part, int state, const RECT& rect,
              HIMAGELIST images, int index) {
    if (theme)
        Library().drawThemeIcon(theme.get(), dc, part, state, &rect, images, index);
}

} // namespace visual_styles
} // namespace velbrook::ui

#include "ui/controls/visual_styles.h"

#include <utility>

#include <uxtheme.h>

namespace velbrook::ui {

ThemeData::ThemeData(ThemeData&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}

ThemeData& ThemeData::operator=(ThemeData&& other) noexcept {
    if (this != &other) {
        ThemeData old(std::move(*this));
        handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
}

ThemeData::~ThemeData() {
    if (handle_ != nullptr)
        CloseThemeData(handle_);
}

namespace visual_styles {

bool Active() {
    return IsThemeActive() != FALSE;
}

ThemeData Open(HWND window, const wchar_t* classList) {
    return ThemeData(OpenThemeData(window, classList));
}

void DrawBackground(const ThemeData& theme, HDC dc, int part, int state, const RECT& rect) {
    if (theme)
        DrawThemeBackground(theme.get(), dc, part, state, &rect, nullptr);
}

void DrawIcon(const ThemeData& theme, HDC dc, int part, int state, const RECT& rect,
              HIMAGELIST images, int index) {
    if (theme)
        DrawThemeIcon(theme.get(), dc, part, state, &rect, images, index);
}

} // namespace visual_styles
} // namespace velbrook::ui

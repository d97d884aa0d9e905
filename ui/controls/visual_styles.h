#pragma once
// The visual-style functions of uxtheme that the image buttons draw with.
#include "support/win32/windows_ansi.h"
#include <commctrl.h>

namespace velbrook::ui {

using ThemeHandle = HANDLE;

// Owns a theme handle from OpenThemeData; closes it with CloseThemeData.
class ThemeData {
  public:
    ThemeData() = default;
    explicit ThemeData(ThemeHandle handle) : handle_(handle) {}
    ThemeData(ThemeData&& other) noexcept;
    ThemeData& operator=(ThemeData&& other) noexcept;
    ThemeData(const ThemeData&) = delete;
    ThemeData& operator=(const ThemeData&) = delete;
    ~ThemeData();

    ThemeHandle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

  private:
    ThemeHandle handle_ = nullptr;
};

namespace visual_styles {

// True when a visual style is active.
bool Active();
// Theme data for a window and a wide class name such as L"TOOLBAR"; empty when unavailable.
ThemeData Open(HWND window, const wchar_t* classList);
void DrawBackground(const ThemeData& theme, HDC dc, int part, int state, const RECT& rect);
void DrawIcon(const ThemeData& theme, HDC dc, int part, int state, const RECT& rect,
              HIMAGELIST images, int index);

} // namespace visual_styles
} // namespace velbrook::ui

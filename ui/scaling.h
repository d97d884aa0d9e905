#pragma once
// The resolution the window is shown at and the fonts that follow from it. The
// layout scales by the design font's text height (Tahoma 8 pt at the window's
// resolution) over 13; the window's own font is the system's message font.
#include "support/win32/handles.h"
#include "support/win32/windows_ansi.h"

namespace velbrook::ui {

// Pixels per inch of the screen (the system's setting).
int SystemDpi();
// Pixels per inch of the monitor the window is on, where the system tells
// windows apart; otherwise the system's setting.
int WindowDpi(HWND window);

// The design font, Tahoma 8 pt, at a resolution.
win32::Font DesignFont(int dpi);
// Its text height (tmHeight) there: the layout's scale.
int DesignTextHeight(int dpi);
// The system's message font at a resolution.
win32::Font MessageFont(int dpi);
// tmHeight of a font on the screen; 13 when it cannot be measured.
int FontTextHeight(HFONT font);

} // namespace velbrook::ui

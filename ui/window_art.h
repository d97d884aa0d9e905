#pragma once
// The main window's pictures for a resolution, as masked image lists: the six
// button glyphs (16 pixels at 96 pixels per inch, drawn for the size the
// resolution asks for) and the logo (the committed 48-pixel bitmap at 96 pixels
// per inch, otherwise drawn for the size).
#include "support/win32/handles.h"

namespace velbrook::ui {

win32::ImageList GlyphImages(int dpi);
// Empty when the logo cannot be had.
win32::ImageList LogoImage(int dpi);

} // namespace velbrook::ui

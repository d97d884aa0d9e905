#pragma once
// The committed 16-pixel glyph strip and 48-pixel logo (res/glyphs.bmp and
// res/logo.bmp, drawn by scripts/make-art), built into the tests: what the
// window shows at 96 pixels per inch, pixel for pixel.
#include "ui/art/art_drawing.h"

namespace velbrook::testing {

ui::art::PixelImage ReferenceGlyphStrip();
ui::art::PixelImage ReferenceLogo();

} // namespace velbrook::testing

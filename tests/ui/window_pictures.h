#pragma once
// What a window shows, read back from its surface, to compare with the art it
// should show.
#include "support/win32/windows_ansi.h"
#include "ui/art/art_drawing.h"

namespace velbrook::testing {

// The client area of the window as it is drawn once every pending paint is done.
ui::art::PixelImage CaptureClient(HWND window);
// The client area as it is on screen now, without asking for any paint.
ui::art::PixelImage CaptureShownClient(HWND window);

// How many drawn pixels (not of the key colour) of the size x size cell of
// `art` starting at cellLeft differ from the capture at `at`; -1 when the cell
// does not fit in the capture.
int ArtDifferences(const ui::art::PixelImage& capture, POINT at, const ui::art::PixelImage& art,
                   int cellLeft, int size);

// True when every `factor` x `factor` block of the rectangle (from its top
// left) is of one colour: a picture enlarged pixel by pixel.
bool EnlargedBy(const ui::art::PixelImage& capture, const RECT& area, int factor);

} // namespace velbrook::testing

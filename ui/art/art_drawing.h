#pragma once
// The window's pictures drawn at any size from their shapes (ui/art/art_shapes.h):
// the button glyphs on whole pixels, as their 16-pixel art is drawn, and the
// logo supersampled. Portable: the pixels are checked natively.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace velbrook::ui::art {

// Pure magenta: the transparent colour of the pictures; no drawn pixel has it.
inline constexpr std::uint32_t kKeyColour = 0xFF00FF;
inline constexpr int kGlyphCount = 6;
inline constexpr int kGlyphDesignSize = 16;
inline constexpr int kLogoSize = 48;

// Pixels 0xRRGGBB, row by row from the top.
struct PixelImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// A picture's size at a resolution: its size at 96 pixels per inch scaled, rounded.
int SizeAt(int designSize, int dpi);

// The six glyphs (clear, change, add, save, move down, move up) side by side,
// each size x size, on the key colour.
PixelImage DrawGlyphStrip(int size);

// The logo at size x size on the key colour, its edges blended against a light
// grey.
PixelImage DrawLogo(int size);

} // namespace velbrook::ui::art

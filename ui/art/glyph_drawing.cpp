// The glyphs on whole pixels: a pixel belongs to a shape when its centre does,
// tested in integers so that a centre on an edge falls the same way on every
// machine (and as scripts/art/glyphs.py has it).
#include <algorithm>
#include <iterator>

#include "ui/art/art_drawing.h"
#include "ui/art/art_shapes.h"

namespace velbrook::ui::art {

namespace {

// One byte per pixel of a glyph, row by row: 1 where the shape covers it.
using Mask = std::vector<std::uint8_t>;

// The centre of pixel p is 16 * (2p + 1) / (2 * size) units from the edge, so
// a*u + b*v <= c there exactly when 8 * (a * (2x + 1) + b * (2y + 1)) <= size * c.
bool Inside(const GlyphPiece& piece, int x, int y, int size) {
    for (int i = piece.first; i < piece.first + piece.count; ++i) {
        const HalfPlane& h = kGlyphHalfPlanes[i];
        if (8 * (h.a * (2 * x + 1) + h.b * (2 * y + 1)) > size * h.c)
            return false;
    }
    return true;
}

Mask Cover(const GlyphPart& part, int size) {
    Mask mask(static_cast<std::size_t>(size) * size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            for (int p = part.firstPiece; p < part.firstPiece + part.pieceCount; ++p) {
                if (Inside(kGlyphPieces[p], x, y, size)) {
                    mask[static_cast<std::size_t>(y) * size + x] = 1;
                    break;
                }
            }
        }
    }
    return mask;
}

// One pixel wide below 40 pixels, a pixel wider for every 24 above.
int OutlineWidth(int size) {
    return std::max(1, (size + 8) / 24);
}

// A pixel outside the mask within `width` edge-to-edge steps of it.
bool Around(const Mask& mask, int size, int width, int x, int y) {
    if (mask[static_cast<std::size_t>(y) * size + x])
        return false;
    for (int dy = -width; dy <= width; ++dy) {
        const int reach = width - (dy < 0 ? -dy : dy);
        for (int dx = -reach; dx <= reach; ++dx) {
            const int nx = x + dx;
            const int ny = y + dy;
            if (nx >= 0 && nx < size && ny >= 0 && ny < size &&
                mask[static_cast<std::size_t>(ny) * size + nx])
                return true;
        }
    }
    return false;
}

// light + (base - light) * step / steps in each channel, rounded half to even.
std::uint32_t Blend(std::uint32_t light, std::uint32_t base, int step, int steps) {
    std::uint32_t colour = 0;
    for (int shift = 16; shift >= 0; shift -= 8) {
        const int a = static_cast<int>((light >> shift) & 0xFF);
        const int b = static_cast<int>((base >> shift) & 0xFF);
        const int scaled = a * steps + (b - a) * step; // never negative
        int value = scaled / steps;
        const int twice = 2 * (scaled % steps);
        if (twice > steps || (twice == steps && value % 2 == 1))
            ++value;
        colour = (colour << 8) | static_cast<std::uint32_t>(value);
    }
    return colour;
}

void PaintPart(const GlyphPart& part, int size, PixelImage& image, int left) {
    const Mask mask = Cover(part, size);
    int top = size;
    int bottom = -1;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if (mask[static_cast<std::size_t>(y) * size + x]) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (bottom < 0)
        return;
    const auto pixel = [&](int x, int y) -> std::uint32_t& {
        return image.pixels[static_cast<std::size_t>(y) * image.width + left + x];
    };
    for (int y = 0; y < size && part.outlined; ++y) {
        for (int x = 0; x < size; ++x) {
            if (Around(mask, size, OutlineWidth(size), x, y))
                pixel(x, y) = part.edge;
        }
    }
    const int steps = std::max(1, bottom - top);
    for (int y = top; y <= bottom; ++y) {
        const std::uint32_t colour = Blend(part.light, part.base, y - top, steps);
        for (int x = 0; x < size; ++x) {
            if (mask[static_cast<std::size_t>(y) * size + x])
                pixel(x, y) = colour;
        }
    }
}

static_assert(std::size(kGlyphs) == kGlyphCount);

} // namespace

int SizeAt(int designSize, int dpi) {
    return (designSize * dpi + 48) / 96;
}

PixelImage DrawGlyphStrip(int size) {
    PixelImage strip{size * kGlyphCount, size,
                     std::vector<std::uint32_t>(static_cast<std::size_t>(size) * size * kGlyphCount,
                                                kKeyColour)};
    for (int glyph = 0; glyph < kGlyphCount; ++glyph) {
        const GlyphShapes& shapes = kGlyphs[glyph];
        for (int part = shapes.firstPart; part < shapes.firstPart + shapes.partCount; ++part)
            PaintPart(kGlyphParts[part], size, strip, glyph * size);
    }
    return strip;
}

} // namespace velbrook::ui::art

#pragma once
// The shapes of the button glyphs and the logo, as scripts/make-art writes them
// from scripts/art (res/art_shapes.inc): the program draws its pictures from
// these at the size its display needs.
#include <cstdint>

namespace velbrook::ui::art {

// Holds where a*u + b*v <= c, in units of the 16-unit glyph square, v downwards.
struct HalfPlane {
    std::int8_t a;
    std::int8_t b;
    std::int8_t c;
};

// A convex piece of a shape: kGlyphHalfPlanes[first] and the count-1 after it.
struct GlyphPiece {
    std::uint8_t first;
    std::uint8_t count;
};

// A layer (filled lighter at its top row than at its bottom row, with an
// outline in the edge colour) or, without an outline, a spot of one colour.
// Its shape is the union of kGlyphPieces[firstPiece] and the pieceCount-1 after it.
struct GlyphPart {
    bool outlined;
    std::uint32_t light; // 0xRRGGBB
    std::uint32_t base;
    std::uint32_t edge;
    std::uint8_t firstPiece;
    std::uint8_t pieceCount;
};

// kGlyphParts[firstPart] and the partCount-1 after it, painted in order.
struct GlyphShapes {
    std::uint8_t firstPart;
    std::uint8_t partCount;
};

// A rounded rectangle of the logo's design square, cut off below clipBottom,
// painted with a vertical gradient from top (at y gradientTop) to bottom (at
// y gradientBottom). Lengths in tenths of a design unit.
struct LogoShape {
    std::int16_t left;
    std::int16_t top;
    std::int16_t right;
    std::int16_t bottom;
    std::int16_t radius;
    std::int16_t clipBottom;
    std::uint32_t topColour; // 0xRRGGBB
    std::uint32_t bottomColour;
    std::int16_t gradientTop;
    std::int16_t gradientBottom;
};

#include "res/art_shapes.inc"

} // namespace velbrook::ui::art

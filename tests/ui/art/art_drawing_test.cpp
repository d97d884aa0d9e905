#include "ui/art/art_drawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cstdlib>
#include <string>

#include "testlib/reference_art.h"

namespace velbrook::ui::art {
namespace {

using testing::ReferenceGlyphStrip;
using testing::ReferenceLogo;

struct Box {
    int left = 0, top = 0, right = -1, bottom = -1; // inclusive; empty when right < left
    int Width() const { return right - left + 1; }
    int Height() const { return bottom - top + 1; }
};

// The drawn (not key-coloured) pixels of a size x size cell of an image.
Box DrawnBox(const PixelImage& image, int cellLeft, int size) {
    Box box{size, size, -1, -1};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if (image.At(cellLeft + x, y) == kKeyColour)
                continue;
            box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x),
                   std::max(box.bottom, y)};
        }
    }
    return box;
}

// Differing pixels of two images of one size; -1 when the sizes differ. With
// excess precision (x87) the logo's arithmetic may round a little differently.
int Differences(const PixelImage& a, const PixelImage& b, int tolerance) {
    if (a.width != b.width || a.height != b.height)
        return -1;
    int count = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) {
        const std::uint32_t p = a.pixels[i];
        const std::uint32_t q = b.pixels[i];
        bool near = (p == kKeyColour) == (q == kKeyColour);
        for (int shift = 0; shift <= 16 && near; shift += 8)
            near = std::abs(static_cast<int>((p >> shift) & 0xFF) -
                            static_cast<int>((q >> shift) & 0xFF)) <= tolerance;
        count += near ? 0 : 1;
    }
    return count;
}

TEST(ArtDrawing, AtTheDesignSizesThePicturesAreTheCommittedArt) {
    EXPECT_EQ(Differences(DrawGlyphStrip(kGlyphDesignSize), ReferenceGlyphStrip(), 0), 0);
    const int tolerance = FLT_EVAL_METHOD == 0 ? 0 : 2;
    EXPECT_EQ(Differences(DrawLogo(kLogoSize), ReferenceLogo(), tolerance), 0);
}

// Each glyph drawn larger covers as much of its cell as at 16 pixels (its
// outline stays a pixel or two wide), stays centred, keeps a transparent
// border and is drawn anew, not enlarged.
TEST(ArtDrawing, LargerGlyphsAreDrawnForTheirSize) {
    const PixelImage small = DrawGlyphStrip(kGlyphDesignSize);
    for (const int size : {20, 24, 28, 32, 40, 48}) {
        const PixelImage strip = DrawGlyphStrip(size);
        ASSERT_EQ(strip.width, size * kGlyphCount);
        ASSERT_EQ(strip.height, size);
        for (int glyph = 0; glyph < kGlyphCount; ++glyph) {
            SCOPED_TRACE("glyph " + std::to_string(glyph) + " at " + std::to_string(size));
            const Box at16 = DrawnBox(small, glyph * 16, 16);
            const Box drawn = DrawnBox(strip, glyph * size, size);
            EXPECT_GE(drawn.Width(), (at16.Width() - 2) * size / 16 + 1);
            EXPECT_GE(drawn.Height(), (at16.Height() - 2) * size / 16 + 1);
            EXPECT_NEAR(drawn.left + drawn.right, (at16.left + at16.right) * size / 16.0,
                        size / 8.0);
            EXPECT_GE(drawn.top, 0);
            EXPECT_LE(drawn.bottom, size - 1);
            if (size % 16 != 0)
                continue;
            const int k = size / 16;
            bool enlarged = true;
            for (int y = 0; y < size && enlarged; ++y) {
                for (int x = 0; x < size && enlarged; ++x)
                    enlarged = strip.At(glyph * size + x, y) == small.At(glyph * 16 + x / k, y / k);
            }
            EXPECT_FALSE(enlarged);
        }
    }
}

std::ptrdiff_t DistinctColours(const PixelImage& image) {
    std::vector<std::uint32_t> colours(image.pixels);
    std::sort(colours.begin(), colours.end());
    return std::unique(colours.begin(), colours.end()) - colours.begin();
}

TEST(ArtDrawing, TheLogoIsDrawnAtEverySize) {
    const PixelImage logo48 = DrawLogo(kLogoSize);
    const Box at48 = DrawnBox(logo48, 0, kLogoSize);
    for (const int size : {36, 60, 72, 96, 144}) {
        SCOPED_TRACE(size);
        const PixelImage logo = DrawLogo(size);
        ASSERT_EQ(logo.width, size);
        ASSERT_EQ(logo.height, size);
        const Box drawn = DrawnBox(logo, 0, size);
        EXPECT_NEAR(drawn.Width(), at48.Width() * size / 48.0, 2);
        EXPECT_NEAR(drawn.Height(), at48.Height() * size / 48.0, 2);
        // Smooth edges drawn for the size: more colours than the 48-pixel logo
        // enlarged could have.
        if (size > kLogoSize) {
            EXPECT_GT(DistinctColours(logo), DistinctColours(logo48));
        }
    }
}

} // namespace
} // namespace velbrook::ui::art

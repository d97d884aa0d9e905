// The logo, supersampled: each shape is painted opaque over the samples whose
// centres it covers, and every block of samples is averaged into one pixel, in
// the order of operations of scripts/art (so that the same machine arithmetic
// gives the same pixels).
#include <algorithm>
#include <cmath>
#include <iterator>

#include "ui/art/art_drawing.h"
#include "ui/art/art_shapes.h"

namespace velbrook::ui::art {

namespace {

constexpr int kSupersample = 4;
// Edges are blended against this light grey, never against the key; pixels
// covered less than the threshold become the key.
constexpr double kBackdrop[3] = {244.0, 244.0, 244.0};
constexpr double kKeyThreshold = 0.3;

struct Shape {
    double left, top, right, bottom, radius, clipBottom;
    double gradientTop, gradientBottom;
    std::uint32_t topColour, bottomColour;
};

Shape InUnits(const LogoShape& s) {
    const auto units = [](int tenths) { return tenths / 10.0; };
    return {units(s.left),   units(s.top),        units(s.right),       units(s.bottom),
            units(s.radius), units(s.clipBottom), units(s.gradientTop), units(s.gradientBottom),
            s.topColour,     s.bottomColour};
}

bool Covers(const Shape& s, double x, double y) {
    if (!(s.left <= x && x <= s.right && s.top <= y && y <= s.bottom) || y > s.clipBottom)
        return false;
    const double dx = std::max({s.left + s.radius - x, 0.0, x - (s.right - s.radius)});
    const double dy = std::max({s.top + s.radius - y, 0.0, y - (s.bottom - s.radius)});
    return dx * dx + dy * dy <= s.radius * s.radius;
}

double Channel(std::uint32_t colour, int shift) {
    return static_cast<double>((colour >> shift) & 0xFF);
}

// The shape's gradient at height y, one channel.
double Paint(const Shape& s, double y, int shift) {
    const double t =
        std::min(1.0, std::max(0.0, (y - s.gradientTop) / (s.gradientBottom - s.gradientTop)));
    const double from = Channel(s.topColour, shift);
    return from + (Channel(s.bottomColour, shift) - from) * t;
}

} // namespace

PixelImage DrawLogo(int size) {
    constexpr int kShapeCount = static_cast<int>(std::size(kLogoShapes));
    static_assert(kShapeCount < 255);
    const int n = size * kSupersample;
    const double scale = static_cast<double>(n) / kLogoDesignSize; // samples per unit
    const auto centre = [scale](int sample) { return (sample + 0.5) / scale; };
    // Which shape painted each sample last: 0 for none, else its index + 1.
    std::vector<std::uint8_t> painter(static_cast<std::size_t>(n) * n);
    for (int k = 0; k < kShapeCount; ++k) {
        const Shape s = InUnits(kLogoShapes[k]);
        const int i0 = std::max(0, static_cast<int>(s.left * scale) - 1);
        const int i1 = std::min(n, static_cast<int>(s.right * scale) + 2);
        const int j0 = std::max(0, static_cast<int>(s.top * scale) - 1);
        const int j1 = std::min(n, static_cast<int>(std::min(s.bottom, s.clipBottom) * scale) + 2);
        for (int j = j0; j < j1; ++j) {
            for (int i = i0; i < i1; ++i) {
                if (Covers(s, centre(i), centre(j)))
                    painter[static_cast<std::size_t>(j) * n + i] = static_cast<std::uint8_t>(k + 1);
            }
        }
    }

    PixelImage logo{size, size, std::vector<std::uint32_t>(static_cast<std::size_t>(size) * size)};
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            double sum[3] = {0.0, 0.0, 0.0};
            double covered = 0.0;
            for (int j = py * kSupersample; j < (py + 1) * kSupersample; ++j) {
                for (int i = px * kSupersample; i < (px + 1) * kSupersample; ++i) {
                    const int k = painter[static_cast<std::size_t>(j) * n + i];
                    if (k == 0)
                        continue;
                    const Shape s = InUnits(kLogoShapes[k - 1]);
                    for (int c = 0; c < 3; ++c)
                        sum[c] = sum[c] + Paint(s, centre(j), 16 - 8 * c);
                    covered = covered + 1.0;
                }
            }
            const double alpha = covered / (kSupersample * kSupersample);
            std::uint32_t colour = kKeyColour;
            if (covered != 0.0 && alpha >= kKeyThreshold) {
                colour = 0;
                for (int c = 0; c < 3; ++c) {
                    const double value = kBackdrop[c] + (sum[c] / covered - kBackdrop[c]) * alpha;
                    colour = (colour << 8) | static_cast<std::uint32_t>(std::nearbyint(value));
                }
                if (colour == kKeyColour)
                    colour = 0xFE00FF;
            }
            logo.pixels[static_cast<std::size_t>(py) * size + px] = colour;
        }
    }
    return logo;
}

} // namespace velbrook::ui::art

#include "testlib/reference_art.h"

#include <cstdint>
#include <string_view>

namespace velbrook::testing {

// tests/embed_files.cmake makes these from the files in res/.
std::string_view GlyphsBmp();
std::string_view LogoBmp();

namespace {

std::uint32_t Little(std::string_view bytes, std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// An uncompressed, bottom-up 24 bpp BMP file, as scripts/make-art writes them.
ui::art::PixelImage Decode(std::string_view file) {
    const std::uint32_t offset = Little(file, 10, 4);
    ui::art::PixelImage image;
    image.width = static_cast<int>(Little(file, 18, 4));
    image.height = static_cast<int>(Little(file, 22, 4));
    const std::size_t stride = (static_cast<std::size_t>(image.width) * 3 + 3) & ~std::size_t{3};
    for (int y = 0; y < image.height; ++y) {
        const std::size_t row = offset + stride * static_cast<std::size_t>(image.height - 1 - y);
        for (int x = 0; x < image.width; ++x)
            image.pixels.push_back(Little(file, row + 3 * static_cast<std::size_t>(x), 3));
    }
    return image;
}

} // namespace

ui::art::PixelImage ReferenceGlyphStrip() {
    return Decode(GlyphsBmp());
}

ui::art::PixelImage ReferenceLogo() {
    return Decode(LogoBmp());
}

} // namespace velbrook::testing

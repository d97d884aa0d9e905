#include "ui/window_art.h"

#include "ui/art/art_drawing.h"
#include "ui/main_window_design.h"

namespace velbrook::ui {

namespace {

constexpr COLORREF kColourKey = RGB(255, 0, 255);

// The image cut into images `width` pixels wide; pixels of the key colour are transparent.
win32::ImageList MaskedImages(const art::PixelImage& image, int width) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height; // top row first, as the image has it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    win32::Bitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const int count = width > 0 ? image.width / width : 0;
    win32::ImageList images(
        ImageList_Create(width, image.height, ILC_COLOR24 | ILC_MASK, count, 0));
    if (!bitmap || !images)
        return win32::ImageList();
    // 0x00RRGGBB in memory is blue, green, red, 0: a 32 bpp DIB's own order.
    CopyMemory(bits, image.pixels.data(), image.pixels.size() * sizeof image.pixels[0]);
    GdiFlush();
    ImageList_AddMasked(images.get(), bitmap.get(), kColourKey);
    return images;
}

win32::ImageList ResourceImage(const char* resource, int size) {
    win32::ImageList images(ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, 1, 0));
    const win32::Bitmap bitmap(static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), resource, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (images && bitmap)
        ImageList_AddMasked(images.get(), bitmap.get(), kColourKey);
    return images;
}

} // namespace

win32::ImageList GlyphImages(int dpi) {
    const int size = art::SizeAt(art::kGlyphDesignSize, dpi);
    return MaskedImages(art::DrawGlyphStrip(size), size);
}

win32::ImageList LogoImage(int dpi) {
    const int size = art::SizeAt(art::kLogoSize, dpi);
    win32::ImageList logo = size == art::kLogoSize ? ResourceImage(design::kLogoResource, size)
                                                   : MaskedImages(art::DrawLogo(size), size);
    if (logo && ImageList_GetImageCount(logo.get()) == 0)
        logo.reset();
    return logo;
}

} // namespace velbrook::ui

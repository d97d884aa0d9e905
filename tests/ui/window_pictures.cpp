#include "window_pictures.h"

#include <cstring>

#include "support/win32/handles.h"

namespace velbrook::testing {

ui::art::PixelImage CaptureClient(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    return CaptureShownClient(window);
}

ui::art::PixelImage CaptureShownClient(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    ui::art::PixelImage image{client.right, client.bottom, {}};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const win32::Bitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const win32::WindowDc from(GetDC(window));
    const win32::MemoryDc to(CreateCompatibleDC(from.get()));
    if (!bitmap || to.get() == nullptr)
        return {};
    {
        const win32::DcSelection selected(to.get(), bitmap.get());
        BitBlt(to.get(), 0, 0, image.width, image.height, from.get(), 0, 0, SRCCOPY);
    }
    GdiFlush();
    image.pixels.resize(static_cast<std::size_t>(image.width) * image.height);
    std::memcpy(image.pixels.data(), bits, image.pixels.size() * sizeof image.pixels[0]);
    for (std::uint32_t& pixel : image.pixels)
        pixel &= 0xFFFFFF;
    return image;
}

int ArtDifferences(const ui::art::PixelImage& capture, POINT at, const ui::art::PixelImage& art,
                   int cellLeft, int size) {
    if (at.x < 0 || at.y < 0 || at.x + size > capture.width || at.y + size > capture.height)
        return -1;
    int count = 0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const std::uint32_t drawn = art.At(cellLeft + x, y);
            if (drawn != ui::art::kKeyColour && capture.At(at.x + x, at.y + y) != drawn)
                ++count;
        }
    }
    return count;
}

bool EnlargedBy(const ui::art::PixelImage& capture, const RECT& area, int factor) {
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const int blockLeft = area.left + (x - area.left) / factor * factor;
            const int blockTop = area.top + (y - area.top) / factor * factor;
            if (capture.At(x, y) != capture.At(blockLeft, blockTop))
                return false;
        }
    }
    return true;
}

} // namespace velbrook::testing

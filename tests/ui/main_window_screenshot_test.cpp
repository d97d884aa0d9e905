// Not a test of its own: with VELBROOK_SCREENSHOTS set to a folder, saves
// pictures of the window in three states as BMP files (scripts/screenshots).
#include "main_window_fixture.h"

#include <cstdlib>
#include <fstream>

namespace velbrook::testing {
namespace {

// The screen area of the rectangle as a 24-bit bottom-up BMP file.
bool SaveScreenArea(const RECT& area, const std::string& path) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    win32::WindowDc screen(nullptr);
    win32::MemoryDc memory(screen.get());
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    const win32::Bitmap bitmap(
        CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap)
        return false;
    {
        const win32::DcSelection selected(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY);
    }
    GdiFlush();
    const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
    const DWORD size = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + size;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    out.write(static_cast<const char*>(bits), size);
    return static_cast<bool>(out);
}

class MainWindowScreenshot : public MainWindowTest {
  protected:
    void Save(const char* name, int extraBelow = 0) {
        RedrawWindow(Window().hwnd(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
        RECT area{};
        GetWindowRect(Window().hwnd(), &area);
        area.bottom += extraBelow;
        EXPECT_TRUE(SaveScreenArea(area, folder + "\\" + name + ".bmp"));
    }
    std::string folder;
};

TEST_F(MainWindowScreenshot, SavesPictures) {
    const char* target = std::getenv("VELBROOK_SCREENSHOTS");
    if (target == nullptr)
        GTEST_SKIP() << "VELBROOK_SCREENSHOTS is not set";
    folder = target;

    Open();
    Save("default");
    SendMessageA(Window().hwnd(), WM_CLOSE, 0, 0);
    Pump();

    StorePlaces(
        {"C:\\", "C:\\windows", "C:\\windows\\system32", "C:\\users\\Public", "C:\\Program Files"});
    StoreSchemes({{"Home", {"C:\\", "", "", "", ""}},
                  {"Projects", {"C:\\windows", "", "", "", ""}},
                  {"Photos", {"", "", "", "", ""}}});
    Open();
    SelectRow(1);
    Save("custom");
    const HWND combo = Item(ui::design::kIdScheme);
    SetFocus(combo);
    SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
    Save("schemes", 80);
    SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
}

} // namespace
} // namespace velbrook::testing

// A window with the image buttons and the places list, built on the window
// toolkit. scripts/screenshot-controls runs it with VELBROOK_DEMO_HOLD=1 so that
// the window stays up until it is closed, and takes a picture of it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "support/win32/handles.h"
#include "ui/application.h"
#include "ui/controls/places_list_view.h"
#include "ui/controls/image_button_host.h"
#include "ui/window.h"

namespace velbrook::ui {
namespace {

constexpr char kDemoCaption[] = "Velbrook controls demo";
constexpr COLORREF kGlyphColours[] = {RGB(200, 40, 40), RGB(40, 140, 40),  RGB(40, 80, 200),
                                      RGB(220, 160, 0), RGB(120, 60, 160), RGB(0, 150, 160)};
constexpr COLORREF kMaskColour = RGB(255, 0, 255);

// Six 16 by 16 glyphs: a coloured square inside a transparent border.
win32::ImageList MakeGlyphs() {
    win32::ImageList images(ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 6, 0));
    win32::WindowDc screen(GetDC(nullptr));
    for (COLORREF colour : kGlyphColours) {
        win32::Bitmap bitmap(CreateCompatibleBitmap(screen.get(), 16, 16));
        {
            win32::MemoryDc dc(CreateCompatibleDC(screen.get()));
            win32::DcSelection selected(dc.get(), bitmap.get());
            win32::Brush mask(CreateSolidBrush(kMaskColour));
            win32::Brush fill(CreateSolidBrush(colour));
            RECT all{0, 0, 16, 16}, inner{2, 2, 14, 14};
            FillRect(dc.get(), &all, mask.get());
            FillRect(dc.get(), &inner, fill.get());
        }
        ImageList_AddMasked(images.get(), bitmap.get(), kMaskColour);
    }
    return images;
}

class DemoWindow : public Window {
  public:
    DemoWindow() : glyphs_(MakeGlyphs()) {
        WindowArgs args;
        args.className = "VelbrookControlsDemo";
        args.caption = kDemoCaption;
        args.designClient = {534, 260};
        Create(args);
        buttons_ = std::make_unique<ImageButtonHost>(hwnd());
        const char* hints[] = {"Clear selected item",
                               "Change selected item",
                               "Add to quick adjust scheme",
                               "Save scheme",
                               "Move down",
                               "Move up"};
        for (int i = 0; i < 6; ++i) {
            const int top = 16 + 24 * i;
            buttons_->Add(
                {{498, top, 521, top + 22}, hints[i], hints[i], "", glyphs_.get(), i, nullptr});
        }
        buttons_->Buttons()[5]->SetEnabled(false);
        PlacesListViewArgs list;
        list.parent = hwnd();
        list.id = 100;
        list.bounds = {16, 16, 480, 160};
        list.columns = {{"Path", 350}, {"#", 25}};
        list.extendedStyles = {ListViewExtendedStyle::InfoTip,
                               ListViewExtendedStyle::FullRowSelect};
        list.hideSelection = false;
        list_ = std::make_unique<PlacesListView>(list);
        const char* paths[] = {"C:\\", "", "C:\\windows", "D:\\Data", ""};
        for (int i = 0; i < 5; ++i)
            list_->AddRow(paths[i], -1, {std::to_string(i + 1)});
        list_->SetColumnOrder({1, 0});
        list_->SelectRow(2);
    }
    ~DemoWindow() override {
        list_.reset();
        if (hwnd() != nullptr)
            DestroyWindow(hwnd());
    }
    const PlacesListView& List() const { return *list_; }

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        LRESULT result = 0;
        if (buttons_ && buttons_->HandleMessage(message, wParam, lParam, result))
            return result;
        switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT ps{};
            const HDC dc = BeginPaint(hwnd(), &ps);
            if (buttons_)
                buttons_->Paint(dc, ps.rcPaint);
            EndPaint(hwnd(), &ps);
            return 0;
        }
        case WM_NOTIFY:
            if (list_ && list_->HandleNotify(reinterpret_cast<const NMHDR*>(lParam), result))
                return result;
            break;
        }
        return Window::HandleMessage(message, wParam, lParam);
    }

  private:
    win32::ImageList glyphs_;
    std::unique_ptr<ImageButtonHost> buttons_;
    std::unique_ptr<PlacesListView> list_;
};

TEST(ControlsDemo, ShowsTheImageButtonsAndTheList) {
    DemoWindow window;
    ShowWindow(window.hwnd(), SW_SHOW);
    CenterOnWorkArea(window.hwnd());
    UpdateWindow(window.hwnd());

    EXPECT_EQ(window.List().RowCount(), 5);
    EXPECT_EQ(window.List().ColumnOrder(), (std::vector<int>{1, 0}));
    EXPECT_TRUE(IsWindowVisible(window.List().Handle()));
    {
        win32::WindowDc dc(GetDC(window.hwnd()));
        // The middle of the first glyph, drawn at (3, 3) inside the button.
        EXPECT_EQ(GetPixel(dc.get(), 498 + 3 + 8, 16 + 3 + 8), kGlyphColours[0]);
        EXPECT_EQ(GetPixel(dc.get(), 498 + 3 + 8, 16 + 24 + 3 + 8), kGlyphColours[1]);
    }

    if (const char* hold = std::getenv("VELBROOK_DEMO_HOLD"); hold != nullptr && *hold == '1') {
        Application& app = Application::Instance();
        app.SetMainWindow(window.hwnd());
        EXPECT_EQ(app.Run(), 0);
    }
}

} // namespace
} // namespace velbrook::ui

#include <gtest/gtest.h>

#include "tests/ui/controls/test_window.h"
#include "ui/controls/image_button_host.h"

#include <cstdlib>

#include "support/win32/handles.h"
#include "tests/ui/window_pictures.h"

namespace velbrook::ui {
namespace {

// The button sits at (100, 50)-(123, 72) of the test window's client area.
constexpr RECT kBounds{100, 50, 123, 72};

LPARAM At(int x, int y) {
    return MAKELPARAM(x, y);
}

class ImageButtonTest : public ::testing::Test {
  protected:
    ImageButtonTest() : host(window.hwnd()) {
        ImageButtonArgs args;
        args.bounds = kBounds;
        args.hint = "Delete quick adjust scheme";
        args.imageIndex = 0;
        args.onClick = [this] { ++clicks; };
        button = &host.Add(args);
        window.handler = [this](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
            if (message == WM_PAINT) {
                PAINTSTRUCT ps;
                HDC dc = BeginPaint(window.hwnd(), &ps);
                host.Paint(dc, ps.rcPaint);
                EndPaint(window.hwnd(), &ps);
                ++paints;
                return true;
            }
            return host.HandleMessage(message, wParam, lParam, result);
        };
    }
    void Send(UINT message, int x, int y) {
        SendMessageA(window.hwnd(), message, message == WM_MOUSEMOVE ? 0 : MK_LBUTTON, At(x, y));
    }
    void Press(int x, int y) {
        Send(WM_MOUSEMOVE, x, y);
        Send(WM_LBUTTONDOWN, x, y);
    }

    test::TestWindow window;
    ImageButtonHost host;
    ImageButton* button = nullptr;
    int clicks = 0;
    int paints = 0;
};

// What the user sees: the hot and the pressed look differ from the idle one and
// from each other, and a pressed button's glyph sits one pixel lower and to the
// right of its idle place, which centres it in the button.
TEST_F(ImageButtonTest, EachLookIsItsOwnAndThePressedGlyphMovesByOnePixel) {
    const win32::ImageList glyphs(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 0));
    {
        const win32::WindowDc screen(GetDC(nullptr));
        const win32::Bitmap square(CreateCompatibleBitmap(screen.get(), 16, 16));
        const win32::MemoryDc dc(CreateCompatibleDC(screen.get()));
        {
            const win32::DcSelection selected(dc.get(), square.get());
            const RECT all{0, 0, 16, 16};
            FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        }
        ASSERT_EQ(ImageList_Add(glyphs.get(), square.get(), nullptr), 0);
    }
    button->SetImages(glyphs.get());
    const auto look = [this] {
        const ui::art::PixelImage client = testing::CaptureClient(window.hwnd());
        ui::art::PixelImage part{kBounds.right - kBounds.left, kBounds.bottom - kBounds.top, {}};
        for (int y = 0; y < part.height; ++y)
            for (int x = 0; x < part.width; ++x)
                part.pixels.push_back(client.At(kBounds.left + x, kBounds.top + y));
        return part;
    };
    // The top left pixel of the black glyph.
    const auto glyphAt = [](const ui::art::PixelImage& part) {
        for (int y = 0; y < part.height; ++y)
            for (int x = 0; x < part.width; ++x)
                if (part.At(x, y) == 0)
                    return POINT{x, y};
        return POINT{-1, -1};
    };
    const ui::art::PixelImage idle = look();
    Send(WM_MOUSEMOVE, 110, 60);
    const ui::art::PixelImage hot = look();
    Send(WM_LBUTTONDOWN, 110, 60);
    const ui::art::PixelImage pressed = look();
    Send(WM_LBUTTONUP, 110, 60);

    EXPECT_FALSE(idle.pixels == hot.pixels);
    EXPECT_FALSE(pressed.pixels == hot.pixels);
    EXPECT_FALSE(pressed.pixels == idle.pixels);
    const POINT idleGlyph = glyphAt(idle);
    const POINT pressedGlyph = glyphAt(pressed);
    EXPECT_LE(std::abs(idleGlyph.x - (idle.width - 16 - idleGlyph.x)), 1);
    EXPECT_LE(std::abs(idleGlyph.y - (idle.height - 16 - idleGlyph.y)), 1);
    EXPECT_EQ(pressedGlyph.x, idleGlyph.x + 1);
    EXPECT_EQ(pressedGlyph.y, idleGlyph.y + 1);
    EXPECT_EQ(glyphAt(hot).x, idleGlyph.x);
}

TEST_F(ImageButtonTest, PressAndReleaseInsideClicksOnce) {
    Press(110, 60);
    EXPECT_EQ(button->State(), ImageButtonState::Pressed);
    EXPECT_EQ(button->ThemeState(), kTsHotChecked);
    EXPECT_EQ(GetCapture(), window.hwnd());
    Send(WM_LBUTTONUP, 110, 60);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(button->State(), ImageButtonState::Up);
    EXPECT_TRUE(button->Hot());
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ImageButtonTest, ReleaseOutsideDoesNotClickAndLeavesIdle) {
    Press(110, 60);
    Send(WM_MOUSEMOVE, 300, 200);
    Send(WM_LBUTTONUP, 300, 200);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(button->State(), ImageButtonState::Up);
    EXPECT_FALSE(button->Hot());
    EXPECT_FALSE(button->Dragging());
}

TEST_F(ImageButtonTest, OutAndBackShowsPressedHotPressed) {
    Press(110, 60);
    EXPECT_EQ(button->State(), ImageButtonState::Pressed);
    Send(WM_MOUSEMOVE, 200, 60);
    EXPECT_EQ(button->State(), ImageButtonState::Up);
    EXPECT_EQ(button->ThemeState(), kTsHot);
    Send(WM_MOUSEMOVE, 111, 61);
    EXPECT_EQ(button->State(), ImageButtonState::Pressed);
    Send(WM_LBUTTONUP, 111, 61);
    EXPECT_EQ(clicks, 1);
}

TEST_F(ImageButtonTest, ReleaseEdges) {
    Press(110, 60);
    Send(WM_LBUTTONUP, 110, kBounds.bottom); // one pixel below the last row
    EXPECT_EQ(clicks, 1);
    Press(110, 60);
    Send(WM_LBUTTONUP, kBounds.right, 60); // one pixel right of the last column
    EXPECT_EQ(clicks, 1);
    Press(110, 60);
    Send(WM_LBUTTONUP, 110, kBounds.bottom + 1);
    EXPECT_EQ(clicks, 1);
}

TEST_F(ImageButtonTest, DoubleClickClicksTwice) {
    Press(110, 60);
    Send(WM_LBUTTONUP, 110, 60);
    Send(WM_LBUTTONDBLCLK, 110, 60);
    Send(WM_LBUTTONUP, 110, 60);
    EXPECT_EQ(clicks, 2);
}

TEST_F(ImageButtonTest, RightButtonNeverClicks) {
    Send(WM_MOUSEMOVE, 110, 60);
    SendMessageA(window.hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, At(110, 60));
    SendMessageA(window.hwnd(), WM_RBUTTONUP, 0, At(110, 60));
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(button->State(), ImageButtonState::Up);
}

TEST_F(ImageButtonTest, HotTrackingFollowsThePointer) {
    Send(WM_MOUSEMOVE, 110, 60);
    EXPECT_TRUE(button->Hot());
    Send(WM_MOUSEMOVE, 10, 10);
    EXPECT_FALSE(button->Hot());
    Send(WM_MOUSEMOVE, 110, 60);
    SendMessageA(window.hwnd(), WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(button->Hot());
}

TEST_F(ImageButtonTest, HotLookEndsWhenADialogOrAnotherWindowTakesOver) {
    for (const UINT message : {WM_ENABLE, WM_ACTIVATE, WM_CANCELMODE}) {
        Send(WM_MOUSEMOVE, 110, 60);
        ASSERT_TRUE(button->Hot());
        SendMessageA(window.hwnd(), message, message == WM_ACTIVATE ? WA_INACTIVE : FALSE, 0);
        EXPECT_FALSE(button->Hot()) << message;
    }
    // While a modal dialog has its owner disabled, the pointer makes nothing hot.
    Send(WM_MOUSEMOVE, 10, 10);
    EnableWindow(window.hwnd(), FALSE);
    Send(WM_MOUSEMOVE, 110, 60);
    EXPECT_FALSE(button->Hot());
    EnableWindow(window.hwnd(), TRUE);
}

TEST_F(ImageButtonTest, DisablingWhileHotRemovesHotLookAndIgnoresPresses) {
    Send(WM_MOUSEMOVE, 110, 60);
    ASSERT_TRUE(button->Hot());
    UpdateWindow(window.hwnd());
    const int paintsBefore = paints;
    button->SetEnabled(false);
    EXPECT_GT(paints, paintsBefore); // repainted at once
    EXPECT_FALSE(button->Hot());
    EXPECT_EQ(button->ThemeState(), kTsDisabled);
    Press(110, 60);
    Send(WM_LBUTTONUP, 110, 60);
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(button->Hot());
    EXPECT_EQ(button->State(), ImageButtonState::Disabled);
    button->SetEnabled(true);
    EXPECT_EQ(button->State(), ImageButtonState::Up);
    Press(110, 60);
    Send(WM_LBUTTONUP, 110, 60);
    EXPECT_EQ(clicks, 1);
}

TEST_F(ImageButtonTest, LosingTheCaptureCancelsThePress) {
    Press(110, 60);
    ReleaseCapture();
    EXPECT_FALSE(button->Dragging());
    Send(WM_LBUTTONUP, 110, 60);
    EXPECT_EQ(clicks, 0);
}

TEST_F(ImageButtonTest, ThemeChangeReopensTheSharedThemeAndRepaints) {
    ImageButtonArgs args;
    args.bounds = RECT{130, 50, 153, 72};
    args.imageIndex = 0;
    ImageButton& second = host.Add(args);
    const bool active = visual_styles::Active();
    EXPECT_EQ(button->Themed(), active);
    EXPECT_EQ(second.Themed(), active);
    UpdateWindow(window.hwnd());
    const int paintsBefore = paints;
    LRESULT result = 0;
    EXPECT_FALSE(host.HandleMessage(WM_THEMECHANGED, 0, 0, result));
    EXPECT_EQ(button->Themed(), active);
    EXPECT_EQ(second.Themed(), active);
    UpdateWindow(window.hwnd());
    EXPECT_GT(paints, paintsBefore);
}

BOOL CALLBACK CountTooltip(HWND hwnd, LPARAM count) {
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    if (lstrcmpiA(name, TOOLTIPS_CLASSA) == 0)
        ++*reinterpret_cast<int*>(count);
    return TRUE;
}

int ThreadTooltips() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountTooltip, reinterpret_cast<LPARAM>(&count));
    return count;
}

TEST_F(ImageButtonTest, TooltipIsMadeByTheFirstMouseMove) {
    EXPECT_EQ(ThreadTooltips(), 0);
    Send(WM_MOUSEMOVE, 10, 10);
    EXPECT_EQ(ThreadTooltips(), 1);
    Send(WM_MOUSEMOVE, 110, 60);
    EXPECT_EQ(ThreadTooltips(), 1);
    EXPECT_EQ(SendMessageA(host.Tooltip(), TTM_GETTOOLCOUNT, 0, 0), 1);
}

TEST_F(ImageButtonTest, TooltipCarriesTheHint) {
    ASSERT_NE(host.Tooltip(), nullptr);
    EXPECT_EQ(SendMessageA(host.Tooltip(), TTM_GETTOOLCOUNT, 0, 0), 1);
    char text[80] = {};
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = window.hwnd();
    tool.uId = 1;
    tool.lpszText = text;
    SendMessageA(host.Tooltip(), TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, "Delete quick adjust scheme");
}

} // namespace
} // namespace velbrook::ui
